#include "HttpTestSupport.h"
#include "LoopbackHttpServer.h"
#include "TestEnv.h"

#include "net/InternetErrors.h"
#include "net/TAdvHttp.h"

#include <QtTest>

namespace IE = InternetErrors;

namespace {
QString fixture(const QString& name)
{
    return QStringLiteral(NET_FIXTURES "/") + name;
}

LoopbackHttpServer::Reply secure(const LoopbackHttpServer::Request&)
{
    LoopbackHttpServer::Reply reply;
    reply.body = "secure";
    return reply;
}

TAdvHttp::TInternetFlags flagsWith(TAdvHttp::TInternetFlags base, bool ignoreName, bool ignoreDates)
{
    base.setFlag(TAdvHttp::ifIgnoreCertCnInvalid, ignoreName);
    base.setFlag(TAdvHttp::ifIgnoreCertDateInvalid, ignoreDates);
    return base;
}
} // namespace

// The certificates come from tests/fixtures/net/make-certs.sh: a test authority, certificates it signed for
// 127.0.0.1, for another host name and with long-past dates, and a self-signed one.
class TestNetTls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void certificateChecks_data();
    void certificateChecks();
    void relaxedConnectionIsNotReused_data();
    void relaxedConnectionIsNotReused();
};

void TestNetTls::initTestCase()
{
    TestEnv::noProxy();
    QVERIFY(QFile::exists(fixture(QStringLiteral("ca.crt"))));
}

void TestNetTls::certificateChecks_data()
{
    QTest::addColumn<QString>("certificate");
    QTest::addColumn<bool>("trustTestAuthority");
    QTest::addColumn<bool>("ignoreName");
    QTest::addColumn<bool>("ignoreDates");
    QTest::addColumn<int>("error");

    QTest::newRow("valid") << "localhost" << true << false << false << 0;
    QTest::newRow("valid, authority unknown to the system")
        << "localhost" << false << false << false << int(IE::InvalidCa);
    QTest::newRow("self-signed") << "selfsigned" << true << false << false << int(IE::InvalidCa);
    // The two flags forgive a name and dates, never an issuer nobody vouches for.
    QTest::newRow("self-signed, both flags") << "selfsigned" << true << true << true << int(IE::InvalidCa);
    QTest::newRow("other host name") << "wronghost" << true << false << false << int(IE::SecCertCnInvalid);
    QTest::newRow("other host name, name flag") << "wronghost" << true << true << false << 0;
    QTest::newRow("other host name, date flag") << "wronghost" << true << false << true << int(IE::SecCertCnInvalid);
    QTest::newRow("expired") << "expired" << true << false << false << int(IE::SecCertDateInvalid);
    QTest::newRow("expired, date flag") << "expired" << true << false << true << 0;
    QTest::newRow("expired, name flag") << "expired" << true << true << false << int(IE::SecCertDateInvalid);
}

void TestNetTls::certificateChecks()
{
    QFETCH(QString, certificate);
    QFETCH(bool, trustTestAuthority);
    QFETCH(bool, ignoreName);
    QFETCH(bool, ignoreDates);
    QFETCH(int, error);

    LoopbackHttpServer server(&secure);
    QVERIFY(
        server.startTls(fixture(certificate + QStringLiteral(".crt")), fixture(certificate + QStringLiteral(".key"))));
    TAdvHttp http;
    EventRecorder recorder(http);
    if (trustTestAuthority)
        http.setCaCertificates(fixture(QStringLiteral("ca.crt")));
    http.setInternetFlags(flagsWith(http.InternetFlags(), ignoreName, ignoreDates));
    http.setURL(QStringLiteral("https://127.0.0.1:%1/secret").arg(server.port()));
    QVERIFY(http.SSL());
    QVERIFY(http.Execute());
    QTRY_VERIFY_WITH_TIMEOUT(!http.Busy(), 15000);

    QCOMPARE(http.LastError(), error);
    if (error == 0) {
        QCOMPARE(http.Text(), QByteArray("secure"));
        QCOMPARE(recorder.events.last(), QStringLiteral("RequestComplete"));
    } else {
        QCOMPARE(recorder.count(QStringLiteral("RequestComplete")), 0);
        QCOMPARE(recorder.events.last(), QStringLiteral("Error"));
        QCOMPARE(server.requestCount(), 0);
    }
}

void TestNetTls::relaxedConnectionIsNotReused_data()
{
    QTest::addColumn<QString>("certificate");
    QTest::addColumn<bool>("ignoreName");
    QTest::addColumn<bool>("ignoreDates");
    QTest::addColumn<int>("strictError");
    QTest::newRow("name") << "wronghost" << true << false << int(IE::SecCertCnInvalid);
    QTest::newRow("dates") << "expired" << false << true << int(IE::SecCertDateInvalid);
}

// A connection accepted under a flag stays open for the next request; a request without the flag must check
// the certificate again rather than ride on it.
void TestNetTls::relaxedConnectionIsNotReused()
{
    QFETCH(QString, certificate);
    QFETCH(bool, ignoreName);
    QFETCH(bool, ignoreDates);
    QFETCH(int, strictError);

    LoopbackHttpServer server(&secure);
    QVERIFY(
        server.startTls(fixture(certificate + QStringLiteral(".crt")), fixture(certificate + QStringLiteral(".key"))));
    TAdvHttp http;
    http.setCaCertificates(fixture(QStringLiteral("ca.crt")));
    http.setURL(QStringLiteral("https://127.0.0.1:%1/").arg(server.port()));
    const TAdvHttp::TInternetFlags strict = flagsWith(http.InternetFlags(), false, false);

    http.setInternetFlags(flagsWith(strict, ignoreName, ignoreDates));
    QVERIFY(http.Execute());
    QTRY_VERIFY_WITH_TIMEOUT(!http.Busy(), 15000);
    QCOMPARE(http.LastError(), 0);

    http.setInternetFlags(strict);
    QVERIFY(http.Execute());
    QTRY_VERIFY_WITH_TIMEOUT(!http.Busy(), 15000);
    QCOMPARE(http.LastError(), strictError);
}

QTEST_GUILESS_MAIN(TestNetTls)
#include "test_net_tls.moc"
