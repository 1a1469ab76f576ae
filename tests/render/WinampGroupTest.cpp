#include "render/WinampGroup.h"

#include "sources/AudioFiles.h"
#include "sources/FakeWinampLink.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

const QLocale kFrench(QLocale::French, QLocale::France);

const QByteArray kAllTokens =
    "%%winamp_total|%%winamp_position|%%winamp_sample|%%winamp_bit|%%winamp_t_total|"
    "%%winamp_t_ecoule|%%winamp_t_restant|%%winamp_titre|%%winamp_artiste|%%winamp_album|"
    "%%winamp_annee|%%winamp_genre|%%winamp_comment|%%winamp_s_total|%%winamp_s_ecoule|"
    "%%winamp_s_restant";
const QByteArray kAllFallbacks = "0|0|0|0|00:00|00:00|00:00|||||||2|1|1";
const QByteArray kTrack245At83456 =
    "3|2|44|128|04:05|01:23|02:42|Titre|Artiste|Album|2001|Synth Pop|Commentaire|245|83|161,544";

struct Group {
    TempDir dir;
    QByteArray rep_winamp = dir.path().toLocal8Bit() + '/';
    FakeWinampLink link;
    WinampState winamp{&link, {}};

    // The player of a 245-second track at 83 456 ms, entry 2 of 3, whose file is tagged.
    Group() {
        link.play(245, 83456);
        link.answers[{IPC_GETLISTLENGTH, 0}] = 3;
        link.answers[{IPC_GETLISTPOS, 0}] = 1;
        link.answers[{IPC_GETINFO, 0}] = 44;
        link.answers[{IPC_GETINFO, 1}] = 128;
        link.answers[{IPC_WRITEPLAYLIST, 0}] = 1;
        link.playlistFile = dir.file("winamp.m3u");
        link.playlist = "#EXTM3U\r\n#EXTINF:1,a\r\n/a.mp3\r\n#EXTINF:245,b\r\n" +
                        dir.write("b.mp3", kMpeg1 + id3v1("Titre", 147)).toLocal8Bit() + "\r\n";
        dir.write("winamp.m3u", link.playlist);
    }
    QByteArray expand(QByteArray text) {
        WinampGroup(text, winamp, rep_winamp, kFrench);
        return text;
    }
};

} // namespace

TEST(WinampGroup, SixteenVariablesAfterTheTag) {
    Group g;
    EXPECT_EQ(g.expand(kAllTokens), kTrack245At83456);
    EXPECT_EQ(g.link.finds, 2);
    // The playlist first, then one command per variable and two for each remaining time.
    ASSERT_EQ(g.link.sent.size(), 13);
    EXPECT_EQ(g.link.sent.first(), qMakePair(qint32(IPC_WRITEPLAYLIST), 0));

    g.link.player.clear();
    EXPECT_EQ(g.expand(kAllTokens), kAllFallbacks) << "no player";
}

TEST(WinampGroup, TheTagIsReadOnEveryCallAndOnlyPresentVariablesAsk) {
    Group g;
    EXPECT_EQ(g.expand("%%winamp_bit kb/s, %%winamp_bit"), "128 kb/s, 128");
    EXPECT_EQ(g.expand("%%winamp_titre %%winamp_s_ecoule s %%winamp"), "Titre 83 s %%winamp");
    EXPECT_EQ(g.link.finds, 4);
    using Sent = QList<QPair<qint32, qint32>>;
    EXPECT_EQ(g.link.sent, (Sent{{IPC_WRITEPLAYLIST, 0},
                                 {IPC_GETINFO, 1},
                                 {IPC_WRITEPLAYLIST, 0},
                                 {IPC_GETOUTPUTTIME, 0}}));
}

TEST(WinampGroup, WithoutPlaylistFileTheTagIsEmpty) {
    Group g;
    QFile::remove(g.link.playlistFile);
    EXPECT_EQ(g.expand("[%%winamp_titre] %%winamp_total"), "[] 3");
    ASSERT_TRUE(QDir(g.dir.path()).mkdir("winamp.m3u"));
    EXPECT_EQ(g.expand("[%%winamp_titre] %%winamp_total"), "[] 3") << "a directory is no file";
    EXPECT_EQ(g.link.finds, 2) << "no second look for the player";
    EXPECT_FALSE(g.link.sent.contains({IPC_WRITEPLAYLIST, 0}));
}
