// When the panel goes quiet: the settings, the schedule, the player's minute, the session's lock
// over a private D-Bus, and the panel as the engine drives it.
#include "engine/QuietHours.h"

#include "sources/media/DBusSessionWatch.h"
#include "support/FakeLog.h"
#include "support/QtPrinters.h"
#include "support/Shell.h"

#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QtDBus>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QuietSettings read(const QByteArray& section, FakeLog& log) {
    return readQuietSettings(IniFile::parse("[silence]\n" + section), log);
}

} // namespace

// Bad values are said and left out; the schedule holds from its start up to its end, across
// midnight too, and never when both are the same.
TEST(QuietHours, SettingsAndTheScheduleAcrossMidnight) {
    FakeLog log;
    const QuietSettings all = read("horaire=23:00-7:30\nverrouillage=1\nmusique=1\n", log);
    EXPECT_EQ(std::tuple(all.schedule->text, all.session, all.player),
              std::tuple(QString("23:00-07:30"), true, true));
    EXPECT_FALSE(read("horaire=25:00-7\nverrouillage=0\nmusique=oui\n", log).any());
    EXPECT_EQ(log.lines, QStringList({"[silence] horaire = « 25:00-7 » : HH:MM-HH:MM attendu, "
                                      "l'horaire est laissé de côté",
                                      "[silence] musique = « oui » : 0 ou 1 attendu, ce critère "
                                      "est laissé de côté"}));

    const auto within = [&](const char* schedule, QTime time) {
        return withinSchedule(*read(QByteArray("horaire=") + schedule, log).schedule, time);
    };
    EXPECT_FALSE(within("23:00-07:00", QTime(22, 59, 59)) || within("23:00-07:00", QTime(7, 0)));
    EXPECT_TRUE(within("23:00-07:00", QTime(23, 0)) && within("23:00-07:00", QTime(6, 59, 59)));
    EXPECT_FALSE(within("12:00-12:00", QTime(12, 0)) || within("12:00-12:00", QTime(0, 0)));

    // A locked session, and an idle one, each quiet the panel on their own.
    const QuietSettings session = read("verrouillage=1\n", log);
    EXPECT_EQ(quietReason(session, {QTime(12, 0), {.locked = true}}), QuietReason::Locked);
    EXPECT_EQ(quietReason(session, {QTime(12, 0), {.idle = true}}), QuietReason::Idle);
    EXPECT_EQ(quietReason(session, {QTime(12, 0), {}}), QuietReason::None);
}

