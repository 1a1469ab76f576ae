#pragma once

#include "sources/media/WinampLink.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <array>

// The media player behind the %%winamp variables, as Winamp was: found afresh before each
// use, then asked through numbered commands.
struct WinampState {
    WinampLink* link = nullptr; // none: the player is never found
    QString WinampWindow;       // the player WinampFind found last; empty when none
};

// Looks for the player and keeps it in WinampWindow; true when one was found.
bool WinampFind(WinampState& w);

// Has the player write its playlist (rep_winamp followed by "winamp.m3u"), then returns the
// path of the current entry, line 2p + 3 of the file for the entry of index p. Empty without a
// player, or when the file cannot be read or is shorter.
QString WinampCurrentFile(const WinampState& w, const QByteArray& rep_winamp);

// The six texts of an ID3v1 tag in the order title, artist, album, year, genre, comment.
using TagFields = std::array<QByteArray, 6>;

// The 148 ID3v1 genre names, spelled as the original table spells them.
const QList<QByteArray>& GenreList();

// Reads the tag in the last 128 bytes of the file into fields and returns its genre number
// (0 to 255). A file that cannot be read, of 1024 bytes or less, or without a tag empties
// the fields and gives -1.
qint32 ReadID3Tag(const QString& path, TagFields& fields);

// What the first MPEG audio frame of the file says; 0 when it has none. An ID3v2 tag at the
// start is skipped, then the first frame header that the next frame confirms is taken.
AudioStreamInfo readAudioStreamInfo(const QString& path);

// Ready-to-show values; each gives its fallback when WinampWindow is empty.
QByteArray WinampListPosition(const WinampState& w);   // from 1; "0"
QByteArray WinampListLength(const WinampState& w);     // "0"
QByteArray WinampSampleRate(const WinampState& w);     // "0"
QByteArray WinampBitrate(const WinampState& w);        // "0"
QByteArray WinampTotalTime(const WinampState& w);      // mm:ss; "00:00"
QByteArray WinampElapsedTime(const WinampState& w);    // mm:ss; "00:00"
QByteArray WinampRemainingTime(const WinampState& w);  // mm:ss; "00:00"
QByteArray WinampTotalSeconds(const WinampState& w);   // "2"
QByteArray WinampElapsedSeconds(const WinampState& w); // "1"
// Not rounded: 161,544 in French; "1".
QByteArray WinampRemainingSeconds(const WinampState& w, const QLocale& locale);
