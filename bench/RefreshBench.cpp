// One refresh of a 20x4 page with live values on the on-screen panel: what every tick of the
// refresh timer costs the program.
#include "drivers/OnScreenPanel.h"
#include "render/Bargraph.h"
#include "render/ExpandVariables.h"
#include "render/RefreshLCD.h"

#include <benchmark/benchmark.h>

namespace {

// Memory, date and time, a line too long for the panel that scrolls left, and a bargraph: the
// page a user keeps on the panel all day.
void BM_RefreshLiveValues(benchmark::State& state) {
    DisplayConfig config;
    config.C = 20;
    config.L = 4;
    config.TypeLCD = 1;
    const PresenceFlags flags;
    const ProfileParams params{"-", "#", "127."};

    OnScreenPanel panel(20, 4);
    LcdOutput out;
    out.panels[1] = &panel;
    panel.init();

    PageModel pages;
    const QByteArray lines[4] = {"Libre %%mem_l Mo", "%%date %%time",
                                 "Un texte trop long pour l'afficheur defile vers la gauche",
                                 "0 100 42 Charge"};
    const qint16 modes[4] = {0, 0, 2, 4};
    for (int l = 0; l < 4; ++l) {
        pages.CurrentLines[l] = freshLine(lines[l], modes[l]);
        pages.LineTemplate[l] = lines[l];
    }

    VariableSources sources;
    sources.memoryStatus = &readMemoryStatus;
    sources.now = &QDateTime::currentDateTime;
    sources.locale = QLocale(QLocale::French, QLocale::France);

    const RefreshTarget target{pages, config, out,
                               [&] {
                                   ExpandVariables({pages, config, flags, sources});
                               },
                               [&](const QByteArray& text) {
                                   return Bargraph(text, config.C, params.plein, params.vide,
                                                   sources.locale);
                               }};
    for (auto _ : state) {
        RefreshLCD(target);
    }
    // Every line must have been drawn as the program draws it, and the scroller moved once per
    // refresh; otherwise the loop measured something else.
    const LineRecord& scroller = pages.CurrentLines[2];
    const bool drawn = !panel.line(0).contains("%%") && !panel.line(1).contains("%%") &&
                       panel.line(3).contains("Charge [") &&
                       scroller.ScrollPos == state.iterations() % (scroller.Length + 5);
    if (!drawn) {
        state.SkipWithError("the page was not drawn as the program draws it");
    }
    benchmark::DoNotOptimize(panel.line(2));
}
BENCHMARK(BM_RefreshLiveValues)->Unit(benchmark::kMicrosecond);

} // namespace
