#include "drivers/ParallelPanel.h"

#include <cstdio>

ParallelPanel::ParallelPanel(QString portSetting, Log& log)
    : setting(std::move(portSetting)), log(&log) {}

ParallelPanel::ParallelPanel(std::unique_ptr<PortIo> port, std::function<void()> wait)
    : port(std::move(port)) {
    par.io = this->port.get();
    par.wait = std::move(wait);
}

void ParallelPanel::init() {
    if (!port && log) {
        QString error;
        port = openParallelPort(setting, &error);
        if (!port) {
            if (!failureReported) {
                failureReported = true;
                log->add(error);
                log->selectLast();
                std::fprintf(stderr, "%s\n", error.toUtf8().constData());
                std::fflush(stderr);
            }
            return;
        }
        failureReported = false;
        par.io = port.get();
    }
    ParInit(par);
}

void ParallelPanel::lineStart(int line) {
    ParGoto(par, 1, static_cast<qint16>(line + 1));
}

void ParallelPanel::write(const QByteArray& text) {
    ParWrite(par, text);
}
