// The profile editor's page beside the window and on the panel.
#include "engine/PagePreview.h"

#include "profile/ProfileDocument.h"
#include "support/QtPrinters.h"
#include "support/Shell.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

const QByteArray kPages =
    "[param]\nnb_pages=2\nplein=#\nvide=-\nIp_Local_Ex=\n"
    "[page_1]\nligne0=Un texte bien trop long pour tenir sur la ligne\nligne1=%%mem_l Mo é\n"
    "ligne2=0 100 50 CPU\nligne3=%%time\nscroll0=2\nscroll1=0\nscroll2=4\nscroll3=0\n"
    "time=5\nnext=2\n"
    "[page_2]\nligne0=%%big_time\nligne1=\nligne2=\nligne3=\nscroll0=0\nscroll1=0\nscroll2=0\n"
    "scroll3=0\ntime=5\nnext=1\n";

} // namespace

// The preview draws what the panel shows for the same page, refresh after refresh: scrolling,
// variables, a bar, the big clock, the letters the ROM lacks; and never draws on the panel.
TEST(PagePreview, DrawsEachRefreshAsThePanelShowsTheSamePage) {
    Shell s(kShellSettings + "caracteres=A00\n");
    s.env.sources.emplace().now = [] { return QDateTime(QDate(2026, 12, 4), QTime(21, 13, 8)); };
    s.env.sources->memoryStatus = [] { return MemoryStatus{1 << 30, 100 << 20, 1 << 30, 0}; };
    s.env.sources->locale = QLocale::c();
    Engine& e = s.startEngine();
    const QString path = s.dir.write("p.tlcd", kPages);
    ASSERT_TRUE(e.LoadProfile(path));
    ASSERT_TRUE(e.Command1());
    const ProfileDocument document = openProfileDocument(path);
    PagePreview preview(e);
    for (const int page : {1, 2}) {
        e.LoadPage(static_cast<qint16>(page));
        preview.setPage(pageRecords(document.pages[page - 1]), profileParams(document));
        for (int tick = 0; tick < 3; ++tick) {
            const qsizetype shown = s.panel->frames.size();
            Q_EMIT e.Timer1().timeout();
            ASSERT_EQ(s.panel->frames.size(), shown + 1);
            EXPECT_EQ(preview.refresh(s.panel->characters()), s.panel->frames.last()) << tick;
            EXPECT_EQ(s.panel->frames.size(), shown + 1);
        }
    }
    EXPECT_TRUE(s.panel->frames.last().clock.has_value());
    EXPECT_EQ(currentValue(e, "%%mem_l Mo"), "100.00 Mo");
}

// While a page is tried the panel shows it, its bar with its own cells, and the rotation stays;
// at the end the shown page comes back and the feed the trial started stops as the button stops.
TEST(Engine, TryPageShowsTheEditedPageUntilTheTrialEnds) {
    Shell s;
    Engine& e = s.startEngine();
    ASSERT_TRUE(e.LoadProfile(s.dir.write("p.tlcd", QByteArray(kPages).replace("%%", ""))));
    QSignalSpy feeding(&e, &Engine::feedingChanged);
    const QByteArray scrolling = "Celui-ci defile vers la gauche, sans fin";
    auto lines = std::array{freshLine("Essai", 0), freshLine("0 10 5", kScrollBargraph),
                            freshLine(scrolling, kScrollLeft), freshLine("", 0)};
    e.tryPage(lines, {".", "=", ""});
    EXPECT_EQ(std::tuple(e.trying(), e.feeding(), e.buttonStops(), s.panel->resets),
              std::tuple(true, true, true, 1));
    EXPECT_EQ(s.log.last(), "Essai sur l'afficheur de la page en cours d'édition");

    Q_EMIT e.Timer1().timeout();
    Q_EMIT e.Timer2().timeout(); // the page's time is over: no other page comes
    Q_EMIT e.Timer1().timeout();
    QByteArrayList rows = s.panel->lastRows();
    EXPECT_TRUE(rows[0].startsWith("Essai")) << rows[0].constData();
    EXPECT_EQ(rows[1], "[=========.........]");
    const QByteArray scrolled = rows[2];

    lines[0] = freshLine("Autre essai", 0);
    e.tryPage(lines, {".", "=", ""});
    Q_EMIT e.Timer1().timeout();
    rows = s.panel->lastRows();
    EXPECT_TRUE(rows[0].startsWith("Autre essai"));
    EXPECT_EQ(rows[2].left(10), scrolled.mid(1, 10)) << "the line that stayed went on scrolling";

    e.endTrial();
    EXPECT_FALSE(e.trying() || e.feeding() || e.buttonStops());
    EXPECT_EQ(s.log.last(), "Fin de l'essai sur l'afficheur");
    EXPECT_EQ(s.panel->frames.last(), Frame::banner(kStopBanner));
    EXPECT_EQ(feeding, (QList<QVariantList>{{true}, {false}}));
    const AppState& app = e.state();
    EXPECT_EQ(std::tuple(app.pages.CurrentLines[0].Text, app.pages.CurrentLines[0].ScrollPos,
                         app.params.plein),
              std::tuple(QByteArray("Un texte bien trop long pour tenir sur la ligne"), 0, "#"));
}
