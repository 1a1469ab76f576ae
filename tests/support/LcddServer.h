#pragma once

#include "support/TempDir.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <pwd.h>
#include <unistd.h>

// The real LCDd with its text driver on a free local port: every frame it draws is printed on
// its standard output, framed by +---+ lines, and read back here.
class LcddServer {
public:
    explicit LcddServer(const QByteArray& size) {
        {
            QTcpServer probe; // a port free now, most likely still free in a moment
            probe.listen(QHostAddress::LocalHost);
            port = probe.serverPort();
        }
        const QStringList drivers =
            QDir(QStringLiteral("/usr/lib")).entryList({QStringLiteral("*")}, QDir::Dirs);
        for (const QString& d : drivers) {
            if (QFile::exists(QStringLiteral("/usr/lib/%1/lcdproc/text.so").arg(d))) {
                driverPath = QStringLiteral("/usr/lib/%1/lcdproc/").arg(d);
            }
        }
        conf = dir.write(QStringLiteral("LCDd.conf"),
                         "[server]\nDriverPath=" + driverPath.toUtf8() + "\nDriver=text\n" +
                             "Bind=127.0.0.1\nPort=" + QByteArray::number(port) +
                             "\nUser=" + getpwuid(getuid())->pw_name + "\nServerScreen=no\n" +
                             "FrameInterval=50000\n" + "[text]\nSize=" + size + "\n");
        start();
    }
    ~LcddServer() { stop(); }

    // LCDd writes to a file with full buffering: stdbuf has it write each line as it comes.
    void start() {
        out.clear();
        lcdd.setProgram(QStringLiteral("stdbuf"));
        lcdd.setArguments({"-oL", lcddPath(), "-f", "-c", conf});
        lcdd.start();
        lcdd.waitForStarted();
        ready = QTest::qWaitFor([this] { return listening(); }, 5000);
    }
    void stop() {
        lcdd.terminate();
        lcdd.waitForFinished();
    }
    // The latest whole frame, one QByteArray per row; waits until `wanted` holds of it.
    template <typename Pred> QByteArrayList frameWhere(Pred wanted, int ms = 5000) {
        QByteArrayList found;
        [[maybe_unused]] const bool met = QTest::qWaitFor(
            [&] {
                out += lcdd.readAllStandardOutput();
                found = lastFrame();
                return !found.isEmpty() && wanted(found);
            },
            ms);
        return found;
    }

    quint16 port = 0;
    bool ready = false; // listening since the last start()

private:
    static QString lcddPath() {
        return QStandardPaths::findExecutable(QStringLiteral("LCDd"),
                                              {"/usr/sbin", "/usr/local/sbin", "/usr/bin"});
    }
    bool listening() {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, port);
        return s.waitForConnected(100);
    }
    // Top and bottom borders are alike: a frame is the rows read before a border.
    QByteArrayList lastFrame() const {
        QByteArrayList rows, last;
        for (const QByteArray& line : out.split('\n')) {
            if (line.startsWith('+')) {
                if (!rows.isEmpty()) {
                    last = rows;
                }
                rows.clear();
            } else if (line.startsWith('|')) {
                rows.append(line.mid(1, line.size() - 2));
            }
        }
        return last;
    }

    TempDir dir;
    QString driverPath;
    QString conf;
    QProcess lcdd;
    QByteArray out;
};
