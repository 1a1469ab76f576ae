#include "drivers/Hd44780FourBit.h"

#include "drivers/Hd44780.h"
#include "drivers/Hd44780Instructions.h"

using namespace hd44780;
using namespace std::chrono_literals;

namespace {
// The datasheet's times at the slowest clock, with a margin: nothing reads the busy flag.
constexpr auto kFirstResetWait = 4500us; // more than 4.1 ms
constexpr auto kSecondResetWait = 150us; // more than 100 us
constexpr auto kClearWait = 2000us;      // clear and home: 1.52 ms
constexpr auto kWait = 50us;             // every other instruction and character: 37 us

// 8-bit function set, as D7-D4 alone carry it; three of them bring the controller to 8-bit
// mode from any state, then a 4-bit one switches the bus.
constexpr quint8 kEightBitNibble = (kFunctionSet | kEightBitBus) >> 4; // 0x3
constexpr quint8 kFourBitNibble = kFunctionSet >> 4;                   // 0x2
constexpr quint8 kSetUp[] = {kFunctionSet | kTwoLines, kDisplayControl, kClear,
                             kEntryMode | kEntryIncrement, kDisplayControl | kDisplayOn};

std::chrono::microseconds waitAfter(quint8 code) {
    return code == kClear || code == kReturnHome ? kClearWait : kWait;
}
} // namespace

Hd44780FourBit::Hd44780FourBit(FourBitBus& bus, int columns, int lines)
    : bus(bus), columnCount(qBound(1, columns, Hd44780::kMaxColumns)),
      lineCount(qBound(1, lines, Hd44780::kMaxLines)) {}

void Hd44780FourBit::initialise() {
    const auto everyController = [this](quint8 nibble, std::chrono::microseconds wait) {
        for (int controller = 0; controller < controllers(); ++controller) {
            bus.pulse(controller, false, nibble);
        }
        bus.pause(wait);
    };
    everyController(kEightBitNibble, kFirstResetWait);
    everyController(kEightBitNibble, kSecondResetWait);
    everyController(kEightBitNibble, kWait);
    everyController(kFourBitNibble, kWait);
    for (const quint8 code : kSetUp) {
        for (int controller = 0; controller < controllers(); ++controller) {
            send(controller, false, code);
        }
        bus.pause(waitAfter(code));
    }
}

void Hd44780FourBit::write(int line, int column, const QByteArray& codes) {
    if (line < 0 || line >= lineCount || column < 0 || column >= columnCount) {
        return;
    }
    const bool lower = line >= 2;
    const int controller = lower && secondController() ? 1 : 0;
    const int further = lower && !secondController() ? columnCount : 0;
    const quint8 start = line % 2 == 1 ? kSecondLineAddress : kFirstLineAddress;
    instruction(controller, static_cast<quint8>(kSetDdramAddress | (start + further + column)));
    for (const char code : codes.left(columnCount - column)) {
        data(controller, static_cast<quint8>(code));
    }
}

void Hd44780FourBit::defineGlyph(int slot, const GlyphRows& rows) {
    for (int controller = 0; controller < controllers(); ++controller) {
        instruction(controller, static_cast<quint8>(kSetCgramAddress | ((slot & 7) << 3)));
        for (const quint8 row : rows) {
            data(controller, row & 0x1F);
        }
    }
}

void Hd44780FourBit::instruction(int controller, quint8 code) {
    send(controller, false, code);
    bus.pause(waitAfter(code));
}

void Hd44780FourBit::data(int controller, quint8 value) {
    send(controller, true, value);
    bus.pause(kWait);
}

void Hd44780FourBit::send(int controller, bool data, quint8 byte) {
    bus.pulse(controller, data, byte >> 4);
    bus.pulse(controller, data, byte & 0x0F);
}
