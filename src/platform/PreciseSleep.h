#pragma once

#include <ctime>

// Pauses of a fixed length one after another, each ending a period after the end the one before
// was due, not a period after it returned: a late wake-up is made up by the next pause instead of
// adding up over a burst. No pause is shorter than the minimum, and a pause that follows a long
// idle time starts from now.
struct PausePacer {
    timespec due{}; // when the last pause was due to end; zero before the first
};

void pacedPause(PausePacer& pacer, long periodNs, long minimumNs);
