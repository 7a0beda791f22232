// A new user's first steps: the status line says when the program knows no provider yet, the first start
// opens the welcome box with three ways on (teaching an operator, a service address, the demo operators),
// and the demo operators run for this run only.

#include "TMsgForm.h"

#include "Welcome.h"
#include "WelcomeBox.h"
#include "common/AppPaths.h"
#include "session/DemoOperators.h"
#include "session/ServiceConnection.h"
#include "widgets/SkinColors.h"
#include "settings/TPreferencesForm.h"

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

namespace {
// The sandbox's operator without a login, and a number it accepts: the first message of the demo goes there.
const QString DemoAreaCode = QStringLiteral("054");
const QString DemoPhone = QStringLiteral("1234567");

DemoOperators* demoOperators(const MainSession& session)
{
    return session.findChild<DemoOperators*>(QString(), Qt::FindDirectChildrenOnly);
}

QString noProvidersText()
{
    return TMsgForm::tr("אין עדיין ספקים: יש ללמד את התוכנה מפעיל או להזין כתובת שירות");
}

QString demoText()
{
    return TMsgForm::tr("מפעילי הדגמה: שום הודעה לא יוצאת מהמחשב");
}

// The area-code menu is built again whenever the definitions change (a reply of the service, an operator the
// user taught): the window looks again once the menu is complete.
class AreaMenuWatcher : public QObject
{
public:
    AreaMenuWatcher(QMenu* menu, std::function<void()> changed)
        : QObject(menu)
        , m_changed(std::move(changed))
    {
        m_pending.setSingleShot(true);
        m_pending.setInterval(0);
        connect(&m_pending, &QTimer::timeout, this, [this] { m_changed(); });
        menu->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionRemoved)
            m_pending.start();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_changed;
    QTimer m_pending;
};
} // namespace

bool TMsgForm::queueFirstSteps()
{
    QMetaObject::invokeMethod(this, &TMsgForm::guideFirstSteps, Qt::QueuedConnection);
    return true;
}

void TMsgForm::guideFirstSteps()
{
    if (!Welcome::windowsGuided())
        return;
    connect(this, &TMsgForm::toggled, this, [this](bool visible) {
        if (visible)
            firstStepsOnShow();
    });
    connect(&m_session->service(), &ServiceConnection::initDone, this, &TMsgForm::checkProviders);
    connect(&m_session->service(), &ServiceConnection::statsDone, this, &TMsgForm::checkProviders);
    new AreaMenuWatcher(m_ui.areaMenu, [this] { checkProviders(); });
    if (isShown())
        firstStepsOnShow();
}

bool TMsgForm::providersKnown() const
{
    return !m_session->engine().Providers.isEmpty();
}

WelcomeBox* TMsgForm::welcomeBox() const
{
    return findChild<WelcomeBox*>(QString(), Qt::FindDirectChildrenOnly);
}

void TMsgForm::firstStepsOnShow()
{
    // Showing the window cleared the status line; it says at once what is missing, or that the operators are
    // the demo's. A user who wants every status in the status window gets no window for this.
    if (!m_session->usePopupStatus()) {
        const DemoOperators* demo = demoOperators(*m_session);
        if (!providersKnown())
            showStatus(noProvidersText(), StatusKind::Info);
        else if (demo && demo->running())
            showStatus(demoText(), StatusKind::Info);
    }
    offerWelcome();
}

void TMsgForm::checkProviders()
{
    if (!providersKnown())
        return;
    if (WelcomeBox* box = welcomeBox())
        box->close();
    if (m_lastStatusText == noProvidersText() && !m_session->usePopupStatus())
        showStatus(QString(), StatusKind::Info);
}

