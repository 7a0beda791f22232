#include "TestEnv.h"
#include "common/ErrorReport.h"
#include "contacts/ImportProgress.h"
#include "contacts/VCardApplication.h"
#include "contacts/VCardContacts.h"
#include "contacts/VCardFolder.h"
#include "phonebook/PhoneBookTable.h"
#include "settings/SmsIni.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace Contacts;
using Records = QList<QStringList>;

namespace {
QByteArray card(const QString& name, const QString& mobile)
{
    QByteArray text = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    if (!name.isNull())
        text += "FN:" + name.toUtf8() + "\r\n";
    text += "EMAIL:someone@example.org\r\n";
    if (!mobile.isNull())
        text += "TEL;TYPE=CELL:" + mobile.toUtf8() + "\r\n";
    return text + "END:VCARD\r\n";
}

// The gauge as the progress window would show it.
class RecordedProgress : public ImportProgress
{
public:
    void setRange(int minimum, int maximum) override
    {
        range = { minimum, maximum };
        values = { minimum };
    }
    void advance() override { values << values.last() + 1; }
    void letMessagesRun() override { }
    void disconnecting() override { disconnectedAt = values.last(); }

    QList<int> range;
    QList<int> values;
    int disconnectedAt = -1;
};

// Name, Area, Phone and Unknown of every row; the card fields are checked where they matter.
Records rowsOf(const PhoneBookTable& table)
{
    Records rows;
    for (int row = 0; row < table.recordCount(); ++row)
        rows << table.recordValues(row).mid(0, 4);
    return rows;
}

QByteArray cardWithUid(const QString& uid, const QString& name, const QString& mobile)
{
    return card(name, mobile).replace("VERSION:3.0\r\n", "VERSION:3.0\r\nUID:" + uid.toUtf8() + "\r\n");
}
} // namespace

class TestVCardContacts : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_folder;

    VCardContacts outlook(const QString& folder = QString()) const
    {
        const QString path = folder.isNull() ? m_folder : folder;
        return VCardContacts([path] { return VCardApplication::create(path); });
    }

    QString fileHolding(const QString& name) const
    {
        for (const QString& file : QDir(m_folder).entryList({ QStringLiteral("*.vcf") }, QDir::Files)) {
            if (TestEnv::readFile(m_folder + file).contains("FN:" + name.toUtf8() + "\r\n"))
                return m_folder + file;
        }
        return QString();
    }

