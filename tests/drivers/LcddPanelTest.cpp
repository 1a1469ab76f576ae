#include "drivers/LcddPanel.h"

#include "render/Bargraph.h"
#include "render/BigTime.h"
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
    LcdOutput out;
    FakeLog log;
    LcddPanel panel;

    // By name: LCDd listens on 127.0.0.1 alone, and "localhost" may name ::1 first.
    explicit LcddBench(quint16 port) : panel({QStringLiteral("localhost"), port}, 20, 4, log) {
        config.C = 20;
        config.L = 4;
        config.TypeLCD = 4;
        out.panels[4] = &panel;
        InitLCD(out, config);
    }
    void show(const QByteArrayList& texts, int mode = kScrollFixed) {
        for (int i = 0; i < texts.size(); ++i) {
            pages.CurrentLines[i] = freshLine(texts[i], static_cast<qint16>(mode));
        }
    }
    void tick() {
        RefreshLCD(
            {pages, config, out, [] {},
             [](const QByteArray& bar) { return Bargraph(bar, 20, "\xFF", "-", QLocale::c()); }});
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

// A page is drawn with LCDd's big numbers only when its four rows are the whole clock face: a
// page that merely resembles it stays text.
TEST(LcddText, OnlyAWholeClockFaceIsTakenForTheBigClock) {
    std::array<LineRecord, kLinesPerPage> lines;
    BigTime(lines, QTime(9, 58, 7));
    const std::array<QByteArray, 4> clock = {lines[0].Text, lines[1].Text, lines[2].Text,
                                             lines[3].Text};
    const auto face = readBigClock(clock);
    ASSERT_TRUE(face);
    EXPECT_EQ(*face, (BigClockFace{{0, 9, 5, 8}, "07"}));
    const std::tuple<int, int, char> changes[] = {
        {1, 2, 'x'},  // a digit's stroke
        {0, 8, '-'},  // the colon
        {1, 9, '*'},  // beside the colon
        {0, 18, '5'}, // above the seconds
        {3, 19, 'a'}, // the seconds themselves
        {3, 18, ' '},
    };
    for (const auto& [row, column, c] : changes) {
        std::array<QByteArray, 4> rows = clock;
        rows[row][column] = c;
        EXPECT_FALSE(readBigClock(rows)) << row << " " << column;
    }
    std::array<QByteArray, 4> shortRow = clock;
    shortRow[2].chop(1);
    EXPECT_FALSE(readBigClock(shortRow));
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
    for (const QTime time : {QTime(12, 34, 56), QTime(12, 35, 57)}) {
        BigTime(b.pages.CurrentLines, time);
        b.show({b.pages.CurrentLines[0].Text, b.pages.CurrentLines[1].Text,
                b.pages.CurrentLines[2].Text, b.pages.CurrentLines[3].Text});
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
    panel.init();
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
    panel.init();
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
