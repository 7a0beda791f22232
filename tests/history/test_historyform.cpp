#include "ModalSteps.h"
#include "ScriptedPrompt.h"
#include "TestEnv.h"
#include "history/HistoryStore.h"
#include "history/THistoryForm.h"
#include "language/LanguageModules.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {
enum Column
{
    TimeColumn,
    RecipientColumn,
    NumberColumn,
    StatusColumn = 5,
    ConfirmedColumn,
};

const QDateTime Now = QDateTime::currentDateTime();

HistoryEntry attempt(
    const QString& name, const QString& number, const QString& message, int status, int hoursAgo, qint64 listId = 0)
{
    HistoryEntry entry;
    entry.time = Now.addSecs(-3600 * hoursAgo);
    entry.sender = QStringLiteral("נועה");
    entry.name = name;
    entry.area = number.section(QLatin1Char('-'), 0, 0);
    entry.phone = number.section(QLatin1Char('-'), 1);
    entry.provider = QStringLiteral("cellcom");
    entry.message = message;
    entry.status = status;
    entry.statusText = status == 6 ? QStringLiteral("ההודעה נשלחה") : QStringLiteral("השליחה נכשלה");
    entry.confirmed = status == 6;
    entry.listId = listId;
    entry.source = listId ? SendSource::List : SendSource::Window;
    return entry;
}

QTableView* gridOf(const THistoryForm& form)
{
    return form.findChild<QTableView*>(QStringLiteral("Grid"));
}

QPushButton* button(const THistoryForm& form, const char* name)
{
    return form.findChild<QPushButton*>(QLatin1String(name));
}

