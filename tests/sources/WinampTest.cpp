#include "sources/winamp.h"

#include "platform/WinampLink.h"
#include "sources/AudioFiles.h"
#include "sources/FakeWinampLink.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

// The track of 245 s at 83 456 ms, every fallback and the counts are checked through the
// whole group in tests/render/WinampGroupTest.cpp.

namespace {

// A file of `size` bytes whose last 128 are an ID3v1 tag.
QByteArray tagged(qsizetype size, const QByteArray& title, quint8 genre,
                  const QByteArray& artist = "Artiste") {
    return QByteArray(size - 128, 'a') + id3v1(title, genre, artist);
}

} // namespace

TEST(WinampTimes, HalvesGoToEvenAndMinutesKeepTwoDigits) {
    FakeWinampLink link;
    WinampState w{&link, {}};
    ASSERT_TRUE(WinampFind(w));
    for (const auto& [ms, text, seconds] :
         {std::tuple{59500, "01:00", "60"}, {60500, "01:00", "60"}, {61500, "01:02", "62"}}) {
        link.play(245, ms);
        EXPECT_EQ(WinampElapsedTime(w), text) << ms;
        EXPECT_EQ(WinampElapsedSeconds(w), seconds) << ms;
    }

    link.play(125 * 60 + 5, 0);
    EXPECT_EQ(WinampTotalTime(w), "25:05");
    EXPECT_EQ(WinampRemainingTime(w), "25:05") << "from the texts, not from 7505 s";

    // A player without a length for the track.
    link.play(-1, 83456);
    EXPECT_EQ(WinampTotalTime(w), "00:-1");
    EXPECT_EQ(WinampTotalSeconds(w), "-1");
    EXPECT_EQ(WinampRemainingTime(w), "-1:24") << "-84 s: -1 minute and -24 s, two digits each";
    EXPECT_EQ(WinampRemainingSeconds(w, QLocale::c()), "-84.456");
}

TEST(WinampCurrentFile, TheEntryOfIndexPIsLine2pPlus3) {
    TempDir dir;
    FakeWinampLink link;
    WinampState w{&link, {}};
    WinampFind(w);
    link.playlistFile = dir.file("winamp.m3u");
    const QByteArray rep_winamp = dir.path().toLocal8Bit() + '/';
    // Windows-1252 bytes, as Winamp wrote its playlist.
    link.playlist = "#EXTM3U\r\n#EXTINF:12,Un\r\n/musique/un.mp3\r\n"
                    "#EXTINF:34,Deux\r\n/musique/d\xE9j\xE0.mp3\r\n";
    EXPECT_EQ(WinampCurrentFile(w, rep_winamp), QStringLiteral("/musique/un.mp3"));
    link.answers[{IPC_WRITEPLAYLIST, 0}] = 1;
    EXPECT_EQ(WinampCurrentFile(w, rep_winamp), QStringLiteral("/musique/déjà.mp3"));
    link.answers[{IPC_WRITEPLAYLIST, 0}] = 2;
    EXPECT_EQ(WinampCurrentFile(w, rep_winamp), QString()) << "past the end of the file";
    EXPECT_EQ(link.sent.count({IPC_WRITEPLAYLIST, 0}), 3) << "rewritten before each read";
}

TEST(ReadID3Tag, FieldsAreStrippedOfSpacesThenOfNuls) {
    TempDir dir;
    TagFields f;
    EXPECT_EQ(ReadID3Tag(dir.write("a.mp3", tagged(4000, "Abcd", 0)), f), 0);
    EXPECT_EQ(f, (TagFields{"Abcd", "Artiste", "Album", "2001", "Blues", "Commentaire"}));

    const QByteArray spacePadded = QByteArray("  Groupe").leftJustified(30, ' ');
    EXPECT_EQ(ReadID3Tag(dir.write("b.mp3", tagged(1025, "Abcd  ", 147, spacePadded)), f), 147);
    EXPECT_EQ(f[0], "Abcd  ") << "the spaces before the NULs stay";
    EXPECT_EQ(f[1], "Groupe");
    EXPECT_EQ(f[4], "Synth Pop");

    EXPECT_EQ(ReadID3Tag(dir.write("c.mp3", tagged(2000, "Titre", 255)), f), 255);
    EXPECT_EQ(f[0], "Titre");
    EXPECT_EQ(f[4], "") << "no name beyond genre 147";
}

TEST(ReadID3Tag, NoTagGivesSixEmptyFields) {
    TempDir dir;
    QByteArray lowerCase = tagged(3000, "Abcd", 0);
    lowerCase.replace(3000 - 128, 3, "tag");
    for (const QString& path :
         {dir.write("short.mp3", tagged(1024, "Abcd", 0)), dir.write("lower.mp3", lowerCase),
          dir.file("absent.mp3"), QStringLiteral("http://radio.example/flux")}) {
        TagFields f{"x", "x", "x", "x", "x", "x"};
        EXPECT_EQ(ReadID3Tag(path, f), -1) << path.toStdString();
        EXPECT_EQ(f, TagFields()) << path.toStdString();
    }
}

TEST(AudioStreamInfo, FirstConfirmedFrameHeader) {
    TempDir dir;
    // Two frames of MPEG-2 Layer III (64 kbit/s, 22.05 kHz, 208 bytes each) inside an ID3v2
    // tag, whose size (416) is written 7 bits a byte, are part of the tag, not of the stream.
    const QByteArray id3v2 =
        QByteArray("ID3\x03\x00\x00\x00\x00\x03\x20", 10) + mpegFrames("\xFF\xF3\x80\x00", 208, 2);
    const AudioStreamInfo mp3 = readAudioStreamInfo(dir.write("a.mp3", id3v2 + kMpeg1));
    EXPECT_EQ(mp3.sampleRate, 44100);
    EXPECT_EQ(mp3.bitrate, 128);

    const AudioStreamInfo mpeg2 = readAudioStreamInfo(
        dir.write("b.mp3", QByteArray("junk\xFF\xFF") + mpegFrames("\xFF\xF3\x80\x00", 208, 3)));
    EXPECT_EQ(mpeg2.sampleRate, 22050);
    EXPECT_EQ(mpeg2.bitrate, 64);

    // A header whose next frame does not follow is a chance pattern; no file, no stream.
    EXPECT_EQ(
        readAudioStreamInfo(dir.write("d.bin", kMpeg1.left(4) + QByteArray(900, 'x'))).bitrate, 0);
    EXPECT_EQ(readAudioStreamInfo(dir.file("absent.mp3")).sampleRate, 0);
}

// A pipe where a file is expected must not hold up the refresh that reads it.
TEST(WinampFiles, PipesAreNotOpened) {
    TempDir dir;
    for (const char* name : {"piste.mp3", "winamp.m3u"}) {
        ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file(name)).constData(), 0600), 0);
    }
    TagFields f{"x", "x", "x", "x", "x", "x"};
    EXPECT_EQ(ReadID3Tag(dir.file("piste.mp3"), f), -1);
    EXPECT_EQ(f, TagFields());
    EXPECT_EQ(readAudioStreamInfo(dir.file("piste.mp3")).sampleRate, 0);

    FakeWinampLink link;
    WinampState w{&link, {}};
    WinampFind(w);
    EXPECT_EQ(WinampCurrentFile(w, dir.path().toLocal8Bit() + '/'), QString());
}
