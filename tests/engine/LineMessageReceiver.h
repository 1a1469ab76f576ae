#pragma once

#include "engine/LineMessageServer.h"
#include "linemessage/LineMessage.h"
#include "support/TempDir.h"

// A receiver in a runtime directory of its own that keeps every message; it takes those of
// dwData 3 and 4 and leaves the rest aside.
struct LineMessageReceiver {
    using Message = std::pair<quint32, QByteArray>; // dwData, data
    TempDir runtime;
    QString dir = runtime.file("relayeur");
    QList<Message> received;
    LineMessageServer server;

    explicit LineMessageReceiver(LineMessageServer::Limits limits = {})
        : server(
              [this](quint32 dwData, const QByteArray& data, const SocketPeer&) {
                  received.append({dwData, data});
                  return dwData == linemessage::kLineMessageData ||
                                 dwData == linemessage::kHeldMessageData
                             ? linemessage::kTaken
                             : linemessage::kIgnored;
              },
              limits) {}

    QString path(const QString& name) const { return linemessage::socketPath(dir, name); }
};
