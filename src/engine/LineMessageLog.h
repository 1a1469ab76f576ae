#pragma once

#include "linemessage/LineMessage.h"
#include "model/Log.h"
#include "platform/UnixSocket.h"

#include <QTimer>
#include <functional>
#include <limits>

// What the log says of the line messages received: who sent what for which line, or why a
// message was left aside. A flood never fills the log: a few messages a second are told in full,
// the others are counted and summed up in one line at the end of that second.
class LineMessageLog {
public:
    static constexpr int kLinesPerSecond = 5;

    // `monotonicMs` tells the time in milliseconds on a clock that never goes back.
    LineMessageLog(Log& log, std::function<qint64()> monotonicMs);
    void taken(const SocketPeer& sender, const linemessage::LineMessage& message);
    void refused(const SocketPeer& sender, const QString& reason);
    // Any other line about one message, under the same allowance; `gist` names it in the sum.
    void tell(const QString& line, const QString& gist);

private:
    void sumUp();

    Log& log;
    std::function<qint64()> clock;
    qint64 secondEnds = std::numeric_limits<qint64>::min();
    int told = 0;   // lines told in full in this second
    int untold = 0; // messages only counted
    QString lastUntold;
    QTimer summary; // the end of a second in which messages were only counted
};
