#include "platform/MprisWinampLink.h"
#include "sources/AudioFiles.h"
#include "sources/winamp.h"
#include "support/MprisTestPlayer.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

struct MprisFixture : ::testing::Test {
    TempDir dir;
    MprisTestBus bus;
    MprisWinampLink link{dir.path() + '/', readAudioStreamInfo, bus.bus()};

    QString track(const QString& name, const QByteArray& bytes) {
        return QUrl::fromLocalFile(dir.write(name, bytes)).toString();
    }
    QStringList playlistLines() {
        return QString::fromUtf8(dir.read("winamp.m3u")).split(QStringLiteral("\r\n"));
    }
};

} // namespace

TEST_F(MprisFixture, WithoutBusOrPlayerNothingIsFound) {
    MprisWinampLink nowhere(dir.path() + '/', readAudioStreamInfo,
                            QDBusConnection(QStringLiteral("never-connected")));
    EXPECT_EQ(nowhere.find(), QString());
    ASSERT_TRUE(bus.running());
    EXPECT_EQ(link.find(), QString());
    EXPECT_FALSE(QFileInfo::exists(dir.file("winamp.m3u")));
}

TEST_F(MprisFixture, AnswersOfAPlayingPlayerAndOfOneWithoutTrackList) {
    ASSERT_TRUE(bus.startPlayer({"--name", "a", "--status", "Paused", "--no-tracklist", "--track",
                                 track("seul.mp3", "x")}));
    ASSERT_TRUE(bus.startPlayer({"--name", "b", "--track", track("un.mp3", "x"), "--track",
                                 track("deux é.mp3", kMpeg1), "--track",
                                 "http://radio.example/flux", "--current", "1", "--length-us",
                                 "245000000", "--position-us", "83456789"}));
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

TEST_F(MprisFixture, APlayerThatNeverAnswersHoldsNoCallLong) {
    ASSERT_TRUE(bus.startPlayer({"--name", "muet", "--silent"}));
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
