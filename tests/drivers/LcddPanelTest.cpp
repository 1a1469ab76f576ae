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

    explicit LcddBench(quint16 port) : panel({QStringLiteral("127.0.0.1"), port}, 20, 4, log) {
        config.C = 20;
        config.L = 4;
        config.TypeLCD = 4;
        out.panels[4] = &panel;
        InitLCD(out, config);
    }
    void set(int line, const QByteArray& text, int mode) {
        pages.CurrentLines[line] = freshLine(text, static_cast<qint16>(mode));
    }
    void tick() {
        RefreshLCD(
            {pages, config, out, [] {},
             [](const QByteArray& bar) { return Bargraph(bar, 20, "\xFF", "-", QLocale::c()); }});
    }
    qsizetype logged(const QString& part) const { return log.lines.filter(part).size(); }
};

} // namespace

TEST(LcddText, LinesTravelAsLatin1TextAndTheClockIsReadBackFromItsGlyphs) {
    EXPECT_EQ(lcddQuoted("a\"b\\c{d}"), "\"a\\\"b\\\\c{d}\"");
    EXPECT_EQ(lcddQuoted("25\xDF\x01\x7F\xFF"), "\"25\xB0  \xFF\"");

    const auto address = [](const char* text) {
        const auto a = parseLcddAddress(QString::fromUtf8(text));
        return a ? QStringLiteral("%1 %2").arg(a->host).arg(a->port) : QStringLiteral("-");
    };
    EXPECT_EQ(address("pi.local:13667"), "pi.local 13667");
    EXPECT_EQ(address("pi.local"), "pi.local 13666");
    EXPECT_EQ(address(""), "localhost 13666");
    EXPECT_EQ(address("[::1]:9"), "::1 9");
    for (const char* bad : {"host:port", "host:70000", "::1", "a b:1", "[pi]:1"}) {
        EXPECT_EQ(address(bad), "-") << bad;
    }
    const auto size = parseLcddGreeting("connect LCDproc 0.5.9 protocol 0.3 lcd wid 16 hgt 2");
    ASSERT_TRUE(size);
    EXPECT_EQ(QPoint(size->width, size->height), QPoint(16, 2));
    EXPECT_FALSE(parseLcddGreeting("huh? wid 16 hgt 2"));

    PageModel pages;
    BigTime(pages.CurrentLines, QTime(9, 7, 5));
    std::array<QByteArray, 4> rows;
    for (int i = 0; i < 4; ++i) {
        rows[i] = pages.CurrentLines[i].Text;
    }
    const auto face = readBigClock(rows);
    ASSERT_TRUE(face);
    EXPECT_EQ(face->digits, (std::array<int, 4>{0, 9, 0, 7}));
    EXPECT_EQ(face->seconds, "05");
    rows[1][8] = ':';
    EXPECT_FALSE(readBigClock(rows));
}

TEST(LcddPanel, TextScrollerAndBargraphReachTheServersFrameOneStepPerRefresh) {
    LcddServer lcdd("20x4");
    ASSERT_TRUE(lcdd.ready);
    LcddBench b(lcdd.port);
    b.set(0, "Temp \"CPU\" 45\xDF", kScrollFixed);
    b.set(1, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", kScrollLeft);
    b.set(2, "0 10 5", kScrollBargraph);
    b.set(3, "\x01\\", kScrollFixed);
    for (const char* step :
         {"ABCDEFGHIJKLMNOPQRST", "BCDEFGHIJKLMNOPQRSTU", "CDEFGHIJKLMNOPQRSTUV"}) {
        b.tick();
        const QByteArrayList frame =
            lcdd.frameWhere([&](const QByteArrayList& f) { return f.value(1) == step; });
        ASSERT_EQ(frame.value(1), step);
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
    QByteArrayList frames;
    for (const QTime time : {QTime(12, 34, 56), QTime(12, 35, 57)}) {
        BigTime(b.pages.CurrentLines, time);
        for (LineRecord& line : b.pages.CurrentLines) {
            line.Pending = 1;
            line.Length = static_cast<qint16>(line.Text.size());
        }
        b.tick();
        const QByteArray seconds = time.toString(QStringLiteral("ss")).toLatin1();
        frames +=
            lcdd.frameWhere([&](const QByteArrayList& f) { return f.value(3).endsWith(seconds); })
                .join('\n');
        ASSERT_TRUE(frames.last().endsWith(seconds)) << frames.last().constData();
    }
    // LCDd's own digits: no glyph code of the panel's is left, and 34 -> 35 changes the last
    // digit's columns alone.
    for (const char glyph : {'\x01', '\x02', '\x03', '\x04', '\x05', '\xFF'}) {
        EXPECT_FALSE(frames[0].contains(glyph));
    }
    const QByteArrayList before = frames[0].split('\n'), after = frames[1].split('\n');
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(before[row].left(14), after[row].left(14)) << row;
    }
    EXPECT_NE(before.mid(0, 3).join(), after.mid(0, 3).join());
}

TEST(LcddPanel, ASmallerServerCutsTheLinesAndALostOneIsFoundAgain) {
    LcddServer lcdd("16x2");
    ASSERT_TRUE(lcdd.ready);
    LcddBench b(lcdd.port);
    b.set(0, "Relayeur via LCDd", kScrollFixed);
    b.set(1, "ligne 2 de la page", kScrollFixed);
    b.tick();
    const QByteArrayList wanted = {"Relayeur via LCD", "ligne 2 de la pa"};
    EXPECT_EQ(lcdd.frameWhere([&](const QByteArrayList& f) { return f == wanted; }), wanted);

    lcdd.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return b.logged("perdu") == 1; }, 5000));
    lcdd.start();
    ASSERT_TRUE(lcdd.ready);
    ASSERT_TRUE(QTest::qWaitFor([&] { return b.panel.connected(); }, 5000));
    b.set(0, "Relayeur via LCDd", kScrollFixed);
    b.set(1, "ligne 2 de la page", kScrollFixed);
    b.tick();
    EXPECT_EQ(lcdd.frameWhere([&](const QByteArrayList& f) { return f == wanted; }), wanted);
    EXPECT_EQ(b.logged("perdu"), 1);
    EXPECT_EQ(b.logged("retrouvé"), 1);
    EXPECT_EQ(b.logged("16 colonnes sur 2 lignes (C = 20, L = 4)"), 1);
}

// What LCDd cannot be made to do: answer nonsense, answer nothing, press a key.
TEST(LcddPanel, AServerThatDoesNotSpeakLcddIsToldOnceAndTriedAgainEverySecond) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    int connections = 0;
    QByteArray heard;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        QTcpSocket* client = server.nextPendingConnection();
        const int n = ++connections;
        QObject::connect(client, &QTcpSocket::readyRead, [client, n, &heard] {
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
    // Tried again after the nonsense, and again after the silence; then the keys are asked for
    // (shared with other clients) and reported.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return keys == QStringList{"Down"} && heard.contains("client_add_key"); }, 10000));
    EXPECT_EQ(connections, 3);
    EXPECT_TRUE(heard.contains("client_add_key Up Down\n")) << heard.constData();
    EXPECT_EQ(log.lines,
              (QStringList{
                  QStringLiteral("Serveur LCDd 127.0.0.1:%1 injoignable : "
                                 "réponse inattendue « bonjour »")
                      .arg(server.serverPort()),
                  QStringLiteral("Serveur LCDd 127.0.0.1:%1 retrouvé").arg(server.serverPort())}));
}
