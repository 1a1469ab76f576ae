#pragma once

// Sleeps for `ms` milliseconds against the monotonic clock, to the deadline even when signals
// interrupt the wait: a 1 ms wait lasts 1.0 to 1.1 ms. Nothing happens for ms <= 0.
void sleepMilliseconds(int ms);
