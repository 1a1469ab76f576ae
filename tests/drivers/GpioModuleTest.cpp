#include "drivers/GpioModule.h"

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

const QString kChip = QStringLiteral("gpiochip9");
const emulated::GpioPins kPins{7, 8, 25, 24, 23, 18, 15, 16};
constexpr GlyphRows kBell{0x04, 0x0E, 0x0E, 0x0E, 0x1F, 0x00, 0x04, 0x00};

ModuleSettings moduleOf(int columns, int lines, int backlight) {
    ModuleSettings settings;
    settings.columns = columns;
    settings.lines = lines;
    settings.backlight = backlight;
    return settings;
}

// What a status page shows on `line`, cut or filled with dots to the module's width.
QByteArray statusLine(int line, int columns) {
    static const QByteArrayList kLines{"Charge 0.42 51\xDF"
                                       "C",
                                       "Disque 73 % occupe", "Lun 7 dec 12:34", "Envoi 12 Ko/s"};
    return kLines[line].leftJustified(columns, '.', true);
}

} // namespace

TEST(GpioModule, ShowsTextGlyphsAndBacklightAtEverySize) {
    struct Case {
        int columns, lines;
        QString pins;
    };
    for (const Case& size :
         {Case{16, 2, "7,8,25,24,23,18,15"}, Case{20, 4, " 7, 8,25,24,23,18,15 "},
          Case{40, 4, "7,8,25,24,23,18,15,16"}}) {
        SCOPED_TRACE(testing::Message() << size.columns << "x" << size.lines);
        emulated::reset();
        emulated::Module& module = emulated::wireGpioModule(kChip, kPins, size.columns, size.lines);
        // Left halfway through a byte in 4-bit mode by an earlier program.
        for (int controller = 0; controller < module.controllers(); ++controller) {
            module.latch(controller, false, 0x2);
            module.latch(controller, true, 0x5);
        }
        GpioModule link(kChip, size.pins, moduleOf(size.columns, size.lines, 1));
        QString error;
        ASSERT_TRUE(link.open(error)) << error.toStdString();
        EXPECT_TRUE(module.backlight());
        for (int line = 0; line < size.lines; ++line) {
            EXPECT_TRUE(module.displayOn(line));
            EXPECT_EQ(module.line(line), QByteArray(size.columns, ' '));
            ASSERT_TRUE(link.write(line, 0, statusLine(line, size.columns), error));
        }
        ASSERT_TRUE(link.defineGlyph(5, kBell, error));
        ASSERT_TRUE(link.write(size.lines - 1, size.columns - 1, "\x05\x0D", error));
        for (int line = 0; line < size.lines; ++line) {
            QByteArray expected = statusLine(line, size.columns);
            if (line == size.lines - 1) {
                expected.back() = '\x05';
            }
            EXPECT_EQ(module.line(line), expected);
        }
        for (int controller = 0; controller < module.controllers(); ++controller) {
            EXPECT_EQ(module.glyph(controller, 5), kBell);
        }
        // The lines go back to the chip: the module opens again, here or in another program.
        link.close();
        GpioModule dark("/dev/gpiochip9", size.pins, moduleOf(size.columns, size.lines, 0));
        ASSERT_TRUE(dark.open(error)) << error.toStdString();
        EXPECT_FALSE(module.backlight());
        EXPECT_EQ(module.line(0), QByteArray(size.columns, ' '));
    }

    // No backlight line: a 40x4's E2 still reaches the second controller.
    emulated::reset();
    emulated::Module& noBacklightLine =
        emulated::wireGpioModule(kChip, {7, 8, 25, 24, 23, 18, -1, 16}, 40, 4);
    GpioModule link(kChip, "7,8,25,24,23,18,,16", moduleOf(40, 4, 1));
    QString error;
    ASSERT_TRUE(link.open(error)) << error.toStdString();
    ASSERT_TRUE(link.write(3, 2, "bas", error));
    EXPECT_EQ(noBacklightLine.line(3), "  bas" + QByteArray(35, ' '));
}

