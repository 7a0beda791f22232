#include "ProgramEntry.h"

#include "MessageBoxPrompt.h"
#include "SessionEnd.h"
#include "TMsgForm.h"
#include "Welcome.h"
#include "app/THiddenForm.h"
#include "common/AppPaths.h"
#include "common/GuardedApplication.h"
#include "common/Messages.h"
#include "common/StartupTrace.h"
#include "contacts/PhoneBookSteps.h"
#include "contacts/SmsLink.h"
#include "language/LanguageModules.h"
#include "session/SingleInstance.h"
#include "widgets/Skin.h"
#include "widgets/TTrayIcon.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPointer>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <cstring>

#include <fontconfig/fontconfig.h>
#include <thread>

ProgramEntry::Arguments ProgramEntry::parse(const QStringList& arguments)
{
    Arguments parsed;
    QStringList rest;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (AppPaths::takeServiceUrlOption(arguments, i, &parsed.serviceUrl))
            continue;
        if (argument == QLatin1String("--teach"))
            parsed.teach = true;
        else if (parsed.smsLink.isEmpty() && Contacts::SmsLink::isLink(argument))
            parsed.smsLink = argument;
        else
            rest.append(argument);
    }
    parsed.quiet = parsed.teach || (!rest.isEmpty() && rest.first() == QLatin1String("/quiet"));
    return parsed;
}

TMsgForm* ProgramEntry::start(
    const Arguments& arguments, THiddenForm& hiddenForm, TSMSBaseForm::BrowserMaker makeBrowser)
{
    TMsgForm::Options options { &hiddenForm, std::move(makeBrowser) };
    // The phone book's Outlook mode reads the address book's vCard folder.
    options.outlookSteps = Contacts::phoneBookSteps();
    auto* mainWindow = new TMsgForm(options);
    if (!arguments.quiet)
        mainWindow->postShowRequest();
    else if (!TTrayIcon::isSystemTrayAvailable())
        // With no notification area to start in, the program starts minimised where the user can reach it.
        mainWindow->putAway();
    return mainWindow;
}

namespace {
// Work that the main window needs but that needs no window, done on a second thread while the main one
// waits for the display: the font configuration and the skin's pictures while the application object
// connects, then the toolkit's font list (its font database is thread-safe) and the session bus (the
// first label's text reaches the accessibility bridge, which would otherwise wait for the bus there)
// while the hidden window is made. The thread is joined before the main window is made.
class StartUpWarmUp
{
public:
    StartUpWarmUp()
        : m_thread([] {
            FcInit();
            Skin::decodeAhead(Skin::mainWindowPictures());
        })
    {
    }
    ~StartUpWarmUp() { join(); }
    // Once the application object exists.
    void afterApplication()
    {
        join();
        m_thread = std::thread([] {
            QFontDatabase::families();
            QDBusConnection::sessionBus();
        });
    }
    void join()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    std::thread m_thread;
};
} // namespace

void ProgramEntry::answerLaterCopies(SingleInstance& instance, THiddenForm& hiddenForm)
{
    instance.setToggleHandler([&hiddenForm] {
        QWidget* current = hiddenForm.mainWindow();
        if (!current)
            return false;
        postUserMessage(current, UM_TOGGLEWINDOW);
        return true;
    });
    instance.setTeachHandler([&hiddenForm] {
        auto* current = qobject_cast<TMsgForm*>(hiddenForm.mainWindow());
        if (!current)
            return false;
        QMetaObject::invokeMethod(current, &TMsgForm::teachClicked, Qt::QueuedConnection);
        return true;
    });
    instance.setLinkHandler([&hiddenForm](const QString& link) {
        auto* current = qobject_cast<TMsgForm*>(hiddenForm.mainWindow());
        if (!current)
            return false;
        QMetaObject::invokeMethod(
            current, [current, link] { current->session().openSmsLink(link); }, Qt::QueuedConnection);
        return true;
    });
}

