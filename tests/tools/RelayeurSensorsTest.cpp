// relayeur-sensors: the slots it fills from a hwmon tree, the bytes it writes, and the program
// itself read back through MbmValue as Relayeur reads it.
#include "relayeur-sensors/Block.h"
#include "relayeur-sensors/Readings.h"
#include "support/QtPrinters.h"
#include "support/SensorReader.h"
#include "support/TempDir.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// A hwmon tree made of plain files.
struct FakeHwmon : TempDir {
    std::filesystem::path root() const { return path().toStdString(); }
};

// Two chips, listed by the kernel in an order that plain sorting gets wrong.
void twoChips(const FakeHwmon& tree) {
    tree.write("hwmon2/name", "coretemp\n");
    tree.write("hwmon2/temp1_input", "45500\n");
    tree.write("hwmon2/temp1_label", "Package id 0\n");
    tree.write("hwmon2/temp10_input", "41000\n");
    tree.write("hwmon2/temp2_input", "43000\n");
    tree.write("hwmon2/temp2_label", "Core 0\n");
    tree.write("hwmon10/name", "nct6775\n");
    tree.write("hwmon10/temp1_input", "38000\n");
    tree.write("hwmon10/temp1_label", "SYSTIN\n");
    tree.write("hwmon10/temp1_max", "80000\n");
    tree.write("hwmon10/in0_input", "1200\n");
    tree.write("hwmon10/in0_label", "Vcore\n");
    tree.write("hwmon10/in1_input", "3312\n");
    tree.write("hwmon10/in1_min", "3000\n");
    tree.write("hwmon10/fan1_input", "");
    tree.write("hwmon10/fan2_input", "1500\n");
    tree.write("hwmon10/fan10_input", "800\n");
    tree.write("hwmon10/intrusion0_alarm", "0\n");
    tree.write("thermal/temp1_input", "99000\n");
}

QString blockName(const char* tag) {
    return QStringLiteral("/relayeur-test-%1-%2").arg(::getpid()).arg(tag);
}

struct Finished {
    int exitCode = -1;
    QString output;
    QString errors;
};

Finished runSensors(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(RELAYEUR_SENSORS_BINARY), arguments);
    Finished run;
    if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit) {
        run.exitCode = process.exitCode();
    }
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// Removes the block even when a test stops half-way.
struct BlockGuard {
    QString name;
    ~BlockGuard() { ::shm_unlink(qPrintable(name)); }
};

} // namespace

TEST(ScanHwmon, ChipsAndInputsInNaturalOrderEachKindFromSlotOne) {
    FakeHwmon tree;
    twoChips(tree);
    const SlotAssignment slots = assignSlots(listHwmon(tree.root()));

    const std::vector<std::string> expected = {
        "temp1 <- coretemp Package id 0 (hwmon2/temp1_input)",
        "temp2 <- coretemp Core 0 (hwmon2/temp2_input)",
        "temp3 <- coretemp (hwmon2/temp10_input)",
        "temp4 <- nct6775 SYSTIN (hwmon10/temp1_input)",
        "volt1 <- nct6775 Vcore (hwmon10/in0_input)",
        "volt2 <- nct6775 (hwmon10/in1_input)",
        "fan1 <- nct6775 (hwmon10/fan2_input)",
        "fan2 <- nct6775 (hwmon10/fan10_input)",
    };
    EXPECT_EQ(describeSlots(slots), expected);
    EXPECT_EQ(slots.unreadable, 1) << "fan1_input holds no number";

    const MbmData data = readSensors(slots);
    EXPECT_EQ(data.Temp, (std::array<qint32, 10>{46, 43, 41, 38, 255, 255, 255, 255, 255, 255}));
    EXPECT_EQ(data.Volt,
              (std::array<double, 10>{1.2, 3.312, 255, 255, 255, 255, 255, 255, 255, 255}));
    EXPECT_EQ(data.Fan,
              (std::array<qint32, 10>{1500, 800, 255, 255, 255, 255, 255, 255, 255, 255}));
}

