#include "PreciseSleep.h"

#include <algorithm>
#include <cerrno>
#include <sys/prctl.h>

namespace {

constexpr long kNsPerSecond = 1'000'000'000L;

long long nanoseconds(const timespec& t) {
    return static_cast<long long>(t.tv_sec) * kNsPerSecond + t.tv_nsec;
}

timespec fromNanoseconds(long long ns) {
    return {static_cast<time_t>(ns / kNsPerSecond), static_cast<long>(ns % kNsPerSecond)};
}

} // namespace

void pacedPause(PausePacer& pacer, long periodNs, long minimumNs) {
    if (periodNs <= 0) {
        return;
    }
    // The kernel may wake a sleeper up to its timer slack late, 50 us by default: too much for
    // 1 ms pauses. The slack is the thread's; it is set once (1 ns: 0 would mean the default).
    thread_local const bool slackSet = ::prctl(PR_SET_TIMERSLACK, 1, 0, 0, 0) == 0;
    static_cast<void>(slackSet);

    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const long long nowNs = nanoseconds(now);
    const long long dueNs = nanoseconds(pacer.due);
    // Past a few periods late, the burst has ended: there is nothing to catch up.
    const bool burst = dueNs != 0 && nowNs - dueNs < 4LL * periodNs;
    const long long next = burst ? std::max(dueNs + periodNs, nowNs + minimumNs) : nowNs + periodNs;
    pacer.due = fromNanoseconds(next);
    // An absolute deadline lets an interrupted wait resume without drifting.
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &pacer.due, nullptr) == EINTR) {
    }
}
