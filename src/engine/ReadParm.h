#pragma once

#include "model/DisplayConfig.h"
#include "model/Log.h"
#include "platform/MessageBoxes.h"

#include <QString>
#include <functional>

struct ReadParmContext {
    QString settingsFile; // full path of param.ini
    DisplayConfig& config;
    PresenceFlags& flags;
    Log& log;
    MessageBoxes& boxes;
    std::function<void()> pauseAndRepaint; // lets the log visibly grow during start-up
    std::function<void()> mbmTest;         // sets flags.MbmPresent
};

// Reads the display configuration from param.ini, logs it, and tests for the outside programs.
// A value that is missing or no 16-bit number stops the reading with an error box; what was
// read before it stays, and the program tests are skipped. Returns whether all was read.
bool ReadParm(const ReadParmContext& ctx);
