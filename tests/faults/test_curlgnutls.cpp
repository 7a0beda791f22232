// The HTTP component on a libcurl built with GnuTLS (Debian's libcurl3-gnutls): OpenSSL's calls are not
// there to be had, and a plain request never needs them; they are looked up only for the certificate date
// rule, which this build cannot relax, so such a request is checked in full rather than failing to start.
#include "LoopbackHttpServer.h"
#include "TestEnv.h"

#include "net/CurlLibrary.h"
#include "net/TAdvHttp.h"

#include <QtTest>

namespace {
QString fixture(const QString& name)
{
    return QStringLiteral(NET_FIXTURES "/") + name;
}

LoopbackHttpServer::Reply hello(const LoopbackHttpServer::Request&)
{
    LoopbackHttpServer::Reply reply;
    reply.body = "hello";
    return reply;
}
} // namespace

class TestCurlGnuTls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestEnv::noProxy();
        // Before the first request: the component opens this build instead of the OpenSSL one.
        CurlLibrary::setLibraryFile(QStringLiteral("libcurl-gnutls.so.4"));
        QString error;
        QVERIFY2(CurlLibrary::load(&error), qPrintable(error));
        const curl_version_info_data* version = CurlLibrary::api().version_info(CURLVERSION_NOW);
        QVERIFY(version && version->ssl_version);
        QVERIFY2(QByteArray(version->ssl_version).startsWith("GnuTLS"), version->ssl_version);
    }

    // A plain http request, synchronous and asynchronous, completes with its body although OpenSSL's calls
    // cannot be looked up in this build.
    void plainHttpNeedsNoOpenSsl_data()
    {
        QTest::addColumn<bool>("synchronous");
        QTest::newRow("asynchronous") << false;
        QTest::newRow("synchronous") << true;
    }
    void plainHttpNeedsNoOpenSsl()
    {
        QFETCH(bool, synchronous);
        LoopbackHttpServer server(&hello);
        QVERIFY(server.start());
        TAdvHttp http;
        http.setRaiseExceptions(false);
        http.setURL(server.url(QStringLiteral("/plain")));
        QVERIFY(http.Execute(synchronous));
        QTRY_VERIFY_WITH_TIMEOUT(!http.Busy(), 15000);
        QCOMPARE(http.LastError(), 0);
        QCOMPARE(http.StatusCode(), 200);
        QCOMPARE(http.Text(), QByteArray("hello"));
        QCOMPARE(CurlLibrary::openSsl(), nullptr);
    }

    // https works with GnuTLS too; asking to forgive a certificate's dates, which only OpenSSL allows, leaves
    // the full check in force: a valid certificate passes and an expired one is refused, never accepted.
    void httpsIsCheckedInFull_data()
    {
        QTest::addColumn<QString>("certificate");
        QTest::addColumn<bool>("ignoreDates");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("valid") << "localhost" << false << true;
        QTest::newRow("valid, date flag") << "localhost" << true << true;
        QTest::newRow("expired") << "expired" << false << false;
        QTest::newRow("expired, date flag") << "expired" << true << false;
    }
    void httpsIsCheckedInFull()
    {
        QFETCH(QString, certificate);
        QFETCH(bool, ignoreDates);
        QFETCH(bool, accepted);
        LoopbackHttpServer server(&hello);
        QVERIFY(server.startTls(
            fixture(certificate + QStringLiteral(".crt")), fixture(certificate + QStringLiteral(".key"))));
        TAdvHttp http;
        http.setRaiseExceptions(false);
        http.setCaCertificates(fixture(QStringLiteral("ca.crt")));
        TAdvHttp::TInternetFlags flags = http.InternetFlags();
        flags.setFlag(TAdvHttp::ifIgnoreCertDateInvalid, ignoreDates);
        http.setInternetFlags(flags);
        http.setURL(QStringLiteral("https://127.0.0.1:%1/secure").arg(server.port()));
        QVERIFY(http.Execute(false));
        QTRY_VERIFY_WITH_TIMEOUT(!http.Busy(), 15000);
        if (accepted) {
            QCOMPARE(http.LastError(), 0);
            QCOMPARE(http.Text(), QByteArray("hello"));
        } else {
            QVERIFY(http.LastError() != 0);
            QCOMPARE(server.requestCount(), 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestCurlGnuTls)
#include "test_curlgnutls.moc"
