#include "platform/MprisWinampLink.h"
#include "sources/winamp.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>
#include <list>

namespace {

struct PlayerSetup {
    QString name; // on the bus, after org.mpris.MediaPlayer2.
    QStringList tracks{};
    int current = 0;
    qint64 lengthUs = -1; // of every track; -1: the metadata tells none
    qint64 positionUs = 0;
    QString status = QStringLiteral("Playing");
    bool trackList = true;
    bool silent = false; // takes every call and never answers
};

// A player that plays nothing, but answers as an MPRIS player does.
struct TestPlayer : QDBusVirtualObject {
    explicit TestPlayer(PlayerSetup setup) : setup(std::move(setup)) {}
    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& m, const QDBusConnection& bus) override {
        QList<QDBusObjectPath> ids;
        for (int i = 0; i < setup.tracks.size(); ++i) {
            ids.append(QDBusObjectPath(QStringLiteral("/track/%1").arg(i)));
        }
        auto metadata = [&](qsizetype i) {
            QVariantMap m{{"mpris:trackid", QVariant::fromValue(ids.value(i))},
                          {"xesam:url", setup.tracks.value(i)},
                          {"xesam:title", QStringLiteral("Piste %1").arg(i + 1)},
                          {"xesam:artist", QStringList{"Groupe"}}};
            if (setup.lengthUs >= 0) {
                m["mpris:length"] = setup.lengthUs;
            }
            return m;
        };
        if (setup.silent) {
            return true;
        }
        if (m.member() == "GetTracksMetadata") {
            QList<QVariantMap> tracks;
            for (const auto& id : qdbus_cast<QList<QDBusObjectPath>>(m.arguments().value(0))) {
                tracks.append(metadata(ids.indexOf(id)));
            }
            return bus.send(m.createReply(QVariant::fromValue(tracks)));
        }
        // Properties.Get: the player's and the track list's property names do not overlap.
        const QVariantMap properties{{"PlaybackStatus", setup.status},
                                     {"Position", setup.positionUs},
                                     {"Metadata", metadata(setup.current)},
                                     {"Tracks", QVariant::fromValue(ids)}};
        const QString name = m.arguments().value(1).toString();
        return bus.send(properties.contains(name) && (setup.trackList || name != "Tracks")
                            ? m.createReply(QVariant::fromValue(QDBusVariant(properties[name])))
                            : m.createErrorReply(QDBusError::UnknownProperty, name));
    }

    PlayerSetup setup;
};

// A private session bus for one test, so that no player of the machine takes part, and players on
// it. They answer from a thread of their own, as the link waits for their answers.
struct MprisFixture : ::testing::Test {
    ~MprisFixture() override {
        for (qsizetype i = 0; i <= qsizetype(players.size()); ++i) {
            QDBusConnection::disconnectFromBus(QString::number(i));
        }
        thread.quit();
        thread.wait();
        daemon.terminate();
        daemon.waitForFinished();
    }
    static QString startDaemon(QProcess& daemon) {
        qDBusRegisterMetaType<QList<QVariantMap>>();
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        while (!daemon.canReadLine() && daemon.waitForReadyRead(10000)) {
        }
        return QString::fromUtf8(daemon.readLine()).trimmed();
    }
    bool startPlayer(const PlayerSetup& setup) {
        TestPlayer& player = players.emplace_back(setup);
        player.moveToThread(&thread);
        thread.start();
        QDBusConnection c = QDBusConnection::connectToBus(address, QString::number(players.size()));
        return c.registerVirtualObject("/org/mpris/MediaPlayer2", &player) &&
               c.registerService("org.mpris.MediaPlayer2." + setup.name);
    }
    QString track(const QString& name, const QByteArray& bytes) {
        return QUrl::fromLocalFile(dir.write(name, bytes)).toString();
    }
    QStringList playlistLines() {
        return QString::fromUtf8(dir.read("winamp.m3u")).split(QStringLiteral("\r\n"));
    }

