// The file a taught operator is kept in: it reads back as written, holds no secret, is its owner's alone, and a
// settings file that refuses the credentials does not cost the definition.
#include "TestEnv.h"
#include "common/ErrorReport.h"
#include "common/WebAddress.h"
#include "settings/SmsIni.h"
#include "teach/DefinitionFile.h"
#include "teach/TeachSession.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

namespace {
TProvider acme()
{
    TProvider p;
    p.Name = QStringLiteral("Acme");
    p.AreaCodes = QStringLiteral("059");
    p.LoginUrl = QStringLiteral("http://127.0.0.1:9/login");
    p.MsgUrl = QStringLiteral("http://127.0.0.1:9/msg");
    p.MsgForm = QStringLiteral("sms");
    p.MsgField = QStringLiteral("text");
    p.MsgSubmit = 3;
    p.ResAccepted = QStringLiteral("נשלחה");
    return p;
}
const QStringList AreaDefs { QStringLiteral("059=59") };
} // namespace

class TestDefinitionFile : public QObject
{
    Q_OBJECT

private slots:
    void readBack_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("readsBack");
        QTest::newRow("as taught") << ""
                                   << "" << true;
        QTest::newRow("a name with a tag's opening") << "Name"
                                                     << "Acme <#1" << true;
        QTest::newRow("a result text too long for a line") << "ResAccepted" << QString(2100, QChar(0x05D0)) << false;
    }
    void readBack()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(bool, readsBack);
        TProvider p = acme();
        if (field == QLatin1String("Name"))
            p.Name = value;
        else if (field == QLatin1String("ResAccepted"))
            p.ResAccepted = value;
        const QStringList problems
            = DefinitionFile::readBackProblems(DefinitionFile::text(p, AreaDefs, QString()), p, AreaDefs);
        QVERIFY2(problems.isEmpty() == readsBack, qPrintable(problems.join(QLatin1Char('\n'))));
    }

    void secrets_data()
    {
        QTest::addColumn<QString>("loginUrl");
        QTest::addColumn<QString>("msgUrl");
        QTest::addColumn<int>("problems");
        QTest::newRow("none") << "http://127.0.0.1:9/login"
                              << "http://127.0.0.1:9/msg" << 0;
        QTest::newRow("a login sent with GET") << "http://127.0.0.1:9/login?user=dana&pw=s3cret"
                                               << "http://127.0.0.1:9/msg" << 1;
        QTest::newRow("a session token that is the password") << "http://127.0.0.1:9/login"
                                                              << "http://127.0.0.1:9/msg;jsessionid=s3cret" << 1;
    }
    void secrets()
    {
        QFETCH(QString, loginUrl);
        QFETCH(QString, msgUrl);
        QFETCH(int, problems);
        TProvider p = acme();
        p.LoginUrl = loginUrl;
        p.MsgUrl = msgUrl;
        QCOMPARE(DefinitionFile::secretProblems(p, QStringLiteral("dana"), QStringLiteral("s3cret")).size(), problems);
    }

    void addressesShownWithoutTheirValues()
    {
        QCOMPARE(shownAddress(QStringLiteral("http://u:pw@127.0.0.1:9/login?user=dana&pw=s3cret#top")),
            QStringLiteral("http://u@127.0.0.1:9/login?user=*&pw=*#*"));
    }

    // The file is its owner's alone; SMS.INI that refuses the credentials (its path a folder, which stops
    // root too) is reported, and the definition stays kept.
    void savedFileAndRefusedSettings()
    {
        TestEnv::freshConfigDir();
        QFile::remove(SmsIni::defaultPath());
        QVERIFY(QDir().mkpath(SmsIni::defaultPath()));
        QStringList reported;
        const auto previous = ErrorReport::setHandler([&](const QString& text) { reported << text; });
        TeachSession session;
        TeachSession::Draft draft;
        draft.provider = acme();
        draft.areaDefs = AreaDefs;
        QString path;
        const bool saved = session.save(draft, &path);
        ErrorReport::setHandler(previous);
        QVERIFY2(saved, qPrintable(path));
        QCOMPARE(QFileInfo(path).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
            QFileDevice::Permissions());
        QCOMPARE(reported, QStringList { QStringLiteral("Unable to write to SMS.INI.") });
        QVERIFY(QDir().rmdir(SmsIni::defaultPath()));
    }
};

QTEST_GUILESS_MAIN(TestDefinitionFile)
#include "test_definitionfile.moc"
