#pragma once

#include "contacts/OutlookObjects.h"

#include <QCoreApplication>
#include <QString>

#include <memory>

namespace Contacts {

class VCardFolder;

// "Outlook.Application" over a folder of vCard files. Its namespace "MAPI" has one default folder, the
// contacts folder (number 10): the folder's cards, read when its items are first asked for. A contact's
// full name is the card's FN, its mobile number the first TEL whose type includes CELL. New contacts are
// vCard 3.0 cards with a new UID, each in a file named after it.
//
// Find understands the restriction [FullName] = "text" (or [MobileTelephoneNumber]): the value is
// everything between the first quotation mark after "=" and the last one, compared exactly, so a name that
// holds quotation marks itself is found too.
class VCardApplication : public Application
{
    Q_DECLARE_TR_FUNCTIONS(Contacts::VCardApplication)
public:
    // Throws ZelkoraError when `folder` is no folder.
    static std::unique_ptr<Application> create(const QString& folder);

    // The address book folder: "General"/"ContactsFolder" of SMS.INI when it is set (a leading "~" is the
    // home folder), else $XDG_DATA_HOME/contacts.
    static QString folderPath();

    std::unique_ptr<NameSpace> getNameSpace(const QString& type) override;
    std::unique_ptr<ContactItem> createItem(int itemType) override;

private:
    explicit VCardApplication(std::shared_ptr<VCardFolder> folder);

    std::shared_ptr<VCardFolder> m_folder;
};

} // namespace Contacts
