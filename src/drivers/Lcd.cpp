#include "drivers/Lcd.h"

namespace {
Panel* panelFor(LcdOutput& out, const DisplayConfig& config) {
    const auto found = out.panels.find(config.TypeLCD);
    return found == out.panels.end() ? nullptr : found->second;
}
} // namespace

void InitLCD(LcdOutput& out, const DisplayConfig& config) {
    if (Panel* panel = panelFor(out, config)) {
        panel->init();
    }
}

void WriteLCD(LcdOutput& out, const DisplayConfig& config, const QByteArray& text) {
    if (Panel* panel = panelFor(out, config)) {
        panel->write(text);
    }
}

void LineStartLCD(LcdOutput& out, const DisplayConfig& config, int line) {
    if (Panel* panel = panelFor(out, config)) {
        panel->lineStart(line);
    }
}