    TempDir dir;
    QProcess daemon;
    QString address = startDaemon(daemon);
    QDBusConnection bus = QDBusConnection::connectToBus(address, "0");
    QThread thread;
    std::list<TestPlayer> players;
    MprisWinampLink link{dir.path() + '/', readAudioStreamInfo, bus};
};

} // namespace

TEST_F(MprisFixture, AnswersOfAPlayingPlayerAndOfOneWithoutTrackList) {
    // MPEG-1 Layer III frames at 128 kbit/s and 44.1 kHz.
    const QByteArray mpeg = QByteArray("\xFF\xFB\x90").leftJustified(417, '\0').repeated(4);
    ASSERT_TRUE(startPlayer(
        {.name = "a", .tracks = {track("seul.mp3", "x")}, .status = "Paused", .trackList = false}));
    ASSERT_TRUE(startPlayer(
        {.name = "b",
         .tracks = {track("un.mp3", "x"), track("deux é.mp3", mpeg), "http://radio.example/flux"},
         .current = 1,
         .lengthUs = 245000000,
         .positionUs = 83456789}));
    const QString playing = link.find();
    ASSERT_EQ(playing, QStringLiteral("org.mpris.MediaPlayer2.b")) << "the playing one first";
    EXPECT_TRUE(QFileInfo::exists(dir.file("winamp.m3u"))) << "the player keeps a playlist file";
    const QString paused = QStringLiteral("org.mpris.MediaPlayer2.a");

    // command, argument, answer of the playing player, answer of the other
    using Case = std::tuple<qint32, qint32, qint32, qint32>;
    for (const auto& [command, argument, fromPlaying, fromPaused] :
         {Case{IPC_GETOUTPUTTIME, 0, 83456, 0}, Case{IPC_GETOUTPUTTIME, 1, 245, -1},
          Case{IPC_GETLISTLENGTH, 0, 3, 1}, Case{IPC_GETLISTPOS, 0, 1, 0},
          Case{IPC_GETINFO, 0, 44, 0}, Case{IPC_GETINFO, 1, 128, 0}}) {
        EXPECT_EQ(link.send(playing, command, argument), fromPlaying) << command << '/' << argument;
        EXPECT_EQ(link.send(paused, command, argument), fromPaused) << command << '/' << argument;
    }

    EXPECT_EQ(link.send(paused, IPC_WRITEPLAYLIST, 0), 0);
    EXPECT_EQ(playlistLines(),
              QStringList({"#EXTM3U", "#EXTINF:-1,Groupe - Piste 1", dir.file("seul.mp3"), ""}));
    EXPECT_EQ(link.send(playing, IPC_WRITEPLAYLIST, 0), 1);
    EXPECT_EQ(playlistLines(),
              QStringList({"#EXTM3U", "#EXTINF:245,Groupe - Piste 1", dir.file("un.mp3"),
                           "#EXTINF:245,Groupe - Piste 2", dir.file("deux é.mp3"),
                           "#EXTINF:245,Groupe - Piste 3", "http://radio.example/flux", ""}));
}

TEST_F(MprisFixture, NoPlayerIsFoundAndOneThatNeverAnswersHoldsNoCallLong) {
    MprisWinampLink nowhere(dir.path() + '/', readAudioStreamInfo, QDBusConnection("none"));
    EXPECT_EQ(nowhere.find(), QString()) << "no bus";
    ASSERT_TRUE(bus.isConnected());
    EXPECT_EQ(link.find(), QString()) << "no player";

    ASSERT_TRUE(startPlayer({.name = "muet", .silent = true}));
    QElapsedTimer timer;
    timer.start();
    const QString player = link.find();
    EXPECT_EQ(player, QStringLiteral("org.mpris.MediaPlayer2.muet"));
    EXPECT_LT(timer.restart(), 1000);
    for (const qint32 command :
         {IPC_GETOUTPUTTIME, IPC_GETLISTLENGTH, IPC_GETLISTPOS, IPC_GETINFO, IPC_WRITEPLAYLIST}) {
        EXPECT_EQ(link.send(player, command, 0), 0) << command;
        EXPECT_LT(timer.restart(), 1000) << command;
    }
    EXPECT_FALSE(QFileInfo::exists(dir.file("winamp.m3u")));
}
