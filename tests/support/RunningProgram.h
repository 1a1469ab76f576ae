#pragma once

// The relayeur program run as a user runs it, in a directory of its own, driven from a test.
#include "support/TempDir.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <memory>
#include <signal.h>

inline const QByteArray kSettings = "[parametres]\nTypeLCD=2\nCOM=1\nC=20\nL=4\ncontrast=0\n"
                                    "backlight=0\nrefresh=300\nscrolling=0\n"
                                    "rep_winamp=\nrep_seti=\nrep_HL=\n";

// Each program gets its own runtime directory, so runs in parallel never see each other.
struct Program {
    TempDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();

    Program() {
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_RUNTIME_DIR", dir.path());
        dir.write("param.ini", kSettings);
    }

    std::unique_ptr<QProcess> start(const QStringList& arguments) {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment);
        process->start(QStringLiteral(RELAYEUR_BINARY), arguments);
        return process;
    }

    // Reads standard output until `line` has been printed; false if the program ended first.
    static bool waitForLine(QProcess& process, const QString& line, QStringList& seen) {
        while (true) {
            while (process.canReadLine()) {
                seen.append(QString::fromUtf8(process.readLine()).chopped(1));
                if (seen.back() == line) {
                    return true;
                }
            }
            if (process.state() == QProcess::NotRunning || !process.waitForReadyRead(30000)) {
                return false;
            }
        }
    }

    static int terminate(QProcess& process) {
        // A program that has already ended has no id: kill(0) would signal the test itself.
        if (const qint64 pid = process.processId(); pid > 0) {
            ::kill(static_cast<pid_t>(pid), SIGTERM);
        }
        if (!process.waitForFinished(30000)) {
            process.kill();
            return -1;
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
};

// Reads the panel frames drawn in the terminal until line `index` reads `text`.
inline bool waitForPanelLine(QProcess& process, int index, const QString& text) {
    const QString wanted = QChar(0x2502) + text.leftJustified(20) + QChar(0x2502);
    int line = -1;
    while (true) {
        while (process.canReadLine()) {
            const QString seen = QString::fromUtf8(process.readLine()).chopped(1);
            if (seen.contains(QChar(0x250C))) {
                line = 0; // the top of a new frame
            } else if (line >= 0 && seen.startsWith(QChar(0x2502))) {
                if (line == index && seen == wanted) {
                    return true;
                }
                ++line;
            }
        }
        if (process.state() == QProcess::NotRunning || !process.waitForReadyRead(30000)) {
            return false;
        }
    }
}

struct Sent {
    int exitCode = -1;
    QString err;
};

inline Sent relayeurSend(const Program& p, const QStringList& arguments) {
    QProcess send;
    send.setProcessEnvironment(p.environment);
    send.start(QStringLiteral(RELAYEUR_SEND_BINARY), arguments);
    if (!send.waitForFinished(30000)) {
        send.kill();
        return {};
    }
    return {send.exitStatus() == QProcess::NormalExit ? send.exitCode() : -1,
            QString::fromUtf8(send.readAllStandardError())};
}
