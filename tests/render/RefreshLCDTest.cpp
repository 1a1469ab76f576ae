#include "render/RefreshLCD.h"

#include "profile/LoadPage.h"
#include "support/FakePanel.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// A panel of C columns and L lines fed with the current lines of a page model.
struct Bench {
    PageModel pages;
    DisplayConfig config;
    FakePanel panel;
    LcdOutput out;
    int expansions = 0;
    QByteArrayList bargraphs;

    Bench(int columns, int lines) {
        config.C = static_cast<qint16>(columns);
        config.L = static_cast<qint16>(lines);
        config.TypeLCD = 2;
        out.panels[2] = &panel;
    }
    void set(int line, const QByteArray& text, int mode) {
        pages.CurrentLines[line] = freshLine(text, static_cast<qint16>(mode));
        pages.LineTemplate[line] = text;
    }
    // One refresh; returns what was written, line starts shown as "<n>".
    QByteArrayList tick() {
        panel.written.clear();
        RefreshLCD({pages, config, out,
                    [this] {
                        ++expansions;
                        for (LineRecord& line : pages.CurrentLines) {
                            line.Length = static_cast<qint16>(line.Text.size());
                        }
                    },
                    [this](const QByteArray& text) {
                        bargraphs.append(text);
                        return "[" + text + "]";
                    }});
        return panel.written;
    }
};

} // namespace

TEST(RefreshLCD, ScrollModesFollowTheWorkedExample) {
    const char* expected[3][14] = {{"ABCDE", "BCDEF", "CDEFG", "DEFGH", "DEFGH", "CDEFG", "BCDEF",
                                    "ABCDE", "ABCDE", "BCDEF", "CDEFG", "DEFGH", "DEFGH", "CDEFG"},
                                   {"ABCDE", "BCDEF", "CDEFG", "DEFGH", "EFGH ", "FGH  ", "GH   ",
                                    "H    ", "     ", "    A", "   AB", "  ABC", " ABCD", "ABCDE"},
                                   {"ABCDE", " ABCD", "  ABC", "   AB", "    A", "     ", "H    ",
                                    "GH   ", "FGH  ", "EFGH ", "DEFGH", "CDEFG", "BCDEF", "ABCDE"}};
    for (int mode = 1; mode <= 3; ++mode) {
        Bench b(5, 1);
        b.set(0, "ABCDEFGH", mode);
        for (int tick = 0; tick < 14; ++tick) {
            EXPECT_EQ(b.tick(), QByteArrayList({"<0>", expected[mode - 1][tick]}))
                << "mode " << mode << ", tick " << tick + 1;
        }
    }
}

TEST(RefreshLCD, OnlyPendingLinesAreWrittenAndOnlyFixedStaticOnesStopBeingPending) {
    Bench b(20, 2);
    EXPECT_TRUE(b.tick().isEmpty());
    EXPECT_EQ(b.expansions, 0);

    b.set(0, "statique", 0);
    b.pages.CurrentLines[0].Dynamic = 0;
    b.set(1, "une ligne bien trop longue", 2);
    b.pages.CurrentLines[1].Dynamic = 0;
    b.tick();
    EXPECT_EQ(b.expansions, 1);
    EXPECT_EQ(b.pages.CurrentLines[0].Pending, 0);
    EXPECT_EQ(b.pages.CurrentLines[1].Pending, 1) << "a scrolling line keeps the refresh going";

    // The empty page 0 replaces every line: the panel keeps what it showed last.
    LoadPage(b.pages, 0);
    EXPECT_TRUE(b.tick().isEmpty());
    EXPECT_EQ(b.expansions, 1);
}

