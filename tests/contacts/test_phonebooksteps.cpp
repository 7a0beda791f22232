#include "ModalSteps.h"
#include "ScriptedPrompt.h"
#include "TestEnv.h"
#include "common/ErrorReport.h"
#include "common/UserPrompt.h"
#include "contacts/PhoneBookSteps.h"
#include "phonebook/PhoneBookTable.h"
#include "phonebook/TDetailsForm.h"
#include "phonebook/TPhoneBookForm.h"
#include "phonebook/TProgressForm.h"
#include "settings/SmsIni.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlTableModel>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

using Records = QList<QStringList>;

namespace {
const QByteArray Dana = "BEGIN:VCARD\r\n"
                        "VERSION:3.0\r\n"
                        "UID:pas-id-5F2A\r\n"
                        "FN:Dana\r\n"
                        "EMAIL;TYPE=INTERNET:dana@example.org\r\n"
                        "ADR;TYPE=HOME:;;Herzl 1;Tel Aviv;;;Israel\r\n"
                        "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQEASABIAAD/2wBDAP/////////////////\r\n"
                        " BABAAAAAAAAAAAAAAAAAAAAAP/aAAgBAQABPxA=\r\n"
                        "TEL;TYPE=CELL:+972-52-1111111\r\n"
                        "X-UNKNOWN;X-PARAM=\"a:b\":kept as it is\r\n"
                        "END:VCARD\r\n";
const QByteArray Avi = "BEGIN:VCARD\nVERSION:2.1\nFN:Avi\nTEL;CELL:050-1000000\nEND:VCARD\n";
const QByteArray Nameless = "BEGIN:VCARD\r\nVERSION:4.0\r\nTEL;TYPE=cell:054-0000000\r\nEND:VCARD\r\n";

// Name, Area, Phone and Unknown of every row.
Records rowsOf(const PhoneBookTable& table)
{
    Records rows;
    for (int row = 0; row < table.recordCount(); ++row)
        rows << table.recordValues(row).mid(0, 4);
    return rows;
}

// What the progress window showed: its gauge's values, and whether the "disconnecting" text was up.
class ProgressWatch : public QObject
{
public:
    ProgressWatch() { qApp->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* form = qobject_cast<TProgressForm*>(watched);
        if (form && event->type() == QEvent::Show) {
            title = form->windowTitle();
            size = form->size();
            values = { form->gauge->Progress() };
            ticksBefore = ticks;
            connect(form->gauge, &TGauge::progressChanged, this, [this, form](int value) {
                values << value;
                maximum = form->gauge->MaxValue();
                endShown = form->messageLabel->isVisible() && !form->gauge->ShowText();
                ticksDuringImport = ticks - ticksBefore;
            });
        }
        return false;
    }

    QString title;
    QSize size;
    QList<int> values;
    int maximum = -1;
    bool endShown = false;
    int ticks = 0; // of a timer the test runs
    int ticksBefore = 0;
    int ticksDuringImport = 0;
};
} // namespace

class TestPhoneBookSteps : public QObject
{
    Q_OBJECT
    QString m_folder;
    std::unique_ptr<PhoneBookTable> m_phoneBook;
    std::unique_ptr<PhoneBookTable> m_cache;
    std::unique_ptr<ScriptedPrompt> m_prompt;
    QStringList m_errors;

    std::unique_ptr<TPhoneBookForm> openForm(TPhoneBookForm::OutlookSteps steps = Contacts::phoneBookSteps())
    {
        auto form = std::make_unique<TPhoneBookForm>(
            m_phoneBook.get(), m_cache.get(), QStringList { "052=0522" }, std::move(steps));
        form->show();
        QCoreApplication::processEvents(); // the first activation imports
        return form;
    }

    void selectRow(TPhoneBookForm& form, const QString& name)
    {
        for (int row = 0; row < form.grid->model()->rowCount(); ++row) {
            if (form.grid->model()->index(row, 0).data().toString() == name)
                form.grid->setCurrentIndex(form.grid->model()->index(row, 0));
        }
    }

