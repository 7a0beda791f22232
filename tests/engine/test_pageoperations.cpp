#include "ScriptedPage.h"
#include "engine/PageOperations.h"

#include <QtTest>

using namespace PageOperations;

namespace {
// Two forms named "contact", an unnamed one at position 2, and links given absolute.
void buildContactPage(ScriptedDocument& doc)
{
    doc.addForm(QStringLiteral("contact"))
        .input(QStringLiteral("user"))
        .input(QStringLiteral("area"), QStringLiteral("SELECT"),
            { QStringLiteral("Pelephone"), QStringLiteral("Cellcom") })
        .input(QStringLiteral("Submit"));
    doc.addForm(QStringLiteral("contact")).input(QStringLiteral("extra"));
    doc.addForm(QString()).input(QStringLiteral("x")).input(QStringLiteral("send")).input(QStringLiteral("submit"));
    doc.addForm(QStringLiteral("nobutton")).input(QStringLiteral("z"));
    doc.addLink(QStringLiteral("http://127.0.0.1/a"));
    doc.addLink(QStringLiteral("http://127.0.0.1/a"));
}

// A form named "1" at position 0 and an unnamed form at position 1.
void buildNumberedPage(ScriptedDocument& doc)
{
    doc.addForm(QStringLiteral("1")).input(QStringLiteral("y"));
    doc.addForm(QString()).input(QStringLiteral("y"));
}
} // namespace

