#include "FakeServiceHost.h"
#include "common/AppPaths.h"
#include "service/ServiceState.h"

#include <QtTest>

namespace {
QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

TCacheEntry banner(const QString& name, quint32 hits)
{
    TCacheEntry e;
    e.Name = name;
    e.Hits = hits;
    return e;
}

QStringList hitsOf(const TCacheTable& table)
{
    QStringList list;
    for (const TCacheEntry& e : table.entries())
        list.append(e.Name + QLatin1Char('=') + QString::number(e.Hits));
    return list;
}
} // namespace

class TestServiceState : public QObject
{
    Q_OBJECT

    TProviders providers;
    QStringList areaDefs;
    FakeServiceHost host;

    ServiceState fresh()
    {
        providers.clear();
        areaDefs.clear();
        host = FakeServiceHost();
        return ServiceState(providers, areaDefs, &host);
    }

private slots:
    // A page address of another scheme than http or https leaves its provider out, from a live document and from
    // the cache file alike; one without any scheme never loads, and stays.
    void pageAddressesOfOtherSchemes_data()
    {
        QTest::addColumn<int>("origin");
        QTest::newRow("service") << int(ProviderOrigin::Service);
        QTest::newRow("providers.dat") << int(ProviderOrigin::Cache);
    }
    void pageAddressesOfOtherSchemes()
    {
        QFETCH(int, origin);
        ServiceState state = fresh();
        QVERIFY(state
                    .ProcessDocument("<#PROVIDERS>"
                                     "<#PROVIDER Name=File AreaCodes=050 MsgUrl=file:///etc/passwd>"
                                     "<#PROVIDER Name=Script AreaCodes=051 LoginUrl=javascript:alert(1) "
                                     "MsgUrl=http://127.0.0.1/msg>"
                                     "<#PROVIDER Name=Data AreaCodes=052 MsgUrl=data:text/html,hi>"
                                     "<#PROVIDER Name=Web AreaCodes=053 LoginUrl=HTTPS://127.0.0.1/in MsgUrl=m "
                                     "MsgSubmitLookup=javascript:document.f.submit()>",
                        ProviderOrigin(origin))
                    .ok);
        QCOMPARE(providers.size(), 1);
        QCOMPARE(providers[0].Name, QStringLiteral("Web"));
    }

    void providerTags()
    {
        ServiceState state = fresh();
        providers.append(TProvider());
        QVERIFY(state
                    .ProcessDocument("<#PROVIDERS>\r\n"
                                     "<#PROVIDER Name=Cellcom AreaCodes=\"052, 054\" LoginFrame=abc MsgFrame=2 "
                                     "ClearCRLF=256 ResAccepted=%E4%E5%E3%F2%E4+%F0%F9%EC%E7%E4 "
                                     "ResRejected=\xF0\xE3\xE7\xE4>\r\n"
                                     "<#Provider Name=Ignored><#PROVIDER name=Orange>")
                    .ok);
        QCOMPARE(providers.size(), 2);
        QCOMPARE(providers[0].LoginFrame, -1);
        QCOMPARE(providers[0].MsgFrame, 2);
        QCOMPARE(providers[0].ClearCRLF, quint8(0));
        QCOMPARE(providers[0].ResAccepted, u("הודעה נשלחה"));
        QCOMPARE(providers[0].ResRejected, u("נדחה"));
        QCOMPARE(providers[1].Name, QStringLiteral("Orange"));
        QCOMPARE(FindProviderByArea(providers, QStringLiteral("054")), 0);
    }

