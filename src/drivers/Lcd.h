#pragma once

#include "model/DisplayConfig.h"

#include <QByteArray>
#include <map>

// A kind of panel the program can drive.
class Panel {
public:
    virtual ~Panel() = default;
    virtual void init() = 0;                        // back to the start state: clear, cursor home
    virtual void write(const QByteArray& text) = 0; // characters at the cursor
};

// The panels available in this run, by the TypeLCD value that names them.
struct LcdOutput {
    std::map<qint16, Panel*> panels;
};

// The panel-neutral operations: both go to the panel that TypeLCD names; with a TypeLCD that
// names no panel they do nothing.
void InitLCD(LcdOutput& out, const DisplayConfig& config);
void WriteLCD(LcdOutput& out, const DisplayConfig& config, const QByteArray& text);
