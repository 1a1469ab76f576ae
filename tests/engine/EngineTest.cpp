// The program without its window: settings, start-up log, feed, line messages and refresh.
#include "drivers/OnScreenPanel.h"
#include "engine/LineMessageClient.h"
#include "linemessage/LineMessage.h"
#include "platform/SharedMemory.h"
#include "render/CharacterMapping.h"
#include "support/QtPrinters.h"
#include "support/ReadOnlyDir.h"
#include "support/Shell.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

const QByteArray kComplete =
    "[parametres]\nTypeLCD=3\nCOM=2\nC=20\nL=4\ncontrast=-5\nbacklight=1\n"
    "refresh=250\nscrolling=7\nrep_winamp=/home/moi/Ma%Musique/\nrep_seti=\n";

TEST(Engine, CompleteSettingsGiveTheTwentySixLineStartUpLogAndLeaveTheFeedIdle) {
    Shell s(kComplete);
    Engine& e = s.startEngine();
    const auto heading = [](const QString& text) {
        return QStringList{QString(49, '-'), text, QString(49, '-')};
    };
    EXPECT_EQ(s.log, (heading("Lecture du fichier de paramètre : param.ini ...") +
                      QStringList{"TypeLCD = 3", "PortCOM = 2", "Colonnes = 20", "Lignes = 4",
                                  "Contrast = -5", "BackLight = 1", "Refresh = 250",
                                  "Scrolling = 7", "Répertoire winamp = /home/moi/Ma Musique/",
                                  "Répertoire seti = ", "Répertoire half-life = Err"} +
                      heading("Lecture du fichier de paramètre : param.ini -> OK") +
                      heading("Test des programmes externes ...") +
                      QStringList{"Winamp ...", "Winamp -> OK", "Seti ...", "Seti -> ABSENT",
                                  "Mother board monitor ...", "Mother Board Monitor -> ABSENT"}));
    EXPECT_EQ(s.pauses, 4) << "the log grows in visible steps";
    EXPECT_TRUE(!e.Timer1().isEnabled() && e.Timer1().interval() == 250);
    EXPECT_FALSE(e.Command1()) << "no profile yet: the start button does nothing";
    EXPECT_EQ(s.panel->resets, 0);
}

TEST(Engine, PortsNameTheSerialDeviceElseTheMatchingTtySAndTheParallelPort) {
    for (const auto& [com, device] :
         {std::pair{"2", "/dev/ttyUSB0"}, {"3", "/dev/ttyS2"}, {"-1", ""}}) {
        Shell s(QByteArray(kComplete).replace("COM=2", QByteArray("COM=") + com) +
                "[Ports]\ncom2 = /dev/ttyUSB0\nCOM3=\n");
        const DisplayConfig& config = s.startEngine().state().config;
        EXPECT_EQ(std::tuple(config.serialDevice, config.parallelPort),
                  std::tuple(device, "/dev/parport0"))
            << com;
    }
}

