// Relayeur as an LCDd server: clients' screens among the pages, alerts, keys, and the clients that
// misbehave.
#include "engine/LcdServer.h"

#include "engine/Crowd.h"
#include "shell/LcdWidget.h"
#include "support/QtPrinters.h"
#include "support/Shell.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <arpa/inet.h>
#include <cstring>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace {

// A client of the test, as LCDd's clients speak: a line out, the server's lines back.
struct Client {
    QTcpSocket socket;
    QByteArray heard; // what was not waited for yet
    QByteArray all;   // everything it heard

    explicit Client(quint16 port) { socket.connectToHost(QHostAddress::LocalHost, port); }
    bool connected() { return socket.waitForConnected(5000); }
    void say(const QByteArray& lines) { socket.write(lines); }
    // Waits until the server has sent `text`, then forgets what it sent up to there.
    bool hears(const QByteArray& text) {
        return QTest::qWaitFor([&] {
            take();
            const qsizetype at = heard.indexOf(text);
            if (at >= 0) {
                heard.remove(0, at + text.size());
            }
            return at >= 0;
        });
    }
    void take() {
        const QByteArray more = socket.readAll();
        heard += more;
        all += more;
    }
    bool closed() {
        return QTest::qWaitFor([&] {
            take();
            return socket.state() == QAbstractSocket::UnconnectedState;
        });
    }
};

quint16 portOf(const Engine& e) {
    const QStringList addresses = e.lcdServer().addresses();
    return addresses.isEmpty() ? 0 : addresses[0].section(':', -1).toUShort();
}

// A port free now, and still free a moment later.
QByteArray freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return QByteArray::number(probe.serverPort());
}

const QByteArray kTwoPages = "[param]\nnb_pages=2\n[page_1]\nligne0=Page 1\ntime=5\nnext=2\n"
                             "[page_2]\nligne0=Page 2\ntime=5\nnext=1\n";

// The engine on a fake panel with the server on a port of the kernel's choosing, fed the
// two-page profile; the refresh and the page turns are driven by the test, on a clock of its own.
struct ServedShell : Shell {
    qint64 now = 1000;
    Engine* e = nullptr;

    ServedShell() : Shell(kShellSettings + "[serveur]\nLCDd=127.0.0.1:" + freePort() + "\n") {
        env.monotonicMs = [this] { return now; };
        e = &startEngine();
        e->LoadProfile(dir.write("p.tlcd", kTwoPages));
        e->Command1();
        e->Timer1().setEnabled(false);
    }
    QByteArray firstRow() {
        Q_EMIT e->Timer1().timeout();
        const QByteArrayList rows = panel->lastRows();
        return rows.isEmpty() ? QByteArray() : rows[0].trimmed();
    }
    void turn() { Q_EMIT e->Timer2().timeout(); }
};

} // namespace

