#include "drivers/KernelLcd.h"

#include "CharLcdModule.h"
#include "support/PseudoTerminal.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(KernelLcdLink, ShowsEveryLineAtEverySizeWithItsCharactersAndBacklight) {
    struct Size {
        int columns, lines, backlight;
    };
    for (const Size size : {Size{16, 2, 1}, Size{20, 4, 0}, Size{40, 4, 1}}) {
        SCOPED_TRACE(size.columns);
        PseudoTerminal pty;
        TempDir dir;
        const QString device = dir.file("lcd");
        ASSERT_TRUE(QFile::link(pty.slave, device));
        KernelLcdLink link(device, {size.columns, size.lines, 50, size.backlight});
        QString error;
        ASSERT_TRUE(link.open(error)) << error.toStdString();

        // Every control character the driver knows, and ESC, is in some line: 8 to 15 are
        // user-defined characters 0 to 7 again.
        QByteArrayList sent;
        for (int i = 0; i < size.lines; ++i) {
            QByteArray text;
            for (int c = 0; c < size.columns; ++c) {
                text += char(c < 9 ? 7 + i * 2 + c : 'a' + (i + c) % 26);
            }
            sent << text;
        }
        sent.back().replace(3, 1, "\x1b");
        const GlyphRows accent{0x02, 0x04, 0x0E, 0x11, 0x1F, 0x10, 0x0E, 0xE0};
        EXPECT_TRUE(link.defineGlyph(7, accent, error));
        for (int i = size.lines - 1; i >= 0; --i) {
            EXPECT_TRUE(link.write(i, 0, sent[i], error));
        }
        EXPECT_TRUE(link.write(0, size.columns - 2, "\x0F!", error));
        EXPECT_TRUE(link.write(0, 0, "#", error));

        CharLcdModule module(size.columns, size.lines);
        ASSERT_TRUE(pty.receiveUntil([&](const QByteArray&) {
            module.feed(std::exchange(pty.received, {}));
            return module.line(0).startsWith('#');
        }));
        for (int i = 0; i < size.lines; ++i) {
            QByteArray expected = sent[i];
            if (i == 0) {
                expected.replace(0, 1, "#").replace(size.columns - 2, 2, "\x07!");
            }
            for (char& code : expected) {
                code = code == 0x1b ? ' ' : code >= 8 && code < 16 ? char(code - 8) : code;
            }
            EXPECT_EQ(module.line(i), expected) << i;
        }
        EXPECT_EQ(module.glyph(7), (GlyphRows{0x02, 0x04, 0x0E, 0x11, 0x1F, 0x10, 0x0E, 0x00}));
        EXPECT_TRUE(module.screen().displayOn());
        EXPECT_FALSE(module.screen().cursorShown());
        EXPECT_EQ(module.backlight(), size.backlight != 0);

        pty.close();
        EXPECT_FALSE(link.write(0, 0, "x", error));
        EXPECT_TRUE(error.startsWith("écriture refusée (")) << error.toStdString();
    }
}
