// The main menu's side commands (the tell-a-friend mail, the local help, the About box), and the
// interface-language dialog.

#include "TMsgForm.h"

#include "LanguageSwitch.h"

#include "HelpViewer.h"
#include "TAboutForm.h"
#include "TellFriend.h"
#include "common/UserPrompt.h"

#include <QAction>
#include <QPointer>
#include <QScopeGuard>
#include <QUrl>

void TMsgForm::tellFriendsClicked()
{
    const QString link = TellFriend::mailLink(TellFriend::subject(), TellFriend::body(m_session->homePage()));
    // Without a mail program to take the link the user is told, where a click that does nothing would puzzle.
    if (!m_session->openUrl(TellFriend::mailUrl(link)))
        UserPrompt::current()->information(
            tr("לא נמצאה תוכנת דואר שתפתח את ההודעה. אפשר להמליץ לחברים על Zelkora בכתובת %1").arg(m_session->homePage()));
}

void TMsgForm::showHelp()
{
    if (auto* open = findChild<HelpViewer*>(QString(), Qt::FindDirectChildrenOnly)) {
        open->show();
        open->raise();
        open->activateWindow();
        return;
    }
    auto* viewer = new HelpViewer([this](const QUrl& url) { return m_session->openUrl(url); }, this);
    QString error;
    if (!viewer->setFile(m_helpFile, &error)) {
        delete viewer;
        UserPrompt::current()->information(error);
        return;
    }
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->show();
}

void TMsgForm::showAbout()
{
    // The tray's menu stays usable while the box is open; a second command brings the open box forward.
    if (auto* open = findChild<TAboutForm*>(QString(), Qt::FindDirectChildrenOnly)) {
        open->raise();
        open->activateWindow();
        return;
    }
    const QPointer<TMsgForm> self(this);
    const QPointer<TAboutForm> box = new TAboutForm(this);
    // The window is not replaced under the box (a language switch), and the box goes in every case. The
    // window itself may end while the box is open (the exit command from the tray), and the box with it.
    holdLanguages(true);
    const auto done = qScopeGuard([self, box] {
        if (self)
            self->holdLanguages(false);
        delete box.data();
    });
    box->exec();
}

void TMsgForm::holdLanguages(bool hold)
{
    m_languageHolds = qMax(0, m_languageHolds + (hold ? 1 : -1));
    m_ui.languagesAction->setEnabled(m_languageHolds == 0);
}

void TMsgForm::holdLanguagesWhileOpen(QWidget* window)
{
    holdLanguages(true);
    // The window may also go with this one, from QWidget's destructor: by then this object is a TMsgForm no
    // more (the cast finds none) and its menu's items are gone, so there is nothing to let go.
    const QPointer<QObject> self(this);
    const QPointer<QAction> languages(m_ui.languagesAction);
    connect(window, &QObject::destroyed, this, [self, languages] {
        auto* form = qobject_cast<TMsgForm*>(self.data());
        if (form && languages)
            form->holdLanguages(false);
    });
}

void TMsgForm::languagesClicked()
{
    LanguageSwitch::open(*this);
}