private slots:
    void init()
    {
        m_folder = TestEnv::freshDir(m_dir.filePath(QStringLiteral("contacts")));
        TestEnv::freshConfigDir();
    }

    void theMobileNumberIsSplit_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QStringList>("record");
        QTest::newRow("hyphen") << "052-1234567" << QStringList { "Dana", "052", "1234567", "" };
        QTest::newRow("blank") << "052 1234567" << QStringList { "Dana", "052", "1234567", "" };
        QTest::newRow("international, hyphen at 5")
            << "+972-52-1234567" << QStringList { "Dana", "", "", "+972-52-1234567" };
        QTest::newRow("ten digits") << "0521234567" << QStringList { "Dana", "", "", "0521234567" };
        QTest::newRow("hyphen first") << "-1234567" << QStringList { "Dana", "", "1234567", "" };
        QTest::newRow("eight digits") << "03-12345678" << QStringList { "Dana", "03", "12345678", "" };
        QTest::newRow("digits in groups") << "052-123-4567" << QStringList { "Dana", "052", "1234567", "" };
        QTest::newRow("more digits than the cache holds")
            << "052-1234567890123456" << QStringList { "Dana", "", "", "052-1234567890123456" };
        QTest::newRow("a blank, then a hyphen at 5") << "050 -123" << QStringList { "Dana", "", "", "050 -123" };
        QTest::newRow("longer than the field")
            << QString(60, QLatin1Char('9')) << QStringList { "Dana", "", "", QString(50, QLatin1Char('9')) };
        QTest::newRow("none") << QString() << QStringList { "Dana", "", "", "" };
    }

    void theMobileNumberIsSplit()
    {
        QFETCH(QString, number);
        QFETCH(QStringList, record);

        TestEnv::writeFile(m_folder + QStringLiteral("dana.vcf"), card(QStringLiteral("Dana"), number));
        PhoneBookTable cache(PhoneBookTable::Kind::OutlookCache);
        RecordedProgress progress;
        QCOMPARE(outlook().ImportContacts(cache, progress), 0);
        QCOMPARE(rowsOf(cache), Records { record });
    }

    // A card without a name is no entry; a card that cannot be read is counted; the gauge runs from 0 to
    // the count + 1, one step a contact, and the rows end sorted by name.
    void importFillsTheCache()
    {
        TestEnv::writeFile(m_folder + QStringLiteral("1.vcf"), card(QStringLiteral("Zohar"), QStringLiteral("052-1")));
        TestEnv::writeFile(m_folder + QStringLiteral("2.vcf"), card(QString(), QStringLiteral("052-2222222")));
        TestEnv::writeFile(m_folder + QStringLiteral("3.vcf"),
            card(QStringLiteral("Avi"), QString()) + card(QStringLiteral("Ben"), QStringLiteral("03 3")));
        TestEnv::writeFile(m_folder + QStringLiteral("4.vcf"), "BEGIN:VCARD\r\nFN:Broken\r\n");
        TestEnv::writeFile(m_folder + QStringLiteral("notes.txt"), card(QStringLiteral("Not a card"), QString()));
        PhoneBookTable cache(PhoneBookTable::Kind::OutlookCache);
        QVERIFY(cache.appendRecord({ "From before" }));

        RecordedProgress progress;
        QCOMPARE(outlook().ImportContacts(cache, progress), 1);
        QCOMPARE(
            rowsOf(cache), (Records { { "Avi", "", "", "" }, { "Ben", "03", "3", "" }, { "Zohar", "052", "1", "" } }));
        QCOMPARE(progress.range, (QList<int> { 0, 5 }));
        QCOMPARE(progress.values, (QList<int> { 0, 1, 2, 3, 4, 5 }));
        QCOMPARE(progress.disconnectedAt, 4);
        QVERIFY(cache.isSortedByName());
    }

    // Every card becomes its row, in file order, with its own identity and digest, whichever slice of the
    // reading or batch of the storing it falls in; the gauge counts every card.
    void everyCardOfALargeFolderIsImported_data()
    {
        QTest::addColumn<int>("cards");
        QTest::newRow("none") << 0;
        QTest::newRow("one slice of files") << 256;
        QTest::newRow("a slice and one more") << 257;
        QTest::newRow("more than a batch of rows") << 1001;
    }
    void everyCardOfALargeFolderIsImported()
    {
        QFETCH(int, cards);
        QList<QByteArray> texts;
        for (int i = 0; i < cards; ++i) {
            const QString number = QString::number(i).rightJustified(4, QLatin1Char('0'));
            texts << cardWithUid(
                QStringLiteral("u") + number, QStringLiteral("Name ") + number, QStringLiteral("052-100") + number);
            TestEnv::writeFile(m_folder + number + QStringLiteral(".vcf"), texts.last());
        }
        PhoneBookTable cache(PhoneBookTable::Kind::OutlookCache);
        RecordedProgress progress;
        QCOMPARE(outlook().ImportContacts(cache, progress), 0);

        QCOMPARE(cache.recordCount(), cards);
        QCOMPARE(progress.values.size(), cards + 2);
        QCOMPARE(progress.values.last(), cards + 1);
        for (int row = 0; row < cards; ++row) {
            const QString number = QString::number(row).rightJustified(4, QLatin1Char('0'));
            QCOMPARE(cache.recordValues(row),
                (QStringList { QStringLiteral("Name ") + number, "052", QStringLiteral("100") + number, "",
                    number + QStringLiteral(".vcf\nu") + number,
                    QString::fromLatin1(QCryptographicHash::hash(texts[row], QCryptographicHash::Sha256).toHex()) }));
        }
    }

    // The card a write-back hands back is the card as the next import reads it: the same identity, the new
    // digest.
    void anUpdateHandsBackTheCardAsWritten()
    {
        TestEnv::writeFile(m_folder + QStringLiteral("dana.vcf"),
            cardWithUid(QStringLiteral("u1"), QStringLiteral("Dana"), QStringLiteral("052-1111111")));
        PhoneBookTable cache(PhoneBookTable::Kind::OutlookCache);
        RecordedProgress progress;
        outlook().ImportContacts(cache, progress);
        const VCardContacts::CardRef before { cache.fieldText(0, QStringLiteral("Card")),
            cache.fieldText(0, QStringLiteral("CardDigest")) };

        const VCardContacts::CardRef after
            = outlook().UpdateContact(QStringLiteral("Dana"), QStringLiteral("052"), QStringLiteral("2222222"), before);
        outlook().ImportContacts(cache, progress);
        QCOMPARE(after.entryId, cache.fieldText(0, QStringLiteral("Card")));
        QCOMPARE(after.digest, cache.fieldText(0, QStringLiteral("CardDigest")));
        QVERIFY(after.digest != before.digest);
    }

    // Where the address book is, and the two messages of a connection that fails.
    void connecting_data()
    {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QString>("error");
        const QString home = QDir::homePath();
        const QString data = qEnvironmentVariable("XDG_DATA_HOME");
        QTest::newRow("the default") << "" << data + "/contacts" << true << "";
        QTest::newRow("set in SMS.INI") << "~/book/" << home + "/book" << true << "";
        QTest::newRow("no folder") << "~/nothing"
                                   << "" << true << "נכשל הקישור לאנשי קשר מפנקס הכתובות";
        QTest::newRow("a folder that cannot be read")
            << "~/locked" << home + "/locked" << false << "הקישור לתקיית אנשי קשר נכשל";
    }

    void connecting()
    {
        QFETCH(QString, configured);
        QFETCH(QString, folder);
        QFETCH(bool, readable);
        QFETCH(QString, error);
        if (!readable && ::geteuid() == 0)
            QSKIP("root reads every folder");

        if (!configured.isEmpty())
            SmsIni().WriteString(SmsIni::General, SmsIni::ContactsFolderKey, configured);
        if (!folder.isEmpty()) {
            TestEnv::freshDir(folder);
            QCOMPARE(VCardApplication::folderPath(), folder);
        }
        if (!readable)
            QVERIFY(QFile::setPermissions(folder, QFile::WriteOwner));
        VCardContacts contacts = outlook(VCardApplication::folderPath());
        QString message;
        try {
            contacts.ConnectOutlook();
        } catch (const ZelkoraError& failure) {
            message = failure.message();
        }
        if (!readable)
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // The connection's own message first, then the folder it looked for.
        QCOMPARE(message.section(QLatin1Char('\n'), 0, 0), error);
        if (!error.isEmpty())
            QVERIFY2(message.contains(VCardApplication::folderPath()), qPrintable(message));
        QCOMPARE(contacts.isConnected(), error.isEmpty());
    }

    void writingBack()
    {
        const QByteArray unknown = card(QStringLiteral("Dana"), QStringLiteral("+972-52-1111111"));
        TestEnv::writeFile(m_folder + QStringLiteral("dana.vcf"), unknown);

        QCOMPARE(outlook().CreateContact(QStringLiteral("Dana"), QStringLiteral("052"), QStringLiteral("2222222")),
            VCardContacts::Creation::AlreadyExists);
        QCOMPARE(QDir(m_folder).entryList(QDir::Files).size(), 1);
        QCOMPARE(
            outlook().CreateContact(QStringLiteral("Gil"), QString(), QString()), VCardContacts::Creation::Created);
        QVERIFY(TestEnv::readFile(fileHolding(QStringLiteral("Gil"))).contains("\r\nTEL;TYPE=CELL:-\r\n"));
        // The update that follows a creation writes the number by its own rule.
        outlook().UpdateContact(QStringLiteral("Gil"), QString(), QString(), {});
        QVERIFY(!TestEnv::readFile(fileHolding(QStringLiteral("Gil"))).contains("TEL"));

        // Saved without a number, an entry whose number was never split keeps it.
        outlook().UpdateContact(QStringLiteral("Dana"), QString(), QString(), {});
        QCOMPARE(TestEnv::readFile(m_folder + QStringLiteral("dana.vcf")), unknown);
        outlook().UpdateContact(QStringLiteral("Dana"), QStringLiteral("052"), QStringLiteral("3333333"), {});
        QCOMPARE(TestEnv::readFile(m_folder + QStringLiteral("dana.vcf")),
            card(QStringLiteral("Dana"), QStringLiteral("052-3333333")));

        QVERIFY_THROWS_EXCEPTION(
            ZelkoraError, outlook().UpdateContact(QStringLiteral("Nobody"), QString(), QString(), {}));
        QVERIFY_THROWS_EXCEPTION(ZelkoraError, outlook().DeleteContact(QStringLiteral("Nobody"), {}));
        outlook().DeleteContact(QStringLiteral("Dana"), {});
        QVERIFY(!QFile::exists(m_folder + QStringLiteral("dana.vcf")));
    }

    // A row's write-back acts on the card it came from: of two contacts named Dana, the second row changes or
    // deletes the second card. A card that can no longer be told apart, or that another program changed since
    // the import, is refused and left as it is.
    void writeBackActsOnTheRowsOwnCard_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("remove");
        QTest::addColumn<bool>("refused");
        QTest::newRow("two cards with UIDs, update") << "uids" << false << false;
        QTest::newRow("two cards with UIDs, delete") << "uids" << true << false;
        QTest::newRow("two cards in one file without UIDs") << "one file" << false << true;
        QTest::newRow("changed behind the program's back") << "changed" << false << true;
        QTest::newRow("deleted after a change behind its back") << "changed" << true << true;
    }
    void writeBackActsOnTheRowsOwnCard()
    {
        QFETCH(QString, layout);
        QFETCH(bool, remove);
        QFETCH(bool, refused);
        const QString dana = QStringLiteral("Dana");
        const QString first = m_folder + QStringLiteral("a.vcf");
        const QString second = m_folder + QStringLiteral("b.vcf");
        if (layout == QLatin1String("one file")) {
            TestEnv::writeFile(
                first, card(dana, QStringLiteral("052-1111111")) + card(dana, QStringLiteral("052-2222222")));
        } else {
            TestEnv::writeFile(first, cardWithUid(QStringLiteral("u1"), dana, QStringLiteral("052-1111111")));
            TestEnv::writeFile(second, cardWithUid(QStringLiteral("u2"), dana, QStringLiteral("052-2222222")));
        }
        PhoneBookTable cache(PhoneBookTable::Kind::OutlookCache);
        RecordedProgress progress;
        outlook().ImportContacts(cache, progress);
        QCOMPARE(cache.recordCount(), 2);
        const int row = cache.fieldText(0, QStringLiteral("Phone")) == QLatin1String("2222222") ? 0 : 1;
        const VCardContacts::CardRef ref { cache.fieldText(row, QStringLiteral("Card")),
            cache.fieldText(row, QStringLiteral("CardDigest")) };
        QVERIFY(!ref.entryId.isEmpty() && !ref.digest.isEmpty());
        if (layout == QLatin1String("changed")) // a sync tool's new number for the second Dana
            TestEnv::writeFile(second, cardWithUid(QStringLiteral("u2"), dana, QStringLiteral("052-7777777")));
        const QByteArray firstBefore = TestEnv::readFile(first);
        const QByteArray secondBefore = TestEnv::readFile(second);

        bool wasRefused = false;
        try {
            if (remove)
                outlook().DeleteContact(dana, ref);
            else
                outlook().UpdateContact(dana, QStringLiteral("052"), QStringLiteral("3333333"), ref);
        } catch (const CardChangedError&) {
            wasRefused = true;
        }
        QCOMPARE(wasRefused, refused);
        QCOMPARE(TestEnv::readFile(first), firstBefore);
        if (refused)
            QCOMPARE(TestEnv::readFile(second), secondBefore);
        else if (remove)
            QVERIFY(!QFile::exists(second));
        else
            QCOMPARE(TestEnv::readFile(second), cardWithUid(QStringLiteral("u2"), dana, QStringLiteral("052-3333333")));
    }

    // An entry saved without a change keeps its card byte for byte: no digit is lost, no spelling changed.
    void unchangedNumbersStayAsWritten_data()
    {
        QTest::addColumn<QString>("number");
        QTest::newRow("digits in groups") << "052-123-4567";
        QTest::newRow("eight digits") << "03-12345678";
        QTest::newRow("plain") << "052-1234567";
    }
    void unchangedNumbersStayAsWritten()
    {
        QFETCH(QString, number);
        const QByteArray text = cardWithUid(QStringLiteral("u1"), QStringLiteral("Dana"), number);
        TestEnv::writeFile(m_folder + QStringLiteral("dana.vcf"), text);
        PhoneBookTable cache(PhoneBookTable::Kind::OutlookCache);
        RecordedProgress progress;
        outlook().ImportContacts(cache, progress);
        const VCardContacts::CardRef ref { cache.fieldText(0, QStringLiteral("Card")),
            cache.fieldText(0, QStringLiteral("CardDigest")) };
        const VCardContacts::CardRef after = outlook().UpdateContact(QStringLiteral("Dana"),
            cache.fieldText(0, QStringLiteral("Area")), cache.fieldText(0, QStringLiteral("Phone")), ref);
        QCOMPARE(TestEnv::readFile(m_folder + QStringLiteral("dana.vcf")), text);
        QCOMPARE(after.digest, ref.digest);
    }
};

QTEST_GUILESS_MAIN(TestVCardContacts)
#include "test_vcardcontacts.moc"
