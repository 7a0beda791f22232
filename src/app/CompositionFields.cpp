#include "CompositionFields.h"

#include "HandsetBuilder.h"
#include "TMsgForm.h"
#include "common/ListLine.h"
#include "common/UserPrompt.h"
#include "sending/SendWorkflow.h"
#include "service/TProvider.h"
#include "session/MainSession.h"
#include "widgets/TImgButton.h"
#include "widgets/TListLabel.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScopedValueRollback>

CompositionFields::CompositionFields(const MsgFormUi& ui, MainSession& session, QObject* parent)
    : QObject(parent)
    , m_ui(ui)
    , m_session(session)
{
    connect(m_ui.senderEdit, &QLineEdit::textChanged, this, &CompositionFields::updateCharCount);
    connect(m_ui.messageEdit, &QPlainTextEdit::textChanged, this, &CompositionFields::updateCharCount);
    connect(m_ui.numberEdit, &QLineEdit::textChanged, this, &CompositionFields::numberChanged);
    connect(m_ui.areaCodeEdit, &QLineEdit::textChanged, this, &CompositionFields::numberChanged);
    connect(m_ui.areaMenuButton, &TImgButton::OnMouseDown, this,
        [this](Qt::MouseButton, const QPoint& pos) { areaMenuPressed(pos); });
    connect(m_ui.areaMenuButton, &TImgButton::menuRequested, this, &CompositionFields::openAreaMenuFromKeyboard);
    m_ui.areaCodeEdit->installEventFilter(this);
}

void CompositionFields::keep()
{
    if (m_restoring)
        return;
    MainSession::Composition& composition = m_session.composition();
    composition.sender = m_ui.senderEdit->text();
    composition.message = m_ui.messageEdit->toPlainText();
    composition.listMode = m_ui.recipientLabel->isList();
    composition.list = m_ui.recipientLabel->list();
    composition.area = m_ui.areaCodeEdit->text();
    composition.phone = m_ui.numberEdit->text();
    composition.recipientName = composition.listMode ? QString() : m_ui.recipientLabel->text();
}

void CompositionFields::show()
{
    // A copy: filling the fields would change it underway.
    const MainSession::Composition composition = m_session.composition();
    {
        const QScopedValueRollback<bool> restoring(m_restoring, true);
        m_ui.senderEdit->setText(composition.sender);
        m_ui.messageEdit->setPlainText(composition.message);
        if (composition.listMode)
            showRecipientList(composition.list);
        else
            showRecipient(composition.recipientName, composition.area, composition.phone);
    }
    keep();
}

void CompositionFields::chooseRecipients(const QList<PhoneBookSession::Recipient>& chosen)
{
    if (chosen.size() < 2) {
        const PhoneBookSession::Recipient one = chosen.value(0);
        showRecipient(one.name, one.area, one.phone);
    } else {
        QStringList list;
        for (const PhoneBookSession::Recipient& row : chosen) {
            if (!row.area.isEmpty() && !row.phone.isEmpty())
                list << ListLine { row.name, row.area, row.phone }.text();
        }
        showRecipientList(list);
    }
    keep();
}

bool CompositionFields::isList() const
{
    return m_ui.recipientLabel->isList();
}

void CompositionFields::showRecipient(const QString& name, const QString& area, const QString& phone)
{
    setRecipientFieldsEnabled(true);
    m_ui.recipientLabel->setIsList(false);
    // The name last: changing the two fields empties the recipient label.
    m_ui.numberEdit->setText(phone);
    m_ui.areaCodeEdit->setText(area);
    m_ui.recipientLabel->setText(name);
}

void CompositionFields::showRecipientList(const QStringList& list)
{
    m_ui.numberEdit->clear();
    m_ui.areaCodeEdit->clear();
    m_ui.recipientLabel->setIsList(true);
    setRecipientFieldsEnabled(false);
    // The area-code menu stays: it offers to drop the list.
    m_ui.areaMenuButton->setEnabled(true);
    m_ui.recipientLabel->setList(list);
}

