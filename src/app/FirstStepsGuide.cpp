#include "FirstStepsGuide.h"

#include "StatusDisplay.h"
#include "TMsgForm.h"
#include "Welcome.h"
#include "WelcomeBox.h"

#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTimer>

namespace {
QString noProvidersText()
{
    return TMsgForm::tr("אין עדיין ספקים: יש ללמד את התוכנה מפעיל או להזין כתובת שירות");
}

// The area-code menu is built again whenever the definitions change (a reply of the service, an operator the
// user taught): the guide looks again once the menu is complete.
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

FirstStepsGuide::FirstStepsGuide(TMsgForm& window)
    : QObject(&window)
    , m_window(window)
{
}

QString FirstStepsGuide::demoText()
{
    return TMsgForm::tr("מפעילי הדגמה: שום הודעה לא יוצאת מהמחשב");
}

void FirstStepsGuide::start()
{
    if (!Welcome::windowsGuided())
        return;
    connect(&m_window, &TMsgForm::toggled, this, [this](bool visible) {
        if (visible)
            windowShown();
    });
    connect(&m_window.session(), &MainSession::serviceAnswered, this, &FirstStepsGuide::checkProviders);
    new AreaMenuWatcher(m_window.ui().areaMenu, [this] { checkProviders(); });
    if (m_window.isShown())
        windowShown();
}

WelcomeBox* FirstStepsGuide::welcomeBox() const
{
    return m_window.findChild<WelcomeBox*>(QString(), Qt::FindDirectChildrenOnly);
}

void FirstStepsGuide::windowShown()
{
    // Showing the window cleared the status line; it says at once what is missing, or that the operators are
    // the demo's. A user who wants every status in the status window gets no window for this.
    const MainSession& session = m_window.session();
    if (!session.usePopupStatus()) {
        if (!m_window.session().providersKnown()) {
            m_window.showStatus(noProvidersText(), StatusKind::Info);
            m_noProvidersStatus = m_window.statusDisplay().count();
        } else if (session.demoRunning()) {
            m_window.showStatus(demoText(), StatusKind::Info);
        }
    }
    offerWelcome();
}

void FirstStepsGuide::checkProviders()
{
    if (!m_window.session().providersKnown())
        return;
    if (WelcomeBox* box = welcomeBox())
        box->close();
    // Only the line's own words are cleared: a status shown since stays.
    if (m_noProvidersStatus && m_noProvidersStatus == m_window.statusDisplay().count() && !m_window.session().usePopupStatus())
        m_window.showStatus(QString(), StatusKind::Info);
    m_noProvidersStatus = 0;
}

void FirstStepsGuide::offerWelcome()
{
    if (welcomeBox()
        || !Welcome::shouldShow(Welcome::isFirstStart(), m_window.session().providersKnown(), Welcome::alreadyShown()))
        return;
    auto* box = new WelcomeBox(&m_window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Taken down with the window by a language switch, the box was not closed: the new window offers it again,
    // in the new language.
    TMsgForm* window = &m_window;
    connect(box, &WelcomeBox::closedWith, window, [window](WelcomeBox::Choice choice) {
        Welcome::markShown();
        // Each way on opens its window once the box's handler has returned.
        switch (choice) {
        case WelcomeBox::Choice::Teach:
            QMetaObject::invokeMethod(window, &TMsgForm::teachClicked, Qt::QueuedConnection);
            break;
        case WelcomeBox::Choice::ServiceAddress:
            QMetaObject::invokeMethod(window, &TMsgForm::openServiceAddress, Qt::QueuedConnection);
            break;
        case WelcomeBox::Choice::Demo:
            QMetaObject::invokeMethod(window, [window] { window->session().startDemo(); }, Qt::QueuedConnection);
            break;
        case WelcomeBox::Choice::None:
            break;
        }
    });
    // Over the handset's fields, leaving its status line and lamp in sight: they say the same. The title bar
    // the window manager adds is not known before the box is shown; an allowance stands in for it.
    constexpr int TitleBarAllowance = 40;
    box->adjustSize();
    const QRect screenArea = m_window.screen()->availableGeometry();
    const int x = m_window.frameGeometry().center().x() - box->width() / 2;
    const int y = m_window.ui().statusLine->mapToGlobal(QPoint(0, 0)).y() - box->height() - TitleBarAllowance;
    box->move(qBound(screenArea.left(), x, screenArea.right() - box->width()), qMax(screenArea.top(), y));
    box->show();
    box->raise();
    box->activateWindow();
}