TEST(Engine, BrokenSettingsStopTheLogWithTheErrorBoxAndWhatCannotBeUsedIsSaid) {
    Shell missing;
    QFile::remove(missing.dir.file("param.ini"));
    missing.startEngine();
    EXPECT_EQ(missing.log.last(), missing.dir.file("param.ini") + " introuvable ou illisible");
    ASSERT_EQ(missing.boxes.boxes.size(), 1);
    EXPECT_EQ(missing.boxes.boxes[0].text, "Erreur lors du chargement du fichier param.ini");

    // The values before the bad one are logged and kept, then the reason; nothing after it is
    // read, but for the ports.
    for (const auto& [good, bad, valuesRead] :
         {std::tuple{"refresh=250", "refresh=vite", 6}, {"L=4", "L=40000", 3}}) {
        Shell s(QByteArray(kComplete).replace(good, bad) + "[ports]\nLPT1=direct\n");
        const DisplayConfig& config = s.startEngine().state().config;
        ASSERT_EQ(s.log.size(), 3 + valuesRead + 1) << bad;
        EXPECT_TRUE(s.log.last().contains(" vaut « " + QString(bad).section('=', 1) + " »"))
            << s.log.last().toStdString();
        EXPECT_EQ(std::tuple(config.C, config.refresh, config.parallelPort),
                  std::tuple(20, 0, "direct"))
            << bad;
    }

    for (const auto& [from, to, said] :
         {std::tuple{"L=4", "L=7", "Lignes = 7 : l'afficheur a de 1 à 4 lignes, 4 sont utilisées"},
          {"TypeLCD=2", "TypeLCD=9",
           "TypeLCD = 9 ne désigne aucun afficheur (1 à l'écran, 2 série, 3 parallèle, 4 LCDd, "
           "5 I2C, 6 GPIO, 7 LCD du noyau, 8 Matrix Orbital) : rien ne sera affiché"}}) {
        Shell odd(QByteArray(kShellSettings).replace(from, to));
        EXPECT_EQ(odd.startEngine().state().config.L, 4);
        EXPECT_EQ(odd.log.last(), said);
    }

    Shell noSockets; // where the line-message sockets should go is a file
    noSockets.env.lineMessageDir = noSockets.dir.file("param.ini");
    noSockets.startEngine();
    EXPECT_TRUE(noSockets.log[0].startsWith("Messages des autres programmes indisponibles : " +
                                            noSockets.dir.file("param.ini")));
}

// reprendre=1 picks up where the last run was: the newest recent profile loaded and fed, with the
// log of an open and a start. A profile on the command line wins; another value, or a recent
// profile that is gone, loads nothing and the log says why.
TEST(Engine, ReprendreLoadsAndStartsTheNewestRecentProfileAsIfOpenedAndStarted) {
    TempDir profiles;
    const QString newest = profiles.write("neuf.tlcd", kProfile);
    const QString older = profiles.write("vieux.tlcd", kProfile);
    Shell asked;
    asked.plan = {{}, {}, newest, true};
    asked.startEngine();
    struct Case {
        const char* key;
        QString first; // of the recent list, then `older`
        QString onCommandLine;
        QString loaded;
        QString said;
    };
    for (const Case& c : {Case{"reprendre=1", newest, {}, newest, ""},
                          {"reprendre=1", newest, older, older, ""},
                          {"reprendre=oui",
                           newest,
                           {},
                           {},
                           "reprendre = « oui » : 1 reprend le dernier profil "
                           "au démarrage, 0 non ; il n'est pas repris"},
                          {"reprendre=1",
                           profiles.file("parti.tlcd"),
                           {},
                           {},
                           "Fichier introuvable ou illisible : rien n'est chargé"}}) {
        Shell s(kShellSettings + c.key + "\n[recent_profile]\n1=" + c.first.toUtf8() +
                "\n2=" + older.toUtf8() + "\n");
        s.plan.profile = c.onCommandLine;
        Engine& e = s.startEngine();
        const bool fed = c.loaded == newest;
        EXPECT_EQ(std::tuple(e.lastProfile(), e.feeding(), e.buttonStops()),
                  std::tuple(c.loaded, fed, fed))
            << c.key << " " << c.first.toStdString();
        EXPECT_TRUE(fed ? s.log == asked.log : s.log.contains(c.said) || c.said.isEmpty())
            << s.log.join('\n').toStdString();
    }
}

