#include "render/RefreshLCD.h"

#include <algorithm>

namespace {

const QByteArray kEmptyLine(20, ' ');
const QByteArray kFixedFill(21, ' ');
const QByteArray kMarqueeGap(5, ' ');

// The characters of `text` from index `from`, at most `count` of them; nothing when the index
// lies beyond the text (a position left over from a longer text).
QByteArray slice(const QByteArray& text, int from, int count) {
    if (from < 0 || from >= text.size() || count <= 0) {
        return {};
    }
    return text.mid(from, count);
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

qint16 nextMarqueePos(qint16 pos, int length) {
    return static_cast<qint16>(static_cast<qint16>(pos + 1) % (length + 5));
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

        if ((n <= columns && line.ScrollMode != 4) || line.ScrollMode <= 0) {
            WriteLCD(t.out, t.config, n < 1 ? kEmptyLine : slice(text + kFixedFill, 0, columns));
            if (line.Dynamic != 1) {
                line.Pending = 0;
            }
            continue;
        }
        switch (line.ScrollMode) {
        case 1:
            WriteLCD(t.out, t.config, slice(text, line.ScrollPos, columns));
            bounce(line, n, columns);
            break;
        case 2:
            WriteLCD(t.out, t.config, slice(text + kMarqueeGap + text, line.ScrollPos, columns));
            line.ScrollPos = nextMarqueePos(line.ScrollPos, n);
            break;
        case 3:
            WriteLCD(
                t.out, t.config,
                slice(text + kMarqueeGap + text, std::max(0, n + 5 - line.ScrollPos), columns));
            line.ScrollPos = nextMarqueePos(line.ScrollPos, n);
            break;
        case 4:
            if (n >= 1) {
                WriteLCD(t.out, t.config, slice(t.bargraph(text), 0, columns));
            }
            break;
        default: // modes 5 and above show nothing on a long line
            break;
        }
    }
}
