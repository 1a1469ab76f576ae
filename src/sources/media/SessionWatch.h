#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// What the desktop session says about the user being there: logind's hints, or the screen
// saver's, and whether a media player plays.
struct SessionState {
    bool locked = false;  // the session is locked, or the screen saver runs
    bool idle = false;    // logind holds the session idle
    bool playing = false; // some MPRIS player says it is playing
    friend bool operator==(const SessionState&, const SessionState&) = default;
};

struct SessionWatchOptions {
    bool lock = false;   // follow the lock and idle hints
    bool player = false; // ask the media players, every playerPollMs
    int playerPollMs = 5000;
};

// Watches the session over D-Bus; it lives in the MPRIS module, the only code that uses Qt D-Bus.
// Every call is asynchronous: the state starts as "unlocked, nothing playing" and `changed` hears
// each new one, on the thread that made the watch.
class SessionWatch {
public:
    using Changed = std::function<void(const SessionState&)>;
    using Report = std::function<void(const QString& problem)>;
    virtual ~SessionWatch() = default;
    virtual SessionState state() const = 0;
};

// The module's second entry point, by this name: a new session watch, owned by the caller.
inline constexpr char kSessionWatchFactory[] = "relayeurMakeSessionWatch";
using SessionWatchFactory = SessionWatch* (*)(const SessionWatchOptions& options,
                                              const SessionWatch::Changed& changed,
                                              const SessionWatch::Report& report);

// The watch made by the first module of `moduleCandidates` that loads; none, with the reason
// told to `report`, when no module does.
std::unique_ptr<SessionWatch> loadSessionWatch(const QStringList& moduleCandidates,
                                               const SessionWatchOptions& options,
                                               SessionWatch::Changed changed,
                                               const SessionWatch::Report& report);
