#include "render/Bargraph.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {
QByteArray bar(const QByteArray& text, int columns = 20, const QLocale& locale = QLocale::French) {
    return Bargraph(text, columns, "#", "-", locale);
}
} // namespace

TEST(Bargraph, DrawsTheBarOfEachLine) {
    const QByteArray x30(30, 'x');
    const struct {
        QByteArray text;
        QByteArray shown;
    } cases[] = {
        {"0 100 50", "[#########---------]"},
        {"0 100 0", "[#-----------------]"},
        {"0 100 100", "[##################]"},
        {"0 100 50 CPU", "CPU [#######-------]"},
        {"0 100 -5", "[------------------]"},
        {"20 80 50", "[###############---]"},           // the value counts from zero
        {"0 17 2,5", "[###---------------]"},           // half to even: 2
        {"0 17 3,5", "[#####-------------]"},           // half to even: 4
        {"0 100 100 a b  c", "a b  c [###########]"},   // a label keeps its inner spaces
        {"0 100 60 " + x30, x30 + " []"},               // no room left for any cell
        {"0 100 300", "[" + QByteArray(21, '#') + "]"}, // above the range: the caller cuts
        {"100 0 50", "[------------------]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bar(c.text), c.shown) << c.text.constData();
    }
    // The decimal separator is the locale's, and only that.
    EXPECT_EQ(bar("0 17 3.5", 20, QLocale::c()), bar("0 17 4"));
    EXPECT_EQ(Bargraph("0 100 50", 20, "<>", ".", QLocale::c()),
              "[" + QByteArray("<>").repeated(9) + ".........]");
    // Counted exactly: a value at the top of the range fills every cell whatever the width.
    for (int columns = 4; columns <= 40; ++columns) {
        for (const QByteArray top : {"7", "10", "255", "1000", "32767"}) {
            EXPECT_EQ(bar("0 " + top + " " + top, columns),
                      "[" + QByteArray(columns - 2, '#') + "]")
                << columns << " columns, high " << top.constData();
        }
    }
}

TEST(Bargraph, AnythingElseShowsTheErrorText) {
    for (const char* text : {"0 100", " 0 100 50", "0  100 50", "a 100 50", "0 100 5x", "", "0 0 5",
                             "0 40000 5", "-30000 30000 5", "0 100 50,", "0 100 ,5", "0 17 2.5"}) {
        EXPECT_EQ(bar(text), kBargraphError) << '"' << text << '"';
    }
    EXPECT_EQ(bar("0 100 50 ab", 6), kBargraphError) << "a single cell has no step";
}
