#include "drivers/ModulePanel.h"

#include "drivers/Hd44780Font.h"
#include "support/FakeLog.h"
#include "support/QtPrinters.h"
#include "support/RowsFrame.h"

#include <QTest>
#include <atomic>
#include <gtest/gtest.h>

namespace {

// A module that keeps what it was sent: its cells, its user-defined characters, and how many
// cells each frame cost. The test sets whether its device can be had.
struct RecordingModule {
    std::atomic<bool> present{true};
    std::atomic<bool> failsWrites{false};
    std::vector<QByteArray> cells;
    std::array<GlyphRows, 8> glyphs{};
    int opens = 0;
    int cellsWritten = 0;
};

class RecordingLink : public ModuleLink {
public:
    RecordingLink(RecordingModule& module, int columns, int lines)
        : module(module), columns(columns), lines(lines) {}

    bool open(QString& error) override {
        if (!module.present) {
            error = QStringLiteral("périphérique introuvable");
            return false;
        }
        ++module.opens;
        module.cells.assign(lines, QByteArray(columns, ' '));
        module.glyphs = {};
        return true;
    }
    void close() override {}
    bool write(int line, int column, const QByteArray& codes, QString& error) override {
        if (module.failsWrites) {
            error = QStringLiteral("périphérique débranché");
            return false;
        }
        module.cells[line].replace(column, codes.size(), codes);
        module.cellsWritten += static_cast<int>(codes.size());
        return true;
    }
    bool defineGlyph(int slot, const GlyphRows& rows, QString&) override {
        module.glyphs[slot] = rows;
        return true;
    }

private:
    RecordingModule& module;
    int columns;
    int lines;
};

struct Rig {
    RecordingModule module;
    FakeLog log;
    ModulePanel panel;
    Rig(int columns, int lines)
        : panel(std::make_unique<RecordingLink>(module, columns, lines), {columns, lines}, "Essai",
                log) {}
};

} // namespace

TEST(ModulePanel, ShowsWhatTheOnScreenPanelShowsSendingOnlyWhatChanged) {
    for (const auto& [columns, lines] : {std::pair{16, 2}, {20, 4}, {40, 4}}) {
        Rig rig(columns, lines);
        OnScreenPanel screen(columns, lines);
        const auto both = [&](const Frame& frame) {
            rig.panel.show(frame);
            screen.show(frame);
            rig.panel.flush();
        };
        rig.panel.reset();
        screen.reset();
        // A short fixed row, big-clock codes, rows longer than a small panel.
        both(rowsFrame({"Libre : 123 Mo", QByteArray("\x00\x01\x02 12:34", 9),
                        "fixe" + QByteArray(21, ' '), "quatrième ligne"}));
        for (int line = 0; line < lines; ++line) {
            EXPECT_EQ(rig.module.cells[line], screen.line(line)) << columns << "x" << lines;
        }
        for (int slot = 0; slot < 8; ++slot) {
            EXPECT_EQ(rig.module.glyphs[slot], bigDigitCgram()[slot]) << slot;
        }
        const int before = rig.module.cellsWritten;
        both(rowsFrame({"Libre : 124 Mo"}));
        EXPECT_EQ(rig.module.cellsWritten - before, 1) << "one digit changed";
        EXPECT_EQ(rig.module.cells[0], screen.line(0));
        EXPECT_EQ(rig.module.opens, 1);
    }
}

TEST(ModulePanel, AMissingDeviceIsToldOnceTriedEverySecondAndSentTheWholeImageOnceBack) {
    Rig rig(20, 2);
    rig.module.present = false;
    rig.panel.reset();
    for (int i = 0; i < 3; ++i) {
        rig.panel.show(rowsFrame({"bonjour", QByteArray::number(i)}));
        rig.panel.flush();
    }
    ASSERT_EQ(rig.log.lines, QStringList{"Essai inaccessible : périphérique introuvable"});
    rig.module.present = true;
    // No frame comes: the thread tries again by itself within a second or so.
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.log.lines.size() == 2; }, 5000));
    EXPECT_EQ(rig.log.lines.last(), "Essai retrouvé");
    rig.panel.flush();
    EXPECT_EQ(rig.module.cells[0], "bonjour             ");
    EXPECT_EQ(rig.module.cells[1], "2                   ");

    // Lost while writing: told once, and after it comes back the module gets everything again.
    rig.module.failsWrites = true;
    rig.panel.show(rowsFrame({"perdu"}));
    rig.panel.show(rowsFrame({"toujours perdu"}));
    rig.panel.flush();
    rig.module.failsWrites = false;
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.log.lines.size() == 4; }, 5000));
    EXPECT_EQ(rig.log.lines[2], "Essai perdu : périphérique débranché");
    EXPECT_EQ(rig.log.lines[3], "Essai retrouvé");
    rig.panel.flush();
    EXPECT_EQ(rig.module.cells[0], "toujours perdu      ");
    EXPECT_EQ(rig.module.cells[1], "2                   ");
}
