#pragma once

#include "sources/mbm.h"
#include "support/RecordingMessageBoxes.h"

// Reads one sensor of a named block the way the refresh does, keeping any box it shows.
struct SensorReader {
    static inline const QString kTitle = QStringLiteral("TLCD - Relayeur");
    MbmLink link;
    RecordingMessageBoxes boxes;

    explicit SensorReader(const QString& name) { link.blockName = name; }
    double operator()(qint16 index, const char* kind) {
        return MbmValue(link, boxes, kTitle, index, QString::fromLatin1(kind));
    }
};
