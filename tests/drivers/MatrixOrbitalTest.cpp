#include "drivers/MatrixOrbital.h"

#include "MatrixOrbitalModule.h"
#include "platform/SerialLine.h"
#include "support/PseudoTerminal.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>
#include <poll.h>
#include <thread>

namespace {

// A line of the panel's width: letters, then user-defined character 3 as code 11, and 0xFE,
// which the module would take for a command.
QByteArray panelLine(int line, int width) {
    QByteArray text;
    for (int i = 0; i < width - 2; ++i) {
        text += char('A' + (line * 7 + i) % 26);
    }
    return text + "\x0B\xFE";
}

// Plays `module` at the far end of the line until it has answered once, or five seconds.
std::thread moduleAt(PseudoTerminal& pty, const std::function<QByteArray(QByteArray)>& answer) {
    return std::thread([&pty, answer] {
        pollfd far{pty.master.get(), POLLIN, 0};
        QByteArray heard;
        while (heard.size() < 2 && ::poll(&far, 1, 5000) > 0) {
            char buffer[64];
            const ssize_t got = ::read(pty.master.get(), buffer, sizeof buffer);
            heard.append(buffer, std::max<ssize_t>(got, 0));
        }
        const QByteArray reply = answer(heard);
        EXPECT_EQ(::write(pty.master.get(), reply.constData(), reply.size()), reply.size());
    });
}

} // namespace

TEST(MatrixOrbitalLink, ShowsEveryLineAtEverySizeWithItsCharactersBacklightAndContrast) {
    struct Size {
        int columns, lines, speed, contrast, backlight;
        int shownContrast; // 50 % is the middle of the module's range; 0 keeps what it saved
    };
    for (const Size size : {Size{16, 2, 9600, 50, 1, 128}, Size{20, 4, 19200, 0, 0, 128},
                            Size{40, 4, 115200, 150, 1, 255}}) {
        SCOPED_TRACE(size.columns);
        PseudoTerminal pty;
        TempDir dir;
        const QString device = dir.file("ttyACM0");
        ASSERT_TRUE(QFile::link(pty.slave, device));
        MatrixOrbitalLink link(device, size.speed,
                               {size.columns, size.lines, size.contrast, size.backlight});
        QString error;
        ASSERT_TRUE(link.open(error)) << error.toStdString();
        termios line{};
        ASSERT_EQ(::tcgetattr(pty.master.get(), &line), 0);
        EXPECT_EQ(::cfgetospeed(&line), *lineSpeed(size.speed));

        const GlyphRows degree{0xEC, 0x12, 0x12, 0x0C, 0, 0, 0, 0xFF};
        EXPECT_TRUE(link.defineGlyph(3, degree, error));
        for (int i = 0; i < size.lines; ++i) {
            EXPECT_TRUE(link.write(i, 0, panelLine(i, size.columns), error));
        }
        EXPECT_TRUE(link.write(size.lines - 1, size.columns - 4, "\x01z", error));

        MatrixOrbitalModule module(size.columns, size.lines);
        QByteArray last = panelLine(size.lines - 1, size.columns);
        last.replace(size.columns - 4, 2, "\x01z");
        ASSERT_TRUE(pty.receiveUntil([&](const QByteArray&) {
            module.feed(std::exchange(pty.received, {}));
            return module.line(size.lines - 1).startsWith(last.left(size.columns - 2));
        }));
        for (int i = 0; i < size.lines; ++i) {
            QByteArray expected = i == size.lines - 1 ? last : panelLine(i, size.columns);
            expected.replace("\x0B\xFE", "\x03 ");
            EXPECT_EQ(module.line(i), expected) << i;
        }
        EXPECT_EQ(module.glyph(3), (GlyphRows{0x0C, 0x12, 0x12, 0x0C, 0, 0, 0, 0x1F}));
        EXPECT_FALSE(module.screen().cursorShown());
        EXPECT_FALSE(module.lineWrap());
        EXPECT_FALSE(module.autoScroll());
        EXPECT_EQ(module.backlight(), size.backlight != 0);
        EXPECT_EQ(module.contrast(), size.shownContrast);
    }
}

TEST(MatrixOrbitalLink, AProbeKnowsAModuleByItsAnswerAndNothingElse) {
    struct Case {
        std::function<QByteArray(QByteArray)> far;
        std::optional<MatrixOrbitalType> found;
    };
    const Case cases[] = {
        {[](const QByteArray& heard) { return MatrixOrbitalModule(20, 4, 0x57).feed(heard); },
         MatrixOrbitalType{0x57, "LK204-25-USB"}},
        {[](const QByteArray& heard) { return MatrixOrbitalModule(20, 4, 0x6F).feed(heard); },
         MatrixOrbitalType{0x6F, ""}},
        {[](const QByteArray& heard) { return heard; }, std::nullopt}, // a line that echoes
        {[](const QByteArray&) { return QByteArray("OK\r\n"); }, std::nullopt}, // a modem
        {[](const QByteArray&) { return QByteArray(); }, std::nullopt},         // nothing at all
    };
    for (const Case& c : cases) {
        PseudoTerminal pty;
        SerialLine line(QFile::encodeName(pty.slave), B19200, true);
        ASSERT_TRUE(line.isOpen());
        std::thread far = moduleAt(pty, c.far);
        EXPECT_EQ(probeMatrixOrbital(line.get()), c.found);
        far.join();
    }
}
