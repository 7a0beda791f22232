// The teach window, opened from the tray menu or by `zelkora --teach`.

#include "TMsgForm.h"

#include "app/service/ServiceConnection.h"
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
    // The teach window also goes with this window, after the menu's items.
    const QPointer<TMsgForm> self(this);
    const QPointer<QAction> languages(Languages);
    connect(form, &QObject::destroyed, this, [self, languages] {
        if (self && languages)
            self->holdLanguages(false);
    });
    connect(form, &TTeachForm::definitionSaved, this, [this] {
        Service->localDefinitionsChanged();
        areaDefsChanged();
    });
    form->show();
    form->raise();
    form->activateWindow();
}
