// A media player for the tests: it plays nothing, but answers on the session bus as an MPRIS
// player would, with the tracks and times given on its command line. Once it owns its name it
// prints "ready".
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <cstdio>

namespace {

const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kTrackList = QStringLiteral("org.mpris.MediaPlayer2.TrackList");

class TestPlayer : public QDBusVirtualObject {
public:
    QString status;
    qint64 positionUs = 0;
    qint64 lengthUs = -1; // -1: the metadata has no length
    QStringList urls;
    int current = 0;
    bool trackList = true;
    bool silent = false; // takes every call and never answers

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& m, const QDBusConnection& bus) override {
        if (silent) {
            return true;
        }
        const QList<QVariant> args = m.arguments();
        if (m.member() == QLatin1String("Get")) {
            const QVariant v = property(args.value(0).toString(), args.value(1).toString());
            bus.send(v.isValid() ? m.createReply(QVariant::fromValue(QDBusVariant(v)))
                                 : m.createErrorReply(QDBusError::UnknownProperty,
                                                      args.value(1).toString()));
        } else if (m.member() == QLatin1String("GetTracksMetadata") && trackList) {
            QList<QVariantMap> tracks;
            for (const QDBusObjectPath& id : qdbus_cast<QList<QDBusObjectPath>>(args.value(0))) {
                const qsizetype i = trackIds().indexOf(id);
                if (i >= 0) {
                    tracks.append(metadata(int(i)));
                }
            }
            bus.send(m.createReply(QVariant::fromValue(tracks)));
        } else {
            bus.send(m.createErrorReply(QDBusError::UnknownMethod, m.member()));
        }
        return true;
    }

private:
    QList<QDBusObjectPath> trackIds() const {
        QList<QDBusObjectPath> ids;
        for (int i = 0; i < urls.size(); ++i) {
            ids.append(QDBusObjectPath(QStringLiteral("/org/relayeur/track/%1").arg(i)));
        }
        return ids;
    }

    QVariantMap metadata(int i) const {
        QVariantMap m;
        if (i < 0 || i >= urls.size()) {
            return m;
        }
        m[QStringLiteral("mpris:trackid")] = QVariant::fromValue(trackIds()[i]);
        m[QStringLiteral("xesam:url")] = urls[i];
        m[QStringLiteral("xesam:title")] = QStringLiteral("Piste %1").arg(i + 1);
        m[QStringLiteral("xesam:artist")] = QStringList{QStringLiteral("Groupe")};
        if (lengthUs >= 0) {
            m[QStringLiteral("mpris:length")] = lengthUs;
        }
        return m;
    }

    QVariant property(const QString& interface, const QString& name) const {
        if (interface == kPlayer && name == QLatin1String("PlaybackStatus")) {
            return status;
        }
        if (interface == kPlayer && name == QLatin1String("Position")) {
            return positionUs;
        }
        if (interface == kPlayer && name == QLatin1String("Metadata")) {
            return metadata(current);
        }
        if (interface == kTrackList && name == QLatin1String("Tracks") && trackList) {
            return QVariant::fromValue(trackIds());
        }
        return {};
    }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    qDBusRegisterMetaType<QList<QVariantMap>>();

    QCommandLineParser parser;
    parser.addOptions({
        {"name", "bus name after org.mpris.MediaPlayer2.", "name", "test"},
        {"status", "Playing, Paused or Stopped", "status", "Playing"},
        {"position-us", "playing position", "us", "0"},
        {"length-us", "length of every track", "us", "-1"},
        {"track", "address of a track (repeat for a list)", "url"},
        {"current", "index of the current track", "index", "0"},
        {"no-tracklist", "keep no track list"},
        {"silent", "never answer"},
    });
    parser.process(app);

    TestPlayer player;
    player.status = parser.value("status");
    player.positionUs = parser.value("position-us").toLongLong();
    player.lengthUs = parser.value("length-us").toLongLong();
    player.urls = parser.values("track");
    player.current = parser.value("current").toInt();
    player.trackList = !parser.isSet("no-tracklist");
    player.silent = parser.isSet("silent");

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerVirtualObject(QStringLiteral("/org/mpris/MediaPlayer2"), &player) ||
        !bus.registerService(QStringLiteral("org.mpris.MediaPlayer2.") + parser.value("name"))) {
        std::fprintf(stderr, "mpris_test_player: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}
