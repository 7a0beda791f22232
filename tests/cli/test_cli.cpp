// zelkora-cli as a user runs it, against the sandbox network in this process.
#include "SandboxServer.h"
#include "TestEnv.h"
#include "VerdictSites.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

class TestCli : public QObject
{
    Q_OBJECT

    SandboxServer m_sandbox;

    using Run = TestEnv::ProgramRun;

    // Runs the program while this process goes on serving the sandbox.
    Run cli(const QStringList& args)
    {
        return TestEnv::runProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora-cli"),
            QStringList { QStringLiteral("--service-url"), m_sandbox.baseUrl() } + args);
    }

private slots:
    void initTestCase() { QVERIFY(m_sandbox.listen()); }

    void init()
    {
        const QString config = TestEnv::freshConfigDir();
        TestEnv::freshAppDir();
        TestEnv::writeFile(config + QStringLiteral("SMS.INI"),
            "[General]\r\nTimeOut=30\r\n[Sahar]\r\nUserName=demo\r\nPassword=demo1234\r\n");
        // As the program keeps it: one readable by others would be closed to them, and said so.
        QFile::setPermissions(config + QStringLiteral("SMS.INI"), QFile::ReadOwner | QFile::WriteOwner);
        m_sandbox.clearSubmissions();
    }

    // Asked for help, both programs print their usage on standard output and end well.
    void helpIsUsage()
    {
        for (const QString& program : { QStringLiteral("zelkora-cli"), QStringLiteral("zelkora") }) {
            const Run run = TestEnv::runProgram(
                QCoreApplication::applicationDirPath() + QLatin1Char('/') + program, { QStringLiteral("--help") });
            QCOMPARE(run.exitCode, 0);
            QVERIFY2(run.out.startsWith(QStringLiteral("usage:")), qPrintable(program + run.out + run.err));
        }
    }

    void refreshThenSendToTwoRecipients()
    {
        const Run refresh = cli({ QStringLiteral("refresh") });
        QVERIFY2(refresh.exitCode == 0, qPrintable(refresh.err));
        QVERIFY(QFile::exists(qEnvironmentVariable("ZELKORA_APPDIR") + QStringLiteral("/providers.dat")));

        const Run send = cli({ QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("דנה"),
            QStringLiteral("--to"), QStringLiteral("052-1234567"), QStringLiteral("--to"),
            QStringLiteral("057-7654321"), QStringLiteral("--text"), QStringLiteral("שלום") });
        QVERIFY2(send.exitCode == 0, qPrintable(send.out + send.err));
        QVERIFY(send.out.contains(QStringLiteral("052-1234567\t6\tssSent\tההודעה נשלחה")));
        QVERIFY(send.out.contains(QStringLiteral("057-7654321\t6\tssSent\tההודעה נשלחה")));

        QStringList sent;
        for (const SandboxSubmission& s : m_sandbox.submissions()) {
            if (s.outcome == QLatin1String("accepted"))
                sent << s.path;
        }
        QCOMPARE(sent, (QStringList { QStringLiteral("/sahar/send"), QStringLiteral("/kesher/send") }));
    }

    // The desktop program's spelling of the option works here too.
    void serviceUrlWithAnEqualsSign()
    {
        const Run run = TestEnv::runProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora-cli"),
            { QStringLiteral("refresh"), QStringLiteral("--service-url=") + m_sandbox.baseUrl() });
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(m_sandbox.hits(QStringLiteral("/smsinit")) > 0, true);
    }

    void refusedInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("text");
        const QString to = QStringLiteral("052-1234567");
        QTest::newRow("empty message") << QStringList { "--from", "Dana", "--to", to, "--text", "" } << 1
                                       << "ההודעה ריקה";
        QTest::newRow("106 characters") << QStringList { "--from", "Dana1", "--to", to, "--text", QString(101, 'x') }
                                        << 1 << "סה\"כ תוים למשלוח גדול מ 105.";
        QTest::newRow("empty sender") << QStringList { "--from", "", "--to", to, "--text", "hi" } << 1
                                      << "שם השולח חסר";
        QTest::newRow("incomplete number")
            << QStringList { "--from", "Dana", "--to", "052-", "--text", "hi" } << 1 << "מספר הטלפון אינו שלם";
        QTest::newRow("unknown provider") << QStringList { "--from", "Dana", "--to", "099-1234567", "--text", "hi" }
                                          << 1 << "099-1234567\t-\terror\tספק תקשורת לא מוכר";
    }
    void refusedInput()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, text);
        QVERIFY(cli({ QStringLiteral("refresh") }).exitCode == 0);
        const Run run = cli(QStringList { QStringLiteral("send") } + args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2((run.out + run.err).contains(text), qPrintable(run.out + run.err));
        QVERIFY(m_sandbox.submissions().isEmpty());
    }

    // An area code no provider serves: with no provider at all, one more line says how to get definitions.
    void noProviderAtAllSaysHowToGetThem_data()
    {
        QTest::addColumn<bool>("refreshed");
        QTest::newRow("no provider known") << false;
        QTest::newRow("providers known") << true;
    }
    void noProviderAtAllSaysHowToGetThem()
    {
        QFETCH(bool, refreshed);
        if (refreshed)
            QVERIFY(cli({ QStringLiteral("refresh") }).exitCode == 0);
        const Run run = cli({ QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"),
            QStringLiteral("--to"), QStringLiteral("099-1234567"), QStringLiteral("--text"), QStringLiteral("hi") });
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.out.contains(QStringLiteral("ספק תקשורת לא מוכר")), qPrintable(run.out));
        QCOMPARE(run.err.contains(QStringLiteral("zelkora --teach")), !refreshed);
        QCOMPARE(run.err.count(QLatin1Char('\n')) <= 1, true);
    }

    // With no address from anywhere, refresh asks nobody and says where one is set.
    void refreshWithoutAnAddressIsRefused()
    {
        const QByteArray before = qgetenv("ZELKORA_SERVICE_URL");
        qputenv("ZELKORA_SERVICE_URL", QByteArray());
        const Run run = TestEnv::runProgram(
            QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora-cli"), { QStringLiteral("refresh") });
        qputenv("ZELKORA_SERVICE_URL", before);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("ServiceURL")), qPrintable(run.err));
    }

    void missingCredentialsNameTheProvider()
    {
        TestEnv::writeFile(
            qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/zelkora/SMS.INI"), "[General]\r\n");
        QVERIFY(cli({ QStringLiteral("refresh") }).exitCode == 0);
        const Run run = cli({ QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"),
            QStringLiteral("--to"), QStringLiteral("050-1234567"), QStringLiteral("--text"), QStringLiteral("hi") });
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.contains(QStringLiteral("050-1234567\t-\terror\tחסרים נתוני זיהוי עבור Sahar")));
    }

    // A site that asks a person something after its login: without --interactive the attempt fails as
    // before, and standard error names the page (without its query) and what it needs.
    void aPageForAPersonIsNamed()
    {
        TestEnv::writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/zelkora/SMS.INI"),
            "[General]\r\nTimeOut=30\r\n[Magen]\r\nUserName=demo\r\nPassword=demo1234\r\n");
        QVERIFY(cli({ QStringLiteral("refresh") }).exitCode == 0);
        const Run run = cli({ QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"),
            QStringLiteral("--to"), QStringLiteral("059-1234567"), QStringLiteral("--text"), QStringLiteral("hi") });
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.out.endsWith(QStringLiteral("059-1234567\t8\tssFailed\tכשלון\n")), qPrintable(run.out));
        const QString line = QStringLiteral("059-1234567: the site answered with %1/magen/check, which only a person "
                                            "can answer")
                                 .arg(m_sandbox.baseUrl());
        QVERIFY2(run.err.contains(line), qPrintable(run.err));
        // The reason, then the page.
        QCOMPARE(run.err.count(QLatin1Char('\n')), 2);
        QCOMPARE(m_sandbox.submissions().last().outcome, QStringLiteral("login"));
    }

    // Several recipients are a list: one that cannot be sent to gets its own error line, the others are sent.
    void listGoesOnPastARecipientWithAProblem()
    {
        QVERIFY(cli({ QStringLiteral("refresh") }).exitCode == 0);
        const Run run = cli({ QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"),
            QStringLiteral("--to"), QStringLiteral("052-1234567"), QStringLiteral("--to"), QStringLiteral("0547654321"),
            QStringLiteral("--to"), QStringLiteral("055-1234567"), QStringLiteral("--to"),
            QStringLiteral("057-7654321"), QStringLiteral("--text"), QStringLiteral("שלום 😀") });
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.out.contains(QStringLiteral("052-1234567\t6\tssSent\tההודעה נשלחה")), qPrintable(run.out));
        QVERIFY(run.out.contains(QStringLiteral("0547654321\t-\terror\tספק תקשורת לא מוכר")));
        QVERIFY(run.out.contains(QStringLiteral("055-1234567\t-\terror\tחסרים נתוני זיהוי עבור Ofek")));
        QVERIFY(run.out.contains(QStringLiteral("057-7654321\t6\tssSent\tההודעה נשלחה")));
        QCOMPARE(m_sandbox.submissions().size(), 3); // the sahar login, its message and kesher's
    }

    // A list through login operators logs in once to each and sends every message, also when the recipients
    // alternate between two of them; a site that ends its sessions after every message gets a login for each,
    // and every message is sent all the same.
    void listKeepsTheLogin_data()
    {
        QTest::addColumn<QStringList>("recipients");
        QTest::addColumn<bool>("siteEndsSessions");
        QTest::addColumn<int>("logins");
        const QStringList three { "052-1111111", "052-2222222", "050-3333333" };
        const QStringList alternating { "052-1111111", "055-2222222", "052-3333333", "055-4444444" };
        QTest::newRow("session kept") << three << false << 1;
        QTest::newRow("site ends each session") << three << true << 3;
        QTest::newRow("two operators in turn") << alternating << false << 2;
    }
    void listKeepsTheLogin()
    {
        QFETCH(QStringList, recipients);
        QFETCH(bool, siteEndsSessions);
        QFETCH(int, logins);
        TestEnv::writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/zelkora/SMS.INI"),
            "[General]\r\nTimeOut=30\r\n[Sahar]\r\nUserName=demo\r\nPassword=demo1234\r\n"
            "[Ofek]\r\nUserName=demo\r\nPassword=demo1234\r\n");
        QFile::setPermissions(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/zelkora/SMS.INI"),
            QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(cli({ QStringLiteral("refresh") }).exitCode == 0);
        const QMetaObject::Connection ending = connect(&m_sandbox, &SandboxServer::submissionReceived, this,
            [&](const SandboxSubmission& s) {
                if (siteEndsSessions && s.outcome == QLatin1String("accepted"))
                    m_sandbox.expireSessions();
            });
        QStringList arguments { QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"),
            QStringLiteral("--text"), QStringLiteral("שלום") };
        for (const QString& recipient : std::as_const(recipients))
            arguments << QStringLiteral("--to") << recipient;
        const Run run = cli(arguments);
        disconnect(ending);
        QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
        QStringList outcomes;
        for (const SandboxSubmission& s : m_sandbox.submissions())
            outcomes << s.outcome;
        QCOMPARE(outcomes.count(QStringLiteral("login")), logins);
        QCOMPARE(outcomes.count(QStringLiteral("accepted")), recipients.size());
        QCOMPARE(outcomes.size(), logins + recipients.size());
    }

    // Each recipient's last line says whether the message left and whether the site confirmed the outcome in
    // words: kesher's own definition does; over the same pages, one whose result texts the pages never show
    // cannot, and its outcome is unknown, with an exit status of its own.
    void jsonSaysWhetherTheResultWasConfirmed()
    {
        QVERIFY(cli({ QStringLiteral("refresh") }).exitCode == 0);
        const QString folder
            = TestEnv::freshDir(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/zelkora/providers.d"));
        TestEnv::writeFile(folder + QStringLiteral("quiet.def"),
            "<#PROVIDER Name=Quiet AreaCodes=057 MsgUrl=" + m_sandbox.baseUrl().toUtf8()
                + "/kesher/sms MsgForm=sms PhoneField=phone MsgField=msg MsgSubmit=1 "
                  "MsgSubmitLookup=javascript:document.sms.submit() ResAccepted=xyzzy ResRejected=plugh>");
        const Run run = cli({ QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"),
            QStringLiteral("--to"), QStringLiteral("054-1234567"), QStringLiteral("--to"),
            QStringLiteral("057-1234567"), QStringLiteral("--text"), QStringLiteral("hi"), QStringLiteral("--json") });
        QVERIFY2(run.exitCode == 3, qPrintable(run.out + run.err));
        QHash<QString, QJsonObject> last;
        for (const QString& line : run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QJsonObject entry = QJsonDocument::fromJson(line.toUtf8()).object();
            last.insert(entry.value(QStringLiteral("recipient")).toString(), entry);
        }
        const QJsonObject sent = last.value(QStringLiteral("054-1234567"));
        QCOMPARE(sent.value(QStringLiteral("submitted")), QJsonValue(true));
        QCOMPARE(sent.value(QStringLiteral("confirmed")), QJsonValue(true));
        const QJsonObject unknown = last.value(QStringLiteral("057-1234567"));
        QCOMPARE(unknown.value(QStringLiteral("status")), QJsonValue(9));
        QCOMPARE(unknown.value(QStringLiteral("submitted")), QJsonValue(true));
        QCOMPARE(unknown.value(QStringLiteral("confirmed")), QJsonValue(false));
        QCOMPARE(unknown.value(QStringLiteral("text")),
            QJsonValue(QStringLiteral("לא התקבל אישור מהאתר: ייתכן שההודעה נשלחה")));
        QVERIFY2(run.err.contains(QStringLiteral("057-1234567: ההודעה יצאה, ודפי האתר לא אמרו דבר עליה")),
            qPrintable(run.err));
    }

    // Every recipient leaves a history entry, the refused one too; `retry` sends again only those of the last
    // list that were not sent.
    void historyThenRetry()
    {
        QVERIFY(cli({ QStringLiteral("refresh") }).exitCode == 0);
        const QStringList to { "054-1234567", "054-9123456", "056-1234567", "099-1234567" };
        QStringList args { QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("דנה"),
            QStringLiteral("--text"), QStringLiteral("שלום") };
        for (const QString& number : to)
            args << QStringLiteral("--to") << number;
        QCOMPARE(cli(args).exitCode, 2);

        const Run history = cli({ QStringLiteral("history"), QStringLiteral("--json") });
        QVERIFY2(history.exitCode == 0, qPrintable(history.err));
        const QJsonArray entries = QJsonDocument::fromJson(history.out.toUtf8()).array();
        QCOMPARE(entries.size(), 4);
        QHash<QString, QJsonObject> byNumber;
        for (const QJsonValue& value : entries) {
            const QJsonObject entry = value.toObject();
            byNumber.insert(entry.value("area").toString() + '-' + entry.value("phone").toString(), entry);
            QCOMPARE(entry.value("source").toString(), QStringLiteral("cli"));
            QCOMPARE(entry.value("message").toString(), QStringLiteral("שלום"));
            QVERIFY(!entry.value("time").toString().isEmpty());
        }
        const QList<std::pair<QString, int>> statuses { { to[0], 6 }, { to[1], 7 }, { to[2], 8 }, { to[3], -1 } };
        for (const auto& [number, status] : statuses)
            QCOMPARE(byNumber.value(number).value("status").toInt(), status);
        QCOMPARE(byNumber.value(to[0]).value("confirmed").toBool(), true);
        QCOMPARE(byNumber.value(to[0]).value("provider").toString(), QStringLiteral("Kesher"));
        QCOMPARE(byNumber.value(to[3]).value("statusText").toString(), QStringLiteral("אין מפעיל לקידומת 099"));
        QCOMPARE(byNumber.value(to[3]).value("reason").toString(), QStringLiteral("no-provider"));

        m_sandbox.clearSubmissions();
        const Run retry = cli({ QStringLiteral("retry") });
        QCOMPARE(retry.exitCode, 2);
        QStringList sites;
        for (const SandboxSubmission& s : m_sandbox.submissions())
            sites << s.path + ' ' + s.outcome;
        QCOMPARE(sites, (QStringList { "/kesher/send rejected", "/shefa/send error" }));
        QVERIFY(retry.out.contains(QStringLiteral("099-1234567\t-\terror")));
        QVERIFY(!retry.out.contains(to[0]));
        const Run failed = cli({ QStringLiteral("history"), QStringLiteral("--failed"), QStringLiteral("--json") });
        QCOMPARE(QJsonDocument::fromJson(failed.out.toUtf8()).array().size(), 6);
    }

    // Recipients from a file: its Hebrew names reach the history, and a line that cannot be read is named. A
    // name that carries a terminal's escape sequence is printed with it made visible.
    void recipientsFromAFile()
    {
        QVERIFY(cli({ QStringLiteral("refresh") }).exitCode == 0);
        const QString file = qEnvironmentVariable("HOME") + QStringLiteral("/friends.csv");
        TestEnv::writeFile(file, "\xEF\xBB\xBFשם;טלפון\r\nאבי\x1b[31m;054-1111111\r\nבני;לא מספר\r\nגלית;057-2222222\r\n");
        const Run run = cli({ QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"),
            QStringLiteral("--text"), QStringLiteral("hi"), QStringLiteral("--to-file"), file });
        QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
        QVERIFY2(run.err.contains(QStringLiteral("friends.csv: line 3")), qPrintable(run.err));
        QCOMPARE(m_sandbox.submissions().size(), 2);
        const QJsonArray entries
            = QJsonDocument::fromJson(cli({ QStringLiteral("history"), QStringLiteral("--json") }).out.toUtf8())
                  .array();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0).toObject().value("name").toString(), QStringLiteral("גלית"));
        QCOMPARE(entries.at(1).toObject().value("name").toString(), QStringLiteral("אבי\x1b[31m"));
        const Run listed = cli({ QStringLiteral("history") });
        QVERIFY(listed.out.contains(QStringLiteral("אבי\\x1b[31m")));
        QVERIFY(!listed.out.contains(QChar(0x1b)));
    }

    // --at queues the message without sending it, and says that no desktop program is there to send it.
    void sendAtQueues()
    {
        QVERIFY(cli({ QStringLiteral("refresh") }).exitCode == 0);
        const QString at = QDateTime::currentDateTime().addDays(1).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        const Run run = cli({ QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"),
            QStringLiteral("--to"), QStringLiteral("054-1234567"), QStringLiteral("--text"), QStringLiteral("hi"),
            QStringLiteral("--at"), at });
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(run.out.contains(QStringLiteral("the desktop program is not running")));
        QVERIFY(m_sandbox.submissions().isEmpty());
        const QJsonObject entry
            = QJsonDocument::fromJson(cli({ QStringLiteral("history"), QStringLiteral("--json") }).out.toUtf8())
                  .array()
                  .at(0)
                  .toObject();
        QCOMPARE(entry.value("scheduled").toBool(), true);
        QCOMPARE(entry.value("provider").toString(), QStringLiteral("Kesher"));
        QVERIFY(entry.value("status").isNull());
        const Run past = cli({ QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("Dana"),
            QStringLiteral("--to"), QStringLiteral("054-1234567"), QStringLiteral("--text"), QStringLiteral("hi"),
            QStringLiteral("--at"), QStringLiteral("2020-01-01 10:00") });
        QCOMPARE(past.exitCode, 1);
    }

    // Local definitions come before the service's, with or without a cache, and the listing says where each
    // provider came from.
    void providersShowsLocalFirst()
    {
        const QString folder
            = TestEnv::freshDir(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/zelkora/providers.d"));
        TestEnv::writeFile(folder + QStringLiteral("acme.def"),
            "<#PROVIDER Name=Acme AreaCodes=059 MsgUrl=http://127.0.0.1:9/acme>\n"
            "<#PROVIDER Name=kesher AreaCodes=054 MsgUrl=http://127.0.0.1:9/kesher>");
        TestEnv::writeFile(folder + QStringLiteral("broken.def"), "<#PROVIDER Name=B AreaCodes=051>");
        const QStringList local { QStringLiteral("Acme\t059\tno login\tlocal:acme.def"),
            QStringLiteral("kesher\t054\tno login\tlocal:acme.def") };

        const Run alone = cli({ QStringLiteral("providers") });
        QVERIFY2(alone.exitCode == 0, qPrintable(alone.err));
        QCOMPARE(alone.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), local);
        QVERIFY2(alone.err.contains(
                     QStringLiteral("providers.d/broken.def, line 1: PROVIDER without MsgUrl; the file was skipped")),
            qPrintable(alone.err));

        QVERIFY(cli({ QStringLiteral("refresh") }).exitCode == 0);
        const Run listed = cli({ QStringLiteral("providers") });
        QCOMPARE(listed.exitCode, 0);
        const QStringList cached { QStringLiteral("Sahar\t050,052,053\tlogin, credentials set\tcache"),
            QStringLiteral("Ofek\t055,058\tlogin, credentials missing\tcache"),
            QStringLiteral("Galim\t051\tno login\tcache"), QStringLiteral("Shefa\t056\tno login\tcache"),
            QStringLiteral("Magen\t059\tlogin, credentials missing\tcache") };
        QStringList verdictSites;
        for (const auto& provider : VerdictSites::providers())
            verdictSites << provider.first + QLatin1Char('\t') + provider.second + QLatin1Char('\t')
                    + (provider.first == QLatin1String("Arava") ? QStringLiteral("login, credentials missing")
                                                                : QStringLiteral("no login"))
                    + QStringLiteral("\tcache");
        QCOMPARE(listed.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), local + cached + verdictSites);

        const QJsonArray json
            = QJsonDocument::fromJson(cli({ QStringLiteral("providers"), QStringLiteral("--json") }).out.toUtf8())
                  .array();
        QCOMPARE(json.size(), 7 + verdictSites.size());
        QCOMPARE(json[0][QStringLiteral("origin")].toString(), QStringLiteral("local"));
        QCOMPARE(json[0][QStringLiteral("file")].toString(), folder + QStringLiteral("acme.def"));
        QCOMPARE(json[2][QStringLiteral("origin")].toString(), QStringLiteral("cache"));
        QVERIFY(!json[2].toObject().contains(QStringLiteral("file")));
    }

    // The sandbox's own Sahar definition and area items as a local file, with one text replaced.
    void writeSaharDefinition(const QByteArray& from, const QByteArray& to)
    {
        const QByteArray document = m_sandbox.serviceDocument();
        const int start = document.indexOf("<#PROVIDER Name=Sahar");
        QByteArray tag = document.mid(start, document.indexOf('>', start) + 1 - start);
        QVERIFY(start >= 0 && (from.isEmpty() || tag.contains(from)));
        if (!from.isEmpty())
            tag.replace(from, to);
        const QString folder
            = TestEnv::freshDir(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/zelkora/providers.d"));
        // The area items too: the value the area list is set to comes from them.
        const int areas = document.indexOf("<#AREAS");
        TestEnv::writeFile(folder + QStringLiteral("sahar.def"),
            document.mid(areas, document.indexOf('>', areas) + 1 - areas) + "\n" + tag);
    }

    void checkWalksToTheFilledFormAndSubmitsNothing_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("lastLine");
        QTest::newRow("good definition") << QByteArray() << QByteArray() << 0 << "ok\tresult\t";
        QTest::newRow("wrong field name")
            << QByteArray("PhoneField=number") << QByteArray("PhoneField=phone") << 1 << "FAILED\tnumber field\t";
        QTest::newRow("wrong form") << QByteArray("MsgForm=smsForm") << QByteArray("MsgForm=sendForm") << 1
                                    << "FAILED\tmessage form\t";
        QTest::newRow("wrong address") << QByteArray("/sahar/msg") << QByteArray("/sahar/message") << 1
                                       << "FAILED\tmessage page\t";
    }
    void checkWalksToTheFilledFormAndSubmitsNothing()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(int, exitCode);
        QFETCH(QString, lastLine);
        writeSaharDefinition(from, to);

        const Run check = cli({ QStringLiteral("check"), QStringLiteral("052") });
        const QStringList lines = check.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY2(check.exitCode == exitCode, qPrintable(check.out + check.err));
        QVERIFY2(!lines.isEmpty() && lines.last().startsWith(lastLine), qPrintable(check.out));
        // Every step before the last passed, and the login was walked through in each case.
        for (int i = 0; i + 1 < lines.size(); ++i)
            QVERIFY2(lines[i].startsWith(QLatin1String("ok\t")), qPrintable(lines[i]));
        QVERIFY(check.out.contains(QStringLiteral("ok\tlogin submit\t")));
        QVERIFY(!check.out.contains(SandboxServer::demoPassword()));
        for (const SandboxSubmission& s : m_sandbox.submissions())
            QVERIFY2(!s.path.endsWith(QLatin1String("/send")), "a message was submitted");
    }

    void checkNamesWhatIsMissing_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no provider for the area code") << QStringList { QStringLiteral("check"), QStringLiteral("059") }
                                                       << "FAILED\tprovider\tאין מפעיל לקידומת 059";
        QTest::newRow("no area code") << QStringList { QStringLiteral("check") } << "check needs one area code";
        QTest::newRow("an operand elsewhere")
            << QStringList { QStringLiteral("refresh"), QStringLiteral("052") } << "unknown argument: 052";
    }
    void checkNamesWhatIsMissing()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        writeSaharDefinition(QByteArray(), QByteArray());
        const Run run = cli(args);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2((run.out + run.err).contains(expected), qPrintable(run.out + run.err));
        QVERIFY(m_sandbox.submissions().isEmpty());
    }

    void refreshWithoutFinishedLeavesTheCache()
    {
        m_sandbox.setInitDocument("<#PROVIDERS>\r\n<#PROVIDER Name=X AreaCodes=099>\r\n");
        const Run run = cli({ QStringLiteral("refresh") });
        m_sandbox.resetInitDocument();
        QCOMPARE(run.exitCode, 2);
        QVERIFY(!QFile::exists(qEnvironmentVariable("ZELKORA_APPDIR") + QStringLiteral("/providers.dat")));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
