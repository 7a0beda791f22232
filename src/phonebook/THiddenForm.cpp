#include "THiddenForm.h"

#include "common/Messages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QSessionManager>

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

    m_clientDataSet1 = new PhoneBookTable(PhoneBookTable::Kind::PhoneBook, this);
    m_clientDataSet1->setObjectName(QStringLiteral("ClientDataSet1"));
    m_clientDataSet2 = new PhoneBookTable(PhoneBookTable::Kind::OutlookCache, this);
    m_clientDataSet2->setObjectName(QStringLiteral("ClientDataSet2"));

#ifndef QT_NO_SESSIONMANAGER
    // The end of the desktop session is this window's close request.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { close(); });
#endif

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

void THiddenForm::shutdown()
{
    try {
        delete m_mainWindow.data();
    } catch (...) {
    }
    try {
        // What the main window's destruction posted still runs before the end.
        QCoreApplication::processEvents();
    } catch (...) {
    }
    // exit(), not quit(): the end cannot be refused by a window that declines to close.
    QCoreApplication::exit(0);
}

void THiddenForm::closeEvent(QCloseEvent* event)
{
    // The exit command is run as by the program itself; a main window that is gone has none to run.
    if (m_mainWindow && m_exitCommand) {
        try {
            m_exitCommand();
        } catch (...) {
        }
    }
    try {
        QCoreApplication::processEvents();
    } catch (...) {
    }
    event->accept();
    QCoreApplication::exit(0);
}
