#pragma once

#include "phonebook/PhoneBookSession.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

class MainSession;
class QEvent;
struct MsgFormUi;

// The handset's fields and the session's composition kept as one: what the user types goes into the
// composition, a composition the session makes (a link, "send again") fills the fields. It also keeps the
// message counter, the recipient (one, or a list that disables the number's fields), and the area-code menu.
// It goes with the window whose fields it keeps.
class CompositionFields : public QObject
{
    Q_OBJECT
public:
    // The window's components must exist.
    CompositionFields(const MsgFormUi& ui, MainSession& session, QObject* parent);

    // The fields as the user left them, into the session's composition.
    void keep();
    // What the session holds as composed, into the fields.
    void show();
    // The recipients chosen in the phone book: one fills the number's fields, several become a list (rows
    // without an area code or a number are left out).
    void chooseRecipients(const QList<PhoneBookSession::Recipient>& chosen);
    bool isList() const;
    // The recipient list is dropped after the user agreed (status window's button, area-code button): true
    // when it was.
    bool offerToDropRecipientList();
    // Shown again: the number's fields as the recipient allows, and the focus in the first empty field.
    void prepareForShow();
    void focusFirstEmptyField();
    void updateCharCount();

    void buildAreaMenu();
    // The area-code menu under its button, its first item selected, for the keyboard.
    void openAreaMenuFromKeyboard();
    void areaMenuPressed(const QPoint& pressed);

signals:
    // The counter changed: `typed` characters of `limit`.
    void counted(int typed, int limit);

protected:
    // The area-code menu's keys on the area-code field (Alt+Down, the menu key).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showRecipient(const QString& name, const QString& area, const QString& phone);
    void showRecipientList(const QStringList& list);
    void setRecipientFieldsEnabled(bool enabled);
    void numberChanged();

    const MsgFormUi& m_ui;
    MainSession& m_session;
    bool m_restoring = false; // show() is filling the fields
};
