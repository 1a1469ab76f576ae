#include "sources/media/MprisWinampLink.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kNamePrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kTrackList = QStringLiteral("org.mpris.MediaPlayer2.TrackList");

// What a player said to one request.
struct Answer {
    bool answered = false; // false: no reply in time, or the player has left the bus
    QVariant value;        // invalid when the player lacks what was asked
};

Answer answerOf(const QDBusMessage& reply) {
    if (reply.type() == QDBusMessage::ReplyMessage) {
        QVariant value = reply.arguments().value(0);
        if (value.metaType() == QMetaType::fromType<QDBusVariant>()) {
            value = value.value<QDBusVariant>().variant();
        }
        return {true, value};
    }
    switch (QDBusError(reply).type()) {
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
    case QDBusError::ServiceUnknown:
    case QDBusError::Disconnected:
        return {};
    default:
        return {true, {}};
    }
}

Answer await(QDBusPendingCall call) {
    call.waitForFinished();
    return answerOf(call.reply());
}

QDBusPendingCall getProperty(const QDBusConnection& bus, const QString& player,
                             const QString& interface, const QString& name) {
    QDBusMessage m = QDBusMessage::createMethodCall(
        player, kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    m << interface << name;
    return bus.asyncCall(m, MprisWinampLink::kCallTimeoutMs);
}

// A player may send anything: only a value of the expected D-Bus type is read.
template <typename T> T valueOf(const QVariant& v, const char* signature) {
    if (v.metaType() != QMetaType::fromType<QDBusArgument>()) {
        return qvariant_cast<T>(v);
    }
    const auto arg = v.value<QDBusArgument>();
    return arg.currentSignature() == QLatin1String(signature) ? qdbus_cast<T>(arg) : T();
}

QString trackIdOf(const QVariantMap& metadata) {
    const QVariant id = metadata.value(QStringLiteral("mpris:trackid"));
    return id.metaType() == QMetaType::fromType<QDBusObjectPath>()
               ? id.value<QDBusObjectPath>().path()
               : id.toString();
}

qint32 lengthSecondsOf(const QVariantMap& metadata) {
    bool ok = false;
    const qint64 us = metadata.value(QStringLiteral("mpris:length")).toLongLong(&ok);
    return ok && us >= 0 ? qint32(std::min<qint64>(us / 1'000'000, INT32_MAX)) : -1;
}

QString pathOf(const QVariantMap& metadata) {
    const QUrl url(metadata.value(QStringLiteral("xesam:url")).toString());
    return url.isLocalFile() ? url.toLocalFile() : url.toString();
}

PlaylistEntry entryOf(const QVariantMap& metadata) {
    PlaylistEntry e{pathOf(metadata), metadata.value(QStringLiteral("xesam:title")).toString(),
                    lengthSecondsOf(metadata)};
    const auto artists = valueOf<QStringList>(metadata.value(QStringLiteral("xesam:artist")), "as");
    if (e.title.isEmpty()) {
        e.title = QFileInfo(e.path).completeBaseName();
    } else if (!artists.isEmpty()) {
        e.title = artists.join(QStringLiteral(", ")) + QStringLiteral(" - ") + e.title;
    }
    return e;
}

// The track list and the current track, asked together so that the wait is one timeout.
struct PlayerTracks {
    bool answered = false;
    QStringList tracks; // empty when the player keeps no track list
    QVariantMap current;

    qint32 currentIndex() const {
        return qint32(std::max<qsizetype>(tracks.indexOf(trackIdOf(current)), 0));
    }
};

PlayerTracks tracksOf(const QDBusConnection& bus, const QString& player) {
    QDBusPendingCall tracksCall = getProperty(bus, player, kTrackList, QStringLiteral("Tracks"));
    QDBusPendingCall metadataCall = getProperty(bus, player, kPlayer, QStringLiteral("Metadata"));
    const Answer tracks = await(tracksCall);
    const Answer metadata = await(metadataCall);
    PlayerTracks t;
    t.answered = metadata.answered;
    for (const QDBusObjectPath& p : valueOf<QList<QDBusObjectPath>>(tracks.value, "ao")) {
        t.tracks.append(p.path());
    }
    t.current = valueOf<QVariantMap>(metadata.value, "a{sv}");
    return t;
}

} // namespace

MprisWinampLink::MprisWinampLink(QString playlistDirectory, StreamInfoReader readStreamInfo)
    : playlistDirectory(std::move(playlistDirectory)), readStreamInfo(std::move(readStreamInfo)) {}

MprisWinampLink::MprisWinampLink(QString playlistDirectory, StreamInfoReader readStreamInfo,
                                 QDBusConnection bus)
    : playlistDirectory(std::move(playlistDirectory)), readStreamInfo(std::move(readStreamInfo)),
      joined(std::move(bus)) {}

