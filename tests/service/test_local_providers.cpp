// The local definitions in ServiceState's lists: before the service's, through every later document.
#include "TestEnv.h"
#include "common/AppPaths.h"
#include "service/LocalDefinitions.h"
#include "service/ProviderCache.h"
#include "service/ServiceState.h"

#include <QtTest>

namespace {
// The service's lists: Sahar and Kesher, three area codes.
const QByteArray Service = "<#AREAS DEFS=050=050,052=052,054=054>\r\n<#PROVIDERS>\r\n"
                           "<#PROVIDER Name=Sahar AreaCodes=050,052 MsgUrl=http://sahar/>\r\n"
                           "<#PROVIDER Name=Kesher AreaCodes=054 MsgUrl=http://kesher/>\r\n<#FINISHED>\r\n";
const QByteArray Acme = "<#AREAS DEFS=059=59,052=L52>\n<#PROVIDER Name=Acme AreaCodes=052,059 MsgUrl=http://acme/>";

class RecordingHost : public ServiceHost
{
public:
    int areaChanges = 0;
    QList<QStringList> reports;

    void areaDefsChanged() override { ++areaChanges; }
    void localDefinitionsReport(const QStringList& lines) override { reports.append(lines); }
};

// "Name:origin" for each provider, origin as service, cache or the local file's name.
QString listed(const TProviders& providers)
{
    QStringList items;
    for (const TProvider& p : providers) {
        const QString origin = p.Origin == ProviderOrigin::Local ? QFileInfo(p.OriginFile).fileName()
            : p.Origin == ProviderOrigin::Cache                  ? QStringLiteral("cache")
                                                                 : QStringLiteral("service");
        items << p.Name + QLatin1Char(':') + origin;
    }
    return items.join(QLatin1Char(','));
}
} // namespace

class TestLocalProviders : public QObject
{
    Q_OBJECT

    TProviders providers;
    QStringList areaDefs;
    RecordingHost host;
    QString folder;

    ServiceState fresh()
    {
        providers.clear();
        areaDefs.clear();
        host = RecordingHost();
        return ServiceState(providers, areaDefs, &host);
    }

    void writeDef(const QString& name, const QByteArray& text) { TestEnv::writeFile(folder + name, text); }

private slots:
    void init()
    {
        TestEnv::freshAppDir();
        TestEnv::freshConfigDir();
        folder = TestEnv::freshDir(LocalDefinitions::folder());
    }

    void localComeFirst()
    {
        writeDef(QStringLiteral("acme.def"), Acme);
        ServiceState state = fresh();
        QVERIFY(state.ProcessDocument(Service).ok);
        state.ApplyLocalDefinitions();
        QCOMPARE(listed(providers), QStringLiteral("Acme:acme.def,Sahar:service,Kesher:service"));
        QCOMPARE(FindProviderByArea(providers, QStringLiteral("052")), 0);
        QCOMPARE(FindProviderByArea(providers, QStringLiteral("050")), 1);
        QCOMPARE(host.reports, QList<QStringList>({ QStringList() }));
    }

    void serviceProviderOfTheSameName()
    {
        writeDef(QStringLiteral("mine.def"), "<#PROVIDER Name=SAHAR AreaCodes=050 MsgUrl=http://mine/>");
        ServiceState state = fresh();
        QVERIFY(state.ProcessDocument(Service).ok);
        state.ApplyLocalDefinitions();
        QCOMPARE(listed(providers), QStringLiteral("SAHAR:mine.def,Kesher:service"));
        QCOMPARE(providers[0].MsgUrl, QStringLiteral("http://mine/"));

        // Without the file the service's own comes back, in its place.
        QFile::remove(folder + QStringLiteral("mine.def"));
        state.ApplyLocalDefinitions();
        QCOMPARE(listed(providers), QStringLiteral("Sahar:service,Kesher:service"));
    }