QStringList cells(const THistoryForm& form, int column)
{
    QStringList texts;
    const QAbstractItemModel* model = gridOf(form)->model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

void selectRecipient(const THistoryForm& form, const QString& recipient)
{
    const int row = cells(form, RecipientColumn).indexOf(recipient);
    QVERIFY2(row >= 0, qPrintable(recipient));
    QTableView* grid = gridOf(form);
    grid->selectionModel()->setCurrentIndex(
        grid->model()->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}
} // namespace

class TestHistoryForm : public QObject
{
    Q_OBJECT
    std::unique_ptr<HistoryStore> m_store;
    std::unique_ptr<ScriptedPrompt> m_prompt;
    QString m_dir;
    qint64 m_scheduledId = 0;

    std::unique_ptr<THistoryForm> openForm()
    {
        auto form = std::make_unique<THistoryForm>(*m_store);
        form->show();
        return form;
    }

    void addMany(int count)
    {
        for (int i = 0; i < count; ++i)
            QVERIFY(m_store->add(attempt(QStringLiteral("old %1").arg(i), "052-1000000", "x", 6, 100 + i)));
    }

private slots:
    // The interface as the program starts it without a module: Hebrew, Qt's own texts included.
    void initTestCase() { LanguageModules::applyLayoutDirection(); }

    void init()
    {
        m_dir = TestEnv::freshAppDir();
        m_store = std::make_unique<HistoryStore>(m_dir + QStringLiteral("history.db"));
        QVERIFY(m_store->isOpen());
        m_prompt = std::make_unique<ScriptedPrompt>();
        const QList<HistoryEntry> attempts {
            attempt("דוד כהן", "052-1234567", "שלום, מה נשמע?", 6, 7),
            attempt("", "054-7654321", "הנחה של 100% היום", 8, 6),
            attempt("O'Brien", "050-1112223", "it's here", 6, 5, 11),
            attempt("Dana", "050-9998887", "בדיקה", 9, 4, 11),
            attempt("Gil", "053-3332221", "בדיקה", 6, 3, 12),
            attempt("Ron", "058-4445556", "see report_final", 7, 2),
        };
        for (const HistoryEntry& entry : attempts)
            QVERIFY(m_store->add(entry));
        HistoryEntry later = attempt("רות", "052-5550000", "מחר", HistoryEntry::Refused, 0);
        later.due = Now.addDays(1);
        m_scheduledId = m_store->schedule(later);
        QVERIFY(m_scheduledId);
    }

    void cleanup()
    {
        m_prompt.reset();
        m_store.reset();
    }

    void rowsShowNewestFirst_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("hoursAgo");
        QTest::addColumn<QString>("recipient");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("confirmed");
        QTest::addColumn<bool>("errorColour");
        const QString due = Now.addDays(1).toString("dd/MM/yyyy HH:mm");
        QTest::newRow("scheduled, at its time") << 0 << -24 << "רות"
                                                << "052-5550000"
                                                << "מתוזמן ל-" + due << "" << false;
        // Each status worded from its value in the language of the moment, whatever text the row was written with.
        QTest::newRow("failed") << 1 << 2 << "Ron"
                                << "058-4445556"
                                << "ההודעה נדחתה"
                                << "" << true;
        QTest::newRow("sent") << 2 << 3 << "Gil"
                              << "053-3332221"
                              << "ההודעה נשלחה"
                              << "✓" << false;
        QTest::newRow("failed in a list") << 3 << 4 << "Dana"
                                          << "050-9998887"
                                          << "Timed Out"
                                          << "" << true;
        QTest::newRow("sent in a list") << 4 << 5 << "O'Brien"
                                        << "050-1112223"
                                        << "ההודעה נשלחה"
                                        << "✓" << false;
        QTest::newRow("no name: the number") << 5 << 6 << "054-7654321"
                                             << "054-7654321"
                                             << "כשלון"
                                             << "" << true;
        QTest::newRow("oldest") << 6 << 7 << "דוד כהן"
                                << "052-1234567"
                                << "ההודעה נשלחה"
                                << "✓" << false;
    }

    void rowsShowNewestFirst()
    {
        QFETCH(int, row);
        QFETCH(int, hoursAgo);
        QFETCH(QString, recipient);
        QFETCH(QString, number);
        QFETCH(QString, status);
        QFETCH(QString, confirmed);
        QFETCH(bool, errorColour);

        auto form = openForm();
        QCOMPARE(cells(*form, RecipientColumn).size(), 7);
        const QAbstractItemModel* model = gridOf(*form)->model();
        QCOMPARE(model->index(row, TimeColumn).data().toString(),
            Now.addSecs(-3600 * hoursAgo).toString("dd/MM/yyyy HH:mm"));
        QCOMPARE(model->index(row, RecipientColumn).data().toString(), recipient);
        QCOMPARE(model->index(row, NumberColumn).data().toString(), number);
        QCOMPARE(model->index(row, StatusColumn).data().toString(), status);
        QCOMPARE(model->index(row, ConfirmedColumn).data().toString(), confirmed);
        QCOMPARE(model->index(row, RecipientColumn).data(Qt::ForegroundRole).isValid(), errorColour);
    }

    void searchAndFilter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("notSentOnly");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("name") << "דוד" << false << QStringList { "דוד כהן" };
        QTest::newRow("number with dash") << "054-765" << false << QStringList { "054-7654321" };
        QTest::newRow("number without dash") << "0547654" << false << QStringList { "054-7654321" };
        QTest::newRow("message text") << "נשמע" << false << QStringList { "דוד כהן" };
        QTest::newRow("percent taken literally") << "0%" << false << QStringList { "054-7654321" };
        QTest::newRow("underscore taken literally") << "_" << false << QStringList { "Ron" };
        QTest::newRow("quote") << "'" << false << QStringList { "O'Brien" };
        QTest::newRow("no match") << "zzz" << false << QStringList {};
        QTest::newRow("not sent") << "" << true << QStringList { "Ron", "Dana", "054-7654321" };
        QTest::newRow("not sent, by text") << "בדיקה" << true << QStringList { "Dana" };
    }

    void searchAndFilter()
    {
        QFETCH(QString, typed);
        QFETCH(bool, notSentOnly);
        QFETCH(QStringList, expected);

        auto form = openForm();
        form->findChild<QCheckBox*>("NotSentOnly")->setChecked(notSentOnly);
        // Typed text arrives as textChanged; the window waits for a pause in the typing.
        form->findChild<QLineEdit*>("SearchEdit")->setText(typed);
        QTRY_COMPARE(cells(*form, RecipientColumn), expected);
    }

    void sendAgainButtons_data()
    {
        QTest::addColumn<QString>("recipient");
        QTest::addColumn<bool>("again");
        QTest::addColumn<qint64>("notSentOfList");
        QTest::addColumn<bool>("queued");
        QTest::newRow("single, sent") << "דוד כהן" << true << qint64(0) << false;
        QTest::newRow("single, failed") << "Ron" << true << qint64(0) << false;
        QTest::newRow("list with a failure, a sent row") << "O'Brien" << true << qint64(11) << false;
        QTest::newRow("list with a failure, the failed row") << "Dana" << true << qint64(11) << false;
        QTest::newRow("list all sent") << "Gil" << true << qint64(0) << false;
        QTest::newRow("scheduled") << "רות" << false << qint64(0) << true;
    }

    void sendAgainButtons()
    {
        QFETCH(QString, recipient);
        QFETCH(bool, again);
        QFETCH(qint64, notSentOfList);
        QFETCH(bool, queued);

        auto form = openForm();
        QList<HistoryEntry> sentAgain;
        QList<qint64> listsAgain;
        connect(form.get(), &THistoryForm::sendAgain, this, [&](const HistoryEntry& entry) { sentAgain << entry; });
        connect(form.get(), &THistoryForm::sendAgainToNotSent, this, [&](qint64 listId) { listsAgain << listId; });
        QVERIFY(!button(*form, "SendAgainButton")->isEnabled());
        selectRecipient(*form, recipient);

        QCOMPARE(button(*form, "SendAgainButton")->isEnabled(), again);
        QCOMPARE(button(*form, "SendNotSentButton")->isEnabled(), notSentOfList != 0);
        QCOMPARE(button(*form, "RescheduleButton")->isEnabled(), queued);
        QCOMPARE(button(*form, "DropButton")->isEnabled(), queued);
        button(*form, "SendAgainButton")->click();
        button(*form, "SendNotSentButton")->click();
        QCOMPARE(sentAgain.size(), again ? 1 : 0);
        if (again) {
            const std::optional<HistoryEntry> stored = m_store->entry(sentAgain.first().id);
            QVERIFY(stored);
            QCOMPARE(sentAgain.first().name, recipient);
            QCOMPARE(sentAgain.first().message, stored->message);
            QCOMPARE(sentAgain.first().phone, stored->phone);
        }
        QCOMPARE(listsAgain, notSentOfList ? QList<qint64> { notSentOfList } : QList<qint64> {});
    }

    void reschedule_data()
    {
        QTest::addColumn<int>("daysAhead");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<int>("expectedDaysAhead");
        QTest::newRow("later") << 3 << true << 3;
        QTest::newRow("cancelled") << 3 << false << 1;
        QTest::newRow("the past is not offered") << -2 << true << 0;
    }

    void reschedule()
    {
        QFETCH(int, daysAhead);
        QFETCH(bool, accept);
        QFETCH(int, expectedDaysAhead);

        auto form = openForm();
        selectRecipient(*form, "רות");
        const QDateTime asked = QDateTime::currentDateTime().addDays(daysAhead);
        QString direction;
        QString okText;
        whenModal<QDialog>([&](QDialog& dialog) {
            QDateTimeEdit* edit = dialog.findChild<QDateTimeEdit*>("DueEdit");
            direction = edit->layoutDirection() == Qt::LeftToRight ? "ltr" : "rtl";
            okText = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->text();
            edit->setDateTime(asked);
            accept ? dialog.accept() : dialog.reject();
        });
        const QDateTime clicked = QDateTime::currentDateTime();
        button(*form, "RescheduleButton")->click();
        // In the Hebrew window the time still reads 08:41, and Qt's own buttons speak Hebrew.
        QCOMPARE(direction, QStringLiteral("ltr"));
        QVERIFY2(okText.contains(QStringLiteral("אישור")), qPrintable(okText));

        const QDateTime due = m_store->entry(m_scheduledId)->due;
        QVERIFY2(qAbs(due.secsTo(clicked.addDays(expectedDaysAhead))) < 120, qPrintable(due.toString()));
        QVERIFY(m_store->entry(m_scheduledId)->scheduled);
        QCOMPARE(cells(*form, StatusColumn).contains("מתוזמן ל-" + due.toString("dd/MM/yyyy HH:mm")), true);
        // The rescheduled entry stays selected.
        QVERIFY(button(*form, "DropButton")->isEnabled());
    }

    void drop_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }

    void drop()
    {
        QFETCH(bool, answer);

        auto form = openForm();
        selectRecipient(*form, "רות");
        m_prompt->answer = answer;
        button(*form, "DropButton")->click();

        QCOMPARE(m_prompt->asked.size(), 1);
        QVERIFY(m_prompt->asked.first().contains("רות"));
        QCOMPARE(bool(m_store->entry(m_scheduledId)), !answer);
        QCOMPARE(cells(*form, RecipientColumn).contains("רות"), !answer);
        QVERIFY(m_prompt->told.isEmpty());
    }

    // The grid reads its rows a page at a time, so a read of the query stays open while the window is.
    void anOpenWindowHoldsBackNoWrite()
    {
        addMany(600);
        auto form = openForm();
        QVERIFY(gridOf(*form)->model()->canFetchMore({}));

        // The program records a send through the store the window reads; another program looks.
        QVERIFY(m_store->add(attempt("new", "052-7777777", "now", 6, 0)));
        HistoryStore other(m_dir + QStringLiteral("history.db"));
        QCOMPARE(other.entries().size(), 607 + 1);
        // And a send the other program records is shown on the next refresh.
        QVERIFY(other.add(attempt("from cli", "052-8888888", "now", 6, 0)));
        form->refresh();
        QCOMPARE(cells(*form, RecipientColumn).mid(1, 2), (QStringList { "from cli", "new" }));
    }

    void csvOfEntries()
    {
        HistoryEntry sent = attempt("דוד, \"הגדול\"", "052-1234567", "שלום, \"חבר\"\nשורה שנייה", 6, 0);
        sent.time = QDateTime(QDate(2026, 3, 1), QTime(9, 5, 7));
        HistoryEntry failed = attempt("", "054-7654321", "=HYPERLINK(1)", 8, 0, 11);
        failed.time = QDateTime(QDate(2026, 3, 2), QTime(23, 59, 0));

        QCOMPARE(THistoryForm::csvOf({ sent, failed }),
            QByteArray("\xEF\xBB\xBF"
                       "time,name,area,phone,provider,message,status,status text,confirmed,source\r\n"
                       "2026-03-01 09:05:07,\"דוד, \"\"הגדול\"\"\",052,1234567,cellcom,"
                       "\"שלום, \"\"חבר\"\"\nשורה שנייה\",6,ההודעה נשלחה,1,window\r\n"
                       // A field a spreadsheet would run is written as text.
                       "2026-03-02 23:59:00,,054,7654321,cellcom,'=HYPERLINK(1),8,כשלון,0,list\r\n"));
    }

    void exportWritesEveryRowOfTheQuery_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("rows");
        QTest::newRow("everything, more than the grid read") << "" << 7 + 600;
        QTest::newRow("the search in force") << "בדיקה" << 2;
    }

    void exportWritesEveryRowOfTheQuery()
    {
        QFETCH(QString, search);
        QFETCH(int, rows);

        addMany(600);
        auto form = openForm();
        form->findChild<QLineEdit*>("SearchEdit")->setText(search);
        form->refresh();
        const QString path = m_dir + QStringLiteral("export/history.csv");
        form->chooseExportFile = [&] { return path; };
        button(*form, "ExportButton")->click();

        const QByteArray csv = TestEnv::readFile(path);
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(csv.count("\r\n"), 1 + rows);
        // The user is told where the rows went.
        QCOMPARE(m_prompt->told.size(), 1);
        QVERIFY2(m_prompt->told.first().contains(path) && m_prompt->told.first().contains(QString::number(rows)),
            qPrintable(m_prompt->told.first()));
    }

    void exportFailureIsTold()
    {
        auto form = openForm();
        TestEnv::writeFile(m_dir + QStringLiteral("file"), "x");
        form->chooseExportFile = [&] { return m_dir + QStringLiteral("file/history.csv"); };
        button(*form, "ExportButton")->click();
        QCOMPARE(m_prompt->told.size(), 1);
        QVERIFY(m_prompt->told.first().contains("history.csv"));
    }
};

QTEST_MAIN(TestHistoryForm)
#include "test_historyform.moc"
