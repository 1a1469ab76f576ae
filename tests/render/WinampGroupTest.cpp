#include "render/WinampGroup.h"

#include "sources/media/MprisModuleLink.h"
#include "sources/media/MprisWinampLink.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QUrl>
#include <QtDBus>
#include <gtest/gtest.h>
#include <list>
#include <sys/stat.h>

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

// The %%winamp variables of a line, from players on a private session bus, so that no player of the
// machine takes part. The players answer from a thread of their own, as the link waits for their
// answers.
struct MediaPlayer : ::testing::Test {
    ~MediaPlayer() override {
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
    TestPlayer& startPlayer(const PlayerSetup& setup) {
        TestPlayer& player = players.emplace_back(setup);
        player.moveToThread(&thread);
        thread.start();
        QDBusConnection c = QDBusConnection::connectToBus(address, QString::number(players.size()));
        EXPECT_TRUE(c.registerVirtualObject("/org/mpris/MediaPlayer2", &player) &&
                    c.registerService("org.mpris.MediaPlayer2." + setup.name));
        return player;
    }
    QString track(const QString& name, const QByteArray& bytes) {
        return QUrl::fromLocalFile(dir.write(name, bytes)).toString();
    }
    QByteArray expand(QByteArray text, WinampState* w = nullptr) {
        WinampGroup(text, w ? *w : winamp, rep_winamp, QLocale(QLocale::French, QLocale::France));
        return text;
    }

    TempDir dir;
    QByteArray rep_winamp = QFile::encodeName(dir.path()) + '/';
    QProcess daemon;
    QString address = startDaemon(daemon);
    QDBusConnection bus = QDBusConnection::connectToBus(address, "0");
    QThread thread;
    std::list<TestPlayer> players;
    MprisWinampLink link{dir.path() + '/', readAudioStreamInfo, bus};
    WinampState winamp{&link, {}};
};

// An ID3v1 tag, its text fields padded with NULs.
QByteArray id3v1(const QByteArray& title, quint8 genre, const QByteArray& artist = "Artiste") {
    auto field = [](const QByteArray& text, int n) { return text.leftJustified(n, '\0', true); };
    return "TAG" + field(title, 30) + field(artist, 30) + field("Album", 30) + "2001" +
           field("Commentaire", 30) + char(genre);
}

// Frames: a header, then silence up to the frame's length.
const QByteArray kMpeg1 = QByteArray("\xFF\xFB\x90").leftJustified(417, '\0').repeated(4);
const QByteArray kMpeg2 = QByteArray("\xFF\xF3\x80").leftJustified(208, '\0').repeated(3);
const QByteArray kTimes = "%%winamp_t_total|%%winamp_t_ecoule|%%winamp_t_restant|"
                          "%%winamp_s_total|%%winamp_s_ecoule|%%winamp_s_restant";
const QByteArray kFile = "%%winamp_sample|%%winamp_bit|%%winamp_titre|%%winamp_artiste|"
                         "%%winamp_album|%%winamp_annee|%%winamp_genre|%%winamp_comment";
const QByteArray kAll = "%%winamp_total|%%winamp_position|" + kTimes + '|' + kFile + "|%%winamp";

} // namespace

