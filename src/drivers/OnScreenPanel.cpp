#include "drivers/OnScreenPanel.h"

#include "drivers/Hd44780Font.h"

std::unique_ptr<EmulatedHd44780Port> OnScreenPanel::preparedPort(int columns, int lines) {
    auto prepared = std::make_unique<EmulatedHd44780Port>(columns, lines);
    const auto& shapes = bigDigitCgram();
    for (int slot = 0; slot < 8; ++slot) {
        prepared->model().loadGlyph(slot, shapes[slot]);
    }
    return prepared;
}

OnScreenPanel::OnScreenPanel(int columns, int lines)
    : OnScreenPanel(preparedPort(columns, lines)) {}

OnScreenPanel::OnScreenPanel(std::unique_ptr<EmulatedHd44780Port> prepared)
    : port(prepared.get()), panel(std::move(prepared), [] {}) {}