TEST(ScanHwmon, TenSlotsPerKindAndSensorsThatStopReading) {
    FakeHwmon tree;
    for (int i = 1; i <= 12; ++i) {
        tree.write(QStringLiteral("hwmon0/temp%1_input").arg(i), QByteArray::number(i * 1000));
    }
    tree.write("hwmon0/fan1_input", "900");
    tree.write("hwmon1/temp1_input", "-5500"); // no name file: the directory names the chip
    const SlotAssignment slots = assignSlots(listHwmon(tree.root()));

    ASSERT_EQ(slots.temps.size(), 10u);
    EXPECT_EQ(slots.temps[9].where, "hwmon0/temp10_input");
    EXPECT_EQ(slots.leftOut, 3);
    EXPECT_TRUE(assignSlots(listHwmon(tree.root() / "missing")).empty());

    ASSERT_TRUE(QFile::remove(tree.file("hwmon0/temp3_input")));
    tree.write("hwmon0/fan1_input", "gone");
    const MbmData data = readSensors(slots);
    EXPECT_EQ(data.Temp[1], 2);
    EXPECT_EQ(data.Temp[2], 255);
    EXPECT_EQ(data.Fan[0], 255);

    ASSERT_TRUE(QDir(tree.file("hwmon0")).removeRecursively());
    const SlotAssignment only = assignSlots(listHwmon(tree.root()));
    EXPECT_EQ(describeSlots(only),
              std::vector<std::string>{"temp1 <- hwmon1 (hwmon1/temp1_input)"});
    EXPECT_EQ(readSensors(only).Temp[0], -6);
}

TEST(SerialiseBlock, FieldsAtTheirOffsetsLittleEndian) {
    MbmData data;
    data.Temp[9] = 0x01020304;
    data.Volt[0] = 1.0; // 0x3FF0000000000000
    data.Fan[9] = -10;
    data.Freq = 0x0A0B0C0D;
    data.Charge = -2.5; // 0xC004000000000000
    const QByteArray bytes = serialiseBlock(data);

    ASSERT_EQ(bytes.size(), 197);
    EXPECT_EQ(bytes.mid(36, 4), QByteArray("\x04\x03\x02\x01", 4));
    EXPECT_EQ(bytes.mid(40, 8), QByteArray("\0\0\0\0\0\0\xF0\x3F", 8));
    EXPECT_EQ(bytes.mid(156, 4), QByteArray("\xF6\xFF\xFF\xFF", 4));
    EXPECT_EQ(bytes.mid(160, 4), QByteArray("\x0D\x0C\x0B\x0A", 4));
    EXPECT_EQ(bytes.mid(168, 8), QByteArray("\0\0\0\0\0\0\x04\xC0", 8));
    EXPECT_EQ(bytes.count('\0'), 197 - 4 - 2 - 4 - 4 - 2);
}

TEST(ProcessorReadings, LoadFromProcStatAndFrequency) {
    // user nice system idle iowait irq softirq steal guest guest_nice
    const std::optional<CpuTimes> before = parseCpuTimes("cpu  100 0 50 800 50 0 0 0 30 0\n");
    const std::optional<CpuTimes> after =
        parseCpuTimes("cpu  160 0 70 880 60 5 5 0 40 0\ncpu0 80 0 35 440 30 2 3 0 20 0\n");
    ASSERT_TRUE(before && after);
    // 90 busy (60 user, 20 system, 10 irq) out of 180; guest time is already part of user.
    EXPECT_DOUBLE_EQ(loadPercent(*before, *after), 50.0);
    EXPECT_EQ(loadPercent(*after, *before), 0.0);
    EXPECT_DOUBLE_EQ(loadPercent(*before, *parseCpuTimes("cpu  101 0 50 802 50 0 0 0 30 0\n")),
                     33.3)
        << "a tenth of a percent, not a dozen digits on the panel";
    EXPECT_FALSE(parseCpuTimes("cpu0 1 2 3 4\n").has_value());

    TempDir dir;
    const std::filesystem::path cpufreq = dir.file("scaling_cur_freq").toStdString();
    const std::filesystem::path cpuinfo = dir.file("cpuinfo").toStdString();
    EXPECT_EQ(cpuFrequencyMhz(cpufreq, cpuinfo), 0);
    dir.write("cpuinfo", "processor\t: 0\nmodel name\t: Example CPU @ 2.70GHz\n"
                         "cpu MHz\t\t: 1799.998\n\nprocessor\t: 1\ncpu MHz\t\t: 2694.862\n");
    EXPECT_EQ(cpuFrequencyMhz(cpufreq, cpuinfo), 1800);
    dir.write("scaling_cur_freq", "2694862\n");
    EXPECT_EQ(cpuFrequencyMhz(cpufreq, cpuinfo), 2695);
}

