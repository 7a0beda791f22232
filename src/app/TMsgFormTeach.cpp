// The teach window, opened from the tray menu or by `zelkora --teach`.

#include "TMsgForm.h"

#include "session/ServiceConnection.h"
#include "teach/TTeachForm.h"

#include <QAction>
#include <QPointer>

void TMsgForm::Teach1Click()
{
    if (auto* open = findChild<TTeachForm*>(QString(), Qt::FindDirectChildrenOnly)) {
        open->showNormal();
        open->raise();
        open->activateWindow();
        return;
    }
    auto* form = new TTeachForm(this);
    // The window is not replaced under the teach window (a language switch would take the demonstration
    // with it).
    holdLanguages(true);
    // The teach window also goes with this window, from QWidget's destructor: by then this object is a
    // TMsgForm no more (the cast finds none) and its menu's items are gone, so there is nothing to let go.
    const QPointer<QObject> self(this);
    const QPointer<QAction> languages(m_ui.Languages);
    connect(form, &QObject::destroyed, this, [self, languages] {
        auto* window = qobject_cast<TMsgForm*>(self.data());
        if (window && languages)
            window->holdLanguages(false);
    });
    connect(form, &TTeachForm::definitionSaved, this, [this] {
        m_session->service().localDefinitionsChanged();
        BuildAreaMenu();
    });
    form->show();
    form->raise();
    form->activateWindow();
}
