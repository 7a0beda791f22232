#include "ModalSteps.h"
#include "ScriptedPrompt.h"
#include "TestEnv.h"
#include "common/ErrorReport.h"
#include "common/UserPrompt.h"
#include "phonebook/PhoneBookTable.h"
#include "phonebook/TDetailsForm.h"
#include "phonebook/TPhoneBookForm.h"
#include "settings/SmsIni.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlTableModel>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

using Kind = PhoneBookTable::Kind;
using Records = QList<QStringList>;
using Recipient = TPhoneBookForm::Recipient;

namespace {
const QStringList AreaDefs { "050=0501", "052=0522", "054=0544" };

void fillDetails(TDetailsForm& details, const QString& name, const QString& area, const QString& phone, bool ok)
{
    details.nameEdit->setText(name);
    details.areaCodeBox->setEditText(area);
    details.numberEdit->setText(phone);
    (ok ? details.okButton : details.cancelButton)->click();
}

QStringList gridNames(const TPhoneBookForm& form)
{
    QStringList names;
    for (int row = 0; row < form.grid->model()->rowCount(); ++row)
        names << form.grid->model()->index(row, 0).data().toString();
    return names;
}

Records rowsOf(const PhoneBookTable& table)
{
    Records rows;
    for (int row = 0; row < table.model()->rowCount(); ++row)
        rows << table.recordValues(row);
    return rows;
}

void clickRow(const TPhoneBookForm& form, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QRect cell = form.grid->visualRect(form.grid->model()->index(row, 0));
    QTest::mouseClick(form.grid->viewport(), Qt::LeftButton, modifiers, cell.center());
}
} // namespace

class TestPhoneBookForm : public QObject
{
    Q_OBJECT
    std::unique_ptr<PhoneBookTable> m_phoneBook;
    std::unique_ptr<PhoneBookTable> m_cache;
    std::unique_ptr<ScriptedPrompt> m_prompt;
    QStringList m_errors;
    ErrorReport::Handler m_previous;

    std::unique_ptr<TPhoneBookForm> openForm(TPhoneBookForm::OutlookSteps steps = {})
    {
        auto form = std::make_unique<TPhoneBookForm>(m_phoneBook.get(), m_cache.get(), AreaDefs, std::move(steps));
        form->show();
        QCoreApplication::processEvents(); // the first activation loads the list
        return form;
    }

private slots:
    void init()
    {
        TestEnv::freshAppDir();
        TestEnv::freshConfigDir();
        m_phoneBook = std::make_unique<PhoneBookTable>(Kind::PhoneBook);
        m_cache = std::make_unique<PhoneBookTable>(Kind::OutlookCache);
        QVERIFY(m_phoneBook->appendRecords({ { "Gabi", "052", "3333333" }, { "Abraham", "050", "1111111" },
            { "abba", "", "2222222" }, { "O'Brien", "054", "4444444" } }));
        m_prompt = std::make_unique<ScriptedPrompt>();
        m_errors.clear();
        m_previous = ErrorReport::setHandler([this](const QString& text) { m_errors << text; });
    }

    void cleanup()
    {
        ErrorReport::setHandler(m_previous);
        m_prompt.reset();
    }

    void theListComesFromTheFileWhenTheTableIsEmpty()
    {
        QVERIFY(m_phoneBook->saveToFile(m_phoneBook->filePath()));
        QVERIFY(m_phoneBook->clearRecords());
        auto form = openForm();
        QCOMPARE(gridNames(*form), (QStringList { "abba", "Abraham", "Gabi", "O'Brien" }));
        QCOMPARE(form->currentRecipient().name, QStringLiteral("abba"));

        // Name, Phone, Area from the right; the record key is not shown.
        const QHeaderView* header = form->grid->horizontalHeader();
        QStringList titles;
        for (int visual = 0; visual < header->count(); ++visual) {
            const int column = header->logicalIndex(visual);
            if (!header->isSectionHidden(column))
                titles << form->grid->model()->headerData(column, Qt::Horizontal).toString();
        }
        QCOMPARE(titles, (QStringList { "שם מלא", "טלפון", "איזור" }));
        QCOMPARE(header->sectionSize(0), 200);
        QVERIFY(m_errors.isEmpty());
    }