TEST(Engine, CaracteresPutsTheRomsCodesOnThePanelAndAnyOtherValueIsSaidAndReadAsAnsi) {
    Shell bad(kShellSettings + "caracteres=A01\n");
    EXPECT_EQ(bad.startEngine().state().config.caracteres, CharacterSet::Ansi);
    EXPECT_TRUE(bad.log.contains(
        "caracteres = A01 : valeur inconnue (ansi, A00 ou A02 attendu), ansi est utilisé"));

    // A UTF-8 profile on screen with A00: é drawn in a user-defined character, and the degree
    // sign converted once, on the line without a variable as on the expanded one.
    Shell s(QByteArray(kShellSettings).replace("TypeLCD=2", "TypeLCD=1") + "caracteres=a00\n");
    Engine& e = s.startEngine();
    e.setRefresh(100);
    ASSERT_TRUE(e.LoadProfile(s.dir.write(
        "p.tlcd", "[param]\nnb_pages=1\n[page_1]\nligne0=Mémoire 25°C\nligne1=%%x 25°C\n"
                  "ligne2=\nligne3=\nscroll0=0\nscroll1=0\nscroll2=0\nscroll3=0\ntime=0\n"
                  "next=0\n")));
    Q_EMIT e.Timer1().timeout();
    const OnScreenPanel& panel = *e.onScreenPanel();
    const QByteArray first = panel.line(0);
    EXPECT_EQ(first.left(1) + first.mid(2), QByteArray("Mmoire 25\xDF"
                                                       "C")
                                                .leftJustified(19));
    EXPECT_EQ(letterOfGlyph(panel.row(0).controller.glyph(first[1])), 0xE9);
    EXPECT_EQ(panel.line(1), QByteArray("%%x 25\xDF"
                                        "C")
                                 .leftJustified(20));
}

// Nothing from outside is handled in the middle of start-up: a line message sent during a pause
// waits in the socket and is taken once start-up is over; a way out taken then skips the rest of
// start-up and ends the run once, with its clean-up.
TEST(Engine, WhatComesDuringStartUpWaitsForItsEnd) {
    Shell s;
    s.plan.profile = s.dir.write("p.tlcd", kProfile);
    LineMessageClient client;
    s.duringPause = [&] {
        if (s.pauses == 2) {
            ASSERT_TRUE(client.connectTo(s.dir.file("run/default")));
            client.socket.write(linemessage::encode(3, "Salut01"));
            client.socket.flush();
            QCoreApplication::processEvents();
            EXPECT_EQ(s.engine->lineMessages().connectionCount(), 0);
        }
    };
    Engine& e = s.startEngine();
    EXPECT_EQ(client.reply(), linemessage::kTaken);
    EXPECT_EQ(e.state().pages.CurrentLines[1].Text, "Salut");

    Shell quit;
    int ends = 0;
    quit.duringPause = [&] {
        if (quit.pauses == 1) {
            QObject::connect(quit.engine.get(), &Engine::endedRun, [&] { ++ends; });
            quit.engine->EndProc();
            EXPECT_EQ(ends, 0);
        }
    };
    Engine& ended = quit.startEngine();
    EXPECT_EQ(ends, 1) << "the end runs once start-up is over";
    ended.EndProc();
    EXPECT_EQ(ends, 1) << "and only once";
    EXPECT_EQ(std::tuple(quit.pauses, quit.log.last(), quit.panel),
              std::tuple(1, "Répertoire half-life = ", nullptr));
    EXPECT_FALSE(QFile::exists(quit.dir.file("run/default")));
}