TEST(GpioModule, SaysWhatIsWrongWithTheLinesAndTheChip) {
    emulated::reset();
    emulated::wireGpioModule(kChip, kPins, 20, 4);
    const auto failure = [](const QString& chip, const QString& pins, int columns = 20,
                            int lines = 4) {
        GpioModule link(chip, pins, moduleOf(columns, lines, 1));
        QString error;
        EXPECT_FALSE(link.open(error));
        return error;
    };
    EXPECT_EQ(failure(kChip, ""), "broches = (vide) : aucune ligne GPIO indiquée "
                                  "(RS,E,D4,D5,D6,D7[,BL[,E2]], par exemple 7,8,25,24,23,18,15)");
    EXPECT_EQ(failure(kChip, "7,8,25,24,23"),
              "broches = 7,8,25,24,23 : 6 à 8 numéros de ligne attendus, 5 donnés "
              "(RS,E,D4,D5,D6,D7[,BL[,E2]], par exemple 7,8,25,24,23,18,15)");
    EXPECT_TRUE(failure(kChip, "7,8,25,24,23,18,15,16,17")
                    .startsWith("broches = "
                                "7,8,25,24,23,18,15,16,17 "
                                ": 6 à 8 numéros"));
    EXPECT_TRUE(failure(kChip, "7,8,25,24,GPIO23,18")
                    .startsWith("broches = 7,8,25,24,GPIO23,18 : « GPIO23 » n'est pas un numéro"));
    EXPECT_TRUE(failure(kChip, "7,8,25,24,-1,18").contains("« -1 » n'est pas un numéro"));
    EXPECT_EQ(failure(kChip, "7,8,25,24,23,8"),
              "broches = 7,8,25,24,23,8 : la ligne 8 est donnée deux fois");
    EXPECT_EQ(failure(kChip, "7,8,25,24,23,60"),
              "broches = 7,8,25,24,23,60 : la ligne 60 n'existe pas, gpiochip9 a 54 lignes (0 à "
              "53)");
    EXPECT_TRUE(failure(kChip, "7,8,25,24,23,18,15", 40, 4)
                    .startsWith("broches = 7,8,25,24,23,18,15 : un afficheur 40x4 a deux "
                                "contrôleurs, ajoutez la ligne de E2 après BL"));
    EXPECT_TRUE(failure("gpiochip74", "7,8,25,24,23,18").startsWith("gpiochip74 introuvable"));
    EXPECT_TRUE(
        failure("/dev/null", "7,8,25,24,23,18").startsWith("/dev/null n'est pas une puce GPIO"));

    emulated::holdGpioLine(kChip, 24);
    EXPECT_TRUE(failure(kChip, "7,8,25,24,23,18,15")
                    .startsWith("la ligne 24 est déjà prise (par « occupant » : un autre "
                                "programme ou un pilote du noyau s'en sert"));
    // The refused request keeps none of its lines.
    GpioModule elsewhere(kChip, "7,8,25,22,23,18,15", moduleOf(20, 4, 1));
    QString error;
    ASSERT_TRUE(elsewhere.open(error)) << error.toStdString();
    GpioModule twice(kChip, "7,9,10,11,12,13", moduleOf(20, 4, 1));
    EXPECT_FALSE(twice.open(error));
    EXPECT_TRUE(error.startsWith("la ligne 7 est déjà prise (par « relayeur »"))
        << error.toStdString();

    // The chip goes away while the module is in use.
    emulated::unplug("/dev/gpiochip9");
    EXPECT_FALSE(elsewhere.write(0, 0, "x", error));
    EXPECT_TRUE(error.startsWith("/dev/gpiochip9 n'est pas une puce GPIO, ou a disparu"))
        << error.toStdString();
}

namespace {

DisplayConfig gpioConfig(const QString& chip, const QString& pins) {
    DisplayConfig config;
    config.TypeLCD = 6;
    config.C = 20;
    config.L = 4;
    config.backlight = 1;
    config.gpioChip = chip;
    config.gpioPins = pins;
    return config;
}

} // namespace

