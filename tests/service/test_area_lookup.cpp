// The comma-text rules of AreaCodes and DEFS, and the two lookups that rest on them: provider by area code
// and area value by code.
#include "service/TProvider.h"

#include <QtTest>

class TestAreaLookup : public QObject
{
    Q_OBJECT

private slots:
    void commaText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("empty") << "" << QStringList();
        QTest::newRow("blanks only") << " \t\r\n" << QStringList();
        QTest::newRow("commas") << "050,052,053" << QStringList { "050", "052", "053" };
        QTest::newRow("blank after each comma") << "050, 052 ,  053" << QStringList { "050", "052", "053" };
        QTest::newRow("blanks separate too") << "050 052\t053" << QStringList { "050", "052", "053" };
        QTest::newRow("empty item between commas") << "050,,052" << QStringList { "050", "", "052" };
        QTest::newRow("trailing comma") << "050," << QStringList { "050" };
        QTest::newRow("leading comma") << ",050" << QStringList { "", "050" };
        QTest::newRow("quoted item keeps its blanks and commas") << "\"05 0,1\",052" << QStringList { "05 0,1", "052" };
        QTest::newRow("doubled quote inside quotes") << "\"a\"\"b\",c" << QStringList { "a\"b", "c" };
        QTest::newRow("text right after a closing quote") << "\"ab\"cd,e" << QStringList { "ab", "cd", "e" };
        QTest::newRow("quote that never closes") << "\"050,052" << QStringList { "050,052" };
        QTest::newRow("quote inside an unquoted item") << "05\"0,052" << QStringList { "05\"0", "052" };
        QTest::newRow("a NUL ends the text")
            << QString::fromUtf16(u"050,052\u0000,053") << QStringList { "050", "052" };
        QTest::newRow("DEFS items") << "050=Pelephone,052=05 2" << QStringList { "050=Pelephone", "052=05", "2" };
    }
    void commaText()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, items);
        QCOMPARE(parseCommaText(text), items);
    }

    void findProviderByArea_data()
    {
        QTest::addColumn<QStringList>("areaCodes"); // one AreaCodes text per provider, in list order
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("index");
        QTest::newRow("no providers") << QStringList() << "050" << -1;
        QTest::newRow("second provider") << QStringList { "050,052", "054,057" } << "057" << 1;
        QTest::newRow("first of two that list it wins") << QStringList { "054", "050,054" } << "054" << 0;
        QTest::newRow("whole items only: longer code") << QStringList { "050" } << "0501" << -1;
        QTest::newRow("whole items only: shorter code") << QStringList { "0501" } << "050" << -1;
        QTest::newRow("no match inside an item") << QStringList { "1050" } << "050" << -1;
        QTest::newRow("letter case ignored") << QStringList { "abc", "ABD" } << "abd" << 1;
        QTest::newRow("letter case beyond ASCII") << QStringList { "ÄB" } << "äb" << 0;
        QTest::newRow("blank after the comma") << QStringList { "050, 052" } << "052" << 0;
        QTest::newRow("blank-separated") << QStringList { "050 052" } << "052" << 0;
        QTest::newRow("quoted item") << QStringList { "\"05 2\",054" } << "05 2" << 0;
        QTest::newRow("doubled quote") << QStringList { "\"0\"\"5\"" } << "0\"5" << 0;
        QTest::newRow("empty list before a match") << QStringList { "", "050" } << "050" << 1;
        QTest::newRow("empty code matches an empty item") << QStringList { "050", "050,,052" } << "" << 1;
        QTest::newRow("empty code, no empty item") << QStringList { "050,052" } << "" << -1;
    }
    void findProviderByArea()
    {
        QFETCH(QStringList, areaCodes);
        QFETCH(QString, code);
        QFETCH(int, index);
        TProviders providers;
        for (const QString& codes : areaCodes) {
            TProvider p;
            p.AreaCodes = codes;
            providers.append(p);
        }
        QCOMPARE(FindProviderByArea(providers, code), index);
    }

    void areaValue_data()
    {
        QTest::addColumn<QStringList>("defs");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("codeOfFirst");
        QTest::newRow("value is what the site receives") << QStringList { "052=2" } << "052"
                                                         << "2"
                                                         << "052";
        QTest::newRow("first of two items wins") << QStringList { "052=a", "052=b" } << "052"
                                                 << "a"
                                                 << "052";
        QTest::newRow("letter case of the code ignored") << QStringList { "AB=1" } << "ab"
                                                         << "1"
                                                         << "AB";
        QTest::newRow("text after the first '='") << QStringList { "050=a=b" } << "050"
                                                  << "a=b"
                                                  << "050";
        QTest::newRow("empty value") << QStringList { "050=" } << "050"
                                     << ""
                                     << "050";
        QTest::newRow("item without '=' is no code") << QStringList { "050", "050=5" } << "050"
                                                     << "5"
                                                     << "";
        QTest::newRow("code the list lacks") << QStringList { "050=5" } << "052"
                                             << ""
                                             << "050";
        QTest::newRow("whole code only") << QStringList { "0501=1" } << "050"
                                         << ""
                                         << "0501";
        QTest::newRow("empty list") << QStringList() << "050"
                                    << ""
                                    << "";
    }
    void areaValue()
    {
        QFETCH(QStringList, defs);
        QFETCH(QString, code);
        QFETCH(QString, value);
        QFETCH(QString, codeOfFirst);
        QCOMPARE(areaValueFor(defs, code), value);
        QCOMPARE(areaCodeOf(defs.value(0)), codeOfFirst);
    }
};

QTEST_GUILESS_MAIN(TestAreaLookup)
#include "test_area_lookup.moc"
