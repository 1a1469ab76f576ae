#pragma once

#include "model/Log.h"
#include "platform/IniFile.h"
#include "sources/media/SessionWatch.h"

#include <QDateTime>
#include <QObject>
#include <QTime>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

// The hours of horaire=HH:MM-HH:MM, which may cross midnight; start == end is never.
struct QuietSchedule {
    QTime start;
    QTime end;
    QString text; // as the log names it: "23:00-07:00"
};

// [silence] of param.ini: which conditions make the panel quiet.
struct QuietSettings {
    std::optional<QuietSchedule> schedule; // horaire=
    bool session = false;                  // verrouillage=1: locked or idle
    bool player = false;                   // musique=1: no player playing for a minute
    bool any() const { return schedule || session || player; }
};

// Reads [silence]; a bad value is logged and its condition left out.
QuietSettings readQuietSettings(const IniFile& settings, Log& log);

// Why the panel is quiet; None: it is lit.
enum class QuietReason { None, Schedule, Locked, Idle, PlayerStopped, BacklightOff };

// How long a player must have stopped before the panel goes quiet.
inline constexpr qint64 kPlayerStoppedMs = 60'000;

struct QuietInputs {
    QTime now;
    SessionState session;
    qint64 stoppedMs = 0;       // since the player stopped; 0 while it plays
    bool backlightAsked = true; // Home Assistant's switch
};

bool withinSchedule(const QuietSchedule& schedule, QTime now);
// The first condition that holds, in the order the settings list them, the switch last.
QuietReason quietReason(const QuietSettings& settings, const QuietInputs& inputs);
// The log's words for it: « horaire 23:00-07:00 », « session verrouillée », ...
QString quietReasonText(QuietReason reason, const QuietSettings& settings);

// The clocks the quiet hours read: wall time for the schedule, a clock that never goes back for
// the player's minute and the wake-ups.
struct QuietClocks {
    std::function<QDateTime()> wall;
    std::function<qint64()> monotonicMs;
};

// Says when the panel goes quiet and when it wakes. It wakes up only when something can change:
// at the next edge of the schedule, when the player's minute is over, when a wake-up ends, and on
// the session's news.
class QuietHours : public QObject {
    Q_OBJECT
public:
    QuietHours(QuietSettings settings, QuietClocks clocks, QObject* parent = nullptr);
    ~QuietHours() override;

    const QuietSettings& settings() const { return conditions; }
    // Follows the session and the player from there; without a watch (no module), they count
    // for nothing.
    void watch(std::unique_ptr<SessionWatch> sessionWatch);
    void setSession(const SessionState& state);
    void askBacklight(bool on);
    bool backlightAsked() const { return asked; }
    // Lit for `ms` from now, whatever the conditions.
    void wake(qint64 ms);
    QuietReason reason() const { return current; }
    bool quiet() const { return current != QuietReason::None; }
    // Looks again now, which the timer does at its time; once connected, then at each change.
    void check();
    // When the next check is due, in ms from now; -1: none.
    qint64 nextCheckMs() const;

Q_SIGNALS:
    void changed(QuietReason reason);

private:
    QuietSettings conditions;
    QuietClocks clocks;
    SessionState session;
    std::optional<qint64> stoppedSince; // while no player plays
    qint64 awakeUntil = 0;
    bool asked = true;
    QuietReason current = QuietReason::None;
    QTimer timer;
    std::unique_ptr<SessionWatch> sessionWatch; // last: it calls back into the rest
};
