// A new user's first steps: the status line says when the program knows no provider yet, the first start
// opens the welcome box with three ways on (teaching an operator, a service address, the demo operators),
// and the demo operators run for this run only.

#include "TMsgForm.h"

#include "Welcome.h"
#include "WelcomeBox.h"
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
        if (!providersKnown()) {
            showStatus(noProvidersText(), StatusKind::Info);
            m_noProvidersShown = true;
        } else if (m_session->demoRunning())
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
    if (m_noProvidersShown && !m_session->usePopupStatus())
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
            QMetaObject::invokeMethod(this, [this] { m_session->startDemo(); }, Qt::QueuedConnection);
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
    // the focus in it.
    QTimer::singleShot(0, this, [this] {
        if (TPreferencesForm* dialog = m_preferencesForm)
            dialog->showServiceAddress();
    });
    openPreferences(true);
}

void TMsgForm::showDemoState(DemoState state, const QString& reason)
{
    switch (state) {
    case DemoState::Starting:
        showStatus(tr("מפעילי ההדגמה עולים..."), StatusKind::Info);
        break;
    case DemoState::Ready:
        focusFirstEmptyField();
        showStatus(demoText(), StatusKind::Info);
        break;
    case DemoState::Failed:
        showStatus(tr("לא ניתן להפעיל את מפעילי ההדגמה: %1").arg(reason), StatusKind::Error);
        break;
    }
}
