#include "TestEnv.h"
#include "contacts/VCardContacts.h"
#include "contacts/VCardApplication.h"
#include "contacts/VCardFolder.h"
#include "contacts/VCardReader.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace Contacts;

namespace {
const QByteArray Evolution = "BEGIN:VCARD\r\n"
                             "VERSION:3.0\r\n"
                             "UID:pas-id-5F2A\r\n"
                             "FN:Dana Levi\r\n"
                             "N:Levi;Dana;;;\r\n"
                             "EMAIL;TYPE=INTERNET;X-EVOLUTION-UI-SLOT=1:dana@example.org\r\n"
                             "ADR;TYPE=HOME:;;Herzl 1;Tel Aviv;;;Israel\r\n"
                             "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQEASABIAAD/2wBDAP/////////////////\r\n"
                             " ////////////////////////////////////////////////////wgALCAABAAEBAREA/8QAF\r\n"
                             " BABAAAAAAAAAAAAAAAAAAAAAP/aAAgBAQABPxA=\r\n"
                             "TEL;TYPE=CELL;X-EVOLUTION-E164=0521111111:052-1111111\r\n"
                             "X-EVOLUTION-FILE-AS:Levi\\, Dana\r\n"
                             "END:VCARD\r\n";
const QByteArray Outlook21 = "BEGIN:VCARD\n"
                             "VERSION:2.1\n"
                             "N;CHARSET=windows-1255;ENCODING=QUOTED-PRINTABLE:=EB=E4=EF;=E3=F0=E4\n"
                             "FN:Dana Levi\n"
                             "TEL;WORK;VOICE:03-5555555\n"
                             "TEL;CELL;VOICE:052-1111111\n"
                             "X-MS-OL-DEFAULT-POSTAL-ADDRESS:0\n"
                             "EMAIL;PREF;INTERNET:dana@example.org\n"
                             "END:VCARD\n";
const QByteArray Apple40 = "BEGIN:VCARD\r\n"
                           "VERSION:4.0\r\n"
                           "FN:Dana Levi\r\n"
                           "item1.TEL;VALUE=uri;TYPE=\"cell,voice\":tel:+972-52-1111111\r\n"
                           "item1.X-ABLabel:_$!<Mobile>!$_\r\n"
                           "END:VCARD\r\n";
const QByteArray NoMobile = "BEGIN:VCARD\nVERSION:3.0\nFN:Dana Levi\nTEL;TYPE=HOME:03-5555555\nEND:VCARD\n";
const QByteArray Avi = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Avi\r\nTEL;TYPE=CELL:050-1000000\r\nEND:VCARD\r\n";
const QByteArray Noa = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Noa\r\nTEL;TYPE=CELL:050-3000000\r\nEND:VCARD\r\n";

std::unique_ptr<ItemCollection> itemsOf(Application& outlook)
{
    return outlook.getNameSpace(QStringLiteral("MAPI"))->getDefaultFolder(olFolderContacts)->items();
}

std::unique_ptr<ContactItem> contactNamed(Application& outlook, const QString& name)
{
    return itemsOf(outlook)->find(VCardContacts::restrictionText(name));
}
} // namespace

class TestVCardFolder : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_folder;

    QString cardPath(const char* name) const { return m_folder + QLatin1String(name); }

