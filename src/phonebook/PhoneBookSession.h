#pragma once

#include "common/ErrorReport.h"

#include <QString>
#include <QStringList>

#include <functional>

class PhoneBookTable;
class QWidget;

// The phone book without widgets: the two tables, which of them is shown (the local phone book, or the copy
// of the Outlook contacts), and what adding, changing, removing and reloading an entry do to the table and,
// in Outlook mode, to the address book. Each operation returns an outcome; the phone book window turns it
// into the user's message.
class PhoneBookSession
{
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

    // The steps that reach Outlook, from the contacts layer. Each one connects, does its work and
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
        // Fills the cache, which is empty and unsorted when called, with appendRecord(s). `window` owns the
        // progress window.
        std::function<void(PhoneBookTable& cache, QWidget* window)> importContacts;
        // A created contact's card goes into the entry.
        std::function<Creation(Recipient& entry)> createContact;
        // Writes the entry's number to the entry's own card, and gives the entry the card as it reads after.
        std::function<void(Recipient& entry)> updateContact;
        std::function<void(const Recipient& entry)> deleteContact;
    };

    enum class Outcome
    {
        Done,
        AlreadyExists, // a new entry's name is a contact's already; nothing was added
        Refused, // the address book refused for a reason of its own: `message` says it as it stands
        Failed, // a new contact could not be made: `message` says why
        NotFound, // the entry's contact could not be reached or found
    };
    struct Result
    {
        Outcome outcome = Outcome::Done;
        QString message;
        int row = -1; // the entry's row in the shown table, -1 when the filter hides it
    };

    // "נכשל הקישור לאנשי קשר מפנקס הכתובות".
    static QString connectionFailedText();

    PhoneBookSession(PhoneBookTable* phoneBook, PhoneBookTable* outlookCache, OutlookSteps steps = {});

    PhoneBookTable* phoneBook() const { return m_phoneBook; }
    PhoneBookTable* outlookCache() const { return m_outlookCache; }
    void setOutlookMode(bool on) { m_outlookMode = on; }
    bool outlookMode() const { return m_outlookMode; }
    // The table the window shows.
    PhoneBookTable* shown() const { return m_outlookMode ? m_outlookCache : m_phoneBook; }

    // Fills the shown table when it is empty: from its file, or in Outlook mode without a usable file (or
    // on a reload) from the address book. A connection that fails throws ZelkoraError.
    void load(QWidget* window, bool reload = false);
    // Empties the contacts cache and imports the address book again (Outlook mode only).
    void reload(QWidget* window);

    Result add(const Recipient& entry);
    // The entry at `row` of the shown table gets the given name, area code and number.
    Result update(int row, const Recipient& entry);
    Result remove(int row);
    // The entry at `row` of the shown table, with its card.
    Recipient recipientAt(int row) const;

    // The shown table to its file, then the mode to SMS.INI: a settings file that refuses the mode costs
    // no edit. Returns the settings' refusal in words, empty when all went well.
    QString close();

private:
    // The step that writes an entry back, as a post does; false with the result filled when it failed.
    bool writeBack(Recipient& entry, Result& result) const;

    PhoneBookTable* m_phoneBook;
    PhoneBookTable* m_outlookCache;
    OutlookSteps m_steps;
    bool m_outlookMode = false;
};