TEST_F(MediaPlayer, SixteenVariablesOfThePlayingPlayerOrElseTheFirst) {
    startPlayer(
        {.name = "a", .tracks = {track("seul.mp3", "x")}, .status = "Paused", .trackList = false});
    TestPlayer& b = startPlayer(
        {.name = "b",
         .tracks = {track("un.mp3", "x"), track("deux é.mp3", kMpeg1 + id3v1("Titre", 147)),
                    "http://radio.example/flux"},
         .current = 1,
         .lengthUs = 245'000'000,
         .positionUs = 83'456'789});
    auto playlist = [&] { return QString::fromUtf8(dir.read("winamp.m3u")).split("\r\n"); };
    EXPECT_EQ(expand(kAll), "3|2|04:05|01:23|02:42|245|83|161,544|44|128|Titre|Artiste|Album|2001|"
                            "Synth Pop|Commentaire|%%winamp");
    EXPECT_EQ(playlist(),
              QStringList({"#EXTM3U", "#EXTINF:245,Groupe - Piste 1", dir.file("un.mp3"),
                           "#EXTINF:245,Groupe - Piste 2", dir.file("deux é.mp3"),
                           "#EXTINF:245,Groupe - Piste 3", "http://radio.example/flux", ""}));

    // Times round halves to even and keep two digits.
    const std::tuple<qint64, qint64, QByteArray> times[] = {
        {245'000'000, 60'500'000, "04:05|01:00|03:05|245|60|184,5"},
        {7505'000'000, 0, "25:05|00:00|25:05|7505|0|7505"},  // the remaining time from the texts
        {-1, 83'456'789, "00:-1|01:23|-1:24|-1|83|-84,456"}, // no length for the track
    };
    for (const auto& [lengthUs, positionUs, shown] : times) {
        b.setup.lengthUs = lengthUs;
        b.setup.positionUs = positionUs;
        EXPECT_EQ(expand(kTimes), shown) << lengthUs << ' ' << positionUs;
    }

    // None playing: the first, here one without a track list that plays its track alone.
    b.setup.status = "Stopped";
    EXPECT_EQ(expand(kAll), "1|1|00:-1|00:00|00:-1|-1|0|-1|0|0|||||||%%winamp");
    EXPECT_EQ(playlist(),
              QStringList({"#EXTM3U", "#EXTINF:-1,Groupe - Piste 1", dir.file("seul.mp3"), ""}));
}

TEST_F(MediaPlayer, TheCurrentTracksFileGivesItsStreamAndTagVariables) {
    startPlayer({.name = "b", .tracks = {track("b.mp3", {})}});
    QByteArray lowerCase = kMpeg1 + id3v1("Abcd", 0);
    lowerCase.replace(lowerCase.size() - 128, 3, "tag");
    const std::pair<QByteArray, QByteArray> cases[] = {
        {kMpeg1 + id3v1("Abcd", 0), "44|128|Abcd|Artiste|Album|2001|Blues|Commentaire"},
        // The shortest file with a tag; the spaces before the NULs stay.
        {QByteArray(897, 'a') + id3v1("Abcd  ", 147, QByteArray("  Groupe").leftJustified(30)),
         "0|0|Abcd  |Groupe|Album|2001|Synth Pop|Commentaire"},
        {QByteArray(896, 'a') + id3v1("Abcd", 0), "0|0||||||"},
        {kMpeg1 + id3v1("Titre", 255), "44|128|Titre|Artiste|Album|2001||Commentaire"},
        {lowerCase, "44|128||||||"},
        // Frames inside an ID3v2 tag, whose size (416) is written 7 bits a byte, are the tag's.
        {QByteArray("ID3\x03\x00\x00\x00\x00\x03\x20", 10) + kMpeg2.left(416) + kMpeg1,
         "44|128||||||"},
        {"junk\xFF\xFF" + kMpeg2, "22|64||||||"},
        {kMpeg1.left(4) + QByteArray(900, 'x'), "0|0||||||"}, // the next frame does not follow
    };
    for (const auto& [file, shown] : cases) {
        dir.write("b.mp3", file);
        EXPECT_EQ(expand(kFile), shown) << file.size();
    }
    // A pipe where the file should be must not hold up the refresh.
    QFile::remove(dir.file("b.mp3"));
    ASSERT_EQ(::mkfifo(qPrintable(dir.file("b.mp3")), 0600), 0);
    EXPECT_EQ(expand(kFile), "0|0||||||");
}

