#include "LanguageSwitch.h"

#include "TMsgForm.h"
#include "app/THiddenForm.h"
#include "common/Messages.h"
#include "language/TLanguagesForm.h"
#include "net/TAdvHttp.h"
#include "sending/SendWorkflow.h"
#include "session/ServiceConnection.h"
#include "widgets/TTrayIcon.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

namespace {
QPointer<TLanguagesForm>& openWindow()
{
    static QPointer<TLanguagesForm> window;
    return window;
}

QString& moduleBase()
{
    static QString base;
    return base;
}

// Runs `work` from the outermost event loop, when no handler of the main window's is left on the stack.
void whenUnwound(QObject* context, const std::function<void()>& work)
{
    QTimer::singleShot(0, context, [context, work] {
        if (QThread::currentThread()->loopLevel() > 1)
            whenUnwound(context, work);
        else
            work();
    });
}
} // namespace

LanguageSwitch::LanguageSwitch(THiddenForm& root)
    : QObject(&root)
    , m_root(root)
{
}

TLanguagesForm* LanguageSwitch::window()
{
    return openWindow();
}

void LanguageSwitch::setModuleBase(const QString& base)
{
    moduleBase() = base;
}

void LanguageSwitch::open(TMsgForm& mainWindow)
{
    THiddenForm* root = mainWindow.options().hiddenForm;
    if (!root || openWindow())
        return;
    // A list send waits in an event loop of its own inside the send command: it stops with the recipient
    // under way, and the switch follows once it has returned.
    if (mainWindow.session().listSending())
        mainWindow.session().cancelList();
    const QPointer<TMsgForm> guard(&mainWindow);
    whenUnwound(root, [root, guard] {
        if (!guard || openWindow() || root->mainWindow() != guard)
            return;
        auto* host = new LanguageSwitch(*root);
        auto* window
            = new TLanguagesForm(*host, moduleBase().isEmpty() ? LanguageModules::programModuleBase() : moduleBase());
        openWindow() = window;
        // The switch goes when the window has done its work.
        QObject::connect(window, &QObject::destroyed, host, &QObject::deleteLater);
        window->show();
    });
}

QString LanguageSwitch::languageCode() const
{
    if (auto* mainWindow = qobject_cast<TMsgForm*>(m_root.mainWindow()))
        return mainWindow->session().languageCode();
    return m_languageCode;
}

void LanguageSwitch::releaseMainWindow()
{
    auto* mainWindow = qobject_cast<TMsgForm*>(m_root.mainWindow());
    if (!mainWindow)
        return;
    m_languageCode = mainWindow->session().languageCode();
    // The session outlives the window: the one built in its place shows it again, with what was typed.
    // Nothing of it runs on meanwhile (its timers, its engine, silently, and its HTTP transfer stop), and
    // what it keeps between runs is kept now.
    m_session = mainWindow->takeSession();
    m_sessionInUse = &mainWindow->session();
    mainWindow->session().shutdown();
    mainWindow->ui().trayIcon->RemoveIcon();
    mainWindow->hide();
    QCoreApplication::processEvents();
    m_released = mainWindow;
    // Released from the outermost event loop (see open()): it goes at the next turn of that loop.
    mainWindow->deleteLater();
}

void LanguageSwitch::rebuildMainWindow()
{
    TMsgForm::Options options;
    options.hiddenForm = &m_root;
    if (m_released)
        options = m_released->options();
    options.session = m_sessionInUse;
    // The released window is gone before the new one registers with the root window.
    delete m_released.data();
    auto* mainWindow = new TMsgForm(options);
    mainWindow->adoptSession(std::move(m_session));
    QCoreApplication::processEvents();
    postUserMessage(mainWindow, UM_TOGGLEWINDOW);
}
