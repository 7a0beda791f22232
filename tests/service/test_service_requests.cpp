#include "service/Cp1255.h"
#include "service/ServiceRequests.h"
#include "service/TagParams.h"

#include <QtTest>

class TestServiceRequests : public QObject
{
    Q_OBJECT

private slots:
    void percentEncode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("kept") << "azAZ09!$'()*-.@_"
                              << "azAZ09!$'()*-.@_";
        QTest::newRow("punctuation") << "\"#%&+,/:;<=>?[\\]^`{|}~"
                                     << "%22%23%25%26%2B%2C%2F%3A%3B%3C%3D%3E%3F%5B%5C%5D%5E%60%7B%7C%7D%7E";
        QTest::newRow("controls and DEL") << "\t\r\n\x7f"
                                          << "%09%0D%0A%7F";
        QTest::newRow("hits") << "A=3,C=2"
                              << "A%3D3%2CC%3D2";
        QTest::newRow("hebrew, space") << QString::fromUtf8("שלום עולם") << "%F9%EC%E5%ED+%F2%E5%EC%ED";
        QTest::newRow("stops at NUL") << QString::fromLatin1("ab\0cd", 5) << "ab";
    }

    void percentEncode()
    {
        QFETCH(QString, text);
        QFETCH(QString, encoded);
        QCOMPARE(PercentEncode(text), encoded);
    }

    // What the encoder writes, the document parser reads back (quotes aside, which the parser always drops).
    void percentEncodeReadsBack()
    {
        QByteArray all;
        for (int b = 1; b < 256; ++b) {
            if (b != '"' && b != '\'')
                all.append(static_cast<char>(b));
        }
        const QByteArray params = "v=" + PercentEncodeBytes(all);
        TagParams p;
        QVERIFY(p.parse(params.constData(), params.constData() + params.size()));
        QCOMPARE(p.value(QLatin1String("v")), Cp1255::toUnicode(all));
    }

    void initRequestPath()
    {
        QCOMPARE(InitRequestPath(QStringLiteral("10.0.0.1")), QStringLiteral("/smsinit?IP=10.0.0.1&Version=1.11"));
    }

    void localAddress_data()
    {
        using Address = ServiceRequestsDetail::InterfaceAddress;
        using Ipv4 = ServiceRequestsDetail::Ipv4;
        QTest::addColumn<QList<Address>>("addresses");
        QTest::addColumn<QString>("expected");
        const Address lo { "lo", true, true, Ipv4 { 127, 0, 0, 1 } };
        const Address lo6 { "lo", true, true, std::nullopt };
        const Address eth { "eth0", true, false, Ipv4 { 192, 168, 200, 255 } };
        const Address eth6 { "eth0", true, false, std::nullopt };
        const Address wifi { "wlan0", true, false, Ipv4 { 10, 0, 0, 7 } };
        const Address down { "eth1", false, false, Ipv4 { 172, 16, 0, 1 } };
        // A Debian host name resolves to 127.0.1.1; an interface may carry a loopback address too.
        const Address debianLoopback { "dummy0", true, false, Ipv4 { 127, 0, 1, 1 } };
        QTest::newRow("loopback first, then the network") << QList<Address> { lo, lo6, eth6, eth } << "192.168.200.255";
        QTest::newRow("first of two networks") << QList<Address> { lo, wifi, eth } << "10.0.0.7";
        QTest::newRow("an interface that is down") << QList<Address> { down, wifi } << "10.0.0.7";
        QTest::newRow("loopback range on another interface")
            << QList<Address> { debianLoopback, eth } << "192.168.200.255";
        QTest::newRow("loopback only: the host name") << QList<Address> { lo, lo6, debianLoopback } << "box-7";
        QTest::newRow("no interfaces: the host name") << QList<Address> {} << "box-7";
    }
    void localAddress()
    {
        QFETCH(QList<ServiceRequestsDetail::InterfaceAddress>, addresses);
        QFETCH(QString, expected);
        QCOMPARE(ServiceRequestsDetail::localAddressOf(addresses, "box-7"), expected);
        QCOMPARE(ServiceRequestsDetail::localAddressOf({}, ""), QString());
    }

    void localAddressOfThisMachine()
    {
        // Whatever this machine has, the answer is never a loopback address.
        QVERIFY(!GetLocalAddress().startsWith(QLatin1String("127.")));
    }
};

QTEST_GUILESS_MAIN(TestServiceRequests)
#include "test_service_requests.moc"
