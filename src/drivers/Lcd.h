#pragma once

#include "model/DisplayConfig.h"

#include <QByteArray>
#include <map>

// A kind of panel the program can drive.
class Panel {
public:
    virtual ~Panel() = default;
    // Back to the start state, as each panel defines it.
    virtual void init() = 0;
    // Before the text of panel line `line` (0 is the top line) on every refresh.
    virtual void lineStart(int line) = 0;
    // Characters at the cursor, one byte each, whatever their code (NUL included).
    virtual void write(const QByteArray& text) = 0;
};

// The panels available in this run, by the TypeLCD value that names them.
struct LcdOutput {
    std::map<qint16, Panel*> panels;
};

// The panel-neutral operations: each goes to the panel that TypeLCD names; with a TypeLCD
// that names no panel they do nothing.
void InitLCD(LcdOutput& out, const DisplayConfig& config);
void WriteLCD(LcdOutput& out, const DisplayConfig& config, const QByteArray& text);
void LineStartLCD(LcdOutput& out, const DisplayConfig& config, int line);
