// Sending from the window and the windows the send command may need first: the preferences for credentials,
// and the phone book for recipients.

#include "TMsgForm.h"

#include "CompositionFields.h"
#include "app/THiddenForm.h"
#include "phonebook/TPhoneBookForm.h"
#include "settings/TPreferencesForm.h"

#include <QLineEdit>
#include <QScopeGuard>

void TMsgForm::sendClicked()
{
    m_fields->keep();
    m_session->send();
}

TPhoneBookForm* TMsgForm::phoneBookForm() const
{
    return m_phoneBookForm;
}

void TMsgForm::openPreferences(bool byUser)
{
    if (m_preferencesForm)
        return;
    m_preferencesForm = new TPreferencesForm(*m_session, this);
    const QPointer<TPreferencesForm> dialog = m_preferencesForm;
    // The window is not replaced under the dialog (a language switch), and the dialog goes in every case.
    holdLanguages(true);
    const auto done = qScopeGuard([this, dialog] {
        holdLanguages(false);
        delete dialog.data();
    });
    // Opened by the send command: on the provider of the recipient's area code.
    const QString provider = m_session->providerNameForArea(m_ui.areaCodeEdit->text());
    if (!byUser && !provider.isEmpty())
        dialog->chooseProvider(provider);
    dialog->exec();
}

void TMsgForm::phoneBookClicked()
{
    // The tables belong to the hidden root window; without one there is no phone book.
    if (m_phoneBookForm || !m_options.hiddenForm)
        return;
    m_phoneBookForm = new TPhoneBookForm(m_options.hiddenForm->phoneBook(), m_options.hiddenForm->addressBookCache(),
        m_session->areaDefs(), m_options.outlookSteps, this);
    const QPointer<TPhoneBookForm> dialog = m_phoneBookForm;
    holdLanguages(true);
    const auto done = qScopeGuard([this, dialog] {
        holdLanguages(false);
        delete dialog.data();
    });
    // A choice made while the window is hidden is dropped.
    if (dialog->exec() != QDialog::Accepted || !dialog || !isVisible())
        return;
    if (dialog->selectedCount() < 2)
        m_fields->chooseRecipients({ dialog->currentRecipient() });
    else
        m_fields->chooseRecipients(dialog->selectedRecipients());
}
