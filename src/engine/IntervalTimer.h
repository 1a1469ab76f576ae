#pragma once

#include <QObject>
#include <QTimer>

// A timer with the enabled flag and interval of the window's timers: it fires only while it is
// enabled and its interval is above 0, so an interval of 0 means "does not fire".
class IntervalTimer : public QObject {
    Q_OBJECT
public:
    explicit IntervalTimer(QObject* parent = nullptr);

    void setEnabled(bool on);
    void setInterval(int ms);
    bool isEnabled() const { return enabled; }
    int interval() const { return period; }
    bool isRunning() const { return timer.isActive(); }

Q_SIGNALS:
    void timeout();

private:
    void apply();
    QTimer timer;
    bool enabled = false;
    int period = 0;
};