// A client's screen takes its turn between the profile's pages for its duration, or a page's time;
// it is told when it shows and when it does not; the log says who came, its name and its going.
TEST(LcdServer, ClientScreensTakeTurnsWithThePagesAndTheLogFollowsTheClients) {
    ServedShell s;
    ASSERT_NE(portOf(*s.e), 0) << s.log.join('\n').toStdString();
    EXPECT_TRUE(
        s.log.contains("Serveur LCDd : à l'écoute sur 127.0.0.1:" + QString::number(portOf(*s.e))));
    Client c(portOf(*s.e));
    ASSERT_TRUE(c.connected());
    c.say("hello\nclient_set -name {Essai é}\nscreen_add s\nwidget_add s w string\n"
          "widget_set s w 1 1 {Du client}\n");
    ASSERT_TRUE(c.hears("connect LCDproc 0.5.9 protocol 0.3 lcd wid 20 hgt 4 cellwid 5 cellhgt 8"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.log.last().contains("se nomme"); }));
    EXPECT_EQ(s.firstRow(), "Page 1") << "a screen waits for its turn";
    s.turn();
    EXPECT_EQ(s.firstRow(), "Du client");
    EXPECT_TRUE(c.hears("listen s\n"));
    EXPECT_EQ(s.e->Timer2().interval(), 5000) << "no duration: the page's time";
    s.turn();
    EXPECT_EQ(s.firstRow(), "Page 2");
    EXPECT_TRUE(c.hears("ignore s\n"));

    c.say("screen_set s -duration 16\nnoop\n");
    ASSERT_TRUE(c.hears("success\nnoop complete\n"));
    s.turn();
    EXPECT_EQ(s.firstRow(), "Du client");
    EXPECT_EQ(s.e->Timer2().interval(), 2000) << "16 eighths of a second";
    c.socket.disconnectFromHost();
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.log.last().contains("parti"); }));
    EXPECT_EQ(s.firstRow(), "Page 1") << "its screen went: the next page comes at once";
    const QStringList said = s.log.mid(s.log.indexOf(QRegularExpression("^Client LCDd conn.*")));
    ASSERT_EQ(said.size(), 3) << s.log.join('\n').toStdString();
    EXPECT_TRUE(said[0].startsWith("Client LCDd connecté depuis 127.0.0.1:"));
    EXPECT_EQ(said[1], "Client LCDd " + said[0].section(' ', -1) + " : se nomme « Essai é »");
    EXPECT_EQ(said[2], "Client LCDd « Essai é » parti");
}

// An alert takes the panel at once, whatever the turns, until its timeout runs out while it shows;
// the page then comes back whole. A hidden screen never shows.
TEST(LcdServer, AnAlertTakesThePanelUntilItsTimeoutAndHiddenScreensNeverShow) {
    ServedShell s;
    Client c(portOf(*s.e));
    ASSERT_TRUE(c.connected());
    c.say("hello\nscreen_add h\nscreen_set h -priority hidden\nwidget_add h w string\n"
          "widget_set h w 1 1 Cache\nnoop\n");
    ASSERT_TRUE(c.hears("noop complete\n"));
    s.turn();
    EXPECT_EQ(s.firstRow(), "Page 2");
    c.say("screen_add a\nwidget_add a w string\nwidget_set a w 1 1 Alerte\n"
          "screen_set a -priority alert -timeout 8\nnoop\n");
    ASSERT_TRUE(c.hears("success\nsuccess\nnoop complete\n"));
    EXPECT_EQ(s.firstRow(), "Alerte");
    EXPECT_TRUE(c.hears("listen a\n"));
    s.turn(); // the pages turn beneath it
    s.now += 999;
    EXPECT_EQ(s.firstRow(), "Alerte");
    s.now += 1;
    EXPECT_EQ(s.firstRow(), "Page 1");
    EXPECT_EQ(s.panel->frames[s.panel->frames.size() - 2].rows[0], QByteArray(20, ' '))
        << "the alert is cleared before the page is drawn again";
    EXPECT_EQ(s.e->clientScreens().clients.begin()->second.screens.size(), 1u) << "it is gone";
}

// A key goes to the client that asked for it exclusively, or to the client whose screen shows when
// it asked to share it; otherwise it turns the pages.
TEST(LcdServer, KeysGoToTheClientThatAskedForThem) {
    ServedShell s;
    QList<int> pages;
    QObject::connect(s.e, &Engine::pageShown, [&](const QString&, int page) { pages << page; });
    Client owner(portOf(*s.e));
    Client sharer(portOf(*s.e));
    ASSERT_TRUE(owner.connected() && sharer.connected());
    owner.say("hello\nclient_add_key -exclusively Enter\nnoop\n");
    sharer.say("hello\nclient_add_key Down\nscreen_add s\nnoop\n");
    ASSERT_TRUE(owner.hears("success\nnoop complete\n") &&
                sharer.hears("success\nsuccess\nnoop complete\n"));
    s.e->panelKey("Enter");
    EXPECT_TRUE(owner.hears("key Enter\n"));
    s.e->panelKey("Down");
    EXPECT_EQ(pages, QList<int>{2}) << "its screen does not show: the key is the pages'";
    s.turn();
    s.firstRow();
    s.e->panelKey("Down");
    EXPECT_TRUE(sharer.hears("key Down\n"));
    EXPECT_EQ(pages, QList<int>{2});
    EXPECT_FALSE(sharer.all.contains("key Enter"));
}