// The values come from this machine: a SETI state file, no Half-Life library, no media player,
// and a Motherboard Monitor block left too short to read, whose box waits for the whole frame.
TEST(Engine, SliderAndStartButtonFeedThePanelAndStoppingLeavesTheBanner) {
    TempDir seti;
    seti.write("Work0/state.sah", "<state>\nncpus=1\ncpu=1\nbest=2\nprog=0.523456\n</state>\n");
    Shell s(QByteArray(kShellSettings).replace("/seti/", seti.path().toUtf8() + "/"));
    s.env.mbmBlockName =
        QStringLiteral("/relayeur-test-%1").arg(QCoreApplication::applicationPid());
    const int fd = ::shm_open(qPrintable(s.env.mbmBlockName), O_CREAT | O_RDWR, 0600);
    ASSERT_EQ(::ftruncate(fd, 197), 0);
    Engine& e = s.startEngine();
    ::shm_unlink(qPrintable(s.env.mbmBlockName));
    ASSERT_TRUE(e.state().flags.MbmPresent);
    ASSERT_EQ(::ftruncate(fd, 0), 0);
    ::close(fd);
    e.setRefresh(800);
    ASSERT_TRUE(e.LoadProfile(s.dir.write(
        "p.tlcd", "[param]\nnb_pages=1\n[page_1]\nligne0=SETI %%seti_progress%\nligne1=%%HL_FPS\n"
                  "ligne2=[%%winamp_titre]\nligne3=%%temp1\nscroll0=0\nscroll1=0\nscroll2=0\n"
                  "scroll3=0\ntime=0\nnext=0\n")));
    EXPECT_TRUE(e.Timer1().isRunning() && e.Timer1().interval() == 800);
    EXPECT_EQ(s.panel->resets, 1) << "the panel is set up before the first refresh";
    EXPECT_TRUE(e.feeding());
    EXPECT_FALSE(e.buttonStops()) << "the slider leaves the button as it is";

    // The box of the missing sensor block comes once the frame is out.
    qsizetype framesAtBox = -1;
    s.boxes.onShow = [&] { framesAtBox = s.panel->frames.size(); };
    Q_EMIT e.Timer1().timeout();
    EXPECT_EQ(framesAtBox, 1);
    EXPECT_EQ(s.boxes.boxes.last().text, "MBM Data File/Mem could not be opened. Sorry.");

    e.Command1(); // only makes the button the one that stops
    EXPECT_EQ(s.panel->resets, 2);
    EXPECT_TRUE(e.feeding() && e.buttonStops());
    Q_EMIT e.Timer1().timeout();
    const QByteArrayList rows = s.panel->lastRows();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(std::tuple(rows[0].trimmed(), rows[1].trimmed(), rows[2].trimmed()),
              std::tuple("SETI 52%", "%%HL_FPS", "[]"));

    e.Command1();
    EXPECT_EQ(s.panel->resets, 3);
    EXPECT_FALSE(e.Timer1().isEnabled() || e.feeding());
    ASSERT_EQ(s.panel->frames.size(), 1);
    EXPECT_EQ(s.panel->frames[0], Frame::banner(kStopBanner));
}

// capteurs=1 starts relayeur-sensors before the sensor block is looked for, when nobody publishes
// it, and ends it with the run; a block already published is used as it is. Without the key, or
// when the publisher cannot run, the block is missing as ever: the box, and the log says why.
TEST(Engine, CapteursStartsTheSensorPublisherOnlyWhenTheBlockIsMissing) {
    const QByteArray withSensors = kShellSettings + "capteurs=1\n";
    const QString block =
        QStringLiteral("/relayeur-test-capteurs-%1").arg(QCoreApplication::applicationPid());
    const auto removeBlock = qScopeGuard([&] { ::shm_unlink(qPrintable(block)); });
    // An empty publisher: relayeur-sensors beside the executable, where the tests have none.
    const auto startUp = [&](Shell& s,
                             const QString& publisher = RELAYEUR_SENSORS_BINARY) -> Engine& {
        s.env.mbmBlockName = block;
        s.env.sensorsPublisher = publisher;
        Engine& e = s.startEngine();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !e.startingUp(); }));
        return e;
    };

    Shell started(withSensors);
    Engine& e = startUp(started);
    EXPECT_TRUE(e.state().flags.MbmPresent && started.boxes.boxes.isEmpty());
    EXPECT_EQ(started.log.mid(started.log.indexOf("Mother board monitor ...") + 1),
              QStringList({"Capteurs : relayeur-sensors lancé, il publie le bloc " + block,
                           "Mother Board Monitor -> OK"}));
    e.EndProc();
    EXPECT_FALSE(SharedMemory::exists(block)) << "ended with the run, it removed its block";

    const int fd = ::shm_open(qPrintable(block), O_CREAT | O_RDWR, 0600);
    ASSERT_TRUE(fd >= 0 && ::ftruncate(fd, 197) == 0);
    ::close(fd);
    Shell reused(withSensors);
    startUp(reused).EndProc();
    EXPECT_EQ(reused.log.mid(reused.log.size() - 2),
              QStringList({"Capteurs : le bloc " + block +
                               " est déjà publié, relayeur-sensors n'est pas lancé",
                           "Mother Board Monitor -> OK"}));
    EXPECT_TRUE(SharedMemory::exists(block)) << "another's block is left alone";
    ::shm_unlink(qPrintable(block));

    // No relayeur-sensors beside the executable, or one that cannot run; the key missing or
    // no 1.
    Shell notFound(withSensors);
    Shell notRunnable(withSensors);
    notRunnable.dir.write("relayeur-sensors", "#!/bin/sh\n");
    Shell switchedOff(kShellSettings);
    Shell misspelt(kShellSettings + "capteurs=oui\n");
    const std::tuple<Shell*, QString, QString> cases[] = {
        {&notFound, "",
         "Capteurs : relayeur-sensors introuvable (" + notFound.dir.file("relayeur-sensors") +
             "), il n'est pas lancé"},
        {&notRunnable, "",
         "Capteurs : impossible de lancer " + notRunnable.dir.file("relayeur-sensors") + " : "},
        {&switchedOff, RELAYEUR_SENSORS_BINARY, ""},
        {&misspelt, RELAYEUR_SENSORS_BINARY, "capteurs = oui : 1 ou 0 attendu, lu comme 0"}};
    for (const auto& [s, publisher, said] : cases) {
        startUp(*s, publisher);
        const QStringList told = s->log.filter(QStringLiteral("apteurs"));
        EXPECT_TRUE(said.isEmpty() ? told.isEmpty() : told.size() == 1 && told[0].startsWith(said))
            << told.join('\n').toStdString();
        EXPECT_FALSE(SharedMemory::exists(block));
        EXPECT_EQ(s->log.last(), "Mother Board Monitor -> ABSENT");
        ASSERT_EQ(s->boxes.boxes.size(), 1);
        EXPECT_TRUE(s->boxes.boxes[0].text.startsWith("Vous n'avez pas lancer motherBoard"));
    }
}

