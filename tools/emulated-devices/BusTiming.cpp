#include "BusTiming.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace emulated::detail {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kBurstGap = std::chrono::milliseconds(20);
constexpr int kClocksPerByte = 9; // eight bits and the acknowledge
constexpr int kFramingClocks = 2; // start and stop

struct Burst {
    Clock::time_point start;
    Clock::time_point end;
    long bytes = 0;
};

struct Timing {
    std::mutex mutex;
    long hz = 0;
    std::string statistics;
    std::map<std::string, Burst> current; // by bus
};

Timing& timing() {
    static Timing* const instance = new Timing; // never destroyed: programs may use it at exit
    return *instance;
}

thread_local Clock::duration owed{};

void record(const std::string& file, const std::string& bus, const Burst& burst) {
    if (file.empty()) {
        return;
    }
    if (std::FILE* out = std::fopen(file.c_str(), "a")) {
        std::fprintf(out, "%s %ld %.3f\n", bus.c_str(), burst.bytes,
                     std::chrono::duration<double, std::milli>(burst.end - burst.start).count());
        std::fclose(out);
    }
}

} // namespace

void setI2cClock(long hz) {
    Timing& t = timing();
    const std::lock_guard lock(t.mutex);
    t.hz = std::max(0L, hz);
}

void setBusStatistics(const std::string& file) {
    Timing& t = timing();
    const std::lock_guard lock(t.mutex);
    t.statistics = file;
}

void chargeI2c(const std::string& bus, int bytes) {
    Timing& t = timing();
    const std::lock_guard lock(t.mutex);
    if (t.hz == 0) {
        return;
    }
    const auto wire = std::chrono::nanoseconds(
        (static_cast<long long>(bytes) * kClocksPerByte + kFramingClocks) * 1'000'000'000LL / t.hz);
    const Clock::time_point now = Clock::now();
    const auto [found, first] = t.current.try_emplace(bus, Burst{now, now, 0});
    Burst& burst = found->second;
    if (!first && now - burst.end > kBurstGap) {
        record(t.statistics, bus, burst);
        burst = {now, now, 0};
    }
    burst.end = std::max(burst.end, now) + wire;
    burst.bytes += bytes;
    owed += wire;
}

void payBusTime() {
    if (owed > Clock::duration::zero()) {
        std::this_thread::sleep_for(std::exchange(owed, Clock::duration::zero()));
    }
}

} // namespace emulated::detail
