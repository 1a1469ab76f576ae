#pragma once

#include "drivers/Lcd.h"
#include "drivers/Parallele.h"
#include "model/FaultReport.h"
#include "model/Log.h"

#include <QString>
#include <functional>
#include <memory>

// The HD44780 panel on the parallel port (TypeLCD 3).
class ParallelPanel : public Panel {
public:
    // Opens the port named by the setting (see openParallelPort) at the first init(), and at each
    // later one until it opens. A failure goes to the log and to standard error once, and again
    // only after the port has been open in between; meanwhile the panel does nothing.
    ParallelPanel(QString portSetting, Log& log);
    // Drives a port already open, pausing with `wait` at each edge of E (empty: 1 ms).
    ParallelPanel(std::unique_ptr<PortIo> port, std::function<void()> wait);

    void init() override;
    void lineStart(int line) override;
    void write(const QByteArray& text) override;

private:
    QString setting;
    Log* log = nullptr;
    std::unique_ptr<PortIo> port;
    Parallele par;
    FaultLatch failure; // the port's, told until it opens
};
