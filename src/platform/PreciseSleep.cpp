#include "PreciseSleep.h"

#include <cerrno>
#include <ctime>
#include <sys/prctl.h>

void sleepMilliseconds(int ms) {
    if (ms <= 0) {
        return;
    }
    timespec deadline{};
    ::clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += ms / 1000;
    deadline.tv_nsec += (ms % 1000) * 1'000'000L;
    if (deadline.tv_nsec >= 1'000'000'000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1'000'000'000L;
    }
    // The kernel may wake a sleeper up to its timer slack late, 50 us by default: too much of a
    // 1 ms wait. The slack is the thread's, so it is put back afterwards (1 ns: 0 means default).
    const int slack = ::prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    ::prctl(PR_SET_TIMERSLACK, 1, 0, 0, 0);
    // An absolute deadline lets an interrupted wait resume without drifting.
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
    if (slack > 0) {
        ::prctl(PR_SET_TIMERSLACK, slack, 0, 0, 0);
    }
}
