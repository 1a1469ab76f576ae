#include "drivers/Parallele.h"
#include "support/EmulatedHd44780Port.h"

#include <benchmark/benchmark.h>
#include <chrono>

namespace {
// The pause at each edge of E, one after another as in a frame: the panel needs 1 ms, more than
// 1.1 ms slows every frame, and none may be much shorter (a late one is made up by the next).
void BM_ParWait(benchmark::State& state) {
    EmulatedHd44780Port port(20, 4);
    Parallele par;
    par.io = &port;
    double longestMs = 0;
    double shortestMs = 1e9;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        ParWait(par);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        longestMs = std::max(longestMs, took.count());
        shortestMs = std::min(shortestMs, took.count());
    }
    state.counters["longest_ms"] = longestMs;
    state.counters["shortest_ms"] = shortestMs;
}
BENCHMARK(BM_ParWait)->UseRealTime()->Unit(benchmark::kMillisecond);

// A full 20x4 refresh as the program sends it: 4 line starts and 80 characters, three 1 ms
// pauses per byte, so the frame can never be shorter than 84 x 3 ms; `ratio` says how far above
// that bound the real pauses bring it.
constexpr double kFrameBoundMs = (4 + 20 * 4) * 3 * 1.0;

void BM_Frame20x4(benchmark::State& state) {
    EmulatedHd44780Port port(20, 4);
    Parallele par;
    par.io = &port;
    ParInit(par);
    const QByteArray text(20, 'x');
    double totalMs = 0;
    double longestMs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (qint16 line = 1; line <= 4; ++line) {
            ParGoto(par, 1, line);
            ParWrite(par, text);
        }
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        totalMs += took.count();
        longestMs = std::max(longestMs, took.count());
    }
    const double meanMs = totalMs / static_cast<double>(state.iterations());
    state.counters["bound_ms"] = kFrameBoundMs;
    state.counters["ratio"] = meanMs / kFrameBoundMs;
    state.counters["longest_ms"] = longestMs;
    if (port.model().line(3) != text) {
        state.SkipWithError("the frame did not reach the panel");
    }
}
BENCHMARK(BM_Frame20x4)->UseRealTime()->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