void TMsgForm::offerWelcome()
{
    if (welcomeBox() || !Welcome::shouldShow(Welcome::isFirstStart(), providersKnown(), Welcome::alreadyShown()))
        return;
    auto* box = new WelcomeBox(this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Taken down with the window by a language switch, the box was not closed: the new window offers it again,
    // in the new language.
    connect(box, &WelcomeBox::closedWith, this, [this](WelcomeBox::Choice choice) {
        Welcome::markShown();
        // Each way on opens its window once the box's handler has returned.
        switch (choice) {
        case WelcomeBox::Choice::Teach:
            QMetaObject::invokeMethod(this, &TMsgForm::teachClicked, Qt::QueuedConnection);
            break;
        case WelcomeBox::Choice::ServiceAddress:
            QMetaObject::invokeMethod(this, &TMsgForm::openServiceAddress, Qt::QueuedConnection);
            break;
        case WelcomeBox::Choice::Demo:
            QMetaObject::invokeMethod(this, &TMsgForm::tryDemoOperators, Qt::QueuedConnection);
            break;
        case WelcomeBox::Choice::None:
            break;
        }
    });
    // Over the handset's fields, leaving its status line and lamp in sight: they say the same. The title bar
    // the window manager adds is not known before the box is shown; an allowance stands in for it.
    constexpr int TitleBarAllowance = 40;
    box->adjustSize();
    const QRect screenArea = screen()->availableGeometry();
    const int x = frameGeometry().center().x() - box->width() / 2;
    const int y = m_ui.statusLine->mapToGlobal(QPoint(0, 0)).y() - box->height() - TitleBarAllowance;
    box->move(qBound(screenArea.left(), x, screenArea.right() - box->width()), qMax(screenArea.top(), y));
    box->show();
    box->raise();
    box->activateWindow();
}

void TMsgForm::openServiceAddress()
{
    // Once the dialog runs (or at once, when it is open already): the tab that holds the address field, and
    // the focus in it. A dialog without the field opens as it is.
    QTimer::singleShot(0, this, [this] {
        TPreferencesForm* dialog = m_preferencesForm;
        if (!dialog)
            return;
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("ServiceUrlEdit"));
        if (!field)
            return;
        for (QWidget* page = field; page; page = page->parentWidget()) {
            const int index = dialog->PageControl1->indexOf(page);
            if (index >= 0) {
                dialog->PageControl1->setCurrentIndex(index);
                break;
            }
        }
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    });
    openPreferences(true);
}

void TMsgForm::tryDemoOperators()
{
    if (demoOperators(*m_session))
        return;
    // The demo belongs to the session: it goes on under a window built again in another language, and ends
    // with the program.
    MainSession* session = m_session;
    auto* demo = new DemoOperators(session);
    demo->keepFiles({ AppPaths::providerCacheFile(), MainSession::bannerTableFile() });
    showStatus(tr("מפעילי ההדגמה עולים..."), StatusKind::Info);

    // Every complete reply of the sandbox becomes providers.dat: it is put back at once, so that the next start
    // knows the user's operators only.
    connect(&session->service(), &ServiceConnection::initDone, demo, &DemoOperators::restoreFiles);
    auto arrived = std::make_shared<QMetaObject::Connection>();
    *arrived = connect(&session->service(), &ServiceConnection::initDone, demo, [session, arrived] {
        if (session->engine().Providers.isEmpty())
            return;
        QObject::disconnect(*arrived);
        if (TMsgForm* form = TMsgForm::current())
            form->demoOperatorsArrived();
    });
    connect(demo, &DemoOperators::ready, session, &MainSession::useServiceForThisRun);
    connect(demo, &DemoOperators::failed, demo, [demo](const QString& reason) {
        if (TMsgForm* form = TMsgForm::current())
            form->showStatus(tr("לא ניתן להפעיל את מפעילי ההדגמה: %1").arg(reason), StatusKind::Error);
        demo->deleteLater();
    });
    demo->start();
}

void TMsgForm::demoOperatorsArrived()
{
    // Only what is still empty is filled: nothing the user typed is replaced.
    MainSession::Composition& composition = m_session->composition();
    if (!composition.listMode && composition.phone.isEmpty()) {
        composition.area = DemoAreaCode;
        composition.phone = DemoPhone;
        composition.recipientName.clear();
    }
    if (composition.message.isEmpty())
        composition.message = tr("שלום! זו הודעת ניסיון דרך מפעילי ההדגמה.");
    compositionChanged();
    focusFirstEmptyField();
    showStatus(demoText(), StatusKind::Info);
}
