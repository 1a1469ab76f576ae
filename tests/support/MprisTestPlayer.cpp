// A media player for the tests: it plays nothing, but answers on the session bus as an MPRIS
// player would, with the tracks and times given on its command line. Once it owns its name it
// prints "ready".
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <cstdio>

namespace {

class TestPlayer : public QDBusVirtualObject {
public:
    QCommandLineParser options;

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& m, const QDBusConnection& bus) override {
        if (options.isSet("silent")) { // takes every call and never answers
            return true;
        }
        const QList<QVariant> args = m.arguments();
        if (m.member() == QLatin1String("Get")) {
            const QVariant v = property(args.value(0).toString(), args.value(1).toString());
            bus.send(v.isValid() ? m.createReply(QVariant::fromValue(QDBusVariant(v)))
                                 : m.createErrorReply(QDBusError::UnknownProperty,
                                                      args.value(1).toString()));
        } else if (m.member() == QLatin1String("GetTracksMetadata") && trackList()) {
            QList<QVariantMap> tracks;
            for (const QDBusObjectPath& id : qdbus_cast<QList<QDBusObjectPath>>(args.value(0))) {
                if (const int i = int(trackIds().indexOf(id)); i >= 0) {
                    tracks.append(metadata(i));
                }
            }
            bus.send(m.createReply(QVariant::fromValue(tracks)));
        } else {
            bus.send(m.createErrorReply(QDBusError::UnknownMethod, m.member()));
        }
        return true;
    }

private:
    bool trackList() const { return !options.isSet("no-tracklist"); }
    QStringList urls() const { return options.values("track"); }

    QList<QDBusObjectPath> trackIds() const {
        QList<QDBusObjectPath> ids;
        for (int i = 0; i < urls().size(); ++i) {
            ids.append(QDBusObjectPath(QStringLiteral("/org/relayeur/track/%1").arg(i)));
        }
        return ids;
    }

    QVariantMap metadata(int i) const {
        if (i < 0 || i >= urls().size()) {
            return {};
        }
        QVariantMap m{{"mpris:trackid", QVariant::fromValue(trackIds()[i])},
                      {"xesam:url", urls()[i]},
                      {"xesam:title", QStringLiteral("Piste %1").arg(i + 1)},
                      {"xesam:artist", QStringList{"Groupe"}}};
        if (options.value("length-us").toLongLong() >= 0) { // -1: the metadata has no length
            m["mpris:length"] = options.value("length-us").toLongLong();
        }
        return m;
    }

    QVariant property(const QString& interface, const QString& name) const {
        if (interface == QLatin1String("org.mpris.MediaPlayer2.Player")) {
            if (name == QLatin1String("PlaybackStatus")) {
                return options.value("status");
            }
            if (name == QLatin1String("Position")) {
                return options.value("position-us").toLongLong();
            }
            if (name == QLatin1String("Metadata")) {
                return metadata(options.value("current").toInt());
            }
        }
        if (interface == QLatin1String("org.mpris.MediaPlayer2.TrackList") &&
            name == QLatin1String("Tracks") && trackList()) {
            return QVariant::fromValue(trackIds());
        }
        return {};
    }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    qDBusRegisterMetaType<QList<QVariantMap>>();

    TestPlayer player;
    player.options.addOptions({
        {"name", "bus name after org.mpris.MediaPlayer2.", "name", "test"},
        {"status", "Playing, Paused or Stopped", "status", "Playing"},
        {"position-us", "playing position", "us", "0"},
        {"length-us", "length of every track", "us", "-1"},
        {"track", "address of a track (repeat for a list)", "url"},
        {"current", "index of the current track", "index", "0"},
        {"no-tracklist", "keep no track list"},
        {"silent", "never answer"},
    });
    player.options.process(app);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerVirtualObject(QStringLiteral("/org/mpris/MediaPlayer2"), &player) ||
        !bus.registerService("org.mpris.MediaPlayer2." + player.options.value("name"))) {
        std::fprintf(stderr, "mpris_test_player: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}
