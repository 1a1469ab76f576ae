#include "render/ExpandVariables.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using SensorCalls = QList<std::pair<SensorKind, int>>; // kind, index

// Four lines of a French panel on 4 December 2026 at 21:13:08, with counted sources.
struct Panel {
    PageModel pages;
    DisplayConfig config;
    PresenceFlags flags;
    VariableSources sources;
    int memoryReads = 0;
    SensorCalls sensorCalls;
    int clockReads = 0;

    Panel() {
        config.C = 20;
        config.L = 4;
        flags.MbmPresent = true;
        sources.locale = QLocale(QLocale::French, QLocale::France);
        sources.now = [this] {
            ++clockReads;
            return QDateTime(QDate(2026, 12, 4), QTime(21, 13, 8));
        };
        sources.memoryStatus = [this] {
            ++memoryReads;
            return MemoryStatus{1073741824, 101187584, 3221225472, 2147483648};
        };
        sources.mbmValue = [this](qint16 index, SensorKind kind) {
            sensorCalls.append({kind, index});
            return kind == SensorKind::Temp ? 40 + index + 0.5 : index * 1.25;
        };
        sources.ipAddresses = [](const QByteArray& separator) {
            return "10.0.0.5" + separator + "192.0.2.7";
        };
    }
    void set(int line, const QByteArray& text) {
        pages.CurrentLines[line] = freshLine(text, 0);
        pages.LineTemplate[line] = text;
    }
    QByteArray expand(const QByteArray& text) {
        set(0, text);
        ExpandVariables({pages, config, flags, sources});
        return pages.CurrentLines[0].Text;
    }
};

} // namespace

TEST(ExpandVariables, ExamplesWithFrenchSettings) {
    Panel p;
    EXPECT_EQ(p.expand("CPU %%temp1\xB0"
                       "C"),
              "CPU 41,5\xDF"
              "C");
    EXPECT_EQ(p.expand("%%date %%time"), "04/12/2026 21:13:08");
    EXPECT_EQ(p.expand("Libre %%mem_l Mo"), "Libre 96,50 Mo");
    EXPECT_EQ(p.expand("IP %%ipext"), "IP 10.0.0.5+192.0.2.7");
    EXPECT_EQ(p.expand("Total %%memp_t"), "Total 3\xA0"
                                          "072,00");
    EXPECT_EQ(p.expand("CPU temp \xB0"), "CPU temp \xB0") << "no %%: the text is left as loaded";
    EXPECT_EQ(p.expand("%%inconnu \xB0"), "%%inconnu \xDF");
    EXPECT_EQ(p.pages.CurrentLines[0].Length, 11);

    p.flags.MbmPresent = false;
    p.sensorCalls.clear();
    EXPECT_EQ(p.expand("CPU %%temp1\xB0"
                       "C %%time"),
              "CPU %%temp1\xDF"
              "C 21:13:08");
    EXPECT_TRUE(p.sensorCalls.isEmpty());
}

TEST(ExpandVariables, TheFixedOrderDecidesBetweenSimilarTokens) {
    Panel p;
    EXPECT_EQ(p.expand("%%temp10|%%temp11|%%volt8|%%volt7"), "50,5|41,51|%%volt8|8,75");
    EXPECT_EQ(p.expand("%%TIME %%Date"), "%%TIME %%Date") << "tokens are case-sensitive";

    p.sensorCalls.clear();
    p.clockReads = 0;
    EXPECT_EQ(p.expand("%%fan2 %%time %%fan2 %%time"), "2,5 21:13:08 2,5 21:13:08");
    EXPECT_EQ(p.sensorCalls, SensorCalls({{SensorKind::Fan, 2}})) << "one source call per token";
    EXPECT_EQ(p.clockReads, 1);
    p.sensorCalls.clear();
    p.expand("%%temp2 %%volt3 %%fan4 %%frq %%charge");
    EXPECT_EQ(p.sensorCalls, SensorCalls({{SensorKind::Temp, 2},
                                          {SensorKind::Volt, 3},
                                          {SensorKind::Fan, 4},
                                          {SensorKind::Freq, 1},
                                          {SensorKind::Charge, 1}}))
        << "each token asks for its own kind of reading";

    // A value is searched by every later step: an address that reads like a date variable.
    p.sources.ipAddresses = [](const QByteArray&) { return QByteArray("%%date"); };
    EXPECT_EQ(p.expand("%%ipext"), "04/12/2026");
    // A degree sign inside a value is not converted.
    p.sources.ipAddresses = [](const QByteArray&) { return QByteArray("\xB0"); };
    EXPECT_EQ(p.expand("%%ipext"), "\xB0");
}