    QString path(const char* file) const { return m_folder + QLatin1String(file); }

private slots:
    void init()
    {
        TestEnv::freshAppDir();
        TestEnv::freshConfigDir();
        m_folder = TestEnv::freshDir(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/contacts"));
        TestEnv::writeFile(path("dana.vcf"), Dana);
        TestEnv::writeFile(path("avi.vcf"), Avi);
        TestEnv::writeFile(path("nameless.vcf"), Nameless);
        TestEnv::writeFile(path("broken.vcf"), "BEGIN:VCARD\r\nFN:Broken\r\n");
        SmsIni().setUseOutlook(true);
        m_phoneBook = std::make_unique<PhoneBookTable>(PhoneBookTable::Kind::PhoneBook);
        m_cache = std::make_unique<PhoneBookTable>(PhoneBookTable::Kind::OutlookCache);
        m_prompt = std::make_unique<ScriptedPrompt>();
        m_errors.clear();
        ErrorReport::setHandler([this](const QString& text) { m_errors << text; });
    }

    void cleanup()
    {
        ErrorReport::setHandler({});
        m_prompt.reset();
    }

    void theImportShowsItsProgressAndWhatItSkipped()
    {
        ProgressWatch watch;
        QTimer ticking;
        connect(&ticking, &QTimer::timeout, [&watch] { ++watch.ticks; });
        ticking.start(0);
        auto form = openForm();

        QCOMPARE(
            rowsOf(*m_cache), (Records { { "Avi", "050", "1000000", "" }, { "Dana", "", "", "+972-52-1111111" } }));
        QCOMPARE(watch.title, QStringLiteral("טעינת אנשי קשר מפנקס הכתובות"));
        QCOMPARE(watch.size, QSize(270, 39));
        QCOMPARE(watch.values, (QList<int> { 0, 1, 2, 3, 4 }));
        QCOMPARE(watch.maximum, 4);
        QVERIFY(watch.endShown);
        // The event loop ran between the contacts.
        QVERIFY(watch.ticksDuringImport > 0);
        QVERIFY(!form->findChild<TProgressForm*>());
        QCOMPARE(m_prompt->told, QStringList { "כרטיסי אנשי קשר שלא ניתן היה לקרוא ולכן לא נטענו: 1" });
        QVERIFY(m_errors.isEmpty());
    }

    void editingWritesTheNumberBack_data()
    {
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("phone");
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QByteArray>("card");
        QTest::newRow("a number given") << "052"
                                        << "1234567" << QStringList { "Dana", "052", "1234567", "" }
                                        << QByteArray(Dana).replace("+972-52-1111111", "052-1234567");
        QTest::newRow("none given") << ""
                                    << "" << QStringList { "Dana", "", "", "+972-52-1111111" } << Dana;
    }

    void editingWritesTheNumberBack()
    {
        QFETCH(QString, area);
        QFETCH(QString, phone);
        QFETCH(QStringList, row);
        QFETCH(QByteArray, card);

        auto form = openForm();
        selectRow(*form, QStringLiteral("Dana"));
        bool nameLocked = false;
        whenModal<TDetailsForm>([&](TDetailsForm& details) {
            nameLocked = !details.nameEdit->isEnabled();
            details.areaCodeBox->setEditText(area);
            details.numberEdit->setText(phone);
            details.okButton->click();
        });
        form->editButton->click();

        QVERIFY(nameLocked);
        QVERIFY(m_errors.isEmpty());
        QCOMPARE(rowsOf(*m_cache).value(1), row);
        QCOMPARE(TestEnv::readFile(path("dana.vcf")), card);
    }

    // OK in the details of an entry whose number the user did not touch leaves its card byte for byte, in
    // whichever shape the number was written.
    void okWithoutAChangeKeepsTheCard_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QStringList>("row");
        QTest::newRow("digits in groups") << "052-123-4567" << QStringList { "Zeev", "052", "1234567", "" };
        QTest::newRow("eight digits") << "03-12345678" << QStringList { "Zeev", "03", "12345678", "" };
        QTest::newRow("plain") << "052-1234567" << QStringList { "Zeev", "052", "1234567", "" };
    }
    void okWithoutAChangeKeepsTheCard()
    {
        QFETCH(QString, number);
        QFETCH(QStringList, row);
        const QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:z1\r\nFN:Zeev\r\nTEL;TYPE=CELL:" + number.toUtf8()
            + "\r\nEND:VCARD\r\n";
        TestEnv::writeFile(path("zeev.vcf"), card);
        auto form = openForm();
        selectRow(*form, QStringLiteral("Zeev"));
        whenModal<TDetailsForm>([](TDetailsForm& details) { details.okButton->click(); });
        form->editButton->click();
        QVERIFY(m_errors.isEmpty());
        QVERIFY(rowsOf(*m_cache).contains(row));
        QCOMPARE(TestEnv::readFile(path("zeev.vcf")), card);
    }

