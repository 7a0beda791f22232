// What the desktop program writes to its history and sends from its queue, driven as a user drives it
// against the sandbox network with the real browser library.

#include "app/StatusDisplay.h"
#include "app/CompositionFields.h"
#include "AppWindowTest.h"
#include "ModalSteps.h"
#include "TestEnv.h"

#include "SandboxServer.h"
#include "SandboxService.h"
#include "app/ProgramEntry.h"
#include "app/THiddenForm.h"
#include "app/TPopUpStatusForm.h"
#include "common/AppPaths.h"
#include "history/HistoryStore.h"
#include "history/QueueDialogs.h"
#include "history/THistoryForm.h"
#include "widgets/TImgButton.h"
#include "widgets/TTrayIcon.h"

#include <QDateTimeEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace AppWindowTest;

namespace {
constexpr int Patience = 30000;
} // namespace

class TestMsgFormHistory : public QObject
{
    Q_OBJECT

    SandboxServer m_sandbox;
    std::unique_ptr<THiddenForm> m_hiddenForm;
    QPointer<TMsgForm> m_form;
    std::unique_ptr<HistoryStore> m_store; // the history as another program reads it
    qint64 m_missedId = 0;

    QStringList submittedNumbers() const
    {
        QStringList numbers;
        for (const SandboxSubmission& s : m_sandbox.submissions())
            numbers << s.fields.value(QStringLiteral("phone")) + s.fields.value(QStringLiteral("number"));
        return numbers;
    }

    void typeRecipient(const QString& area, const QString& phone, const QString& message)
    {
        m_form->ui().senderEdit->setText(QStringLiteral("דנה"));
        m_form->ui().areaCodeEdit->setText(area);
        m_form->ui().numberEdit->setText(phone);
        m_form->ui().messageEdit->setPlainText(message);
    }

    HistoryEntry newest() const { return m_store->entries({}).value(0); }

    // A send put into the queue by another program, due now; its id.
    qint64 queueNow(const QString& area, const QString& phone, const QString& message)
    {
        HistoryEntry queued;
        queued.sender = QStringLiteral("דנה");
        queued.area = area;
        queued.phone = phone;
        queued.message = message;
        queued.source = SendSource::Queue;
        queued.due = QDateTime::currentDateTime();
        return m_store->schedule(queued);
    }

private slots:
    void initTestCase()
    {
        TTrayIcon::setSystemTrayAvailableForTesting(true);
        QVERIFY(m_sandbox.listen());
        AppPaths::setServiceUrlOverride(m_sandbox.baseUrl());
        const QString appDir = TestEnv::freshAppDir();
        TestEnv::writeFile(TestEnv::freshConfigDir() + QStringLiteral("SMS.INI"), "[General]\r\nTimeOut=30\r\n");
        // A send set for an hour ago, while the program was not running.
        m_store = std::make_unique<HistoryStore>(appDir + QStringLiteral("history.db"));
        HistoryEntry missed;
        missed.sender = QStringLiteral("דנה");
        missed.name = QStringLiteral("רות");
        missed.area = QStringLiteral("054");
        missed.phone = QStringLiteral("5550000");
        missed.message = QStringLiteral("נשכח");
        missed.source = SendSource::Queue;
        missed.due = QDateTime::currentDateTime().addSecs(-3600);
        m_missedId = m_store->schedule(missed);
        QVERIFY(m_missedId);

        m_hiddenForm = std::make_unique<THiddenForm>();
        m_form = ProgramEntry::start(ProgramEntry::parse({}), *m_hiddenForm, {});
        QTRY_VERIFY(m_form->isShown());
        m_form->session().setQueueInterval(100);
        QTRY_COMPARE_WITH_TIMEOUT(m_form->session().connectionState(), ConnectionState::Service, Patience);
    }

    void cleanupTestCase()
    {
        delete m_form.data();
        m_hiddenForm.reset();
        AppPaths::setServiceUrlOverride(QString());
    }

    void init()
    {
        m_sandbox.clearSubmissions();
        static_cast<PreferencesHost&>(m_form->session()).setSendTimeOut(30);
    }

    // Asked about at the start, the missed send waits for the answer however often the queue looks.
    void aMissedSendIsAskedAboutAndWaitsForTheAnswer()
    {
        auto* dialog = m_form->findChild<MissedSendsDialog*>();
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->isVisible());
        QTest::qWait(1000);
        QVERIFY(m_sandbox.submissions().isEmpty());
        QVERIFY(m_store->entry(m_missedId)->scheduled);