TEST(Engine, ALineMessageReplacesItsLineAndHurriesThePageTimerAndAnythingElseChangesNothing) {
    Shell s;
    Engine& e = s.startEngine();
    ASSERT_TRUE(e.LoadProfile(s.dir.write("p.tlcd", kProfile)));
    const auto line = [&](int l) {
        const LineRecord& r = e.state().pages.CurrentLines[l];
        return std::tuple(r.Text, r.ScrollPos, r.ScrollMode, r.Length, r.ScrollDir, r.Pending,
                          r.Dynamic);
    };
    const auto before = std::tuple(line(0), line(1), line(2), line(3));
    e.Timer2().setEnabled(false);
    EXPECT_EQ(e.RelayWindowProc(3, "Salut34"), linemessage::kIgnored);
    EXPECT_EQ(std::tuple(line(0), line(1), line(2), line(3)), before);

    e.state().pages.CurrentLines[0].ScrollPos = 5;
    e.state().pages.CurrentLines[0].ScrollDir = 1;
    EXPECT_EQ(e.RelayWindowProc(3, "Salut30"), linemessage::kTaken);
    EXPECT_EQ(line(0), std::tuple(QByteArray("Salut"), 0, 3, 5, 0, 1, 1)) << "from its start";
    EXPECT_EQ(e.RelayWindowProc(3, "Bonjour12"), linemessage::kTaken);
    EXPECT_EQ(line(2), std::tuple(QByteArray("Bonjour"), 0, 1, 7, 0, 1, 1));
    EXPECT_EQ(e.state().pages.LineTemplate[2], QByteArray("Bonjour"));
    EXPECT_EQ(line(1), std::get<1>(before));
    EXPECT_EQ(e.Timer2().interval(), 10);
    EXPECT_FALSE(e.Timer2().isEnabled()) << "a stopped page timer stays stopped";
}

