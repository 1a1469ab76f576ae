#include "sources/mbm.h"

#include "relayeur-sensors/Block.h"
#include "support/QtPrinters.h"
#include "support/SensorReader.h"

#include <cmath>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// A block of its own, laid out by the sensors program (whose offsets its own test pins down).
struct Block {
    const QString name = QStringLiteral("/relayeur-test-%1").arg(::getpid());
    ~Block() { ::shm_unlink(qPrintable(name)); }

    // Publishes the first `size` bytes of the block for `data`.
    bool publish(const MbmData& data, qsizetype size = MbmLayout::kSize) const {
        const int fd = ::shm_open(qPrintable(name), O_CREAT | O_RDWR, 0600);
        const bool written = ::ftruncate(fd, size) == 0 &&
                             ::pwrite(fd, serialiseBlock(data).constData(), size, 0) == size;
        ::close(fd);
        return written;
    }
};

} // namespace

TEST(MbmValue, EachKindReadsItsSlot255MeansNoSensorAndVoltsAreRoundedAsTheyReadInDecimal) {
    Block block;
    MbmData data;
    for (int slot = 0; slot < 10; ++slot) {
        data.Temp[slot] = 31 + slot;
        data.Volt[slot] = slot + 1.125; // shown to two decimals, halves to even
        data.Fan[slot] = 1000 * (slot + 1);
    }
    data.Temp[2] = data.Fan[2] = 255; // no sensor 3
    data.Volt[2] = 255.0;
    data.Freq = 2694;
    data.Charge = 37.25;
    ASSERT_TRUE(block.publish(data));
    SensorReader read(block.name);

    // What sensors 1, 3 and 10 read; sensors 0, 11 and -1 read 0, but for the kinds without an
    // index.
    using Row = std::tuple<SensorKind, double, double, double>;
    for (const auto& [kind, first, third, last] :
         {Row{SensorKind::Temp, 31, 0, 40}, Row{SensorKind::Volt, 1.12, 0, 10.12},
          Row{SensorKind::Fan, 1000, 0, 10000}, Row{SensorKind::Freq, 2694, 2694, 2694},
          Row{SensorKind::Charge, 37.25, 37.25, 37.25}}) {
        EXPECT_EQ(read(1, kind), first) << int(kind);
        EXPECT_EQ(read(3, kind), third) << int(kind);
        EXPECT_EQ(read(10, kind), last) << int(kind);
        for (const qint16 outside : {0, 11, -1}) {
            EXPECT_EQ(read(outside, kind), first == last ? first : 0) << int(kind) << outside;
        }
    }
    EXPECT_TRUE(read.boxes.boxes.isEmpty());

    // Each is stored a hair off its decimal value: rounding 100 times the double gets them wrong.
    const std::pair<double, double> cases[] = {
        {0.545, 0.54},   {0.575, 0.58},    {1.015, 1.02}, {9.995, 10.0}, {2.675, 2.68},
        {-1.125, -1.12}, {12.3456, 12.35}, {12.0, 12.0},  {12.5, 12.5},  {1e20, 1e20}};
    for (const auto& [volts, shown] : cases) {
        EXPECT_EQ(roundToHundredths(volts), shown) << volts;
    }
    EXPECT_FALSE(std::signbit(roundToHundredths(-0.001))) << "-0 would show on the panel";
}

TEST(MbmRead, ABoxWhenTheBlockCannotBeReadOnceUntilItReadsAgain) {
    Block block;
    MbmData data;
    data.Temp[0] = 40;
    SensorReader read(block.name);
    ASSERT_TRUE(block.publish(data));
    EXPECT_EQ(read(1, SensorKind::Temp), 0) << "a block that comes after start-up is not seen";
    ASSERT_EQ(read.boxes.boxes.size(), 2) << "the start-up box, then the reading's";
    EXPECT_EQ(read.boxes.boxes[1].text, "MBM Data File/Mem could not be opened. Sorry.");

    // Found one byte short of the record at start-up, the block reads once it is whole; shrunk
    // again, the user hears of it again, once.
    ASSERT_TRUE(block.publish(data, MbmLayout::kSize - 1));
    MbmTest(read.link, read.flags, read.boxes, SensorReader::kTitle);
    EXPECT_EQ(read(1, SensorKind::Temp), 0);
    ASSERT_TRUE(block.publish(data));
    EXPECT_EQ(read(1, SensorKind::Temp), 40);
    ASSERT_TRUE(block.publish(data, MbmLayout::kSize - 1));
    EXPECT_EQ(read(1, SensorKind::Temp) + read(1, SensorKind::Temp), 0);
    EXPECT_EQ(read.boxes.boxes.size(), 3);
}
