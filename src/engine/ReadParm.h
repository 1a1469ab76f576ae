#pragma once

#include "model/DisplayConfig.h"
#include "model/Log.h"
#include "platform/MessageBoxes.h"

#include <QString>
#include <functional>
#include <vector>

struct ReadParmContext {
    QString settingsFile; // full path of param.ini
    DisplayConfig& config;
    PresenceFlags& flags;
    Log& log;
    MessageBoxes& boxes;
    std::function<void()> mbmTest; // sets flags.MbmPresent
};

// Reads the display configuration from param.ini, logs it, and tests for the outside programs,
// in steps cut where the log pauses at start-up so that it visibly grows: the settings, then the
// heading of the tests and one test after another, each step ending on the name of the program
// tested next. A value that is missing or no 16-bit number stops the reading with an error box:
// that step returns false and ends the reading; what was read before it stays, and the program
// tests are skipped.
std::vector<std::function<bool()>> ReadParmSteps(const ReadParmContext& ctx);
