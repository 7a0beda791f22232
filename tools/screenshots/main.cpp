// Takes the documentation's screenshots of the desktop program as it runs against the sandbox network: the
// main window in the middle of a send, the status window of a list send, the phone book (also on the address
// book's contacts, with the progress window of their import), the window of a site's question, the
// preferences, the About box, the help and the teach window in the middle of a demonstration. With a second argument
// "ENU" it takes the main window, the preferences and the phone book in English instead. Run it through
// scripts/screenshots, which gives it an X server of its own (Xvfb) and a window manager; the pictures are what that X
// server shows.
#include "SandboxProcess.h"
#include "app/HelpViewer.h"
#include "app/ProgramEntry.h"
#include "app/TAboutForm.h"
#include "app/THiddenForm.h"
#include "app/TMsgForm.h"
#include "app/TPopUpStatusForm.h"
#include "common/AppPaths.h"
#include "contacts/PhoneBookSteps.h"
#include "engine/IWebBrowser.h"
#include "history/THistoryForm.h"
#include "language/LanguageModules.h"
#include "phonebook/PhoneBookTable.h"
#include "phonebook/TPhoneBookForm.h"
#include "phonebook/TProgressForm.h"
#include "sending/PersonPageWindow.h"
#include "settings/SmsIni.h"
#include "settings/TPreferencesForm.h"
#include "teach/TTeachForm.h"
#include "widgets/TListLabel.h"
#include "widgets/TTrayIcon.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {
QString g_outputFolder;

// What the X server shows of the window, its frame included, once everything pending is painted.
bool shoot(QWidget* window, const QString& name)
{
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    const QRect frame = window->frameGeometry();
    const QPixmap picture = window->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    const QString path = QDir(g_outputFolder).filePath(name);
    const bool saved = picture.save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

void waitUntil(const std::function<bool()>& done, int ms = 20000)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
}

// Runs `step` once a modal window of that kind is open, then closes it with Cancel.
template<typename Dialog> void whenOpen(const std::function<void(Dialog*)>& step)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, step] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->deleteLater();
        poll->stop();
        step(dialog);
        dialog->reject();
    });
    poll->start(100);
}

// Runs `step` on the first visible window of that kind that is `ready`, once.
template<typename Window>
void whenShown(const std::function<bool(Window*)>& ready, const std::function<void(Window*)>& step)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, ready, step] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* window = qobject_cast<Window*>(widget);
            if (window && window->isVisible() && ready(window)) {
                poll->deleteLater();
                poll->stop();
                step(window);
                return;
            }
        }
    });
    poll->start(20);
}

// An address book of some thousands of cards, so that its import is long enough to be seen.
QString writeAddressBook(const QString& folder)
{
    static const char* const first[] = { "אבי", "גלית", "דני", "רונית", "יוסי", "מיכל", "עומר", "שירה" };
    static const char* const last[] = { "כהן", "לוי", "מזרחי", "אברהם", "פרץ", "ביטון", "דהן", "אזולאי" };
    QDir().mkpath(folder);
    for (int i = 0; i < 6000; ++i) {
        QFile card(QStringLiteral("%1/%2.vcf").arg(folder).arg(i, 4, 10, QLatin1Char('0')));
        card.open(QIODevice::WriteOnly);
        const QString name = QString::fromUtf8(first[i % 8]) + QLatin1Char(' ') + QString::fromUtf8(last[(i / 8) % 8])
            + (i < 64 ? QString() : QStringLiteral(" %1").arg(i));
        card.write(QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:%1\r\nTEL;TYPE=CELL:05%2-%3\r\nEND:VCARD\r\n")
                       .arg(name)
                       .arg(2 + i % 6)
                       .arg(1000000 + i * 37)
                       .toUtf8());
    }
    return folder;
}

