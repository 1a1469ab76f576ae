#include "render/WinampGroup.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QMap>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QLocale kFrench(QLocale::French, QLocale::France);

// A file of `size` bytes whose last 128 are an ID3v1 tag, its text fields padded with NULs.
QByteArray tagged(qsizetype size, const QByteArray& title, quint8 genre,
                  const QByteArray& artist = "Artiste") {
    auto field = [](const QByteArray& text, int n) { return text.leftJustified(n, '\0', true); };
    return QByteArray(size - 128, 'a') + "TAG" + field(title, 30) + field(artist, 30) +
           field("Album", 30) + "2001" + field("Commentaire", 30) + char(genre);
}

// A player that answers from a table. Asked to write its playlist, it writes `playlist` into
// `playlistFile`, as the player would.
struct FakeLink : WinampLink {
    QString player = QStringLiteral("fake"); // empty: no player runs
    QMap<QPair<qint32, qint32>, qint32> answers;
    QString playlistFile;
    QByteArray playlist;

    QString find() override { return player; }
    qint32 send(const QString&, qint32 command, qint32 argument) override {
        QFile f(playlistFile);
        if (command == IPC_WRITEPLAYLIST && !playlistFile.isEmpty() &&
            f.open(QIODevice::WriteOnly)) {
            f.write(playlist);
        }
        return answers.value({command, argument});
    }
};

// The player of a 245-second track at 83 456 ms, entry 2 of 3, whose file b.mp3 is tagged.
struct Group {
    TempDir dir;
    QByteArray rep_winamp = dir.path().toLocal8Bit() + '/';
    FakeLink link;
    WinampState winamp{&link, {}};

    Group() {
        link.answers = {{{IPC_GETOUTPUTTIME, 1}, 245}, {{IPC_GETOUTPUTTIME, 0}, 83456},
                        {{IPC_GETLISTLENGTH, 0}, 3},   {{IPC_GETLISTPOS, 0}, 1},
                        {{IPC_GETINFO, 0}, 44},        {{IPC_GETINFO, 1}, 128},
                        {{IPC_WRITEPLAYLIST, 0}, 1}};
        link.playlistFile = dir.file("winamp.m3u");
        link.playlist = "#EXTM3U\r\n#EXTINF:1,a\r\n/a.mp3\r\n#EXTINF:245,b\r\n" +
                        dir.write("b.mp3", tagged(2000, "Titre", 147)).toLocal8Bit() + "\r\n";
        dir.write("winamp.m3u", link.playlist);
    }
    QByteArray expand(QByteArray text) {
        WinampGroup(text, winamp, rep_winamp, kFrench);
        return text;
    }
};

const QByteArray kTimes = "%%winamp_t_total|%%winamp_t_ecoule|%%winamp_t_restant|"
                          "%%winamp_s_total|%%winamp_s_ecoule|%%winamp_s_restant";
const QByteArray kTag = "%%winamp_titre|%%winamp_artiste|%%winamp_album|%%winamp_annee|"
                        "%%winamp_genre|%%winamp_comment";

} // namespace

TEST(WinampGroup, SixteenVariablesAfterTheTag) {
    Group g;
    const QByteArray all = "%%winamp_total|%%winamp_position|%%winamp_sample|%%winamp_bit|" +
                           kTimes + '|' + kTag + "|%%winamp";
    EXPECT_EQ(g.expand(all), "3|2|44|128|04:05|01:23|02:42|245|83|161,544|Titre|Artiste|Album|"
                             "2001|Synth Pop|Commentaire|%%winamp");

    // Times round halves to even and keep two digits.
    const std::tuple<qint32, qint32, QByteArray> times[] = {
        {245, 59500, "04:05|01:00|03:05|245|60|185,5"},
        {245, 60500, "04:05|01:00|03:05|245|60|184,5"},
        {245, 61500, "04:05|01:02|03:03|245|62|183,5"},
        {7505, 0, "25:05|00:00|25:05|7505|0|7505"},     // the remaining time from the texts shown
        {-1, 83456, "00:-1|01:23|-1:24|-1|83|-84,456"}, // a player without the track's length
    };
    for (const auto& [lengthS, positionMs, shown] : times) {
        g.link.answers[{IPC_GETOUTPUTTIME, 1}] = lengthS;
        g.link.answers[{IPC_GETOUTPUTTIME, 0}] = positionMs;
        EXPECT_EQ(g.expand(kTimes), shown) << lengthS << ' ' << positionMs;
    }
    g.link.player.clear();
    EXPECT_EQ(g.expand(all), "0|0|0|0|00:00|00:00|00:00|2|1|1|||||||%%winamp") << "no player";
}