        dialog->setChoice(m_missedId, MissedSendChoice::SendNow);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        // Claimed as it goes (no longer queued), then completed.
        QTRY_VERIFY_WITH_TIMEOUT(
            m_store->entry(m_missedId)->phase == LedgerPhase::Final && !m_store->entry(m_missedId)->scheduled,
            Patience);
        QCOMPARE(m_store->entry(m_missedId)->status, int(ssSent));
        QCOMPARE(m_store->entry(m_missedId)->source, SendSource::Queue);
        QCOMPARE(submittedNumbers(), QStringList { QStringLiteral("0545550000") });
    }

    void eachOutcomeIsRecorded_data()
    {
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("phone");
        QTest::addColumn<int>("timeOut");
        QTest::addColumn<int>("closeAfterMs"); // the user closes the window while the attempt runs
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("sent") << "054"
                              << "1234567" << 30 << 0 << int(ssSent) << true;
        QTest::newRow("rejected") << "054"
                                  << "9123456" << 30 << 0 << int(ssRejected) << true;
        QTest::newRow("failed: an error page") << "056"
                                               << "1234567" << 30 << 0 << int(ssFailed) << false;
        QTest::newRow("timed out: a late answer") << "051"
                                                  << "1234567" << 1 << 0 << int(ssTimedOut) << false;
        QTest::newRow("cancelled") << "051"
                                   << "1234567" << 30 << 300 << int(ssCancelled) << false;
    }

    void eachOutcomeIsRecorded()
    {
        QFETCH(QString, area);
        QFETCH(QString, phone);
        QFETCH(int, timeOut);
        QFETCH(int, closeAfterMs);
        QFETCH(int, status);
        QFETCH(bool, confirmed);

        const qsizetype before = m_store->entries({}).size();
        m_form->toggleShown();
        static_cast<PreferencesHost&>(m_form->session()).setSendTimeOut(timeOut);
        typeRecipient(area, phone, QStringLiteral("שלום מההיסטוריה"));
        QTest::mouseClick(m_form->ui().sendButton, Qt::LeftButton);
        if (closeAfterMs) {
            QTest::qWait(closeAfterMs);
            m_form->closeWindow();
        }
        // The attempt's row is written as it starts, and completed when it ends.
        QTRY_VERIFY_WITH_TIMEOUT(
            m_store->entries({}).size() == before + 1 && newest().phase == LedgerPhase::Final, Patience);

        const HistoryEntry entry = newest();
        QCOMPARE(entry.status, status);
        QCOMPARE(entry.confirmed, confirmed);
        QCOMPARE(entry.source, SendSource::Window);
        QCOMPARE(entry.area + entry.phone, area + phone);
        QCOMPARE(entry.sender, QStringLiteral("דנה"));
        QCOMPARE(entry.message, QStringLiteral("שלום מההיסטוריה"));
        QVERIFY(!entry.provider.isEmpty());
    }

    // A list is recorded recipient by recipient; at its end the status window offers to send again to
    // those not sent, and only they are sent.
    void aListsNotSentAreSentAgainFromTheStatusWindow()
    {
        m_form->toggleShown();
        MainSession::Composition& composition = m_form->session().composition();
        composition.listMode = true;
        composition.list = QStringList { QStringLiteral("אבי=054-1111111"), QStringLiteral("בני=054-9222222"),
            QStringLiteral("גלית=054-3333333") };
        m_form->fields().show();
        m_form->ui().senderEdit->setText(QStringLiteral("דנה"));
        m_form->ui().messageEdit->setPlainText(QStringLiteral("לכולם"));
        QTest::mouseClick(m_form->ui().sendButton, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(m_sandbox.submissions().size(), 3, Patience);

        const QList<HistoryEntry> list = m_store->entries({}).mid(0, 3);
        QCOMPARE(list.at(1).name, QStringLiteral("בני"));
        QCOMPARE(list.at(1).status, int(ssRejected));
        for (const HistoryEntry& entry : list) {
            QCOMPARE(entry.source, SendSource::List);
            QCOMPARE(entry.listId, list.first().listId);
        }
        QPointer<TPopUpStatusForm> status = m_form->findChild<TPopUpStatusForm*>();
        QVERIFY(status);
        QTRY_VERIFY(status->retryButton->isVisible());

        m_sandbox.clearSubmissions();
        status->retryButton->click();
        QTRY_COMPARE_WITH_TIMEOUT(m_store->entries({}).size(), 1 + 5 + 3 + 1, Patience);
        QCOMPARE(submittedNumbers(), QStringList { QStringLiteral("0549222222") });
        QCOMPARE(newest().name, QStringLiteral("בני"));
        QCOMPARE(newest().source, SendSource::List);
    }

    // The history window from the main menu: a row's "send again" fills the fields, and sends nothing.
    void sendAgainFromTheHistoryFillsTheFields()
    {
        typeRecipient(QString(), QString(), QString());
        m_form->ui().historyAction->trigger();
        THistoryForm* history = m_form->historyForm();
        QVERIFY(history);
        auto* grid = history->findChild<QTableView*>(QStringLiteral("Grid"));
        grid->selectionModel()->setCurrentIndex(
            grid->model()->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        history->findChild<QPushButton*>(QStringLiteral("SendAgainButton"))->click();

        const HistoryEntry entry = newest();
        QCOMPARE(m_form->ui().areaCodeEdit->text() + m_form->ui().numberEdit->text(), entry.area + entry.phone);
        QCOMPARE(m_form->ui().messageEdit->toPlainText(), entry.message);
        QCOMPARE(m_form->ui().senderEdit->text(), entry.sender);
        QCOMPARE(m_sandbox.submissions().size(), 0);
        history->close();
    }

    // Queued by another program for an operator that the running program did not know when it read its
    // definitions: the definitions changed on disk are read again, and the send goes to that operator.
    void aSendQueuedElsewhereGoesWithTheDefinitionsOnDisk()
    {
        const QString folder
            = TestEnv::freshDir(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/zelkora/providers.d"));
        TestEnv::writeFile(folder + QStringLiteral("nahar.def"),
            "<#AREAS DEFS=071=071>\n<#PROVIDER Name=Nahar AreaCodes=071 MsgUrl=" + m_sandbox.baseUrl().toUtf8()
                + "/kesher/sms MsgForm=sms PhoneField=phone MsgField=msg MsgSubmit=1 "
                  "MsgSubmitLookup=javascript:document.sms.submit() ResAccepted="
                + SandboxService::encodeValue(QStringLiteral("התקבלה")) + ">\n");
        const qint64 id = queueNow(QStringLiteral("071"), QStringLiteral("7000001"), QStringLiteral("מבחוץ"));
        QVERIFY(id);
        QTRY_VERIFY_WITH_TIMEOUT(
            m_store->entry(id)->phase == LedgerPhase::Final && !m_store->entry(id)->scheduled, Patience);
        QCOMPARE(m_store->entry(id)->status, int(ssSent));
        QCOMPARE(m_store->entry(id)->provider, QStringLiteral("Nahar"));
        QCOMPARE(submittedNumbers(), QStringList { QStringLiteral("0717000001") });
        QFile::remove(folder + QStringLiteral("nahar.def"));
    }

    // The disk fills up while a queued send is under way: its outcome cannot be recorded, the user is told,
    // and the queue never sends it again.
    void aQueuedSendWhoseOutcomeCannotBeRecordedGoesOnce()
    {
        const qint64 id = queueNow(QStringLiteral("054"), QStringLiteral("6000001"), QStringLiteral("דיסק מלא"));
        QVERIFY(id);
        const QString wal = m_store->path() + QStringLiteral("-wal");
        rlimit before {};
        ::getrlimit(RLIMIT_FSIZE, &before);
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        // Once the message has left, no file of this process may grow any more.
        const auto filler
            = connect(&m_form->session().engine(), &TSMSBaseForm::statusChanged, this, [&](TSMSStatus status) {
                  if (status != ssSending)
                      return;
                  rlimit full = before;
                  full.rlim_cur = rlim_t(qMax(QFileInfo(wal).size(), QFileInfo(m_store->path()).size()));
                  ::setrlimit(RLIMIT_FSIZE, &full);
              });
        QTRY_COMPARE_WITH_TIMEOUT(submittedNumbers().size(), 1, Patience);
        QTRY_VERIFY_WITH_TIMEOUT(!isBusyStatus(m_form->session().engine().Status), Patience);
        QTest::qWait(1500); // the queue looks every 100 ms in this test
        disconnect(filler);
        ::setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, handler);
        QCOMPARE(submittedNumbers(), QStringList { QStringLiteral("0546000001") });
        QVERIFY2(m_form->statusDisplay().lastText().contains(QStringLiteral("ההיסטוריה לא יכלה לרשום")),
            qPrintable(m_form->statusDisplay().lastText()));
        QCOMPARE(m_store->entry(id)->outcome(), SendOutcome::Unknown);
        QVERIFY(m_store->dueBy(QDateTime::currentDateTime()).isEmpty());
    }

    // Sent later: the tray tip names the next send until the queue sends it, through the send workflow.
    void aSendSetForLaterGoesAtItsTime()
    {
        m_form->toggleShown();
        typeRecipient(QStringLiteral("054"), QStringLiteral("7777777"), QStringLiteral("בעוד רגע"));
        const QDateTime due = QDateTime::currentDateTime().addSecs(2);
        whenModal<QDialog>([due](QDialog& dialog) {
            dialog.findChild<QDateTimeEdit*>(QStringLiteral("DueEdit"))->setDateTime(due);
            dialog.accept();
        });
        m_form->sendLaterClicked();

        const HistoryEntry queued = newest();
        QVERIFY(queued.scheduled);
        QVERIFY(m_form->ui().trayIcon->hint().contains(QueueDialogs::shownTime(queued.due)));
        QVERIFY(m_sandbox.submissions().isEmpty());
        // Claimed as it goes (no longer queued), then completed.
        QTRY_VERIFY_WITH_TIMEOUT(
            m_store->entry(queued.id)->phase == LedgerPhase::Final && !m_store->entry(queued.id)->scheduled, Patience);
        QVERIFY(QDateTime::currentDateTime() >= due);
        QCOMPARE(m_store->entry(queued.id)->status, int(ssSent));
        QCOMPARE(submittedNumbers(), QStringList { QStringLiteral("0547777777") });
        QVERIFY(!m_form->ui().trayIcon->hint().contains(QueueDialogs::shownTime(queued.due)));
    }
};

QTEST_MAIN(TestMsgFormHistory)
#include "test_msgform_history.moc"