    void newEntriesBecomeContacts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("told");
        QTest::addColumn<int>("files");
        QTest::newRow("a new name") << "Gil" << QStringList {} << 5;
        QTest::newRow("a name the address book has") << "Avi" << QStringList { ".קיים איש קשר בשם זה" } << 4;
    }

    void newEntriesBecomeContacts()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, told);
        QFETCH(int, files);

        auto form = openForm();
        m_prompt->told.clear();
        const Records before = rowsOf(*m_cache);
        whenModal<TDetailsForm>([name](TDetailsForm& details) {
            details.nameEdit->setText(name);
            details.areaCodeBox->setEditText(QStringLiteral("052"));
            details.numberEdit->setText(QStringLiteral("7654321"));
            details.okButton->click();
        });
        form->newButton->click();

        QCOMPARE(m_prompt->told, told);
        QVERIFY(m_errors.isEmpty());
        QCOMPARE(QDir(m_folder).entryList(QDir::Files).size(), files);
        QCOMPARE(rowsOf(*m_cache).size(), before.size() + (told.isEmpty() ? 1 : 0));
        if (told.isEmpty()) {
            const QStringList made = QDir(m_folder).entryList({ "*.vcf" }, QDir::Files).filter(QStringLiteral("-"));
            QCOMPARE(made.size(), 1);
            const QByteArray card = TestEnv::readFile(m_folder + made[0]);
            QVERIFY(card.contains("\r\nFN:Gil\r\n"));
            QVERIFY(card.contains("\r\nTEL;TYPE=CELL:052-7654321\r\n"));
        }
    }

    // A contact another program removed meanwhile: the delete does nothing, silently.
    void deleting_data()
    {
        QTest::addColumn<bool>("goneMeanwhile");
        QTest::newRow("a contact in the folder") << false;
        QTest::newRow("a contact gone meanwhile") << true;
    }

    void deleting()
    {
        QFETCH(bool, goneMeanwhile);

        auto form = openForm();
        if (goneMeanwhile)
            QVERIFY(QFile::remove(path("avi.vcf")));
        selectRow(*form, QStringLiteral("Avi"));
        form->deleteButton->click();

        QVERIFY(m_errors.isEmpty());
        QCOMPARE(rowsOf(*m_cache).value(0).value(0), goneMeanwhile ? QStringLiteral("Avi") : QStringLiteral("Dana"));
        QVERIFY(!QFile::exists(path("avi.vcf")));
        QVERIFY(QFile::exists(path("dana.vcf")));
    }

    void refreshReadsTheFolderAgain()
    {
        auto form = openForm();
        TestEnv::writeFile(path("ben.vcf"), "BEGIN:VCARD\nVERSION:3.0\nFN:Ben\nTEL;TYPE=CELL:053-3333333\nEND:VCARD\n");
        form->reloadButton->click();
        QCOMPARE(rowsOf(*m_cache).value(1), (QStringList { "Ben", "053", "3333333", "" }));

        QVERIFY(QDir(m_folder).removeRecursively());
        form->reloadButton->click();
        // The message names the folder that is missing.
        QCOMPARE(m_errors.size(), 1);
        QVERIFY(m_errors[0].startsWith("נכשל הקישור לאנשי קשר מפנקס הכתובות\n"));
        QVERIFY2(m_errors[0].contains(QDir::cleanPath(m_folder)), qPrintable(m_errors[0]));
        QVERIFY(m_cache->isEmpty());
    }

    // A step that refuses for a reason of its own is heard in its own words.
    void aRefusalIsShownAsItIs()
    {
        const QString reason = QStringLiteral("כרטיס איש הקשר dana.vcf שונה בידי תוכנה אחרת מאז שנקרא.");
        TPhoneBookForm::OutlookSteps steps = Contacts::phoneBookSteps();
        steps.updateContact
            = [reason](TPhoneBookForm::Recipient&) { throw TPhoneBookForm::OutlookSteps::Refusal(reason); };
        steps.deleteContact
            = [reason](const TPhoneBookForm::Recipient&) { throw TPhoneBookForm::OutlookSteps::Refusal(reason); };
        auto form = openForm(steps);
        selectRow(*form, QStringLiteral("Dana"));
        whenModal<TDetailsForm>([](TDetailsForm& details) { details.okButton->click(); });
        form->editButton->click();
        form->deleteButton->click();

        QCOMPARE(m_errors, (QStringList { reason, reason }));
        QCOMPARE(rowsOf(*m_cache).size(), 2);
    }
};

QTEST_MAIN(TestPhoneBookSteps)
#include "test_phonebooksteps.moc"
