// Sending from the window: the send command and the window's side of the send workflow (its questions, its
// error texts, the status window of a list send, what a single send keeps for the next start).

#include "TMsgForm.h"

#include "SkinColors.h"
#include "TPopUpStatusForm.h"
#include "app/THiddenForm.h"
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

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

void TMsgForm::Button1Click()
{
    m_workflow->Button1Click(typed().composition);
    MessageText = m_workflow->MessageText;
}

TMsgForm::Typed TMsgForm::typed() const
{
    Typed typed;
    SendWorkflow::Composition& composition = typed.composition;
    composition.sender = Edit2->text();
    composition.message = Memo1->toPlainText();
    composition.listMode = ToLabel->isList();
    composition.list = ToLabel->list();
    composition.area = ComboBox1->text();
    composition.phone = Edit1->text();
    typed.recipientName = composition.listMode ? QString() : ToLabel->text();
    return typed;
}

void TMsgForm::restoreTyped(const Typed& typed)
{
    const SendWorkflow::Composition& composition = typed.composition;
    Edit2->setText(composition.sender);
    Memo1->setPlainText(composition.message);
    if (composition.listMode)
        showRecipientList(composition.list);
    else
        showRecipient(typed.recipientName, composition.area, composition.phone);
}

void TMsgForm::showRecipient(const QString& name, const QString& area, const QString& phone)
{
    setRecipientFieldsEnabled(true);
    ToLabel->setIsList(false);
    // The name last: changing the two fields empties the recipient label.
    Edit1->setText(phone);
    ComboBox1->setText(area);
    ToLabel->setText(name);
}

void TMsgForm::showRecipientList(const QStringList& list)
{
    // The area-code menu stays: it offers to drop the list.
    ImgButton2->setEnabled(true);
    Edit1->clear();
    ComboBox1->clear();
    ToLabel->setIsList(true);
    Edit1->setEnabled(false);
    ComboBox1->setEnabled(false);
    Label2->setEnabled(false);
    ToLabel->setList(list);
}

bool TMsgForm::ask(const QString& question)
{
    return UserPrompt::current()->question(question);
}

void TMsgForm::reportError(const QString& text)
{
    SetStatusColor(SkinColors::StatusColorError);
    ShowStatus(text);
}

void TMsgForm::suspendServiceRequests(bool suspended)
{
    Service->hold(suspended);
}

void TMsgForm::saveLastUsed()
{
    SmsIni ini;
    ini.setLastFrom(Edit2->text());
    ini.setLastPhone(Edit1->text());
    ini.setLastRecipient(ToLabel->text());
    ini.setLastAreaCode(ComboBox1->text());
    ini.setTimeOut(SMSBase->TimeOut);
}

QString TMsgForm::credentialsMissing(const TProvider& provider, bool listSend)
{
    if (listSend)
        return ResStrings::missingCredentials().replace(QLatin1String("%s"), provider.Name);
    UserPrompt::current()->information(ResStrings::missingCredentialsBox().replace(QLatin1String("%s"), provider.Name));
    openPreferences(false);
    return ResStrings::pressSendAgain();
}

void TMsgForm::beginList(const QStringList& names)
{
    ListSending = true;
    Panel1->clear();
    PopUpStatusForm = makeStatusWindow();
    PopUpStatusForm->setText(QString());
    for (const QString& name : names)
        PopUpStatusForm->addLine(name + ResStrings::waitingLine());
    PopUpStatusForm->show();
}

void TMsgForm::endList(bool)
{
    // Closed by the user, the window no longer is the current one; otherwise it stays on screen with its
    // button offering only to close it.
    if (PopUpStatusForm && !CancelRequested)
        PopUpStatusForm->setCancelButton(false);
    ListSending = false;
    PopUpStatusForm = nullptr;
}

bool TMsgForm::definitionsAvailable() const
{
    return Service->Initialised || m_state->CacheLoaded;
}

void TMsgForm::openPreferences(bool byUser)
{
    if (PreferencesForm)
        return;
    PreferencesForm = new TPreferencesForm(*this, this);
    const QPointer<TPreferencesForm> dialog = PreferencesForm;
    // The window is not replaced under the dialog (a language switch), and the dialog goes in every case.
    holdLanguages(true);
    const auto done = qScopeGuard([this, dialog] {
        holdLanguages(false);
        delete dialog.data();
    });
    // Opened by the send command: on the provider of the recipient's area code.
    const int provider = SMSBase->FindProviderByArea(ComboBox1->text());
    if (!byUser && provider >= 0)
        dialog->chooseProvider(SMSBase->Providers.at(provider).Name);
    dialog->exec();
}

void TMsgForm::SpeedButton1Click()
{
    // The tables belong to the hidden root window; without one there is no phone book.
    if (PhoneBookForm || !m_options.hiddenForm)
        return;
    PhoneBookForm = new TPhoneBookForm(
        m_options.hiddenForm->ClientDataSet1(), m_options.hiddenForm->ClientDataSet2(), SMSBase->AreaDefs, this);
    const QPointer<TPhoneBookForm> dialog = PhoneBookForm;
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
        return;
    }
    // Rows without an area code or a number cannot be sent to: they are left out.
    QStringList list;
    for (const TPhoneBookForm::Recipient& row : dialog->selectedRecipients()) {
        if (!row.area.isEmpty() && !row.phone.isEmpty())
            list << row.name + QLatin1Char('=') + row.area + QLatin1Char('-') + row.phone;
    }
    showRecipientList(list);
}
