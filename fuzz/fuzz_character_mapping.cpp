// The character mapping over any frame a panel of up to 40x4 can be sent, any ROM and panel kind,
// any referring texts and clock: each input is mapped twice in a row with the same slots, the
// second time a frame that scrolled, changed a byte or is new. Codes 0-15 stay; a letter drawn in
// a slot is that letter's glyph, and keeps its slot while the slot stays free; the clock's slots
// and those the texts refer to are never taken.
#include "FuzzSupport.h"
#include "render/CharacterMapping.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

constexpr int kSlots = 8;
constexpr int kClockSlots = 6;
constexpr quint8 kFullBlock = 0xFF;

QByteArray bytes(FuzzedDataProvider& in, int size) {
    return QByteArray::fromStdString(in.ConsumeBytesAsString(size_t(size)));
}

Frame frameOf(FuzzedDataProvider& in) {
    Frame frame;
    frame.atCursor = in.ConsumeIntegralInRange(0, 15) == 0;
    frame.lines = frame.atCursor ? 1 : in.ConsumeIntegralInRange(0, Frame::kMaxLines);
    for (int i = 0; i < frame.lines; ++i) {
        if (frame.atCursor || in.ConsumeIntegralInRange(0, 7) != 0) {
            frame.rows[i] = bytes(in, in.ConsumeIntegralInRange(0, 41));
        }
    }
    if (!frame.atCursor && in.ConsumeIntegralInRange(0, 3) == 0) {
        frame.clock = ClockTime{12, 34, 56};
    }
    return frame;
}

// The slots a mapping of `frame` may not take: those its rows and the texts refer to (codes 8-15
// are 0-7 again), the clock's while it shows, and all of them for a banner or past the panel's.
std::array<bool, kSlots> closedSlots(const Frame& frame, const CharacterMapping& mapping) {
    std::array<bool, kSlots> closed{};
    const auto refer = [&closed](const QByteArray& text) {
        for (const char c : text) {
            if (quint8(c) < 0x10) {
                closed[quint8(c) & 7] = true;
            }
        }
    };
    for (int i = 0; i < frame.lines; ++i) {
        refer(frame.rows[i].value_or(QByteArray()));
    }
    for (const QByteArray& text : mapping.referring) {
        refer(text);
    }
    for (int slot = 0; slot < kSlots; ++slot) {
        closed[slot] = closed[slot] || frame.atCursor || slot >= mapping.panel.definableGlyphs ||
                       (frame.clock && slot < kClockSlots);
    }
    return closed;
}

bool shows(const Frame& frame, quint8 code) {
    for (int i = 0; i < frame.lines; ++i) {
        if (frame.rows[i] && frame.rows[i]->contains(char(code))) {
            return true;
        }
    }
    return false;
}

// The glyph of each letter that letterOfGlyph() has read back as that letter.
std::array<std::optional<GlyphRows>, 256> readBack;

// Each cell of the frame before the mapping beside the same cell after it, rows kept their size.
template <typename Check> void eachCell(const Frame& before, const Frame& after, Check check) {
    for (int i = 0; i < before.lines; ++i) {
        const QByteArray& in = before.rows[i].value_or(QByteArray());
        const QByteArray& out = after.rows[i].value_or(QByteArray());
        FUZZ_CHECK(in.size() == out.size());
        for (qsizetype at = 0; at < in.size(); ++at) {
            check(quint8(in[at]), quint8(out[at]));
        }
    }
}