namespace {

// The server alone, with small limits, and what it said.
struct SmallServer {
    ClientScreens screens;
    LcdServer server{screens, [] { return 0; },
                     LcdServer::Limits{.maxClients = 2,
                                       .maxLine = 64,
                                       .readChunk = 1024,
                                       .maxUnsent = 1024,
                                       .ticksBehind = 3,
                                       .sendBuffer = 4096}};
    QStringList said;

    SmallServer() {
        server.listen({QStringLiteral("127.0.0.1"), 0});
        server.setAccepting(true);
        QObject::connect(&server, &LcdServer::clientLeft,
                         [this](int, const QString& why) { said << "left: " + why; });
        QObject::connect(&server, &LcdServer::clientRefused,
                         [this](const QString&, const QString& why) { said << "refused: " + why; });
    }
    quint16 port() const { return server.addresses()[0].section(':', -1).toUShort(); }
};

} // namespace

// Whatever a client does, the others go on: one that sends endless lines, one that floods, one
// that never reads its answers, and the one too many are dropped, each with its reason.
TEST(LcdServer, ClientsThatMisbehaveAreDroppedAndTheOthersGoOn) {
    SmallServer s;
    Client good(s.port());
    ASSERT_TRUE(good.connected());
    good.say("hello\n");
    ASSERT_TRUE(good.hears("connect "));

    Client endless(s.port());
    ASSERT_TRUE(endless.connected());
    endless.say(QByteArray(100, 'x'));
    EXPECT_TRUE(endless.closed());
    EXPECT_EQ(s.said.last(), "left: ligne de plus de 64 octets");

    Client flood(s.port());
    ASSERT_TRUE(flood.connected());
    flood.say(QByteArray("noop\n").repeated(4000));
    EXPECT_TRUE(flood.closed());
    EXPECT_EQ(s.said.last(), "left: envoie plus vite que Relayeur ne lit");

    // A socket that takes few answers, and never reads them.
    const int deaf = ::socket(AF_INET, SOCK_STREAM, 0);
    const int small = 1024;
    ::setsockopt(deaf, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(s.port());
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(deaf, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
    const QByteArray hellos = QByteArray("hello\n").repeated(500);
    ASSERT_EQ(::write(deaf, hellos.constData(), hellos.size()), hellos.size());
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.said.contains("left: ne lit plus les réponses"); }));
    ::close(deaf);

    Client second(s.port());
    Client third(s.port());
    ASSERT_TRUE(second.connected() && third.connected());
    EXPECT_TRUE(third.closed());
    EXPECT_EQ(s.said.last(), "refused: déjà 2 clients");
    good.say("noop\n");
    EXPECT_TRUE(good.hears("noop complete\n")) << "the first client was served all along";
    EXPECT_EQ(s.server.clientCount(), 2);
}

// Without the key, no server; an address that cannot be read or taken is said, and the panel
// goes on.
TEST(LcdServer, AServerThatCannotListenIsSaidAndNothingElseChanges) {
    Shell none;
    EXPECT_TRUE(none.startEngine().lcdServer().addresses().isEmpty());
    ServedShell first;
    for (const auto& [address, said] :
         {std::pair{QString("pi:port"), QString("[serveur] LCDd = pi:port : adresse illisible "
                                                "(hôte:port attendu), pas de serveur LCDd")},
          {"127.0.0.1:" + QString::number(portOf(*first.e)),
           "Serveur LCDd indisponible : 127.0.0.1:" + QString::number(portOf(*first.e)) +
               " : Address already in use (un autre serveur, LCDd peut-être, y est déjà : "
               "[serveur] LCDd peut en prendre un autre)"},
          {"localhost:13666", "[serveur] LCDd = localhost:13666 : c'est aussi l'adresse de "
                              "l'afficheur LCDd (TypeLCD = 4), pas de serveur LCDd"},
          {"192.0.2.1:13667", "Serveur LCDd indisponible : 192.0.2.1:13667 : Cannot assign "
                              "requested address"}}) {
        Shell s(QByteArray(kShellSettings).replace("TypeLCD=2", "TypeLCD=4") +
                "[ports]\nLCDd=127.0.0.1:13666\n[serveur]\nLCDd=" + address.toUtf8() + "\n");
        s.startEngine();
        EXPECT_TRUE(s.log.contains(said)) << s.log.join('\n').toStdString();
    }
}