TEST(ExpandVariables, MemoryFiguresOfALineComeFromOneReading) {
    Panel p;
    qint64 available = 600 * 1048576LL;
    p.sources.memoryStatus = [&] {
        ++p.memoryReads;
        available += 1048576; // the machine moves on between two readings
        return MemoryStatus{1024 * 1048576LL, available, 0, 0};
    };
    const QByteArray text = p.expand("%%mem_u+%%mem_l=%%mem_t");
    const QList<QByteArray> parts = text.split('=').first().split('+');
    const double used = QLocale(QLocale::French).toDouble(QString::fromLatin1(parts[0]));
    const double free = QLocale(QLocale::French).toDouble(QString::fromLatin1(parts[1]));
    EXPECT_DOUBLE_EQ(used + free, 1024.0) << text.toStdString();
    EXPECT_EQ(p.memoryReads, 1);
}

TEST(ExpandVariables, OnlyDynamicLinesWithVariablesAreRebuilt) {
    Panel p;
    p.set(1, "%%time");
    p.pages.CurrentLines[1].Dynamic = 0;
    p.pages.CurrentLines[1].Text = "figé";
    p.set(2, "%%time");
    p.config.L = 2;
    p.expand("%%date");
    EXPECT_EQ(p.pages.CurrentLines[1].Text, "figé");
    EXPECT_EQ(p.pages.CurrentLines[1].Length, 5);
    EXPECT_EQ(p.pages.CurrentLines[2].Text, "%%time") << "beyond L nothing is touched";
}

TEST(ExpandVariables, BigClockFillsThePanelUnlessALaterLineHasVariables) {
    Panel p;
    p.set(1, "");
    p.set(2, "%%time");
    p.set(3, "texte");
    p.expand("%%big_time");
    for (int l : {0, 1, 3}) {
        EXPECT_EQ(p.pages.CurrentLines[l].Text.size(), 20) << l;
    }
    EXPECT_TRUE(p.pages.CurrentLines[3].Text.endsWith("08"));
    EXPECT_EQ(p.pages.CurrentLines[2].Text, "21:13:08");
    EXPECT_EQ(p.pages.CurrentLines[3].Length, 20);
    EXPECT_EQ(p.pages.CurrentLines[1].Length, 20);
}

TEST(ExpandVariables, GroupsRunInTheirPlacesAndOnlyWhenPresent) {
    Panel p;
    EXPECT_EQ(p.expand("%%HL_FPS %%seti_fini %%winamp_titre"),
              "%%HL_FPS %%seti_fini %%winamp_titre");

    QStringList order;
    p.sources.halfLifeGroup = [&](QByteArray& text) {
        order.append("hl");
        text.replace("%%HL_PlayerName", "%%time");
    };
    p.sources.setiGroup = [&](QByteArray& text) {
        order.append("seti");
        text.replace("%%seti_fini", "3");
    };
    p.sources.winampGroup = [&](QByteArray& text) {
        order.append("winamp");
        text.replace("%%winamp_titre", "%%seti_fini");
    };
    EXPECT_EQ(p.expand("%%HL_PlayerName %%seti_fini %%winamp_titre"),
              "%%HL_PlayerName 3 %%seti_fini")
        << "Half-Life waits for its library";
    p.flags.HLAvailable = true;
    order.clear();
    EXPECT_EQ(p.expand("%%HL_PlayerName %%seti_fini %%winamp_titre"), "21:13:08 3 %%seti_fini");
    EXPECT_EQ(order, QStringList({"hl", "seti", "winamp"}));
}