TEST(RefreshLCD, FixedLinesArePaddedWithTheirConstantBlanks) {
    Bench narrow(16, 4);
    narrow.set(0, "", 0);
    narrow.set(1, "huit car", 0);
    narrow.set(2, "seize caracteres", 2);
    narrow.set(3, "", 4);
    EXPECT_EQ(narrow.tick(),
              QByteArrayList({"<0>", QByteArray(20, ' '), "<1>", "huit car" + QByteArray(8, ' '),
                              "<2>", "seize caracteres", "<3>"}));
    EXPECT_TRUE(narrow.bargraphs.isEmpty()) << "an empty bargraph line writes nothing";
    EXPECT_EQ(narrow.pages.CurrentLines[2].ScrollPos, 0) << "a line that fits does not scroll";

    Bench wide(40, 2);
    wide.set(0, "dix lettre", 0);
    wide.set(1, "", 1);
    const QByteArrayList written = wide.tick();
    EXPECT_EQ(written[1], "dix lettre" + QByteArray(21, ' '));
    EXPECT_EQ(written[3], QByteArray(20, ' '));

    Bench cut(20, 1);
    cut.set(0, "trente caracteres de texte ici", 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(cut.tick()[1], "trente caracteres de");
    }
    EXPECT_EQ(cut.pages.CurrentLines[0].ScrollPos, 0);
}

TEST(RefreshLCD, ModesFiveAndAboveShowNothingOnALongLine) {
    Bench b(10, 2);
    b.set(0, "beaucoup trop long", 7);
    b.pages.CurrentLines[0].ScrollPos = 3;
    b.set(1, "court", 7);
    const LineRecord before = b.pages.CurrentLines[0];
    EXPECT_EQ(b.tick(), QByteArrayList({"<0>", "<1>", "court" + QByteArray(5, ' ')}));
    EXPECT_EQ(b.pages.CurrentLines[0].ScrollPos, before.ScrollPos);
    EXPECT_EQ(b.pages.CurrentLines[0].Pending, before.Pending);
}

TEST(RefreshLCD, ATextThatShrinksWhileScrollingKeepsTheRefreshGoing) {
    Bench b(20, 1);
    const QByteArray longText = QByteArray("0123456789").repeated(4);
    b.set(0, longText, 2);
    b.pages.CurrentLines[0].ScrollPos = 30;
    b.pages.CurrentLines[0].Text = longText.left(25); // a value got shorter
    const QByteArray s = longText.left(25) + "     " + longText.left(25);
    EXPECT_EQ(b.tick()[1], s.mid(30, 20));
    EXPECT_EQ(b.pages.CurrentLines[0].ScrollPos, 1);

    for (int mode : {1, 2, 3}) {
        Bench far(20, 1);
        far.set(0, longText, mode);
        far.pages.CurrentLines[0].ScrollPos = 200;
        far.pages.CurrentLines[0].Text = "x";
        far.pages.CurrentLines[0].Length = 1;
        far.pages.CurrentLines[0].ScrollMode = static_cast<qint16>(mode);
        far.config.C = 0;
        EXPECT_EQ(far.tick().size(), 2) << "mode " << mode;
    }
}

TEST(RefreshLCD, BargraphLinesAreDrawnAndCut) {
    Bench b(8, 1);
    b.set(0, "0 100 50", 4);
    EXPECT_EQ(b.tick(), QByteArrayList({"<0>", "[0 100 5"}));
    EXPECT_EQ(b.bargraphs, QByteArrayList({"0 100 50"}));
}

TEST(RefreshLCD, WritesOnlyTheConfiguredLinesInOrder) {
    Bench b(20, 2);
    for (int l = 0; l < 4; ++l) {
        b.set(l, "L" + QByteArray::number(l), 0);
    }
    auto starts = [](const QByteArrayList& written) {
        QByteArrayList found;
        std::copy_if(written.begin(), written.end(), std::back_inserter(found),
                     [](const QByteArray& w) { return w.startsWith('<'); });
        return found;
    };
    EXPECT_EQ(starts(b.tick()), QByteArrayList({"<0>", "<1>"}));
    b.config.L = 9;
    EXPECT_EQ(starts(b.tick()), QByteArrayList({"<0>", "<1>", "<2>", "<3>"}));
    b.config.L = 0;
    EXPECT_TRUE(b.tick().isEmpty());
}
