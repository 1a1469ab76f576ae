#pragma once

#include "drivers/Lcd.h"

#include <QByteArrayList>

// Counts initialisations and keeps what was written since the last one; a line start
// shows as "<n>".
class FakePanel : public Panel {
public:
    void init() override {
        ++inits;
        written.clear();
    }
    void lineStart(int line) override { written.append("<" + QByteArray::number(line) + ">"); }
    void write(const QByteArray& text) override { written.append(text); }

    int inits = 0;
    QByteArrayList written;
};
