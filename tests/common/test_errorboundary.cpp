// An error thrown where the event loop called in (a queued call, a timer, an event handler) ends in the
// general error report, and the loop goes on.

#include "common/ErrorReport.h"
#include "common/GuardedApplication.h"

#include <QGuiApplication>
#include <QTimer>
#include <QtTest>

class TestErrorBoundary : public QObject
{
    Q_OBJECT

private slots:
    void thrownErrorsStopAtTheApplication_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("reported");
        QTest::newRow("the program's own error") << 0 << "The file cannot be written.";
        QTest::newRow("a library's error") << 1 << "bad_alloc";
        QTest::newRow("anything else") << 2 << QCoreApplication::translate("ErrorReport", "אירעה שגיאה לא צפויה");
    }
    void thrownErrorsStopAtTheApplication()
    {
        QFETCH(int, kind);
        QFETCH(QString, reported);
        QStringList errors;
        const ErrorReport::Handler previous
            = ErrorReport::setHandler([&errors](const QString& text) { errors << text; });
        QTimer::singleShot(0, this, [kind] {
            if (kind == 0)
                throw ZelkoraError(QStringLiteral("The file cannot be written"));
            if (kind == 1)
                throw std::bad_alloc();
            throw 42;
        });
        bool after = false;
        QTimer::singleShot(10, this, [&after] { after = true; });
        QTRY_VERIFY(after);
        ErrorReport::setHandler(previous);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(reported), qPrintable(errors.first()));
    }
};

int main(int argc, char** argv)
{
    GuardedApplication<QGuiApplication> application(argc, argv);
    TestErrorBoundary test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_errorboundary.moc"
