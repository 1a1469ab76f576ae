#include "render/CharacterMapping.h"

#include "drivers/Hd44780Font.h"
#include "drivers/OnScreenPanel.h"
#include "drivers/ParallelPanel.h"
#include "support/EmulatedHd44780Port.h"
#include "support/QtPrinters.h"
#include "support/RowsFrame.h"
#include "terminal/TerminalView.h"

#include <gtest/gtest.h>
#include <map>

namespace {

// « Mémoire 25°C çà » as the program holds it, in Windows-1252.
const QByteArray kLine = "M\xE9moire 25\xB0"
                         "C \xE7\xE0";

CharacterMapping to(CharacterSet rom, PanelCharacters panel, QByteArrayList referring = {},
                    const std::array<GlyphRows, 8>* clockGlyphs = nullptr) {
    return {rom, panel, std::move(referring), clockGlyphs};
}

QByteArray padded(QByteArray text, int width = 20) {
    return text.leftJustified(width, ' ');
}

// The letter each user-defined code of a panel line draws, by column.
std::map<int, quint8> lettersShown(const Hd44780& lcd, int line) {
    std::map<int, quint8> letters;
    const QByteArray codes = lcd.line(line);
    for (int column = 0; column < codes.size(); ++column) {
        if (const std::optional<int> slot = Hd44780::glyphSlot(quint8(codes[column]))) {
            letters[column] = letterOfGlyph(lcd.glyph(*slot)).value_or(0);
        }
    }
    return letters;
}

} // namespace

TEST(CharacterMapping, EveryPanelShowsTheAccentsAndTheDegreeSignAsItCan) {
    // On screen with A00: é, ç and à drawn in user-defined characters, ° from the ROM.
    GlyphSlots slots;
    OnScreenPanel a00(20, 2, CharacterSet::A00);
    a00.reset();
    a00.show(mapCharacters(rowsFrame({kLine}), to(CharacterSet::A00, a00.characters()), slots));
    QByteArray codes = a00.line(0);
    EXPECT_EQ(codes.left(13).remove(1, 1), "Mmoire 25\xDF"
                                           "C ");
    EXPECT_EQ(lettersShown(a00.row(0).controller, 0),
              (std::map<int, quint8>{{1, 0xE9}, {13, 0xE7}, {14, 0xE0}}));
    EXPECT_TRUE(renderTerminalFrame(a00).contains("│Mémoire 25°C çà     │"));

    // On screen with A02, whose upper half is Latin-1: the ROM has them all.
    OnScreenPanel a02(20, 2, CharacterSet::A02);
    a02.reset();
    const Frame european =
        mapCharacters(rowsFrame({kLine}), to(CharacterSet::A02, a02.characters()), slots);
    EXPECT_EQ(european.glyphs, Frame().glyphs);
    a02.show(european);
    EXPECT_EQ(a02.line(0), padded(kLine));
    EXPECT_TRUE(renderTerminalFrame(a02).contains("│Mémoire 25°C çà     │"));

    // A panel without user-defined characters: the letter without its accent.
    GlyphSlots none;
    EXPECT_EQ(mapCharacters(rowsFrame({kLine}), to(CharacterSet::A00, {}), none).rows[0],
              "Memoire 25\xDF"
              "C ca");
    EXPECT_EQ(mapCharacters(rowsFrame({kLine}), to(CharacterSet::A02, {}), none).rows[0], kLine);

    // LCDd takes Latin-1: only Windows-1252's own characters become the nearest letter.
    const Frame latin1 =
        mapCharacters(rowsFrame({kLine + "\x80\x9C\x85"}), to(CharacterSet::A00, {true, 0}), none);
    EXPECT_EQ(latin1.rows[0], kLine + "Eo.");
    EXPECT_TRUE(latin1.panelCodes);
}

