#include "service/ServiceDocument.h"

#include <QtTest>

namespace {
// Each tag handed on, as "NAME|item|item...".
QStringList tagsOf(const QByteArray& text, ProcessResult* result = nullptr)
{
    QStringList tags;
    const ProcessResult r
        = ProcessDocument(ServiceDocument::fromText(text), [&](QLatin1String name, const TagParams& params) {
              tags.append((QStringList { QString(name) } + params.items()).join(QLatin1Char('|')));
          });
    if (result)
        *result = r;
    return tags;
}
} // namespace

class TestServiceDocument : public QObject
{
    Q_OBJECT

private slots:
    void lines_data()
    {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("no final break") << QByteArray("abc") << QByteArray("abc\r\n");
        QTest::newRow("cr, lf, crlf") << QByteArray("a\rb\nc\r\nd") << QByteArray("a\r\nb\r\nc\r\nd\r\n");
        QTest::newRow("lf cr is two breaks") << QByteArray("a\n\rb") << QByteArray("a\r\n\r\nb\r\n");
        QTest::newRow("lf after crlf lines") << QByteArray("a\r\nb\r\nc\nd") << QByteArray("a\r\nb\r\nc\r\nd\r\n");
        QTest::newRow("stops at nul") << QByteArray("ab\r\ncd\0ef\r\n", 10) << QByteArray("ab\r\ncd\r\n");
        QTest::newRow("nul after crlf") << QByteArray("ab\r\n\0cd", 7) << QByteArray("ab\r\n");
    }

    void lines()
    {
        QFETCH(QByteArray, raw);
        QFETCH(QByteArray, text);
        QCOMPARE(ServiceDocument::fromText(raw).text(), text);
    }

