#include "drivers/Hd44780FourBit.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using std::chrono::microseconds;

// Checks, as a module reading no busy flag needs it, that each controller is given the time
// every nibble or byte takes before it is sent anything more.
class TimedBus : public FourBitBus {
public:
    void pulse(int controller, bool data, quint8 nibble) override {
        Controller& chip = chips[controller];
        EXPECT_GE(since(chip), chip.busy)
            << "nibble " << chip.nibbles << " of controller " << controller << " sent too early";
        chip.since = elapsed;
        ++chip.nibbles;
        // The start-up's four nibbles reach a controller still in 8-bit mode, one by one.
        if (chip.nibbles <= 4) {
            chip.busy = kResetWaits[chip.nibbles - 1];
            return;
        }
        if (!chip.high) {
            chip.high = nibble;
            chip.busy = microseconds(0);
            return;
        }
        const quint8 byte = static_cast<quint8>(*chip.high << 4 | nibble);
        chip.high.reset();
        const bool slow = !data && (byte == 0x01 || byte == 0x02 || byte == 0x03);
        chip.busy = slow ? microseconds(1520) : microseconds(37);
        if (!data) {
            instructions[controller].push_back(byte);
        }
    }
    void pause(microseconds time) override { elapsed += time; }
    void setBacklight(bool) override {}

    std::vector<quint8> instructions[2];

private:
    static constexpr microseconds kResetWaits[] = {microseconds(4100), microseconds(100),
                                                   microseconds(37), microseconds(37)};
    struct Controller {
        int nibbles = 0;
        microseconds since{0};
        microseconds busy{0};
        std::optional<quint8> high;
    };
    microseconds since(const Controller& chip) const { return elapsed - chip.since; }

    Controller chips[2];
    microseconds elapsed{0};
};

} // namespace

TEST(Hd44780FourBit, GivesEveryControllerTheTimeEachInstructionAndCharacterTakes) {
    for (const auto& [columns, lines] : {std::pair{16, 2}, {20, 4}, {40, 4}}) {
        TimedBus bus;
        Hd44780FourBit module(bus, columns, lines);
        module.initialise();
        module.write(0, 0, "Bonjour");
        module.defineGlyph(2, {0x1F, 0, 0x1F, 0, 0x1F, 0, 0x1F, 0});
        module.write(lines - 1, columns - 1, "!");
        // Two lines of 5x8 dots, blank, then shown without cursor: on each controller.
        const std::vector<quint8> setUp = {0x28, 0x08, 0x01, 0x06, 0x0C};
        EXPECT_EQ(std::vector(bus.instructions[0].begin(), bus.instructions[0].begin() + 5), setUp);
        if (columns == 40 && lines == 4) {
            EXPECT_EQ(bus.instructions[1],
                      (std::vector<quint8>{0x28, 0x08, 0x01, 0x06, 0x0C, 0x50, 0x80 | 0x40 | 39}));
        } else {
            EXPECT_TRUE(bus.instructions[1].empty());
        }
    }
}
