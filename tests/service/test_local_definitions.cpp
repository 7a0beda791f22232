// Reading local definition files: what counts, what is reported, and how the bytes are decoded.
#include "TestEnv.h"
#include "service/Cp1255.h"
#include "service/LocalDefinitions.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <unistd.h>

namespace {
const QString Path = QStringLiteral("/somewhere/providers.d/t.def");
const QByteArray Good = "<#PROVIDER Name=Acme AreaCodes=059 MsgUrl=http://acme/send>";

QString at(int line, const QString& text)
{
    return QStringLiteral("providers.d/t.def, line %1: %2").arg(line).arg(text);
}

QString ignored(int line, const char* tag)
{
    return at(
        line, QStringLiteral("tag %1 ignored; a local file defines only AREAS and PROVIDER").arg(QLatin1String(tag)));
}

QString skipped(int line, const QString& problem)
{
    return at(line, problem) + QStringLiteral("; the file was skipped");
}

QStringList namesOf(const TProviders& providers)
{
    QStringList names;
    for (const TProvider& p : providers)
        names << p.Name;
    return names;
}
} // namespace

class TestLocalDefinitions : public QObject
{
    Q_OBJECT

private slots:
    void read_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("providers");
        QTest::addColumn<QStringList>("areas");
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<QString>("error");

