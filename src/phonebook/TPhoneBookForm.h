#pragma once

#include "common/ErrorReport.h"
#include "phonebook/PhoneBookSession.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class PhoneBookTable;
class QCheckBox;
class QIdentityProxyModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;

// The phone book window, shown modally by the main window: the user picks recipients and keeps the entries
// of the local phone book or, with addressBookBox on, of the copy of the Outlook contacts. The tables belong to
// the hidden root window and outlive this window; what an entry's addition, change or removal does is its
// PhoneBookSession's, and the window says what the outcome means. Every close, OK or Cancel, saves the shown
// table to its file and writes "UseOutlook".
class TPhoneBookForm : public QDialog
{
    Q_OBJECT
public:
    using Recipient = PhoneBookSession::Recipient;
    using OutlookSteps = PhoneBookSession::OutlookSteps;
    // "נכשל הקישור לאנשי קשר מפנקס הכתובות".
    static QString connectionFailedText() { return PhoneBookSession::connectionFailedText(); }

    // `areaDefs` are the engine's "code=value" items; the details dialog lists their codes.
    // `steps` reach the address book in Outlook mode; none: Outlook mode fails as a connection that cannot be
    // made.
    TPhoneBookForm(PhoneBookTable* phoneBook, PhoneBookTable* outlookCache, const QStringList& areaDefs,
        OutlookSteps steps = {}, QWidget* owner = nullptr);
    ~TPhoneBookForm() override;

    // What the caller reads after exec() returned Accepted, before it destroys the window. The selection is
    // made with Ctrl + click; fewer than two selected rows mean the current row.
    int selectedCount() const;
    // Empty fields when the list has no row.
    Recipient currentRecipient() const;
    // In the order in which they were selected.
    QList<Recipient> selectedRecipients() const;
    // The table the grid shows: the local phone book, or the Outlook cache when addressBookBox is on.
    PhoneBookTable* shownTable() const { return m_session.shown(); }
    PhoneBookSession& session() { return m_session; }

    QLabel* chooseHint;
    QLabel* multipleHint;
    QLabel* searchLabel;
    QLineEdit* searchEdit; // the search field
    QTableView* grid;
    QToolButton* newButton; // new
    QToolButton* editButton; // edit
    QToolButton* reloadButton; // reload from Outlook
    QToolButton* deleteButton; // delete
    QCheckBox* addressBookBox; // Outlook mode
    QPushButton* okButton; // OK
    QPushButton* cancelButton; // Cancel

    void setUp();
    // Loads the list once the window is first on screen.
    void windowActivated();
    void closeWindow();
    void addressBookToggled();
    void searchChanged(const QString& text);
    void newClicked();
    void deleteClicked();
    void reloadClicked();
    void editClicked();
    void rowDoubleClicked();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    // Escape does not close this window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void loadBook(bool reload = false);
    void attach(PhoneBookTable* table);
    // The details dialog on an entry; false when the user cancelled it.
    bool askDetails(Recipient& entry, const QString& unknownNumber, bool nameFixed);
    // Says what an outcome means to the user; the row of an entry that was stored becomes the current one.
    void tell(const PhoneBookSession::Result& result, const QString& failedText);
    void setUpColumns();
    bool outlookMode() const;
    int currentRow() const;
    void setCurrentRow(int row);
    Recipient recipientAt(int row) const;

    PhoneBookSession m_session;
    PhoneBookTable* m_shown = nullptr;
    QStringList m_areaCodes;
    QIdentityProxyModel* m_gridModel;
    bool m_activated = false;
};