// A page without a time stays, as it always did; while a client has a screen that takes turns,
// the page lends it the panel every few seconds and comes back after each turn.
TEST(LcdServer, APageThatStaysLendsThePanelToTheClientsScreens) {
    ServedShell s;
    s.e->LoadProfile(s.dir.write("stays.tlcd", "[param]\nnb_pages=2\n[page_1]\nligne0=Reste\n"
                                               "time=0\nnext=2\n[page_2]\nligne0=Jamais\n"));
    EXPECT_EQ(s.e->Timer2().interval(), 0);
    Client c(portOf(*s.e));
    ASSERT_TRUE(c.connected());
    c.say("hello\nscreen_add s\nwidget_add s w string\nwidget_set s w 1 1 Client\nnoop\n");
    ASSERT_TRUE(c.hears("noop complete\n"));
    EXPECT_EQ(s.e->Timer2().interval(), kStillPageMs);
    for (int round = 0; round < 2; ++round) {
        s.turn();
        EXPECT_EQ(s.firstRow(), "Client");
        s.turn();
        EXPECT_EQ(s.firstRow(), "Reste") << "the page that stays comes back, not the next";
        EXPECT_EQ(s.e->Timer2().interval(), kStillPageMs);
    }
    c.say("screen_del s\nnoop\n");
    ASSERT_TRUE(c.hears("noop complete\n"));
    s.turn();
    EXPECT_EQ(s.firstRow(), "Reste");
    EXPECT_EQ(s.e->Timer2().interval(), 0) << "no screen left: the page stays for good";
}

// On the on-screen panel the keyboard's arrows, Enter and Escape are the panel's keys.
TEST(LcdServer, TheOnScreenPanelsKeysReachTheClientThatAskedForThem) {
    Shell s(QByteArray(kShellSettings).replace("TypeLCD=2", "TypeLCD=1") +
            "[serveur]\nLCDd=127.0.0.1:" + freePort() + "\n");
    F_Interface& window = s.startWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return window.engine().lcdServer().clientCount() == 0 && !window.engine().startingUp();
    }));
    auto* panel = window.findChild<LcdWidget*>();
    ASSERT_NE(panel, nullptr);
    Client c(portOf(window.engine()));
    ASSERT_TRUE(c.connected());
    c.say("hello\nclient_add_key -exclusively Escape\nnoop\n");
    ASSERT_TRUE(c.hears("noop complete\n"));
    QTest::keyClick(panel, Qt::Key_Escape);
    EXPECT_TRUE(c.hears("key Escape\n"));
}

