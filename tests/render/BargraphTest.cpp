#include "render/Bargraph.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {
QByteArray bar(const QByteArray& text, int columns = 20, const QByteArray& plein = "#",
               const QByteArray& vide = "-") {
    return Bargraph(text, columns, plein, vide, QLocale(QLocale::French, QLocale::France));
}
} // namespace

TEST(Bargraph, DrawsTheBarsOfTheReferenceTable) {
    EXPECT_EQ(bar("0 100 50"), "[#########---------]");
    EXPECT_EQ(bar("0 100 0"), "[#-----------------]");
    EXPECT_EQ(bar("0 100 100"), "[##################]");
    EXPECT_EQ(bar("0 100 50 CPU"), "CPU [#######-------]");
    EXPECT_EQ(bar("0 100 100 CPU"), "CPU [##############]");
    EXPECT_EQ(bar("0 100 -5"), "[------------------]");
    EXPECT_EQ(bar("20 80 50"), "[###############---]") << "the value counts from zero";
}

TEST(Bargraph, AValueAtTheTopFillsEveryCellWhateverTheWidth) {
    for (int columns = 4; columns <= 40; ++columns) {
        for (int high : {7, 10, 50, 100, 255, 1000, 32767}) {
            const QByteArray full =
                bar("0 " + QByteArray::number(high) + " " + QByteArray::number(high), columns);
            EXPECT_EQ(full, "[" + QByteArray(columns - 2, '#') + "]")
                << columns << " columns, high " << high;
        }
    }
}

TEST(Bargraph, MalformedNumbersGiveTheErrorText) {
    EXPECT_EQ(kBargraphError.size(), 20);
    for (const char* text : {"0 100", " 0 100 50", "0  100 50", "a 100 50", "0 100 5x", "", "0 0 5",
                             "0 40000 5", "-30000 30000 5", "0 100 50,", "0 100 ,5"}) {
        EXPECT_EQ(bar(text), kBargraphError) << '"' << text << '"';
    }
    EXPECT_EQ(bar("0 100 50 ab", 6), kBargraphError) << "a single cell has no step";
}

TEST(Bargraph, OddInputsStillDrawSomething) {
    // Half to even, with the locale's decimal separator and no other: a point is text in French,
    // and the separator of the C locale.
    EXPECT_EQ(bar("0 17 2,5", 20), bar("0 17 2", 20));
    EXPECT_EQ(bar("0 17 3,5", 20), bar("0 17 4", 20));
    EXPECT_EQ(bar("0 17 2.5", 20), kBargraphError);
    EXPECT_EQ(Bargraph("0 17 3.5", 20, "#", "-", QLocale::c()), bar("0 17 4", 20));
    EXPECT_EQ(Bargraph("0 17 3,5", 20, "#", "-", QLocale::c()), kBargraphError);
    // A label with inner spaces stays whole and takes its room from the cells.
    EXPECT_EQ(bar("0 100 100 a b  c"), "a b  c [###########]");
    // A label too long for any cell leaves only its brackets.
    EXPECT_EQ(bar("0 100 60 " + QByteArray(30, 'x')), QByteArray(30, 'x') + " []");
    // Above the range: more full cells than fit, no empty one; the caller cuts.
    EXPECT_TRUE(bar("0 100 300").startsWith("[" + QByteArray(19, '#')));
    // Cell texts of several characters make a longer bar.
    EXPECT_EQ(bar("0 100 50", 20, "<>", "."), "[" + QByteArray("<>").repeated(9) + ".........]");
    // A reversed range still draws.
    EXPECT_EQ(bar("100 0 50").size(), 20);
}
