#include "drivers/I2cBackpack.h"

#include "EmulatedDevices.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QString kBus = QStringLiteral("/dev/i2c-7");
constexpr GlyphRows kArrow{0x04, 0x0E, 0x15, 0x04, 0x04, 0x04, 0x04, 0x00};

// A line of the demo's kind, different on every line and as wide as the module.
QByteArray demoLine(int line, int columns) {
    const QByteArray text =
        QByteArrayList{"CPU 42% \xDF"
                       "C",
                       "Mem 1.2 Go libre", "12:34:56 lun 7 dec", "Reseau 3 Ko/s"}[line];
    return (text + QByteArray(40, '0' + char(line))).left(columns);
}

ModuleSettings settings(int columns, int lines, int backlight) {
    ModuleSettings chosen;
    chosen.columns = columns;
    chosen.lines = lines;
    chosen.backlight = backlight;
    return chosen;
}

struct Size {
    int columns, lines;
};

} // namespace

TEST(I2cBackpack, ShowsTextGlyphsAndBacklightOnEveryWiringAndModuleSize) {
    for (int wiring = 1; wiring <= 3; ++wiring) {
        for (const Size size : {Size{16, 2}, Size{20, 4}, Size{40, 4}}) {
            SCOPED_TRACE(testing::Message()
                         << "brochage " << wiring << ", " << size.columns << "x" << size.lines);
            emulated::reset();
            emulated::Module& module = emulated::addBackpack(
                kBus, 0x3F, *emulated::backpackWiring(wiring), size.columns, size.lines);
            // Left in 4-bit mode halfway through a character by an earlier program.
            for (int controller = 0; controller < module.controllers(); ++controller) {
                module.latch(controller, false, 0x2);
                module.latch(controller, true, 0x4);
            }
            I2cBackpack link(backpackPlace(kBus, "0x3f", QString::number(wiring)),
                             settings(size.columns, size.lines, 1));
            QString error;
            ASSERT_TRUE(link.open(error)) << error.toStdString();
            EXPECT_TRUE(module.backlight());
            for (int line = 0; line < size.lines; ++line) {
                EXPECT_TRUE(module.displayOn(line));
                EXPECT_EQ(module.line(line), QByteArray(size.columns, ' '));
                ASSERT_TRUE(link.write(line, 0, demoLine(line, size.columns), error))
                    << error.toStdString();
            }
            ASSERT_TRUE(link.defineGlyph(3, kArrow, error));
            // Past the end of a line nothing goes on to the next one.
            ASSERT_TRUE(link.write(0, size.columns - 2, QByteArray("\x03\x0B!", 3), error));
            QByteArray first = demoLine(0, size.columns);
            first.replace(size.columns - 2, 2, "\x03\x0B");
            EXPECT_EQ(module.line(0), first);
            for (int line = 1; line < size.lines; ++line) {
                EXPECT_EQ(module.line(line), demoLine(line, size.columns));
            }
            for (int controller = 0; controller < module.controllers(); ++controller) {
                EXPECT_EQ(module.glyph(controller, 3), kArrow);
            }
        }
        // The wiring's backlight polarity.
        emulated::reset();
        emulated::Module& module =
            emulated::addBackpack(kBus, 0x27, *emulated::backpackWiring(wiring), 16, 2);
        I2cBackpack dark(backpackPlace(kBus, "27", QString::number(wiring)), settings(16, 2, 0));
        QString error;
        ASSERT_TRUE(dark.open(error)) << error.toStdString();
        ASSERT_TRUE(dark.write(1, 3, "Bonjour", error));
        EXPECT_FALSE(module.backlight());
        EXPECT_EQ(module.line(1), "   Bonjour      ");
    }
}

TEST(I2cBackpack, SaysWhatIsWrongWithTheBusTheAddressAndTheSettings) {
    emulated::reset();
    const emulated::BackpackPins pins = *emulated::backpackWiring(1);
    emulated::addBackpack(kBus, 0x27, pins, 20, 4);
    QString error;
    I2cBackpack elsewhere(backpackPlace(kBus, "0x3F", "1"), settings(20, 4, 1));
    EXPECT_FALSE(elsewhere.open(error));
    EXPECT_TRUE(error.startsWith("pas de réponse à l'adresse 0x3F : vérifiez l'adresse (0x27 ou "
                                 "0x3F) et le câblage"))
        << error.toStdString();
    I2cBackpack missing(backpackPlace("/dev/i2c-9", "0x27", "1"), settings(20, 4, 1));
    EXPECT_FALSE(missing.open(error));
    EXPECT_TRUE(error.startsWith("bus I2C /dev/i2c-9 introuvable : activez l'I2C"))
        << error.toStdString();

    I2cBackpack link(backpackPlace(kBus, "0x27", "1"), settings(20, 4, 1));
    ASSERT_TRUE(link.open(error)) << error.toStdString();
    emulated::unplug(kBus);
    EXPECT_FALSE(link.write(0, 0, "x", error));
    EXPECT_TRUE(error.startsWith("bus I2C /dev/i2c-7 disparu")) << error.toStdString();
    link.close();
    EXPECT_FALSE(link.open(error));
    EXPECT_TRUE(error.startsWith("bus I2C /dev/i2c-7 introuvable")) << error.toStdString();
    emulated::Module& back = emulated::addBackpack(kBus, 0x27, pins, 20, 4);
    ASSERT_TRUE(link.open(error)) << error.toStdString();
    ASSERT_TRUE(link.write(3, 19, "x", error));
    EXPECT_EQ(back.line(3), QByteArray(19, ' ') + "x");

    const BackpackPlace unread = backpackPlace(" ", "0x78", "4");
    EXPECT_EQ(unread.bus, "/dev/i2c-1");
    EXPECT_EQ(unread.address, 0x27);
    EXPECT_EQ(unread.wiring.number, 1);
    EXPECT_EQ(unread.problems,
              QStringList({"I2C = (vide) : aucun bus I2C indiqué, /dev/i2c-1 est utilisé",
                           "adresse = 0x78 : adresse I2C illisible (en hexadécimal de 0x03 à "
                           "0x77, 0x27 ou 0x3F le plus souvent), 0x27 est utilisée",
                           "brochage = 4 : brochage inconnu (1, 2 ou 3), le 1 : RS P0, RW P1, E "
                           "P2, rétroéclairage P3 (allumé au niveau haut), D4–D7 P4–P7 est "
                           "utilisé"}));
    EXPECT_TRUE(backpackPlace(kBus, "3f", "3").problems.isEmpty());
    EXPECT_EQ(backpackPlace(kBus, "3f", "3").address, 0x3F);
    EXPECT_FALSE(backpackPlace(kBus, "0x", "1").problems.isEmpty());
}
