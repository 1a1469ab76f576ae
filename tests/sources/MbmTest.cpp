#include "sources/mbm.h"

#include "support/QtPrinters.h"
#include "support/RecordingMessageBoxes.h"
#include "support/SensorReader.h"

#include <QtEndian>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

const QString kTitle = SensorReader::kTitle;

// The block as the producer lays it out, written field by field at the offsets it uses.
class Block {
public:
    explicit Block(const char* tag)
        : name(QStringLiteral("/relayeur-test-%1-%2").arg(::getpid()).arg(tag)), bytes(197, '\0') {}
    ~Block() { ::shm_unlink(qPrintable(name)); }

    void temp(int slot, qint32 v) { qToLittleEndian(v, bytes.data() + 4 * (slot - 1)); }
    void volt(int slot, double v) { putDouble(40 + 8 * (slot - 1), v); }
    void fan(int slot, qint32 v) { qToLittleEndian(v, bytes.data() + 120 + 4 * (slot - 1)); }
    void freq(qint32 v) { qToLittleEndian(v, bytes.data() + 160); }
    void charge(double v) { putDouble(168, v); }

    // Publishes the first `size` bytes.
    bool publish(qsizetype size = 197) const {
        const int fd = ::shm_open(qPrintable(name), O_CREAT | O_RDWR, 0600);
        if (fd < 0) {
            return false;
        }
        const bool written =
            ::ftruncate(fd, size) == 0 && ::pwrite(fd, bytes.constData(), size, 0) == size;
        ::close(fd);
        return written;
    }

    const QString name;

private:
    void putDouble(qsizetype offset, double v) {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        qToLittleEndian(bits, bytes.data() + offset);
    }
    QByteArray bytes;
};

using Reader = SensorReader;

} // namespace

TEST(MbmValue, EachKindReadsItsSlotAnd255MeansNoSensor) {
    Block block("fields");
    for (int slot = 1; slot <= 10; ++slot) {
        block.temp(slot, 30 + slot);
        block.volt(slot, slot + 0.5);
        block.fan(slot, 1000 * slot);
    }
    block.temp(3, 255);
    block.fan(3, 255);
    block.volt(3, 255.0);
    block.temp(4, 254);
    block.fan(4, 254);
    block.volt(4, 254.0);
    block.freq(2694);
    block.charge(37.25);
    ASSERT_TRUE(block.publish());
    Reader read(block.name);

    EXPECT_EQ(read(1, "temp"), 31);
    EXPECT_EQ(read(10, "temp"), 40);
    EXPECT_EQ(read(1, "volt"), 1.5);
    EXPECT_EQ(read(10, "volt"), 10.5);
    EXPECT_EQ(read(1, "fan"), 1000);
    EXPECT_EQ(read(10, "fan"), 10000);
    for (const char* kind : {"temp", "volt", "fan"}) {
        EXPECT_EQ(read(3, kind), 0) << kind;
        EXPECT_EQ(read(4, kind), 254) << kind;
        for (const qint16 index : {qint16(0), qint16(11), qint16(-1), qint16(-32768)}) {
            EXPECT_EQ(read(index, kind), 0) << kind << index;
        }
    }
    for (const qint16 index : {qint16(-1), qint16(1), qint16(11)}) {
        EXPECT_EQ(read(index, "freq"), 2694) << index;
        EXPECT_EQ(read(index, "charge"), 37.25) << index;
    }
    for (const char* kind : {"Temp", "FAN", "Freq", "charge ", "", "frq"}) {
        EXPECT_EQ(read(1, kind), 0) << kind;
    }
    EXPECT_TRUE(read.boxes.boxes.isEmpty());
}

TEST(MbmValue, VoltsAreRoundedToHundredthsHalvesToEven) {
    Block block("volts");
    block.volt(1, 1.125);
    block.volt(2, 1.375);
    block.volt(3, 2.675);
    block.volt(4, -1.125);
    block.volt(5, 12.3456);
    ASSERT_TRUE(block.publish());
    Reader read(block.name);
    EXPECT_EQ(read(1, "volt"), 1.12);
    EXPECT_EQ(read(2, "volt"), 1.38);
    EXPECT_EQ(read(3, "volt"), 2.68);
    EXPECT_EQ(read(4, "volt"), -1.12);
    EXPECT_EQ(read(5, "volt"), 12.35);

    // Each is stored a hair off its decimal value; rounding 100 times the double gets these
    // wrong, in both directions.
    EXPECT_EQ(roundToHundredths(0.545), 0.54);
    EXPECT_EQ(roundToHundredths(0.575), 0.58);
    EXPECT_EQ(roundToHundredths(1.015), 1.02);
    EXPECT_EQ(roundToHundredths(9.995), 10.0);
    EXPECT_EQ(roundToHundredths(1e20), 1e20);
    EXPECT_FALSE(std::signbit(roundToHundredths(-0.001))) << "-0 would show on the panel";
}

TEST(MbmRead, AMissingOrShortBlockShowsOneBoxUntilItReadsAgain) {
    Block block("missing");
    block.temp(1, 40);
    block.freq(1800);
    Reader read(block.name);

    const MbmData none = MbmRead(read.link, read.boxes, kTitle);
    EXPECT_EQ(none.Temp, (std::array<qint32, 10>{}));
    EXPECT_EQ(none.Volt, (std::array<double, 10>{}));
    EXPECT_EQ(none.Fan, (std::array<qint32, 10>{}));
    EXPECT_EQ(none.Freq, 0);
    EXPECT_EQ(none.Charge, 0);
    EXPECT_EQ(read(1, "freq"), 0);
    ASSERT_EQ(read.boxes.boxes.size(), 1);
    EXPECT_EQ(read.boxes.boxes[0].title, kTitle);
    EXPECT_EQ(read.boxes.boxes[0].text, "MBM Data File/Mem could not be opened. Sorry.");
    EXPECT_EQ(read.boxes.boxes[0].icon, MessageIcon::None);

    ASSERT_TRUE(block.publish(196));
    EXPECT_EQ(read(1, "temp"), 0) << "one byte short of the record";
    ASSERT_TRUE(block.publish());
    EXPECT_EQ(read(1, "temp"), 40);
    EXPECT_EQ(read.boxes.boxes.size(), 1);

    // The producer stops again: the user hears of it again, once.
    ::shm_unlink(qPrintable(block.name));
    EXPECT_EQ(read(1, "freq"), 0);
    EXPECT_EQ(read(1, "freq"), 0);
    EXPECT_EQ(read.boxes.boxes.size(), 2);
}
