#include "engine/LineMessageLog.h"

#include "platform/AnsiText.h"

#include <QCoreApplication>

namespace {

// "de python3", or the process id when its name cannot be had.
QString from(const SocketPeer& sender) {
    if (!sender.name.isEmpty()) {
        return QCoreApplication::translate("LineMessageLog", "de %1")
            .arg(linemessage::readable(sender.name));
    }
    if (sender.pid > 0) {
        return QCoreApplication::translate("LineMessageLog", "du processus %1").arg(sender.pid);
    }
    return QCoreApplication::translate("LineMessageLog", "d'un programme inconnu");
}

} // namespace

LineMessageLog::LineMessageLog(Log& log, std::function<qint64()> monotonicMs)
    : log(log), clock(std::move(monotonicMs)) {
    summary.setSingleShot(true);
    QObject::connect(&summary, &QTimer::timeout, [this] { sumUp(); });
}

void LineMessageLog::taken(const SocketPeer& sender, const linemessage::LineMessage& message) {
    const QString text = linemessage::readable(ansi::toUnicode(message.text));
    const QString hold =
        message.hold > 0
            ? QCoreApplication::translate("LineMessageLog", " (reste %1 s)").arg(message.hold)
            : QString();
    const QString line = QString::number(message.line);
    // All at once: a name or a text may hold a %1 of its own.
    tell(QCoreApplication::translate("LineMessageLog", "Message %1 pour la ligne %2%3 : %4")
             .arg(from(sender), line, hold, text),
         QCoreApplication::translate("LineMessageLog", "ligne %1, « %2 »").arg(line, text));
}

void LineMessageLog::refused(const SocketPeer& sender, const QString& reason) {
    tell(QCoreApplication::translate("LineMessageLog", "Message %1 laissé de côté : %2")
             .arg(from(sender), reason),
         QCoreApplication::translate("LineMessageLog", "laissé de côté : %1").arg(reason));
}

void LineMessageLog::tell(const QString& line, const QString& gist) {
    const qint64 now = clock();
    if (now >= secondEnds) {
        sumUp(); // in case the timer has not had its turn yet
        secondEnds = now + 1000;
        told = 0;
    }
    if (told < kLinesPerSecond) {
        ++told;
        log.add(line);
        log.selectLast();
        return;
    }
    lastUntold = gist;
    if (++untold == 1) {
        summary.start(static_cast<int>(secondEnds - now));
    }
}

void LineMessageLog::sumUp() {
    summary.stop();
    if (untold == 0) {
        return;
    }
    log.add(untold == 1 ? QCoreApplication::translate("LineMessageLog", "… et 1 autre message (%1)")
                              .arg(lastUntold)
                        : QCoreApplication::translate("LineMessageLog",
                                                      "… et %1 autres messages (dernier : %2)")
                              .arg(QString::number(untold), lastUntold));
    log.selectLast();
    untold = 0;
}
