#include "render/CharacterMapping.h"

#include <QVarLengthArray>
#include <algorithm>
#include <string_view>

namespace {

constexpr quint8 kFullBlock = 0xFF;
constexpr int kSlots = 8;
constexpr int kClockSlots = 6; // the big digits' bars and corners

// What each code of the ROM holds, for the Windows-1252 characters that are not at their own code.
struct RomCode {
    quint8 character;
    quint8 code;
};
constexpr RomCode kA00Codes[] = {
    {0xA0, 0x20}, {0xA2, 0xEC}, {0xA3, 0xED}, {0xA5, 0x5C}, {0xB0, 0xDF},
    {0xB5, 0xE4}, {0xB7, 0xA5}, {0xDF, 0xE2}, {0xE4, 0xE1}, {0xF1, 0xEE},
    {0xF6, 0xEF}, {0xF7, 0xFD}, {0xFC, 0xF5}, {0xFF, 0xFF},
};

std::optional<quint8> romCode(CharacterSet rom, quint8 c) {
    if (c == '\\') {
        return std::nullopt; // both ROMs have the yen sign there
    }
    if (rom == CharacterSet::A02) {
        if (c < 0x80) {
            return c;
        }
        if (c == 0xA0) {
            return quint8(' ');
        }
        constexpr std::string_view elsewhere = "\xA8\xAC\xAD\xAF\xB4\xB8\xFF";
        if (c < 0xA0 || elsewhere.find(char(c)) != std::string_view::npos) {
            return std::nullopt;
        }
        return c;
    }
    if (c < 0x80) {
        return c == '~' ? std::nullopt : std::optional<quint8>(c); // 0x7E is an arrow
    }
    for (const RomCode& r : kA00Codes) {
        if (r.character == c) {
            return r.code;
        }
    }
    return std::nullopt;
}

// The nearest ASCII character to each of Windows-1252's upper half.
constexpr std::string_view kNearest = "E?,f\".++^%S<O?Z?"
                                      "?''\"\".--~Ts>o?zY"
                                      " !cLoY|S\"ca<--R-"
                                      "o+23'uP.,1o>???\?"
                                      "AAAAAAACEEEEIIII"
                                      "DNOOOOOxOUUUUYPs"
                                      "aaaaaaaceeeeiiii"
                                      "dnooooo/ouuuuypy";
static_assert(kNearest.size() == 128);

quint8 nearest(quint8 c) {
    if (c >= 0x80) {
        return quint8(kNearest[c - 0x80]);
    }
    return c == '\\' ? quint8('/') : c == '~' ? quint8('-') : c;
}

// Glyphs: a letter's body on rows 2-6 under an accent on rows 0-1, as the ROM draws its small
// letters; capitals are cut to five rows to leave room for the accent.
struct Pattern {
    char name;
    std::string_view rows; // five rows of five dots, '#' lit
};
constexpr Pattern kBodies[] = {
    {'A', ".###. #...# ##### #...# #...#"},
    {'E', "##### #.... ####. #.... #####"},
    {'I', ".###. ..#.. ..#.. ..#.. .###."},
    {'N', "#...# ##..# #.#.# #..## #...#"},
    {'O', ".###. #...# #...# #...# .###."},
    {'U', "#...# #...# #...# #...# .###."},
    {'Y', "#...# .#.#. ..#.. ..#.. ..#.."},
    {'S', ".#### #.... .###. ....# ####."},
    {'Z', "##### ...#. ..#.. .#... #####"},
    {'a', ".###. ....# .#### #...# .####"},
    {'e', ".###. #...# ##### #.... .###."},
    {'i', ".##.. ..#.. ..#.. ..#.. .###."},
    {'n', "#.##. ##..# #...# #...# #...#"},
    // o and z stand a row lower than O and Z, whose cut bodies they would otherwise match.
    {'o', "..... .###. #...# #...# .###."},
    {'u', "#...# #...# #...# #..## .##.#"},
    {'y', "#...# #...# .#### ....# .###."},
    {'s', ".###. #.... .###. ....# ####."},
    {'z', "..... ##### ...#. .#... #####"},
    // With a cedilla the body goes up a row: rows 1-5.
    {'C', ".#### #.... #.... #.... .####"},
    {'c', ".###. #.... #.... #...# .###."},
};
constexpr Pattern kAccents[] = {
    {'`', ".#... ..#.."}, {'\'', "...#. ..#.."}, {'^', "..#.. .#.#."}, {'~', ".##.# #..#."},
    {':', ".#.#. ....."}, {'o', ".###. .#.#."},  {'v', ".#.#. ..#.."}, {',', "..#.. .##.."},
};

// Letter and accent of 0xC0-0xDF, and of their small letters 0x20 further.
constexpr std::string_view kLetters = "AAAAAA CEEEEIIII NOOOOO  UUUUY  ";
constexpr std::string_view kMarks = "`'^~:o ,`'^:`'^: ~`'^~:  `'^:'  ";
struct Accented {
    quint8 character;
    char letter;
    char mark;
};
constexpr Accented kCarons[] = {
    {0x8A, 'S', 'v'}, {0x9A, 's', 'v'}, {0x8E, 'Z', 'v'}, {0x9E, 'z', 'v'}, {0x9F, 'Y', ':'},
};

void draw(GlyphRows& glyph, int firstRow, std::string_view rows) {
    for (std::size_t at = 0; at < rows.size(); ++at) {
        if (rows[at] == '#') {
            const int row = firstRow + int(at / 6);
            glyph[row] = quint8(glyph[row] | (0x10 >> (at % 6)));
        }
    }
}

std::optional<GlyphRows> accented(char letter, char mark) {
    const auto body = std::find_if(std::begin(kBodies), std::end(kBodies),
                                   [letter](const Pattern& p) { return p.name == letter; });
    const auto accent = std::find_if(std::begin(kAccents), std::end(kAccents),
                                     [mark](const Pattern& p) { return p.name == mark; });
    if (body == std::end(kBodies) || accent == std::end(kAccents)) {
        return std::nullopt;
    }
    GlyphRows glyph{};
    if (mark == ',') {
        draw(glyph, 1, body->rows);
        draw(glyph, 6, accent->rows);
    } else {
        draw(glyph, 0, accent->rows);
        draw(glyph, 2, body->rows);
    }
    return glyph;
}

// The glyph the program draws for a character a ROM may lack.
std::optional<GlyphRows> designedGlyph(quint8 c) {
    GlyphRows glyph{};
    switch (c) {
    case kFullBlock:
        glyph.fill(0x1F);
        return glyph;
    case '\\':
        draw(glyph, 1, "#.... .#... ..#.. ...#. ....#");
        return glyph;
    case '~':
        draw(glyph, 2, ".##.# #..#.");
        return glyph;
    }
    if (c >= 0xC0) {
        const std::size_t at = (c - 0xC0) % 32;
        const char letter = kLetters[at];
        return accented(c >= 0xE0 ? char(letter | 0x20) : letter, kMarks[at]);
    }
    for (const Accented& a : kCarons) {
        if (a.character == c) {
            return accented(a.letter, a.mark);
        }
    }
    return std::nullopt;
}

bool hasGlyph(quint8 c) {
    return designedGlyph(c).has_value();
}

Frame toLatin1(Frame frame) {
    for (int i = 0; i < frame.lines; ++i) {
        if (frame.rows[i]) {
            for (char& c : *frame.rows[i]) {
                const auto code = quint8(c);
                if (code >= 0x80 && code < 0xA0) {
                    c = char(nearest(code));
                }
            }
        }
    }
    frame.panelCodes = true;
    return frame;
}

} // namespace

