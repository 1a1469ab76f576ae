#pragma once

#include "drivers/Lcd.h"
#include "model/DisplayConfig.h"
#include "profile/PageModel.h"

#include <QByteArray>
#include <functional>

struct RefreshTarget {
    PageModel& pages;
    const DisplayConfig& config;
    LcdOutput& out;
    std::function<void()> expandVariables;                 // rebuilds Text and Length
    std::function<QByteArray(const QByteArray&)> bargraph; // the bar of a mode-4 line
};

// One tick of the refresh: unless no line is pending, has the variables expanded, then writes
// panel lines 1 to L, each fixed, scrolling one step, or as a bargraph.
void RefreshLCD(const RefreshTarget& target);
