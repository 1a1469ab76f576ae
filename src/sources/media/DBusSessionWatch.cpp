#include "sources/media/DBusSessionWatch.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <memory>
#include <unistd.h>

namespace {

const QString kLogin = QStringLiteral("org.freedesktop.login1");
const QString kLoginSession = QStringLiteral("org.freedesktop.login1.Session");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kScreenSaver = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kPlayerPrefix = QStringLiteral("org.mpris.MediaPlayer2.");
constexpr int kCallTimeoutMs = 2000;

// Calls `method`, then hands its reply to `done` on the event loop: nothing waits for the bus.
template <typename Done>
void callThen(QObject* context, const QDBusConnection& bus, const QDBusMessage& method, Done done) {
    // A bus that could not be reached answers no call at all: its error comes as the answer.
    if (!bus.isConnected()) {
        const QDBusMessage error =
            QDBusMessage::createError(QDBusError::Disconnected, bus.lastError().message());
        QMetaObject::invokeMethod(
            context, [done = std::move(done), error] { done(error); }, Qt::QueuedConnection);
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(method, kCallTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, done = std::move(done)] {
                         watcher->deleteLater();
                         done(watcher->reply());
                     });
}

QVariant unwrapped(const QVariant& value) {
    return value.metaType() == QMetaType::fromType<QDBusVariant>()
               ? value.value<QDBusVariant>().variant()
               : value;
}

} // namespace

DBusSessionWatch::DBusSessionWatch(const SessionWatchOptions& options, Changed changed,
                                   Report report, QDBusConnection system, QDBusConnection session)
    : changed(std::move(changed)), report(std::move(report)), system(std::move(system)),
      session(std::move(session)) {
    if (options.lock) {
        askSessionByPid();
    }
    if (options.player) {
        playerPoll.setInterval(options.playerPollMs);
        connect(&playerPoll, &QTimer::timeout, this, &DBusSessionWatch::askPlayers);
        playerPoll.start();
        askPlayers();
    }
}

void DBusSessionWatch::askSessionByPid() {
    QDBusMessage m = QDBusMessage::createMethodCall(
        kLogin, QStringLiteral("/org/freedesktop/login1"), kLogin + QStringLiteral(".Manager"),
        QStringLiteral("GetSessionByPID"));
    m << quint32(getpid());
    callThen(this, system, m, [this](const QDBusMessage& reply) {
        if (reply.type() == QDBusMessage::ReplyMessage) {
            followSession(reply.arguments().value(0).value<QDBusObjectPath>().path());
        } else {
            askAutoSession();
        }
    });
}

// A process started outside the session (by a service, say) is in none: logind's "auto" is the
// session of the user's display.
void DBusSessionWatch::askAutoSession() {
    QDBusMessage m = QDBusMessage::createMethodCall(
        kLogin, QStringLiteral("/org/freedesktop/login1"), kLogin + QStringLiteral(".Manager"),
        QStringLiteral("GetSession"));
    m << QStringLiteral("auto");
    callThen(this, system, m, [this](const QDBusMessage& reply) {
        if (reply.type() == QDBusMessage::ReplyMessage) {
            followSession(reply.arguments().value(0).value<QDBusObjectPath>().path());
        } else {
            askScreenSaver();
        }
    });
}

void DBusSessionWatch::followSession(const QString& path) {
    system.connect(kLogin, path, kProperties, QStringLiteral("PropertiesChanged"), this,
                   SLOT(sessionPropertiesChanged(QString, QVariantMap, QStringList)));
    QDBusMessage m =
        QDBusMessage::createMethodCall(kLogin, path, kProperties, QStringLiteral("GetAll"));
    m << kLoginSession;
    callThen(this, system, m, [this](const QDBusMessage& reply) {
        if (reply.type() == QDBusMessage::ReplyMessage) {
            takeHints(qdbus_cast<QVariantMap>(reply.arguments().value(0)));
        }
    });
}

void DBusSessionWatch::sessionPropertiesChanged(const QString& interface,
                                                const QVariantMap& changedProperties,
                                                const QStringList&) {
    if (interface == kLoginSession) {
        takeHints(changedProperties);
    }
}

void DBusSessionWatch::takeHints(const QVariantMap& properties) {
    SessionState next = current;
    if (const auto locked = properties.find(QStringLiteral("LockedHint"));
        locked != properties.end()) {
        next.locked = unwrapped(*locked).toBool();
    }
    if (const auto idle = properties.find(QStringLiteral("IdleHint")); idle != properties.end()) {
        next.idle = unwrapped(*idle).toBool();
    }
    update(next);
}

void DBusSessionWatch::askScreenSaver() {
    session.connect(kScreenSaver, kScreenSaverPath, kScreenSaver, QStringLiteral("ActiveChanged"),
                    this, SLOT(screenSaverChanged(bool)));
    const QDBusMessage m = QDBusMessage::createMethodCall(
        kScreenSaver, kScreenSaverPath, kScreenSaver, QStringLiteral("GetActive"));
    callThen(this, session, m, [this](const QDBusMessage& reply) {
        if (reply.type() == QDBusMessage::ReplyMessage) {
            screenSaverChanged(reply.arguments().value(0).toBool());
        } else if (report) {
            report(QCoreApplication::translate("SessionWatch",
                                               "Veille de l'afficheur : ni session logind ni "
                                               "économiseur d'écran (%1) : le verrouillage n'est "
                                               "pas suivi")
                       .arg(reply.errorMessage()));
        }
    });
}

void DBusSessionWatch::screenSaverChanged(bool active) {
    SessionState next = current;
    next.locked = active;
    update(next);
}

// Every player is asked at once; the round ends with the last answer, or its timeout.
void DBusSessionWatch::askPlayers() {
    if (asking) {
        return;
    }
    asking = true;
    const QDBusMessage listNames = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames"));
    callThen(this, session, listNames, [this](const QDBusMessage& reply) {
        QStringList players = reply.arguments().value(0).toStringList();
        players.removeIf([](const QString& name) { return !name.startsWith(kPlayerPrefix); });
        if (players.isEmpty()) {
            asking = false;
            SessionState next = current;
            next.playing = false;
            update(next);
            return;
        }
        struct Round {
            qsizetype left;
            bool playing = false;
        };
        auto round = std::make_shared<Round>(Round{players.size()});
        for (const QString& player : std::as_const(players)) {
            QDBusMessage m =
                QDBusMessage::createMethodCall(player, QStringLiteral("/org/mpris/MediaPlayer2"),
                                               kProperties, QStringLiteral("Get"));
            m << QStringLiteral("org.mpris.MediaPlayer2.Player")
              << QStringLiteral("PlaybackStatus");
            callThen(this, session, m, [this, round](const QDBusMessage& status) {
                round->playing =
                    round->playing ||
                    unwrapped(status.arguments().value(0)).toString() == QLatin1String("Playing");
                if (--round->left == 0) {
                    asking = false;
                    SessionState next = current;
                    next.playing = round->playing;
                    update(next);
                }
            });
        }
    });
}

void DBusSessionWatch::update(SessionState next) {
    if (next == current) {
        return;
    }
    current = next;
    if (changed) {
        changed(current);
    }
}
