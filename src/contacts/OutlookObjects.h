#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

// The few calls of Outlook's automation interface that the phone book relies on, as objects of our own.
// Every call may fail; a failure throws ZelkoraError carrying the reason. Objects handed out are the
// caller's: releasing one is destroying it.
namespace Contacts {

// GetDefaultFolder's number for the default contacts folder, and CreateItem's for a contact.
constexpr int olFolderContacts = 10;
constexpr int olContactItem = 2;

class ContactItem
{
public:
    virtual ~ContactItem() = default;
    virtual QString fullName() const = 0;
    virtual void setFullName(const QString& name) = 0;
    virtual QString mobileTelephoneNumber() const = 0;
    virtual void setMobileTelephoneNumber(const QString& number) = 0;
    // Stores the contact: a new one is added to the folder, a stored one is changed.
    virtual void save() = 0;
    // Delete: removes the contact from the folder.
    virtual void remove() = 0;
    // EntryID: the contact's identity in its store, for as long as the contact lives.
    virtual QString entryId() const = 0;
    // What the contact holds now, as a digest that changes with any change made to it, by this program or
    // another one (Outlook's LastModificationTime plays this part there).
    virtual QString version() const = 0;
};

// A folder's Items collection.
class ItemCollection
{
public:
    virtual ~ItemCollection() = default;
    virtual int count() const = 0;
    // 1-based, as Outlook counts.
    virtual std::unique_ptr<ContactItem> item(int index) = 0;
    // The first item that matches a restriction such as [FullName] = "Dana Levi"; null when none does.
    virtual std::unique_ptr<ContactItem> find(const QString& restriction) = 0;
    // Restrict: every item that matches, in order.
    virtual std::vector<std::unique_ptr<ContactItem>> restrict(const QString& restriction) = 0;
    // Contacts of the folder that could not be read and that the collection leaves out. Outlook has no
    // such thing; an address book of files can.
    virtual int unreadableCount() const = 0;
};

// One row of a folder's table (GetTable with the columns FullName, MobileTelephoneNumber, EntryID and
// LastModificationTime): what the item of that place would answer.
struct ContactRow
{
    QString fullName;
    QString mobileTelephoneNumber;
    QString entryId;
    QString version;
};

class Folder
{
public:
    virtual ~Folder() = default;
    virtual std::unique_ptr<ItemCollection> items() = 0;
    // GetTable: a row for every item of items(), in the same order, read in one pass without an item object
    // each. The rows are handed to `rows` in batches on the calling thread as the folder is read, every row
    // once. Returns what items()->unreadableCount() would.
    virtual int readTable(const std::function<void(QList<ContactRow>&& batch)>& rows) = 0;
};

class NameSpace
{
public:
    virtual ~NameSpace() = default;
    virtual std::unique_ptr<Folder> getDefaultFolder(int folderType) = 0;
    // GetItemFromID: the contact of that identity; null when there is none. Throws ZelkoraError when the
    // identity no longer tells one contact apart.
    virtual std::unique_ptr<ContactItem> getItemFromId(const QString& entryId) = 0;
};

// "Outlook.Application".
class Application
{
public:
    virtual ~Application() = default;
    // Outlook knows one namespace, "MAPI".
    virtual std::unique_ptr<NameSpace> getNameSpace(const QString& type) = 0;
    // A new contact, stored in the default contacts folder by its save().
    virtual std::unique_ptr<ContactItem> createItem(int itemType) = 0;
};

} // namespace Contacts
