#pragma once

#include "linemessage/LineMessage.h"

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <optional>

// A program sending line messages, as the tests play it: the event loop runs while it waits, so
// a receiver in the same process answers.
struct LineMessageClient {
    QLocalSocket socket;

    bool connectTo(const QString& path) {
        socket.connectToServer(path);
        return socket.waitForConnected(5000);
    }
    // Sends one message and returns the answer; nothing if the connection ended first.
    std::optional<quint32> send(quint32 dwData, const QByteArray& data) {
        socket.write(linemessage::encode(dwData, data));
        return reply();
    }
    std::optional<quint32> reply() {
        QSignalSpy ready(&socket, &QLocalSocket::readyRead);
        while (socket.bytesAvailable() < linemessage::kReplyBytes &&
               socket.state() == QLocalSocket::ConnectedState && ready.wait(10000)) {
        }
        return socket.bytesAvailable() < linemessage::kReplyBytes
                   ? std::nullopt
                   : std::optional(linemessage::decodeReply(socket.read(linemessage::kReplyBytes)));
    }
    // Whether the receiver ends the connection within `ms`.
    bool droppedWithin(int ms) {
        return QTest::qWaitFor([&] { return socket.state() == QLocalSocket::UnconnectedState; },
                               ms);
    }
};
