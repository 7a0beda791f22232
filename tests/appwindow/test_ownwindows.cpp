// The handset among the program's own windows, on an X server of the test's own (Xvfb) with a window manager
// (openbox), where stacking and minimising are real: help, teach, languages and preferences opened over the
// handset leave both windows shown; only another program's window covering the handset minimises it.

#include "AppWindowTest.h"
#include "app/HelpViewer.h"
#include "app/LanguageSwitch.h"
#include "app/THiddenForm.h"
#include "language/TLanguagesForm.h"
#include "widgets/TTrayIcon.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QtTest>

#include <xcb/xcb.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {
// Xvfb and openbox for the life of the test program; DISPLAY names the server.
class X11Desktop
{
public:
    X11Desktop()
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        const std::string fd = std::to_string(fds[1]);
        m_server = spawn({ "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1366x768x24", "-nolisten", "tcp" });
        ::close(fds[1]);
        char number[16] = {};
        const ssize_t read = m_server > 0 ? ::read(fds[0], number, sizeof number - 1) : -1;
        ::close(fds[0]);
        if (read <= 0)
            return;
        ::setenv("DISPLAY", (QByteArray(":") + QByteArray(number).trimmed()).constData(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        m_manager = spawn({ "openbox" });
        ::usleep(500000);
        m_ready = m_manager > 0;
    }
    ~X11Desktop()
    {
        for (const pid_t pid : { m_manager, m_server })
            if (pid > 0) {
                ::kill(pid, SIGTERM);
                ::waitpid(pid, nullptr, 0);
            }
    }
    bool ready() const { return m_ready; }

private:
    static pid_t spawn(std::initializer_list<const char*> arguments)
    {
        std::vector<char*> argv;
        for (const char* argument : arguments)
            argv.push_back(const_cast<char*>(argument));
        argv.push_back(nullptr);
        pid_t pid = 0;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        return failed ? 0 : pid;
    }

    pid_t m_server = 0;
    pid_t m_manager = 0;
    bool m_ready = false;
};

// A window of another program: made on a connection of its own, so the program does not know it.
class ForeignWindow
{
public:
    explicit ForeignWindow(const QRect& rect)
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        m_window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, screen->root, int16_t(rect.x()),
            int16_t(rect.y()), uint16_t(rect.width()), uint16_t(rect.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
            screen->root_visual, 0, nullptr);
        // Placed where the program asked, not where the window manager would find room (USPosition, USSize).
        const uint32_t hints[18] = { 1 | 2, uint32_t(rect.x()), uint32_t(rect.y()), uint32_t(rect.width()),
            uint32_t(rect.height()) };
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_NORMAL_HINTS,
            XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);
        xcb_map_window(m_connection, m_window);
        xcb_flush(m_connection);
    }
    ~ForeignWindow() { xcb_disconnect(m_connection); }

private:
    xcb_connection_t* m_connection;
    xcb_window_t m_window = 0;
};

QWidget* shownWindow(const char* objectName)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String(objectName) && widget->isVisible())
            return widget;
    return nullptr;
}
} // namespace

class TestOwnWindows : public QObject
{
    Q_OBJECT

    std::unique_ptr<THiddenForm> m_root;
    TMsgForm* m_form = nullptr;

    // The rule's own path, as the banner and statistics timers take it, a few times over a second and a half.
    void coverRuleRuns()
    {
        for (int i = 0; i < 3; ++i) {
            QTest::qWait(500);
            m_form->minimiseIfCovered();
        }
        QTest::qWait(300);
    }

    // Over the handset, as large as it; shown for the window manager.
    static void overHandset(QWidget* window, const TMsgForm* form)
    {
        window->move(form->frameGeometry().topLeft());
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

private slots:
    void initTestCase() { TTrayIcon::setSystemTrayAvailableForTesting(true); }

    void init()
    {
        m_root = std::make_unique<THiddenForm>();
        m_form = AppWindowTest::makeForm(m_root.get()).release();
        m_form->toggleShown();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
    }

    void cleanup()
    {
        delete LanguageSwitch::window();
        delete qobject_cast<TMsgForm*>(m_root->mainWindow());
        m_root.reset();
    }

    void anotherProgramsWindowMinimisesTheHandset()
    {
        const ForeignWindow cover(m_form->frameGeometry().adjusted(-20, -20, 20, 20));
        QTRY_VERIFY(m_form->isWindowCovered());
        m_form->minimiseIfCovered();
        QTRY_VERIFY(m_form->isMinimized());
    }

    void ownWindowsLeaveTheHandsetShown_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("help") << "help";
        QTest::newRow("teach") << "teach";
        QTest::newRow("languages") << "languages";
        QTest::newRow("preferences") << "preferences";
    }
    void ownWindowsLeaveTheHandsetShown()
    {
        QFETCH(QString, window);
        QWidget* opened = nullptr;
        if (window == QLatin1String("preferences")) {
            // Modal: looked at from inside its own event loop.
            bool checked = false;
            QTimer::singleShot(200, this, [&] {
                QWidget* dialog = QApplication::activeModalWidget();
                QVERIFY(dialog);
                overHandset(dialog, m_form);
                coverRuleRuns();
                QVERIFY(!m_form->isWindowCovered());
                QVERIFY(m_form->isShown());
                QVERIFY(dialog->isVisible() && !dialog->isMinimized());
                checked = true;
                qobject_cast<QDialog*>(dialog)->reject();
            });
            m_form->preferencesClicked();
            QVERIFY(checked);
            return;
        }
        if (window == QLatin1String("help")) {
            m_form->showHelp();
            QTRY_VERIFY((opened = shownWindow("HelpViewer")));
        } else if (window == QLatin1String("teach")) {
            m_form->teachClicked();
            QTRY_VERIFY((opened = shownWindow("TeachForm")));
        } else {
            m_form->languagesClicked();
            QTRY_VERIFY((opened = LanguageSwitch::window()));
        }
        overHandset(opened, m_form);
        coverRuleRuns();
        QVERIFY(!m_form->isWindowCovered());
        QVERIFY(m_form->isShown());
        QVERIFY(opened->isVisible() && !opened->isMinimized());
        QVERIFY(m_form->ui().trayIcon->isShown());

        if (window == QLatin1String("teach")) {
            // Minimised meanwhile (by the user or the window manager), the handset is back once teaching ends.
            m_form->showMinimized();
            QTRY_VERIFY(m_form->isMinimized());
            opened->close();
            QTRY_VERIFY(m_form->isShown());
        } else {
            opened->close();
        }
    }
};

int main(int argc, char** argv)
{
    const X11Desktop desktop;
    if (!desktop.ready()) {
        std::puts("SKIP: Xvfb or openbox is missing");
        return 77;
    }
    QApplication application(argc, argv);
    TestOwnWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_ownwindows.moc"
