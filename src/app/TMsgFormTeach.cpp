// The teach window, opened from the tray menu or by `zelkora --teach`.

#include "TMsgForm.h"

#include "CompositionFields.h"
#include "TeachWorker.h"
#include "language/LanguageModules.h"
#include "teach/TTeachForm.h"

#include <QAction>

void TMsgForm::teachClicked()
{
    if (m_session->engine().worker() && teachInWorker())
        return;
    if (auto* open = findChild<TTeachForm*>(QString(), Qt::FindDirectChildrenOnly)) {
        open->showNormal();
        open->raise();
        open->activateWindow();
        return;
    }
    // The browser the window was made with (a test's stands in for the library).
    auto* form = new TTeachForm(this, m_options.makeBrowser);
    // The window is not replaced under the teach window (a language switch would take the demonstration
    // with it).
    holdLanguagesWhileOpen(form);
    // A handset shown when the teach window opened and minimised meanwhile comes back when it closes.
    if (isShown())
        connect(form, &QObject::destroyed, this, &TMsgForm::comeBackAfterTeaching);
    connect(form, &TTeachForm::definitionSaved, this, &TMsgForm::definitionSaved);
    form->show();
    form->raise();
    form->activateWindow();
}

bool TMsgForm::teachInWorker()
{
    if (!m_teachWorker) {
        m_teachWorker = new TeachWorker(this);
        connect(m_teachWorker, &TeachWorker::definitionSaved, this, &TMsgForm::definitionSaved);
        connect(m_teachWorker, &TeachWorker::closed, this, [this] {
            holdLanguages(false);
            if (m_shownWhenTeaching)
                comeBackAfterTeaching();
        });
    }
    if (m_teachWorker->isOpen())
        return m_teachWorker->open(QString());
    // In this window's language, which stays while the window is open (this window is not rebuilt meanwhile).
    if (!m_teachWorker->open(LanguageModules::activeModuleFile()))
        return false;
    holdLanguages(true);
    m_shownWhenTeaching = isShown();
    return true;
}

void TMsgForm::definitionSaved()
{
    m_session->localDefinitionsChanged();
    m_fields->buildAreaMenu();
}

void TMsgForm::comeBackAfterTeaching()
{
    if (isVisible() && isMinimized()) {
        showNormal();
        raise();
        activateWindow();
    }
}