    void faultyFileSkipped()
    {
        writeDef(QStringLiteral("a.def"), "<#AREAS DEFS=059=59>\n<#PROVIDER Name=A AreaCodes=059>");
        writeDef(QStringLiteral("b.def"), "<#PROVIDER Name=B AreaCodes=051 MsgUrl=http://b/>");
        writeDef(QStringLiteral("c.def"), "<#PROVIDER Name=C AreaCodes=053 MsgUrl=http://c/>\n<#PARAMS HomePage=x>");
        ServiceState state = fresh();
        QVERIFY(state.ProcessDocument(Service).ok);
        state.ApplyLocalDefinitions();
        QCOMPARE(listed(providers), QStringLiteral("B:b.def,C:c.def,Sahar:service,Kesher:service"));
        QCOMPARE(areaDefs, QStringList({ "050=050", "052=052", "054=054" }));
        QCOMPARE(state.HomePage, AppPaths::serviceUrl());
        QCOMPARE(host.reports.size(), 1);
        QCOMPARE(host.reports[0],
            QStringList({ "providers.d/a.def, line 2: PROVIDER without MsgUrl; the file was skipped",
                "providers.d/c.def, line 2: tag PARAMS ignored; a local file defines only AREAS and PROVIDER" }));
    }

    // Every later document is followed by applying the local definitions again, as the connection does.
    void laterDocuments_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("expected");

