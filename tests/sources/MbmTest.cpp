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
    const QString name;
    explicit Block(const char* tag)
        : name(QStringLiteral("/relayeur-test-%1-%2").arg(::getpid()).arg(tag)) {}
    ~Block() { ::shm_unlink(qPrintable(name)); }

    // Publishes the first `size` bytes of the block for `data`.
    bool publish(const MbmData& data, qsizetype size = MbmLayout::kSize) const {
        const int fd = ::shm_open(qPrintable(name), O_CREAT | O_RDWR, 0600);
        if (fd < 0) {
            return false;
        }
        const bool written = ::ftruncate(fd, size) == 0 &&
                             ::pwrite(fd, serialiseBlock(data).constData(), size, 0) == size;
        ::close(fd);
        return written;
    }
};

} // namespace

TEST(MbmValue, EachKindReadsItsSlotAnd255MeansNoSensor) {
    Block block("fields");
    MbmData data;
    for (int slot = 0; slot < 10; ++slot) {
        data.Temp[slot] = 31 + slot;
        data.Volt[slot] = slot + 1.5;
        data.Fan[slot] = 1000 * (slot + 1);
    }
    data.Temp[2] = data.Fan[2] = 255;
    data.Volt[2] = 255.0;
    data.Temp[3] = data.Fan[3] = 254;
    data.Volt[3] = 254.0;
    data.Freq = 2694;
    data.Charge = 37.25;
    ASSERT_TRUE(block.publish(data));
    SensorReader read(block.name);

    // Each kind reads its own field: at one index the five kinds give five different values.
    using Own = std::tuple<SensorKind, double, double>; // kind, sensor 1, sensor 10
    for (const auto& [kind, first, last] :
         {Own{SensorKind::Temp, 31, 40}, Own{SensorKind::Volt, 1.5, 10.5},
          Own{SensorKind::Fan, 1000, 10000}, Own{SensorKind::Freq, 2694, 2694},
          Own{SensorKind::Charge, 37.25, 37.25}}) {
        EXPECT_EQ(read(1, kind), first) << int(kind);
        EXPECT_EQ(read(10, kind), last) << int(kind);
    }
    for (const SensorKind kind : {SensorKind::Temp, SensorKind::Volt, SensorKind::Fan}) {
        EXPECT_EQ(read(3, kind), 0) << int(kind);
        EXPECT_EQ(read(4, kind), 254) << int(kind);
        for (const qint16 index : {qint16(0), qint16(11), qint16(-1), qint16(-32768)}) {
            EXPECT_EQ(read(index, kind), 0) << int(kind) << ' ' << index;
        }
    }
    for (const qint16 index : {qint16(-1), qint16(11)}) {
        EXPECT_EQ(read(index, SensorKind::Freq), 2694) << index;
        EXPECT_EQ(read(index, SensorKind::Charge), 37.25) << index;
    }
    EXPECT_TRUE(read.boxes.boxes.isEmpty());
}

TEST(MbmValue, VoltsAreRoundedToHundredthsHalvesToEven) {
    Block block("volts");
    MbmData data;
    data.Volt = {1.125, 1.375, 2.675, -1.125, 12.3456};
    ASSERT_TRUE(block.publish(data));
    SensorReader read(block.name);
    const double rounded[] = {1.12, 1.38, 2.68, -1.12, 12.35};
    for (int slot = 1; slot <= 5; ++slot) {
        EXPECT_EQ(read(slot, SensorKind::Volt), rounded[slot - 1]) << slot;
    }

    // Each is stored a hair off its decimal value; rounding 100 times the double gets these
    // wrong, in both directions.
    EXPECT_EQ(roundToHundredths(0.545), 0.54);
    EXPECT_EQ(roundToHundredths(0.575), 0.58);
    EXPECT_EQ(roundToHundredths(1.015), 1.02);
    EXPECT_EQ(roundToHundredths(9.995), 10.0);
    EXPECT_EQ(roundToHundredths(1e20), 1e20);
    EXPECT_FALSE(std::signbit(roundToHundredths(-0.001))) << "-0 would show on the panel";
}

TEST(MbmRead, ReadsThroughTheBlockFoundAtStartUpUntilTheEnd) {
    Block block("kept");
    MbmData data;
    data.Temp[0] = 40;
    data.Freq = 1800;
    SensorReader read(block.name);
    EXPECT_FALSE(read.flags.MbmPresent);
    ASSERT_EQ(read.boxes.boxes.size(), 1) << "the start-up box";

    const MbmData none = MbmRead(read.link, read.boxes, SensorReader::kTitle);
    EXPECT_EQ(serialiseBlock(none), QByteArray(MbmLayout::kSize, '\0'));
    ASSERT_TRUE(block.publish(data));
    EXPECT_EQ(read(1, SensorKind::Freq), 0) << "a block that comes after start-up is not seen";
    ASSERT_EQ(read.boxes.boxes.size(), 2);
    EXPECT_EQ(read.boxes.boxes[1].title, SensorReader::kTitle);
    EXPECT_EQ(read.boxes.boxes[1].text, "MBM Data File/Mem could not be opened. Sorry.");
    EXPECT_EQ(read.boxes.boxes[1].icon, MessageIcon::None);

    // Found one byte short of the record at start-up, the block reads once it is whole; shrunk
    // again, the user hears of it again, once.
    ASSERT_TRUE(block.publish(data, MbmLayout::kSize - 1));
    MbmTest(read.link, read.flags, read.boxes, SensorReader::kTitle);
    EXPECT_TRUE(read.flags.MbmPresent);
    EXPECT_EQ(read(1, SensorKind::Temp), 0);
    ASSERT_TRUE(block.publish(data));
    EXPECT_EQ(read(1, SensorKind::Temp), 40);
    ASSERT_TRUE(block.publish(data, MbmLayout::kSize - 1));
    EXPECT_EQ(read(1, SensorKind::Temp) + read(1, SensorKind::Temp), 0);
    EXPECT_EQ(read.boxes.boxes.size(), 3);

    // The producer ends and removes the block: the readings keep its last values, without a box.
    ASSERT_TRUE(block.publish(data));
    ASSERT_EQ(::shm_unlink(qPrintable(block.name)), 0);
    EXPECT_EQ(read(1, SensorKind::Temp), 40);
    EXPECT_EQ(read(1, SensorKind::Freq), 1800);
    EXPECT_EQ(read.boxes.boxes.size(), 3);
}
