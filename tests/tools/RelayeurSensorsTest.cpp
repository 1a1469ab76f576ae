// relayeur-sensors: the processor readings, and the program itself filling the block from a hwmon
// tree, read back through MbmValue as Relayeur reads it.
#include "relayeur-sensors/Block.h"
#include "relayeur-sensors/Readings.h"
#include "support/QtPrinters.h"
#include "support/RunningProgram.h"
#include "support/SensorReader.h"
#include "support/TempDir.h"

#include <QFileSystemWatcher>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

const QString kSensors = QStringLiteral(RELAYEUR_SENSORS_BINARY);

// Three chips, listed by the kernel in an order that plain sorting gets wrong, the last without
// a name, beside files that are no sensor inputs: each entry is a file and what it holds.
void threeChips(const TempDir& tree) {
    for (const char* file :
         {"hwmon2/name=coretemp", "hwmon2/temp1_input=45500", "hwmon2/temp1_label=Package id 0",
          "hwmon2/temp10_input=41000", "hwmon2/temp2_input=43000", "hwmon2/temp2_label=Core 0",
          "hwmon10/name=nct6775", "hwmon10/temp1_input=38000", "hwmon10/temp1_max=80000",
          "hwmon10/in0_input=1200", "hwmon10/in0_label=Vcore", "hwmon10/fan1_input=",
          "hwmon10/fan2_input=1500", "hwmon11/temp1_input=-5500", "thermal/temp1_input=99000"}) {
        const QByteArrayList parts = QByteArray(file).split('=');
        tree.write(parts[0], parts[1] + "\n");
    }
}

// A block of its own, removed even when a test stops half-way.
struct Block {
    QString name;
    explicit Block(const char* tag)
        : name(QStringLiteral("/relayeur-test-%1-%2").arg(::getpid()).arg(tag)) {}
    ~Block() { ::shm_unlink(qPrintable(name)); }
};

} // namespace

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

TEST(RelayeurSensors, OnePublisherFillsTheSlotsEverySecondAndItsValuesStayAfterSigterm) {
    TempDir tree;
    threeChips(tree);
    const Block block("loop");
    QProcess process;
    process.start(kSensors, {"--name", block.name, "--hwmon", tree.path()});
    QStringList seen;
    ASSERT_TRUE(waitForLine(
        process, QProcess::StandardOutput,
        [](const QString& line) { return line.startsWith("Publication chaque seconde"); }, seen))
        << seen.join('\n').toStdString();
    EXPECT_EQ(
        seen.mid(0, 8),
        QStringList(
            {"temp1 <- coretemp Package id 0 (hwmon2/temp1_input)",
             "temp2 <- coretemp Core 0 (hwmon2/temp2_input)",
             "temp3 <- coretemp (hwmon2/temp10_input)", "temp4 <- nct6775 (hwmon10/temp1_input)",
             "temp5 <- hwmon11 (hwmon11/temp1_input)", "volt1 <- nct6775 Vcore (hwmon10/in0_input)",
             "fan1 <- nct6775 (hwmon10/fan2_input)", "1 capteur(s) illisible(s) : non publiés."}));
    SensorReader read(block.name);
    EXPECT_EQ(read(1, SensorKind::Temp), 46);

    // New readings reach the block with one of the next writes; a sensor that stops reading
    // shows as none.
    QFileSystemWatcher watcher({"/dev/shm" + block.name});
    QSignalSpy written(&watcher, &QFileSystemWatcher::fileChanged);
    ASSERT_TRUE(QFile::remove(tree.file("hwmon2/temp2_input")));
    tree.write("hwmon10/fan2_input", "gone\n");
    tree.write("hwmon2/temp1_input", "61000\n"); // read first in a sample, so written last
    for (int writes = 0; read(1, SensorKind::Temp) != 61 && writes < 5 && written.wait(10000);
         ++writes) {
    }
    EXPECT_EQ(
        std::tuple(read(1, SensorKind::Temp), read(2, SensorKind::Temp), read(1, SensorKind::Fan)),
        std::tuple(61.0, 0.0, 0.0));

    // A second publisher, a single reading or a removal leaves the block to the one running.
    const std::pair<QStringList, QString> intruders[] = {
        {{}, "un autre relayeur-sensors publie déjà le bloc " + block.name},
        {{"--once"}, "un autre relayeur-sensors publie déjà le bloc " + block.name},
        {{"--remove"}, "le bloc " + block.name + " est publié par un relayeur-sensors en cours"},
    };
    for (const auto& [options, refusal] : intruders) {
        const Finished second = runToEnd(
            kSensors, options + QStringList{"--name", block.name, "--hwmon", tree.file("none")});
        EXPECT_EQ(second.exitCode, 1) << options.join(' ').toStdString();
        EXPECT_TRUE(second.err.contains(refusal)) << second.err.toStdString();
        EXPECT_EQ(read(1, SensorKind::Temp), 61) << options.join(' ').toStdString();
    }

    EXPECT_EQ(terminate(process), 0);
    EXPECT_FALSE(SharedMemory::openReadOnly(block.name, MbmLayout::kSize).has_value());
    EXPECT_EQ(read(1, SensorKind::Temp), 61) << "the last value published stays";
    EXPECT_TRUE(read.boxes.boxes.isEmpty());
}