TEST(WinampGroup, TagFieldsAreStrippedOfSpacesThenOfNuls) {
    Group g;
    QByteArray lowerCase = tagged(3000, "Abcd", 0);
    lowerCase.replace(3000 - 128, 3, "tag");
    const std::pair<QByteArray, QByteArray> cases[] = {
        {tagged(4000, "Abcd", 0), "Abcd|Artiste|Album|2001|Blues|Commentaire"},
        // The shortest file with a tag; the spaces before the NULs stay.
        {tagged(1025, "Abcd  ", 147, QByteArray("  Groupe").leftJustified(30, ' ')),
         "Abcd  |Groupe|Album|2001|Synth Pop|Commentaire"},
        {tagged(2000, "Titre", 255), "Titre|Artiste|Album|2001||Commentaire"},
        {tagged(1024, "Abcd", 0), "|||||"}, // too short to hold a tag
        {lowerCase, "|||||"},
    };
    for (const auto& [file, shown] : cases) {
        g.dir.write("b.mp3", file);
        EXPECT_EQ(g.expand(kTag), shown) << file.size();
    }
    // A pipe where the file should be must not hold up the refresh.
    QFile::remove(g.dir.file("b.mp3"));
    EXPECT_EQ(g.expand(kTag), "|||||");
    ASSERT_EQ(::mkfifo(qPrintable(g.dir.file("b.mp3")), 0600), 0);
    EXPECT_EQ(g.expand(kTag), "|||||");
}

TEST(WinampGroup, TheTagIsOfTheEntryThePlayerNamesInItsPlaylistWrittenAfresh) {
    Group g;
    g.dir.write("un.mp3", tagged(2000, "Un", 0));
    g.dir.write("déjà.mp3", tagged(2000, "Deux", 0));
    const QByteArray un = "#EXTINF:12,Un\r\n" + g.dir.file("un.mp3").toLatin1() + "\r\n";
    // Windows-1252 bytes, as Winamp wrote its playlist.
    const QByteArray deux = "#EXTINF:34,Deux\r\n" + g.rep_winamp + "d\xE9j\xE0.mp3\r\n";
    g.link.playlist = "#EXTM3U\r\n" + un + deux;
    EXPECT_EQ(g.expand("%%winamp_titre"), "Deux");
    g.link.playlist = "#EXTM3U\r\n" + deux + un;
    EXPECT_EQ(g.expand("%%winamp_titre"), "Un");
    g.link.answers[{IPC_WRITEPLAYLIST, 0}] = 2;
    EXPECT_EQ(g.expand("[%%winamp_titre]"), "[]") << "past the end of the file";
}

TEST(WinampGroup, WithoutPlaylistFileTheTagIsEmptyAndNoneIsAskedFor) {
    Group g;
    QFile::remove(g.link.playlistFile);
    EXPECT_EQ(g.expand("[%%winamp_titre] %%winamp_total"), "[] 3");
    EXPECT_FALSE(QFileInfo::exists(g.link.playlistFile));
    ASSERT_TRUE(QDir(g.dir.path()).mkdir("winamp.m3u"));
    EXPECT_EQ(g.expand("[%%winamp_titre] %%winamp_total"), "[] 3") << "a directory is no file";

    // Nor is a pipe opened.
    ASSERT_TRUE(QDir(g.dir.path()).rmdir("winamp.m3u"));
    ASSERT_EQ(::mkfifo(qPrintable(g.link.playlistFile), 0600), 0);
    g.link.playlistFile.clear();
    ASSERT_TRUE(WinampFind(g.winamp));
    EXPECT_EQ(WinampCurrentFile(g.winamp, g.rep_winamp), QString());
}

TEST(AudioStreamInfo, FirstConfirmedFrameHeader) {
    TempDir dir;
    // Frames: a header, then silence up to the frame's length.
    const QByteArray mpeg2 = QByteArray("\xFF\xF3\x80").leftJustified(208, '\0').repeated(3);
    const QByteArray mpeg1 = QByteArray("\xFF\xFB\x90").leftJustified(417, '\0').repeated(4);
    const std::tuple<QByteArray, int, int> cases[] = {
        // Frames inside an ID3v2 tag, whose size (416) is written 7 bits a byte, are the tag's.
        {QByteArray("ID3\x03\x00\x00\x00\x00\x03\x20", 10) + mpeg2.left(416) + mpeg1, 44100, 128},
        {"junk\xFF\xFF" + mpeg2, 22050, 64},
        {mpeg1.left(4) + QByteArray(900, 'x'), 0, 0}, // a header whose next frame does not follow
    };
    for (const auto& [bytes, sampleRate, bitrate] : cases) {
        const AudioStreamInfo info = readAudioStreamInfo(dir.write("a.mp3", bytes));
        EXPECT_EQ(info.sampleRate, sampleRate);
        EXPECT_EQ(info.bitrate, bitrate);
    }
    EXPECT_EQ(readAudioStreamInfo(dir.file("absent.mp3")).sampleRate, 0);
    ASSERT_EQ(::mkfifo(qPrintable(dir.file("pipe.mp3")), 0600), 0);
    EXPECT_EQ(readAudioStreamInfo(dir.file("pipe.mp3")).sampleRate, 0);
}
