#pragma once

#include "drivers/Lcd.h"

#include <QByteArrayList>

// Counts initialisations and keeps what was written since the last one.
class FakePanel : public Panel {
public:
    void init() override {
        ++inits;
        written.clear();
    }
    void write(const QByteArray& text) override { written.append(text); }

    int inits = 0;
    QByteArrayList written;
};
