#pragma once

#include "drivers/Panel.h"

#include <QByteArrayList>
#include <QList>

// Counts resets and keeps the frames shown since the last one.
class FakePanel : public Panel {
public:
    void reset() override {
        ++resets;
        frames.clear();
    }
    void show(const Frame& frame) override { frames.append(frame); }
    bool setBacklight(bool on) override {
        backlights.append(on);
        return hasBacklight;
    }

    // The rows of the last frame, a line that writes nothing as "-".
    QByteArrayList lastRows() const {
        QByteArrayList rows;
        if (!frames.isEmpty()) {
            for (int i = 0; i < frames.last().lines; ++i) {
                rows.append(frames.last().rows[i].value_or("-"));
            }
        }
        return rows;
    }

    int resets = 0;
    QList<Frame> frames;
    bool hasBacklight = false;
    QList<bool> backlights; // every setBacklight, in order
};