private slots:
    void init() { m_folder = TestEnv::freshDir(m_dir.filePath(QStringLiteral("contacts"))); }

    // Only the line of the number changes; every other byte of the file stays, whatever wrote it.
    void savingChangesOnlyTheNumberLine_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("newLine");

        QTest::newRow("3.0 with a photo and unknown X- properties")
            << Evolution << "052-1234567" << QByteArray("TEL;TYPE=CELL;X-EVOLUTION-E164=0521111111:052-1111111\r\n")
            << QByteArray("TEL;TYPE=CELL;X-EVOLUTION-E164=0521111111:052-1234567\r\n");
        QTest::newRow("2.1 with LF line ends")
            << Outlook21 << "054-2222222" << QByteArray("TEL;CELL;VOICE:052-1111111\n")
            << QByteArray("TEL;CELL;VOICE:054-2222222\n");
        QTest::newRow("2.1, a number that is not ASCII")
            << Outlook21 << "052-קבלה" << QByteArray("TEL;CELL;VOICE:052-1111111\n")
            << QByteArray("TEL;CELL;VOICE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:052-=D7=A7=D7=91=D7=\n=9C=D7=94\n");
        QTest::newRow("4.0 tel: URI in a group")
            << Apple40 << "052-1234567" << QByteArray("item1.TEL;VALUE=uri;TYPE=\"cell,voice\":tel:+972-52-1111111\r\n")
            << QByteArray("item1.TEL;VALUE=uri;TYPE=\"cell,voice\":tel:052-1234567\r\n");
        QTest::newRow("3.0 without a mobile number: added before END")
            << NoMobile << "052-1234567" << QByteArray("END:VCARD\n")
            << QByteArray("TEL;TYPE=CELL:052-1234567\nEND:VCARD\n");
        QTest::newRow("an empty number removes the line")
            << Evolution << "" << QByteArray("TEL;TYPE=CELL;X-EVOLUTION-E164=0521111111:052-1111111\r\n")
            << QByteArray();
        QTest::newRow("the middle card of three")
            << Avi + Evolution + Noa << "052-1234567" << QByteArray("X-EVOLUTION-E164=0521111111:052-1111111")
            << QByteArray("X-EVOLUTION-E164=0521111111:052-1234567");
    }

    void savingChangesOnlyTheNumberLine()
    {
        QFETCH(QByteArray, original);
        QFETCH(QString, number);
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, newLine);

        TestEnv::writeFile(cardPath("dana.vcf"), original);
        auto outlook = VCardApplication::create(m_folder);
        auto dana = contactNamed(*outlook, QStringLiteral("Dana Levi"));
        QVERIFY(dana);
        dana->setMobileTelephoneNumber(number);
        dana->save();

        QVERIFY(original.count(line) == 1);
        QCOMPARE(TestEnv::readFile(cardPath("dana.vcf")), QByteArray(original).replace(line, newLine));
        QCOMPARE(
            contactNamed(*VCardApplication::create(m_folder), QStringLiteral("Dana Levi"))->mobileTelephoneNumber(),
            number);
    }

    void aNewContactGetsAUidAndAFileNamedAfterIt()
    {
        // A name with every character a vCard escapes, and a quotation mark that ends the restriction text.
        const QString name = QStringLiteral("כהן, דנה; \"הגדולה\" \\ מת\"א");
        auto outlook = VCardApplication::create(m_folder);
        auto contact = outlook->createItem(olContactItem);
        contact->setFullName(name);
        contact->setMobileTelephoneNumber(QStringLiteral("052-1234567"));
        contact->save();

        const QStringList files = QDir(m_folder).entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        const VCardReader::Result read = VCardReader::read(TestEnv::readFile(m_folder + files[0]));
        QCOMPARE(read.cards.size(), 1);
        QCOMPARE(read.cards[0].uid() + QStringLiteral(".vcf"), files[0]);
        QVERIFY(!QUuid::fromString(read.cards[0].uid()).isNull());

        auto found = contactNamed(*VCardApplication::create(m_folder), name);
        QVERIFY(found);
        QCOMPARE(found->fullName(), name);
        QCOMPARE(found->mobileTelephoneNumber(), QStringLiteral("052-1234567"));
    }

    // Another program writes or deletes the card between the read and the write: nothing is written.
    void aCardChangedMeanwhileIsLeftAsItIs_data()
    {
        QTest::addColumn<bool>("deleting");
        QTest::addColumn<bool>("removedMeanwhile");
        QTest::newRow("save over a rewritten card") << false << false;
        QTest::newRow("save over a removed card") << false << true;
        QTest::newRow("delete of a rewritten card") << true << false;
        QTest::newRow("delete of a removed card") << true << true;
    }

    void aCardChangedMeanwhileIsLeftAsItIs()
    {
        QFETCH(bool, deleting);
        QFETCH(bool, removedMeanwhile);

        TestEnv::writeFile(cardPath("dana.vcf"), Evolution);
        auto outlook = VCardApplication::create(m_folder);
        auto dana = contactNamed(*outlook, QStringLiteral("Dana Levi"));
        QVERIFY(dana);

        const QByteArray theirs = QByteArray(Evolution).replace("dana@example.org", "dana@example.net");
        if (removedMeanwhile)
            QVERIFY(QFile::remove(cardPath("dana.vcf")));
        else
            TestEnv::writeFile(cardPath("dana.vcf"), theirs);
        dana->setMobileTelephoneNumber(QStringLiteral("052-1234567"));
        QVERIFY_THROWS_EXCEPTION(CardChangedError, deleting ? dana->remove() : dana->save());

        QCOMPARE(QFileInfo::exists(cardPath("dana.vcf")), !removedMeanwhile);
        if (!removedMeanwhile)
            QCOMPARE(TestEnv::readFile(cardPath("dana.vcf")), theirs);
        QCOMPARE(QDir(m_folder).entryList(QDir::Files | QDir::Hidden).size(), removedMeanwhile ? 0 : 1);
    }

    void deletingRemovesOnlyTheCard()
    {
        TestEnv::writeFile(cardPath("dana.vcf"), Evolution);
        TestEnv::writeFile(cardPath("three.vcf"), Avi + NoMobile + Noa);
        auto outlook = VCardApplication::create(m_folder);
        QCOMPARE(itemsOf(*outlook)->count(), 4);

        contactNamed(*outlook, QStringLiteral("Dana Levi"))->remove();
        QVERIFY(!QFileInfo::exists(cardPath("dana.vcf")));
        contactNamed(*outlook, QStringLiteral("Dana Levi"))->remove();
        QCOMPARE(TestEnv::readFile(cardPath("three.vcf")), Avi + Noa);
        contactNamed(*outlook, QStringLiteral("Noa"))->remove();
        QCOMPARE(TestEnv::readFile(cardPath("three.vcf")), Avi);
        QVERIFY(!contactNamed(*outlook, QStringLiteral("Dana Levi")));
    }
};

QTEST_GUILESS_MAIN(TestVCardFolder)
#include "test_vcardfolder.moc"
