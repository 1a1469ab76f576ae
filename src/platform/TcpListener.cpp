#include "platform/TcpListener.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace {

QString addressText(const sockaddr* address) {
    char text[INET6_ADDRSTRLEN] = {};
    if (address->sa_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(address);
        ::inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
        return QStringLiteral("[%1]:%2").arg(QLatin1String(text)).arg(ntohs(v6->sin6_port));
    }
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(address);
    ::inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
    return QStringLiteral("%1:%2").arg(QLatin1String(text)).arg(ntohs(v4->sin_port));
}

// 127.0.0.0/8 and ::1, and IPv4's loopback as an IPv6 address.
bool isLoopback(const sockaddr* address) {
    if (address->sa_family == AF_INET6) {
        const in6_addr& a = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr;
        return IN6_IS_ADDR_LOOPBACK(&a) || (IN6_IS_ADDR_V4MAPPED(&a) && a.s6_addr[12] == 127);
    }
    return (ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr) >> 24) == 127;
}

} // namespace

QString TcpListener::listen(const QByteArray& host, quint16 port, int backlog) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const QByteArray service = QByteArray::number(port);
    if (const int error = ::getaddrinfo(host.isEmpty() ? nullptr : host.constData(),
                                        service.constData(), &hints, &found);
        error != 0) {
        return QString::fromLocal8Bit(::gai_strerror(error));
    }
    QString problem;
    for (const addrinfo* a = found; a; a = a->ai_next) {
        FileDescriptor fd(
            ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol));
        const int on = 1;
        // A run that just ended leaves its port in TIME_WAIT; the next run takes it at once.
        if (fd.get() < 0 || ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
            (a->ai_family == AF_INET6 &&
             ::setsockopt(fd.get(), IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on) != 0) ||
            ::bind(fd.get(), a->ai_addr, a->ai_addrlen) != 0 || ::listen(fd.get(), backlog) != 0) {
            lastError = errno;
            problem = addressText(a->ai_addr) + QStringLiteral(" : ") + qt_error_string(lastError);
            continue;
        }
        // Port 0 is the one the kernel chose.
        sockaddr_storage bound{};
        socklen_t length = sizeof bound;
        ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&bound), &length);
        const auto* where = reinterpret_cast<const sockaddr*>(&bound);
        listening.push_back({std::move(fd), addressText(where), isLoopback(where)});
    }
    ::freeaddrinfo(found);
    return listening.empty() ? problem : QString();
}

bool TcpListener::loopbackOnly() const {
    return std::all_of(listening.begin(), listening.end(),
                       [](const Socket& s) { return s.loopback; });
}

FileDescriptor acceptTcp(int listener, QString* peer) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    FileDescriptor fd(::accept4(listener, reinterpret_cast<sockaddr*>(&address), &length,
                                SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (fd.get() >= 0 && peer) {
        *peer = addressText(reinterpret_cast<const sockaddr*>(&address));
    }
    return fd;
}
