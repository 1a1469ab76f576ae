#include "profile/LoadPage.h"

#include <QByteArrayList>
#include <gtest/gtest.h>

namespace {
// Each current line as "text@scroll position", and then the panel moves every line on.
QByteArray shownThenScrolled(PageModel& m) {
    QByteArrayList lines;
    for (LineRecord& r : m.CurrentLines) {
        lines.append(r.Text + "@" + QByteArray::number(std::exchange(r.ScrollPos, 7)));
    }
    return lines.join(' ');
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

    EXPECT_EQ(LoadPage(m, 1), 5000);
    EXPECT_EQ(shownThenScrolled(m), "%%time@0 un@0 @0 Casse@0");
    EXPECT_EQ(LoadPage(m, m.NextPage), 3000);
    EXPECT_EQ(shownThenScrolled(m), "%%time@7 deux@0 @7 casse@0");
    EXPECT_EQ(LoadPage(m, m.NextPage), 32000); // the last page is a page like any other
    EXPECT_EQ(shownThenScrolled(m), "fin@0 @0 @7 @0");
    // Page 0, and any number beyond the tables, is the empty page that ends the rotation.
    for (const qint16 page : {0, kLastPage + 1, -1}) {
        LoadPage(m, 1);
        shownThenScrolled(m);
        EXPECT_EQ(LoadPage(m, page), 0);
        EXPECT_EQ(shownThenScrolled(m), "@0 @0 @7 @0");
    }
}

// A held line outlives the page changes; at its time the shown page's line comes back, even the
// empty page's, which is then written once so that the held text goes.
TEST(LoadPage, AHeldLineGoesAtItsTimeEvenFromTheEmptyPage) {
    PageModel m;
    m.PageTable[1][0] = freshLine("un", 0);
    LoadPage(m, 1);
    holdOnPage(m, 0, "tenu", 0, 5000);
    LoadPage(m, 0);
    releaseHeldLines(m, 4999);
    EXPECT_EQ(m.CurrentLines[0].Text, "tenu");
    releaseHeldLines(m, 5000);
    EXPECT_EQ(std::tuple(m.CurrentLines[0].Text, m.CurrentLines[0].Pending, m.LineTemplate[0]),
              std::tuple("", 1, ""));
}
