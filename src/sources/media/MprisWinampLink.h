#pragma once

#include "sources/media/WinampLink.h"

#include <QDBusConnection>
#include <optional>

// Winamp's commands answered by a media player that speaks MPRIS on the D-Bus session bus
// (VLC, Audacious, Rhythmbox, mpv with its MPRIS plugin, ...). The refresh waits for these
// answers, so every call has a short timeout; a player slower than that has not answered.
class MprisWinampLink final : public WinampLink {
public:
    static constexpr int kCallTimeoutMs = 100;

    using StreamInfoReader = AudioStreamInfoReader;

    // playlistDirectory is where the player keeps winamp.m3u (rep_winamp, which ends with a
    // separator); empty: the playlist is never written.
    // The session bus is joined at the first command, so a profile without media variables
    // never connects to it.
    MprisWinampLink(QString playlistDirectory, StreamInfoReader readStreamInfo);
    MprisWinampLink(QString playlistDirectory, StreamInfoReader readStreamInfo,
                    QDBusConnection bus);

    // The first player on the bus by name, preferring one that is playing; an empty name
    // without a bus or a player. When the playlist file is missing, the player found writes it,
    // as Winamp keeps one in its directory.
    QString find() override;
    qint32 send(const QString& player, qint32 command, qint32 argument) override;

private:
    QString playlistFile() const;
    qint32 writePlaylist(const QString& player);

    QDBusConnection connection();

    QString playlistDirectory;
    StreamInfoReader readStreamInfo;
    std::optional<QDBusConnection> joined; // the bus, once joined
};
