#pragma once

#include "support/TempDir.h"

#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <pwd.h>
#include <unistd.h>

// The real LCDd with its text driver on a free local port; each frame it draws comes out on its
// standard output between +---+ borders, one |row| per line (stdbuf: as it is drawn).
class LcddServer {
public:
    explicit LcddServer(const QByteArray& size) {
        QTcpServer probe; // a port free now, and still free a moment later
        probe.listen(QHostAddress::LocalHost);
        port = probe.serverPort();
        probe.close();
        lcdd.setProgram(QStringLiteral("stdbuf"));
        lcdd.setArguments({"-oL", LCDD_BINARY, "-f", "-p", QString::number(port), "-u",
                           getpwuid(getuid())->pw_name, "-c",
                           dir.write("LCDd.conf", "[server]\nDriverPath=" LCDD_DRIVER_DIR
                                                  "\nDriver=text\nServerScreen=no\n"
                                                  "FrameInterval=50000\n[text]\nSize=" +
                                                      size + "\n")});
        start();
    }
    ~LcddServer() { stop(); }

    void start() {
        out.clear();
        lcdd.start();
        ready = QTest::qWaitFor(
            [this] {
                QTcpSocket s;
                s.connectToHost(QHostAddress::LocalHost, port);
                return s.waitForConnected(100);
            },
            5000);
    }
    void stop() {
        lcdd.terminate();
        lcdd.waitForFinished();
    }
    // The latest whole frame, a row per entry, once `wanted` holds of it (or the last one seen).
    template <typename Pred> QByteArrayList frameWhere(Pred wanted) {
        QByteArrayList frame;
        [[maybe_unused]] const bool met = QTest::qWaitFor([&] {
            out += lcdd.readAllStandardOutput();
            QByteArrayList rows;
            for (const QByteArray& line : out.split('\n')) {
                if (line.startsWith('+') && !rows.isEmpty()) {
                    frame = std::exchange(rows, {});
                } else if (line.startsWith('|')) {
                    rows.append(line.mid(1, line.size() - 2));
                }
            }
            return wanted(frame);
        });
        return frame;
    }

    quint16 port = 0;
    bool ready = false; // listening since the last start()

private:
    TempDir dir;
    QProcess lcdd;
    QByteArray out;
};
