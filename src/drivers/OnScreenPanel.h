#pragma once

#include "drivers/ParallelPanel.h"
#include "platform/Hd44780.h"
#include "platform/PortIo.h"

// The panel for everyone without one (TypeLCD 1): an emulated HD44780 behind an emulated
// parallel port, driven exactly as the parallel panel but without its waits. Its user-defined
// characters hold the shapes of the big-digit clock, as a real panel prepared for it would.
class OnScreenPanel : public Panel {
public:
    OnScreenPanel(int columns, int lines);

    void init() override { panel.init(); }
    void lineStart(int line) override { panel.lineStart(line); }
    void write(const QByteArray& text) override { panel.write(text); }

    Hd44780& model() { return port->model(); }

private:
    explicit OnScreenPanel(std::unique_ptr<EmulatedHd44780Port> prepared);
    static std::unique_ptr<EmulatedHd44780Port> preparedPort(int columns, int lines);

    EmulatedHd44780Port* port; // owned by `panel`
    ParallelPanel panel;
};
