#pragma once

// The project's programs run as a user runs them, driven from a test.
#include <QProcess>
#include <QSignalSpy>

struct Finished {
    int exitCode = -1; // also when it crashed or did not end in time
    QString out;
    QString err;
};

// The event loop runs meanwhile, so that a receiver in the test can answer the program.
inline Finished
runToEnd(const QString& program, const QStringList& arguments,
         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    QSignalSpy finished(&process, &QProcess::finished);
    process.start(program, arguments);
    const bool ended = finished.wait(30000); // if not, QProcess kills it on the way out
    return {ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Reads one output of a running program, keeping each line in `seen`, until a line contains
// `wanted`; false if the program ended first.
inline bool waitForLine(QProcess& process, QProcess::ProcessChannel channel, const QString& wanted,
                        QStringList& seen) {
    process.setReadChannel(channel);
    do {
        while (process.canReadLine()) {
            seen.append(QString::fromUtf8(process.readLine()).chopped(1));
            if (seen.back().contains(wanted)) {
                return true;
            }
        }
    } while (process.state() != QProcess::NotRunning && process.waitForReadyRead(30000));
    return false;
}

// Sends SIGTERM and returns the exit code; -1 if the program crashed or did not end.
inline int terminate(QProcess& process) {
    process.terminate();
    const bool ended = process.waitForFinished(30000);
    return ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}
