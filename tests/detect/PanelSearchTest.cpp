// The search for panels against emulated buses and serial modules in a folder standing for /,
// the trial of a backpack's wirings, and the settings each kind of panel gets.
#include "detect/PanelSearch.h"

#include "EmulatedDevices.h"
#include "MatrixOrbitalModule.h"
#include "detect/PanelChoice.h"
#include "drivers/I2cBackpack.h"
#include "support/LcddServer.h"
#include "support/PseudoTerminal.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>
#include <atomic>
#include <gtest/gtest.h>
#include <poll.h>
#include <thread>

namespace {

// A machine's device folder in a temporary one: each bus a file that the emulation serves.
struct Machine {
    TempDir dir;
    DeviceDirs dirs = DeviceDirs::under(dir.path());

    Machine() { emulated::reset(); }
    ~Machine() { emulated::reset(); }
    QString bus(const QString& name) {
        const QString path = dir.write("dev/" + name, {});
        emulated::addI2cBus(path);
        return path;
    }
};

std::vector<std::pair<QString, int>> places(const std::vector<Candidate>& found) {
    std::vector<std::pair<QString, int>> seen;
    for (const Candidate& candidate : found) {
        seen.emplace_back(QFileInfo(candidate.device).fileName(), candidate.address);
    }
    return seen;
}

// A Matrix Orbital module at the far end of a pseudo-terminal, answering while it lives.
struct SerialModule {
    PseudoTerminal line;
    MatrixOrbitalModule module{20, 4};
    std::atomic<bool> stop{false};
    std::thread answering{[this] {
        while (!stop) {
            pollfd ready{line.master.get(), POLLIN, 0};
            if (::poll(&ready, 1, 20) == 1) {
                char bytes[64];
                const ssize_t got = ::read(line.master.get(), bytes, sizeof bytes);
                if (got > 0) {
                    const QByteArray answer = module.feed(QByteArray(bytes, got));
                    if (::write(line.master.get(), answer.constData(), answer.size()) < 0) {
                        return;
                    }
                }
            }
        }
    }};
    ~SerialModule() {
        stop = true;
        answering.join();
    }
};

// The program's texts as a user of another language gets them: each one marked.
class MarkingTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* source, const char*, int) const override {
        return QStringLiteral("EN ") + QString::fromUtf8(source);
    }
};

} // namespace

// Only expanders' addresses are asked, by a read: none, one and two backpacks are found on the
// buses that hold them, a device that is no expander answers but is never written to, and no
// module is changed by the search.
TEST(PanelSearch, FindsBackpacksOnEveryBusAndWritesNothing) {
    Machine machine;
    machine.bus("i2c-0");
    const QString one = machine.bus("i2c-1");
    const QString two = machine.bus("i2c-10");
    machine.bus("i2c-2");
    emulated::Module& alone = emulated::addBackpack(one, 0x27, *emulated::backpackWiring(1), 16, 2);
    emulated::addBackpack(two, 0x20, *emulated::backpackWiring(2), 20, 4);
    emulated::addBackpack(two, 0x3F, *emulated::backpackWiring(3), 20, 4);
    emulated::addI2cDevice(two, 0x3A, 0x5A);
    emulated::addI2cDevice(two, 0x50, 0x00); // an EEPROM: outside the expanders' addresses
    const QByteArray shown = alone.line(0);

    const std::vector<Candidate> found = searchI2c(machine.dirs, std::nullopt);
    EXPECT_EQ(places(found),
              (std::vector<std::pair<QString, int>>{
                  {"i2c-1", 0x27}, {"i2c-10", 0x20}, {"i2c-10", 0x3A}, {"i2c-10", 0x3F}}));
    for (const auto& [bus, address] :
         {std::pair{one, 0x27}, {two, 0x20}, {two, 0x3A}, {two, 0x3F}, {two, 0x50}}) {
        EXPECT_EQ(emulated::bytesWrittenTo(bus, address), 0) << bus.toStdString() << address;
    }
    EXPECT_EQ(alone.line(0), shown);
    EXPECT_TRUE(found[2].answered.contains("0x5A")) << found[2].answered.toStdString();
    EXPECT_TRUE(searchI2c(DeviceDirs::under(machine.dir.file("nothing")), {}).empty());

    // The panel a running copy drives, as its settings say, is listed as such and not asked.
    const QString settings = machine.dir.write(
        "param.ini", "[parametres]\nTypeLCD=5\n[ports]\nI2C=" + one.toUtf8() + "\nadresse=27\n");
    const std::vector<Candidate> running = searchI2c(machine.dirs, configuredPanel(settings));
    ASSERT_EQ(places(running), places(found));
    EXPECT_TRUE(running[0].inUse);
    EXPECT_FALSE(running[1].inUse);
}

