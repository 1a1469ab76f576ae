// relayeur-sensors: the processor readings, and the program itself filling the block from a hwmon
// tree, read back byte by byte and through MbmValue as Relayeur reads it.
#include "relayeur-sensors/Block.h"
#include "relayeur-sensors/Readings.h"
#include "support/QtPrinters.h"
#include "support/RunningProgram.h"
#include "support/SensorReader.h"
#include "support/TempDir.h"

#include <QFileSystemWatcher>
#include <QScopeGuard>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

const QString kSensors = QStringLiteral(RELAYEUR_SENSORS_BINARY);

TEST(ProcessorReadings, LoadFromProcStatAndFrequency) {
    // user nice system idle iowait irq softirq steal guest guest_nice
    const auto before = parseCpuTimes("cpu  100 0 50 800 50 0 0 0 30 0\n");
    const auto after =
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

// One publisher fills the block every second and, on SIGTERM, removes it; Relayeur keeps the
// last values. Alone, --once leaves one reading in the block until --remove.
TEST(RelayeurSensors, PublishesAloneUntilSigtermAndOnceLaysTheBlockOutAsMotherboardMonitor) {
    // Three chips, listed by the kernel in an order that plain sorting gets wrong, the last without
    // a name, beside files that are no sensor inputs: each entry is a file and what it holds.
    TempDir tree;
    for (const char* file :
         {"hwmon2/name=coretemp", "hwmon2/temp1_input=45500", "hwmon2/temp1_label=Package id 0",
          "hwmon2/temp2_input=43000", "hwmon2/temp2_label=Core 0", "hwmon10/name=nct6775",
          "hwmon10/temp1_input=38000", "hwmon10/temp1_max=80000", "hwmon10/in0_input=1200",
          "hwmon10/in0_label=Vcore", "hwmon10/fan1_input=", "hwmon10/fan2_input=1500",
          "hwmon11/temp1_input=-5500", "thermal/temp1_input=99000"}) {
        const QByteArrayList parts = QByteArray(file).split('=');
        tree.write(parts[0], parts[1] + "\n");
    }
    const QString block = QStringLiteral("/relayeur-test-%1").arg(::getpid());
    const auto removeBlock = qScopeGuard([&] { ::shm_unlink(qPrintable(block)); });
    QProcess process;
    process.start(kSensors, {"--name", block, "--hwmon", tree.path()});
    QStringList seen;
    ASSERT_TRUE(waitForLine(process, QProcess::StandardOutput, "Publication chaque seconde", seen))
        << seen.join('\n').toStdString();
    EXPECT_EQ(seen.mid(0, 7), QStringList({"temp1 <- coretemp Package id 0 (hwmon2/temp1_input)",
                                           "temp2 <- coretemp Core 0 (hwmon2/temp2_input)",
                                           "temp3 <- nct6775 (hwmon10/temp1_input)",
                                           "temp4 <- hwmon11 (hwmon11/temp1_input)",
                                           "volt1 <- nct6775 Vcore (hwmon10/in0_input)",
                                           "fan1 <- nct6775 (hwmon10/fan2_input)",
                                           "1 capteur(s) illisible(s) : non publiés."}));
    SensorReader read(block);
    EXPECT_EQ(std::tuple(read(1, SensorKind::Temp), read(4, SensorKind::Temp),
                         read(1, SensorKind::Volt), read(1, SensorKind::Fan)),
              std::tuple(46.0, -6.0, 1.2, 1500.0));

    // New readings reach the block with one of the next writes; a sensor that stops reading
    // shows as none.
    QFileSystemWatcher watcher({"/dev/shm" + block});
    QSignalSpy written(&watcher, &QFileSystemWatcher::fileChanged);
    ASSERT_TRUE(QFile::remove(tree.file("hwmon11/temp1_input")));
    tree.write("hwmon10/fan2_input", "gone\n");
    tree.write("hwmon2/temp1_input", "61000\n"); // read first in a sample, so written last
    for (int writes = 0; read(1, SensorKind::Temp) != 61 && writes < 5 && written.wait(10000);
         ++writes) {
    }
    EXPECT_EQ(
        std::tuple(read(1, SensorKind::Temp), read(4, SensorKind::Temp), read(1, SensorKind::Fan)),
        std::tuple(61.0, 0.0, 0.0));

    // A second publisher, a single reading or a removal leaves the block to the one running.
    const std::pair<QStringList, QString> intruders[] = {
        {{}, "un autre relayeur-sensors publie déjà le bloc " + block},
        {{"--once"}, "un autre relayeur-sensors publie déjà le bloc " + block},
        {{"--remove"}, "le bloc " + block + " est publié par un relayeur-sensors en cours"},
    };
    for (const auto& [options, refusal] : intruders) {
        const Finished second = runToEnd(
            kSensors, options + QStringList{"--name", block, "--hwmon", tree.file("none")});
        EXPECT_EQ(second.exitCode, 1) << options.join(' ').toStdString();
        EXPECT_TRUE(second.err.contains(refusal)) << second.err.toStdString();
        EXPECT_EQ(read(1, SensorKind::Temp), 61) << options.join(' ').toStdString();
    }

    EXPECT_EQ(terminate(process), 0);
    EXPECT_FALSE(SharedMemory::openReadOnly(block, MbmLayout::kSize).has_value());
    EXPECT_EQ(read(1, SensorKind::Temp), 61) << "the last value published stays";

    const Finished once = runToEnd(kSensors, {"--once", "--name", block, "--hwmon", tree.path()});
    EXPECT_TRUE(once.out.contains("temp1 = 61 °C\n")) << once.out.toStdString();
    // Little-endian slots of temperatures (4 bytes), volts (8) and fans (4), then the frequency
    // (4) and the load (8).
    QFile shm("/dev/shm" + block);
    ASSERT_TRUE(shm.open(QIODevice::ReadOnly));
    const QByteArray bytes = shm.readAll();
    ASSERT_EQ(bytes.size(), 197);
    EXPECT_EQ(bytes.left(16), QByteArray("\x3D\0\0\0\x2B\0\0\0\x26\0\0\0\xFF\0\0\0", 16))
        << "61, 43 and 38 °C, then no sensor";
    EXPECT_EQ(bytes.mid(40, 8), QByteArray("\x33\x33\x33\x33\x33\x33\xF3\x3F", 8)); // 1.2 V
    EXPECT_EQ(bytes.mid(120, 4), QByteArray("\xFF\0\0\0", 4));                      // no fan

    // Without hwmon only the processor is published.
    const Finished bare =
        runToEnd(kSensors, {"--once", "--name", block, "--hwmon", tree.file("none")});
    EXPECT_TRUE(bare.out.startsWith("Aucun capteur matériel")) << bare.out.toStdString();
    EXPECT_EQ(runToEnd(kSensors, {"--remove", "--name=" + block}).out,
              "Bloc " + block + " retiré.\n");
    EXPECT_TRUE(runToEnd(kSensors, {"--remove", "--name", block}).out.startsWith("Aucun bloc"));
    const Finished noName = runToEnd(kSensors, {"--name"});
    EXPECT_EQ(noName.exitCode, 2);
    EXPECT_TRUE(noName.err.startsWith("relayeur-sensors : il manque une valeur après --name\n"))
        << noName.err.toStdString();

    // --list shows the sensors and the slots they would take, after what is wrong with the
    // settings, and publishes nothing.
    const QString ini = tree.file("sensors.ini");
    const std::tuple<const char*, QString, QString> lists[] = {
        {"[capteurs]\ntemp1=coretemp:Core 0\n", ini + ") :\n  temp1 <- coretemp Core 0 (", ""},
        {"temp1=nct6775\n", ini + ") :\n  temp1 <- coretemp Package id 0 (",
         ini + " : pas de section [capteurs] : ordre par défaut"},
        {nullptr, "ordre par défaut, " + ini + " absent) :\n  temp1 <- coretemp", ""}};
    for (const auto& [text, slots, complaint] : lists) {
        if (text) {
            tree.write("sensors.ini", text);
        } else {
            QFile::remove(ini);
        }
        const Finished list = runToEnd(
            kSensors, {"--list", "--name", block, "--hwmon", tree.path(), "--config", ini});
        EXPECT_EQ(list.exitCode, 0);
        EXPECT_TRUE(list.out.startsWith("Capteurs sous " + tree.path() + " :\n  coretemp"))
            << list.out.toStdString();
        EXPECT_TRUE(list.out.contains("Emplacements (" + slots)) << list.out.toStdString();
        EXPECT_EQ(list.err.trimmed(), complaint.isEmpty() ? "" : "relayeur-sensors : " + complaint);
    }
    EXPECT_FALSE(SharedMemory::openReadOnly(block, MbmLayout::kSize).has_value());
}
