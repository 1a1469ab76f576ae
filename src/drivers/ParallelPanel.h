#pragma once

#include "drivers/Panel.h"
#include "drivers/Parallele.h"
#include "model/FaultReport.h"
#include "model/Log.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

// The HD44780 panel on the parallel port (TypeLCD 3).
class ParallelPanel : public Panel {
public:
    // Opens the port named by the setting (see openParallelPort) at the first reset(), and at each
    // later one until it opens. A failure goes to the log and to standard error once, and again
    // only after the port has been open in between; meanwhile the panel does nothing.
    ParallelPanel(QString portSetting, Log& log);
    // Drives a port already open, pausing with `wait` at each edge of E (empty: 1 ms).
    ParallelPanel(std::unique_ptr<PortIo> port, std::function<void()> wait);

    void reset() override;
    // Every line of every frame, each after its line start, as the panel has always been fed;
    // first, for a mapped frame, the user-defined characters whose pattern changed.
    void show(const Frame& frame) override;
    PanelCharacters characters() const override { return {false, 8}; }

private:
    QString setting;
    Log* log = nullptr;
    std::unique_ptr<PortIo> port;
    Parallele par;
    FaultLatch failure; // the port's, told until it opens
    // What each CGRAM slot holds since the program wrote it; unknown before that.
    std::array<std::optional<GlyphRows>, 8> loaded;
};
