#include "drivers/ParallelPanel.h"

ParallelPanel::ParallelPanel(QString portSetting, Log& log)
    : setting(std::move(portSetting)), log(&log) {}

ParallelPanel::ParallelPanel(std::unique_ptr<PortIo> port, std::function<void()> wait)
    : port(std::move(port)) {
    par.io = this->port.get();
    par.wait = std::move(wait);
}

void ParallelPanel::reset() {
    if (!port && log) {
        QString error;
        port = openParallelPort(setting, &error);
        if (!port) {
            reportOnce(failure, *log, error);
            return;
        }
        failure.clear();
        par.io = port.get();
    }
    ParInit(par);
    // A module switched off in between has lost its user-defined characters: they are written
    // again.
    loaded = {};
}

void ParallelPanel::show(const Frame& frame) {
    for (std::size_t slot = 0; slot < loaded.size(); ++slot) {
        if (frame.glyphs[slot] && frame.glyphs[slot] != loaded[slot] && par.io) {
            ParLoadGlyph(par, static_cast<int>(slot), *frame.glyphs[slot]);
            loaded[slot] = frame.glyphs[slot];
        }
    }
    writeFrame(
        frame, [this](int line) { ParGoto(par, 1, static_cast<qint16>(line + 1)); },
        [this](const QByteArray& text) { ParWrite(par, text); });
}