// A message that stays keeps its line through a page turned by the rotation and a page loaded
// directly, leaves the page timer alone, and goes at its time for the shown page's own line. A
// new message for that line takes its place; a bad hold changes nothing and is logged.
TEST(Engine, AMessageThatStaysOutlivesThePagesUntilItsTime) {
    qint64 now = 1000;
    Shell s;
    s.env.monotonicMs = [&] { return now; };
    Engine& e = s.startEngine();
    ASSERT_TRUE(e.LoadProfile(
        s.dir.write("p.tlcd", "[param]\nnb_pages=2\n[page_1]\nligne0=Page 1\nligne2=Un\ntime=5\n"
                              "next=2\n[page_2]\nligne0=Page 2\nligne2=Deux\ntime=5\nnext=1\n")));
    e.Command1();
    e.Timer1().setEnabled(false);
    const auto shown = [&] {
        Q_EMIT e.Timer1().timeout();
        const QByteArrayList rows = s.panel->lastRows();
        return rows.size() == 4 ? std::tuple(rows[0].trimmed(), rows[2].trimmed())
                                : std::tuple<QByteArray, QByteArray>();
    };
    const QByteArray flowing = "Un message qui defile lentement";
    EXPECT_EQ(e.RelayWindowProc(4, linemessage::held(30, flowing + "22")), linemessage::kTaken);
    EXPECT_EQ(e.Timer2().interval(), 5000) << "the page timer is left alone";
    EXPECT_EQ(shown(), std::tuple("Page 1", flowing.left(20).trimmed()));
    Q_EMIT e.Timer2().timeout();
    EXPECT_EQ(shown(), std::tuple("Page 2", flowing.mid(1, 20).trimmed())) << "scrolling on";
    e.LoadPage(1);
    now += 29999;
    EXPECT_EQ(shown(), std::tuple("Page 1", flowing.mid(2, 20).trimmed()));
    now += 1;
    EXPECT_EQ(shown(), std::tuple("Page 1", "Un"));

    EXPECT_EQ(e.RelayWindowProc(4, linemessage::held(60, "Encore02")), linemessage::kTaken);
    EXPECT_EQ(e.RelayWindowProc(3, "Bref02"), linemessage::kTaken);
    EXPECT_EQ(e.Timer2().interval(), 10);
    Q_EMIT e.Timer2().timeout();
    EXPECT_EQ(shown(), std::tuple("Page 2", "Deux")) << "the hold ended with the new message";
    EXPECT_EQ(e.RelayWindowProc(4, linemessage::held(86401, "Trop02")), linemessage::kIgnored);
    EXPECT_EQ(shown(), std::tuple("Page 2", "Deux"));
    EXPECT_EQ(s.log.last(), "Message d'un programme inconnu laissé de côté : durée de maintien "
                            "de 86401 s, hors de 0 à 86400 s");
}

// Each message is logged with the name of the program that sent it; a flood takes a few lines
// and summaries that count every message of it.
TEST(Engine, MessagesAreLoggedWithTheirSenderAndAFloodIsSummedUp) {
    Shell s;
    s.startEngine();
    s.log.clear();
    LineMessageClient client;
    ASSERT_TRUE(client.connectTo(s.dir.file("run/default")));
    const QString me = QFileInfo(QCoreApplication::applicationFilePath()).fileName().left(15);
    constexpr int kFlood = 1000;
    QElapsedTimer flooding;
    flooding.start();
    client.socket.write(linemessage::encode(4, linemessage::held(9, "Salut\x01\xe9 12")) +
                        linemessage::encode(3, "Flot01").repeated(kFlood - 2) +
                        linemessage::encode(9, "Fin01"));
    for (int answer = 0; answer < kFlood; ++answer) {
        ASSERT_TRUE(client.reply()) << "answer " << answer;
    }
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !s.log.isEmpty() && s.log.last().startsWith("… et "); }));
    const qint64 seconds = flooding.elapsed() / 1000 + 1;
    EXPECT_LE(s.log.size(), seconds * (LineMessageLog::kLinesPerSecond + 1));
    int counted = 0;
    const QRegularExpression summary("^… et (\\d+) autres? messages? ");
    for (const QString& line : s.log) {
        const QRegularExpressionMatch sum = summary.match(line);
        counted += sum.hasMatch() ? sum.captured(1).toInt() : 1;
    }
    EXPECT_EQ(counted, kFlood) << s.log.join('\n').toStdString();
    EXPECT_EQ(s.log[0], "Message de " + me + " pour la ligne 2 (reste 9 s) : Salut\\x01é ");
    EXPECT_TRUE(s.log.last().endsWith("laissé de côté : dwData 9 : ni 3 (message de ligne) ni 4 "
                                      "(message qui reste))"))
        << s.log.last().toStdString();
}

