#include "render/ExpandVariables.h"

#include "render/BigTime.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// Four lines of a French panel on 4 December 2026 at 21:13:08. A sensor reads 40.5 + 10 × its
// kind + its index, so that the value tells which reading it is: temp1 is 41,5.
struct Panel {
    PageModel pages;
    DisplayConfig config;
    PresenceFlags flags{.MbmPresent = true};
    VariableSources sources;
    int memoryReads = 0;

    Panel() {
        config.L = 4;
        sources.locale = QLocale(QLocale::French, QLocale::France);
        sources.now = [] { return QDateTime(QDate(2026, 12, 4), QTime(21, 13, 8)); };
        sources.memoryStatus = [this] {
            ++memoryReads;
            return MemoryStatus{1073741824, 101187584, 3221225472, 2147483648};
        };
        sources.mbmValue = [](qint16 k, SensorKind kind) { return 40.5 + 10 * int(kind) + k; };
        sources.ipAddresses = [](const QByteArray& sep) { return "10.0.0.5" + sep + "192.0.2.7"; };
    }
    void set(int line, const QByteArray& text) {
        pages.CurrentLines[line] = freshLine(text, 0);
        pages.LineTemplate[line] = text;
    }
    QByteArray expand(const QByteArray& text) {
        set(0, text);
        ExpandVariables({pages, config, flags, sources});
        EXPECT_EQ(pages.CurrentLines[0].Length, pages.CurrentLines[0].Text.size());
        return pages.CurrentLines[0].Text;
    }
};

} // namespace

TEST(ExpandVariables, EachVariableShowsItsValueWithFrenchSettings) {
    const struct {
        QByteArray typed, shown;
    } cases[] = {
        {"CPU %%temp1\260C", "CPU 41,5\337C"}, // ° becomes the panel's degree sign
        {"%%date %%time", "04/12/2026 21:13:08"},
        {"%%mem_t %%mem_u %%mem_l Mo", "1\240024,00 927,50 96,50 Mo"},
        {"%%memp_t %%memp_u %%memp_l", "3\240072,00 1\240024,00 2\240048,00"},
        {"IP %%ipext", "IP 10.0.0.5+192.0.2.7"},
        {"%%temp10|%%temp11|%%volt8|%%volt7", "50,5|41,51|%%volt8|67,5"}, // no sensor 11, no volt8
        {"%%fan2 %%frq %%charge %%fan2", "52,5 71,5 81,5 52,5"},
        {"%%TIME %%Date", "%%TIME %%Date"}, // tokens are case-sensitive
        {"CPU temp \260", "CPU temp \260"}, // no %%: left as loaded
        {"%%inconnu \260", "%%inconnu \337"},
        {"%%HL_FPS %%seti_fini %%winamp_titre", "%%HL_FPS %%seti_fini %%winamp_titre"},
    };
    Panel p;
    for (const auto& c : cases) {
        EXPECT_EQ(p.expand(c.typed), c.shown);
    }
    // One reading per line that shows memory figures, so that they add up.
    EXPECT_EQ(p.memoryReads, 2);

    p.flags.MbmPresent = false;
    EXPECT_EQ(p.expand("CPU %%temp1 %%time"), "CPU %%temp1 21:13:08");
}

TEST(ExpandVariables, OnlyDynamicLinesWithVariablesUpToLAreRebuilt) {
    Panel p;
    p.set(1, "%%time");
    p.pages.CurrentLines[1].Dynamic = 0;
    p.pages.CurrentLines[1].Text = "figé";
    p.set(2, "%%time");
    p.config.L = 2;
    p.expand("%%date");
    EXPECT_EQ(p.pages.CurrentLines[1].Text, "figé");
    EXPECT_EQ(p.pages.CurrentLines[1].Length, 5);
    EXPECT_EQ(p.pages.CurrentLines[2].Text, "%%time");
}

TEST(ExpandVariables, TheBigClockFillsThePanelButALaterLineWithVariables) {
    Panel p;
    p.set(1, "");
    p.set(2, "%%time");
    p.set(3, "sans variable");
    p.expand("%%big_time");
    std::array<LineRecord, kLinesPerPage> clock{};
    BigTime(clock, QTime(21, 13, 8));
    for (int l : {0, 1, 3}) {
        EXPECT_EQ(p.pages.CurrentLines[l].Text, clock[l].Text) << l;
        EXPECT_EQ(p.pages.CurrentLines[l].Length, 20) << l;
    }
    EXPECT_EQ(p.pages.CurrentLines[2].Text, "21:13:08");
}

TEST(ExpandVariables, GroupsRunInTheirPlacesAndValuesAreSearchedByLaterSteps) {
    Panel p;
    p.sources.halfLifeGroup = [](QByteArray& text) {
        text.replace("%%HL_PlayerName", "%%time\260");
    };
    p.sources.setiGroup = [](QByteArray& text) { text.replace("%%seti_fini", "3"); };
    p.sources.winampGroup = [](QByteArray& text) { text.replace("%%winamp_titre", "%%seti_fini"); };
    const QByteArray typed = "%%HL_PlayerName %%seti_fini %%winamp_titre";
    EXPECT_EQ(p.expand(typed), "%%HL_PlayerName 3 %%seti_fini")
        << "Half-Life waits for its library";
    p.flags.HLAvailable = true;
    EXPECT_EQ(p.expand(typed), "21:13:08\260 3 %%seti_fini") << "a value's ° is left as it is";
}