TEST(RelayeurSensors, OnceLeavesOneReadingInTheBlockAsMotherboardMonitorLaidItOut) {
    TempDir tree;
    threeChips(tree);
    const Block block("once");
    const Finished once =
        runToEnd(kSensors, {"--once", "--name", block.name, "--hwmon", tree.path()});
    EXPECT_EQ(once.exitCode, 0);
    EXPECT_TRUE(once.out.contains("temp1 = 46 °C\n")) << once.out.toStdString();
    // Little-endian slots of temperatures (4 bytes), volts (8) and fans (4), then the frequency
    // (4) and the load (8).
    QFile shm("/dev/shm" + block.name);
    ASSERT_TRUE(shm.open(QIODevice::ReadOnly));
    const QByteArray bytes = shm.readAll();
    ASSERT_EQ(bytes.size(), 197);
    EXPECT_EQ(bytes.left(24),
              QByteArray("\x2E\0\0\0\x2B\0\0\0\x29\0\0\0\x26\0\0\0\xFA\xFF\xFF\xFF\xFF\0\0\0", 24))
        << "46, 43, 41, 38 and -6 °C, then no sensor";
    EXPECT_EQ(bytes.mid(40, 8), QByteArray("\x33\x33\x33\x33\x33\x33\xF3\x3F", 8)); // 1.2 V
    EXPECT_EQ(bytes.mid(120, 8), QByteArray("\xDC\x05\0\0\xFF\0\0\0", 8));          // 1500, none
    SensorReader read(block.name);
    EXPECT_EQ(std::pair(read(1, SensorKind::Temp), read(1, SensorKind::Volt)),
              std::pair(46.0, 1.2));

    // Ten slots of a kind at most; without hwmon only the processor is published.
    TempDir many;
    for (int i = 1; i <= 12; ++i) {
        many.write(QStringLiteral("hwmon0/fan%1_input").arg(i), "900\n");
    }
    EXPECT_TRUE(runToEnd(kSensors, {"--once", "--name", block.name, "--hwmon", many.path()})
                    .out.contains("fan10 <- hwmon0 (hwmon0/fan10_input)\n2 capteur(s) de plus"));
    const Finished bare =
        runToEnd(kSensors, {"--once", "--name", block.name, "--hwmon", tree.file("none")});
    EXPECT_TRUE(bare.out.startsWith("Aucun capteur matériel")) << bare.out.toStdString();
    EXPECT_EQ(runToEnd(kSensors, {"--remove", "--name", block.name}).out,
              "Bloc " + block.name + " retiré.\n");
    EXPECT_FALSE(SharedMemory::openReadOnly(block.name, MbmLayout::kSize).has_value());
    EXPECT_TRUE(
        runToEnd(kSensors, {"--remove", "--name", block.name}).out.startsWith("Aucun bloc"));
    EXPECT_EQ(runToEnd(kSensors, {"--name"}).exitCode, 2);
}
