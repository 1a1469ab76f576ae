#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <memory>
#include <sys/socket.h>
#include <vector>

// The addresses of a host, for a TCP connection to one of its ports. A name is looked up on a
// thread of its own, so a slow or missing name server never holds up the program; a lookup
// dropped before it ends leaves its thread to finish alone.
class HostLookup : public QObject {
    Q_OBJECT

public:
    struct Address {
        sockaddr_storage address{};
        socklen_t length = 0;
    };

    HostLookup(const QByteArray& host, quint16 port, QObject* parent = nullptr);
    ~HostLookup() override;

    // Once finished: the addresses to try in turn, or why there are none.
    const std::vector<Address>& addresses() const;
    QString error() const;

Q_SIGNALS:
    void finished();

private:
    struct Result; // shared with the lookup's thread
    static void lookUp(Result& r, int flags);

    std::shared_ptr<Result> result;
    std::unique_ptr<QSocketNotifier> done;
};