// The schedule, the player's minute and the switch, with both clocks in the test's
// hands; the next look is due exactly at the next edge.
TEST(QuietHours, ItGoesQuietAndWakesAtTheEdgesOfEachCondition) {
    QDateTime wall(QDate(2026, 12, 7), QTime(22, 59));
    qint64 mono = 1000;
    FakeLog log;
    QuietHours quiet(read("horaire=23:00-07:00\nmusique=1\n", log),
                     {[&] { return wall; }, [&] { return mono; }});
    QList<QuietReason> changes;
    QObject::connect(&quiet, &QuietHours::changed, [&](QuietReason r) { changes.append(r); });
    const auto after = [&](qint64 ms) {
        mono += ms;
        wall = wall.addMSecs(ms);
        quiet.check();
        return quiet.reason();
    };
    quiet.setSession({.playing = true});
    EXPECT_EQ(quiet.nextCheckMs(), 60'000) << "the start of the schedule";
    EXPECT_EQ(after(59'999), QuietReason::None);
    EXPECT_EQ(after(1), QuietReason::Schedule);
    EXPECT_EQ(quietReasonText(quiet.reason(), quiet.settings()), "horaire 23:00-07:00");
    EXPECT_EQ(quiet.nextCheckMs(), 8 * 3600'000LL) << "its end";

    EXPECT_EQ(after(8 * 3600'000LL), QuietReason::None);
    quiet.setSession({.playing = false});
    EXPECT_EQ(quiet.nextCheckMs(), 60'000) << "the player's minute comes first";
    EXPECT_EQ(after(59'999), QuietReason::None);
    EXPECT_EQ(after(1), QuietReason::PlayerStopped);
    quiet.setSession({.playing = true});
    quiet.askBacklight(false);
    quiet.askBacklight(true);
    EXPECT_EQ(changes, (QList<QuietReason>{QuietReason::Schedule, QuietReason::None,
                                           QuietReason::PlayerStopped, QuietReason::None,
                                           QuietReason::BacklightOff, QuietReason::None}));
}

namespace {

// logind, the screen saver or a player, as far as the watch asks them: each method's answer.
struct StandIn : QDBusVirtualObject {
    explicit StandIn(QVariantMap answers) : answers(std::move(answers)) {}
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& m, const QDBusConnection& bus) override {
        if (m.member() == "GetSessionByPID" &&
            m.arguments().value(0).toUInt() != quint32(getpid())) {
            return bus.send(m.createErrorReply("org.freedesktop.login1.NoSessionForPID", "?"));
        }
        return bus.send(answers.contains(m.member())
                            ? m.createReply(answers[m.member()])
                            : m.createErrorReply(QDBusError::UnknownMethod, m.member()));
    }
    QVariantMap answers;
};

const QString kSession = "/org/freedesktop/login1/session/_32";

// A private bus stands for both the system and the session bus, so that neither of the machine's
// takes part; the watch comes from the program's module.
struct PrivateBus : ::testing::Test {
    PrivateBus() {
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        while (!daemon.canReadLine() && daemon.waitForReadyRead(10000)) {
        }
        const QByteArray address = daemon.readLine().trimmed();
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        services = QDBusConnection::connectToBus(address, "services");
    }
    ~PrivateBus() override {
        QDBusConnection::disconnectFromBus("services");
        daemon.terminate();
        daemon.waitForFinished();
    }
    void serve(const QString& name, const QString& path, StandIn& object) {
        ASSERT_TRUE(services.registerVirtualObject(path, &object, QDBusConnection::SubPath) &&
                    services.registerService(name));
    }
    void signal(const QString& path, const QString& interface, const QString& name,
                const QVariantList& arguments) {
        QDBusMessage s = QDBusMessage::createSignal(path, interface, name);
        s.setArguments(arguments);
        services.send(s);
    }
    std::unique_ptr<SessionWatch> watch(const SessionWatchOptions& options) {
        return loadSessionWatch(
            {RELAYEUR_MPRIS_MODULE}, options, [this](const SessionState& s) { heard.append(s); },
            [this](const QString& p) { problems.append(p); });
    }
    bool hears(const SessionState& state) {
        return QTest::qWaitFor([&] { return !heard.isEmpty() && heard.last() == state; });
    }

    QProcess daemon;
    QDBusConnection services{"none"};
    QList<SessionState> heard;
    QStringList problems;
};

} // namespace

// A machine without any bus (a container, a service) is told so, not left waiting.
TEST(QuietHours, WithoutAnyBusTheLockIsSaidNotFollowed) {
    QStringList problems;
    DBusSessionWatch watch(
        {.lock = true}, {}, [&](const QString& p) { problems.append(p); },
        QDBusConnection("absent"), QDBusConnection("absent"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !problems.isEmpty(); }));
    EXPECT_TRUE(problems[0].startsWith("Veille de l'afficheur : ni session logind"));
}

// Without logind the screen saver stands for the lock, and without either it is said. logind's
// hints of this process's session are followed, and the players' status.
TEST_F(PrivateBus, TheScreenSaverThenLogindsHintsAndThePlayersStatusAreFollowed) {
    std::unique_ptr<SessionWatch> none = watch({.lock = true});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !problems.isEmpty(); }));
    EXPECT_TRUE(problems[0].startsWith("Veille de l'afficheur : ni session logind ni économiseur "
                                       "d'écran"))
        << problems[0].toStdString();
    StandIn saver({{"GetActive", true}});
    serve("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", saver);
    std::unique_ptr<SessionWatch> w = watch({.lock = true});
    EXPECT_TRUE(hears({.locked = true}));
    signal("/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver", "ActiveChanged", {false});
    EXPECT_TRUE(hears({}));

    StandIn logind({{"GetSessionByPID", QVariant::fromValue(QDBusObjectPath(kSession))},
                    {"GetAll", QVariantMap{{"LockedHint", false}, {"IdleHint", true}}}});
    StandIn player({{"Get", QVariant::fromValue(QDBusVariant("Playing"))}});
    serve("org.freedesktop.login1", "/org/freedesktop/login1", logind);
    heard.clear();
    w = watch({.lock = true, .player = true, .playerPollMs = 20});
    EXPECT_TRUE(hears({.idle = true}));
    const auto hint = [&](const char* name, bool value) {
        signal(kSession, "org.freedesktop.DBus.Properties", "PropertiesChanged",
               {"org.freedesktop.login1.Session", QVariantMap{{name, value}}, QStringList()});
    };
    hint("LockedHint", true);
    EXPECT_TRUE(hears({.locked = true, .idle = true}));
    hint("IdleHint", false);
    hint("LockedHint", false);
    EXPECT_TRUE(hears({}));
    serve("org.mpris.MediaPlayer2.essai", "/org/mpris/MediaPlayer2", player);
    EXPECT_TRUE(hears({.playing = true}));
    player.answers["Get"] = QVariant::fromValue(QDBusVariant("Stopped"));
    EXPECT_TRUE(hears({}));
    EXPECT_EQ(problems.size(), 1) << problems.join('\n').toStdString();
}

namespace {

// An engine with an LCDd server, on a panel with or without a backlight, its wall clock at `wall`
// and its clock that never goes back at `mono`.
struct QuietEngine {
    QuietEngine(const QByteArray& silence, bool backlight)
        : s(kShellSettings + "[serveur]\nLCDd=127.0.0.1:" + freePort() + "\n" + silence) {
        VariableSources sources;
        sources.now = [this] { return wall; };
        s.env.sources = sources;
        s.env.monotonicMs = [this] { return mono; };
        s.env.makePanel = [this, backlight](const DisplayConfig&) {
            auto made = std::make_unique<FakePanel>();
            made->hasBacklight = backlight;
            s.panel = made.get();
            return made;
        };
        Engine& e = s.startEngine();
        EXPECT_TRUE(e.LoadProfile(s.dir.write("p.tlcd", "[param]\nnb_pages=1\n[page_1]\n"
                                                        "ligne0=Bonjour\nligne1=Un\nligne2=\n"
                                                        "ligne3=\ntime=5\nnext=1\n")));
        e.Command1();
        e.Timer1().setEnabled(false);
    }
    static QByteArray freePort() {
        QTcpServer probe; // a port free now, and still free a moment later
        probe.listen(QHostAddress::LocalHost);
        return QByteArray::number(probe.serverPort());
    }
    QByteArrayList refresh() {
        Q_EMIT s.engine->Timer1().timeout();
        QByteArrayList rows = s.panel->lastRows();
        for (QByteArray& row : rows) {
            row = row.trimmed();
        }
        return rows;
    }
    void check() { s.engine->findChild<QuietHours*>()->check(); }

    QDateTime wall{QDate(2026, 12, 7), QTime(22, 0)};
    qint64 mono = 0;
    Shell s;
};

const QByteArrayList kBlank{"", "", "", ""};

} // namespace

// A panel without a backlight takes blank frames while quiet; a message lights it up for the
// page's time, an LCDd client's alert for its timeout. The log says when and why.
TEST(QuietEngine, APanelWithoutBacklightIsSentBlankFramesAndMessagesAndAlertsWakeIt) {
    QuietEngine q("[silence]\nhoraire=23:00-07:00\n", false);
    EXPECT_EQ(q.refresh(), (QByteArrayList{"Bonjour", "Un", "", ""}));
    q.wall = q.wall.addSecs(3600);
    q.check();
    EXPECT_EQ(q.s.log.last(), "L'afficheur se met en veille : horaire 23:00-07:00");
    EXPECT_EQ(q.refresh(), kBlank);
    EXPECT_EQ(q.s.panel->backlights, QList<bool>{false});

    EXPECT_EQ(q.s.engine->RelayWindowProc(3, "Salut02"), linemessage::kTaken);
    EXPECT_EQ(q.s.log.last(), "L'afficheur se réveille");
    EXPECT_EQ(q.refresh(), (QByteArrayList{"Bonjour", "Un", "Salut", ""}));
    q.mono += 5000;
    q.check();
    EXPECT_EQ(q.refresh(), kBlank);

    QTcpSocket client;
    const QString address = q.s.engine->lcdServer().addresses().value(0);
    client.connectToHost(QHostAddress::LocalHost, address.section(':', -1).toUShort());
    client.write("hello\nscreen_add a\nwidget_add a w string\nwidget_set a w 1 1 Alerte\n"
                 "screen_set a -priority alert -timeout 8\nnoop\n");
    QByteArray heard;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (heard += client.readAll()).contains("noop c"); }));
    EXPECT_EQ(q.refresh().value(0), "Alerte");
    q.mono += 1000;
    q.check();
    EXPECT_EQ(q.s.log.last(), "L'afficheur se met en veille : horaire 23:00-07:00");
    EXPECT_EQ(q.refresh(), kBlank);
}

// A panel with a backlight puts it out and goes on taking the frames; without [silence] nothing
// of it is made.
TEST(QuietEngine, APanelWithABacklightPutsItOutAndWithoutSilenceNothingChanges) {
    QuietEngine q("[silence]\nhoraire=22:00-22:30\n", true);
    EXPECT_EQ(q.refresh(), (QByteArrayList{"Bonjour", "Un", "", ""}));
    q.wall = q.wall.addSecs(1800);
    q.check();
    EXPECT_EQ(q.s.panel->backlights, (QList<bool>{false, true}));

    QuietEngine without("", true);
    EXPECT_EQ(without.refresh(), (QByteArrayList{"Bonjour", "Un", "", ""}));
    EXPECT_TRUE(without.s.panel->backlights.isEmpty());
    EXPECT_FALSE(without.s.engine->findChild<QuietHours*>());
}
