// The teach window, opened from the tray menu or by `zelkora --teach`.

#include "TMsgForm.h"

#include "CompositionFields.h"
#include "teach/TTeachForm.h"

#include <QAction>

void TMsgForm::teachClicked()
{
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
        connect(form, &QObject::destroyed, this, [this] {
            if (isVisible() && isMinimized()) {
                showNormal();
                raise();
                activateWindow();
            }
        });
    connect(form, &TTeachForm::definitionSaved, this, [this] {
        m_session->localDefinitionsChanged();
        m_fields->buildAreaMenu();
    });
    form->show();
    form->raise();
    form->activateWindow();
}