// A thousand connections at once, each doing what a hostile program could (staying silent, half a
// line, a line of 1 MiB without its end, bytes that are not UTF-8, commands out of order or before
// hello, answers never read): the server never holds more clients than its limit, tells each
// spell of refusals once, and a client speaking as lcdproc does is served all along, its text
// shown alike in UTF-8 or Latin-1, its control characters as blanks.
TEST(LcdServer, AThousandHostileConnectionsLeaveAWellBehavedClientServed) {
    constexpr int kCrowd = 1000;
    ASSERT_TRUE(Crowd::roomFor(kCrowd));
    ServedShell s;
    Client good(portOf(*s.e));
    ASSERT_TRUE(good.connected());
    good.say("hello\nclient_set -name Sage\nscreen_add s\nwidget_add s w string\n"
             "widget_set s w 1 1 {\xc3\xa9t\xc3\xa9\x01!}\nnoop\n");
    ASSERT_TRUE(good.hears("noop complete\n"));
    s.turn();
    const QByteArray utf8Row = s.firstRow();
    EXPECT_TRUE(utf8Row.endsWith(" !")) << utf8Row.toHex().toStdString();
    const qsizetype logged = s.log.size();

    sockaddr_in door{};
    door.sin_family = AF_INET;
    door.sin_port = htons(portOf(*s.e));
    door.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const QByteArray hostile[] = {
        {},
        "hel",
        "widget_set s w 1 1 x\nscreen_del nope\nhello\nscreen_del nope\nwidget_set s w 1 1 x\n",
        "\xff\xfe\x80\xc3(\nhello\nclient_set -name {\xff\xc3(}\n\x01\x02\x1b[2J\n",
    };
    Crowd crowd;
    int mostAtOnce = 0;
    for (int i = 0; i < kCrowd; ++i) {
        // The first few send a line of 1 MiB, more than a client can send.
        ASSERT_TRUE(crowd.join(reinterpret_cast<const sockaddr*>(&door), sizeof door,
                               i < 3 ? QByteArray(1 << 20, 'x') : hostile[i % std::size(hostile)]))
            << "connection " << i << ": " << std::strerror(errno);
        mostAtOnce = std::max(mostAtOnce, s.e->lcdServer().clientCount());
    }
    EXPECT_EQ(mostAtOnce, LcdServer::Limits{}.maxClients);
    good.say("noop\n");
    EXPECT_TRUE(good.hears("noop complete\n")) << "served while the crowd waits";

    // One that sends and never reads the answers, which pile up.
    crowd.sockets.clear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.e->lcdServer().clientCount() == 1; }));
    Crowd deaf;
    ASSERT_TRUE(deaf.join(reinterpret_cast<const sockaddr*>(&door), sizeof door, "hello\n"));
    const QByteArray hellos = QByteArray("hello\n").repeated(1000);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        ::send(deaf.sockets[0].get(), hellos.constData(), hellos.size(),
               MSG_NOSIGNAL | MSG_DONTWAIT);
        return s.log.last().endsWith("déconnecté : ne lit plus les réponses");
    }));

    good.say("widget_set s w 1 1 {\xe9t\xe9\x01!}\nnoop\n");
    ASSERT_TRUE(good.hears("noop complete\n"));
    EXPECT_EQ(s.firstRow(), utf8Row) << "the same text in Latin-1";
    Client late(portOf(*s.e));
    ASSERT_TRUE(late.connected());
    late.say("hello\n");
    EXPECT_TRUE(late.hears("connect LCDproc")) << "places are free again";

    const QStringList said = s.log.mid(logged);
    const qsizetype refusals = said.filter(" refusé : déjà 64 clients").size();
    EXPECT_GE(refusals, 1);
    EXPECT_LE(refusals, said.filter(QRegularExpression(" (parti|déconnecté : .*)$")).size() + 1)
        << "once each time the server is full";
    EXPECT_EQ(said.filter("déconnecté : ligne de plus de 8192 octets").size(), 3);
}

// Without a host the server listens on this machine's loopback alone; the log says when the
// address the user wrote opens it to the network.
TEST(LcdServer, OnlyThisMachineReachesTheServerUnlessTheAddressSaysOtherwise) {
    for (const auto& [host, open] :
         {std::pair{"", false}, {"0.0.0.0", true}, {"[::1]", false}, {"[::]", true}}) {
        const QByteArray port = freePort();
        Shell s(kShellSettings + "[serveur]\nLCDd=" + host + ":" + port + "\n");
        const Engine& e = s.startEngine();
        ASSERT_FALSE(e.lcdServer().addresses().isEmpty()) << s.log.join('\n').toStdString();
        EXPECT_EQ(e.lcdServer().loopbackOnly(), !open) << host;
        for (const QString& address : e.lcdServer().addresses()) {
            EXPECT_EQ(address.startsWith("127.") || address.startsWith("[::1]"), !open)
                << address.toStdString();
        }
        EXPECT_EQ(s.log.filter("ouvert aux autres machines du réseau").size(), open ? 1 : 0)
            << s.log.join('\n').toStdString();
    }
}
