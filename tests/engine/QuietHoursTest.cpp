// When the panel goes quiet: the settings, the schedule, the player's minute, the session's lock
// over a private D-Bus, and the panel as the engine drives it.
#include "engine/QuietHours.h"

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

TEST(QuietHours, SettingsAskForWhatTheySayAndBadValuesAreSaidAndLeftOut) {
    FakeLog log;
    const QuietSettings all = read("horaire=23:00-7:30\nverrouillage=1\nmusique=1\n", log);
    ASSERT_TRUE(all.schedule);
    EXPECT_EQ(std::tuple(all.schedule->text, all.session, all.player),
              std::tuple(QString("23:00-07:30"), true, true));
    EXPECT_TRUE(log.lines.isEmpty());

    const QuietSettings bad = read("horaire=25:00-7\nverrouillage=0\nmusique=oui\n", log);
    EXPECT_FALSE(bad.any());
    EXPECT_EQ(log.lines,
              QStringList({"[silence] horaire = « 25:00-7 » : HH:MM-HH:MM attendu, l'horaire est "
                           "laissé de côté",
                           "[silence] musique = « oui » : 0 ou 1 attendu, ce critère est laissé "
                           "de côté"}));
    log.lines.clear();
    EXPECT_FALSE(readQuietSettings(IniFile::parse("[parametres]\nC=20\n"), log).any());
    EXPECT_FALSE(read("horaire=\n", log).any());
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST(QuietHours, TheScheduleHoldsFromItsStartUpToItsEndAcrossMidnightAndNeverWhenEmpty) {
    FakeLog log;
    const QuietSchedule night = *read("horaire=23:00-07:00", log).schedule;
    const QuietSchedule day = *read("horaire=08:30-18:00", log).schedule;
    const QuietSchedule never = *read("horaire=12:00-12:00", log).schedule;
    const auto at = [](const QuietSchedule& s, int h, int m, int sec = 0) {
        return withinSchedule(s, QTime(h, m, sec));
    };
    EXPECT_FALSE(at(night, 22, 59, 59));
    EXPECT_TRUE(at(night, 23, 0) && at(night, 0, 0) && at(night, 6, 59, 59));
    EXPECT_FALSE(at(night, 7, 0));
    EXPECT_FALSE(at(day, 8, 29, 59) || at(day, 18, 0) || at(day, 23, 0));
    EXPECT_TRUE(at(day, 8, 30) && at(day, 17, 59, 59));
    EXPECT_FALSE(at(never, 12, 0) || at(never, 11, 59, 59) || at(never, 0, 0));
}

// The schedule, the player's minute, a wake-up and the switch, with both clocks in the test's
// hands; the next look is due exactly at the next edge, and only then.
TEST(QuietHours, ItGoesQuietAndWakesAtTheEdgesOfEachCondition) {
    QDateTime wall(QDate(2026, 12, 7), QTime(22, 59));
    qint64 mono = 1000;
    FakeLog log;
    QuietSettings settings = read("horaire=23:00-07:00\nmusique=1\n", log);
    QuietHours quiet(settings, {[&] { return wall; }, [&] { return mono; }});
    QList<QuietReason> changes;
    QObject::connect(&quiet, &QuietHours::changed, [&](QuietReason r) { changes.append(r); });
    quiet.setSession({.playing = true});
    EXPECT_FALSE(quiet.quiet());
    EXPECT_EQ(quiet.nextCheckMs(), 60'000) << "the start of the schedule";

    wall = wall.addSecs(60);
    quiet.check();
    EXPECT_EQ(quiet.reason(), QuietReason::Schedule);
    EXPECT_EQ(quietReasonText(quiet.reason(), quiet.settings()), "horaire 23:00-07:00");
    EXPECT_EQ(quiet.nextCheckMs(), 8 * 3600'000LL) << "its end";

    quiet.wake(5000);
    EXPECT_FALSE(quiet.quiet()) << "a message lights it up";
    EXPECT_EQ(quiet.nextCheckMs(), 5000);
    mono += 4999;
    quiet.check();
    EXPECT_FALSE(quiet.quiet());
    mono += 1;
    quiet.check();
    EXPECT_TRUE(quiet.quiet()) << "for its time only";

    wall = QDateTime(QDate(2026, 12, 8), QTime(7, 0));
    quiet.check();
    EXPECT_FALSE(quiet.quiet());
    quiet.setSession({.playing = false});
    EXPECT_EQ(quiet.nextCheckMs(), 60'000) << "the player's minute comes first";
    mono += 59'999;
    quiet.check();
    EXPECT_FALSE(quiet.quiet());
    mono += 1;
    quiet.check();
    EXPECT_EQ(quiet.reason(), QuietReason::PlayerStopped);
    quiet.setSession({.playing = true});
    EXPECT_FALSE(quiet.quiet()) << "playing again wakes it at once";

    quiet.askBacklight(false);
    EXPECT_EQ(quiet.reason(), QuietReason::BacklightOff);
    quiet.askBacklight(true);
    EXPECT_EQ(changes,
              (QList<QuietReason>{QuietReason::Schedule, QuietReason::None, QuietReason::Schedule,
                                  QuietReason::None, QuietReason::PlayerStopped, QuietReason::None,
                                  QuietReason::BacklightOff, QuietReason::None}));
}

namespace {

// logind as far as the watch asks it: the session of one process, and its hints.
struct LogindStandIn : QDBusVirtualObject {
    static inline const QString kSession = "/org/freedesktop/login1/session/_32";
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& m, const QDBusConnection& bus) override {
        if (m.member() == "GetSessionByPID") {
            return bus.send(
                m.arguments().value(0).toUInt() == quint32(getpid())
                    ? m.createReply(QVariant::fromValue(QDBusObjectPath(kSession)))
                    : m.createErrorReply("org.freedesktop.login1.NoSessionForPID", "none"));
        }
        if (m.member() == "GetAll" && m.path() == kSession) {
            return bus.send(m.createReply(QVariantMap{{"LockedHint", locked}, {"IdleHint", idle}}));
        }
        return bus.send(m.createErrorReply(QDBusError::UnknownMethod, m.member()));
    }
    void set(const QDBusConnection& bus, const QString& hint, bool value) {
        (hint == "LockedHint" ? locked : idle) = value;
        QDBusMessage s = QDBusMessage::createSignal(kSession, "org.freedesktop.DBus.Properties",
                                                    "PropertiesChanged");
        s << "org.freedesktop.login1.Session" << QVariantMap{{hint, value}} << QStringList();
        bus.send(s);
    }
    bool locked = false;
    bool idle = true;
};

// The screen saver's interface, for a desktop without logind.
struct ScreenSaverStandIn : QDBusVirtualObject {
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& m, const QDBusConnection& bus) override {
        return bus.send(m.member() == "GetActive"
                            ? m.createReply(active)
                            : m.createErrorReply(QDBusError::UnknownMethod, m.member()));
    }
    void set(const QDBusConnection& bus, bool value) {
        active = value;
        QDBusMessage s = QDBusMessage::createSignal("/org/freedesktop/ScreenSaver",
                                                    "org.freedesktop.ScreenSaver", "ActiveChanged");
        s << value;
        bus.send(s);
    }
    bool active = true;
};

struct PlayerStandIn : QDBusVirtualObject {
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& m, const QDBusConnection& bus) override {
        return bus.send(m.createReply(QVariant::fromValue(QDBusVariant(status))));
    }
    QString status = "Paused";
};

// A private bus stands for both the system and the session bus, so that neither of the machine's
// takes part; the watch comes from the program's module.
struct PrivateBus : ::testing::Test {
    PrivateBus() {
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        while (!daemon.canReadLine() && daemon.waitForReadyRead(10000)) {
        }
        address = QString::fromUtf8(daemon.readLine()).trimmed();
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", address.toUtf8());
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
        services = QDBusConnection::connectToBus(address, "services");
    }
    ~PrivateBus() override {
        QDBusConnection::disconnectFromBus("services");
        daemon.terminate();
        daemon.waitForFinished();
    }
    void serve(const QString& name, const QString& path, QDBusVirtualObject* object) {
        ASSERT_TRUE(services.registerVirtualObject(path, object, QDBusConnection::SubPath) &&
                    services.registerService(name));
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
    QString address;
    QDBusConnection services{"none"};
    QList<SessionState> heard;
    QStringList problems;
};

} // namespace

TEST_F(PrivateBus, LogindsHintsOfThisProcessSessionAndThePlayersStatusAreFollowed) {
    LogindStandIn logind;
    PlayerStandIn player;
    serve("org.freedesktop.login1", "/org/freedesktop/login1", &logind);
    std::unique_ptr<SessionWatch> w = watch({.lock = true, .player = true, .playerPollMs = 20});
    ASSERT_TRUE(w);
    EXPECT_TRUE(hears({.idle = true}));
    logind.set(services, "LockedHint", true);
    EXPECT_TRUE(hears({.locked = true, .idle = true}));
    logind.set(services, "IdleHint", false);
    logind.set(services, "LockedHint", false);
    EXPECT_TRUE(hears({}));

    serve("org.mpris.MediaPlayer2.essai", "/org/mpris/MediaPlayer2", &player);
    player.status = "Playing";
    EXPECT_TRUE(hears({.playing = true}));
    player.status = "Stopped";
    EXPECT_TRUE(hears({}));
    EXPECT_EQ(w->state(), SessionState{});
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
}

TEST_F(PrivateBus, WithoutLogindTheScreenSaverStandsForTheLockAndWithoutEitherItIsSaid) {
    ScreenSaverStandIn saver;
    std::unique_ptr<SessionWatch> none = watch({.lock = true});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !problems.isEmpty(); }));
    EXPECT_TRUE(problems.value(0).startsWith("Veille de l'afficheur : ni session logind ni "
                                             "économiseur d'écran"))
        << problems.value(0).toStdString();
    EXPECT_TRUE(heard.isEmpty());

    serve("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", &saver);
    std::unique_ptr<SessionWatch> w = watch({.lock = true});
    EXPECT_TRUE(hears({.locked = true}));
    saver.set(services, false);
    EXPECT_TRUE(hears({}));

    EXPECT_FALSE(loadSessionWatch({"/nonexistent/relayeur-mpris.so"}, {}, {},
                                  [this](const QString& p) { problems.append(p); }));
    EXPECT_TRUE(problems.last().contains("/nonexistent/relayeur-mpris.so"));
}

