#include "drivers/I2cBackpack.h"

#include "EmulatedDevices.h"
#include "drivers/Hd44780Font.h"
#include "drivers/ModulePanel.h"
#include "drivers/OnScreenPanel.h"
#include "drivers/Panels.h"
#include "support/FakeLog.h"
#include "support/QtPrinters.h"
#include "support/RowsFrame.h"

#include <QTest>
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
        for (const Size size : {Size{16, 2}, Size{16, 4}, Size{20, 4}, Size{40, 4}}) {
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
    EXPECT_TRUE(error.startsWith("bus introuvable : activez l'I2C")) << error.toStdString();

    I2cBackpack link(backpackPlace(kBus, "0x27", "1"), settings(20, 4, 1));
    ASSERT_TRUE(link.open(error)) << error.toStdString();
    emulated::unplug(kBus);
    EXPECT_FALSE(link.write(0, 0, "x", error));
    EXPECT_TRUE(error.startsWith("bus disparu")) << error.toStdString();
    link.close();
    EXPECT_FALSE(link.open(error));
    EXPECT_TRUE(error.startsWith("bus introuvable")) << error.toStdString();
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

namespace {

DisplayConfig i2cConfig(const QString& bus, const QString& address, const QString& wiring) {
    DisplayConfig config;
    config.TypeLCD = 5;
    config.C = 20;
    config.L = 4;
    config.backlight = 1;
    config.i2cBus = bus;
    config.i2cAddress = address;
    config.i2cWiring = wiring;
    return config;
}

} // namespace

TEST(I2cPanel, ShowsWhatTheOnScreenPanelShowsAndTellsEachFaultOnce) {
    emulated::reset();
    const emulated::BackpackPins pins = *emulated::backpackWiring(2);
    emulated::Module* module = &emulated::addBackpack(kBus, 0x3F, pins, 20, 4);
    FakeLog log;
    const DisplayConfig config = i2cConfig(kBus, "0x3F", "2");
    std::unique_ptr<Panel> made = makePanel(config, PanelHost{log, {}, {}});
    auto& panel = dynamic_cast<ModulePanel&>(*made);
    OnScreenPanel screen(20, 4, config.caracteres);
    const auto both = [&](const Frame& frame) {
        panel.show(frame);
        screen.show(frame);
        panel.flush();
    };
    panel.reset();
    screen.reset();
    both(rowsFrame({"CPU 42 % \xDF"
                    "C",
                    QByteArray("\x00\x01\x02 12:34", 9), "Libre : 1,2 Go",
                    "Bienvenue sur Relayeur !"}));
    for (int line = 0; line < 4; ++line) {
        EXPECT_EQ(module->line(line), screen.line(line));
    }
    for (int slot = 0; slot < 8; ++slot) {
        EXPECT_EQ(module->glyph(0, slot), bigDigitCgram()[slot]);
    }
    EXPECT_TRUE(module->backlight());
    EXPECT_EQ(log.lines,
              QStringList{"afficheur I2C /dev/i2c-7 (0x3F), brochage 2 : D4–D7 P0–P3, "
                          "RS P4, RW P5, E P6, rétroéclairage P7 (allumé au niveau bas)"});

    // Pulled out: told once however many frames and attempts follow; back, it shows them.
    emulated::unplug(kBus);
    both(rowsFrame({"perdu"}));
    both(rowsFrame({"toujours perdu"}));
    ASSERT_EQ(log.lines.size(), 2);
    EXPECT_TRUE(log.lines[1].startsWith("afficheur I2C /dev/i2c-7 (0x3F) perdu : bus disparu"))
        << log.lines[1].toStdString();
    module = &emulated::addBackpack(kBus, 0x3F, pins, 20, 4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.lines.size() == 3; }, 5000));
    EXPECT_EQ(log.lines[2], "afficheur I2C /dev/i2c-7 (0x3F) retrouvé");
    panel.flush();
    for (int line = 0; line < 4; ++line) {
        EXPECT_EQ(module->line(line), screen.line(line));
    }

    // Nothing at the address, and no such bus: each told once.
    for (const auto& [bus, told] :
         {std::pair{kBus, QStringLiteral("afficheur I2C /dev/i2c-7 (0x27) inaccessible : pas de "
                                         "réponse à l'adresse 0x27")},
          {QStringLiteral("/dev/i2c-9"),
           QStringLiteral("afficheur I2C /dev/i2c-9 (0x27) inaccessible : bus introuvable")}}) {
        FakeLog elsewhere;
        DisplayConfig odd = i2cConfig(bus, "0x27", "7");
        odd.contrast = 40;
        std::unique_ptr<Panel> missing = makePanel(odd, PanelHost{elsewhere, {}, {}});
        missing->reset();
        for (int i = 0; i < 3; ++i) {
            missing->show(rowsFrame({QByteArray::number(i)}));
            dynamic_cast<ModulePanel&>(*missing).flush();
        }
        ASSERT_EQ(elsewhere.lines.size(), 4);
        EXPECT_TRUE(elsewhere.lines[0].startsWith("brochage = 7 : brochage inconnu"));
        EXPECT_TRUE(elsewhere.lines[2].startsWith("contrast = 40 n'est pas envoyé"));
        EXPECT_TRUE(elsewhere.lines[3].startsWith(told)) << elsewhere.lines[3].toStdString();
    }
}
