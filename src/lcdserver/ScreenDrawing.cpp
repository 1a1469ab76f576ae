// A client screen drawn as LCDd 0.5.9's render.c draws it with the server's own fallbacks for
// bars, icons and big numbers, except that a panel's ROM has the full block: bars, the title's
// fillers and the filled block icon use it, and big numbers on four lines are the program's.
#include "lcdserver/ClientScreens.h"
#include "lcdserver/LcdIcons.h"
#include "render/BigTime.h"

#include <algorithm>

namespace {

constexpr char kBlock = '\xFF';
constexpr int kCellWidth = 5; // pixels of a cell, as "hello" tells the clients
constexpr int kCellHeight = 8;
constexpr qint64 kDefaultDuration = 32; // LCDd's, in eighths: the speed of a tall screen's scroll
constexpr int kTextBuffer = 1023;       // LCDd cuts titles and scroller widths there

// The panel, in LCDd's coordinates from 1; nothing is written outside it.
struct Canvas {
    int width;
    int lines;
    std::array<QByteArray, Frame::kMaxLines> rows;

    void put(qint64 x, qint64 y, char c) {
        if (x >= 1 && x <= width && y >= 1 && y <= lines) {
            rows[y - 1][x - 1] = c;
        }
    }
    void text(qint64 x, qint64 y, QByteArrayView s) {
        if (y < 1 || y > lines) {
            return;
        }
        for (qsizetype i = std::max<qint64>(0, 1 - x); i < s.size() && x + i <= width; ++i) {
            rows[y - 1][x + i - 1] = s[i];
        }
    }
};

// The edges a list of widgets is drawn within: the panel, or a frame inside it.
struct Area {
    qint64 left, top, right, bottom;
};

// Cell `pos` of a bar is drawn full when at least half of its pixels are lit.
bool fullCell(qint64 promille, qint64 cells, qint64 pos) {
    return promille * cells >= 500 * (2 * pos + 1);
}

// The big digits of LCDd's fallback, for panels of fewer than four lines.
constexpr const char* kAsciiDigits[11][4] = {
    {" _ ", "| |", "|_|", "   "}, {"   ", "  |", "  |", "   "}, {" _ ", " _|", "|_ ", "   "},
    {" _ ", " _|", " _|", "   "}, {"   ", "|_|", "  |", "   "}, {" _ ", "|_ ", " _|", "   "},
    {" _ ", "|_ ", "|_|", "   "}, {" _ ", "  |", "  |", "   "}, {" _ ", "|_|", "|_|", "   "},
    {" _ ", "|_|", " _|", "   "}, {" ", ".", ".", " "}};

// A scroll's offset: it runs from 0 to `span` - 1 and back, `speed` eighths a step (a negative
// speed: that many steps an eighth).
qint64 wiggle(qint64 timer, qint64 span, qint64 speed) {
    if (speed > 0) {
        const qint64 cycle = span * speed;
        return (timer / cycle) % 2 == 0 ? (timer % cycle) / speed
                                        : -(((timer % cycle) - cycle + 1) / speed);
    }
    if (speed < 0) {
        // LCDd divides by zero when a step is longer than the span; here it jumps end to end.
        const qint64 cycle = std::max<qint64>(span / -speed, 1);
        return (timer / cycle) % 2 == 0 ? (timer % cycle) * -speed
                                        : span - 1 - (timer % cycle) * -speed;
    }
    return 0;
}

class Drawing {
public:
    Drawing(const ServerScreen& screen, Canvas& canvas, qint64 tick)
        : screen_(screen), canvas_(canvas), tick_(tick) {}

    // The widgets in `in` (the screen's own: none), within `a`; a frame `fhgt` rows high that
    // scrolls ('v') `fspeed` eighths a row when it is taller than `a`. Frames never scroll
    // sideways in LCDd, whatever their width.
    void frame(const QByteArray& in, Area a, qint64 fhgt, char fscroll, qint64 fspeed,
               qint64 timer);

private:
    qint64 since(const ServerWidget& w) const { return std::max<qint64>(0, tick_ - w.setAt); }
    void string(const ServerWidget& w, Area a, qint64 fy);
    void hbar(const ServerWidget& w, Area a, qint64 fy);
    void vbar(const ServerWidget& w, Area a);
    void title(const ServerWidget& w, Area a);
    void scroller(const ServerWidget& w);
    void num(qint64 x, int digit);

