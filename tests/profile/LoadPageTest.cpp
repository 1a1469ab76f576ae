#include "profile/LoadPage.h"

#include <gtest/gtest.h>

namespace {
auto fields(const LineRecord& r) {
    return std::tuple(r.Text, r.ScrollPos, r.ScrollMode, r.Length, r.ScrollDir, r.Pending,
                      r.Dynamic);
}
} // namespace

TEST(LoadPage, KeepsUnchangedLinesAndFollowsTheChain) {
    PageModel m;
    m.PageTable[1] = {freshLine("%%time", 2), freshLine("un", 0), freshLine("a", 1),
                      freshLine("Casse", 0)};
    m.PageTiming[1] = {5, 2};
    m.PageTable[2] = {freshLine("%%time", 2), freshLine("deux", 0), freshLine("", 0),
                      freshLine("casse", 0)};
    m.PageTiming[2] = {3, 0};

    EXPECT_EQ(LoadPage(m, 1), 5000);
    EXPECT_EQ(m.NextPage, 2);
    for (int l = 0; l < kLinesPerPage; ++l) {
        EXPECT_EQ(fields(m.CurrentLines[l]), fields(m.PageTable[1][l])) << l;
    }
    // The panel has scrolled and written every line since.
    for (LineRecord& r : m.CurrentLines) {
        r.ScrollPos = 7;
        r.Pending = 0;
    }
    const LineRecord scrolled = m.CurrentLines[0];

    EXPECT_EQ(LoadPage(m, m.NextPage), 3000);
    EXPECT_EQ(m.NextPage, 0);
    EXPECT_EQ(fields(m.CurrentLines[0]), fields(scrolled));
    for (int l = 1; l < kLinesPerPage; ++l) { // line 3 differs only by case
        EXPECT_EQ(fields(m.CurrentLines[l]), fields(m.PageTable[2][l])) << l;
    }

    // Page 0 is the empty page that ends the rotation; line 2 was blank already and stays as is.
    EXPECT_EQ(LoadPage(m, m.NextPage), 0);
    EXPECT_EQ(m.NextPage, 0);
    for (int l = 0; l < kLinesPerPage; ++l) {
        EXPECT_EQ(fields(m.CurrentLines[l]), fields(l == 2 ? m.PageTable[2][2] : LineRecord{}))
            << l;
        EXPECT_TRUE(m.LineTemplate[l].isEmpty()) << l;
    }

    // The last page is a page like any other; beyond it comes the empty page 0.
    m.PageTable[kLastPage][0] = freshLine("fin", 0);
    m.PageTiming[kLastPage] = {7, 1};
    EXPECT_EQ(LoadPage(m, kLastPage), 7000);
    EXPECT_EQ(m.NextPage, 1);
    EXPECT_EQ(m.CurrentLines[0].Text, "fin");
    EXPECT_EQ(LoadPage(m, kLastPage + 1), 0);
    EXPECT_TRUE(m.CurrentLines[0].Text.isEmpty());
}
