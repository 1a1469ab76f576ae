#pragma once

#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QProcess>
#include <memory>
#include <vector>

// A private session bus for one test, and test players (MprisTestPlayer.cpp) on it, so that no
// player of the machine takes part. Everything started here ends with the object.
class MprisTestBus {
public:
    MprisTestBus() {
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"),
                      QStringLiteral("--print-address=1")});
        address = firstLine(daemon);
        if (!address.isEmpty()) {
            connection = QDBusConnection::connectToBus(address, name());
        }
    }
    ~MprisTestBus() {
        players.clear();
        connection = QDBusConnection(QString());
        QDBusConnection::disconnectFromBus(name());
        daemon.terminate();
        daemon.waitForFinished();
    }
    MprisTestBus(const MprisTestBus&) = delete;
    MprisTestBus& operator=(const MprisTestBus&) = delete;

    bool running() const { return connection.isConnected(); }
    QDBusConnection bus() const { return connection; }

    // Starts a player with these options (see MprisTestPlayer.cpp); true once it owns its name.
    bool startPlayer(const QStringList& options) {
        auto player = std::make_unique<Player>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
        player->setProcessEnvironment(env);
        player->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        player->start(QStringLiteral(MPRIS_TEST_PLAYER), options);
        const bool ready = firstLine(*player) == QLatin1String("ready");
        players.push_back(std::move(player));
        return ready;
    }

private:
    struct Player : QProcess {
        ~Player() override {
            terminate();
            waitForFinished();
        }
    };

    static QString firstLine(QProcess& p) {
        const QDeadlineTimer deadline(10000);
        while (!p.canReadLine() && p.waitForReadyRead(int(deadline.remainingTime()))) {
        }
        return QString::fromUtf8(p.readLine()).trimmed();
    }
    QString name() const { return QStringLiteral("relayeur-test-bus-%1").arg(quintptr(this)); }

    QProcess daemon;
    QString address;
    QDBusConnection connection{QString()};
    std::vector<std::unique_ptr<Player>> players;
};
