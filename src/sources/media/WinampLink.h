#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <functional>

// The media player as the Winamp variables see it: a player to find, then numbered commands,
// each with an argument and answered by a 32-bit number (Winamp's window-message interface).
class WinampLink {
public:
    virtual ~WinampLink() = default;
    // The player to talk to, or an empty name when none runs.
    virtual QString find() = 0;
    // A player that does not answer (or no player) gives 0.
    virtual qint32 send(const QString& player, qint32 command, qint32 argument) = 0;
};

// The playlist file that the player keeps in its directory (rep_winamp).
inline const QString kWinampPlaylistFile = QStringLiteral("winamp.m3u");

// The commands the variables use, with Winamp's numbers.
enum WinampCommand : qint32 {
    IPC_GETOUTPUTTIME = 105, // 0: position in ms; 1: length in whole seconds, -1 when unknown
    IPC_WRITEPLAYLIST = 120, // writes winamp.m3u, answers the 0-based index of the current entry
    IPC_GETLISTLENGTH = 124, // number of playlist entries
    IPC_GETLISTPOS = 125,    // 0-based index of the current entry
    IPC_GETINFO = 126,       // 0: sample rate in kHz; 1: bitrate in kbit/s
};

// The sample rate and bitrate of a file the player plays (IPC_GETINFO); 0 when unknown.
struct AudioStreamInfo {
    int sampleRate = 0; // Hz
    int bitrate = 0;    // kbit/s
};

// What a file says of its sample rate and bitrate: the players do not tell, so IPC_GETINFO
// asks the file that the current track names.
using AudioStreamInfoReader = std::function<AudioStreamInfo(const QString& path)>;

// One entry of the playlist a player writes.
struct PlaylistEntry {
    QString path;        // a local path, or the address of a stream
    QString title;       // what the player shows for it
    qint64 seconds = -1; // length, -1 when unknown
};

// The player's playlist file, as Winamp writes it: "#EXTM3U", then for each entry an
// "#EXTINF:seconds,title" line and its path; CR LF line ends, UTF-8. Replaces the file whole.
bool writeWinampPlaylist(const QString& file, const QList<PlaylistEntry>& entries);