// Each wiring tried shows « Relayeur » and its name only under the wiring the backpack has;
// only the backpack tried is written to.
TEST(PanelSearch, TryingAWiringShowsItsNameOnTheBackpack) {
    Machine machine;
    const QString bus = machine.bus("i2c-1");
    emulated::Module& module =
        emulated::addBackpack(bus, 0x3F, *emulated::backpackWiring(2), 20, 4);
    emulated::addI2cDevice(bus, 0x3A, 0x5A);
    Candidate backpack = searchI2c(machine.dirs, {}).back();
    ASSERT_EQ(backpack.address, 0x3F);
    ModuleSettings settings;
    settings.columns = 20;
    settings.lines = 4;

    QString error;
    ASSERT_TRUE(tryWiring(backpack, 1, settings, error)) << error.toStdString();
    EXPECT_NE(module.line(0), QByteArray("Relayeur").leftJustified(20));
    ASSERT_TRUE(tryWiring(backpack, 2, settings, error)) << error.toStdString();
    EXPECT_EQ(module.line(0), QByteArray("Relayeur").leftJustified(20));
    EXPECT_EQ(module.line(1), QByteArray("2 : D4-D7 P0-P3, RS "));
    EXPECT_TRUE(module.backlight()) << "lit, so that the words can be read";
    EXPECT_EQ(emulated::bytesWrittenTo(bus, 0x3A), 0);

    // In another language the user reads the wiring translated, and the panel still shows the
    // wiring's own words, which its character set holds.
    MarkingTranslator translator;
    QCoreApplication::installTranslator(&translator);
    const bool triedTranslated = tryWiring(backpack, 2, settings, error);
    const QString described = describeWiring(*findBackpackWiring(2));
    QCoreApplication::removeTranslator(&translator);
    ASSERT_TRUE(triedTranslated) << error.toStdString();
    EXPECT_EQ(module.line(1), QByteArray("2 : D4-D7 P0-P3, RS "));
    EXPECT_TRUE(described.startsWith("EN 2 : D4–D7 P0–P3")) << described.toStdString();

    backpack.address = 0x25;
    EXPECT_FALSE(tryWiring(backpack, 2, settings, error));
    EXPECT_FALSE(error.isEmpty());
}

// A Matrix Orbital module on a USB serial port is found with its steady name; a port whose device
// does not answer is not; /dev/lcd, a parallel port and a running LCDd are listed.
TEST(PanelSearch, FindsSerialModulesAndTheOtherKinds) {
    Machine machine;
    SerialModule module;
    PseudoTerminal silent;
    ASSERT_FALSE(module.line.slave.isEmpty());
    ASSERT_TRUE(QDir().mkpath(machine.dirs.dev));
    ASSERT_TRUE(QFile::link(module.line.slave, machine.dir.file("dev/ttyACM0")));
    ASSERT_TRUE(QFile::link(silent.slave, machine.dir.file("dev/ttyUSB0")));
    ASSERT_FALSE(machine.dir.write("dev/ttyS0", {}).isEmpty()); // never opened: a plain file
    const QString steady = machine.dir.file("dev/serial/by-id/usb-Matrix_Orbital-if00");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(steady).path()));
    ASSERT_TRUE(QFile::link("../../ttyACM0", steady));

    const std::vector<Candidate> serial = searchSerialModules(machine.dirs, std::nullopt);
    ASSERT_EQ(serial.size(), 1u);
    EXPECT_EQ(serial[0].typeLcd, 8);
    EXPECT_EQ(serial[0].speed, 19200);
    EXPECT_TRUE(serial[0].answered.contains("LK204-25")) << serial[0].answered.toStdString();
    EXPECT_EQ(describeSettings(settingsFor(serial[0])),
              "TypeLCD=8, MtxOrb=" + steady + ", vitesse=19200");
    EXPECT_TRUE(silent.receiveUntil([](const QByteArray& got) { return got.size() >= 4; }));
    EXPECT_EQ(silent.received, QByteArray("\xFE\x37\xFE\x37")) << "the query alone, at each speed";

    ASSERT_FALSE(machine.dir.write("dev/lcd", {}).isEmpty());
    ASSERT_FALSE(machine.dir.write("dev/parport0", {}).isEmpty());
    const std::vector<Candidate> files = searchDeviceFiles(machine.dirs, std::nullopt);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].typeLcd, 7);
    EXPECT_TRUE(files[0].usable);
    EXPECT_EQ(describeSettings(settingsFor(files[1])), "TypeLCD=3, LPT1=" + files[1].device);

    LcddServer lcdd("16x2");
    ASSERT_TRUE(lcdd.ready);
    const std::optional<Candidate> server = searchLcdd(QString("127.0.0.1:%1").arg(lcdd.port));
    ASSERT_TRUE(server);
    EXPECT_EQ(describeSettings(settingsFor(*server)),
              QString("TypeLCD=4, LCDd=127.0.0.1:%1, C=16, L=2").arg(lcdd.port));
}