int ProgramEntry::run(int argc, char** argv)
{
    // Asked how to start it, the program says so and starts nothing (no display is needed for that).
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs("usage: zelkora [/quiet] [--teach] [--service-url URL] [sms:NUMBER[?body=TEXT]]\n"
                       "  /quiet             start in the notification area, with the window hidden\n"
                       "  --teach            open the window that learns a new operator's site\n"
                       "  --service-url URL  take the operators' definitions from URL\n"
                       "  sms:... smsto:...  open the window with the link's recipients and text\n"
                       "A running copy is asked to do it instead; see zelkora(1) and zelkora-cli --help.\n",
                stdout);
            return 0;
        }
    }
    StartupTrace::mark("main");
    StartUpWarmUp warmUp;
    // A file that may grow no more (a file-size limit) makes the write fail, which the writers report, instead
    // of ending the program in the middle of it.
    std::signal(SIGXFSZ, SIG_IGN);
    // No Qt::AA_ShareOpenGLContexts here: with it the application object makes an OpenGL context at once,
    // which loads the system's GL driver at every start (about 55 MiB more at idle and twice the start-up
    // time with Mesa) for a program that lives in the tray. The browser library, loaded at the first send,
    // renders no view and works without a shared context.
    GuardedApplication<QApplication> application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zelkora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zelkora"));
    StartupTrace::mark("application object made");

    const Arguments arguments = parse(QApplication::arguments().mid(1));
    if (!arguments.serviceUrl.isEmpty())
        AppPaths::setServiceUrlOverride(arguments.serviceUrl);

    // A running copy shows or hides its window (opens its teach window, fills its window from a link), and
    // this one ends having made none.
    const auto askRunningCopy = [&arguments] {
        if (!arguments.smsLink.isEmpty())
            return SingleInstance::openLinkInRunningCopy(arguments.smsLink);
        return arguments.teach ? SingleInstance::teachInRunningCopy() : SingleInstance::toggleRunningCopy();
    };
    if (!arguments.smsLink.isEmpty() && !SingleInstance::linkFits(arguments.smsLink)) {
        const QString refused = QCoreApplication::translate("ProgramEntry", "הקישור ארוך מדי, ולא ניתן לפתוח אותו");
        std::fprintf(stderr, "zelkora: %s\n", qPrintable(refused));
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            QMessageBox::warning(nullptr, QStringLiteral("Zelkora"), refused);
        return 1;
    }
    if (askRunningCopy())
        return 0;
    StartupTrace::mark("no running copy answered");
    // Taken over before this copy answers later ones: from then on a signal that ends the session is an
    // orderly exit, handled once the event loop runs, when the hidden root window exists.
    THiddenForm* root = nullptr;
    const SessionEnd sessionEnd([&root] {
        if (root)
            root->requestExit();
    });
    SingleInstance instance;
    if (!instance.lockData()) {
        // Another copy holds the user's data; one that starts at this very moment answers a moment later. This
        // copy never becomes a second one.
        for (int tries = 0; tries < 50; ++tries) {
            if (askRunningCopy())
                return 0;
            QThread::msleep(100);
        }
        std::fprintf(stderr, "zelkora: %s\n",
            qPrintable(QCoreApplication::translate("ProgramEntry", "התוכנה כבר פועלת עבור הקבצים שב-%1")
                           .arg(QDir::toNativeSeparators(AppPaths::appDir()))));
        return 0;
    }
    if (!instance.listen() && askRunningCopy())
        return 0;
    StartupTrace::mark("data locked, listening for later copies");

    warmUp.afterApplication();
    // Before anything of this run writes the settings file: whether it existed makes this the first start.
    Welcome::noteProgramStart();
    Welcome::guideWindows(true);
    MessageBoxPrompt::installForDesktop();
    // The interface language of the last run, loaded as the hidden root window's last creation step, before
    // any window with texts is made.
    THiddenForm::setLanguageModuleLoader([](THiddenForm&) { LanguageModules::loadAtStartUp(); });
    LanguageModules::applyLayoutDirection();
    THiddenForm hiddenForm;
    root = &hiddenForm;
    StartupTrace::mark("language loaded, hidden root window made");
    warmUp.join();
    StartupTrace::mark("warm-up thread joined");
    QPointer<TMsgForm> mainWindow = start(arguments, hiddenForm);
    StartupTrace::mark("main window made");
    answerLaterCopies(instance, hiddenForm);
    if (arguments.teach && mainWindow)
        QMetaObject::invokeMethod(mainWindow, &TMsgForm::teachClicked, Qt::QueuedConnection);
    if (!arguments.smsLink.isEmpty() && mainWindow) {
        QMetaObject::invokeMethod(
            mainWindow, [mainWindow, link = arguments.smsLink] { mainWindow->session().openSmsLink(link); },
            Qt::QueuedConnection);
    }
    const int status = QApplication::exec();
    delete hiddenForm.mainWindow();
    delete mainWindow.data();
    return status;
}
