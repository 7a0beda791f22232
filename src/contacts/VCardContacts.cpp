#include "VCardContacts.h"

#include "common/ErrorReport.h"
#include "contacts/ImportProgress.h"
#include "contacts/MobileNumber.h"
#include "contacts/VCardFolder.h"
#include "phonebook/PhoneBookTable.h"

#include <QElapsedTimer>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace Contacts {

namespace {
    // Records go to the cache in batches, a thousand records or a few times a second: storing re-reads the
    // table's model and redraws the grid, which once a contact would cost more than reading the contacts. A
    // thousand records store in a few milliseconds, so the window's messages never wait long.
    constexpr qsizetype StoreBatch = 1000;
    constexpr qint64 StoreInterval = 250; // ms
    // How long the window's thread waits for the reading thread before it lets its messages run again.
    constexpr std::chrono::milliseconds ReadingWait(10);

    // The cache record of a contact: Name, Area, Phone, Unknown, Card, CardDigest. None (an empty list) for a
    // contact without a full name, which is no entry.
    QStringList cacheRecordOf(const ContactRow& row)
    {
        if (row.fullName.isEmpty())
            return {};
        const MobileNumber parts = MobileNumber::split(row.mobileTelephoneNumber, PhoneBookTable::CachePhoneWidth);
        return { row.fullName, parts.area, parts.phone, parts.unknown, row.entryId, row.version };
    }

    // Reads a folder's table on a thread of its own and hands its cache records to the window's thread, so
    // that the reading, parsing and digesting of the cards never hold the window's messages up. The
    // connection is the reading thread's, and it ends the connection once the folder is read, so that
    // freeing what was read costs the window's thread nothing either. Destruction waits for the thread.
    class TableReading
    {
    public:
        struct ConnectedObjects
        {
            std::unique_ptr<Application> application;
            std::unique_ptr<NameSpace> nameSpace;
            std::unique_ptr<Folder> folder;
        };

        // What take() hands over.
        struct Part
        {
            QList<QStringList> records; // one a contact, in the folder's order; empty for a contact without one
            bool read = false; // the whole folder is read: `contacts` and `unreadable` are its own
            bool finished = false; // read, and every contact taken
            int contacts = 0; // read so far
            int unreadable = 0;
        };

        explicit TableReading(ConnectedObjects connection)
            : m_thread([this, connection = std::move(connection)]() mutable { readFolder(std::move(connection)); })
        {
        }

        ~TableReading()
        {
            {
                const std::lock_guard lock(m_mutex);
                m_abandoned = true;
            }
            m_thread.join();
        }

        TableReading(const TableReading&) = delete;
        TableReading& operator=(const TableReading&) = delete;

        // Up to `most` records, waiting up to `wait` for the first. Rethrows the reading's failure once the
        // records read before it are taken.
        Part take(qsizetype most, std::chrono::milliseconds wait)
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait_for(lock, wait, [this] { return !m_records.isEmpty() || m_read; });
            if (m_read && m_records.isEmpty() && m_failure)
                std::rethrow_exception(std::exchange(m_failure, nullptr));
            Part part;
            const qsizetype count = qMin(most, m_records.size());
            part.records = m_records.first(count);
            m_records.remove(0, count);
            part.read = m_read;
            part.finished = m_read && m_records.isEmpty() && !m_failure;
            part.contacts = m_contacts;
            part.unreadable = m_unreadable;
            return part;
        }

    private:
        void readFolder(ConnectedObjects connection)
        {
            int unreadable = 0;
            std::exception_ptr failure;
            try {
                unreadable = connection.folder->readTable([this](QList<ContactRow>&& rows) {
                    QList<QStringList> records;
                    records.reserve(rows.size());
                    for (const ContactRow& row : std::as_const(rows))
                        records << cacheRecordOf(row);
                    const std::lock_guard lock(m_mutex);
                    if (m_abandoned)
                        return;
                    m_records << records;
                    m_contacts += int(records.size());
                    m_changed.notify_one();
                });
            } catch (...) {
                failure = std::current_exception();
            }
            // The window's thread hears of the end first and stores the last records while what was read is
            // freed here; it waits for the rest of the freeing only when this object goes.
            {
                const std::lock_guard lock(m_mutex);
                m_read = true;
                m_unreadable = unreadable;
                m_failure = failure;
                m_changed.notify_one();
            }
            // In the order in which DisconnectOutlook() lets go.
            connection.folder.reset();
            connection.nameSpace.reset();
            connection.application.reset();
        }

        std::mutex m_mutex;
        std::condition_variable m_changed;
        QList<QStringList> m_records; // handed over, not yet taken
        int m_contacts = 0; // handed over so far
        int m_unreadable = 0;
        bool m_read = false;
        bool m_abandoned = false;
        std::exception_ptr m_failure;
        std::thread m_thread; // last: it starts once everything above is made
    };

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
        TableReading reading({ std::move(OutlookApp), std::move(OutlookNamespace), std::move(ContactsFolder) });
        // The gauge's range is the count of contacts, known once the folder is read; until then the gauge
        // stands at 0 and the contacts taken wait to be counted on it.
        bool ranged = false;
        int uncounted = 0;
        QElapsedTimer sinceStored;
        sinceStored.start();
        for (bool finished = false; !finished;) {
            progress.letMessagesRun();
            TableReading::Part part = reading.take(StoreBatch - batch.size(), ReadingWait);
            finished = part.finished;
            uncounted += int(part.records.size());
            for (QStringList& record : part.records) {
                if (!record.isEmpty())
                    batch << std::move(record);
            }
            if (batch.size() >= StoreBatch || sinceStored.elapsed() >= StoreInterval || finished) {
                store();
                sinceStored.restart();
            }
            if (!ranged && part.read) {
                progress.setRange(0, part.contacts + 1);
                ranged = true;
            }
            for (; ranged && uncounted > 0; --uncounted)
                progress.advance();
            unreadable = part.unreadable;
        }
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
