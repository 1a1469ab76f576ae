#include "engine/SensorsPublisher.h"

#include "platform/SharedMemory.h"

#include <QFileInfo>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr int kReadyWithinMs = 1000;
constexpr int kLookEveryMs = 10;
constexpr int kEndWithinMs = 2000;

} // namespace

SensorsPublisher::SensorsPublisher(QObject* parent) : QObject(parent) {
    poll.setInterval(kLookEveryMs);
    connect(&poll, &QTimer::timeout, this, &SensorsPublisher::check);
    // What it prints on its standard output is for a terminal, where the panel may be drawn.
    process.setStandardOutputFile(QProcess::nullDevice());
    connect(&process, &QProcess::readyReadStandardError, this, &SensorsPublisher::relayErrors);
    connect(&process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            settle(tr("Capteurs : impossible de lancer %1 : %2")
                       .arg(process.program(), process.errorString()));
        }
    });
    connect(&process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        relayErrors();
        if (ending) {
            return;
        }
        const QString how =
            status == QProcess::CrashExit ? tr("en plantant") : tr("code %1").arg(code);
        if (!outcome) {
            settle(tr("Capteurs : relayeur-sensors s'est arrêté (%1) sans publier le bloc %2")
                       .arg(how, block));
        } else {
            Q_EMIT said(tr("Capteurs : relayeur-sensors s'est arrêté (%1) : les capteurs gardent "
                           "leurs dernières valeurs")
                            .arg(how));
        }
    });
    // When the program dies without its clean-up, the kernel ends the publisher all the same.
    process.setChildProcessModifier([parent = ::getpid()] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) {
            ::_exit(1); // the program died before the request was made
        }
    });
}

SensorsPublisher::~SensorsPublisher() {
    disconnect(&process, nullptr, this, nullptr);
    end();
}

void SensorsPublisher::start(const QString& program, const QString& blockName) {
    block = blockName;
    if (SharedMemory::exists(block)) {
        settle(tr("Capteurs : le bloc %1 est déjà publié, relayeur-sensors n'est pas lancé")
                   .arg(block));
        return;
    }
    if (!QFileInfo(program).isFile()) {
        settle(tr("Capteurs : relayeur-sensors introuvable (%1), il n'est pas lancé").arg(program));
        return;
    }
    waited.start();
    poll.start();
    process.start(program, {QStringLiteral("--name"), block});
}

void SensorsPublisher::whenSettled(std::function<void(const QString&)> told) {
    if (outcome) {
        told(*outcome);
    } else {
        waiting = std::move(told);
    }
}

void SensorsPublisher::check() {
    if (SharedMemory::exists(block)) {
        settle(tr("Capteurs : relayeur-sensors lancé, il publie le bloc %1").arg(block));
    } else if (waited.elapsed() >= kReadyWithinMs) {
        settle(tr("Capteurs : relayeur-sensors n'a pas publié le bloc %1 en 1 s, il est arrêté")
                   .arg(block));
        end();
    }
}

void SensorsPublisher::settle(const QString& line) {
    if (outcome) {
        return;
    }
    poll.stop();
    outcome = line;
    if (waiting) {
        std::exchange(waiting, {})(line);
    }
}

// Its error output goes to the log line by line; it says why it stopped or could not publish.
void SensorsPublisher::relayErrors() {
    process.setReadChannel(QProcess::StandardError);
    while (process.canReadLine()) {
        const QString line = QString::fromLocal8Bit(process.readLine()).trimmed();
        if (!line.isEmpty()) {
            Q_EMIT said(line);
        }
    }
}

void SensorsPublisher::end() {
    poll.stop();
    if (process.state() == QProcess::NotRunning) {
        return;
    }
    ending = true;
    process.terminate();
    if (!process.waitForFinished(kEndWithinMs)) {
        process.kill();
        process.waitForFinished(kEndWithinMs);
    }
}
