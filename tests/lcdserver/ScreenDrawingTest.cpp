// Client screens drawn on a 20x4 panel as LCDd draws them, with the panel's full block for bars.
#include "lcdserver/ClientScreens.h"

#include <gtest/gtest.h>

namespace {

// A client's screen "s", its widgets added and set by the commands of `lines` at tick 0.
struct Drawn {
    ClientScreens screens;
    explicit Drawn(const QByteArrayList& lines, int width = 20, int height = 4) {
        screens.width = width;
        screens.height = height;
        screens.clients[1];
        for (const QByteArray& line : QByteArrayList{"hello", "screen_add s"} + lines) {
            const QByteArray reply = runCommand(screens, 1, line, 0).reply;
            EXPECT_TRUE(reply.endsWith("success\n") || reply.startsWith("connect")) << line.data();
        }
    }
    // The rows, the full block shown as '*' and the big-digit shapes as their codes '0'-'5'.
    std::vector<std::string> at(qint64 tick) const {
        const Frame frame =
            drawScreen(*findScreen(screens, 1, "s"), screens.width, screens.height, tick);
        std::vector<std::string> rows;
        for (int row = 0; row < frame.lines; ++row) {
            std::string text = frame.rows[row]->toStdString();
            EXPECT_EQ(text.size(), size_t(screens.width));
            for (char& c : text) {
                c = c == '\xFF' ? '*' : (c >= 0 && c < 8 ? char('0' + c) : c);
            }
            rows.push_back(text);
        }
        return rows;
    }
};

using Rows = std::vector<std::string>;

TEST(ScreenDrawing, StringsAreCutAtThePanelsEdges) {
    const Drawn d({"widget_add s a string", "widget_set s a 1 1 Hello", "widget_add s b string",
                   "widget_set s b 18 2 abcdef", "widget_add s c string", "widget_set s c 25 3 xyz",
                   "widget_add s e string", "widget_set s e 1 5 below", "widget_add s u string",
                   "widget_set s u 1 4 {Café € 日}", "widget_add s l string",
                   "widget_set s l 12 4 \xE9t\xE9"});
    EXPECT_EQ(d.at(0), (Rows{"Hello               ", "                 abc", "                   x",
                             "Caf\xE9 \x80 ?   \xE9t\xE9      "}));
}

TEST(ScreenDrawing, TitlesFillTheLineAndScrollWhenTooLong) {
    const Drawn shortTitle({"widget_add s t title", "widget_set s t Load"});
    EXPECT_EQ(shortTitle.at(0)[0], "** Load ************");

    const Drawn longTitle({"widget_add s t title", "widget_set s t ABCDEFGHIJKLMNOPQRSTUVWXYZ"});
    EXPECT_EQ(longTitle.at(0)[0], "** ABCDEFGHIJKLMN **");
    EXPECT_EQ(longTitle.at(5)[0], "** FGHIJKLMNOPQRS **");
    EXPECT_EQ(longTitle.at(20)[0], "** MNOPQRSTUVWXYZ **");
    EXPECT_EQ(longTitle.at(29)[0], "** JKLMNOPQRSTUVW **"); // on its way back
}

TEST(ScreenDrawing, BarsDrawTheCellsAtLeastHalfLit) {
    const Drawn d({"widget_add s a hbar", "widget_set s a 1 1 0", "widget_add s b hbar",
                   "widget_set s b 1 2 12", "widget_add s c hbar", "widget_set s c 1 3 13",
                   "widget_add s d hbar", "widget_set s d 11 4 100", "widget_add s e vbar",
                   "widget_set s e 20 4 12", "widget_add s f vbar", "widget_set s f 19 4 32",
                   "widget_add s g vbar", "widget_set s g 18 4 11"});
    EXPECT_EQ(d.at(0), (Rows{"                  * ", "**                * ", "***               **",
                             "          **********"}));
}

TEST(ScreenDrawing, IconsAsLcddsFallbackDrawsThem) {
    const Drawn d({"widget_add s a icon", "widget_set s a 1 1 HEART_FILLED", "widget_add s b icon",
                   "widget_set s b 3 1 BLOCK_FILLED", "widget_add s c icon",
                   "widget_set s c 5 1 PLAY", "widget_add s d icon", "widget_set s d 19 1 FF",
                   "widget_add s e icon", "widget_set s e 20 2 STOP", "widget_add s f icon"});
    EXPECT_EQ(d.at(0)[0], "? * >             >>"); // an icon never set is LCDd's '?'
    EXPECT_EQ(d.at(0)[1], "                   [");
}

TEST(ScreenDrawing, ScrollersGoAndComeBack) {
    const Drawn d({"widget_add s h scroller", "widget_set s h 1 1 10 1 h 1 ABCDEFGHIJKLMNOP",
                   "widget_add s m scroller", "widget_set s m 1 2 10 2 m 1 ABCDEFGHIJKLMNOP",
                   "widget_add s v scroller", "widget_set s v 12 3 16 4 v 2 ABCDEFGHIJKLMNO",
                   "widget_add s n scroller", "widget_set s n 11 1 20 1 h -2 ABCDEFGHIJKLMNOP"});
    const std::vector<std::pair<qint64, Rows>> ticks = {
        {0,
         {"ABCDEFGHIJABCDEFGHIJ", "     ABCDE          ", "           ABCDE    ",
          "           FGHIJ    "}},
        {2,
         {"CDEFGHIJKLEFGHIJKLMN", "   ABCDEFG          ", "           FGHIJ    ",
          "           KLMNO    "}},
        {9,
         {"EFGHIJKLMNGHIJKLMNOP", "EFGHIJKLMN          ", "           ABCDE    ",
          "           FGHIJ    "}},
        {18,
         {"EFGHIJKLMNABCDEFGHIJ", "NOP     AB          ", "           FGHIJ    ",
          "           KLMNO    "}},
    };
    for (const auto& [tick, rows] : ticks) {
        EXPECT_EQ(d.at(tick), rows) << "tick " << tick;
    }
}

TEST(ScreenDrawing, FramesScrollTheirWidgetsWithinTheirRows) {
    const Drawn d({"widget_add s top string", "widget_set s top 1 1 Top", "widget_add s f frame",
                   "widget_set s f 1 2 10 3 20 4 v 2", "widget_add s one string -in f",
                   "widget_set s one 1 1 one", "widget_add s two string -in f",
                   "widget_set s two 5 2 overflowing", "widget_add s three string -in f",
                   "widget_set s three 1 3 three", "widget_add s four string -in f",
                   "widget_set s four 1 4 four", "widget_add s bottom string",
                   "widget_set s bottom 1 4 Bottom"});
    // Only the panel cuts a frame's string at the right, as in LCDd.
    EXPECT_EQ(d.at(0), (Rows{"Top                 ", "one                 ", "    overflowing     ",
                             "Bottom              "}));
    EXPECT_EQ(d.at(2), (Rows{"Top                 ", "    overflowing     ", "three               ",
                             "Bottom              "}));
    EXPECT_EQ(d.at(4)[1], "three               ");
    EXPECT_EQ(d.at(4)[2], "four                ");
    EXPECT_EQ(d.at(6)[1], "one                 ");
}

TEST(ScreenDrawing, TallScreensScrollAndSmallOnesAreNotCut) {
    const Drawn tall({"screen_set s -hgt 8", "widget_add s a string", "widget_set s a 1 1 first",
                      "widget_add s b string", "widget_set s b 1 5 fifth"});
    EXPECT_EQ(tall.at(0)[0], "first               ");
    EXPECT_EQ(tall.at(4)[0], "                    "); // 32 eighths / 8 rows: a row every 4
    EXPECT_EQ(tall.at(16)[0], "fifth               ");

    const Drawn small({"screen_set s -wid 5 -hgt 2", "widget_add s a string",
                       "widget_set s a 1 4 {still shown}"});
    EXPECT_EQ(small.at(0)[3], "still shown         ");
}

TEST(ScreenDrawing, BigNumbers) {
    const QByteArrayList digits = {"widget_add s a num", "widget_set s a 1 2",
                                   "widget_add s b num", "widget_set s b 4 10",
                                   "widget_add s c num", "widget_set s c 5 8"};
    // The program's big digits on four lines...
    EXPECT_EQ(Drawn(digits).at(0), (Rows{"203 203             ", " 151415             ",
                                         "20 12 3             ", "411 415             "}));
    // ... LCDd's on two.
    EXPECT_EQ(Drawn(digits, 20, 2).at(0), (Rows{" _   _              ", " _|.|_|             "}));
}

TEST(ScreenDrawing, HeartbeatOnlyWhenTheScreenAsksForIt) {
    const Drawn quiet({});
    EXPECT_EQ(quiet.at(1)[0], "                    ");
    const Drawn beating({"screen_set s -heartbeat on"});
    EXPECT_EQ(beating.at(0)[0], "                   -");
    EXPECT_EQ(beating.at(1)[0], "                   #");
}

} // namespace