        const QStringList acme { "Acme" };
        QTest::newRow("provider and areas, text between")
            << "Acme's pages.\r\n<#AREAS DEFS=\"059=59, 0599=599\">\r\nmore words\r\n" + Good << acme
            << QStringList { "059=59", "0599=599" } << QStringList() << QString();
        QTest::newRow("areas from two tags") << QByteArray("<#AREAS DEFS=059=1>\n<#AREAS DEFS=0599=2>") << QStringList()
                                             << QStringList { "059=1", "0599=2" } << QStringList() << QString();
        QTest::newRow("other tags named, letter case counts")
            << "<#PROVIDERS>\n" + Good + "\n<#provider Name=B AreaCodes=1 MsgUrl=u>\n\n<#FINISHED>" << acme
            << QStringList() << QStringList { ignored(1, "PROVIDERS"), ignored(3, "provider"), ignored(5, "FINISHED") }
            << QString();
        QTest::newRow("without MsgUrl, after a good one")
            << "<#AREAS DEFS=059=1>\n" + Good + "\n\n<#PROVIDER Name=B AreaCodes=050>" << QStringList() << QStringList()
            << QStringList() << skipped(4, "PROVIDER without MsgUrl");
        QTest::newRow("empty Name") << QByteArray("<#PROVIDER Name= AreaCodes=050 MsgUrl=u>") << QStringList()
                                    << QStringList() << QStringList() << skipped(1, "PROVIDER without Name");
        QTest::newRow("blank AreaCodes") << QByteArray("<#PROVIDER Name=B \"AreaCodes= \" MsgUrl=u>") << QStringList()
                                         << QStringList() << QStringList() << skipped(1, "PROVIDER without AreaCodes");
        QTest::newRow("first fault of the first tag")
            << QByteArray("x\r\n<#PROVIDER>\r\n<#PROVIDER Name=B>") << QStringList() << QStringList() << QStringList()
            << skipped(2, "PROVIDER without Name");
        QTest::newRow("bad escape") << Good + "\r\n<#PARAMS>\r\n<#AREAS DEFS=059%G1>" << QStringList() << QStringList()
                                    << QStringList { ignored(2, "PARAMS") } << skipped(3, "Invalid %-escape");
        QTest::newRow("line too long") << Good + "\n" + QByteArray(5000, 'x') << QStringList() << QStringList()
                                       << QStringList() << skipped(2, "Line too long");
        QTest::newRow("a file: message page")
            << QByteArray("<#PROVIDER Name=B AreaCodes=050 MsgUrl=file:///etc/passwd>") << QStringList()
            << QStringList() << QStringList() << skipped(1, "MsgUrl is not an http or https address");
        QTest::newRow("a javascript: login page") << Good
                + "\n<#PROVIDER Name=B AreaCodes=050 "
                  "LoginUrl=javascript:alert(1) MsgUrl=http://b/>"
                                                  << QStringList() << QStringList() << QStringList()
                                                  << skipped(2, "LoginUrl is not an http or https address");
        QTest::newRow("a data: message page")
            << QByteArray("<#PROVIDER Name=B AreaCodes=050 MsgUrl=data:text/html,x>") << QStringList() << QStringList()
            << QStringList() << skipped(1, "MsgUrl is not an http or https address");
        QTest::newRow("a lone CR ends a line")
            << QByteArray("\r\r<#PROVIDER Name=B MsgUrl=u>") << QStringList() << QStringList() << QStringList()
            << skipped(3, "PROVIDER without AreaCodes");
    }

    void read()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, providers);
        QFETCH(QStringList, areas);
        QFETCH(QStringList, warnings);
        QFETCH(QString, error);

        const LocalDefinitionFile file = LocalDefinitions::parse(text, Path);
        QCOMPARE(namesOf(file.providers), providers);
        QCOMPARE(file.areaDefs, areas);
        QCOMPARE(file.warnings, warnings);
        QCOMPARE(file.error, error);
        for (const TProvider& p : file.providers) {
            QCOMPARE(p.Origin, ProviderOrigin::Local);
            QCOMPARE(p.OriginFile, Path);
        }
    }

    void encoding_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("accepted");

        const QString name = QStringLiteral("אקמי");
        const QString accepted = QStringLiteral("ההודעה נשלחה");
        const QByteArray tail = " AreaCodes=059 MsgUrl=u ";
        QTest::newRow("UTF-8") << "<#PROVIDER Name=" + name.toUtf8() + tail + "\"ResAccepted=" + accepted.toUtf8()
                + "\">" << name << accepted;
        QTest::newRow("UTF-8 escapes") << "<#PROVIDER Name=%D7%90%D7%A7%D7%9E%D7%99" + tail
                + "ResAccepted=%D7%94%D7%94%D7%95%D7%93%D7%A2%D7%94+%D7%A0%D7%A9%D7%9C%D7%97%D7%94>"
                                       << name << accepted;
        QTest::newRow("UTF-8 values, other bytes in the text") << "\xE0\xF7\xEE\xE9\n<#PROVIDER Name=" + name.toUtf8()
                + tail + "\"ResAccepted=" + accepted.toUtf8()
                + "\">" << name << accepted;
        QTest::newRow("windows-1255") << "<#PROVIDER Name=" + Cp1255::fromUnicode(name) + tail
                + "\"ResAccepted=" + Cp1255::fromUnicode(accepted)
                + "\">" << name << accepted;
        // What providers.dat holds: nothing but ASCII, the Hebrew as windows-1255 escapes.
        QTest::newRow("windows-1255 escapes")
            << "<#PROVIDER Name=%E0%F7%EE%E9" + tail + "ResAccepted=%E4%E4%E5%E3%F2%E4+%F0%F9%EC%E7%E4>" << name
            << accepted;
        QTest::newRow("windows-1255 in an area item")
            << "<#AREAS DEFS=059=\xE0>\n<#PROVIDER Name=" + Cp1255::fromUnicode(name) + tail + ">" << name << QString();
    }

    void encoding()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, name);
        QFETCH(QString, accepted);

        const LocalDefinitionFile file = LocalDefinitions::parse(text, Path);
        QCOMPARE(file.error, QString());
        QCOMPARE(file.providers.size(), 1);
        QCOMPARE(file.providers[0].Name, name);
        QCOMPARE(file.providers[0].ResAccepted, accepted);
    }

    void folderInNameOrder()
    {
        const QString folder = TestEnv::freshDir(LocalDefinitions::folder());
        TestEnv::writeFile(folder + QStringLiteral("b.def"), "<#PROVIDER Name=B AreaCodes=1 MsgUrl=u>");
        TestEnv::writeFile(folder + QStringLiteral("a.def"), "<#PROVIDER Name=A AreaCodes=1 MsgUrl=u>");
        TestEnv::writeFile(folder + QStringLiteral("a.def~"), "<#PROVIDER Name=Backup AreaCodes=1 MsgUrl=u>");
        TestEnv::writeFile(folder + QStringLiteral("notes.txt"), "<#PROVIDER Name=Notes AreaCodes=1 MsgUrl=u>");
        QDir().mkpath(folder + QStringLiteral("c.def"));

        const QVector<LocalDefinitionFile> files = LocalDefinitions::readFolder();
        QCOMPARE(files.size(), 2);
        QCOMPARE(files[0].path, folder + QStringLiteral("a.def"));
        QCOMPARE(files[1].providers.value(0).Name, QStringLiteral("B"));
        QVERIFY(LocalDefinitions::readFolder(folder + QStringLiteral("missing/")).isEmpty());
    }

    void unreadableFile()
    {
        if (geteuid() == 0)
            QSKIP("root reads every file");
        const QString folder = TestEnv::freshDir(LocalDefinitions::folder());
        const QString path = folder + QStringLiteral("locked.def");
        TestEnv::writeFile(path, Good);
        QFile::setPermissions(path, QFileDevice::Permissions());
        const LocalDefinitionFile file = LocalDefinitions::readFile(path);
        QVERIFY2(
            file.error.startsWith(QStringLiteral("providers.d/locked.def: cannot be read")), qPrintable(file.error));
        QVERIFY(file.error.endsWith(QStringLiteral("; the file was skipped")));
        QVERIFY(file.providers.isEmpty());
    }

    // The example handed to users must read without a word.
    void example()
    {
        const LocalDefinitionFile file = LocalDefinitions::readFile(QStringLiteral(EXAMPLES_DIR "/acme.def"));
        QCOMPARE(file.error, QString());
        QCOMPARE(file.warnings, QStringList());
        QCOMPARE(file.areaDefs, QStringList({ "059=059", "0599=0599" }));
        QCOMPARE(file.providers.size(), 1);
        const TProvider& p = file.providers[0];
        QCOMPARE(p.Name, QStringLiteral("Acme Mobile"));
        QCOMPARE(parseCommaText(p.AreaCodes), QStringList({ "059", "0599" }));
        QCOMPARE(p.LoginFrame, 0);
        QCOMPARE(p.LoginSubmit, quint8(2));
        QCOMPARE(p.MsgSubmitValue, QStringLiteral("Send"));
        QCOMPARE(p.ResAccepted, QStringLiteral("ההודעה נשלחה"));
        QCOMPARE(p.ClearCRLF, quint8(1));
    }
};

QTEST_GUILESS_MAIN(TestLocalDefinitions)
#include "test_local_definitions.moc"
