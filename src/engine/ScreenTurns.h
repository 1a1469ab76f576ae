#pragma once

#include "lcdserver/ClientScreens.h"

#include <QByteArray>
#include <optional>

// LCDd's clock: its durations, timeouts and scroll speeds count eighths of a second.
inline constexpr qint64 kLcddTickMs = 125;

// How long a page that stays and a client screen without a duration take turns: LCDd's own
// default duration.
inline constexpr int kStillPageMs = 4000;

// A screen of a client, as the page rotation names it.
struct ShownScreen {
    int client = 0;
    QByteArray id;
    friend bool operator==(const ShownScreen&, const ShownScreen&) = default;
};

// Where the rotation stands among the clients' screens.
struct ScreenTurns {
    std::optional<ShownScreen> turn;  // the screen whose turn it is among the pages
    std::optional<ShownScreen> shown; // the turn, or an alert over it, as the clients know
    qint64 shownSince = 0;            // ms, when `shown` came on the panel
    // The shown page has no time of its own (it stays): the clients' screens take turns with it
    // at kStillPageMs.
    bool pageStays = false;
    // The place in the turns of the last screen that had one: its class and its age.
    std::optional<std::pair<int, quint64>> lastTurn;
};

// The input or alert screen that takes the panel, the oldest of the highest class; none.
std::optional<ShownScreen> screenTakingOver(const ClientScreens& screens);

// Whether some client has a screen that takes turns among the pages.
bool screensTakeTurns(const ClientScreens& screens);

// The foreground, info or background screen whose turn comes after `turns.lastTurn`: the
// screens go round by class (foreground first), the oldest first within a class. None when no
// client has such a screen. Notes its place in `turns.lastTurn`.
std::optional<ShownScreen> nextScreenTurn(const ClientScreens& screens, ScreenTurns& turns);
