#pragma once

#include "model/DisplayConfig.h"
#include "model/Frame.h"
#include "profile/PageModel.h"

#include <QByteArray>
#include <functional>
#include <optional>

struct RefreshTarget {
    PageModel& pages;
    const DisplayConfig& config;
    // Rebuilds Text and Length; the time of the big clock when the rows now show it.
    std::function<std::optional<ClockTime>()> expandVariables;
    std::function<QByteArray(const QByteArray&)> bargraph; // the bar of a mode-4 line
};

// One tick of the refresh: unless no line is pending, has the variables expanded, then makes the
// frame of panel lines 1 to L, each fixed, scrolling one step, or as a bargraph. Nothing when no
// line is pending: the panel keeps what it shows.
std::optional<Frame> RefreshLCD(const RefreshTarget& target);
