#pragma once

#include "common/ErrorReport.h"

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
// of the local phone book or, with CheckBox1 on, of the copy of the Outlook contacts. The tables belong to
// the hidden root window and outlive this window; it attaches its handlers to the table it shows and
// detaches them when it goes. Every close, OK or Cancel, writes "UseOutlook" and saves the shown table to
// its file.
class TPhoneBookForm : public QDialog
{
    Q_OBJECT
public:
    struct Recipient
    {
        QString name;
        QString area;
        QString phone;
        // In the contacts cache: the card the entry came from, and a digest of it as the entry last saw it.
        QString card;
        QString cardDigest;
    };

    // The steps that reach Outlook; the contacts layer installs them. Each one connects, does its work and
    // disconnects, also when it fails, and throws ZelkoraError with the reason when it fails. A step left
    // empty fails as a connection that cannot be made does (connectionFailedText()).
    struct OutlookSteps
    {
        enum class Creation
        {
            Created,
            AlreadyExists, // a contact of this full name exists; nothing was created
        };
        // An update or a deletion refused for a reason the user must read as it stands (a contact changed
        // by another program since it was read): the window shows this message instead of its own.
        class Refusal : public ZelkoraError
        {
        public:
            using ZelkoraError::ZelkoraError;
        };
        // Fills the cache, which is empty and unsorted when called, with appendRecord(s): no table events.
        // `window` owns the progress window.
        std::function<void(PhoneBookTable& cache, QWidget* window)> importContacts;
        // A created contact's card goes into the entry.
        std::function<Creation(Recipient& entry)> createContact;
        // Writes the entry's number to the entry's own card, and gives the entry the card as it reads after.
        std::function<void(Recipient& entry)> updateContact;
        std::function<void(const Recipient& entry)> deleteContact;
    };
    // For every window created from now on.
    static void setOutlookSteps(OutlookSteps steps);
    // "Outlook נכשל הקישור ל ".
    static QString connectionFailedText();

    // `areaDefs` are the engine's "code=value" items; the details dialog lists their codes.
    TPhoneBookForm(
        PhoneBookTable* phoneBook, PhoneBookTable* outlookCache, const QStringList& areaDefs, QWidget* owner = nullptr);
    ~TPhoneBookForm() override;

    // What the caller reads after exec() returned Accepted, before it destroys the window. The selection is
    // made with Ctrl + click; fewer than two selected rows mean the current row.
    int selectedCount() const;
    // Empty fields when the list has no row.
    Recipient currentRecipient() const;
    // In the order in which they were selected.
    QList<Recipient> selectedRecipients() const;
    // The table the grid shows: the local phone book, or the Outlook cache when CheckBox1 is on.
    PhoneBookTable* shownTable() const { return m_shown; }

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* Edit1; // the search field
    QTableView* DBGrid1;
    QToolButton* SpeedButton1; // new
    QToolButton* SpeedButton4; // edit
    QToolButton* SpeedButton3; // reload from Outlook
    QToolButton* SpeedButton2; // delete
    QCheckBox* CheckBox1; // Outlook mode
    QPushButton* Button1; // OK
    QPushButton* Button2; // Cancel

    void FormCreate();
    // Loads the list once the window is first on screen.
    void FormActivate();
    void FormClose();
    void CheckBox1Click();
    void Edit1Change(const QString& text);
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void DBGrid1DblClick();

    // The events of the shown table.
    void ClientDataSet1AfterInsert(PhoneBookTable& table);
    bool ClientDataSet1BeforePost(PhoneBookTable& table);
    bool ClientDataSet1BeforeDelete(PhoneBookTable& table, int row);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    // Escape does not close this window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LoadBook();
    void ImportContacts();
    void attach(PhoneBookTable* table);
    void setUpColumns();
    bool outlookMode() const;
    int currentRow() const;
    void setCurrentRow(int row);
    Recipient recipientAt(int row) const;
    // A refused post is dropped: the record would stay pending with nothing on screen to finish it.
    void postRecord(PhoneBookTable& table);

    PhoneBookTable* m_phoneBook;
    PhoneBookTable* m_outlookCache;
    PhoneBookTable* m_shown = nullptr;
    QStringList m_areaCodes;
    QIdentityProxyModel* m_gridModel;
    bool Importing = false; // the table events do nothing while the cache is filled from Outlook
    bool Reloading = false; // the list is loaded from Outlook even when "outlook.db" exists
    bool m_activated = false;
};