class TestPageOperations : public QObject
{
    Q_OBJECT
private slots:
    void designator_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::newRow("empty") << QString() << -1;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("decimal") << "12" << 12;
        QTest::newRow("leading blanks") << "  7" << 7;
        QTest::newRow("trailing blank") << "7 " << -1;
        QTest::newRow("plus sign") << "+3" << 3;
        QTest::newRow("minus one") << "-1" << -1;
        QTest::newRow("dollar hex") << "$1F" << 31;
        QTest::newRow("0x hex") << "0x1f" << 31;
        QTest::newRow("0X hex") << "0X10" << 16;
        QTest::newRow("name") << "contact" << -1;
        QTest::newRow("digits then letters") << "2x" << -1;
        QTest::newRow("largest") << "2147483647" << 2147483647;
        QTest::newRow("too large") << "2147483648" << -1;
        QTest::newRow("hex wraps") << "$FFFFFFFF" << -1;
    }
    void designator()
    {
        QFETCH(QString, text);
        QFETCH(int, index);
        QCOMPARE(designatorIndex(text), index);
    }

    void operations_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("journal");

        const QString contact = QStringLiteral("contact");
        QTest::newRow("field by form name")
            << contact << "set" << QStringList { "contact", "user", "dana" } << QStringList { "f0.user = dana" };
        QTest::newRow("only the first form of a name is searched")
            << contact << "set" << QStringList { "contact", "extra", "v" } << QStringList {};
        QTest::newRow("form by position")
            << contact << "set" << QStringList { "2", "x", "v" } << QStringList { "f2.x = v" };
        QTest::newRow("form by hex position")
            << contact << "set" << QStringList { "$2", "x", "v" } << QStringList { "f2.x = v" };
        QTest::newRow("position beyond the forms")
            << contact << "set" << QStringList { "9", "x", "v" } << QStringList {};
        QTest::newRow("minus one is no position")
            << contact << "set" << QStringList { "-1", "x", "v" } << QStringList {};
        QTest::newRow("field name case matters")
            << contact << "set" << QStringList { "contact", "USER", "v" } << QStringList {};
        QTest::newRow("form name case matters")
            << contact << "set" << QStringList { "Contact", "user", "v" } << QStringList {};
        QTest::newRow("drop-down by displayed text") << contact << "set" << QStringList { "contact", "area", "Cellcom" }
                                                     << QStringList { "f0.area select Cellcom" };
        QTest::newRow("drop-down text case matters")
            << contact << "set" << QStringList { "contact", "area", "cellcom" } << QStringList {};
        QTest::newRow("name wins over an earlier position")
            << "numbered"
            << "set" << QStringList { "1", "y", "v" } << QStringList { "f0.y = v" };
        QTest::newRow("unnamed form by position 0")
            << "numbered"
            << "set" << QStringList { "0", "y", "v" } << QStringList { "f0.y = v" };

        QTest::newRow("click element") << contact << "click" << QStringList { "2", "send" }
                                       << QStringList { "f2.send click" };
        QTest::newRow("click missing element") << contact << "click" << QStringList { "2", "go" } << QStringList {};
        QTest::newRow("click in a missing form")
            << contact << "click" << QStringList { "none", "send" } << QStringList {};

        QTest::newRow("submit button named Submit") << contact << "submit" << QStringList { "contact", "go" }
                                                    << QStringList { "f0.Submit = go", "f0.Submit click" };
        QTest::newRow("submit button named submit")
            << contact << "submit" << QStringList { "2", "go" } << QStringList { "f2.submit = go", "f2.submit click" };
        QTest::newRow("no submit button: nothing")
            << contact << "submit" << QStringList { "nobutton", "go" } << QStringList {};
        QTest::newRow("empty value submits the form itself")
            << contact << "submit" << QStringList { "nobutton", "" } << QStringList { "f3 submit" };

        QTest::newRow("link by absolute address") << contact << "link" << QStringList { "http://127.0.0.1/a" }
                                                  << QStringList { "link http://127.0.0.1/a click" };
        QTest::newRow("relative address matches no link")
            << contact << "link" << QStringList { "/a" } << QStringList {};
    }
    void operations()
    {
        QFETCH(QString, page);
        QFETCH(QString, operation);
        QFETCH(QStringList, args);
        QFETCH(QStringList, journal);

        ScriptedPage log;
        ScriptedDocument doc(&log);
        if (page == QLatin1String("contact"))
            buildContactPage(doc);
        else
            buildNumberedPage(doc);

        if (operation == QLatin1String("set"))
            SetFormField(doc, args[0], args[1], args[2]);
        else if (operation == QLatin1String("click"))
            ClickFormElement(doc, args[0], args[1]);
        else if (operation == QLatin1String("submit"))
            SubmitForm(doc, args[0], args[1]);
        else if (operation == QLatin1String("link"))
            ClickLink(doc, args[0]);
        QCOMPARE(log.journal, journal);
    }

    void resultText_data()
    {
        QTest::addColumn<bool>("hasBody");
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("outcome");
        QTest::newRow("accepted text") << true << "ההודעה נשלחה בהצלחה" << int(ResultOutcome::Accepted);
        QTest::newRow("rejected text") << true << "ההודעה נדחתה" << int(ResultOutcome::Rejected);
        QTest::newRow("both: accepted wins") << true << "נשלחה ... נדחתה" << int(ResultOutcome::Accepted);
        QTest::newRow("neither") << true << "שגיאה" << int(ResultOutcome::NeitherFound);
        QTest::newRow("other letter case") << true << "Message SENT ok / REJECTED" << int(ResultOutcome::Accepted);
        QTest::newRow("no body (frameset)") << false << QString() << int(ResultOutcome::NotSearchable);
    }
    void resultText()
    {
        QFETCH(bool, hasBody);
        QFETCH(QString, body);
        QFETCH(int, outcome);
        ScriptedPage log;
        ScriptedDocument doc(&log);
        if (hasBody)
            doc.setBody(body);
        const bool latin = body.startsWith(QLatin1String("Message"));
        QCOMPARE(int(FindResultText(doc, latin ? QStringLiteral("sent") : QStringLiteral("נשלחה"),
                     latin ? QStringLiteral("rejected") : QStringLiteral("נדחתה"))),
            outcome);
    }

    // Frames: 0 "main", 1 unnamed holding "inner" and "main", 2 "far" of another site.
    void targetWindow_data()
    {
        QTest::addColumn<QList<int>>("from");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QList<int>>("window");
        const QList<int> top;
        QTest::newRow("no target") << QList<int> { 1, 0 } << "" << true << QList<int> { 1, 0 };
        QTest::newRow("_self") << QList<int> { 0 } << "_self" << true << QList<int> { 0 };
        QTest::newRow("_top") << QList<int> { 1, 0 } << "_top" << true << top;
        QTest::newRow("_parent") << QList<int> { 1, 0 } << "_parent" << true << QList<int> { 1 };
        QTest::newRow("_PARENT of the top window") << top << "_PARENT" << true << top;
        QTest::newRow("a name: the first in document order") << top << "main" << true << QList<int> { 0 };
        QTest::newRow("a name inside a frame") << QList<int> { 0 } << "inner" << true << QList<int> { 1, 0 };
        QTest::newRow("the name of a frame of another site") << top << "far" << true << QList<int> { 2 };
        QTest::newRow("a name in another letter case") << top << "Main" << false << top;
        QTest::newRow("_blank") << top << "_blank" << false << top;
    }
    void targetWindow()
    {
        QFETCH(QList<int>, from);
        QFETCH(QString, target);
        QFETCH(bool, found);
        QFETCH(QList<int>, window);
        ScriptedPage log;
        ScriptedDocument doc(&log);
        doc.addFrame(QStringLiteral("main"));
        ScriptedDocument& middle = doc.addFrame();
        middle.addFrame(QStringLiteral("inner"));
        middle.addFrame(QStringLiteral("main"));
        doc.addDeniedFrame(QStringLiteral("far"));
        const std::optional<QList<int>> got = TargetWindow(doc, from, target);
        QCOMPARE(got.has_value(), found);
        if (found)
            QCOMPARE(*got, window);
    }

    void deniedFrameRaises()
    {
        ScriptedPage log;
        ScriptedDocument doc(&log);
        doc.addDeniedFrame();
        QVERIFY_THROWS_EXCEPTION(BrowserError, doc.frameDocument(0));
        QCOMPARE(doc.frameDocument(1), nullptr);
    }
};

QTEST_GUILESS_MAIN(TestPageOperations)
#include "test_pageoperations.moc"
