#include "render/RefreshLCD.h"

#include "profile/LoadPage.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// The current lines of a page model refreshed; a bargraph shows as its text in brackets.
struct Bench {
    PageModel pages;
    DisplayConfig config;

    Bench(int columns, int lines) {
        config.C = static_cast<qint16>(columns);
        config.L = static_cast<qint16>(lines);
        config.TypeLCD = 2;
    }
    LineRecord& set(int line, const QByteArray& text, int mode) {
        putOnPage(pages, line, text, static_cast<qint16>(mode));
        return pages.CurrentLines[line];
    }
    // One refresh; returns what it writes, line starts shown as "<n>".
    QByteArrayList tick() {
        const auto expand = [this] {
            for (LineRecord& line : pages.CurrentLines) {
                line.Length = static_cast<qint16>(line.Text.size());
            }
            return std::optional<ClockTime>();
        };
        const std::optional<Frame> frame =
            RefreshLCD({pages, config, expand, [](const QByteArray& t) { return "[" + t + "]"; }});
        QByteArrayList written;
        for (int i = 0; frame && i < frame->lines; ++i) {
            written.append("<" + QByteArray::number(i) + ">");
            if (frame->rows[i]) {
                written.append(*frame->rows[i]);
            }
        }
        return written;
    }
};

} // namespace

TEST(RefreshLCD, ScrollModesFollowTheWorkedExample) {
    const char* expected[] = {
        "ABCDE BCDEF CDEFG DEFGH DEFGH CDEFG BCDEF ABCDE ABCDE BCDEF CDEFG DEFGH DEFGH CDEFG",
        "ABCDE BCDEF CDEFG DEFGH EFGH. FGH.. GH... H.... ..... ....A ...AB ..ABC .ABCD ABCDE",
        "ABCDE .ABCD ..ABC ...AB ....A ..... H.... GH... FGH.. EFGH. DEFGH CDEFG BCDEF ABCDE"};
    for (int mode = 1; mode <= 3; ++mode) {
        Bench b(5, 1);
        b.set(0, "ABCDEFGH", mode);
        QByteArrayList shown; // a dot for a space
        for (int tick = 0; tick < 14; ++tick) {
            shown.append(b.tick().join('|').replace("<0>|", "").replace(' ', '.'));
        }
        EXPECT_EQ(shown.join(' '), expected[mode - 1]) << "mode " << mode;
    }
}

TEST(RefreshLCD, LinesThatDoNotScrollArePaddedCutOrLeftOutAndNeverMove) {
    const struct {
        int columns;
        QByteArray text;
        int mode;
        QByteArrayList written;
    } cases[] = {
        {16, "", 0, {"<0>", QByteArray(20, ' ')}}, // 20 spaces whatever the width
        {16, "huit car", 0, {"<0>", "huit car" + QByteArray(8, ' ')}},
        {16, "seize caracteres", 2, {"<0>", "seize caracteres"}}, // it fits: no scrolling
        {40, "dix lettre", 0, {"<0>", "dix lettre" + QByteArray(21, ' ')}},
        {20, "trente caracteres de texte ici", 0, {"<0>", "trente caracteres de"}},
        {10, "beaucoup trop long", 7, {"<0>"}}, // modes above 4: nothing on a long line
        {10, "", 4, {"<0>"}},                   // an empty bargraph line writes nothing
        {8, "0 100 50", 4, {"<0>", "[0 100 5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.constData());
        Bench b(c.columns, 1);
        b.set(0, c.text, c.mode).ScrollPos = 3;
        EXPECT_EQ(b.tick(), c.written);
        EXPECT_EQ(b.pages.CurrentLines[0].ScrollPos, 3);
    }
}

TEST(RefreshLCD, WritesTheFirstLLinesWhileOneIsPendingAndOnlyStaticFixedOnesStop) {
    Bench b(20, 2);
    EXPECT_TRUE(b.tick().isEmpty());
    b.set(0, "statique", 0).Dynamic = 0;
    b.set(1, "une ligne bien trop longue", 2).Dynamic = 0; // scrolling keeps the refresh going
    b.set(2, "L2", 0);
    b.set(3, "L3", 0);
    EXPECT_EQ(b.tick(), QByteArrayList({"<0>", "statique" + QByteArray(12, ' '), "<1>",
                                        "une ligne bien trop "}));
    EXPECT_EQ(b.pages.CurrentLines[0].Pending, 0);
    EXPECT_EQ(b.pages.CurrentLines[1].Pending, 1);
    b.config.L = 9; // the records hold four lines
    EXPECT_EQ(b.tick().size(), 8);

    // The empty page 0 replaces every line: the panel keeps what it showed last.
    b.config.L = 4;
    LoadPage(b.pages, 0);
    EXPECT_TRUE(b.tick().isEmpty());
}

TEST(RefreshLCD, APositionBeyondATextThatGotShorterKeepsTheRefreshGoing) {
    for (int mode : {1, 2, 3}) {
        Bench b(0, 1);
        b.set(0, QByteArray(40, 'x'), mode).ScrollPos = 200;
        b.pages.CurrentLines[0].Text = "x";
        EXPECT_EQ(b.tick().size(), 2) << "mode " << mode;
    }
}
