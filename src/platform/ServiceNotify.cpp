#include "ServiceNotify.h"

#include "FileDescriptor.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>

bool notifyServiceReady() {
    const char* socketPath = std::getenv("NOTIFY_SOCKET");
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const size_t length = socketPath != nullptr ? std::strlen(socketPath) : 0;
    if (length == 0 || length >= sizeof address.sun_path ||
        (socketPath[0] != '/' && socketPath[0] != '@')) {
        return false;
    }
    std::memcpy(address.sun_path, socketPath, length);
    if (socketPath[0] == '@') {
        address.sun_path[0] = '\0'; // an abstract socket
    }
    const FileDescriptor fd(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    static const char kReady[] = "READY=1";
    return fd.get() >= 0 &&
           ::sendto(fd.get(), kReady, sizeof kReady - 1, MSG_NOSIGNAL,
                    reinterpret_cast<const sockaddr*>(&address),
                    static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + length)) ==
               static_cast<ssize_t>(sizeof kReady - 1);
}
