#include "THiddenForm.h"

#include "common/Messages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QThread>

namespace {
THiddenForm::LanguageModuleLoader& languageModuleLoader()
{
    static THiddenForm::LanguageModuleLoader loader;
    return loader;
}
} // namespace

void THiddenForm::setLanguageModuleLoader(LanguageModuleLoader loader)
{
    languageModuleLoader() = std::move(loader);
}

THiddenForm::THiddenForm(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("HiddenForm"));
    // The program ends through this form only, never because its last visible window was hidden.
    setAttribute(Qt::WA_QuitOnClose, false);
    QGuiApplication::setQuitOnLastWindowClosed(false);

    m_phoneBook = new PhoneBookTable(PhoneBookTable::Kind::PhoneBook, this);
    m_phoneBook->setObjectName(QStringLiteral("phoneBook"));
    m_addressBookCache = new PhoneBookTable(PhoneBookTable::Kind::OutlookCache, this);
    m_addressBookCache->setObjectName(QStringLiteral("addressBookCache"));

    // The language module comes after the tables, as the last step of the creation.
    if (languageModuleLoader()) {
        try {
            languageModuleLoader()(*this);
        } catch (...) {
        }
    }
}

THiddenForm::~THiddenForm() = default;

void THiddenForm::setMainWindow(QWidget* mainWindow, std::function<void()> exitCommand)
{
    m_mainWindow = mainWindow;
    m_exitCommand = std::move(exitCommand);
}

bool THiddenForm::event(QEvent* event)
{
    if (userMessageOf(event) == UM_SHUTDOWN) {
        shutdown();
        return true;
    }
    return QWidget::event(event);
}

void THiddenForm::requestExit()
{
    if (m_exiting)
        return;
    m_exiting = true;
    if (m_mainWindow && m_exitCommand) {
        try {
            m_exitCommand();
            return;
        } catch (...) {
        }
    }
    postUserMessage(this, UM_SHUTDOWN);
}

void THiddenForm::shutdown()
{
    m_exiting = true;
    QWidget* mainWindow = m_mainWindow;
    if (!mainWindow) {
        QCoreApplication::exit(0);
        return;
    }
    mainWindow->hide();
    if (QThread::currentThread()->loopLevel() == 0) {
        // No event loop runs (the windows' tests): the window goes at the next deferred deletion.
        mainWindow->deleteLater();
        return;
    }
    // The exit may have been chosen from inside a modal box or a menu of the main window's, whose code runs
    // on when this handler returns, in its own event loop: the window goes only once every event loop has
    // ended and nothing of it is left on the stack, and what its destruction posts still runs before the
    // end. exit(), not quit(): the end cannot be refused by a window that declines to close.
    connect(
        qApp, &QCoreApplication::aboutToQuit, this,
        [this] {
            try {
                delete m_mainWindow.data();
                QCoreApplication::sendPostedEvents();
            } catch (...) {
            }
        },
        Qt::SingleShotConnection);
    QCoreApplication::exit(0);
}

void THiddenForm::closeEvent(QCloseEvent* event)
{
    requestExit();
    event->accept();
}