    const ServerScreen& screen_;
    Canvas& canvas_;
    qint64 tick_;
};

void Drawing::frame(const QByteArray& in, Area a, qint64 fhgt, char fscroll, qint64 fspeed,
                    qint64 timer) {
    if (fhgt <= 0) {
        return;
    }
    qint64 fy = 0;
    if (fscroll == 'v' && fspeed != 0 && fhgt > a.bottom - a.top) {
        const qint64 steps = fhgt - (a.bottom - a.top) + 1;
        fy = std::max<qint64>(0, fspeed > 0 ? (timer / fspeed) % steps : (-fspeed * timer) % steps);
    }
    for (const ServerWidget& w : screen_.widgets) {
        if (w.in != in) {
            continue;
        }
        switch (w.type) {
        case WidgetType::String:
            string(w, {a.left, a.top - fy, a.right, a.bottom}, fy);
            break;
        case WidgetType::HBar:
            hbar(w, {a.left, a.top - fy, a.right, a.bottom}, fy);
            break;
        case WidgetType::VBar:
            vbar(w, a);
            break;
        case WidgetType::Icon: {
            // At the screen's coordinates, in a frame too, as in LCDd; one never set is a '?'.
            const LcdIcon icon = lcdIcon(w.text).value_or(LcdIcon{"", '?', 0});
            canvas_.put(w.left, w.top, icon.first);
            if (icon.second) {
                canvas_.put(w.left + 1, w.top, icon.second);
            }
            break;
        }
        case WidgetType::Title:
            title(w, a);
            break;
        case WidgetType::Scroller:
            scroller(w);
            break;
        case WidgetType::Frame: {
            const Area inner{a.left + w.left - 1, a.top + w.top - 1,
                             std::min<qint64>(a.left + w.right, a.right),
                             std::min<qint64>(a.top + w.bottom, a.bottom)};
            if (inner.left < a.right && inner.top < a.bottom) {
                frame(w.id, inner, w.height, w.direction, w.speed, since(w));
            }
            break;
        }
        case WidgetType::Num:
            if (w.left > 0 && w.length >= 0 && w.length <= 10) {
                num(w.left + a.left, w.length);
            }
            break;
        }
    }
}

// Drawn from min(x, the area's width), so that a string beyond the right edge shows its start in
// the last column; only the panel cuts it at the right.
void Drawing::string(const ServerWidget& w, Area a, qint64 fy) {
    if (w.left > 0 && w.top > 0 && w.top > fy && w.top <= a.bottom - a.top) {
        canvas_.text(std::min<qint64>(w.left, a.right - a.left) + a.left, w.top + a.top, w.text);
    }
}

// The bar runs to the panel's right edge; it is full when the pixels reach the area's edge.
void Drawing::hbar(const ServerWidget& w, Area a, qint64 fy) {
    if (w.left <= 0 || w.top <= 0 || w.top <= fy || w.top > a.bottom - a.top || w.length <= 0) {
        return;
    }
    const qint64 cells = canvas_.width - w.left - a.left + 1;
    if (cells <= 0) {
        return;
    }
    qint64 promille = 1000;
    if (w.length / kCellWidth < a.right - a.left - w.left + 1) {
        promille = 1000LL * w.length / (kCellWidth * cells);
    }
    for (qint64 pos = 0; pos < cells && fullCell(promille, cells, pos); ++pos) {
        canvas_.put(w.left + a.left + pos, w.top + a.top, kBlock);
    }
}

// Upwards from its cell, out of the panel's height; frames do not scroll it.
void Drawing::vbar(const ServerWidget& w, Area a) {
    if (w.left <= 0 || w.top <= 0 || w.length <= 0) {
        return;
    }
    const qint64 cells = canvas_.lines;
    const qint64 promille = 1000LL * w.length / (kCellHeight * cells);
    for (qint64 pos = 0; pos < cells && fullCell(promille, cells, pos); ++pos) {
        canvas_.put(w.left + a.left, w.top + a.top - pos, kBlock);
    }
}

// Two blocks, a space, the text, a space and blocks to the area's edge; a text too long for the
// room scrolls to its end and back, one character an eighth (LCDd's default title speed).
void Drawing::title(const ServerWidget& w, Area a) {
    const qint64 room = a.right - a.left;
    if (room < 8) {
        return;
    }
    const qint64 y = w.top + a.top;
    const qint64 x0 = w.left + a.left;
    canvas_.put(x0, y, kBlock);
    canvas_.put(x0 + 1, y, kBlock);
    const qint64 length = std::min<qint64>(w.text.size(), kTextBuffer);
    const qint64 width = room - 6;
    qint64 fillFrom = 0;
    if (length <= width) {
        canvas_.text(x0 + 3, y, QByteArrayView(w.text).first(length));
        fillFrom = length + 4;
    } else {
        const qint64 t = since(w);
        const bool back = (t / length) & 1;
        qint64 offset = std::min(t % length, length - width);
        if (back) {
            offset = length - width - offset;
        }
        canvas_.text(x0 + 3, y, QByteArrayView(w.text).sliced(offset, width));
        fillFrom = room - 2;
    }
    for (qint64 x = fillFrom; x < room; ++x) {
        canvas_.put(w.left + x + a.left, y, kBlock);
    }
}

// At the screen's coordinates wherever it is; LCDd draws it so in frames too.
void Drawing::scroller(const ServerWidget& w) {
    if (w.text.isEmpty() || w.right < w.left) {
        return;
    }
    const QByteArrayView text(w.text);
    const qint64 n = text.size();
    const qint64 boxWidth = std::min<qint64>(w.right - w.left + 1, kTextBuffer);
    const qint64 t = since(w);
    switch (w.direction) {
    case 'm': {
        if (n <= boxWidth) {
            canvas_.text(w.left, w.top, text);
            break;
        }
        // The text and a gap of half the box go round.
        const qint64 gap = boxWidth / 2;
        const qint64 cycle = n + gap;
        qint64 offset = 0;
        if (w.speed > 0) {
            offset = (t % (cycle * w.speed)) / w.speed;
        } else if (w.speed < 0) {
            offset = (t % std::max<qint64>(cycle / -w.speed, 1)) * -w.speed;
        }
        QByteArray shown(boxWidth, ' ');
        for (qint64 i = 0; i < boxWidth; ++i) {
            const qint64 at = ((offset - gap + i) % cycle + cycle) % cycle;
            if (at < n) {
                shown[i] = text[at];
            }
        }
        canvas_.text(w.left, w.top, shown);
        break;
    }
    case 'h':
        // LCDd counts the text one longer: a text as wide as the box scrolls by one.
        if (n + 1 <= boxWidth) {
            canvas_.text(w.left, w.top, text);
        } else {
            const qint64 offset = wiggle(t, n + 1 - boxWidth, w.speed);
            canvas_.text(w.left, w.top, text.sliced(offset, std::min(boxWidth, n - offset)));
        }
        break;
    case 'v': {
        if (n <= boxWidth) {
            canvas_.text(w.left, w.top, text);
            break;
        }
        const qint64 needed = (n + boxWidth - 1) / boxWidth;
        const qint64 available = w.bottom - w.top + 1;
        const qint64 begin = needed <= available ? 0 : wiggle(t, needed - available + 1, w.speed);
        const qint64 shown = std::min(needed, available);
        for (qint64 i = 0; i < shown && w.top + i <= canvas_.lines; ++i) {
            const qint64 at = (begin + i) * boxWidth;
            canvas_.text(w.left, w.top + i, text.sliced(at, std::min(boxWidth, n - at)));
        }
        break;
    }
    default:
        break;
    }
}

// Rows 1 to 4 whatever the area: the program's big digits on four lines, LCDd's drawn with
// "_", "|" and "." on fewer.
void Drawing::num(qint64 x, int digit) {
    for (int row = 0; row < 4; ++row) {
        if (canvas_.lines == 4) {
            canvas_.text(x, row + 1, BigDigitRow(digit, row).first(digit == 10 ? 1 : 3));
        } else {
            canvas_.text(x, row + 1, kAsciiDigits[digit][row]);
        }
    }
}

} // namespace

Frame drawScreen(const ServerScreen& screen, int width, int lines, qint64 tick) {
    width = std::max(width, 0);
    lines = std::clamp(lines, 1, Frame::kMaxLines);
    Canvas canvas{width, lines, {}};
    for (int row = 0; row < lines; ++row) {
        canvas.rows[row] = QByteArray(width, ' ');
    }
    const qint64 height = screen.height > 0 ? screen.height : lines;
    const qint64 duration = screen.duration > 0 ? screen.duration : kDefaultDuration;
    Drawing(screen, canvas, tick)
        .frame({}, {0, 0, width, lines}, height, 'v', std::max<qint64>(duration / height, 1), tick);

    // LCDd's cursor blinks every other quarter second; "on" is its block.
    if ((tick & 2) && screen.cursor != 0) {
        canvas.put(screen.cursorX, screen.cursorY, screen.cursor == 2 ? '_' : kBlock);
    }
    if (screen.heartbeat == ScreenSetting::On) {
        canvas.put(width, 1, (tick & 5) ? '#' : '-');
    }
    Frame frame;
    frame.lines = lines;
    for (int row = 0; row < lines; ++row) {
        frame.rows[row] = canvas.rows[row];
    }
    return frame;
}
