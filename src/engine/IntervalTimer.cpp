#include "engine/IntervalTimer.h"

IntervalTimer::IntervalTimer(QObject* parent) : QObject(parent) {
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &IntervalTimer::timeout);
}

void IntervalTimer::setEnabled(bool on) {
    enabled = on;
    apply();
}

void IntervalTimer::setInterval(int ms) {
    period = ms;
    apply();
}

// As with the window timers, changing the interval of a running timer starts its period anew.
void IntervalTimer::apply() {
    if (enabled && period > 0) {
        timer.start(period);
    } else {
        timer.stop();
    }
}
