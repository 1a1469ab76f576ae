#include "drivers/LcddPanel.h"

#include "profile/LoadPage.h"
#include "render/Bargraph.h"
#include "render/ExpandVariables.h"
#include "render/RefreshLCD.h"
#include "support/FakeLog.h"
#include "support/LcddServer.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// A 20x4 page refreshed onto an LCDd panel, as the program does it.
struct LcddBench {
    PageModel pages;
    DisplayConfig config;
    PresenceFlags flags;
    VariableSources sources;
    FakeLog log;
    LcddPanel panel;

    // By name: LCDd listens on 127.0.0.1 alone, and "localhost" may name ::1 first.
    explicit LcddBench(quint16 port) : panel({QStringLiteral("localhost"), port}, 20, 4, log) {
        config.C = 20;
        config.L = 4;
        config.TypeLCD = 4;
        panel.reset();
    }
    void show(const QByteArrayList& texts, int mode = kScrollFixed) {
        for (int i = 0; i < texts.size(); ++i) {
            putOnPage(pages, i, texts[i], static_cast<qint16>(mode));
        }
    }
    void tick() {
        const std::optional<Frame> frame = RefreshLCD(
            {pages, config,
             [this] {
                 return ExpandVariables({pages, config, flags, sources});
             },
             [](const QByteArray& bar) { return Bargraph(bar, 20, "\xFF", "-", QLocale::c()); }});
        if (frame) {
            panel.show(*frame);
        }
    }
    qsizetype logged(const QString& part) const { return log.lines.filter(part).size(); }
};

} // namespace

TEST(LcddText, AddressesAndTheServersSize) {
    const auto address = [](const char* text) {
        const auto a = parseLcddAddress(QString::fromUtf8(text));
        return a ? QStringLiteral("%1 %2").arg(a->host).arg(a->port) : QStringLiteral("-");
    };
    EXPECT_EQ(address("pi.local:13667"), "pi.local 13667");
    EXPECT_EQ(address(""), "localhost 13666");
    EXPECT_EQ(address("[::1]:9"), "::1 9");
    EXPECT_EQ(address(":13667"), "localhost 13667");
    EXPECT_EQ(address("[fe80::1]"), "fe80::1 13666");
    for (const char* bad :
         {"host:port", "host:70000", "host:0", "::1", "a b:1", "[::1", "[::1]9", "[pi]:9"}) {
        EXPECT_EQ(address(bad), "-") << bad;
    }
    const auto size = parseLcddGreeting("connect LCDproc 0.5.9 protocol 0.3 lcd wid 16 hgt 2");
    ASSERT_TRUE(size);
    EXPECT_EQ(QPoint(size->width, size->height), QPoint(16, 2));
    for (const char* other : {"huh? wid 16 hgt 2", "connect LCDproc wid 0 hgt 2", "connect wid"}) {
        EXPECT_FALSE(parseLcddGreeting(other)) << other;
    }
}

TEST(LcddPanel, TextScrollerAndBargraphReachTheServersFrameOneStepPerRefresh) {
    LcddServer lcdd("20x4");
    ASSERT_TRUE(lcdd.ready);
    LcddBench b(lcdd.port);
    b.show({"Temp \"CPU\" 45\xDF", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "0 10 5", "\x01\\"});
    b.pages.CurrentLines[1].ScrollMode = kScrollLeft;
    b.pages.CurrentLines[2].ScrollMode = kScrollBargraph;
    for (const char* step :
         {"ABCDEFGHIJKLMNOPQRST", "BCDEFGHIJKLMNOPQRSTU", "CDEFGHIJKLMNOPQRSTUV"}) {
        b.tick();
        const QByteArrayList frame = lcdd.frameWhere([&](auto f) { return f.value(1) == step; });
        ASSERT_EQ(frame.value(1), step);
        // Quotes and backslashes as they are, the degree sign as Latin-1's, control codes blank.
        EXPECT_EQ(frame.value(0), "Temp \"CPU\" 45\xB0      ");
        EXPECT_EQ(frame.value(2), Bargraph("0 10 5", 20, "\xFF", "-", QLocale::c()));
        EXPECT_EQ(frame.value(3), " \\" + QByteArray(18, ' '));
    }
    EXPECT_EQ(b.log.lines, QStringList());
}

