#include "engine/ScreenTurns.h"

#include <algorithm>

namespace {

// Takes turns among the pages.
bool takesTurns(ScreenPriority priority) {
    return priority == ScreenPriority::Background || priority == ScreenPriority::Info ||
           priority == ScreenPriority::Foreground;
}

// The order of the turns: higher class first, then older first.
std::pair<int, quint64> turnPlace(const ServerScreen& screen) {
    return {-static_cast<int>(screen.priority), screen.order};
}

} // namespace

bool screensTakeTurns(const ClientScreens& screens) {
    return std::any_of(screens.clients.begin(), screens.clients.end(), [](const auto& client) {
        return std::any_of(client.second.screens.begin(), client.second.screens.end(),
                           [](const ServerScreen& s) { return takesTurns(s.priority); });
    });
}

std::optional<ShownScreen> screenTakingOver(const ClientScreens& screens) {
    std::optional<ShownScreen> found;
    std::pair<int, quint64> best;
    for (const auto& [id, client] : screens.clients) {
        for (const ServerScreen& screen : client.screens) {
            if (screen.priority < ScreenPriority::Alert) {
                continue;
            }
            if (!found || turnPlace(screen) < best) {
                found = ShownScreen{id, screen.id};
                best = turnPlace(screen);
            }
        }
    }
    return found;
}

std::optional<ShownScreen> nextScreenTurn(const ClientScreens& screens, ScreenTurns& turns) {
    std::optional<ShownScreen> first;
    std::optional<ShownScreen> next;
    std::pair<int, quint64> firstPlace;
    std::pair<int, quint64> nextPlace;
    for (const auto& [id, client] : screens.clients) {
        for (const ServerScreen& screen : client.screens) {
            if (!takesTurns(screen.priority)) {
                continue;
            }
            const auto place = turnPlace(screen);
            if (!first || place < firstPlace) {
                first = ShownScreen{id, screen.id};
                firstPlace = place;
            }
            if (turns.lastTurn && place > *turns.lastTurn && (!next || place < nextPlace)) {
                next = ShownScreen{id, screen.id};
                nextPlace = place;
            }
        }
    }
    if (!next) {
        next = first;
        nextPlace = firstPlace;
    }
    if (next) {
        turns.lastTurn = nextPlace;
    }
    return next;
}
