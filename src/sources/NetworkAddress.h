#pragma once

#include <QByteArray>
#include <QList>
#include <functional>

// The IPv4 address of each network adapter, as text, in the kernel's order.
using AdapterSource = std::function<QList<QByteArray>()>;

// The first IPv4 address of every adapter but the loopback one, read afresh on each call.
QList<QByteArray> systemAdapterAddresses();

// The adapters' addresses that do not begin with Ip_Local_Ex (all of them when it is empty),
// joined with separator.
QByteArray IpAddresses(const QByteArray& separator, const QByteArray& Ip_Local_Ex,
                       const AdapterSource& source);

// text up to its first NUL byte.
QByteArray CutAtNull(const QByteArray& text);