    void simpleTags_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QStringList>("calls");
        const QString base = AppPaths::serviceUrl();
        // fields: SessionID | AreaDefs | OnlineHelpURL | StatisticsInterval InitInterval RefreshCount HomePage |
        // ConnectionState
        const QString untouched = QStringLiteral("||| 0 30000 0 previous | 0");
        QTest::newRow("session") << QByteArray("<#SESSION ID=7>") << "7" + untouched << QStringList();
        QTest::newRow("session, empty id") << QByteArray("<#SESSION ID=>") << "Default" + untouched << QStringList();
        QTest::newRow("areas") << QByteArray("<#AREAS DEFS=050=Pelephone,052=Cellcom>")
                               << "|050=Pelephone,052=Cellcom|| 0 30000 0 previous | 0" << QStringList { "areas" };
        QTest::newRow("help") << QByteArray("<#ONLINEHELP URL=h>") << "||h| 0 30000 0 previous | 0"
                              << QStringList { "help 1" };
        QTest::newRow("no help") << QByteArray("<#ONLINEHELP URL=>") << untouched << QStringList { "help 0" };
        QTest::newRow("params") << QByteArray("<#PARAMS StatisticsInterval=5 RefreshCount=3 InitInterval=5 HomePage=h>")
                                << "||| 5000 5 3 h | 0" << QStringList();
        QTest::newRow("params, defaults") << QByteArray("<#PARAMS StatisticsInterval=x InitInterval=1.5>")
                                          << "||| 60000 30000 0 " + base + " | 0" << QStringList();
        QTest::newRow("params, huge interval held") << QByteArray("<#PARAMS StatisticsInterval=4294968>")
                                                    << "||| 2147483647 30000 0 " + base + " | 0" << QStringList();
        QTest::newRow("finished twice") << QByteArray("<#FINISHED>x<#FINISHED>") << "||| 0 30000 0 previous | 2"
                                        << QStringList { "state 2", "finished", "state 2", "finished" };
        QTest::newRow("names are case-sensitive")
            << QByteArray("<#Finished><#session ID=1>") << untouched << QStringList();
    }

    void simpleTags()
    {
        QFETCH(QByteArray, document);
        QFETCH(QString, fields);
        QFETCH(QStringList, calls);
        ServiceState state = fresh();
        state.HomePage = QStringLiteral("previous");
        QVERIFY(state.ProcessDocument(document).ok);
        QCOMPARE(QStringLiteral("%1|%2|%3| %4 %5 %6 %7 | %8")
                     .arg(state.SessionID, areaDefs.join(QLatin1Char(',')), state.OnlineHelpURL)
                     .arg(state.StatisticsInterval)
                     .arg(state.InitInterval)
                     .arg(state.RefreshCount)
                     .arg(state.HomePage)
                     .arg(int(state.connection)),
            fields);
        QCOMPARE(host.calls, calls);
    }

    void adverts()
    {
        ServiceState state = fresh();
        state.Adverts.Append(banner("A", 3));
        state.Adverts.Append(banner("B", 1));
        QVERIFY(state
                    .ProcessDocument("<#ADVERTS><#ADVERT AdBannerName=X><#ADVERTS>"
                                     "<#ADVERT AdBannerName=A AdBannerType=gif AdURL=u AdHomeURL=h Interval=5>"
                                     "<#ADVERT AdBannerName=%E0 Interval=-1><#ADVERT AdBannerName=C>")
                    .ok);
        QCOMPARE(hitsOf(state.AdvertsStaging), (QStringList { "A=0", u("א=0"), "C=0" }));
        QCOMPARE(state.AdvertsStaging[0], (TCacheEntry { "A", "gif", "u", "h", 5000, 0 }));
        QCOMPARE(state.AdvertsStaging[1].Interval, 0u);
        QCOMPARE(state.AdvertsStaging[2].Interval, 10000u);
        QCOMPARE(hitsOf(state.Adverts), (QStringList { "A=3", "B=1" }));
        QCOMPARE(state.SendParams, QStringLiteral("yes"));

        QVERIFY(state.ProcessDocument("<#UPDATED>").ok);
        QCOMPARE(hitsOf(state.Adverts), (QStringList { "A=3", u("א=0"), "C=0" }));
        QCOMPARE(state.Adverts[0].URL, QStringLiteral("u"));
        QCOMPARE(state.SendParams, QStringLiteral("no"));
        QVERIFY(state.HitsUpdated);
    }

    // Hits go to the first entry of a name, letter case counting; the comma goes by table position.
    void cacheTable()
    {
        TCacheTable table;
        for (const char* name : { "A", "a", "A", "B" })
            table.Append(banner(QString::fromLatin1(name), 0));
        TCacheTable other;
        for (const auto& [name, hits] : { std::pair { "a", 7 }, { "A", 5 }, { "Z", 9 } })
            other.Append(banner(QString::fromLatin1(name), hits));
        table.CopyHitsFrom(other);
        table.AddHit(QStringLiteral("A"));
        table.AddHit(QStringLiteral("missing"));
        QCOMPARE(hitsOf(table), (QStringList { "A=6", "a=7", "A=0", "B=0" }));
        QCOMPARE(table.HitsText(), QStringLiteral("A=6,a=7,"));
        table[3].Hits = 2;
        QCOMPARE(table.HitsText(), QStringLiteral("A=6,a=7,B=2"));
        table.ResetHits();
        QCOMPARE(table.HitsText(), QString());
    }

    void message_data()
    {
        QTest::addColumn<QByteArray>("bounds");
        QTest::addColumn<bool>("shown");
        QTest::newRow("no bounds") << QByteArray("") << true;
        QTest::newRow("over 1.0") << QByteArray("ToVersionOver=1.0") << true;
        QTest::newRow("over 1.11") << QByteArray("ToVersionOver=1.11") << false;
        QTest::newRow("below 1.11") << QByteArray("ToVersionBelow=1.11") << false;
        QTest::newRow("between 1.0 and 1.2") << QByteArray("ToVersionOver=1.0 ToVersionBelow=1.2") << true;
        QTest::newRow("between 1.2 and 2") << QByteArray("ToVersionOver=1.2 ToVersionBelow=2") << false;
        QTest::newRow("below abc") << QByteArray("ToVersionBelow=abc") << true;
        QTest::newRow("over -1 is no bound") << QByteArray("ToVersionOver=-1 ToVersionBelow=1.5") << true;
        QTest::newRow("below 1,5 is no number") << QByteArray("ToVersionBelow=1,5 ToVersionOver=1.2") << false;
    }

    void message()
    {
        QFETCH(QByteArray, bounds);
        QFETCH(bool, shown);
        ServiceState state = fresh();
        QVERIFY(state.ProcessDocument("<#MESSAGE Text=\"New version\" " + bounds + "><#MESSAGE Text=>").ok);
        QCOMPARE(host.messages, shown ? QStringList { "New version" } : QStringList());
    }

    // The message box runs an event loop, in which another reply can be processed.
    void documentReplacedWhileMessageShown()
    {
        ServiceState state = fresh();
        host.onMessage = [&](const QString&) {
            QVERIFY(state.ProcessDocument("<#PROVIDERS>" + QByteArray(" \r\n").repeated(30000) + "<#SESSION ID=B>").ok);
        };
        QVERIFY(state.ProcessDocument("<#MESSAGE Text=x><#PROVIDER Name=A><#FINISHED>").ok);
        QCOMPARE(state.SessionID, QStringLiteral("B"));
        QCOMPARE(providers.size(), 1);
        QCOMPARE(state.connection, ConnectionState::Service);
    }

    void failedDocumentKeepsEarlierTags()
    {
        ServiceState state = fresh();
        const ProcessResult result = state.ProcessDocument("<#PROVIDERS><#PROVIDER Name=A>\r\n<#SESSION ID=1>\r\n"
                                                           "<#PROVIDER Name=B%>\r\n<#SESSION ID=2><#FINISHED>");
        QVERIFY(!result.ok);
        QCOMPARE(result.error, QStringLiteral("Invalid %-escape on line 3"));
        QCOMPARE(providers.size(), 1);
        QCOMPARE(state.SessionID, QStringLiteral("1"));
        QCOMPARE(state.connection, ConnectionState::NoDefinitions);
        QVERIFY(host.calls.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestServiceState)
#include "test_service_state.moc"