// Types into the field of the teach window's page as the keyboard does: the field is focused, then each
// character arrives as a key press and release, so that the page's recorder sees real typing.
void typeInPage(IBrowserView* view, const QString& field, const QString& text, bool enter = false)
{
    bool done = false;
    view->runScript(QStringLiteral("(function(){const e=document.querySelector('%1');e.focus();"
                                   "if(e.select)e.select();})()")
                        .arg(field),
        [&](const QVariant&) { done = true; });
    waitUntil([&] { return done; }, 5000);
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    QWidget* target = view->widget()->focusProxy() ? view->widget()->focusProxy() : view->widget();
    const auto key = [&](int code, const QString& character) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, character);
        QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, character);
        QCoreApplication::sendEvent(target, &press);
        QCoreApplication::sendEvent(target, &release);
    };
    for (const QChar c : text)
        key(c.isDigit()        ? Qt::Key_0 + c.digitValue()
                : c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A')
                               : Qt::Key_Space,
            QString(c));
    if (enter)
        key(Qt::Key_Return, QStringLiteral("\r"));
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir folder;
    for (const char* sub : { "config/zelkora", "app", "cache", "data", "home" })
        QDir().mkpath(folder.path() + QLatin1Char('/') + QLatin1String(sub));
    qputenv("HOME", QFile::encodeName(folder.path() + QStringLiteral("/home")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path() + QStringLiteral("/config")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(folder.path() + QStringLiteral("/cache")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder.path() + QStringLiteral("/data")));
    // The teach and person-in-the-loop windows are pictured in this process, where they can be reached; in the
    // engine worker they look the same.
    qputenv("ZELKORA_ENGINE_WORKER", "0");
    qputenv("ZELKORA_APPDIR", QFile::encodeName(folder.path() + QStringLiteral("/app")));
    QFile ini(folder.path() + QStringLiteral("/config/zelkora/SMS.INI"));
    ini.open(QIODevice::WriteOnly);
    ini.write("[General]\r\nTimeOut=30\r\nContactsFolder=" + QFile::encodeName(folder.path())
        + "/data/contacts\r\n[Sahar]\r\nUserName=demo\r\nPassword=demo1234\r\n"
          "[Ofek]\r\nUserName=demo\r\nPassword=demo1234\r\n[Magen]\r\nUserName=demo\r\nPassword=demo1234\r\n");
    ini.close();

    QApplication app(argc, argv);
    g_outputFolder = QCoreApplication::arguments().value(1, QStringLiteral("."));
    const bool english = QCoreApplication::arguments().value(2) == QLatin1String("ENU");
    if (english) {
        const QString base = QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora");
        QTranslator* module = LanguageModules::LoadLanguageModule(base, QStringLiteral("ENU"));
        if (!module) {
            std::fprintf(stderr, "the English module is missing beside the program\n");
            return 1;
        }
        LanguageModules::SetResourceModule(module);
    }
    QProcess sandbox;
    const QString url = startSandboxProcess(sandbox);
    if (url.isEmpty()) {
        std::fprintf(stderr, "the sandbox did not start\n");
        return 1;
    }
    AppPaths::setServiceUrlOverride(url);
    TTrayIcon::setSystemTrayAvailableForTesting(true);

    THiddenForm hiddenForm;
    PhoneBookTable& book = *hiddenForm.phoneBook();
    book.appendRecords({ { QStringLiteral("אבי כהן"), QStringLiteral("052"), QStringLiteral("1234567") },
        { QStringLiteral("גלית לוי"), QStringLiteral("054"), QStringLiteral("7654321") },
        { QStringLiteral("דני מזרחי"), QStringLiteral("055"), QStringLiteral("2223334") },
        { QStringLiteral("רונית אברהם"), QStringLiteral("053"), QStringLiteral("9876543") } });
    book.saveToFile(book.filePath());

    TMsgForm* form = ProgramEntry::start(ProgramEntry::parse({}), hiddenForm);
    waitUntil([&] { return form->isShown() && form->session().connectionState() == ConnectionState::Service; });
    // The service's banners come with its statistics reply; the first one is downloaded and shown.
    bool bannerShown = false;
    QObject::connect(&form->session().banners(), &BannerRotation::bannerShown, form, [&] { bannerShown = true; });
    waitUntil([&] { return bannerShown; }, 20000);
    form->session().banners().BannerTimer.stop();
    int status = 0;

    if (english) {
        form->ui().senderEdit->setText(QStringLiteral("Dana"));
        form->ui().areaCodeEdit->setText(QStringLiteral("052"));
        form->ui().numberEdit->setText(QStringLiteral("1234567"));
        form->ui().messageEdit->setPlainText(QStringLiteral("Meet you at eight by the cinema?"));
        status |= !shoot(form, QStringLiteral("screenshot-english.png"));
        whenOpen<TPhoneBookForm>([&](TPhoneBookForm* dialog) {
            waitUntil([&] { return dialog->grid->model() && dialog->grid->model()->rowCount() > 0; }, 5000);
            status |= !shoot(dialog, QStringLiteral("screenshot-phonebook-english.png"));
        });
        form->phoneBookClicked();
        whenOpen<TPreferencesForm>([&](TPreferencesForm* dialog) {
            dialog->chooseProvider(QStringLiteral("Sahar"));
            status |= !shoot(dialog, QStringLiteral("screenshot-preferences-english.png"));
        });
        form->preferencesClicked();
        delete form;
        sandbox.terminate();
        sandbox.waitForFinished(3000);
        return status;
    }

    // The main window in the middle of a send.
    form->ui().senderEdit->setText(QStringLiteral("דנה"));
    form->ui().areaCodeEdit->setText(QStringLiteral("052"));
    form->ui().numberEdit->setText(QStringLiteral("1234567"));
    form->ui().recipientLabel->setText(QStringLiteral("אבי כהן"));
    form->ui().messageEdit->setPlainText(QStringLiteral("נפגשים בשמונה ליד הקולנוע?"));
    bool shotMidSend = false;
    QObject::connect(&form->session().engine(), &TSMSBaseForm::statusChanged, form, [&](TSMSStatus s) {
        if (s == ssSending && !shotMidSend) {
            shotMidSend = true;
            status |= !shoot(form, QStringLiteral("screenshot-sending.png"));
        }
    });
    form->sendClicked();
    waitUntil([&] { return !isBusyStatus(form->session().engine().Status); });

    // The status window of a list send, as its second recipient is under way.
    form->ui().recipientLabel->setList({ QStringLiteral("אבי כהן=052-1234567"), QStringLiteral("גלית לוי=054-7654321"),
        QStringLiteral("דני מזרחי=055-2223334") });
    form->ui().recipientLabel->setIsList(true);
    bool shotList = false;
    QObject::connect(&form->session().engine(), &TSMSBaseForm::statusChanged, form, [&](TSMSStatus s) {
        if (s == ssSending && form->session().currentRecipient() == 1 && form->popUpStatusForm() && !shotList) {
            shotList = true;
            status |= !shoot(form->popUpStatusForm(), QStringLiteral("screenshot-list.png"));
        }
    });
    form->sendClicked();
    if (auto* window = form->findChild<TPopUpStatusForm*>())
        window->close();

    // A site that asks what only a person can answer: its own page, in the window that shows it over the
    // main window, once the page and its picture are drawn; then Cancel.
    bool shotPerson = false;
    QObject::connect(form->personPages(), &PersonPages::shown, form, [&](PersonPageWindow* window) {
        QTimer::singleShot(2000, window, [&, window] {
            status |= !shoot(window, QStringLiteral("screenshot-person.png"));
            shotPerson = true;
            window->cancelButton()->click();
        });
    });
    form->ui().recipientLabel->setIsList(false);
    form->ui().recipientLabel->setText(QString());
    form->ui().areaCodeEdit->setText(QStringLiteral("059"));
    form->ui().numberEdit->setText(QStringLiteral("1234567"));
    form->sendClicked();
    waitUntil([&] { return shotPerson && !isBusyStatus(form->session().engine().Status); }, 40000);

    // The history window over what was sent above, a rejected and a failed send, and one set for tomorrow.
    form->ui().senderEdit->setText(QStringLiteral("דנה"));
    for (const auto& [area, phone] : { std::pair { "054", "9123456" }, std::pair { "056", "5556667" } }) {
        form->ui().areaCodeEdit->setText(QLatin1String(area));
        form->ui().numberEdit->setText(QLatin1String(phone));
        form->ui().messageEdit->setPlainText(QStringLiteral("הזמנה לערב שישי"));
        form->sendClicked();
        waitUntil([&] { return !isBusyStatus(form->session().engine().Status); });
    }
    MainSession::Composition& later = form->session().composition();
    later.area = QStringLiteral("053");
    later.phone = QStringLiteral("9876543");
    later.recipientName = QStringLiteral("רונית אברהם");
    later.message = QStringLiteral("יום הולדת שמח!");
    form->session().scheduleComposition(QDateTime(QDate::currentDate().addDays(1), QTime(9, 0)));
    form->historyClicked();
    if (THistoryForm* history = form->historyForm()) {
        history->resize(900, 330);
        waitUntil([&] { return history->isVisible(); }, 5000);
        status |= !shoot(history, QStringLiteral("screenshot-history.png"));
        history->close();
    }

    // The phone book and the preferences.
    whenOpen<TPhoneBookForm>([&](TPhoneBookForm* dialog) {
        waitUntil([&] { return dialog->grid->model() && dialog->grid->model()->rowCount() > 0; }, 5000);
        status |= !shoot(dialog, QStringLiteral("screenshot-phonebook.png"));
    });
    form->phoneBookClicked();

    // The phone book on the address book's contacts: the progress window of their import, then the list.
    writeAddressBook(folder.path() + QStringLiteral("/data/contacts"));
    SmsIni().setUseOutlook(true);
    whenShown<TProgressForm>([](TProgressForm* progress) { return progress->gauge->PercentDone() >= 40; },
        [&](TProgressForm* progress) { status |= !shoot(progress, QStringLiteral("screenshot-import.png")); });
    whenOpen<TPhoneBookForm>([&](TPhoneBookForm* dialog) {
        waitUntil([&] { return dialog->grid->model() && dialog->grid->model()->rowCount() > 2000; }, 60000);
        status |= !shoot(dialog, QStringLiteral("screenshot-contacts.png"));
        dialog->addressBookBox->setChecked(false);
    });
    form->phoneBookClicked();
    SmsIni().setUseOutlook(false);

    whenOpen<TPreferencesForm>([&](TPreferencesForm* dialog) {
        dialog->chooseProvider(QStringLiteral("Sahar"));
        status |= !shoot(dialog, QStringLiteral("screenshot-preferences.png"));
    });
    form->preferencesClicked();
    whenOpen<TAboutForm>([&](TAboutForm* dialog) { status |= !shoot(dialog, QStringLiteral("screenshot-about.png")); });
    form->showAbout();
    form->showHelp();
    if (auto* help = form->findChild<HelpViewer*>()) {
        waitUntil([&] { return help->isVisible(); }, 5000);
        status |= !shoot(help, QStringLiteral("screenshot-help.png"));
        help->close();
    }

    // The teach window at the second step, on kesher (no login): the message form being filled in with the
    // sample values, typed.
    form->teachClicked();
    if (auto* teach = form->findChild<TTeachForm*>(); teach && teach->browserView()) {
        teach->resize(1000, 700);
        IBrowserView* view = teach->browserView();
        teach->findChild<QLineEdit*>(QStringLiteral("ProviderName"))->setText(QStringLiteral("Kesher"));
        teach->findChild<QLineEdit*>(QStringLiteral("AreaCodes"))->setText(QStringLiteral("054,057"));
        teach->findChild<QLineEdit*>(QStringLiteral("OwnArea"))->setText(QStringLiteral("054"));
        teach->findChild<QLineEdit*>(QStringLiteral("OwnNumber"))->setText(QStringLiteral("1234567"));
        QMetaObject::invokeMethod(teach->findChild<QPushButton*>(QStringLiteral("SkipLoginButton")), "click");
        auto* address = teach->findChild<QLineEdit*>(QStringLiteral("AddressEdit"));
        address->setText(url + QStringLiteral("/kesher/sms"));
        QMetaObject::invokeMethod(address, "returnPressed");
        const auto pageHas = [&](const QString& selector) {
            bool found = false;
            bool done = false;
            view->runScript(
                QStringLiteral("document.readyState==='complete'&&!!document.querySelector('%1')").arg(selector),
                [&](const QVariant& v) {
                    found = v.toBool();
                    done = true;
                });
            waitUntil([&] { return done; }, 5000);
            return found;
        };
        waitUntil([&] { return pageHas(QStringLiteral("textarea[name=msg]")); });
        const SampleValues samples = teach->samples();
        typeInPage(view, QStringLiteral("[name=phone]"), samples.area + samples.number);
        typeInPage(view, QStringLiteral("[name=msg]"), samples.message);
        status |= !shoot(teach, QStringLiteral("screenshot-teach.png"));
        teach->close();
    }

    delete form;
    sandbox.terminate();
    sandbox.waitForFinished(3000);
    return status;
}
