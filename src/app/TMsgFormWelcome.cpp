// The window's side of a new user's first steps: the guide (FirstStepsGuide), the service address in the
// preferences, and what the status line says of the demo operators.

#include "TMsgForm.h"

#include "CompositionFields.h"
#include "FirstStepsGuide.h"
#include "settings/TPreferencesForm.h"

#include <QTimer>

WelcomeBox* TMsgForm::welcomeBox() const
{
    return m_firstSteps ? m_firstSteps->welcomeBox() : nullptr;
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
        m_fields->focusFirstEmptyField();
        showStatus(FirstStepsGuide::demoText(), StatusKind::Info);
        break;
    case DemoState::Failed:
        showStatus(tr("לא ניתן להפעיל את מפעילי ההדגמה: %1").arg(reason), StatusKind::Error);
        break;
    }
}