    void tags_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QStringList>("tags");
        QTest::newRow("no tag") << QByteArray("plain <b>html</b>") << QStringList();
        QTest::newRow("text around tags")
            << QByteArray("x<#SESSION ID=7>y\r\n<#FINISHED>z") << QStringList { "SESSION|ID=7", "FINISHED" };
        QTest::newRow("blanks around #") << QByteArray("<\r\n\t# SESSION ID=7 >") << QStringList { "SESSION|ID=7" };
        QTest::newRow("no #") << QByteArray("<SESSION ID=7>") << QStringList();
        QTest::newRow("<< hides the tag") << QByteArray("<<#SESSION><#FINISHED>") << QStringList { "FINISHED" };
        QTest::newRow("name after < is skipped whole") << QByteArray("<ab<#SESSION>") << QStringList { "SESSION" };
        QTest::newRow("single-character name") << QByteArray("<#5abc x=1>") << QStringList { "5|abc|x=1" };
        QTest::newRow("name ends at punctuation") << QByteArray("<#_a1,ID=7>") << QStringList { "_a1|,ID=7" };
        QTest::newRow("no > takes the rest")
            << QByteArray("<#SESSION ID=7\r\nmore") << QStringList { "SESSION|ID=7|more" };
        QTest::newRow("first > ends the tag")
            << QByteArray("<#MESSAGE Text=\"a>b\"><#FINISHED>") << QStringList { "MESSAGE|Text=a", "FINISHED" };
        QTest::newRow("tab does not separate") << QByteArray("<#X \t a=1\tb=2 \t>") << QStringList { "X|a=1\tb=2" };
        QTest::newRow("<# at the end") << QByteArray("abc< #  ") << QStringList();
    }

    void tags()
    {
        QFETCH(QByteArray, document);
        QFETCH(QStringList, tags);
        ProcessResult result;
        QCOMPARE(tagsOf(document, &result), tags);
        QVERIFY(result.ok);
    }

    void items_data()
    {
        QTest::addColumn<QByteArray>("params");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("quoted value") << QByteArray("Text=\"New version\" ToVersionBelow=2")
                                      << QStringList { "Text=New version", "ToVersionBelow=2" };
        QTest::newRow("plus") << QByteArray("Text=New+version") << QStringList { "Text=New version" };
        QTest::newRow("quotes go, decoded too") << QByteArray("a=%22Hi%22 b='x'") << QStringList { "a=Hi", "b=x" };
        QTest::newRow("closing quote ends a leading-quote item")
            << QByteArray("\"a b\"c") << QStringList { "a b", "c" };
        QTest::newRow("character after a later closing quote dropped")
            << QByteArray("a=\"b c\"de=f") << QStringList { "a=b c", "e=f" };
        QTest::newRow("unclosed quote runs to the end") << QByteArray("a=\"b c d=e") << QStringList { "a=b c d=e" };
        QTest::newRow("line breaks separate") << QByteArray("a=1\r\nb=2  \n c") << QStringList { "a=1", "b=2", "c" };
        QTest::newRow("escapes") << QByteArray("a=%%41%41%62%3E%2B+") << QStringList { "a=%41Ab>+ " };
        QTest::newRow("escaped = counts") << QByteArray("a%3Db=c") << QStringList { "a=b=c" };
    }

    void items()
    {
        QFETCH(QByteArray, params);
        QFETCH(QStringList, items);
        TagParams p;
        QVERIFY(p.parse(params.constData(), params.constData() + params.size()));
        QCOMPARE(p.items(), items);
    }

    void values_data()
    {
        QTest::addColumn<QByteArray>("params");
        QTest::addColumn<QString>("value");
        QTest::newRow("first wins, any case") << QByteArray("name=x NAME=y") << "x";
        QTest::newRow("item without =") << QByteArray("Name Name2=1") << "";
        QTest::newRow("value keeps =") << QByteArray("NAME=a=b") << "a=b";
        QTest::newRow("escaped name") << QByteArray("Na%6De=z") << "z";
        QTest::newRow("hebrew escapes") << QByteArray("Name=%F9%EC%E5%ED+%f2%e5%ec%ed")
                                        << QString::fromUtf8("שלום עולם");
        QTest::newRow("hebrew bytes") << QByteArray("Name=\"\xE4\xE5\xE3\xF2\xE4 \xF0\xF9\xEC\xE7\xE4\"")
                                      << QString::fromUtf8("הודעה נשלחה");
    }

    void values()
    {
        QFETCH(QByteArray, params);
        QFETCH(QString, value);
        TagParams p;
        QVERIFY(p.parse(params.constData(), params.constData() + params.size()));
        QCOMPARE(p.value(QLatin1String("Name")), value);
    }

    // Processing stops at the failing place; what came before stays done.
    void failures_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QStringList>("tags");
        QTest::addColumn<QString>("error");
        const QByteArray longLine(ServiceDocument::MaxLineLength + 1, 'x');
        const QByteArray longestLine(ServiceDocument::MaxLineLength, 'x');
        QTest::newRow("bad hex") << QByteArray("<#A x=1><#B y=%G1><#C>") << QStringList { "A|x=1" }
                                 << "Invalid %-escape on line 1";
        QTest::newRow("% at the end") << QByteArray("<#A>\r\n\n<#B y=%4>") << QStringList { "A" }
                                      << "Invalid %-escape on line 3";
        QTest::newRow("ignored tag counts too")
            << QByteArray("<#A><#Provider x=%><#C>") << QStringList { "A" } << "Invalid %-escape on line 1";
        QTest::newRow("line too long") << QByteArray("<#A>\r\n" + longLine + "\r\n<#B>") << QStringList { "A" }
                                       << "Line too long on line 2";
        QTest::newRow("line too long after LF breaks")
            << QByteArray("<#A>\n\n" + longLine) << QStringList { "A" } << "Line too long on line 3";
        QTest::newRow("tag running into a long line")
            << QByteArray("<#A>\r\n<#B x=1\r\n" + longLine + ">") << QStringList { "A" } << "Line too long on line 3";
        QTest::newRow("longest line") << QByteArray(longestLine + "\r<#A>") << QStringList { "A" } << "";
    }

    void failures()
    {
        QFETCH(QByteArray, document);
        QFETCH(QStringList, tags);
        QFETCH(QString, error);
        ProcessResult result;
        QCOMPARE(tagsOf(document, &result), tags);
        QCOMPARE(result.ok, error.isEmpty());
        QCOMPARE(result.error, error);
    }
};

QTEST_GUILESS_MAIN(TestServiceDocument)
#include "test_service_document.moc"