// On an LCDd panel, Down shows the next page of the rotation and Up the pages shown before it,
// latest first, as far back as they go; keys pressed between two refreshes count at the next one.
TEST(Engine, TheLcddPanelsKeysTurnThePagesForwardAndBack) {
    QTcpServer lcdd;
    ASSERT_TRUE(lcdd.listen(QHostAddress::LocalHost));
    QByteArray heard;
    QObject::connect(&lcdd, &QTcpServer::newConnection, [&] {
        QTcpSocket* client = lcdd.nextPendingConnection();
        QObject::connect(client, &QTcpSocket::readyRead, [client, &heard] {
            heard += client->readAll();
            if (heard == "hello\n") {
                client->write("connect LCDproc 0.5.9 protocol 0.3 lcd wid 20 hgt 4\nkey Down\n"
                              "key Down\nkey Up\nkey Up\nkey Up\nkey Down\n");
            }
        });
    });
    const QByteArray address = "127.0.0.1:" + QByteArray::number(lcdd.serverPort());
    Shell s(QByteArray(kShellSettings).replace("TypeLCD=2", "TypeLCD=4") +
            "[ports]\nLCDd=" + address + "\n");
    Engine& e = s.startEngine();
    QList<int> shown;
    QObject::connect(&e, &Engine::pageShown, [&](const QString&, int page) { shown << page; });
    QByteArray profile = "[param]\nnb_pages=3\n";
    for (const char* page : {"1", "2", "3"}) {
        profile += QByteArray("[page_") + page + "]\nligne0=Page " + page +
                   "\nscroll0=0\ntime=30\nnext=" + QByteArray::number(atoi(page) % 3 + 1) + "\n";
    }
    ASSERT_TRUE(e.LoadProfile(s.dir.write("p.tlcd", profile)));
    e.setRefresh(300); // the slider feeds the panel as the button would: the keys work
    e.Timer1().setEnabled(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return heard.contains("client_add_key"); }));
    EXPECT_EQ(shown, QList<int>{1});
    Q_EMIT e.Timer1().timeout();
    EXPECT_EQ(shown, (QList<int>{1, 2, 3, 2, 1, 2}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return heard.contains(" l1 1 1 \"Page 2"); }));

    Shell unreadable(QByteArray(kShellSettings).replace("TypeLCD=2", "TypeLCD=4") +
                     "[ports]\nLCDd=pi:port\n");
    unreadable.startEngine();
    EXPECT_TRUE(unreadable.log.contains(
        "LCDd = pi:port : adresse illisible (hôte:port attendu), localhost:13666 est utilisé"));
}

TEST(Engine, ARecentListThatCannotBeWrittenIsSaidAndTheSettingsStayAsTheyWere) {
    Shell s;
    Engine& e = s.startEngine();
    const QByteArray settings = s.dir.read("param.ini");
    ReadOnlyDir readOnly(s.dir.path());
    if (!readOnly.made()) {
        GTEST_SKIP() << "this file system cannot make a folder read-only for this user";
    }
    EXPECT_FALSE(e.PushRecentProfile(s.dir.file("p.tlcd")));
    EXPECT_EQ(s.log.last(), "Impossible d'écrire " + s.dir.file("param.ini") +
                                " : la liste des profils récents n'est pas mise à jour");
    EXPECT_EQ(s.dir.read("param.ini"), settings);
    EXPECT_EQ(QDir(s.dir.path()).entryList(QDir::Files), QStringList{"param.ini"});
}
