#include "FakeServiceHost.h"
#include "TestEnv.h"
#include "service/ProviderCache.h"
#include "service/ServiceState.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

namespace {
QStringList filesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
}
} // namespace

class TestProviderCache : public QObject
{
    Q_OBJECT

    QString appDir;
    QString cacheFile;

private slots:
    void init()
    {
        appDir = TestEnv::freshAppDir();
        cacheFile = appDir + QStringLiteral("providers.dat");
        QCOMPARE(ProviderCache::path(), cacheFile);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<int>("providers");
        QTest::addColumn<QStringList>("calls");
        // Hebrew as raw windows-1255 bytes and as escapes; line breaks of every kind.
        const QByteArray providers = "<#PROVIDERS>\n<#PROVIDER Name=\xF4\xEC\xE0\xF4\xE5\xEF AreaCodes=050>\r"
                                     "<#PROVIDER Name=%F1%EC%F7%E5%ED AreaCodes=052>\r\n"
                                     "<#SESSION ID=s>\r\n";
        QTest::newRow("complete") << providers + "<#FINISHED>\r\n"
                                  << true << 2 << QStringList { "state 0", "state 2", "finished" };
        QTest::newRow("no FINISHED") << providers << false << 2 << QStringList { "state 0" };
        QTest::newRow("invalid after FINISHED") << providers + "<#FINISHED><#SESSION ID=%x>" << false << 2
                                                << QStringList { "state 0", "state 2", "finished" };
        QTest::newRow("message shown again") << QByteArray("<#MESSAGE Text=hi><#FINISHED>") << true << 0
                                             << QStringList { "state 0", "message", "state 2", "finished" };
    }

    void roundTrip()
    {
        QFETCH(QByteArray, document);
        QFETCH(bool, loaded);
        QFETCH(int, providers);
        QFETCH(QStringList, calls);

        TProviders savedProviders;
        QStringList savedAreas;
        FakeServiceHost savingHost;
        ServiceState saving(savedProviders, savedAreas, &savingHost);
        saving.ProcessDocument(document);
        saving.SaveProviderCache();
        // The file is the document's lines, CR LF after each, in the bytes they came in.
        QCOMPARE(TestEnv::readFile(cacheFile), ServiceDocument::fromText(document).text());
        QCOMPARE(filesIn(appDir), QStringList { "providers.dat" });

        TProviders loadedProviders;
        QStringList loadedAreas;
        FakeServiceHost host;
        ServiceState state(loadedProviders, loadedAreas, &host);
        state.setConnectionState(ConnectionState::Stored);
        host.calls.clear();
        state.CacheLoaded = true;
        state.LoadProviderCache();
        QCOMPARE(state.CacheLoaded, loaded);
        QCOMPARE(host.calls, calls);
        QCOMPARE(loadedProviders.size(), providers);
        if (providers > 0) {
            QCOMPARE(loadedProviders[0].Name, QString::fromUtf8("פלאפון"));
            QCOMPARE(loadedProviders[1].Name, QString::fromUtf8("סלקום"));
            QCOMPARE(state.SessionID, QStringLiteral("s"));
        }
    }

    void missingFile()
    {
        TProviders providers { TProvider() };
        QStringList areas;
        FakeServiceHost host;
        ServiceState state(providers, areas, &host);
        state.CacheLoaded = true;
        state.LoadProviderCache();
        QVERIFY(!state.CacheLoaded);
        QCOMPARE(providers.size(), 1);
        QVERIFY(host.calls.isEmpty());
    }

    void readOnlyFileIsReplaced()
    {
        TestEnv::writeFile(cacheFile, "old");
        QVERIFY(QFile::setPermissions(cacheFile, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        QVERIFY(ProviderCache::write(cacheFile, "<#FINISHED>\r\n"));
        QCOMPARE(TestEnv::readFile(cacheFile), QByteArray("<#FINISHED>\r\n"));
        QVERIFY(QFile::permissions(cacheFile) & QFileDevice::WriteOwner);
        QCOMPARE(filesIn(appDir), QStringList { "providers.dat" });
    }

    void failedWriteLeavesNothing()
    {
        // A folder where the file should be: the rename cannot land.
        QVERIFY(QDir().mkpath(cacheFile));
        QVERIFY(!ProviderCache::write(cacheFile, "<#FINISHED>\r\n"));
        QVERIFY(QFileInfo(cacheFile).isDir());
        QVERIFY(filesIn(appDir).isEmpty());
    }

    // Killed at any moment, the writer leaves one document or the other, never a mix or a part.
    void killedWriterLeavesWholeFile()
    {
        const QByteArray documentA = (QByteArray(100, 'a') + "\r\n").repeated(40000) + "<#FINISHED>\r\n";
        const QByteArray documentB = (QByteArray(100, 'b') + "\r\n").repeated(50000) + "<#FINISHED>\r\n";
        const QString writer = QCoreApplication::applicationDirPath() + QStringLiteral("/provider_cache_writer");
        for (int round = 0; round < 5; ++round) {
            QProcess process;
            process.start(writer, { cacheFile });
            QVERIFY(process.waitForStarted());
            QVERIFY(process.waitForReadyRead(30000));
            QTest::qWait(7 + 13 * round);
            process.kill();
            QVERIFY(process.waitForFinished());
            const QByteArray content = TestEnv::readFile(cacheFile);
            QVERIFY2(content == documentA || content == documentB,
                qPrintable(QStringLiteral("%1 bytes").arg(content.size())));
        }
    }
};

QTEST_GUILESS_MAIN(TestProviderCache)
#include "test_provider_cache.moc"
