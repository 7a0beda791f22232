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

    void localAddress()
    {
        using ServiceRequestsDetail::Ipv4;
        using ServiceRequestsDetail::localAddressOf;
        const auto resolvesTo = [](std::optional<Ipv4> address) { return [=](const QByteArray&) { return address; }; };
        QCOMPARE(localAddressOf("box", resolvesTo(Ipv4 { 192, 168, 200, 255 })), QStringLiteral("192.168.200.255"));
        QCOMPARE(localAddressOf("box-7", resolvesTo(std::nullopt)), QStringLiteral("box-7"));
        QCOMPARE(localAddressOf("", resolvesTo(std::nullopt)), QString());
        QCOMPARE(localAddressOf("localhost"), QStringLiteral("127.0.0.1"));
    }
};

QTEST_GUILESS_MAIN(TestServiceRequests)
#include "TestServiceRequests.moc"