TEST(LcddPanel, BigClockIsDrawnWithTheServersBigNumbers) {
    LcddServer lcdd("20x4");
    ASSERT_TRUE(lcdd.ready);
    LcddBench b(lcdd.port);
    QList<QByteArrayList> frames;
    b.show({"%%big_time", "", "", ""});
    for (const QTime time : {QTime(12, 34, 56), QTime(12, 35, 57)}) {
        b.sources.now = [time] { return QDateTime(QDate(2026, 12, 7), time); };
        b.tick();
        const QByteArray seconds = time.toString(QStringLiteral("ss")).toLatin1();
        frames += lcdd.frameWhere([&](auto f) { return f.value(3).endsWith(seconds); });
        ASSERT_TRUE(frames.last().value(3).endsWith(seconds));
    }
    // LCDd's own digits, none of the panel's glyph codes; 34 -> 35 changes the last digit alone.
    EXPECT_FALSE(frames[0].join().contains('\x01') || frames[0].join().contains('\xFF'));
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(frames[0][row].left(14), frames[1][row].left(14)) << row;
    }
    EXPECT_NE(frames[0].mid(0, 3), frames[1].mid(0, 3));

    // The next page's text takes the screen back: the big numbers go.
    b.show({"Page suivante", "", "", ""});
    b.tick();
    const QByteArrayList after =
        lcdd.frameWhere([](auto f) { return f.value(0).startsWith("Page suivante"); });
    EXPECT_EQ(after.mid(1), QByteArrayList(3, QByteArray(20, ' ')));
}

TEST(LcddPanel, ASmallerServerCutsTheLinesAndALostOneIsFoundAgain) {
    LcddServer lcdd("16x2");
    ASSERT_TRUE(lcdd.ready);
    LcddBench b(lcdd.port);
    const QByteArrayList cut = {"Relayeur via LCD", "ligne 2 de la pa"};
    for (int run = 0; run < 2; ++run) {
        b.show({"Relayeur via LCDd", "ligne 2 de la page"});
        b.tick();
        EXPECT_EQ(lcdd.frameWhere([&](auto f) { return f == cut; }), cut);
        if (run == 0) {
            lcdd.stop(); // between two refreshes: told at the next one
            ASSERT_TRUE(QTest::qWaitFor([&] {
                b.panel.takeInput();
                return b.logged("perdu") == 1;
            }));
            lcdd.start();
            ASSERT_TRUE(lcdd.ready);
            ASSERT_TRUE(QTest::qWaitFor([&] { return b.panel.connected(); }));
        }
    }
    EXPECT_EQ(b.logged("perdu"), 1);
    EXPECT_EQ(b.logged("retrouvé"), 1);
    EXPECT_EQ(b.logged("16 colonnes sur 2 lignes (C = 20, L = 4)"), 1);
}

TEST(LcddPanel, NoServerOnThePortIsToldAsLcddNotRunning) {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    FakeLog log;
    LcddPanel panel({QStringLiteral("127.0.0.1"), port}, 20, 4, log);
    panel.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !log.lines.isEmpty(); }));
    EXPECT_TRUE(log.lines[0].startsWith(
        QStringLiteral("Serveur LCDd 127.0.0.1:%1 injoignable : connexion refusée (LCDd est-il "
                       "lancé ?) (")
            .arg(port)))
        << log.lines[0].toStdString();
}

