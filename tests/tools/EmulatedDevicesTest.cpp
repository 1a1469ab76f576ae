#include "EmulatedDevices.h"

#include "drivers/I2cBackpack.h"
#include "platform/FileDescriptor.h"
#include "platform/I2cDevice.h"
#include "support/QtPrinters.h"
#include "support/RunningProgram.h"
#include "support/TempDir.h"

#include <QImage>
#include <QTest>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/i2c-dev.h>
#include <linux/i2c.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {
const QString kBus = QStringLiteral("/dev/i2c-5");
}

// What a probe of the bus meets: devices that answer, addresses where nothing does, and the
// transfers of i2c-dev that tools use besides plain reads and writes.
TEST(EmulatedDevices, AnswersAProbeAsTheKernelWould) {
    emulated::reset();
    emulated::addI2cDevice(kBus, 0x50, 0xA5);
    emulated::addBackpack(kBus, 0x27, *emulated::backpackWiring(1), 16, 2);
    I2cDevice bus(kBus);
    ASSERT_TRUE(bus.isOpen());
    EXPECT_EQ(bus.readByteAt(0x50), quint8(0xA5));
    EXPECT_EQ(bus.readByteAt(0x27), quint8(0xFF)) << "a PCF8574 starts with its pins high";
    EXPECT_EQ(bus.readByteAt(0x3F), std::nullopt);
    EXPECT_EQ(bus.error(), EREMOTEIO);
    EXPECT_FALSE(bus.setAddress(0x80));
    ASSERT_TRUE(bus.setAddress(0x50));
    ASSERT_TRUE(bus.write("\x01\x02\x03"));
    EXPECT_EQ(emulated::bytesWrittenTo(kBus, 0x50), 3);

    const FileDescriptor raw(::open(QFile::encodeName(kBus).constData(), O_RDWR));
    unsigned long functions = 0;
    ASSERT_EQ(::ioctl(raw.get(), I2C_FUNCS, &functions), 0);
    EXPECT_TRUE(functions & I2C_FUNC_SMBUS_QUICK);
    i2c_smbus_ioctl_data quick{I2C_SMBUS_WRITE, 0, I2C_SMBUS_QUICK, nullptr};
    ASSERT_EQ(::ioctl(raw.get(), I2C_SLAVE, 0x50), 0);
    EXPECT_EQ(::ioctl(raw.get(), I2C_SMBUS, &quick), 0);
    ASSERT_EQ(::ioctl(raw.get(), I2C_SLAVE, 0x51), 0);
    EXPECT_EQ(::ioctl(raw.get(), I2C_SMBUS, &quick), -1);
    EXPECT_EQ(errno, ENXIO);
    quint8 answer = 0;
    quint8 command = 0x07;
    i2c_msg messages[] = {{0x50, 0, 1, &command}, {0x50, I2C_M_RD, 1, &answer}};
    i2c_rdwr_ioctl_data transfer{messages, 2};
    EXPECT_EQ(::ioctl(raw.get(), I2C_RDWR, &transfer), 2);
    EXPECT_EQ(answer, 0xA5);
    EXPECT_EQ(emulated::bytesWrittenTo(kBus, 0x50), 4);

    // Only the registered path is a device; every other file is the system's.
    struct stat device {};
    ASSERT_EQ(::stat(QFile::encodeName(kBus).constData(), &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode));
    EXPECT_EQ(major(device.st_rdev), 89u);
    EXPECT_EQ(minor(device.st_rdev), 5u);
    TempDir dir;
    const QString real = dir.write("ordinaire", "contenu");
    QFile file(real);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    EXPECT_NE(file.handle(), raw.get());
    EXPECT_EQ(file.readAll(), "contenu");

    emulated::unplug(kBus);
    EXPECT_FALSE(bus.write("\x04"));
    EXPECT_EQ(bus.error(), ENODEV);
    EXPECT_NE(::access(QFile::encodeName(kBus).constData(), F_OK), 0);
    EXPECT_FALSE(I2cDevice(kBus).isOpen());
}

