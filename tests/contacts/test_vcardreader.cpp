#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"

#include <QtTest>

using Contacts::VCard;
using Contacts::VCardReader;
using Contacts::VCardWriter;

class TestVCardReader : public QObject
{
    Q_OBJECT
private slots:
    // Each row a file as some writer leaves it; what the phone book reads from its cards.
    void readsNamesAndMobileNumbers_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("mobiles");
        QTest::addColumn<int>("unreadable");

        QTest::newRow("2.1, quoted-printable windows-1255, bare types")
            << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\n"
                          "N;CHARSET=windows-1255;ENCODING=QUOTED-PRINTABLE:=EB=E4=EF;=E3=F0=E4\r\n"
                          "FN;CHARSET=windows-1255;ENCODING=QUOTED-PRINTABLE:=E3=F0=E4 =EB=E4=EF\r\n"
                          "TEL;HOME;VOICE:03-5555555\r\nTEL;PREF;CELL;VOICE:052-1234567\r\nEND:VCARD\r\n")
            << QStringList { "דנה כהן" } << QStringList { "052-1234567" } << 0;
        QTest::newRow("2.1, UTF-8 quoted-printable with a soft line break, lower case")
            << QByteArray("begin:vcard\nversion:2.1\n"
                          "FN;CHARSET=UTF-8;QUOTED-PRINTABLE:=D7=93=D7=A0=D7=94 =D7=9B=\n=D7=94=D7=9F\n"
                          "tel;cell:050 7654321\nend:vcard\n")
            << QStringList { "דנה כהן" } << QStringList { "050 7654321" } << 0;
        QTest::newRow("3.0, folded and escaped, grouped TEL, LF")
            << QByteArray("BEGIN:VCARD\nVERSION:3.0\nFN:Levi\\, Moshe\n  Jr.\\nthe second\n"
                          "TEL;TYPE=WORK:03-1111111\nitem1.TEL;type=VOICE;type=cell:054-\n 7654321\n"
                          "item1.X-ABLabel:mobile\nEND:VCARD\n")
            << QStringList { "Levi, Moshe Jr.\nthe second" } << QStringList { "054-7654321" } << 0;
        QTest::newRow("4.0, quoted type list, tel: URI, byte-order mark")
            << QByteArray("\xEF\xBB\xBF"
                          "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Noa\r\n"
                          "TEL;VALUE=uri;TYPE=\"voice,cell\":tel:+972-54-1112223\r\nEND:VCARD\r\n")
            << QStringList { "Noa" } << QStringList { "+972-54-1112223" } << 0;
        QTest::newRow("several cards, one without a name, one without a mobile number")
            << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Nameless;;;;\r\nTEL;TYPE=CELL:052-0000000\r\nEND:VCARD\r\n"
                          "\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:Avi\r\nTEL;TYPE=HOME:03-2222222\r\nEND:VCARD\r\n")
            << QStringList { "", "Avi" } << QStringList { "052-0000000", "" } << 0;
        QTest::newRow("a 2.1 photo in base64 ended by a blank line")
            << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Ron\r\nPHOTO;ENCODING=BASE64;TYPE=JPEG:\r\n"
                          " /9j/4AAQSkZJRgABAQ\r\n AAAQABAAD\r\n\r\nTEL;CELL:053-3333333\r\nEND:VCARD\r\n")
            << QStringList { "Ron" } << QStringList { "053-3333333" } << 0;
        QTest::newRow("a card that never ends, then a sound one")
            << QByteArray("BEGIN:VCARD\nVERSION:3.0\nFN:Lost\nBEGIN:VCARD\nVERSION:3.0\nFN:Kept\nEND:VCARD\n")
            << QStringList { "Kept" } << QStringList { "" } << 1;
        QTest::newRow("a line that is no property")
            << QByteArray("BEGIN:VCARD\nVERSION:3.0\nFN:Bad\nthis is no property\nEND:VCARD\n") << QStringList {}
            << QStringList {} << 1;
        QTest::newRow("not a card") << QByteArray("<html>\n</html>\n") << QStringList {} << QStringList {} << 1;
        QTest::newRow("an empty file") << QByteArray() << QStringList {} << QStringList {} << 1;
        QTest::newRow("UTF-16") << QByteArray("\xFF\xFE"
                                              "B\0E\0",
            6) << QStringList {} << QStringList {}
                                << 1;
    }

    void readsNamesAndMobileNumbers()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, names);
        QFETCH(QStringList, mobiles);
        QFETCH(int, unreadable);

        const VCardReader::Result read = VCardReader::read(file);
        QStringList readNames;
        QStringList readMobiles;
        for (const VCard& card : read.cards) {
            readNames << card.fullName();
            readMobiles << card.mobileNumber();
            // A card's range runs from its BEGIN line to its END line's line end.
            QVERIFY(file.mid(card.begin, 5).compare("BEGIN", Qt::CaseInsensitive) == 0);
            QVERIFY(file.mid(card.endLine, card.end - card.endLine).trimmed().compare("END:VCARD", Qt::CaseInsensitive)
                == 0);
        }
        QCOMPARE(readNames, names);
        QCOMPARE(readMobiles, mobiles);
        QCOMPARE(read.unreadable, unreadable);
    }

    // A name written over a card's FN line reads back as written, whatever encoding the old line declared
    // and however it declared it; the line's other parameters stay.
    void aChangedNameReadsBackAsWritten_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("keptParameter");

        const QByteArray v21 = "BEGIN:VCARD\r\nVERSION:2.1\r\n";
        const QByteArray v30 = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
        const QString hebrew = QStringLiteral("דנה \"לוי\", 3; ü\\");
        QTest::newRow("2.1 bare BASE64 in a list") << v21 + "FN;X-A,BASE64,Q:RGFuYQ==\r\n" << hebrew << QByteArray();
        QTest::newRow("2.1 bare BASE64 in a list, ASCII name") << v21 + "FN;BASE64,,5:RGFuYQ==\r\n"
                                                               << QStringLiteral("Avi Cohen") << QByteArray();
        QTest::newRow("2.1 bare QUOTED-PRINTABLE with a character set")
            << v21 + "FN;QUOTED-PRINTABLE;CHARSET=windows-1255;X-KEEP=1:=E3=F0=E4\r\n"
            << hebrew << QByteArray("X-KEEP=1");
        QTest::newRow("3.0 ENCODING=b") << v30 + "FN;ENCODING=b;LANGUAGE=he:RGFuYQ==\r\n"
                                        << hebrew << QByteArray("LANGUAGE=he");
        QTest::newRow("3.0 ENCODING listed after another value") << v30 + "FN;ENCODING=8bit,b:RGFuYQ==\r\n"
                                                                 << QStringLiteral("Avi Cohen") << QByteArray();
    }

    void aChangedNameReadsBackAsWritten()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, name);
        QFETCH(QByteArray, keptParameter);

        const QByteArray file = line + "TEL;CELL:052-1111111\r\nEND:VCARD\r\n";
        const VCardReader::Result read = VCardReader::read(file);
        QCOMPARE(read.cards.size(), 1);
        const VCard& card = read.cards.front();
        const int fn = card.indexOf("FN");
        QVERIFY(fn >= 0);
        const QByteArray written = VCardWriter::changedLine(card, card.properties[fn], name);
        QByteArray changed = file;
        changed.replace(card.properties[fn].begin, card.properties[fn].end - card.properties[fn].begin, written);

        const VCardReader::Result reread = VCardReader::read(changed);
        QCOMPARE(reread.cards.size(), 1);
        QCOMPARE(reread.cards.front().fullName(), name);
        QCOMPARE(reread.cards.front().mobileNumber(), QStringLiteral("052-1111111"));
        if (!keptParameter.isEmpty())
            QVERIFY2(written.contains(";" + keptParameter), written.constData());
    }
};

QTEST_APPLESS_MAIN(TestVCardReader)
#include "test_vcardreader.moc"