TEST(RelayeurSensorsProgram, OnceWritesABlockThatRelayeurReadsWithOrWithoutHwmon) {
    FakeHwmon tree;
    twoChips(tree);
    const BlockGuard block{blockName("once")};

    const Finished once = runSensors({"--once", "--name", block.name, "--hwmon", tree.path()});
    ASSERT_EQ(once.exitCode, 0) << once.output.toStdString();
    EXPECT_TRUE(once.output.startsWith("temp1 <- coretemp Package id 0 (hwmon2/temp1_input)\n"))
        << once.output.toStdString();

    SensorReader read(block.name);
    EXPECT_EQ(read(1, SensorKind::Temp), 46);
    EXPECT_EQ(read(4, SensorKind::Temp), 38);
    EXPECT_EQ(read(5, SensorKind::Temp), 0) << "no sensor";
    EXPECT_EQ(read(2, SensorKind::Volt), 3.31);
    EXPECT_EQ(read(2, SensorKind::Fan), 800);
    const double charge = read(1, SensorKind::Charge);
    EXPECT_TRUE(charge >= 0 && charge <= 100) << charge;
    EXPECT_GE(read(1, SensorKind::Freq), 0);
    EXPECT_TRUE(read.boxes.boxes.isEmpty());

    EXPECT_EQ(runSensors({"--remove", "--name", block.name}).exitCode, 0);
    EXPECT_FALSE(SharedMemory::openReadOnly(block.name, MbmLayout::kSize).has_value());
    EXPECT_EQ(runSensors({"--remove", "--name", block.name}).exitCode, 0) << "nothing to remove";
    EXPECT_EQ(runSensors({"--name"}).exitCode, 2);

    // Without hwmon only the processor is published.
    const Finished bare =
        runSensors({"--once", "--name", block.name, "--hwmon", tree.file("no-such-dir")});
    ASSERT_EQ(bare.exitCode, 0);
    EXPECT_TRUE(bare.output.startsWith("Aucun capteur matériel")) << bare.output.toStdString();
    SensorReader bareRead(block.name);
    const MbmData data = MbmRead(bareRead.link, bareRead.boxes, SensorReader::kTitle);
    for (int slot = 0; slot < 10; ++slot) {
        EXPECT_EQ(std::tuple(data.Temp[slot], data.Volt[slot], data.Fan[slot]),
                  std::tuple(255, 255.0, 255))
            << slot;
    }
}

TEST(RelayeurSensorsProgram, PublishesAloneEverySecondAndRemovesTheBlockOnSigterm) {
    FakeHwmon tree;
    twoChips(tree);
    const BlockGuard block{blockName("loop")};

    QProcess process;
    process.start(QStringLiteral(RELAYEUR_SENSORS_BINARY),
                  {"--name", block.name, "--hwmon", tree.path()});
    QString output;
    while (!output.contains("Publication chaque seconde") && process.waitForReadyRead(30000)) {
        output += QString::fromUtf8(process.readAllStandardOutput());
    }
    ASSERT_TRUE(output.contains("Publication chaque seconde")) << output.toStdString();

    SensorReader read(block.name);
    EXPECT_EQ(read(1, SensorKind::Temp), 46);

    // A new reading reaches the block with one of the next writes, each seen through inotify.
    const int watch = ::inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    const QByteArray shmFile = "/dev/shm" + block.name.toLocal8Bit();
    ASSERT_GE(::inotify_add_watch(watch, shmFile.constData(), IN_MODIFY), 0);
    tree.write("hwmon2/temp1_input", "61000\n");
    int writes = 0;
    while (read(1, SensorKind::Temp) != 61 && writes < 5) {
        pollfd event{watch, POLLIN, 0};
        if (::poll(&event, 1, 10000) != 1) {
            break;
        }
        char buffer[4096];
        if (::read(watch, buffer, sizeof buffer) > 0) {
            ++writes;
        }
    }
    ::close(watch);
    EXPECT_EQ(read(1, SensorKind::Temp), 61);

    // A second publisher, a single reading or a removal leaves the block to the one running.
    FakeHwmon other;
    other.write("hwmon0/temp1_input", "20000\n");
    const std::pair<QStringList, QString> intruders[] = {
        {{}, "un autre relayeur-sensors publie déjà le bloc " + block.name},
        {{"--once"}, "un autre relayeur-sensors publie déjà le bloc " + block.name},
        {{"--remove"}, "le bloc " + block.name + " est publié par un relayeur-sensors en cours"},
    };
    for (const auto& [options, refusal] : intruders) {
        const Finished second =
            runSensors(options + QStringList{"--name", block.name, "--hwmon", other.path()});
        EXPECT_EQ(second.exitCode, 1) << options.join(' ').toStdString();
        EXPECT_TRUE(second.errors.contains(refusal)) << second.errors.toStdString();
        EXPECT_EQ(read(1, SensorKind::Temp), 61) << options.join(' ').toStdString();
    }

    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_FALSE(SharedMemory::openReadOnly(block.name, MbmLayout::kSize).has_value());
    EXPECT_EQ(read(1, SensorKind::Temp), 61) << "the last value published stays";
    EXPECT_TRUE(read.boxes.boxes.isEmpty());
}