// Started by hand, the devices come from a text and the modules are drawn into a folder.
TEST(EmulatedDevices, ReadsTheDevicesListAndDrawsEachModuleAsItChanges) {
    emulated::reset();
    EXPECT_EQ(emulated::configure("i2c:/dev/i2c-5:0x3f:3:16x2; i2c:/dev/i2c-5:27:4:16x2;;"
                                  "i2c:/dev/i2c-5:0x20:1:20"),
              QStringList({"périphérique émulé illisible : i2c:/dev/i2c-5:27:4:16x2 "
                           "(i2c:BUS:ADRESSE:BROCHAGE:COLONNESxLIGNES attendu, brochage 1 à 3)",
                           "périphérique émulé illisible : i2c:/dev/i2c-5:0x20:1:20 "
                           "(i2c:BUS:ADRESSE:BROCHAGE:COLONNESxLIGNES attendu, brochage 1 à 3)"}));
    TempDir dir;
    emulated::setViewFolder(dir.path());
    ModuleSettings settings;
    settings.columns = 16;
    settings.lines = 2;
    settings.backlight = 1;
    I2cBackpack link(backpackPlace(kBus, "0x3F", "3"), settings);
    QString error;
    ASSERT_TRUE(link.open(error)) << error.toStdString();
    ASSERT_TRUE(link.write(1, 0, "Bonjour \xDF", error));
    const QByteArray shown = "                \nBonjour °       \nrétroéclairage allumé\n";
    EXPECT_TRUE(QTest::qWaitFor([&] { return dir.read("i2c-5-0x3f.txt") == shown; }, 5000))
        << dir.read("i2c-5-0x3f.txt").toStdString();
    emulated::setViewFolder(QString());
    const QImage picture(dir.file("i2c-5-0x3f.png"));
    EXPECT_EQ(picture.size(), QSize(412, 104));
    // The degree sign's top-left dot is dark, the blank cell before it is not.
    const QColor dot = picture.pixelColor(16 + 8 * 24 + 1, 16 + 40 + 1);
    const QColor blank = picture.pixelColor(16 + 7 * 24 + 1, 16 + 40 + 1);
    EXPECT_LT(dot.lightness(), blank.lightness() / 2);
}

// By hand: the real program, the library preloaded, its panel on an emulated bus.
TEST(EmulatedDevices, PreloadedIntoRelayeurShowsItsI2cPanel) {
    TempDir dir;
    dir.write("param.ini", "[parametres]\nTypeLCD=5\nCOM=1\nC=16\nL=2\ncontrast=0\nbacklight=1\n"
                           "refresh=100\nscrolling=0\nrep_winamp=\nrep_seti=\nrep_HL=\n"
                           "caracteres=A00\ncapteurs=0\n[ports]\nI2C=/dev/i2c-7\nadresse=3f\n"
                           "brochage=2\n");
    const QString profile = dir.write("p.tlcd", "[param]\nnb_pages=1\n[page_1]\nligne0=Salut !\n"
                                                "ligne1=\xE9t\xE9 40 \xB0"
                                                "C\nscroll0=0\nscroll1=0\n");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", dir.path());
    environment.insert("LD_PRELOAD", EMULATED_DEVICES_LIBRARY);
    environment.insert("RELAYEUR_EMULATED", "i2c:/dev/i2c-7:0x3f:2:16x2");
    environment.insert("RELAYEUR_EMULATED_VIEW", dir.file("vue"));
    QProcess relayeur;
    relayeur.setProcessEnvironment(environment);
    relayeur.start(RELAYEUR_BINARY, {"--terminal", "--quiet", "--config-dir", dir.path(),
                                     "--profile", profile, "--start"});
    // The accent drawn in a user-defined character shows as its letter.
    const QByteArray shown = "Salut !         \nété 40 °C       \nrétroéclairage allumé\n";
    EXPECT_TRUE(QTest::qWaitFor([&] { return dir.read("vue/i2c-7-0x3f.txt") == shown; }, 20000))
        << dir.read("vue/i2c-7-0x3f.txt").toStdString();
    EXPECT_EQ(terminate(relayeur), 0);
}
