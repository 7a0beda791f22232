// Sending from the window: the send command and the window's side of the send workflow (its questions, its
// error texts, the status window of a list send, what a single send keeps for the next start).

#include "TMsgForm.h"

#include "TPopUpStatusForm.h"
#include "app/THiddenForm.h"
#include "common/ListLine.h"
#include "common/ResStrings.h"
#include "common/UserPrompt.h"
#include "phonebook/TPhoneBookForm.h"
#include "sending/SendWorkflow.h"
#include "service/ServiceState.h"
#include "session/ServiceConnection.h"
#include "settings/SmsIni.h"
#include "settings/TPreferencesForm.h"
#include "widgets/TImgButton.h"
#include "widgets/TListLabel.h"

#include <QAction>
#include <QLabel>
#include <QScopeGuard>
#include <QScopedValueRollback>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

void TMsgForm::sendClicked()
{
    keepComposition();
    m_session->send();
}

void TMsgForm::keepComposition()
{
    if (m_restoring)
        return;
    MainSession::Composition& composition = m_session->composition();
    composition.sender = m_ui.senderEdit->text();
    composition.message = m_ui.messageEdit->toPlainText();
    composition.listMode = m_ui.recipientLabel->isList();
    composition.list = m_ui.recipientLabel->list();
    composition.area = m_ui.areaCodeEdit->text();
    composition.phone = m_ui.numberEdit->text();
    composition.recipientName = composition.listMode ? QString() : m_ui.recipientLabel->text();
}

void TMsgForm::showComposition()
{
    // A copy: filling the fields would change it underway.
    const MainSession::Composition composition = m_session->composition();
    {
        const QScopedValueRollback<bool> restoring(m_restoring, true);
        m_ui.senderEdit->setText(composition.sender);
        m_ui.messageEdit->setPlainText(composition.message);
        if (composition.listMode)
            showRecipientList(composition.list);
        else
            showRecipient(composition.recipientName, composition.area, composition.phone);
    }
    keepComposition();
}

void TMsgForm::showRecipient(const QString& name, const QString& area, const QString& phone)
{
    setRecipientFieldsEnabled(true);
    m_ui.recipientLabel->setIsList(false);
    // The name last: changing the two fields empties the recipient label.
    m_ui.numberEdit->setText(phone);
    m_ui.areaCodeEdit->setText(area);
    m_ui.recipientLabel->setText(name);
}

void TMsgForm::showRecipientList(const QStringList& list)
{
    // The area-code menu stays: it offers to drop the list.
    m_ui.areaMenuButton->setEnabled(true);
    m_ui.numberEdit->clear();
    m_ui.areaCodeEdit->clear();
    m_ui.recipientLabel->setIsList(true);
    m_ui.numberEdit->setEnabled(false);
    m_ui.areaCodeEdit->setEnabled(false);
    m_ui.numberLabel->setEnabled(false);
    m_ui.recipientLabel->setList(list);
}

TPhoneBookForm* TMsgForm::phoneBookForm() const
{
    return m_phoneBookForm;
}

void TMsgForm::beginList(const QStringList& names)
{
    m_ui.statusLine->clear();
    m_popUpStatusForm = makeStatusWindow();
    m_popUpStatusForm->setText(QString());
    for (const QString& name : names)
        m_popUpStatusForm->addLine(name + ResStrings::waitingLine());
    m_popUpStatusForm->show();
}

void TMsgForm::endList(bool)
{
    // Closed by the user, the window no longer is the current one; otherwise it stays on screen with its
    // button offering only to close it.
    if (m_popUpStatusForm && !m_session->cancelRequested()) {
        m_popUpStatusForm->setCancelButton(false);
        if (const qint64 listId = m_session->lastListNotSent()) {
            m_popUpStatusForm->offerRetry(true);
            connect(m_popUpStatusForm, &TPopUpStatusForm::retryPressed, this, [this, listId] {
                m_session->composeNotSentOfList(listId);
                sendClicked();
            });
        }
    }
    m_popUpStatusForm = nullptr;
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
    if (dialog->selectedCount() < 2) {
        const TPhoneBookForm::Recipient chosen = dialog->currentRecipient();
        showRecipient(chosen.name, chosen.area, chosen.phone);
        keepComposition();
        return;
    }
    // Rows without an area code or a number cannot be sent to: they are left out.
    QStringList list;
    for (const TPhoneBookForm::Recipient& row : dialog->selectedRecipients()) {
        if (!row.area.isEmpty() && !row.phone.isEmpty())
            list << ListLine { row.name, row.area, row.phone }.text();
    }
    showRecipientList(list);
    keepComposition();
}