// What LCDd cannot be made to do: answer nonsense, answer nothing, press a key.
TEST(LcddPanel, AServerThatDoesNotSpeakLcddIsToldOnceAndTriedAgainEverySecond) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    int connections = 0;
    QByteArray heard;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        QTcpSocket* client = server.nextPendingConnection();
        QObject::connect(client, &QTcpSocket::readyRead, [client, n = ++connections, &heard] {
            heard += client->readAll();
            if (n == 1) {
                client->write("bonjour\n");
            } else if (n == 3 && heard.endsWith("hello\n")) {
                client->write("connect LCDproc 0.5.9 protocol 0.3 lcd wid 20 hgt 4\nkey Down\n");
            }
        });
    });
    FakeLog log;
    LcddPanel panel({QStringLiteral("127.0.0.1"), server.serverPort()}, 20, 4, log);
    QStringList keys;
    QObject::connect(&panel, &LcddPanel::keyPressed, [&](const QString& key) { keys += key; });
    panel.reset();
    // Tried again after the nonsense and after the silence; then the keys are asked for, shared
    // with the other clients, and reported.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            panel.takeInput();
            return keys == QStringList{"Down"} && heard.contains("client_add_key");
        },
        10000));
    EXPECT_EQ(connections, 3);
    EXPECT_TRUE(heard.contains("client_add_key Up Down\n"));
    const QString who = QStringLiteral("Serveur LCDd 127.0.0.1:%1 ").arg(server.serverPort());
    EXPECT_EQ(log.lines, (QStringList{who + "injoignable : réponse inattendue « bonjour »",
                                      who + "retrouvé"}));
}

// Only what changed goes to LCDd: a frame shown again sends nothing, and the big clock goes as
// LCDd's numbers from the time it shows, a digit at a time.
TEST(LcddPanel, SendsOnlyWhatChangedAndTheClockAsNumbers) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QByteArray heard;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        QTcpSocket* client = server.nextPendingConnection();
        QObject::connect(client, &QTcpSocket::readyRead, [client, &heard] {
            heard += client->readAll();
            if (heard == "hello\n") {
                client->write("connect LCDproc 0.5.9 protocol 0.3 lcd wid 20 hgt 4\n");
            }
        });
    });
    FakeLog log;
    LcddPanel panel({QStringLiteral("127.0.0.1"), server.serverPort()}, 20, 4, log);
    // What LCDd heard up to `last`, the command that ends a step; the connection keeps the order,
    // so a command sent before it is never missed.
    const auto heardUpTo = [&](const QByteArray& last) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return heard.endsWith(last); })) << last.constData();
        return std::exchange(heard, {});
    };
    panel.reset();
    heardUpTo("widget_add R l4 string\n");

    Frame text;
    text.lines = 4;
    text.rows = {"un", "deux", "trois", std::nullopt};
    panel.show(text);
    EXPECT_EQ(heardUpTo("\"trois\"\n"), "widget_set R l1 1 1 \"un\"\nwidget_set R l2 1 2 "
                                        "\"deux\"\nwidget_set R l3 1 3 \"trois\"\n");
    text.rows[1] = "DEUX";
    panel.show(text);
    panel.show(text);
    text.rows[3] = "#";
    panel.show(text);
    EXPECT_EQ(heardUpTo("\"#\"\n"), "widget_set R l2 1 2 \"DEUX\"\nwidget_set R l4 1 4 \"#\"\n");

    Frame clock = text;
    clock.clock = ClockTime{9, 58, 7};
    panel.show(clock);
    // The digits where the clock's glyphs stand, and the lines blank under them.
    const QByteArray face = heardUpTo("l4 1 4 \"\"\n");
    EXPECT_TRUE(face.contains("widget_set R d1 1 0\nwidget_set R d2 5 9\nwidget_set R d3 11 5\n"
                              "widget_set R d4 15 8\nwidget_set R s 19 4 \"07\"\n"))
        << face.constData();
    clock.clock = ClockTime{9, 59, 7};
    panel.show(clock);
    panel.show(clock);
    panel.show(text); // the clock goes, the lines come back
    const QByteArray after = heardUpTo("\"#\"\n");
    EXPECT_TRUE(after.startsWith("widget_set R d4 15 9\nwidget_del R d1\n")) << after.constData();
    EXPECT_EQ(after.count("widget_set"), 5);

    // The screen's backlight, switched once for each change and kept by a new screen.
    EXPECT_TRUE(panel.setBacklight(false));
    panel.setBacklight(false);
    EXPECT_EQ(heardUpTo("\n"), "screen_set R -backlight off\n");
    panel.reset();
    EXPECT_TRUE(heardUpTo("widget_add R l4 string\n")
                    .contains("-priority foreground -heartbeat off -backlight off\n"));
    panel.setBacklight(true);
    EXPECT_EQ(heardUpTo("\n"), "screen_set R -backlight on\n");
    EXPECT_EQ(log.lines, QStringList());
}