namespace {

const QByteArray kTimedProfile =
    "[param]\nnb_pages=1\n[page_1]\nligne0=Bonjour\nligne1=Un\nligne2=\nligne3=\n"
    "time=5\nnext=1\n";

// An engine on a panel with or without a backlight, its wall clock at `wall` and its clock that
// never goes back at `mono`.
struct QuietEngine {
    explicit QuietEngine(const QByteArray& silence, bool backlight) : s(kShellSettings + silence) {
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
        EXPECT_TRUE(e.LoadProfile(s.dir.write("p.tlcd", kTimedProfile)));
        e.Command1();
        e.Timer1().setEnabled(false);
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

const QByteArrayList kShown{"Bonjour", "Un", "", ""};
const QByteArrayList kBlank{"", "", "", ""};

} // namespace

// A panel without a backlight takes blank frames while quiet; a message lights it up for the
// page's time. The log says when and why.
TEST(QuietEngine, APanelWithoutBacklightIsSentBlankFramesAndAMessageWakesItForItsTime) {
    QuietEngine q("[silence]\nhoraire=23:00-07:00\n", false);
    EXPECT_EQ(q.refresh(), kShown);
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
    EXPECT_EQ(q.s.log.last(), "L'afficheur se met en veille : horaire 23:00-07:00");
    EXPECT_EQ(q.refresh(), kBlank);

    q.wall = QDateTime(QDate(2026, 12, 8), QTime(7, 0));
    q.check();
    EXPECT_EQ(q.s.log.last(), "L'afficheur se réveille");
    EXPECT_EQ(q.refresh(), (QByteArrayList{"Bonjour", "Un", "Salut", ""}));
}

TEST(QuietEngine, APanelWithABacklightPutsItOutAndGoesOnTakingTheFrames) {
    QuietEngine q("[silence]\nhoraire=22:00-22:30\nmusique=oui\n", true);
    EXPECT_TRUE(q.s.log.contains("[silence] musique = « oui » : 0 ou 1 attendu, ce critère est "
                                 "laissé de côté"));
    EXPECT_EQ(q.refresh(), kShown);
    EXPECT_EQ(q.s.panel->backlights, QList<bool>{false});
    q.wall = q.wall.addSecs(1800);
    q.check();
    EXPECT_EQ(q.s.panel->backlights, (QList<bool>{false, true}));
    EXPECT_EQ(q.refresh(), kShown);

    QuietEngine without("", true);
    EXPECT_EQ(without.refresh(), kShown);
    without.wall = without.wall.addSecs(3600);
    EXPECT_EQ(without.refresh(), kShown);
    EXPECT_TRUE(without.s.panel->backlights.isEmpty());
    EXPECT_FALSE(without.s.engine->findChild<QuietHours*>()) << "nothing of it is made";
}

// An LCDd client's alert lights the quiet panel up for its timeout; the panel is quiet again
// once the alert is gone.
TEST(QuietEngine, AnAlertOfAnLcddClientWakesThePanelForItsTime) {
    QTcpServer probe; // a port free now, and still free a moment later
    probe.listen(QHostAddress::LocalHost);
    const QByteArray port = QByteArray::number(probe.serverPort());
    probe.close();
    QuietEngine q("[serveur]\nLCDd=127.0.0.1:" + port + "\n[silence]\nhoraire=21:00-23:00\n",
                  false);
    EXPECT_EQ(q.refresh(), kBlank);
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port.toUShort());
    ASSERT_TRUE(client.waitForConnected(5000));
    client.write("hello\nscreen_add a\nwidget_add a w string\nwidget_set a w 1 1 Alerte\n"
                 "screen_set a -priority alert -timeout 8\nnoop\n");
    QByteArray heard;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        heard += client.readAll();
        return heard.contains("noop complete\n");
    }));
    EXPECT_EQ(q.refresh().value(0), "Alerte");
    EXPECT_EQ(q.s.log.last(), "L'afficheur se réveille");
    q.mono += 1000;
    q.check();
    EXPECT_EQ(q.s.log.last(), "L'afficheur se met en veille : horaire 21:00-23:00");
    EXPECT_EQ(q.refresh(), kBlank);
}
