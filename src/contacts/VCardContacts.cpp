#include "VCardContacts.h"

#include "common/ErrorReport.h"
#include "contacts/ImportProgress.h"
#include "contacts/MobileNumber.h"
#include "contacts/VCardFolder.h"
#include "phonebook/PhoneBookTable.h"

#include <QElapsedTimer>

namespace Contacts {

namespace {
    // Records go to the cache in batches, a few times a second: storing re-reads the table's model and redraws
    // the grid, which once a contact would cost more than reading the contacts.
    constexpr qint64 StoreInterval = 250; // ms

    // Disconnects when the operation ends, however it ends.
    class Connection
    {
    public:
        explicit Connection(VCardContacts& outlook)
            : m_outlook(outlook)
        {
            try {
                m_outlook.ConnectOutlook();
            } catch (...) {
                m_outlook.DisconnectOutlook();
                throw;
            }
        }
        ~Connection() { m_outlook.DisconnectOutlook(); }
        Connection(const Connection&) = delete;
        Connection& operator=(const Connection&) = delete;

    private:
        VCardContacts& m_outlook;
    };
} // namespace

VCardContacts::VCardContacts(ApplicationFactory createApplication)
    : m_createApplication(std::move(createApplication))
{
}

VCardContacts::~VCardContacts()
{
    DisconnectOutlook();
}

void VCardContacts::ConnectOutlook()
{
    // The connection's own message, and on a line of its own the reason, which names the address book's
    // folder: the user must know which folder to create or to set in SMS.INI.
    const auto failed = [](const QString& message, const std::exception& error) {
        const auto* reason = dynamic_cast<const ZelkoraError*>(&error);
        return ZelkoraError(reason ? message + QLatin1Char('\n') + reason->message() : message);
    };
    try {
        OutlookApp = m_createApplication();
        OutlookNamespace = OutlookApp->getNameSpace(QStringLiteral("MAPI"));
    } catch (const std::exception& error) {
        throw failed(tr("נכשל הקישור לאנשי קשר מפנקס הכתובות"), error);
    }
    try {
        ContactsFolder = OutlookNamespace->getDefaultFolder(olFolderContacts);
    } catch (const std::exception& error) {
        throw failed(tr("הקישור לתקיית אנשי קשר נכשל"), error);
    }
}

void VCardContacts::DisconnectOutlook()
{
    ContactsFolder.reset();
    OutlookNamespace.reset();
    OutlookApp.reset();
}

QString VCardContacts::restrictionText(const QString& name)
{
    return QStringLiteral("[FullName] = \"") + name + QLatin1Char('"');
}

int VCardContacts::ImportContacts(PhoneBookTable& cache, ImportProgress& progress)
{
    cache.clearRecords();
    QList<QStringList> batch;
    const auto store = [&cache, &batch] {
        if (batch.isEmpty())
            return;
        const bool stored = cache.appendRecords(batch);
        batch.clear();
        if (!stored)
            throw ZelkoraError(tr("אנשי הקשר לא נשמרו בטבלה"));
    };
    // However the import ends: the progress window says it is disconnecting, the gauge reaches its maximum,
    // the cache is sorted again and the windows repaint.
    const auto finish = [this, &cache, &progress] {
        progress.disconnecting();
        DisconnectOutlook();
        progress.advance();
        cache.setSortedByName(true);
        progress.letMessagesRun();
    };
    int unreadable = 0;
    try {
        ConnectOutlook();
        // Appended unsorted, sorted once at the end.
        cache.setSortedByName(false);
        std::unique_ptr<ItemCollection> items = ContactsFolder->items();
        progress.setRange(0, items->count() + 1);
        const int count = ContactsFolder->items()->count();
        QElapsedTimer sinceStored;
        sinceStored.start();
        for (int i = 1; i <= count; ++i) {
            progress.advance();
            progress.letMessagesRun();
            QString name;
            QString number;
            QString entryId;
            QString digest;
            try {
                name = items->item(i)->fullName();
                number = items->item(i)->mobileTelephoneNumber();
                const std::unique_ptr<ContactItem> item = items->item(i);
                entryId = item->entryId();
                digest = item->version();
            } catch (const std::exception&) {
                continue;
            }
            if (name.isEmpty())
                continue;
            const MobileNumber parts = MobileNumber::split(number, PhoneBookTable::CachePhoneWidth);
            batch << QStringList { name, parts.area, parts.phone, parts.unknown, entryId, digest };
            if (sinceStored.elapsed() >= StoreInterval) {
                store();
                sinceStored.restart();
            }
        }
        store();
        unreadable = items->unreadableCount();
    } catch (...) {
        // What was read stays in the cache; the first failure is the one to report.
        try {
            store();
        } catch (const std::exception&) {
        }
        finish();
        throw;
    }
    finish();
    return unreadable;
}

std::unique_ptr<ContactItem> VCardContacts::findContact(const QString& name)
{
    return ContactsFolder->items()->find(restrictionText(name));
}

std::unique_ptr<ContactItem> VCardContacts::rowsContact(const QString& name, const CardRef& card)
{
    if (!card.entryId.isEmpty()) {
        std::unique_ptr<ContactItem> contact;
        try {
            contact = OutlookNamespace->getItemFromId(card.entryId);
        } catch (const ZelkoraError& error) {
            throw CardChangedError(error.message());
        }
        // A card gone meanwhile fails as a name that finds no contact does.
        if (!contact)
            throw ZelkoraError(tr("אין איש קשר בשם %1").arg(name));
        // A change made since the import (a sync tool's, say) is never written over.
        if (!card.digest.isEmpty() && contact->version() != card.digest)
            throw CardChangedError(tr("כרטיס איש הקשר %1 שונה בידי תוכנה אחרת מאז שנטען, ולכן השינוי לא נשמר. "
                                      "יש לטעון את אנשי הקשר מחדש.")
                                       .arg(name));
        return contact;
    }
    // A row that does not know its card: only a name that one card alone holds tells the card apart.
    std::vector<std::unique_ptr<ContactItem>> named = ContactsFolder->items()->restrict(restrictionText(name));
    if (named.empty())
        throw ZelkoraError(tr("אין איש קשר בשם %1").arg(name));
    if (named.size() > 1)
        throw CardChangedError(tr("יש כמה אנשי קשר בשם %1, ואין דרך לדעת לאיזה מהם הכוונה; דבר לא נכתב. "
                                  "יש לטעון את אנשי הקשר מחדש.")
                                   .arg(name));
    return std::move(named.front());
}

VCardContacts::Creation VCardContacts::CreateContact(
    const QString& name, const QString& area, const QString& phone, CardRef* card)
{
    const Connection connection(*this);
    if (findContact(name))
        return Creation::AlreadyExists;
    std::unique_ptr<ContactItem> contact = OutlookApp->createItem(olContactItem);
    contact->setFullName(name);
    contact->setMobileTelephoneNumber(area + QLatin1Char('-') + phone);
    contact->save();
    if (card)
        *card = CardRef { contact->entryId(), contact->version() };
    return Creation::Created;
}

VCardContacts::CardRef VCardContacts::UpdateContact(
    const QString& name, const QString& area, const QString& phone, const CardRef& card)
{
    const Connection connection(*this);
    std::unique_ptr<ContactItem> contact = rowsContact(name, card);
    const QString number = MobileNumber::joined(area, phone);
    const QString stored = contact->mobileTelephoneNumber();
    // The same digits keep the card's own spelling: a number the user did not change is never rewritten,
    // and so never loses a digit.
    const QString digits = MobileNumber::digitsOf(number);
    const bool unchanged = !digits.isEmpty() && digits == MobileNumber::digitsOf(stored);
    // Saving an entry whose number was never split would otherwise erase the contact's number.
    const bool keepsUnknown
        = number.isEmpty() && !MobileNumber::split(stored, PhoneBookTable::CachePhoneWidth).unknown.isEmpty();
    if (!unchanged && !keepsUnknown)
        contact->setMobileTelephoneNumber(number);
    contact->save();
    return CardRef { contact->entryId(), contact->version() };
}

void VCardContacts::DeleteContact(const QString& name, const CardRef& card)
{
    const Connection connection(*this);
    rowsContact(name, card)->remove();
}

} // namespace Contacts
