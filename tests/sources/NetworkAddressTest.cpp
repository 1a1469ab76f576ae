#include "sources/NetworkAddress.h"

#include "support/QtPrinters.h"

#include <QNetworkInterface>
#include <gtest/gtest.h>

TEST(IpAddresses, JoinsTheAddressesCutAtTheirNulThatDoNotBeginWithTheExclusion) {
    const AdapterSource source = [] {
        return QList<QByteArray>{"10.0.0.5", QByteArray("100.64.0.1\0\0", 12),
                                 QByteArray("192.0.2.7\0junk", 14)};
    };
    const QByteArray all = "10.0.0.5+100.64.0.1+192.0.2.7";
    const std::tuple<QByteArray, QByteArray, QByteArray> cases[] = {
        {"+", "0.0", all},        // only a match at the start counts
        {"+", "10.0.0.5.1", all}, // longer than the address: never a match
        {" / ", "", "10.0.0.5 / 100.64.0.1 / 192.0.2.7"},
        {"+", "10.", "100.64.0.1+192.0.2.7"},
        {"+", "192.0.2.7", "10.0.0.5+100.64.0.1"},
        {"+", "1", ""}};
    for (const auto& [separator, exclusion, line] : cases) {
        EXPECT_EQ(IpAddresses(separator, exclusion, source), line) << exclusion.constData();
    }
}

TEST(SystemAdapterAddresses, OneIpv4AddressOfEachAdapterButNotTheLoopback) {
    // What Qt finds on this machine, as a second opinion.
    QList<QByteArray> known;
    qsizetype adapters = 0;
    for (const QNetworkInterface& adapter : QNetworkInterface::allInterfaces()) {
        const qsizetype before = known.size();
        for (const QNetworkAddressEntry& entry : adapter.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol &&
                !entry.ip().isLoopback()) {
                known.append(entry.ip().toString().toLatin1());
            }
        }
        adapters += known.size() > before ? 1 : 0;
    }
    const QList<QByteArray> addresses = systemAdapterAddresses();
    EXPECT_EQ(addresses.size(), adapters);
    for (const QByteArray& address : addresses) {
        EXPECT_TRUE(known.contains(address)) << address.toStdString();
    }
}
