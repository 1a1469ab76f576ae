#include "render/ExpandVariables.h"

#include "drivers/Hd44780Font.h"
#include "profile/LoadPage.h"
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

    Panel() {
        config.L = 4;
        sources.locale = QLocale(QLocale::French, QLocale::France);
        sources.now = [] { return QDateTime(QDate(2026, 12, 4), QTime(21, 13, 8)); };
        sources.memoryStatus = [] {
            return MemoryStatus{1073741824, 101187584, 3221225472, 2147483648};
        };
        sources.mbmValue = [](qint16 k, SensorKind kind) { return 40.5 + 10 * int(kind) + k; };
        sources.ipAddresses = [](const QByteArray& sep) { return "10.0.0.5" + sep + "192.0.2.7"; };
    }
    void set(int line, const QByteArray& text) { putOnPage(pages, line, text, 0); }
    QByteArray expand(const QByteArray& text) {
        set(0, text);
        ExpandVariables({pages, config, flags, sources});
        EXPECT_EQ(pages.CurrentLines[0].Length, pages.CurrentLines[0].Text.size());
        return pages.CurrentLines[0].Text;
    }
};

// The current lines as a terminal panel shows them, with the big-digit shapes loaded.
QStringList terminalRows(const std::array<LineRecord, kLinesPerPage>& lines) {
    QStringList rows;
    for (const LineRecord& line : lines) {
        rows.append(QString());
        for (const char code : line.Text) {
            rows.back() += terminalGlyph(static_cast<quint8>(code));
        }
    }
    return rows;
}

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
    };
    Panel p;
    for (const auto& c : cases) {
        EXPECT_EQ(p.expand(c.typed), c.shown);
    }
    // Readings are never grouped, even where the locale groups thousands.
    p.sources.mbmValue = [](qint16, SensorKind) { return 12345.5; };
    EXPECT_EQ(p.expand("%%fan1 %%temp2"), "12345,5 12345,5");
    p.flags.MbmPresent = false;
    EXPECT_EQ(p.expand("CPU %%temp1 %%time"), "CPU %%temp1 21:13:08");
    // The next day and second show at once, whatever the lines showed before.
    p.sources.now = [] { return QDateTime(QDate(2026, 12, 5), QTime(0, 0, 1)); };
    EXPECT_EQ(p.expand("%%date %%time"), "05/12/2026 00:00:01");
}

// Values from outside: asked once per name and line, unknown ones left as typed, the inserted
// text never read as a variable again; without a source the calls stay as typed.
TEST(ExpandVariables, ValuesAndTopicsComeLastAndOncePerLine) {
    Panel p;
    EXPECT_EQ(p.expand("%%val(meteo) %%mqtt(a/b)"), "%%val(meteo) %%mqtt(a/b)");
    QList<QByteArray> asked;
    p.sources.namedValue = [&](QByteArrayView name) -> std::optional<QByteArray> {
        asked.append(name.toByteArray());
        if (name == "vide") {
            return QByteArray();
        }
        if (name == "heure") {
            return QByteArray("%%time %%val(meteo)");
        }
        return name == "meteo" ? std::optional<QByteArray>("8\260C") : std::nullopt;
    };
    p.sources.mqttValue = [](QByteArrayView topic,
                             QByteArrayView field) -> std::optional<QByteArray> {
        if (topic.contains('+')) {
            return std::nullopt;
        }
        return topic.toByteArray() + "=" + field.toByteArray();
    };
    EXPECT_EQ(p.expand("%%val(meteo)/%%val(meteo)[%%val(vide)]%%val(autre)"),
              "8\260C/8\260C[]%%val(autre)");
    EXPECT_EQ(asked, (QList<QByteArray>{"meteo", "vide", "autre"}));
    EXPECT_EQ(p.expand("%%val(heure) %%val(meteo"), "%%time %%val(meteo) %%val(meteo");
    EXPECT_EQ(p.expand("%%mqtt(a/b|t) %%mqtt(c) %%mqtt(+/x)"), "a/b=t c= %%mqtt(+/x)");
}

// The big clock rewrites all four lines; the lines after it are rebuilt, unless they are static,
// beyond L or without variables.
TEST(ExpandVariables, TheBigClockStaysWhereNoLaterLineIsRebuilt) {
    Panel p;
    p.set(1, "%%time");
    p.pages.CurrentLines[1].Dynamic = 0;
    p.set(2, "%%time");
    p.set(3, "%%date");
    p.config.L = 3;
    p.set(0, "%%big_time");
    // A line rebuilt after the clock takes its row back: the panel shows no whole clock.
    EXPECT_EQ(ExpandVariables({p.pages, p.config, p.flags, p.sources}), std::nullopt);
    EXPECT_EQ(terminalRows(p.pages.CurrentLines), QStringList({"▛▀▜  ▛█    ▛█ ▛▀▜   ", //
                                                               " ▄▟   █ ▄   █   █   ", //
                                                               "21:13:08",             //
                                                               "▙▄▄   █     █ ▙▄▟ 08"}));
    EXPECT_EQ(p.pages.CurrentLines[1].Length, 20);

    // Where every line of the panel shows its row, the clock is told as the time it shows.
    p.config.L = 2;
    EXPECT_EQ(ExpandVariables({p.pages, p.config, p.flags, p.sources}), (ClockTime{21, 13, 8}));

    // A message that stays on line 1 keeps it: the clock has the other rows, and is no whole clock.
    p.set(1, "Sauvegarde");
    p.pages.held.until[1] = 60000;
    EXPECT_EQ(ExpandVariables({p.pages, p.config, p.flags, p.sources}), std::nullopt);
    EXPECT_EQ(terminalRows(p.pages.CurrentLines).mid(0, 2),
              QStringList({"▛▀▜  ▛█    ▛█ ▛▀▜   ", "Sauvegarde"}));
}

TEST(ExpandVariables, TheBigDigitsReadAsDigits) {
    std::array<LineRecord, kLinesPerPage> lines{};
    for (qint16 digit = -1; digit <= 10; ++digit) { // -1 and 10 are no digits: nothing
        BigDigit(lines, digit);
    }
    EXPECT_EQ(terminalRows(lines), QStringList({"▛▀▜  ▛█ ▛▀▜ ▛▀▜ ▛▀▀ █▀▜ ▛▀▜ ▀▀▜ ▛▀▜ ▛▀▜ ", //
                                                "█ █   █  ▄▟   █ █ ▄ ▙▄▄ █     █ ▙▄▟ ▙▄█ ", //
                                                "█ █   █ ▛▀   ▀█ ▙▄█   █ █▀▜  █  ▛ ▜   █ ", //
                                                "▙▄▟   █ ▙▄▄ ▙▄▟   █ ▙▄▟ ▙▄▟  █  ▙▄▟ ▙▄▟ "}));
}