    void searchFindsNamesBeginningWithTheText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("ab, either case") << "ab" << QStringList { "abba", "Abraham" };
        QTest::newRow("a quote") << "o'" << QStringList { "O'Brien" };
        QTest::newRow("a quote that ends a name early") << "'" << QStringList {};
        QTest::newRow("cleared") << "" << QStringList { "abba", "Abraham", "Gabi", "O'Brien" };
    }

    void searchFindsNamesBeginningWithTheText()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, expected);

        auto form = openForm();
        QTest::keyClicks(form->searchEdit, QStringLiteral("zz"));
        QCOMPARE(gridNames(*form), QStringList());
        form->searchEdit->clear();
        QTest::keyClicks(form->searchEdit, typed);
        QCOMPARE(gridNames(*form), expected);
        QCOMPARE(form->currentRecipient().name, expected.value(0));
        QCOMPARE(m_phoneBook->recordCount(), 4);
    }

    void switchingToOutlookClearsTheSearch()
    {
        auto form = openForm();
        QVERIFY(!form->reloadButton->isEnabled());
        QTest::keyClicks(form->searchEdit, QStringLiteral("ab"));
        form->addressBookBox->click();

        QVERIFY(form->searchEdit->text().isEmpty());
        QVERIFY(m_phoneBook->namePrefixFilter().isEmpty());
        QCOMPARE(form->shownTable(), m_cache.get());
        QVERIFY(form->reloadButton->isEnabled());
        // No contacts layer yet: the import fails as a connection to Outlook that cannot be made.
        // The report ends the sentence.
        QCOMPARE(m_errors, QStringList { TPhoneBookForm::connectionFailedText() + QLatin1Char('.') });
        QVERIFY(m_cache->isEmpty());

        form->addressBookBox->click();
        QCOMPARE(gridNames(*form).size(), 4);
    }

    void theDetailsDialogDecides_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<Records>("expected");

        const Records before { { "abba", "", "2222222" }, { "Abraham", "050", "1111111" }, { "Gabi", "052", "3333333" },
            { "O'Brien", "054", "4444444" } };
        Records added = before;
        added.insert(3, { "Moshe", "053", "1234567" });
        Records edited = before;
        edited[0] = QStringList { "Moshe", "053", "1234567" };
        edited.move(0, 2);
        QTest::newRow("New, Cancel") << "new" << false << before;
        QTest::newRow("New, OK") << "new" << true << added;
        QTest::newRow("Edit, Cancel") << "edit" << false << before;
        QTest::newRow("Edit, OK") << "edit" << true << edited;
    }

    void theDetailsDialogDecides()
    {
        QFETCH(QString, command);
        QFETCH(bool, ok);
        QFETCH(Records, expected);

        auto form = openForm();
        QStringList listed;
        whenModal<TDetailsForm>([&](TDetailsForm& details) {
            for (int i = 0; i < details.areaCodeBox->count(); ++i)
                listed << details.areaCodeBox->itemText(i);
            // The 9-digit number is stored as its first 7 digits.
            fillDetails(details, "Moshe", "053", "123456789", ok);
        });
        (command == QLatin1String("new") ? form->newButton : form->editButton)->click();

        QCOMPARE(listed, (QStringList { "050", "052", "054" }));
        QCOMPARE(rowsOf(*m_phoneBook), expected);
        QCOMPARE(m_phoneBook->state(), PhoneBookTable::State::Browse);
        if (ok)
            QCOMPARE(form->currentRecipient().name, QStringLiteral("Moshe"));
    }

    void deletingAsksFirst_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("No keeps the row") << false << QStringList { "abba", "Abraham", "Gabi", "O'Brien" };
        QTest::newRow("Yes deletes it") << true << QStringList { "abba", "Gabi", "O'Brien" };
    }

    void deletingAsksFirst()
    {
        QFETCH(bool, answer);
        QFETCH(QStringList, expected);

        auto form = openForm();
        clickRow(*form, 1);
        m_prompt->answer = answer;
        form->deleteButton->click();
        QCOMPARE(m_prompt->asked, QStringList { "?מידע שנמחק לא ניתן לשחזור. האם למחוק" });
        QCOMPARE(gridNames(*form), expected);
    }

    void theCallerGetsTheSelectedRowsInTheirOrder()
    {
        TPhoneBookForm form(m_phoneBook.get(), m_cache.get(), AreaDefs);
        whenModal<TPhoneBookForm>([](TPhoneBookForm& shown) {
            clickRow(shown, 3, Qt::ControlModifier);
            clickRow(shown, 0, Qt::ControlModifier);
            clickRow(shown, 2, Qt::ControlModifier);
            shown.okButton->click();
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));

        QCOMPARE(form.selectedCount(), 3);
        const QList<Recipient> selected = form.selectedRecipients();
        QCOMPARE(selected.size(), 3);
        QCOMPARE(selected[0].name, QStringLiteral("O'Brien"));
        // The row without an area is the caller's to leave out.
        QCOMPARE(selected[1].name, QStringLiteral("abba"));
        QCOMPARE(selected[1].area, QString());
        QCOMPARE(selected[1].phone, QStringLiteral("2222222"));
        QCOMPARE(selected[2].name, QStringLiteral("Gabi"));
    }

    // Without a mouse: the arrows move in the grid, Shift+Down takes the next row too, Return is OK; the grid
    // reads its columns by their headers.
    void chosenWithTheKeyboard()
    {
        TPhoneBookForm form(m_phoneBook.get(), m_cache.get(), AreaDefs);
        whenModal<TPhoneBookForm>([](TPhoneBookForm& shown) {
            shown.grid->setFocus();
            shown.grid->setCurrentIndex(shown.grid->model()->index(0, 0));
            QTest::keyClick(shown.grid, Qt::Key_Down);
            QTest::keyClick(shown.grid, Qt::Key_Down, Qt::ShiftModifier);
            QTest::keyClick(shown.grid, Qt::Key_Return);
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QCOMPARE(form.selectedCount(), 2);
        QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(form.grid);
        QVERIFY(grid && grid->tableInterface());
        // The header cell is made for the caller, who hands it to the cache to be deleted.
        QAccessibleInterface* header
            = grid->tableInterface()->cellAt(0, 0)->tableCellInterface()->columnHeaderCells().value(0);
        QVERIFY(header);
        const QAccessible::Id headerId = QAccessible::registerAccessibleInterface(header);
        const QString headerName = header->text(QAccessible::Name);
        QAccessible::deleteAccessibleInterface(headerId);
        QCOMPARE(headerName, form.grid->model()->headerData(0, Qt::Horizontal).toString());
        QVERIFY(!QAccessible::queryAccessibleInterface(form.newButton)->text(QAccessible::Name).isEmpty());
    }

    // However the window closes, "UseOutlook" and the shown table are saved.
    void everyCloseSavesTheTableAndTheMode_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("selected");
        QTest::newRow("OK with no selection") << "ok" << int(QDialog::Accepted) << "abba" << 0;
        QTest::newRow("Enter") << "enter" << int(QDialog::Accepted) << "abba" << 0;
        QTest::newRow("double click") << "double click" << int(QDialog::Accepted) << "Gabi" << 1;
        QTest::newRow("Cancel") << "cancel" << int(QDialog::Rejected) << "abba" << 0;
        QTest::newRow("the close box") << "close" << int(QDialog::Rejected) << "abba" << 0;
    }

    void everyCloseSavesTheTableAndTheMode()
    {
        QFETCH(QString, way);
        QFETCH(int, result);
        QFETCH(QString, current);
        QFETCH(int, selected);

        SmsIni().setUseOutlook(true);
        QVERIFY(m_cache->appendRecord({ "Rachel", "", "", "+972-52-1234567" }));
        TPhoneBookForm form(m_phoneBook.get(), m_cache.get(), AreaDefs);
        whenModal<TPhoneBookForm>([way](TPhoneBookForm& shown) {
            shown.addressBookBox->click(); // back to the local phone book
            QTest::keyClick(&shown, Qt::Key_Escape); // which does not close the window
            if (way == QLatin1String("ok"))
                shown.okButton->click();
            else if (way == QLatin1String("enter"))
                QTest::keyClick(shown.grid, Qt::Key_Return);
            else if (way == QLatin1String("double click")) {
                const QPoint cell = shown.grid->visualRect(shown.grid->model()->index(2, 0)).center();
                // The second click of a double click: a press, then the double click.
                QTest::mouseClick(shown.grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
                QTest::mouseDClick(shown.grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
            } else if (way == QLatin1String("cancel"))
                shown.cancelButton->click();
            else
                shown.close();
        });
        QCOMPARE(form.exec(), result);
        QCOMPARE(form.currentRecipient().name, current);
        QCOMPARE(form.selectedCount(), selected);

        QVERIFY(!SmsIni().useOutlook());
        PhoneBookTable saved(Kind::PhoneBook);
        QVERIFY(saved.loadFromFile(saved.filePath()));
        QCOMPARE(rowsOf(saved), rowsOf(*m_phoneBook));
        QVERIFY(!QFileInfo::exists(m_cache->filePath()));
    }

    // A settings file that refuses the mode (its path is a folder, which stops root too) is reported; the
    // table's edits are saved all the same and the program goes on.
    void refusedSettingsCostNoEdits()
    {
        QFile::remove(SmsIni::defaultPath());
        QVERIFY(QDir().mkpath(SmsIni::defaultPath()));
        TPhoneBookForm form(m_phoneBook.get(), m_cache.get(), AreaDefs);
        whenModal<TPhoneBookForm>([](TPhoneBookForm& shown) { shown.okButton->click(); });
        QVERIFY(m_phoneBook->appendRecord({ "Dana", "052", "5555555" }));
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QCOMPARE(m_errors, QStringList { QStringLiteral("Unable to write to SMS.INI.") });
        PhoneBookTable saved(Kind::PhoneBook);
        QVERIFY(saved.loadFromFile(saved.filePath()));
        QCOMPARE(rowsOf(saved), rowsOf(*m_phoneBook));
        QVERIFY(QDir().rmdir(SmsIni::defaultPath()));
    }

    void outlookModeCarriesNewEntriesToOutlook_data()
    {
        QTest::addColumn<QString>("outlook");
        QTest::addColumn<QStringList>("told");
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("created") << "creates" << QStringList {} << QStringList {} << QStringList { "Dina", "Rachel" };
        QTest::newRow("the name exists") << "has the name" << QStringList { ".קיים איש קשר בשם זה" } << QStringList {}
                                         << QStringList { "Rachel" };
        QTest::newRow("creation fails") << "fails to create" << QStringList {}
                                        << QStringList { "שגיאה באנשי קשר מפנקס הכתובות\r\nno Outlook." } << QStringList { "Rachel" };
        QTest::newRow("the update fails")
            << "fails to update" << QStringList {} << QStringList { "איש קשר לא נמצא." } << QStringList { "Rachel" };
    }

    void outlookModeCarriesNewEntriesToOutlook()
    {
        QFETCH(QString, outlook);
        QFETCH(QStringList, told);
        QFETCH(QStringList, errors);
        QFETCH(QStringList, expected);

        using Creation = TPhoneBookForm::OutlookSteps::Creation;
        QList<Recipient> written;
        const TPhoneBookForm::OutlookSteps steps {
            {},
            [&](Recipient&) {
                if (outlook == QLatin1String("fails to create"))
                    throw ZelkoraError(QStringLiteral("no Outlook"));
                return outlook == QLatin1String("has the name") ? Creation::AlreadyExists : Creation::Created;
            },
            [&](Recipient& entry) {
                if (outlook == QLatin1String("fails to update"))
                    throw ZelkoraError(QStringLiteral("not found"));
                written << entry;
            },
            {},
        };
        SmsIni().setUseOutlook(true);
        QVERIFY(m_cache->appendRecord({ "Rachel", "", "", "+972-52-1234567" }));
        auto form = openForm(steps);
        // The unknown number has a column of its own, in red.
        QCOMPARE(form->grid->model()->index(0, 3).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QVERIFY(!form->grid->horizontalHeader()->isSectionHidden(3));

        whenModal<TDetailsForm>([](TDetailsForm& details) { fillDetails(details, "Dina", "052", "7654321", true); });
        form->newButton->click();

        QCOMPARE(m_prompt->told, told);
        QCOMPARE(m_errors, errors);
        QCOMPARE(gridNames(*form), expected);
        QCOMPARE(m_cache->state(), PhoneBookTable::State::Browse);
        if (outlook == QLatin1String("creates")) {
            QCOMPARE(written.size(), 1);
            QCOMPARE(written[0].phone, QStringLiteral("7654321"));
        }
    }
};

QTEST_MAIN(TestPhoneBookForm)
#include "test_phonebookform.moc"
