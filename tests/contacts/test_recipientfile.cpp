#include "TestEnv.h"
#include "contacts/RecipientFile.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Contacts;

class TestRecipientFile : public QObject
{
    Q_OBJECT
private slots:
    // Each row a file as some program leaves it; recipients as "line name=area-phone".
    void readsRecipientsAndNamesBadLines_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content"); // null: the file is not written
        QTest::addColumn<QStringList>("recipients");
        QTest::addColumn<QStringList>("problems");
        QTest::addColumn<QString>("error"); // text the error holds; empty when there is none

        QTest::newRow("vCard 2.1, quoted-printable UTF-8 name, TEL;CELL after another TEL")
            << "a.vcf"
            << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nN:Other;Name\r\n"
                          "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D7=93=D7=A0=D7=94 =D7=9B=\r\n=D7=94=D7=9F\r\n"
                          "TEL;HOME:03-5555555\r\nTEL;CELL:052-1234567\r\nEND:VCARD\r\n")
            << QStringList { "1 דנה כהן=052-1234567" } << QStringList {} << QString();
        QTest::newRow("vCard 3.0: cell among TELs, first TEL without CELL, N only, no number")
            << "b.VCF"
            << QByteArray("BEGIN:VCARD\nVERSION:3.0\nFN:Avi\nTEL;TYPE=WORK:03-1111111\n"
                          "TEL;TYPE=cell,voice:+972 54-765-4321\nEND:VCARD\n"
                          "BEGIN:VCARD\nVERSION:3.0\nN:Levi;Noa;;;\nTEL;TYPE=HOME:02 6543210\n"
                          "TEL;TYPE=WORK:03-2222222\nEND:VCARD\n"
                          "\nBEGIN:VCARD\nVERSION:3.0\nFN:Nobody\nEMAIL:n@example.org\nEND:VCARD\n")
            << QStringList { "1 Avi=054-7654321", "7 Noa Levi=02-6543210" }
            << QStringList { "line 14: no phone number" } << QString();
        QTest::newRow("vCard 4.0 with a byte-order mark: quoted type, tel: URI, a broken card, a short number")
            << "c.vcf"
            << QByteArray("\xEF\xBB\xBF"
                          "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Noa\r\n"
                          "TEL;VALUE=uri;TYPE=\"cell\":tel:+972-52-1112223\r\nEND:VCARD\r\n"
                          "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Bad\r\nthis is no property\r\nEND:VCARD\r\n"
                          "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Short\r\nTEL;TYPE=cell:12345\r\nEND:VCARD\r\n")
            << QStringList { "1 Noa=052-1112223" }
            << QStringList { "line 6: the card could not be read", "line 11: \"12345\" is not a mobile number" }
            << QString();
        QTest::newRow("CSV, comma, Hebrew header, byte-order mark, quoted fields over two lines")
            << "d.csv"
            << QByteArray("\xEF\xBB\xBF שם מלא ,טלפון,הערה\r\n\"כהן, דנה\",052-1234567,x\r\n\r\n"
                          "\"Avi \"\"the boss\"\"\",+972 52-123-4567\r\nRina,,\r\nYossi,12345\r\n"
                          "\"Multi\nline\",0541234567\nTal,03-555-5555")
            << QStringList { "2 כהן, דנה=052-1234567", "4 Avi \"the boss\"=052-1234567", "7 Multi line=054-1234567",
                   "9 Tal=03-5555555" }
            << QStringList { "line 5: no phone number", "line 6: \"12345\" is not a mobile number" } << QString();
        QTest::newRow("CSV, semicolons outnumber a comma, no header")
            << "e.csv" << QByteArray("Cohen, Dana;0521234567;x\n\"Levi; Avi\";(052) 765-4321\n")
            << QStringList { "1 Cohen, Dana=052-1234567", "2 Levi; Avi=052-7654321" } << QStringList {} << QString();
        QTest::newRow("CSV, separate area column")
            << "f.csv" << QByteArray(" Name ,AREA,Mobile\nDana,052,1234567\nAvi,,054-7654321\nRon,052,\n")
            << QStringList { "2 Dana=052-1234567", "3 Avi=054-7654321" } << QStringList { "line 4: no phone number" }
            << QString();
        QTest::newRow("CSV header without a number column")
            << "g.csv" << QByteArray("name,email\nDana,d@example.org\n") << QStringList {} << QStringList {}
            << "no phone number column";
        QTest::newRow("unknown extension") << "h.txt" << QByteArray("Dana,052-1234567\n") << QStringList {}
                                           << QStringList {} << "h.txt is neither a .vcf nor a .csv file";
        QTest::newRow("missing file") << "missing.csv" << QByteArray() << QStringList {} << QStringList {}
                                      << "cannot read";
        QTest::newRow("no card at all") << "i.vcf" << QByteArray("<html>\n</html>\n") << QStringList {}
                                        << QStringList {} << "holds no vCard";
    }

    void readsRecipientsAndNamesBadLines()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        QFETCH(QStringList, recipients);
        QFETCH(QStringList, problems);
        QFETCH(QString, error);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(fileName);
        if (!content.isNull())
            TestEnv::writeFile(path, content);

        const RecipientFileResult read = RecipientFile::read(path);
        QStringList readRecipients;
        for (const FileRecipient& recipient : read.recipients)
            readRecipients << QStringLiteral("%1 %2=%3-%4")
                                  .arg(recipient.line)
                                  .arg(recipient.name, recipient.area, recipient.phone);
        QCOMPARE(readRecipients, recipients);
        QCOMPARE(read.problems, problems);
        if (error.isEmpty())
            QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
        else
            QVERIFY2(read.error.contains(error), qPrintable(read.error));
    }
};

QTEST_APPLESS_MAIN(TestRecipientFile)
#include "test_recipientfile.moc"
