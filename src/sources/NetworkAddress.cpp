#include "sources/NetworkAddress.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <memory>
#include <net/if.h>
#include <netinet/in.h>

namespace {

struct FreeInterfaceAddresses {
    void operator()(ifaddrs* list) const { ::freeifaddrs(list); }
};

// "eth0:1" is an alias label on eth0: the same adapter.
QByteArray adapterName(const char* interfaceName) {
    const QByteArray name(interfaceName);
    const qsizetype colon = name.indexOf(':');
    return colon < 0 ? name : name.left(colon);
}

} // namespace

QList<QByteArray> systemAdapterAddresses() {
    ifaddrs* raw = nullptr;
    if (::getifaddrs(&raw) != 0) {
        return {};
    }
    const std::unique_ptr<ifaddrs, FreeInterfaceAddresses> list(raw);

    QList<QByteArray> seen;
    QList<QByteArray> addresses;
    for (const ifaddrs* entry = list.get(); entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
            (entry->ifa_flags & IFF_LOOPBACK) != 0) {
            continue;
        }
        const QByteArray adapter = adapterName(entry->ifa_name);
        if (seen.contains(adapter)) {
            continue;
        }
        char text[INET_ADDRSTRLEN] = {};
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        if (::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) == nullptr) {
            continue;
        }
        seen.append(adapter);
        addresses.append(QByteArray(text));
    }
    return addresses;
}

QByteArray CutAtNull(const QByteArray& text) {
    const qsizetype nul = text.indexOf('\0');
    return nul < 0 ? text : text.left(nul);
}

QByteArray IpAddresses(const QByteArray& separator, const QByteArray& Ip_Local_Ex,
                       const AdapterSource& source) {
    QByteArray joined;
    for (const QByteArray& entry : source()) {
        const QByteArray address = CutAtNull(entry);
        if (Ip_Local_Ex.isEmpty() || address.left(Ip_Local_Ex.size()) != Ip_Local_Ex) {
            joined += address + separator;
        }
    }
    if (!joined.isEmpty()) {
        joined.chop(separator.size());
    }
    return joined;
}
