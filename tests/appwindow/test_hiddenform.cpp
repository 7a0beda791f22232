#include "app/THiddenForm.h"
#include "common/ErrorReport.h"
#include "common/Messages.h"

#include <QApplication>
#include <QPointer>
#include <QSqlDatabase>
#include <QTimer>
#include <QtTest>

namespace {
const QEvent::Type Pending = static_cast<QEvent::Type>(QEvent::User + 1);

// Counts the events that reach it; throws on one when asked to.
class Receiver : public QObject
{
public:
    int received = 0;
    bool throwing = false;

protected:
    void customEvent(QEvent*) override
    {
        ++received;
        if (throwing)
            throw ZelkoraError(QStringLiteral("handler failed"));
    }
};

// A main window whose destruction posts an event, as one that stops its timers and requests would.
class MainWindow : public QWidget
{
public:
    explicit MainWindow(Receiver* receiver)
        : m_receiver(receiver)
    {
    }
    ~MainWindow() override { QCoreApplication::postEvent(m_receiver, new QEvent(Pending)); }

private:
    Receiver* m_receiver;
};

// Runs the event loop until the program is ended; 99 when it was not ended within the time.
int runUntilEnd()
{
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    return QCoreApplication::exec();
}
} // namespace

class TestHiddenForm : public QObject
{
    Q_OBJECT
private slots:
    void createdWithEmptyTablesBeforeTheLanguageModule()
    {
        int loaderRuns = 0;
        THiddenForm::setLanguageModuleLoader([&](THiddenForm& form) {
            ++loaderRuns;
            QVERIFY(form.phoneBook() && form.addressBookCache());
            QCOMPARE(form.phoneBook()->kind(), PhoneBookTable::Kind::PhoneBook);
            QCOMPARE(form.addressBookCache()->kind(), PhoneBookTable::Kind::OutlookCache);
            QVERIFY(form.phoneBook()->isEmpty() && form.addressBookCache()->isEmpty());
            throw ZelkoraError(QStringLiteral("no module"));
        });
        THiddenForm form;
        THiddenForm::setLanguageModuleLoader({});
        QCOMPARE(loaderRuns, 1);
        QVERIFY(!form.isVisible());
        QVERIFY(form.phoneBook()->appendRecord({ "Dan", "052", "1234567" }));
    }

    // The start of the program does not wait for the database driver: a table makes its database at its
    // first use, and looks open and empty from the start.
    void tablesMakeTheirDatabaseAtFirstUse()
    {
        const int before = QSqlDatabase::connectionNames().size();
        THiddenForm form;
        QCOMPARE(QSqlDatabase::connectionNames().size(), before);
        QVERIFY(form.phoneBook()->isEmpty());
        QCOMPARE(QSqlDatabase::connectionNames().size(), before + 1);
        QCOMPARE(form.addressBookCache()->recordCount(), 0);
        QCOMPARE(QSqlDatabase::connectionNames().size(), before + 2);
    }

    void shutdownEndsTheProgram_data()
    {
        QTest::addColumn<bool>("withMainWindow");
        QTest::addColumn<bool>("pendingHandlerFails");
        QTest::newRow("with a main window") << true << false;
        QTest::newRow("without a main window") << false << false;
        QTest::newRow("a pending handler fails") << true << true;
    }

    void shutdownEndsTheProgram()
    {
        QFETCH(bool, withMainWindow);
        QFETCH(bool, pendingHandlerFails);

        Receiver receiver;
        receiver.throwing = pendingHandlerFails;
        THiddenForm form;
        QPointer<QWidget> mainWindow = new MainWindow(&receiver);
        if (withMainWindow)
            form.setMainWindow(mainWindow);

        postUserMessage(&form, UM_SHUTDOWN);
        QCOMPARE(runUntilEnd(), 0);
        QCOMPARE(mainWindow.isNull(), withMainWindow);
        QCOMPARE(receiver.received, withMainWindow ? 1 : 0);
        QVERIFY(!form.mainWindow());
        delete mainWindow.data();
    }

    void closeRequestRunsTheExitCommand()
    {
        Receiver receiver;
        THiddenForm form;
        QPointer<QWidget> mainWindow = new MainWindow(&receiver);
        int exitCommandRuns = 0;
        form.setMainWindow(mainWindow, [&] {
            ++exitCommandRuns;
            postUserMessage(&form, UM_SHUTDOWN);
        });

        bool closed = false;
        QTimer::singleShot(0, &form, [&] { closed = form.close(); });
        QCOMPARE(runUntilEnd(), 0);
        QVERIFY(closed);
        QCOMPARE(exitCommandRuns, 1);
        QVERIFY(mainWindow.isNull());
        QCOMPARE(receiver.received, 1);
    }
};

QTEST_MAIN(TestHiddenForm)
#include "test_hiddenform.moc"
