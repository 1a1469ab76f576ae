#include "CharLcdModule.h"
#include "MatrixOrbitalModule.h"
#include "drivers/ModulePanel.h"
#include "drivers/OnScreenPanel.h"
#include "drivers/Panels.h"
#include "support/FakeLog.h"
#include "support/PseudoTerminal.h"
#include "support/QtPrinters.h"
#include "support/RowsFrame.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// What a line shows, cell by cell: a ROM character's code, or a user-defined character's dots.
template <typename GlyphOf> QList<QByteArray> seen(const QByteArray& codes, GlyphOf glyphOf) {
    QList<QByteArray> cells;
    for (const char code : codes) {
        const GlyphRows rows = glyphOf(quint8(code) & 7);
        cells << (quint8(code) < 16 ? QByteArray(reinterpret_cast<const char*>(rows.data()), 8)
                                    : QByteArray(1, code));
    }
    return cells;
}

// The big clock's parts and full block, then accents the mapping defined as characters 6 and 7
// (é written as code 14, the same character).
Frame clockAndAccents() {
    Frame frame = rowsFrame({QByteArray("\x02\x00\x03 \x00\x00\x03 \xff", 9),
                             QByteArray("\x04\x01\x05 \x01\x01\x05 \xff", 9),
                             QByteArray("\x06t\x0e \x07t\x07", 7),
                             "12:34 \xdf"
                             "C"});
    frame.panelCodes = true;
    frame.glyphs[6] = GlyphRows{0x02, 0x04, 0x0E, 0x11, 0x1F, 0x10, 0x0E, 0x00};
    frame.glyphs[7] = GlyphRows{0x08, 0x04, 0x0E, 0x11, 0x1F, 0x10, 0x0E, 0x00};
    return frame;
}

struct Kind {
    qint16 typeLcd;
    int columns;
    QString DisplayConfig::*device;
    const char* speed;
};

} // namespace

TEST(SerialModulePanels, EachShowsWhatTheOnScreenPanelShowsForTheSameFrames) {
    for (const Kind kind : {Kind{7, 40, &DisplayConfig::charLcd, "19200"},
                            Kind{8, 20, &DisplayConfig::mtxOrb, "rapide"}}) {
        SCOPED_TRACE(kind.typeLcd);
        PseudoTerminal pty;
        TempDir dir;
        DisplayConfig config;
        config.TypeLCD = kind.typeLcd;
        config.C = qint16(kind.columns);
        config.L = 4;
        config.contrast = 50;
        config.backlight = 1;
        config.mtxOrbSpeed = kind.speed;
        config.*kind.device = dir.file("module");
        ASSERT_TRUE(QFile::link(pty.slave, config.*kind.device));
        FakeLog log;
        std::unique_ptr<Panel> panel = makePanel(config, {log, {}, {}});
        ASSERT_TRUE(panel);
        auto& module = dynamic_cast<ModulePanel&>(*panel);
        OnScreenPanel screen(kind.columns, 4);

        CharLcdModule charLcd(kind.columns, 4);
        MatrixOrbitalModule matrixOrbital(kind.columns, 4);
        const auto& far = kind.typeLcd == 7 ? charLcd.screen() : matrixOrbital.screen();
        const auto sameView = [&] {
            for (int line = 0; line < 4; ++line) {
                const auto screenGlyph = [&](int slot) {
                    return screen.row(line).controller.glyph(slot);
                };
                if (seen(far.line(line), [&](int slot) { return far.glyph(slot); }) !=
                    seen(screen.line(line), screenGlyph)) {
                    return false;
                }
            }
            return true;
        };
        const auto showBoth = [&](const Frame& frame) {
            panel->show(frame);
            screen.show(frame);
            module.flush();
            EXPECT_TRUE(pty.receiveUntil([&](const QByteArray&) {
                const QByteArray bytes = std::exchange(pty.received, {});
                kind.typeLcd == 7 ? charLcd.feed(bytes) : void(matrixOrbital.feed(bytes));
                return sameView();
            })) << far.text().join('|').toHex(' ').toStdString();
        };
        panel->reset();
        screen.reset();
        showBoth(rowsFrame({"Libre : 123 Mo", "", "fixe" + QByteArray(21, ' '), "fin"}));
        showBoth(clockAndAccents());
        showBoth(rowsFrame({"Libre : 124 Mo"}));
        showBoth(rowsFrame({"Libre : 125 Mo"})); // one cell in the middle of a line
        EXPECT_FALSE(far.cursorShown());
        const auto lit = [&] {
            return kind.typeLcd == 7 ? charLcd.backlight() : matrixOrbital.backlight();
        };
        EXPECT_TRUE(lit());
        // The backlight goes out and comes back as the settings have it.
        for (const bool on : {false, true}) {
            EXPECT_TRUE(panel->setBacklight(on));
            module.flush();
            EXPECT_TRUE(pty.receiveUntil([&](const QByteArray&) {
                const QByteArray bytes = std::exchange(pty.received, {});
                kind.typeLcd == 7 ? charLcd.feed(bytes) : void(matrixOrbital.feed(bytes));
                return lit() == on;
            })) << on;
        }
        if (kind.typeLcd == 7) {
            EXPECT_EQ(log.lines, QStringList{"lcd = " + config.charLcd +
                                             " : pas de contraste à régler par le noyau (il se "
                                             "règle sur le module), contrast = 50 n'est pas "
                                             "envoyé"});
        } else {
            EXPECT_EQ(matrixOrbital.contrast(), 128);
            EXPECT_EQ(log.lines, QStringList{"vitesse = rapide : vitesse inconnue (1200, 2400, "
                                             "4800, 9600, 19200, 38400, 57600 ou 115200), 19200 "
                                             "est utilisée"});
            termios line{};
            ASSERT_EQ(::tcgetattr(pty.master.get(), &line), 0);
            EXPECT_EQ(::cfgetospeed(&line), speed_t(B19200));
        }
    }
}

