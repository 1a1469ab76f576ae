#include "sources/NetworkAddress.h"

#include "support/QtPrinters.h"

#include <QNetworkInterface>
#include <gtest/gtest.h>

TEST(IpAddresses, JoinsTheAddressesCutAtTheirNulThatDoNotBeginWithTheExclusion) {
    QList<QByteArray> current = {"10.0.0.5", "100.64.0.1", "192.0.2.7"};
    int asked = 0;
    const AdapterSource source = [&] {
        ++asked;
        return current;
    };
    EXPECT_EQ(IpAddresses("+", "", source), "10.0.0.5+100.64.0.1+192.0.2.7");
    EXPECT_EQ(IpAddresses(" / ", "", source), "10.0.0.5 / 100.64.0.1 / 192.0.2.7");
    EXPECT_EQ(IpAddresses("+", "10.", source), "100.64.0.1+192.0.2.7");
    EXPECT_EQ(IpAddresses("+", "192.0.2.7", source), "10.0.0.5+100.64.0.1");
    EXPECT_EQ(IpAddresses("+", "0.0", source), "10.0.0.5+100.64.0.1+192.0.2.7")
        << "only a match at the start counts";
    EXPECT_EQ(IpAddresses("+", "10.0.0.5.1", source), "10.0.0.5+100.64.0.1+192.0.2.7")
        << "longer than the address: never a match";
    EXPECT_EQ(IpAddresses("+", "1", source), "") << "all excluded";

    current = {"192.0.2.8"};
    EXPECT_EQ(IpAddresses("+", "", source), "192.0.2.8") << "nothing is kept between calls";
    current = {};
    EXPECT_EQ(IpAddresses("+", "", source), "");
    EXPECT_EQ(asked, 9);

    // Addresses are cut at their first NUL.
    const AdapterSource padded = [] {
        return QList<QByteArray>{QByteArray("10.0.0.5\0\0\0\0", 12),
                                 QByteArray("192.0.2.7\0junk", 14)};
    };
    EXPECT_EQ(IpAddresses("+", "", padded), "10.0.0.5+192.0.2.7");
    EXPECT_EQ(IpAddresses("+", "192.0.2.7", padded), "10.0.0.5");

    EXPECT_EQ(CutAtNull(QByteArray("abc\0def", 7)), "abc");
    EXPECT_EQ(CutAtNull(QByteArray("\0abc", 4)), "");
    EXPECT_EQ(CutAtNull("abc"), "abc");
}

TEST(SystemAdapterAddresses, ListsOneIpv4AddressOfEachAdapterButNotTheLoopback) {
    // What Qt finds on this machine, as a second opinion.
    QList<QByteArray> known;
    qsizetype adapters = 0;
    for (const QNetworkInterface& adapter : QNetworkInterface::allInterfaces()) {
        if (adapter.flags().testFlag(QNetworkInterface::IsLoopBack)) {
            continue;
        }
        const qsizetype before = known.size();
        for (const QNetworkAddressEntry& entry : adapter.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) {
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
