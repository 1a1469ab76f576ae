#pragma once

#include "sources/media/SessionWatch.h"

#include <QDBusConnection>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

// The session watch over D-Bus. The lock and idle hints come from logind on the system bus (the
// session of this process, else the "auto" one), followed through its PropertiesChanged signals;
// without a logind session, the screen saver's ActiveChanged on the session bus stands for the
// lock. The players are asked on the session bus every few seconds.
class DBusSessionWatch final : public QObject, public SessionWatch {
    Q_OBJECT
public:
    DBusSessionWatch(const SessionWatchOptions& options, Changed changed, Report report,
                     QDBusConnection system, QDBusConnection session);

    SessionState state() const override { return current; }

private Q_SLOTS:
    void sessionPropertiesChanged(const QString& interface, const QVariantMap& changedProperties,
                                  const QStringList& invalidated);
    void screenSaverChanged(bool active);

private:
    void askSessionByPid();
    void askAutoSession();
    void followSession(const QString& path);
    void askScreenSaver();
    void takeHints(const QVariantMap& properties);
    void askPlayers();
    void update(SessionState next);

    Changed changed;
    Report report;
    QDBusConnection system;
    QDBusConnection session;
    QTimer playerPoll;
    bool asking = false; // a round of questions to the players is under way
    SessionState current;
};
