// One refresh of a 20x4 page with live values on the on-screen panel: what every tick of the
// refresh timer costs the program, in a tight loop (caches warm) and as the running program pays
// it, once after each 500 ms asleep.
#include "drivers/OnScreenPanel.h"
#include "platform/LocalClock.h"
#include "render/Bargraph.h"
#include "render/ExpandVariables.h"
#include "render/RefreshLCD.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <thread>
#include <vector>

namespace {

// Memory, date and time, a line too long for the panel that scrolls left, and a bargraph: the
// page a user keeps on the panel all day, with the sources the program gives it.
struct LivePage {
    DisplayConfig config;
    const PresenceFlags flags;
    const ProfileParams params{"-", "#", "127."};
    OnScreenPanel panel{20, 4};
    PageModel pages;
    MeminfoFile meminfo;
    LocalClock clock;
    VariableSources sources;
    RefreshTarget target{pages, config,
                         [this] {
                             return ExpandVariables({pages, config, flags, sources});
                         },
                         [this](const QByteArray& text) {
                             return Bargraph(text, config.C, params.plein, params.vide,
                                             sources.locale);
                         }};
    qint64 refreshes = 0;

    LivePage() {
        config.C = 20;
        config.L = 4;
        config.TypeLCD = 1;
        panel.reset();
        const QByteArray lines[4] = {"Libre %%mem_l Mo", "%%date %%time",
                                     "Un texte trop long pour l'afficheur defile vers la gauche",
                                     "0 100 42 Charge"};
        const qint16 modes[4] = {0, 0, 2, 4};
        for (int l = 0; l < 4; ++l) {
            pages.CurrentLines[l] = freshLine(lines[l], modes[l]);
            pages.LineTemplate[l] = lines[l];
        }
        sources.memoryStatus = [this] { return meminfo.read(); };
        sources.now = [this] { return clock.now(); };
        sources.locale = QLocale(QLocale::French, QLocale::France);
    }

    void refresh() {
        if (const std::optional<Frame> frame = RefreshLCD(target)) {
            panel.show(*frame);
        }
        ++refreshes;
    }

    // Every line must have been drawn as the program draws it, and the scroller moved once per
    // refresh; otherwise the loop measured something else.
    void check(benchmark::State& state) const {
        const LineRecord& scroller = pages.CurrentLines[2];
        const bool drawn = !panel.line(0).contains("%%") && !panel.line(1).contains("%%") &&
                           panel.line(3).contains("Charge [") &&
                           scroller.ScrollPos == refreshes % (scroller.Length + 5);
        if (!drawn) {
            state.SkipWithError("the page was not drawn as the program draws it");
        }
        benchmark::DoNotOptimize(panel.line(2));
    }
};

void BM_RefreshLiveValues(benchmark::State& state) {
    LivePage page;
    for (auto _ : state) {
        page.refresh();
    }
    page.check(state);
}
BENCHMARK(BM_RefreshLiveValues)->Unit(benchmark::kMicrosecond);

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// As the program at refresh=500: 500 ms asleep, then one refresh, timed alone. In the meantime
// the processor's caches have gone to other work and the kernel's to other files, as they do
// between two ticks. The time is the wall-clock time of the refresh; `cpu_us` its own processor
// time, and `median_us`/`max_us` of the wall-clock times, since one preemption on a busy machine
// weighs heavily on the mean of a few dozen.
void BM_RefreshAfterSleep(benchmark::State& state) {
    LivePage page;
    page.refresh(); // the first one also sets up what the run keeps (locale data, the panel)
    std::vector<double> took;
    double cpu = 0;
    for (auto _ : state) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const double cpuStart = threadCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        page.refresh();
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
        cpu += threadCpuSeconds() - cpuStart;
        state.SetIterationTime(wall.count());
        took.push_back(wall.count());
    }
    std::sort(took.begin(), took.end());
    state.counters["median_us"] = took[took.size() / 2] * 1e6;
    state.counters["max_us"] = took.back() * 1e6;
    state.counters["cpu_us"] = cpu / static_cast<double>(took.size()) * 1e6;
    page.check(state);
}
BENCHMARK(BM_RefreshAfterSleep)->UseManualTime()->Iterations(30)->Unit(benchmark::kMicrosecond);

} // namespace
