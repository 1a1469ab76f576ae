#include "render/RefreshLCD.h"

#include <algorithm>

namespace {

// What a line with no text writes, and what pads a fixed line before it is cut to the panel's
// width: both as long as they have always been, whatever the width.
const QByteArray kBlankLine(20, ' ');
const QByteArray kFixedPadding(21, ' ');
// Between the end of a text scrolling left or right and its next start.
const QByteArray kMarqueeGap(5, ' ');

// The characters of `text` from index `from`, at most `count` of them; nothing when the index
// lies beyond the text (a position left over from a longer text).
QByteArray slice(const QByteArray& text, int from, int count) {
    if (from < 0 || from >= text.size() || count <= 0) {
        return {};
    }
    return text.mid(from, count);
}

// A line that stays put: its text padded with kFixedPadding, then cut to the panel's width.
QByteArray fixedLine(const QByteArray& text, int columns) {
    if (columns <= 0) {
        return {};
    }
    const qsizetype kept = std::min<qsizetype>(text.size(), columns);
    const qsizetype padding = std::min<qsizetype>(kFixedPadding.size(), columns - kept);
    QByteArray line;
    line.reserve(kept + padding);
    line.append(text.constData(), kept).append(kFixedPadding.constData(), padding);
    return line;
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
QByteArray marquee(const QByteArray& text) {
    return text + kMarqueeGap + text;
}

// How many steps a text of `length` characters takes to come round.
int marqueePeriod(int length) {
    return length + static_cast<int>(kMarqueeGap.size());
}

qint16 nextMarqueePos(qint16 pos, int length) {
    return static_cast<qint16>(static_cast<qint16>(pos + 1) % marqueePeriod(length));
}

} // namespace

void RefreshLCD(const RefreshTarget& t) {
    auto& lines = t.pages.CurrentLines;
    if (std::all_of(lines.begin(), lines.end(),
                    [](const LineRecord& l) { return l.Pending == 0; })) {
        return;
    }
    t.expandVariables();

    const int columns = t.config.C;
    // The records hold four lines; a setting outside 1..4 never reaches past them.
    const int panelLines = std::clamp<int>(t.config.L, 0, kLinesPerPage);
    for (int i = 0; i < panelLines; ++i) {
        LineRecord& line = lines[i];
        const QByteArray& text = line.Text;
        const int n = line.Length;
        LineStartLCD(t.out, t.config, i);

        if ((n <= columns && line.ScrollMode != kScrollBargraph) ||
            line.ScrollMode <= kScrollFixed) {
            WriteLCD(t.out, t.config, n < 1 ? kBlankLine : fixedLine(text, columns));
            if (line.Dynamic != 1) {
                line.Pending = 0;
            }
            continue;
        }
        switch (line.ScrollMode) {
        case kScrollBackAndForth:
            WriteLCD(t.out, t.config, slice(text, line.ScrollPos, columns));
            bounce(line, n, columns);
            break;
        case kScrollLeft:
            WriteLCD(t.out, t.config, slice(marquee(text), line.ScrollPos, columns));
            line.ScrollPos = nextMarqueePos(line.ScrollPos, n);
            break;
        case kScrollRight:
            WriteLCD(t.out, t.config,
                     slice(marquee(text), std::max(0, marqueePeriod(n) - line.ScrollPos), columns));
            line.ScrollPos = nextMarqueePos(line.ScrollPos, n);
            break;
        case kScrollBargraph:
            if (n >= 1) {
                WriteLCD(t.out, t.config, slice(t.bargraph(text), 0, columns));
            }
            break;
        default: // modes above kScrollBargraph show nothing on a long line
            break;
        }
    }
}