TEST(GpioPanel, ShowsWhatTheOnScreenPanelShowsAndTellsEachFaultOnce) {
    emulated::reset();
    // As RELAYEUR_EMULATED gives it to the program run by hand.
    ASSERT_EQ(emulated::configure("gpio:/dev/gpiochip9:7,8,25,24,23,18,15:20x4;"
                                  "gpio:/dev/gpiochip3:7,8,25:20x4"),
              QStringList{"périphérique émulé illisible : gpio:/dev/gpiochip3:7,8,25:20x4 "
                          "(gpio:PUCE:RS,E,D4,D5,D6,D7[,BL[,E2]]:COLONNESxLIGNES attendu)"});
    FakeLog log;
    const DisplayConfig config = gpioConfig(kChip, "7,8,25,24,23,18,15");
    std::unique_ptr<Panel> made = makePanel(config, PanelHost{log, {}, {}});
    auto& panel = dynamic_cast<ModulePanel&>(*made);
    OnScreenPanel screen(20, 4, config.caracteres);
    panel.reset();
    screen.reset();
    const Frame frame = rowsFrame({"Charge 0.42 51 \xDF"
                                   "C",
                                   QByteArray("\x00\x01\x02 12:34", 9), "Libre : 1,2 Go",
                                   "Bienvenue sur Relayeur !"});
    panel.show(frame);
    screen.show(frame);
    panel.flush();
    // The chip the text gave opened: nothing but the panel's description is in the log.
    EXPECT_EQ(log.lines, QStringList{"afficheur GPIO /dev/gpiochip9, broches RS 7, E 8, D4–D7 "
                                     "25, 24, 23, 18, rétroéclairage 15"});

    // A module on the same lines, started afresh with the panel.
    emulated::Module& shown = emulated::wireGpioModule(kChip, {7, 8, 25, 24, 23, 18, 15}, 20, 4);
    panel.reset();
    screen.reset();
    panel.show(frame);
    screen.show(frame);
    panel.flush();
    for (int line = 0; line < 4; ++line) {
        EXPECT_EQ(shown.line(line), screen.line(line));
    }
    for (int slot = 0; slot < 8; ++slot) {
        EXPECT_EQ(shown.glyph(0, slot), bigDigitCgram()[slot]);
    }
    EXPECT_TRUE(shown.backlight());

    // Bad lines, a line someone holds, no such chip: each told once however often tried.
    emulated::holdGpioLine(kChip, 21);
    for (const auto& [chip, pins, told] :
         {std::tuple{QStringLiteral("gpiochip9"), QStringLiteral("7,8,25,24"),
                     QStringLiteral("afficheur GPIO /dev/gpiochip9 inaccessible : broches = "
                                    "7,8,25,24 : 6 à 8 numéros")},
          {QStringLiteral("gpiochip9"), QStringLiteral("30,31,32,33,34,21"),
           QStringLiteral("afficheur GPIO /dev/gpiochip9 inaccessible : la ligne 21 est déjà "
                          "prise")},
          {QStringLiteral("gpiochip77"), QStringLiteral("30,31,32,33,34,35"),
           QStringLiteral("afficheur GPIO /dev/gpiochip77 inaccessible : gpiochip77 "
                          "introuvable")}}) {
        FakeLog faults;
        std::unique_ptr<Panel> missing =
            makePanel(gpioConfig(chip, pins), PanelHost{faults, {}, {}});
        missing->reset();
        for (int i = 0; i < 3; ++i) {
            missing->show(rowsFrame({QByteArray::number(i)}));
            dynamic_cast<ModulePanel&>(*missing).flush();
        }
        const QStringList faultLines = faults.lines.filter(QStringLiteral("inaccessible"));
        ASSERT_EQ(faultLines.size(), 1) << faults.lines.join('\n').toStdString();
        EXPECT_TRUE(faultLines[0].startsWith(told)) << faultLines[0].toStdString();
    }
}
