#include "profile/LoadPage.h"

#include <gtest/gtest.h>

namespace {
using Shown = std::array<std::pair<QByteArray, int>, kLinesPerPage>;

// The text and scroll position of each current line.
Shown shown(const PageModel& m) {
    Shown lines;
    for (int l = 0; l < kLinesPerPage; ++l) {
        lines[l] = {m.CurrentLines[l].Text, m.CurrentLines[l].ScrollPos};
    }
    return lines;
}
} // namespace

TEST(LoadPage, KeepsTheLinesWhoseRawTextStaysAndFollowsTheChainToTheEmptyPage) {
    PageModel m;
    m.PageTable[1] = {freshLine("%%time", 2), freshLine("un", 0), freshLine("", 0),
                      freshLine("Casse", 0)};
    m.PageTiming[1] = {5, 2};
    m.PageTable[2] = {freshLine("%%time", 2), freshLine("deux", 0), freshLine("", 0),
                      freshLine("casse", 0)};
    m.PageTiming[2] = {3, kLastPage};
    m.PageTable[kLastPage][0] = freshLine("fin", 0);
    m.PageTiming[kLastPage] = {32, 0};
    const auto scroll = [&m] { // the panel moves on between two pages
        for (LineRecord& r : m.CurrentLines) {
            r.ScrollPos = 7;
        }
    };

    EXPECT_EQ(LoadPage(m, 1), 5000);
    EXPECT_EQ(shown(m), Shown({{{"%%time", 0}, {"un", 0}, {"", 0}, {"Casse", 0}}}));
    scroll();
    EXPECT_EQ(LoadPage(m, m.NextPage), 3000);
    EXPECT_EQ(shown(m), Shown({{{"%%time", 7}, {"deux", 0}, {"", 7}, {"casse", 0}}}));
    scroll();
    EXPECT_EQ(LoadPage(m, m.NextPage), 32000); // the last page is a page like any other
    EXPECT_EQ(shown(m), Shown({{{"fin", 0}, {"", 0}, {"", 7}, {"", 0}}}));
    // Page 0, and any number beyond the tables, is the empty page that ends the rotation.
    for (const qint16 page : {m.NextPage, qint16(kLastPage + 1), qint16(-1)}) {
        EXPECT_EQ(LoadPage(m, page), 0);
        EXPECT_EQ(shown(m), Shown({{{"", 0}, {"", 0}, {"", 7}, {"", 0}}}));
        EXPECT_EQ(m.NextPage, 0);
    }
}