QDBusConnection MprisWinampLink::connection() {
    if (!joined) {
        joined = QDBusConnection::sessionBus();
    }
    return *joined;
}

QString MprisWinampLink::playlistFile() const {
    // The directory setting ends with its separator, as Winamp's did.
    return playlistDirectory + kWinampPlaylistFile;
}

QString MprisWinampLink::find() {
    const QDBusConnection bus = connection();
    if (!bus.isConnected()) {
        return {};
    }
    const QDBusMessage listNames = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames"));
    QStringList players =
        answerOf(bus.call(listNames, QDBus::Block, kCallTimeoutMs)).value.toStringList();
    players.removeIf([](const QString& name) { return !name.startsWith(kNamePrefix); });
    if (players.isEmpty()) {
        return {};
    }
    players.sort();
    std::vector<QDBusPendingCall> statuses;
    for (const QString& p : std::as_const(players)) {
        statuses.push_back(getProperty(bus, p, kPlayer, QStringLiteral("PlaybackStatus")));
    }
    QString found = players.first();
    for (size_t i = 0; i < statuses.size(); ++i) {
        if (await(statuses[i]).value.toString() == QLatin1String("Playing")) {
            found = players[qsizetype(i)];
            break;
        }
    }
    if (!playlistDirectory.isEmpty() && !QFileInfo::exists(playlistFile())) {
        writePlaylist(found);
    }
    return found;
}

qint32 MprisWinampLink::writePlaylist(const QString& player) {
    const QDBusConnection bus = connection();
    const PlayerTracks t = tracksOf(bus, player);
    if (!t.answered) {
        return 0;
    }
    QList<PlaylistEntry> entries;
    qint32 index = 0;
    if (!t.tracks.isEmpty()) {
        QList<QDBusObjectPath> ids;
        for (const QString& id : t.tracks) {
            ids.append(QDBusObjectPath(id));
        }
        QDBusMessage m = QDBusMessage::createMethodCall(player, kObjectPath, kTrackList,
                                                        QStringLiteral("GetTracksMetadata"));
        m << QVariant::fromValue(ids);
        const Answer a = answerOf(bus.call(m, QDBus::Block, kCallTimeoutMs));
        const QString currentId = trackIdOf(t.current);
        for (const QVariantMap& metadata : valueOf<QList<QVariantMap>>(a.value, "aa{sv}")) {
            if (trackIdOf(metadata) == currentId) {
                index = qint32(entries.size());
            }
            entries.append(entryOf(metadata));
        }
    }
    if (entries.isEmpty()) {
        // Without a track list the playlist is the current track alone.
        entries.append(entryOf(t.current));
    }
    if (!playlistDirectory.isEmpty()) {
        writeWinampPlaylist(playlistFile(), entries);
    }
    return index;
}

qint32 MprisWinampLink::send(const QString& player, qint32 command, qint32 argument) {
    const QDBusConnection bus = connection();
    if (player.isEmpty() || !bus.isConnected()) {
        return 0;
    }
    switch (command) {
    case IPC_GETOUTPUTTIME:
        if (argument == 0) {
            const Answer a = await(getProperty(bus, player, kPlayer, QStringLiteral("Position")));
            return qint32(std::clamp<qint64>(a.value.toLongLong() / 1000, 0, INT32_MAX));
        }
        if (argument == 1) {
            const Answer a = await(getProperty(bus, player, kPlayer, QStringLiteral("Metadata")));
            return a.answered ? lengthSecondsOf(valueOf<QVariantMap>(a.value, "a{sv}")) : 0;
        }
        return 0;
    case IPC_WRITEPLAYLIST:
        return writePlaylist(player);
    case IPC_GETLISTLENGTH: {
        const PlayerTracks t = tracksOf(bus, player);
        return t.answered ? qint32(std::max<qsizetype>(t.tracks.size(), 1)) : 0;
    }
    case IPC_GETLISTPOS:
        return tracksOf(bus, player).currentIndex();
    case IPC_GETINFO: {
        const Answer a = await(getProperty(bus, player, kPlayer, QStringLiteral("Metadata")));
        const QUrl url(
            valueOf<QVariantMap>(a.value, "a{sv}").value(QStringLiteral("xesam:url")).toString());
        if (!url.isLocalFile()) {
            return 0;
        }
        const AudioStreamInfo info = readStreamInfo(url.toLocalFile());
        // Winamp answers the sample rate in whole kHz (44 for 44 100 Hz).
        return argument == 0 ? info.sampleRate / 1000 : argument == 1 ? info.bitrate : 0;
    }
    default:
        return 0;
    }
}