TEST(CharacterMapping, TheClockAndTheCodesOfThePageKeepTheirSlotsAndLaterLettersLoseTheirAccent) {
    const QByteArray clockRow("\x02\x00\x03 \xFF \xFF", 7);
    const QByteArray letters = "\xE0\xE9\xE8\xEA\xEB\xF9"; // àéèêëù
    Frame page = rowsFrame({clockRow, letters});
    page.clock = ClockTime{12, 34, 56};
    // A bar of the page draws its empty cells with code 7.
    const QByteArrayList bar = {"0 100 50", "\x07"};

    GlyphSlots slots;
    OnScreenPanel a00(20, 2, CharacterSet::A00);
    const Frame mapped =
        mapCharacters(page, to(CharacterSet::A00, a00.characters(), bar, &bigDigitCgram()), slots);
    EXPECT_EQ(mapped.rows[0], clockRow);
    EXPECT_EQ(mapped.rows[1], "\x06"
                              "eeeeu")
        << "slot 6 alone is free";
    a00.show(mapped);
    for (int slot = 0; slot < 6; ++slot) {
        EXPECT_EQ(a00.row(0).controller.glyph(slot), bigDigitCgram()[slot]) << slot;
    }
    EXPECT_EQ(letterOfGlyph(a00.row(0).controller.glyph(6)), 0xE0);

    // Letters that took the low slots on a page without the clock give them back to its shapes,
    // even where a message on one row leaves no whole clock.
    GlyphSlots next = slots;
    a00.show(mapCharacters(rowsFrame({letters}), to(CharacterSet::A00, a00.characters()), next));
    Frame notWhole = page;
    notWhole.clock.reset();
    const QByteArrayList clockRows = {QByteArray("\x00\x01\x02\x03\x04\x05", 6)};
    a00.show(mapCharacters(
        notWhole, to(CharacterSet::A00, a00.characters(), clockRows, &bigDigitCgram()), next));
    for (int slot = 0; slot < 6; ++slot) {
        EXPECT_EQ(a00.row(0).controller.glyph(slot), bigDigitCgram()[slot]) << slot;
    }

    // A02 has no full block: the clock's takes a slot of its own, before any letter.
    page.rows[1] = "\x8A\x9A"; // Šš
    const Frame european =
        mapCharacters(page, to(CharacterSet::A02, {false, 8}, {}, &bigDigitCgram()), slots);
    EXPECT_EQ(european.rows[0], QByteArray("\x02\x00\x03 \x07 \x07", 7));
    EXPECT_EQ(european.rows[1], "\x06s");
    EXPECT_EQ(european.glyphs[7], (GlyphRows{0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F}));
    EXPECT_EQ(letterOfGlyph(*european.glyphs[6]), 0x8A);
}

TEST(CharacterMapping, AScrollingLetterKeepsItsSlotAndOnlyChangedGlyphsAreWritten) {
    auto port = std::make_unique<EmulatedHd44780Port>(8, 1);
    EmulatedHd44780Port& emulated = *port;
    ParallelPanel panel(std::move(port), [] {});
    panel.reset();
    emulated.setRecording(true);

    const QByteArray text = "d\xE9j\xE0 vu, \xE7"
                            "a va tr\xE8s bien, d\xE9j\xE0";
    GlyphSlots slots;
    Frame shown;
    std::map<quint8, int> slotOf; // of each letter in view
    int appearances = 0;
    int glyphWrites = 0;
    for (int step = 0; step + 8 <= text.size(); ++step) {
        shown = mapCharacters(rowsFrame({text.mid(step, 8)}),
                              to(CharacterSet::A00, panel.characters()), slots);
        panel.show(shown);
        std::map<quint8, int> inView;
        for (const auto& [column, letter] : lettersShown(emulated.model(), 0)) {
            const int slot = quint8(emulated.model().line(0)[column]);
            EXPECT_EQ(letter, quint8(text[step + column])) << step;
            if (slotOf.contains(letter)) {
                EXPECT_EQ(slot, slotOf[letter]) << "moved at step " << step;
            }
            inView[letter] = slot;
        }
        for (const auto& [letter, slot] : inView) {
            appearances += !slotOf.contains(letter);
        }
        slotOf = inView;
        for (const PanelTransfer& t : emulated.takeTransfers()) {
            glyphWrites += !t.data && (t.value & 0xC0) == 0x40; // a CGRAM address
        }
    }
    EXPECT_EQ(appearances, 6) << "é à ç è, then é and à again";
    EXPECT_EQ(glyphWrites, 5) << "à comes back to the slot that still holds it";

    // After a reset (the module may have been switched off) the glyphs in view are written again.
    panel.reset();
    emulated.takeTransfers();
    panel.show(shown);
    EXPECT_EQ(lettersShown(emulated.model(), 0), (std::map<int, quint8>{{5, 0xE9}, {7, 0xE0}}));
    EXPECT_EQ(emulated.takeTransfers().count(PanelTransfer{false, 0x40 | 7 << 3}), 1);
}
