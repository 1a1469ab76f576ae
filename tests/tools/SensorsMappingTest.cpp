// relayeur-sensors: which sensor sensors.ini puts in which slot, over chips and features as
// libsensors lists them, and a service that says it is ready only once the block is there.
#include "platform/FileDescriptor.h"
#include "relayeur-sensors/Readings.h"
#include "relayeur-sensors/SensorsIni.h"
#include "support/TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/un.h>

namespace {

Sensor sensor(SlotKind kind, const char* chip, const char* feature, const char* label,
              std::optional<double> value) {
    return {kind, chip, feature, label, feature, [value] { return value; }};
}

// Three chips as libsensors names them, two of the same kind; libsensors gives a feature
// without a label its name as label.
const std::vector<Sensor> kMachine = {
    sensor(SlotKind::Temp, "coretemp-isa-0000", "temp1", "Package id 0", 45.5),
    sensor(SlotKind::Temp, "coretemp-isa-0000", "temp2", "Core 0", 43),
    sensor(SlotKind::Temp, "coretemp-isa-0000", "temp3", "Core 1", std::nullopt),
    sensor(SlotKind::Temp, "nct6775-isa-0290", "temp1", "SYSTIN", 38),
    sensor(SlotKind::Volt, "nct6775-isa-0290", "in0", "Vcore", 1.2),
    sensor(SlotKind::Volt, "nct6775-isa-0290", "in1", "in1", 3.312),
    sensor(SlotKind::Fan, "nct6775-isa-0290", "fan1", "fan1", 0),
    sensor(SlotKind::Fan, "nct6775-isa-0290", "fan2", "CPU fan", 1500),
    sensor(SlotKind::Temp, "nvme-pci-0100", "temp1", "Composite", 35),
    sensor(SlotKind::Temp, "nvme-pci-0200", "temp1", "Composite", 40),
};

} // namespace

TEST(SensorsIni, PutsChipsAndLabelsInTheirSlots) {
    const std::string volt1 = "volt1 <- nct6775-isa-0290 Vcore (in0)";
    const std::string volt2 = "volt2 <- nct6775-isa-0290 (in1)";
    const std::string fan1 = "fan1 <- nct6775-isa-0290 (fan1)";
    const std::string fan2 = "fan2 <- nct6775-isa-0290 CPU fan (fan2)";
    struct Case {
        const char* ini; // nullptr: no file
        std::vector<std::string> slots;
        std::vector<qint32> temps; // the block's first temperatures
    };
    const Case cases[] = {
        {nullptr,
         {"temp1 <- coretemp-isa-0000 Package id 0 (temp1)",
          "temp2 <- coretemp-isa-0000 Core 0 (temp2)", "temp3 <- nct6775-isa-0290 SYSTIN (temp1)",
          "temp4 <- nvme-pci-0100 Composite (temp1)", "temp5 <- nvme-pci-0200 Composite (temp1)",
          volt1, volt2, fan1, fan2},
         {46, 43, 38, 35, 40, 255}},
        // By the chip's first part or whole name, by label or feature; one sensor, one slot.
        {"[capteurs]\ntemp1=nvme:Composite\ntemp2=nvme:Composite\ntemp4=coretemp-isa-0000:Core 0\n"
         "fan1=CPU fan\nFAN2 = nct6775 : fan1\n",
         {"temp1 <- nvme-pci-0100 Composite (temp1)", "temp2 <- nvme-pci-0200 Composite (temp1)",
          "temp4 <- coretemp-isa-0000 Core 0 (temp2)", volt1, volt2,
          "fan1 <- nct6775-isa-0290 CPU fan (fan2)", "fan2 <- nct6775-isa-0290 (fan1)"},
         {35, 40, 255, 43, 255}},
        // A sensor that does not read, one of another kind, a chip named by half a word; a slot
        // left empty on purpose.
        {"[capteurs]\ntemp1=coretemp:Core 1\ntemp2=nct6775:in0\ntemp3=\ntemp4=nvm:Composite\n"
         "volt2=in0\n",
         {"temp1 <- coretemp:Core 1 : introuvable", "temp2 <- nct6775:in0 : introuvable",
          "temp4 <- nvm:Composite : introuvable", "volt2 <- nct6775-isa-0290 Vcore (in0)", fan1,
          fan2},
         {255, 255, 255, 255}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        if (c.ini != nullptr) {
            dir.write("sensors.ini", c.ini);
        }
        const SensorsIni ini = loadSensorsIni(dir.file("sensors.ini").toStdString());
        EXPECT_EQ(ini.found, c.ini != nullptr);
        EXPECT_TRUE(ini.problems.empty());
        const SlotAssignment slots = assignSlots(kMachine, ini.map);
        EXPECT_EQ(describeSlots(slots), c.slots) << (c.ini ? c.ini : "no file");
        EXPECT_EQ(slots.unreadable, 1);
        const MbmData data = readSensors(slots);
        EXPECT_EQ(std::vector<qint32>(data.Temp.begin(), data.Temp.begin() + c.temps.size()),
                  c.temps);
    }

    TempDir dir;
    dir.write("sensors.ini", "[sensors]\ntemp1=SYSTIN\n");
    const SensorsIni wrong = loadSensorsIni(dir.file("sensors.ini").toStdString());
    ASSERT_EQ(wrong.problems.size(), 1u);
    EXPECT_TRUE(wrong.problems[0].ends_with("pas de section [capteurs] : ordre par défaut"));
    EXPECT_EQ(describeSlots(assignSlots(kMachine, wrong.map)),
              describeSlots(assignSlots(kMachine)));
}

TEST(SensorsIni, ListShowsEverySensorWithItsValueAndSlot) {
    const std::vector<std::string> lines = listSensors(kMachine, assignSlots(kMachine));
    ASSERT_EQ(lines.size(), kMachine.size());
    EXPECT_EQ(lines[0], "coretemp-isa-0000  temp1 « Package id 0 »  45.5 °C      -> temp1");
    EXPECT_EQ(lines[2], "coretemp-isa-0000  temp3 « Core 1 »        illisible    -> aucun");
    EXPECT_EQ(lines[5], "nct6775-isa-0290   in1                     3.312 V      -> volt2");
    EXPECT_EQ(lines[7], "nct6775-isa-0290   fan2 « CPU fan »        1500 tr/min  -> fan2");
}

// Under systemd (Type=notify) the service counts as started when it says it is ready: by then
// Relayeur, started after it, must find the block.
TEST(SensorsService, ReadyOnlyOnceTheBlockIsPublished) {
    TempDir dir;
    dir.write("hwmon0/temp1_input", "40000\n");
    const QString socketPath = dir.file("notify");
    const FileDescriptor listener(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, qPrintable(socketPath), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener.get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    const QString block = QStringLiteral("/relayeur-test-%1-notify").arg(::getpid());
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("NOTIFY_SOCKET"), socketPath);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(RELAYEUR_SENSORS_BINARY),
                  {"--name", block, "--hwmon", dir.path()});

    pollfd ready{listener.get(), POLLIN, 0};
    ASSERT_EQ(::poll(&ready, 1, 30000), 1);
    char message[64] = {};
    EXPECT_GT(::recv(listener.get(), message, sizeof message - 1, 0), 0);
    EXPECT_STREQ(message, "READY=1");
    const bool published = SharedMemory::openReadOnly(block, MbmLayout::kSize).has_value();
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    process.waitForFinished(30000);
    ::shm_unlink(qPrintable(block));
    EXPECT_TRUE(published);
}
