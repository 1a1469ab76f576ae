#pragma once

#include <QtGlobal>

// The instruction bytes of the HD44780 controller. An instruction is named by its highest set
// bit; the bits below it are its flags, or the address it sets.
namespace hd44780 {

constexpr quint8 kClear = 0x01; // blank, home, and increment again
constexpr quint8 kReturnHome = 0x02;

constexpr quint8 kEntryMode = 0x04;
constexpr quint8 kEntryIncrement = 0x02; // else decrement
constexpr quint8 kEntryShift = 0x01;     // the view moves on each write, not the cursor

constexpr quint8 kDisplayControl = 0x08;
constexpr quint8 kDisplayOn = 0x04;
constexpr quint8 kCursorOn = 0x02;
constexpr quint8 kBlinkOn = 0x01;

constexpr quint8 kShift = 0x10;
constexpr quint8 kShiftDisplay = 0x08; // else the cursor moves
constexpr quint8 kShiftRight = 0x04;

constexpr quint8 kFunctionSet = 0x20;
constexpr quint8 kEightBitBus = 0x10; // else 4-bit
constexpr quint8 kTwoLines = 0x08;

constexpr quint8 kSetCgramAddress = 0x40;
constexpr quint8 kCgramAddressMask = 0x3F;
constexpr quint8 kSetDdramAddress = 0x80;
constexpr quint8 kDdramAddressMask = 0x7F;

// Where the lines start in DDRAM in 2-line mode.
constexpr quint8 kFirstLineAddress = 0x00;
constexpr quint8 kSecondLineAddress = 0x40;

} // namespace hd44780
