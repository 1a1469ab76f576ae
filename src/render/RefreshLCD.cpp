#include "render/RefreshLCD.h"

#include <algorithm>

namespace {

// What a line with no text writes, and what pads a fixed line before it is cut to the panel's
// width: both as long as they have always been, whatever the width.
const QByteArray kBlankLine(20, ' ');
constexpr QByteArrayView kFixedPadding = "                     "; // 21 spaces
// Between the end of a text scrolling left or right and its next start.
constexpr QByteArrayView kMarqueeGap = "     ";

// Puts into `out` the characters of the parts one after the other from index `from`, at most
// `count` of them; nothing when the index lies beyond them (a position left over from a longer
// text). The parts are not joined first: a line is written from a buffer kept for the refresh.
void slice(QByteArray& out, std::initializer_list<QByteArrayView> parts, qsizetype from,
           qsizetype count) {
    out.resize(0);
    if (from < 0) {
        return;
    }
    for (const QByteArrayView part : parts) {
        if (count <= 0) {
            break;
        }
        if (from >= part.size()) {
            from -= part.size();
            continue;
        }
        const qsizetype taken = std::min(count, part.size() - from);
        out.append(part.sliced(from, taken));
        count -= taken;
        from = 0;
    }
}

// A line that stays put: its text padded with kFixedPadding, then cut to the panel's width.
void fixedLine(QByteArray& out, const QByteArray& text, int columns) {
    slice(out, {text, kFixedPadding}, 0, columns);
}

void bounce(LineRecord& line, int length, int columns) {
    if (line.ScrollPos < length - columns && line.ScrollDir == 0) {
        line.ScrollPos = static_cast<qint16>(line.ScrollPos + 1);
    } else if (line.ScrollDir == 0) {
        line.ScrollDir = 1;
    } else if (line.ScrollPos > 0 && line.ScrollDir == 1) {
        line.ScrollPos = static_cast<qint16>(line.ScrollPos - 1);
    } else if (line.ScrollDir == 1) {
        line.ScrollDir = 0;
    }
}

// What a scrolling-left or -right line runs through: the text, the gap, the text again.
void marquee(QByteArray& out, const QByteArray& text, qsizetype from, qsizetype count) {
    slice(out, {text, kMarqueeGap, text}, from, count);
}

// How many steps a text of `length` characters takes to come round.
int marqueePeriod(int length) {
    return length + static_cast<int>(kMarqueeGap.size());
}

qint16 nextMarqueePos(qint16 pos, int length) {
    return static_cast<qint16>(static_cast<qint16>(pos + 1) % marqueePeriod(length));
}

} // namespace

std::optional<Frame> RefreshLCD(const RefreshTarget& t) {
    auto& lines = t.pages.CurrentLines;
    if (std::all_of(lines.begin(), lines.end(),
                    [](const LineRecord& l) { return l.Pending == 0; })) {
        return std::nullopt;
    }
    Frame frame;
    frame.clock = t.expandVariables();

    const int columns = t.config.C;
    // The records hold four lines; a setting outside 1..4 never reaches past them.
    frame.lines = std::clamp<int>(t.config.L, 0, kLinesPerPage);
    for (int i = 0; i < frame.lines; ++i) {
        LineRecord& line = lines[i];
        const QByteArray& text = line.Text;
        const int n = line.Length;
        // What the line writes after its start; it stays empty when the line writes nothing.
        std::optional<QByteArray>& row = frame.rows[i];
        const auto write = [&row, columns]() -> QByteArray& {
            row.emplace();
            row->reserve(std::max(columns, 0));
            return *row;
        };

        if ((n <= columns && line.ScrollMode != kScrollBargraph) ||
            line.ScrollMode <= kScrollFixed) {
            if (n < 1) {
                row = kBlankLine;
            } else {
                fixedLine(write(), text, columns);
            }
            if (line.Dynamic != 1) {
                line.Pending = 0;
            }
            continue;
        }
        switch (line.ScrollMode) {
        case kScrollBackAndForth:
            slice(write(), {text}, line.ScrollPos, columns);
            bounce(line, n, columns);
            break;
        case kScrollLeft:
            marquee(write(), text, line.ScrollPos, columns);
            line.ScrollPos = nextMarqueePos(line.ScrollPos, n);
            break;
        case kScrollRight:
            marquee(write(), text, std::max(0, marqueePeriod(n) - line.ScrollPos), columns);
            line.ScrollPos = nextMarqueePos(line.ScrollPos, n);
            break;
        case kScrollBargraph:
            if (n >= 1) {
                slice(write(), {t.bargraph(text)}, 0, columns);
            }
            break;
        default: // modes above kScrollBargraph show nothing on a long line
            break;
        }
    }
    return frame;
}
