#pragma once

#include "sources/mbm.h"
#include "support/RecordingMessageBoxes.h"

// Runs the start-up test on a named block, then reads one sensor the way the refresh does,
// keeping any box either shows.
struct SensorReader {
    static inline const QString kTitle = QStringLiteral("TLCD - Relayeur");
    MbmLink link;
    PresenceFlags flags;
    RecordingMessageBoxes boxes;

    explicit SensorReader(const QString& name) {
        link.blockName = name;
        MbmTest(link, flags, boxes, kTitle);
    }
    double operator()(qint16 index, SensorKind kind) {
        return MbmValue(link, boxes, kTitle, index, kind);
    }
};
