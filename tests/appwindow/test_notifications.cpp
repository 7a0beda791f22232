// A queued send that ends while the window is hidden is told through the desktop's notification service: a
// service of the test's own on a private session bus receives the notification, and its activation opens the
// history on that entry.

#include "AppWindowTest.h"
#include "TestEnv.h"
#include "app/DesktopNotifier.h"
#include "app/THiddenForm.h"
#include "history/THistoryForm.h"
#include "widgets/TTrayIcon.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QtTest>

namespace {
// org.freedesktop.Notifications as a desktop offers it, keeping what it was asked to show.
class NotificationService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList shown; // "title|body"

public slots:
    uint Notify(const QString&, uint, const QString&, const QString& title, const QString& body, const QStringList&,
        const QVariantMap&, int)
    {
        shown << title + QLatin1Char('|') + body;
        return uint(shown.size());
    }
};
} // namespace

class TestNotifications : public QObject
{
    Q_OBJECT

    NotificationService m_service;
    QDBusConnection m_desktop = QDBusConnection(QString());

    void activate(uint id)
    {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActionInvoked"));
        signal << id << QStringLiteral("default");
        m_desktop.send(signal);
    }

private slots:
    void initTestCase()
    {
        TTrayIcon::setSystemTrayAvailableForTesting(true);
        m_desktop = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("desktop"));
        QVERIFY(m_desktop.isConnected());
        QVERIFY(m_desktop.registerObject(
            QStringLiteral("/org/freedesktop/Notifications"), &m_service, QDBusConnection::ExportAllSlots));
        QVERIFY(m_desktop.registerService(QStringLiteral("org.freedesktop.Notifications")));
    }

    void queuedSendEndedWhileHidden()
    {
        TestEnv::freshAppDir();
        THiddenForm root;
        TMsgForm* form = AppWindowTest::makeForm(&root).release();
        HistoryEntry entry;
        entry.id = form->session().history().add(entry);
        entry.name = QStringLiteral("דנה");
        entry.status = 6;
        entry.confirmed = true;
        entry.source = SendSource::Queue;

        // Shown, the window's own status says it.
        form->toggleShown();
        form->queuedSendEnded(entry);
        QTest::qWait(200);
        QCOMPARE(m_service.shown.size(), 0);

        form->toggleShown();
        QTRY_VERIFY(!form->isVisible());
        form->queuedSendEnded(entry);
        QTRY_COMPARE(m_service.shown.size(), 1);
        QVERIFY2(m_service.shown.first().contains(QStringLiteral("דנה"))
                && m_service.shown.first().contains(QStringLiteral("ההודעה נשלחה")),
            qPrintable(m_service.shown.first()));

        activate(1);
        QTRY_VERIFY(form->findChild<THistoryForm*>());
        QVERIFY(form->findChild<THistoryForm*>()->isVisible());
        delete form;
    }
};

int main(int argc, char** argv)
{
    // A session bus of the test's own, so that nothing reaches the user's desktop.
    QProcess bus;
    bus.start(QStringLiteral("dbus-daemon"), { QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                 QStringLiteral("--print-address") });
    if (!bus.waitForStarted() || !bus.waitForReadyRead(5000)) {
        std::puts("SKIP: dbus-daemon is missing");
        return 77;
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.readLine().trimmed());
    int status = 0;
    {
        QApplication application(argc, argv);
        TestNotifications test;
        status = QTest::qExec(&test, argc, argv);
    }
    bus.kill();
    bus.waitForFinished();
    return status;
}

#include "test_notifications.moc"
