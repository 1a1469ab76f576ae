#include "platform/HostLookup.h"

#include "platform/FileDescriptor.h"

#include <QTimer>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <netdb.h>
#include <sys/eventfd.h>
#include <thread>

struct HostLookup::Result {
    QByteArray host;
    QByteArray port;
    FileDescriptor ended;            // readable once the lookup thread is done
    std::atomic<bool> known = false; // the fields below are set
    std::vector<Address> addresses;
    int error = 0;       // getaddrinfo's
    int systemError = 0; // errno, when getaddrinfo says EAI_SYSTEM
};

void HostLookup::lookUp(Result& r, int flags) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags;
    addrinfo* list = nullptr;
    r.error = ::getaddrinfo(r.host.constData(), r.port.constData(), &hints, &list);
    r.systemError = r.error == EAI_SYSTEM ? errno : 0;
    for (const addrinfo* a = list; a != nullptr; a = a->ai_next) {
        Address address;
        std::memcpy(&address.address, a->ai_addr, a->ai_addrlen);
        address.length = a->ai_addrlen;
        r.addresses.push_back(address);
    }
    if (list != nullptr) {
        ::freeaddrinfo(list);
    }
    r.known.store(true, std::memory_order_release);
}

HostLookup::HostLookup(const QByteArray& host, quint16 port, QObject* parent)
    : QObject(parent), result(std::make_shared<Result>()) {
    result->host = host;
    result->port = QByteArray::number(port);
    // An address written as numbers needs no name server.
    lookUp(*result, AI_NUMERICHOST);
    if (result->error != EAI_NONAME) {
        QTimer::singleShot(0, this, &HostLookup::finished);
        return;
    }
    result->known = false;
    result->ended = FileDescriptor(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (result->ended.get() < 0) {
        result->error = EAI_SYSTEM;
        result->systemError = errno;
        result->known = true;
        QTimer::singleShot(0, this, &HostLookup::finished);
        return;
    }
    done = std::make_unique<QSocketNotifier>(result->ended.get(), QSocketNotifier::Read);
    connect(done.get(), &QSocketNotifier::activated, this, [this] {
        done->setEnabled(false);
        Q_EMIT finished();
    });
    std::thread([r = result] {
        lookUp(*r, 0);
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t told = ::write(r->ended.get(), &one, sizeof one);
    }).detach();
}

HostLookup::~HostLookup() = default;

const std::vector<HostLookup::Address>& HostLookup::addresses() const {
    static const std::vector<Address> none;
    return result->known.load(std::memory_order_acquire) ? result->addresses : none;
}

QString HostLookup::error() const {
    if (!result->known.load(std::memory_order_acquire)) {
        return {};
    }
    if (result->error == EAI_SYSTEM) {
        return qt_error_string(result->systemError);
    }
    return result->error == 0 ? QString() : QString::fromLocal8Bit(::gai_strerror(result->error));
}
