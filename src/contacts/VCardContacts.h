#pragma once

#include "contacts/OutlookObjects.h"

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <memory>

class PhoneBookTable;

namespace Contacts {

class ImportProgress;

// The phone book's work on the address book through the automation objects: the import into the contacts
// cache and the write-back of each addition, change and deletion. Every operation connects first and
// disconnects at its end, failure or not, so nothing is held between operations. A failure throws
// ZelkoraError; the phone book window decides what the user is told.
class VCardContacts
{
    Q_DECLARE_TR_FUNCTIONS(Contacts::VCardContacts)
public:
    // Starts "Outlook.Application"; throws when it cannot.
    using ApplicationFactory = std::function<std::unique_ptr<Application>()>;

    enum class Creation
    {
        Created,
        AlreadyExists, // a contact of this full name exists; nothing was created
    };

    explicit VCardContacts(ApplicationFactory createApplication);
    ~VCardContacts();

    // Sets OutlookApp, OutlookNamespace and ContactsFolder, or throws "נכשל הקישור לאנשי קשר מפנקס הכתובות" (no
    // application or namespace) or "הקישור לתקיית אנשי קשר נכשל" (no contacts folder).
    void ConnectOutlook();
    void DisconnectOutlook();
    bool isConnected() const { return ContactsFolder != nullptr; }

    // Which card a cache row came from, and a digest of that card as the row last saw it. Empty for a row of
    // a cache written before rows knew their cards.
    struct CardRef
    {
        QString entryId;
        QString digest;
    };

    // Empties the cache and fills it with one record a contact that has a full name (Name, Area, Phone,
    // Unknown, Card, CardDigest), the gauge running from 0 to the count + 1. Contacts whose values cannot be
    // read are skipped. The folder is read on a thread of its own (Folder::readTable) while this one stores
    // the records in batches and lets the window's messages run in between; the gauge stands at 0 until the
    // count is known. The cache is sorted by Name again at the end, also after a failure, which is then
    // thrown with what was read so far in the cache. Returns the number of cards the folder could not read.
    int ImportContacts(PhoneBookTable& cache, ImportProgress& progress);

    // The number written to a new contact is always area code, "-", number. `card` receives the new card.
    Creation CreateContact(const QString& name, const QString& area, const QString& phone, CardRef* card = nullptr);
    // Writes the number to the row's own card and returns that card as it reads afterwards. The number is
    // written only when its digits differ from the card's, so a number the user did not change keeps the
    // card's spelling. With neither area code nor number, a contact whose number the cache holds as unknown
    // keeps it: the entry was saved without being given one. Throws CardChangedError (nothing written) when
    // the card changed since the row saw it, was removed, or can no longer be told apart from another.
    CardRef UpdateContact(const QString& name, const QString& area, const QString& phone, const CardRef& card);
    // Deletes the row's own card, under the same refusals.
    void DeleteContact(const QString& name, const CardRef& card);

    // The text Find is given: [FullName] = "name", the name inserted as it stands.
    static QString restrictionText(const QString& name);

private:
    std::unique_ptr<ContactItem> findContact(const QString& name);
    // The card a row came from, found by its identity and checked against the digest the row keeps; a row
    // that does not know its card finds it by a name that one card alone holds.
    std::unique_ptr<ContactItem> rowsContact(const QString& name, const CardRef& card);

    ApplicationFactory m_createApplication;
    std::unique_ptr<Application> OutlookApp;
    std::unique_ptr<NameSpace> OutlookNamespace;
    std::unique_ptr<Folder> ContactsFolder;
};

} // namespace Contacts
