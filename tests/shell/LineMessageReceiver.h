#pragma once

#include "linemessage/LineMessage.h"
#include "shell/LineMessageServer.h"
#include "support/TempDir.h"

#include <optional>

// A receiver in a runtime directory of its own that keeps every message. It takes dwData 3 and
// leaves the rest aside, unless `answer` says what to answer to everything.
struct LineMessageReceiver {
    TempDir runtime;
    QString dir = runtime.file("relayeur");
    QList<std::pair<quint32, QByteArray>> received;
    std::optional<quint32> answer;
    LineMessageServer server;

    explicit LineMessageReceiver(LineMessageServer::Limits limits = {})
        : server(
              [this](quint32 dwData, const QByteArray& data) {
                  received.append({dwData, data});
                  return answer.value_or(dwData == 3 ? linemessage::kTaken : linemessage::kIgnored);
              },
              limits) {}

    QString path(const QString& name) const { return linemessage::socketPath(dir, name); }
};