void CompositionFields::setRecipientFieldsEnabled(bool enabled)
{
    m_ui.numberEdit->setEnabled(enabled);
    m_ui.areaCodeEdit->setEnabled(enabled);
    m_ui.numberLabel->setEnabled(enabled);
    m_ui.areaMenuButton->setEnabled(enabled);
}

bool CompositionFields::offerToDropRecipientList()
{
    if (!isList())
        return false;
    if (!UserPrompt::current()->question(TMsgForm::tr("?האם למחוק את רשימת הנמענים")))
        return false;
    m_ui.recipientLabel->setText(QString());
    setRecipientFieldsEnabled(true);
    keep();
    return true;
}

void CompositionFields::prepareForShow()
{
    // A list chosen in the phone book survives hiding; its fields stay disabled until the list is dropped.
    if (!isList())
        setRecipientFieldsEnabled(true);
}

void CompositionFields::focusFirstEmptyField()
{
    if (m_ui.senderEdit->text().isEmpty() && m_ui.senderEdit->isEnabled())
        m_ui.senderEdit->setFocus(Qt::OtherFocusReason);
    else if (m_ui.numberEdit->text().isEmpty() && !isList() && m_ui.numberEdit->isEnabled())
        m_ui.numberEdit->setFocus(Qt::OtherFocusReason);
    else
        m_ui.messageEdit->setFocus(Qt::OtherFocusReason);
}

void CompositionFields::updateCharCount()
{
    m_ui.statusLine->clear();
    // As the send command counts: a line break of the message is sent as CR LF and counts as two.
    const int count
        = SendWorkflow::countedLength(m_ui.senderEdit->text()) + SendWorkflow::countedLength(m_ui.messageEdit->toPlainText());
    const QString limit = QString::number(SendWorkflow::MessageLimit);
    const QString typed = QString::number(count);
    if (m_ui.counterLabel->layoutDirection() == Qt::RightToLeft) {
        m_ui.counterLabel->setText(limit + QStringLiteral(" / ") + typed + TMsgForm::tr(" תוים") + QStringLiteral(")"));
    } else {
        // Left to right, the caption and the counter are one label, read in one go.
        m_ui.counterLabel->setText(
            m_ui.messageLabel->text() + typed + QStringLiteral(" / ") + limit + TMsgForm::tr(" תוים") + QStringLiteral(")"));
    }
    emit counted(count, SendWorkflow::MessageLimit);
    keep();
}

void CompositionFields::numberChanged()
{
    m_ui.recipientLabel->setText(QString());
    keep();
}

void CompositionFields::buildAreaMenu()
{
    m_ui.areaMenu->clear();
    for (const QString& item : m_session.areaDefs()) {
        const QString code = areaCodeOf(item);
        // "&" would make an accelerator; the code is shown as it is.
        QAction* action = m_ui.areaMenu->addAction(QString(code).replace(QLatin1Char('&'), QStringLiteral("&&")));
        connect(action, &QAction::triggered, this, [this, code] { m_ui.areaCodeEdit->setText(code); });
    }
}

void CompositionFields::areaMenuPressed(const QPoint& pressed)
{
    if (isList())
        offerToDropRecipientList();
    if (!isList())
        m_ui.areaMenu->exec(m_ui.areaMenuButton->mapToGlobal(pressed));
    m_ui.areaMenuButton->ShowLeavePicture();
}

void CompositionFields::openAreaMenuFromKeyboard()
{
    // Under the button, with its first item selected so that the arrows and Return work at once.
    if (!m_ui.areaMenuButton->isEnabled())
        return;
    if (!m_ui.areaMenu->actions().isEmpty())
        m_ui.areaMenu->setActiveAction(m_ui.areaMenu->actions().constFirst());
    areaMenuPressed(QPoint(0, m_ui.areaMenuButton->height()));
}

bool CompositionFields::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_ui.areaCodeEdit || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Menu || (key->key() == Qt::Key_Down && key->modifiers() == Qt::AltModifier)) {
        openAreaMenuFromKeyboard();
        return true;
    }
    return false;
}