TEST_F(MediaPlayer, TheTagComesFromThePlaylistFileThePlayerWrites) {
    // The player writes its playlist afresh for each reading: entry p on line 2p + 3.
    TestPlayer& b =
        startPlayer({.name = "b",
                     .tracks = {track("un.mp3", QByteArray(2000, 'a') + id3v1("Un", 0)),
                                track("deux.mp3", QByteArray(2000, 'a') + id3v1("Deux", 0))},
                     .current = 1});
    EXPECT_EQ(expand("%%winamp_titre"), "Deux");
    b.setup.current = 0;
    EXPECT_EQ(expand("%%winamp_titre"), "Un");

    // A link that keeps no playlist file: only a file already there is read, not past its end, and
    // no directory or pipe of that name.
    MprisWinampLink noFile({}, readAudioStreamInfo, bus);
    WinampState w{&noFile, {}};
    dir.write("winamp.m3u", "#EXTM3U\r\n#EXTINF:1,un\r\n" + QFile::encodeName(dir.file("un.mp3")));
    EXPECT_EQ(expand("[%%winamp_titre]", &w), "[Un]");
    b.setup.current = 1;
    EXPECT_EQ(expand("[%%winamp_titre]", &w), "[]");
    ASSERT_TRUE(QFile::remove(dir.file("winamp.m3u")));
    EXPECT_EQ(expand("[%%winamp_titre] %%winamp_total", &w), "[] 2");
    ASSERT_TRUE(QDir().mkdir(dir.file("winamp.m3u")));
    EXPECT_EQ(expand("[%%winamp_titre] %%winamp_total", &w), "[] 2");
    ASSERT_TRUE(QDir().rmdir(dir.file("winamp.m3u")));
    ASSERT_EQ(::mkfifo(qPrintable(dir.file("winamp.m3u")), 0600), 0);
    ASSERT_TRUE(WinampFind(w));
    EXPECT_EQ(WinampCurrentFile(w, rep_winamp), QString());
}

TEST_F(MediaPlayer, WithoutPlayerTheFallbacksAndOneThatNeverAnswersHoldsNoCallLong) {
    MprisWinampLink nowhere(dir.path() + '/', readAudioStreamInfo, QDBusConnection("none"));
    EXPECT_EQ(nowhere.find(), QString()) << "no bus";
    EXPECT_EQ(nowhere.send("org.mpris.MediaPlayer2.x", IPC_GETLISTLENGTH, 0), 0);
    dir.write("winamp.m3u", ""); // as left by a player gone since
    EXPECT_EQ(expand(kAll), "0|0|00:00|00:00|00:00|2|1|1|0|0|||||||%%winamp") << "no player";

    startPlayer({.name = "muet", .silent = true});
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(expand(kAll), "0|1|00:00|00:00|00:00|0|0|0|0|0|||||||%%winamp");
    EXPECT_LT(timer.elapsed(), 5000) << "each call gives up after a short wait";
    EXPECT_EQ(dir.read("winamp.m3u"), "");
}

// The program's link is loaded from its module at the first question and asks the session bus;
// without the module it sees no player, and the log hears why once.
TEST_F(MediaPlayer, TheProgramsLinkIsLoadedFromItsModuleAtTheFirstQuestion) {
    startPlayer({.name = "a", .tracks = {"un.mp3", "deux.mp3"}});
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
    QStringList heard;
    const auto report = [&heard](const QString& problem) { heard.append(problem); };
    MprisModuleLink fromModule({dir.file("absent.so"), RELAYEUR_MPRIS_MODULE}, {},
                               readAudioStreamInfo, report);
    WinampState loaded{&fromModule, {}};
    EXPECT_EQ(expand("%%winamp_total", &loaded), expand("%%winamp_total"));

    MprisModuleLink missing({dir.file("absent.so")}, {}, readAudioStreamInfo, report);
    MprisWinampLink noBus({}, readAudioStreamInfo, QDBusConnection("none"));
    WinampState without{&missing, {}}, noPlayer{&noBus, {}};
    EXPECT_EQ(expand(kAll, &without), expand(kAll, &noPlayer));
    EXPECT_EQ(expand(kAll, &without), expand(kAll, &noPlayer)) << "tried once";
    ASSERT_EQ(heard.size(), 1);
    EXPECT_TRUE(heard[0].contains(dir.file("absent.so"))) << heard[0].toStdString();
}
