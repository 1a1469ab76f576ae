#pragma once

#include "model/DisplayConfig.h"
#include "platform/MessageBoxes.h"
#include "platform/SharedMemory.h"

#include <QString>
#include <optional>

// The shared block in which Motherboard Monitor (or relayeur-sensors) publishes its readings.
inline const QString kMbmBlockName = QStringLiteral("/$M$B$M$5$D$");

struct MbmLink {
    QString blockName = kMbmBlockName;
    std::optional<SharedMemory> heldOpen; // the block found at start-up, kept for the run
};

// Start-up presence test: sets MbmPresent, with a message box when the block is missing.
void MbmTest(MbmLink& link, PresenceFlags& flags, MessageBoxes& boxes, const QString& appTitle);