Frame mapCharacters(Frame frame, const CharacterMapping& mapping, GlyphSlots& slots) {
    if (mapping.panel.latin1) {
        return toLatin1(std::move(frame));
    }
    std::array<bool, kSlots> referred{};
    const auto refer = [&referred](const QByteArray& text) {
        for (const char c : text) {
            if (quint8(c) < 0x10) {
                referred[quint8(c) & 7] = true;
            }
        }
    };
    for (int i = 0; i < frame.lines; ++i) {
        refer(frame.rows[i].value_or(QByteArray()));
    }
    for (const QByteArray& text : mapping.referring) {
        refer(text);
    }
    if (frame.clock) {
        std::fill_n(referred.begin(), kClockSlots, true);
    }

    // The characters to draw, the full block first: the big clock is made of it.
    QVarLengthArray<quint8, 16> needed;
    for (int i = 0; i < frame.lines; ++i) {
        for (const char c : frame.rows[i].value_or(QByteArray())) {
            const auto code = quint8(c);
            if (code >= 0x10 && !romCode(mapping.rom, code) && !needed.contains(code) &&
                hasGlyph(code)) {
                needed.append(code);
            }
        }
    }
    std::stable_partition(needed.begin(), needed.end(), [](quint8 c) { return c == kFullBlock; });

    const auto usable = [&](int slot) {
        return !frame.atCursor && slot < mapping.panel.definableGlyphs && !referred[slot];
    };
    for (int slot = 0; slot < kSlots; ++slot) {
        if (slots.letter[slot] && (!usable(slot) || !needed.contains(slots.letter[slot]))) {
            slots.letter[slot] = 0;
        }
    }
    // New letters take the highest free slots: the low ones hold the big clock's shapes.
    for (const quint8 c : needed) {
        if (std::find(slots.letter.begin(), slots.letter.end(), c) != slots.letter.end()) {
            continue;
        }
        for (int slot = kSlots - 1; slot >= 0; --slot) {
            if (usable(slot) && !slots.letter[slot]) {
                slots.letter[slot] = c;
                break;
            }
        }
    }

    for (int i = 0; i < frame.lines; ++i) {
        if (!frame.rows[i]) {
            continue;
        }
        for (char& c : *frame.rows[i]) {
            auto code = quint8(c);
            if (code < 0x10) {
                continue;
            }
            const auto slot = std::find(slots.letter.begin(), slots.letter.end(), code);
            if (!romCode(mapping.rom, code) && slot != slots.letter.end()) {
                c = char(slot - slots.letter.begin());
                continue;
            }
            if (code == kFullBlock && !romCode(mapping.rom, code)) {
                code = '#';
            }
            while (!romCode(mapping.rom, code)) {
                code = nearest(code); // ends on ASCII, which both ROMs have but for two
            }
            c = char(*romCode(mapping.rom, code));
        }
    }
    for (int slot = 0; slot < kSlots; ++slot) {
        if (slots.letter[slot]) {
            frame.glyphs[slot] = designedGlyph(slots.letter[slot]);
        }
    }
    // A low slot that holds no letter draws the big clock's shape, which codes 0-5 stand for: a
    // clock drawn after a page of accents, whole or not, finds its shapes again.
    for (int slot = 0; mapping.clockGlyphs && slot < kClockSlots; ++slot) {
        if (!slots.letter[slot]) {
            frame.glyphs[slot] = (*mapping.clockGlyphs)[slot];
        }
    }
    frame.panelCodes = true;
    return frame;
}

QByteArrayList referringTexts(const PageModel& pages, int lines, const QByteArray& plein,
                              const QByteArray& vide) {
    QByteArrayList texts;
    bool bar = false;
    for (int i = 0; i < std::clamp(lines, 0, kLinesPerPage); ++i) {
        texts.append(pages.CurrentLines[i].Text);
        bar = bar || pages.CurrentLines[i].ScrollMode == kScrollBargraph;
    }
    if (bar) {
        texts << plein << vide;
    }
    return texts;
}

std::optional<quint8> letterOfGlyph(const GlyphRows& rows) {
    for (int c = 0x10; c < kFullBlock; ++c) {
        if (designedGlyph(quint8(c)) == rows) {
            return quint8(c);
        }
    }
    return std::nullopt;
}