TEST(SerialModulePanels, AModuleMissingLostAndBackIsToldOnceEachTime) {
    TempDir dir;
    DisplayConfig config;
    config.TypeLCD = 8;
    config.C = 16;
    config.L = 2;
    config.mtxOrbSpeed = "9600";
    config.mtxOrb = dir.file("ttyACM0");
    config.charLcd = dir.file("lcd");
    FakeLog log;
    std::unique_ptr<Panel> panel = makePanel(config, {log, {}, {}});
    config.TypeLCD = 7;
    std::unique_ptr<Panel> kernel = makePanel(config, {log, {}, {}});
    kernel->reset();
    dynamic_cast<ModulePanel&>(*kernel).flush();
    auto& module = dynamic_cast<ModulePanel&>(*panel);
    panel->reset();
    for (const QByteArray text : {"un", "deux"}) {
        panel->show(rowsFrame({text}));
        module.flush();
    }
    const auto plugIn = [&](PseudoTerminal& pty) {
        ASSERT_TRUE(QFile::remove(config.mtxOrb) || !QFile::exists(config.mtxOrb));
        ASSERT_TRUE(QFile::link(pty.slave, config.mtxOrb));
        const qsizetype before = log.lines.size();
        ASSERT_TRUE(QTest::qWaitFor([&] { return log.lines.size() > before; }, 5000));
        module.flush();
        MatrixOrbitalModule shown(16, 2);
        ASSERT_TRUE(pty.receiveUntil([&](const QByteArray&) {
            shown.feed(std::exchange(pty.received, {}));
            return shown.line(0).startsWith("deux");
        }));
    };
    PseudoTerminal first;
    plugIn(first);
    first.close();
    panel->show(rowsFrame({"trois"}));
    module.flush();
    panel->show(rowsFrame({"deux"}));
    module.flush();
    PseudoTerminal second;
    plugIn(second);
    const QString name = "module Matrix Orbital " + config.mtxOrb;
    EXPECT_EQ(log.lines,
              (QStringList{"afficheur du noyau " + config.charLcd +
                               " inaccessible : périphérique introuvable : le module charlcd "
                               "(hd44780, panel) est-il chargé ?",
                           name + " inaccessible : périphérique introuvable : le module est-il "
                                  "branché ?",
                           name + " retrouvé", name + " perdu : débranché ou en panne",
                           name + " retrouvé"}));
}
