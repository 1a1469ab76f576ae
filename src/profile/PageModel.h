#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <array>
#include <optional>

// How a line is shown: as it is while it fits the panel, scrolling when it is longer, or always
// as its bar. A profile or a line message may give any other number: below kScrollFixed the line
// stays fixed, above kScrollBargraph a line longer than the panel shows nothing.
enum LineScroll : qint16 {
    kScrollFixed = 0,
    kScrollBackAndForth = 1,
    kScrollLeft = 2,
    kScrollRight = 3,
    kScrollBargraph = 4,
};

// One display line. Texts are in the panel's character set and may hold any byte, NUL included.
struct LineRecord {
    QByteArray Text;                  // raw text with %% variables, then the expanded text
    qint16 ScrollPos = 0;             // index of the first character shown
    qint16 ScrollMode = kScrollFixed; // a LineScroll, or whatever number the profile gave
    qint16 Length = 0;                // number of characters of Text
    qint16 ScrollDir = 0;             // direction of kScrollBackAndForth: 0 towards the end, 1 back
    qint16 Pending = 0;               // nonzero while the line still has to be written
    qint16 Dynamic = 0;               // 1 for a line rebuilt and rewritten on every refresh
};

// A record as the loaders make it: at the start of its text, to be written, rebuilt each time.
inline LineRecord freshLine(const QByteArray& text, qint16 scrollMode) {
    LineRecord r;
    r.Text = text;
    r.ScrollMode = scrollMode;
    r.Length = static_cast<qint16>(text.size());
    r.Pending = 1;
    r.Dynamic = 1;
    return r;
}

inline constexpr int kLinesPerPage = 4;
inline constexpr int kLastPage = 50;
inline constexpr int kPageTime = 0; // second index of PageTiming
inline constexpr int kPageNext = 1;

// Lines that a message keeps whatever the pages do, each until a time in milliseconds on the
// monotonic clock; none: the line follows the pages.
struct HeldLines {
    std::array<std::optional<qint64>, kLinesPerPage> until{};
};

// The pages of the loaded profile and the lines on the panel now.
struct PageModel {
    std::array<LineRecord, kLinesPerPage> CurrentLines{};
    std::array<QByteArray, kLinesPerPage> LineTemplate{}; // raw text of each current line
    std::array<std::array<LineRecord, kLinesPerPage>, kLastPage + 1>
        PageTable{};                                               // page 0 stays empty
    std::array<std::array<qint16, 2>, kLastPage + 1> PageTiming{}; // [page][kPageTime|kPageNext]
    qint16 NextPage = 0;
    qint16 ShownPage = 0; // the page loaded last, whose lines come back when a hold ends
    HeldLines held;
};

// The profile's parameters besides its pages.
struct ProfileParams {
    QByteArray vide;        // text of an empty bargraph cell
    QByteArray plein;       // text of a full bargraph cell
    QByteArray Ip_Local_Ex; // address prefix the IP variable leaves out
};