// What the header promises of one mapping of `before` into `after`.
void check(const Frame& before, const Frame& after, const CharacterMapping& mapping,
           const GlyphSlots& slots) {
    FUZZ_CHECK(after.panelCodes);
    FUZZ_CHECK(after.lines == before.lines && after.clock == before.clock &&
               after.atCursor == before.atCursor);
    for (int i = 0; i < Frame::kMaxLines; ++i) {
        FUZZ_CHECK(after.rows[i].has_value() == before.rows[i].has_value());
    }
    if (mapping.panel.latin1) {
        // Latin-1: only Windows-1252's additions change, to plain ASCII.
        eachCell(before, after, [](quint8 c, quint8 code) {
            FUZZ_CHECK(c >= 0x80 && c < 0xA0 ? code < 0x80 : code == c);
        });
        FUZZ_CHECK(after.glyphs == before.glyphs);
        return;
    }

    const std::array<bool, kSlots> closed = closedSlots(before, mapping);
    for (int slot = 0; slot < kSlots; ++slot) {
        const quint8 letter = slots.letter[slot];
        if (letter == 0) {
            continue;
        }
        FUZZ_CHECK(!closed[slot]);
        FUZZ_CHECK(letter >= 0x10 && shows(before, letter));
        FUZZ_CHECK(std::count(slots.letter.begin(), slots.letter.end(), letter) == 1);
        // The slot draws the letter: the block as a full cell, any other as a glyph that reads
        // back as that letter.
        FUZZ_CHECK(after.glyphs[slot].has_value());
        const GlyphRows& glyph = *after.glyphs[slot];
        FUZZ_CHECK(std::all_of(glyph.begin(), glyph.end(), [](quint8 row) { return row < 0x20; }));
        if (letter == kFullBlock) {
            FUZZ_CHECK(
                std::all_of(glyph.begin(), glyph.end(), [](quint8 row) { return row == 0x1F; }));
            FUZZ_CHECK(!letterOfGlyph(glyph));
        } else if (readBack[letter] != glyph) {
            // letterOfGlyph() tries every letter: asked once per glyph, it leaves the harness
            // its speed.
            FUZZ_CHECK(letterOfGlyph(glyph) == letter);
            readBack[letter] = glyph;
        }
    }
    for (int slot = 0; mapping.clockGlyphs && slot < kClockSlots; ++slot) {
        if (slots.letter[slot] == 0) {
            FUZZ_CHECK(after.glyphs[slot] == (*mapping.clockGlyphs)[slot]);
        }
    }

    eachCell(before, after, [&slots](quint8 c, quint8 code) {
        if (c < 0x10) {
            FUZZ_CHECK(code == c);
        } else if (code < 0x10) {
            // Only a slot that holds this very letter stands for it.
            FUZZ_CHECK(code < kSlots && slots.letter[code] == c);
        }
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    std::array<GlyphRows, 8> clockGlyphs{};
    CharacterMapping mapping;
    mapping.rom = in.ConsumeBool() ? CharacterSet::A02 : CharacterSet::A00;
    mapping.panel.latin1 = in.ConsumeIntegralInRange(0, 7) == 0;
    mapping.panel.definableGlyphs = in.ConsumeIntegralInRange(0, kSlots);
    if (in.ConsumeBool()) {
        for (GlyphRows& glyph : clockGlyphs) {
            for (quint8& row : glyph) {
                row = in.ConsumeIntegral<quint8>() & 0x1F;
            }
        }
        mapping.clockGlyphs = &clockGlyphs;
    }
    for (int n = in.ConsumeIntegralInRange(0, 3); n > 0; --n) {
        mapping.referring.append(bytes(in, in.ConsumeIntegralInRange(0, 20)));
    }
    GlyphSlots slots;
    const Frame first = frameOf(in);

    // The next refresh: the same frame, its rows scrolled a step, one byte changed, or another.
    Frame second = first;
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
        break;
    case 1:
        for (std::optional<QByteArray>& row : second.rows) {
            if (row && !row->isEmpty()) {
                *row = row->sliced(1) + row->front();
            }
        }
        break;
    case 2: {
        const int line = in.ConsumeIntegralInRange(0, Frame::kMaxLines - 1);
        if (std::optional<QByteArray>& row = second.rows[line]; row && !row->isEmpty()) {
            (*row)[in.ConsumeIntegralInRange<qsizetype>(0, row->size() - 1)] =
                char(in.ConsumeIntegral<quint8>());
        }
        break;
    }
    default:
        second = frameOf(in);
    }

    check(first, mapCharacters(first, mapping, slots), mapping, slots);
    const GlyphSlots kept = slots;
    check(second, mapCharacters(second, mapping, slots), mapping, slots);
    // A letter still on the panel keeps its slot while that slot may be used.
    const std::array<bool, kSlots> closed = closedSlots(second, mapping);
    for (int slot = 0; slot < kSlots && !mapping.panel.latin1; ++slot) {
        if (kept.letter[slot] != 0 && !closed[slot] && shows(second, kept.letter[slot])) {
            FUZZ_CHECK(slots.letter[slot] == kept.letter[slot]);
        }
    }
    return 0;
}