        QTest::newRow("a new list") << QByteArray("<#PROVIDERS><#PROVIDER Name=Ofek AreaCodes=055 MsgUrl=o><#FINISHED>")
                                    << "Acme:acme.def,Ofek:service";
        QTest::newRow("a provider appended") << QByteArray("<#PROVIDER Name=Extra AreaCodes=051 MsgUrl=e><#FINISHED>")
                                             << "Acme:acme.def,Sahar:cache,Kesher:cache,Extra:service";
        QTest::newRow("no definitions") << QByteArray("<#UPDATED><#FINISHED>")
                                        << "Acme:acme.def,Sahar:cache,Kesher:cache";
        QTest::newRow("the local name appended")
            << QByteArray("<#PROVIDER Name=acme AreaCodes=051 MsgUrl=e>") << "Acme:acme.def,Sahar:cache,Kesher:cache";
        QTest::newRow("broken off after PROVIDERS")
            << QByteArray("<#PROVIDERS><#PROVIDER Name=Part AreaCodes=1%") << "Acme:acme.def";
    }

    void laterDocuments()
    {
        QFETCH(QByteArray, document);
        QFETCH(QString, expected);
        writeDef(QStringLiteral("acme.def"), Acme);
        TestEnv::writeFile(ProviderCache::path(), Service);
        ServiceState state = fresh();
        state.LoadProviderCache();
        QVERIFY(state.CacheLoaded);
        QCOMPARE(listed(providers), QStringLiteral("Acme:acme.def,Sahar:cache,Kesher:cache"));

        state.ProcessDocument(document);
        state.ApplyLocalDefinitions();
        QCOMPARE(listed(providers), expected);
        state.ApplyLocalDefinitions();
        QCOMPARE(listed(providers), expected);
        QCOMPARE(areaDefs, QStringList({ "059=59", "052=L52", "050=050", "054=054" }));
        // The cache stays the service's document alone.
        state.SaveProviderCache();
        QCOMPARE(TestEnv::readFile(ProviderCache::path()), ServiceDocument::fromText(document).text());
    }

    void areaItems_data()
    {
        QTest::addColumn<QList<QByteArray>>("files"); // 1.def, 2.def, ...
        QTest::addColumn<QByteArray>("service");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("local first, codes not repeated")
            << QList<QByteArray> { "<#AREAS DEFS=059=59,052=L52>" } << QByteArray("050=050,052=052")
            << QStringList { "059=59", "052=L52", "050=050" };
        QTest::newRow("the first file's item wins")
            << QList<QByteArray> { "<#AREAS DEFS=059=first>", "<#AREAS DEFS=059=second,0599=2>" }
            << QByteArray("050=050") << QStringList { "059=first", "0599=2", "050=050" };
        QTest::newRow("codes compared ignoring letter case")
            << QList<QByteArray> { "<#AREAS DEFS=ab=local>" } << QByteArray("AB=service,cd=1")
            << QStringList { "ab=local", "cd=1" };
        QTest::newRow("no local items: the service's as they are")
            << QList<QByteArray> { "<#PROVIDER Name=A AreaCodes=1 MsgUrl=u>" } << QByteArray("050=1,050=2,x")
            << QStringList { "050=1", "050=2", "x" };
        QTest::newRow("no service items")
            << QList<QByteArray> { "<#AREAS DEFS=059=59>" } << QByteArray() << QStringList { "059=59" };
    }

    void areaItems()
    {
        QFETCH(QList<QByteArray>, files);
        QFETCH(QByteArray, service);
        QFETCH(QStringList, expected);
        for (int i = 0; i < files.size(); ++i)
            writeDef(QStringLiteral("%1.def").arg(i + 1), files[i]);
        ServiceState state = fresh();
        if (!service.isEmpty())
            QVERIFY(state.ProcessDocument("<#AREAS DEFS=" + service + ">").ok);
        const int changesBefore = host.areaChanges;
        state.ApplyLocalDefinitions();
        QCOMPARE(areaDefs, expected);
        QCOMPARE(host.areaChanges, changesBefore + (expected.join(',') == QString::fromLatin1(service) ? 0 : 1));

        // Applying again, or after the service sends the same list again, gives the same list.
        state.ApplyLocalDefinitions();
        if (!service.isEmpty())
            QVERIFY(state.ProcessDocument("<#AREAS DEFS=" + service + ">").ok);
        state.ApplyLocalDefinitions();
        QCOMPARE(areaDefs, expected);
    }

    void credentials_data()
    {
        QTest::addColumn<QByteArray>("document"); // empty: none, only applying again
        QTest::addColumn<QStringList>("withCredentials");

        QTest::newRow("applied again") << QByteArray() << QStringList { "Acme", "Sahar", "Kesher" };
        QTest::newRow("a document without PROVIDERS")
            << QByteArray("<#PROVIDER Name=Extra AreaCodes=051 MsgUrl=e><#FINISHED>")
            << QStringList { "Acme", "Sahar", "Kesher" };
        // New records from the service come without credentials until SMS.INI is read again; the local
        // ones were not replaced.
        QTest::newRow("a document with PROVIDERS") << Service << QStringList { "Acme" };
    }

    void credentials()
    {
        QFETCH(QByteArray, document);
        QFETCH(QStringList, withCredentials);
        writeDef(QStringLiteral("acme.def"), Acme);
        ServiceState state = fresh();
        QVERIFY(state.ProcessDocument(Service).ok);
        state.ApplyLocalDefinitions();
        for (TProvider& p : providers) {
            p.UserName = p.Name + QStringLiteral("-user");
            p.Password = QStringLiteral("secret");
        }

        if (!document.isEmpty())
            state.ProcessDocument(document);
        state.ApplyLocalDefinitions();
        QStringList kept;
        for (const TProvider& p : providers) {
            if (!p.UserName.isEmpty()) {
                QCOMPARE(p.UserName, p.Name + QStringLiteral("-user"));
                QCOMPARE(p.Password, QStringLiteral("secret"));
                kept << p.Name;
            }
        }
        QCOMPARE(kept, withCredentials);
    }

    void origins()
    {
        writeDef(QStringLiteral("acme.def"), Acme);
        TestEnv::writeFile(ProviderCache::path(), Service);
        ServiceState state = fresh();
        state.LoadProviderCache();
        QCOMPARE(providers[0].OriginFile, folder + QStringLiteral("acme.def"));
        QCOMPARE(providers[1].Origin, ProviderOrigin::Cache);
        QVERIFY(providers[1].OriginFile.isEmpty());

        QVERIFY(state.ProcessDocument(Service).ok);
        state.ApplyLocalDefinitions();
        QCOMPARE(listed(providers), QStringLiteral("Acme:acme.def,Sahar:service,Kesher:service"));
    }

    // A program with nothing but local definitions has them without a cache.
    void withoutCache()
    {
        writeDef(QStringLiteral("acme.def"), Acme);
        ServiceState state = fresh();
        state.LoadProviderCache();
        QVERIFY(!state.CacheLoaded);
        QCOMPARE(listed(providers), QStringLiteral("Acme:acme.def"));
        QCOMPARE(areaDefs, QStringList({ "059=59", "052=L52" }));
        QCOMPARE(host.areaChanges, 1);
    }
};

QTEST_GUILESS_MAIN(TestLocalProviders)
#include "test_local_providers.moc"
