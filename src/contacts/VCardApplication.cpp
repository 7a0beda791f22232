#include "VCardApplication.h"

#include "common/ErrorReport.h"
#include "contacts/VCardFolder.h"
#include "settings/SmsIni.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace Contacts {

namespace {
    class VCardContactItem : public ContactItem
    {
        Q_DECLARE_TR_FUNCTIONS(Contacts::VCardApplication)
    public:
        // A stored card; `id` invalid for a new contact.
        VCardContactItem(std::shared_ptr<VCardFolder> folder, VCardFolder::CardId id)
            : m_folder(std::move(folder))
            , m_id(id)
        {
        }

        QString fullName() const override
        {
            if (m_changes.fullName)
                return *m_changes.fullName;
            return isNew() ? QString() : stored().fullName();
        }

        void setFullName(const QString& name) override { m_changes.fullName = name; }

        QString mobileTelephoneNumber() const override
        {
            if (m_changes.mobileNumber)
                return *m_changes.mobileNumber;
            return isNew() ? QString() : stored().mobileNumber();
        }

        void setMobileTelephoneNumber(const QString& number) override { m_changes.mobileNumber = number; }

        QString entryId() const override { return isNew() ? QString() : m_folder->entryId(m_id); }
        QString version() const override { return isNew() ? QString() : m_folder->digest(m_id); }

        void save() override
        {
            if (isNew())
                m_id = m_folder->create(
                    m_changes.fullName.value_or(QString()), m_changes.mobileNumber.value_or(QString()));
            else
                m_folder->change(m_id, m_changes);
            m_changes = {};
        }

        void remove() override
        {
            // A contact never saved is not in the folder.
            if (!isNew())
                m_folder->remove(m_id);
            m_changes = {};
        }

    private:
        bool isNew() const { return m_id.file < 0; }

        const VCard& stored() const
        {
            const VCard* card = m_folder->card(m_id);
            if (!card)
                throw ZelkoraError(tr("איש הקשר כבר נמחק"));
            return *card;
        }

        std::shared_ptr<VCardFolder> m_folder;
        VCardFolder::CardId m_id;
        VCardFolder::Changes m_changes;
    };

    class VCardItems : public ItemCollection
    {
        Q_DECLARE_TR_FUNCTIONS(Contacts::VCardApplication)
    public:
        explicit VCardItems(std::shared_ptr<VCardFolder> folder)
            : m_folder(std::move(folder))
        {
            m_folder->load();
        }

        int count() const override { return m_folder->cardCount(); }

        std::unique_ptr<ContactItem> item(int index) override
        {
            if (index < 1 || index > count())
                throw ZelkoraError(tr("אין פריט מספר %1").arg(index));
            return std::make_unique<VCardContactItem>(m_folder, m_folder->cardAt(index - 1));
        }

        std::unique_ptr<ContactItem> find(const QString& restriction) override
        {
            std::vector<std::unique_ptr<ContactItem>> found = matching(restriction, true);
            return found.empty() ? nullptr : std::move(found.front());
        }

        std::vector<std::unique_ptr<ContactItem>> restrict(const QString& restriction) override
        {
            return matching(restriction, false);
        }

        int unreadableCount() const override { return m_folder->unreadableCount(); }

    private:
        std::vector<std::unique_ptr<ContactItem>> matching(const QString& restriction, bool first)
        {
            static const QRegularExpression form(QStringLiteral(R"re(^\s*\[\s*(\w+)\s*\]\s*=\s*"(.*)"\s*$)re"),
                QRegularExpression::DotMatchesEverythingOption);
            const QRegularExpressionMatch match = form.match(restriction);
            const QString property = match.captured(1);
            const bool byName = property.compare(QLatin1String("FullName"), Qt::CaseInsensitive) == 0;
            if (!match.hasMatch()
                || (!byName && property.compare(QLatin1String("MobileTelephoneNumber"), Qt::CaseInsensitive) != 0))
                throw ZelkoraError(tr("תנאי החיפוש אינו מובן: %1").arg(restriction));
            const QString value = match.captured(2);
            std::vector<std::unique_ptr<ContactItem>> found;
            for (int i = 0; i < m_folder->cardCount(); ++i) {
                const VCard* card = m_folder->card(m_folder->cardAt(i));
                if (card && (byName ? card->fullName() : card->mobileNumber()) == value) {
                    found.push_back(std::make_unique<VCardContactItem>(m_folder, m_folder->cardAt(i)));
                    if (first)
                        break;
                }
            }
            return found;
        }

        std::shared_ptr<VCardFolder> m_folder;
    };

    class VCardContactsFolder : public Folder
    {
    public:
        explicit VCardContactsFolder(std::shared_ptr<VCardFolder> folder)
            : m_folder(std::move(folder))
        {
        }

        std::unique_ptr<ItemCollection> items() override { return std::make_unique<VCardItems>(m_folder); }

        int readTable(const std::function<void(QList<ContactRow>&& batch)>& rows) override
        {
            int handed = 0;
            const auto handOn = [this, &rows, &handed] {
                QList<ContactRow> batch;
                batch.reserve(m_folder->cardCount() - handed);
                for (; handed < m_folder->cardCount(); ++handed) {
                    const VCardFolder::CardId id = m_folder->cardAt(handed);
                    const VCard* card = m_folder->card(id);
                    // A card removed since its folder was read answers nothing, as its item would.
                    batch << (card ? ContactRow { card->fullName(), card->mobileNumber(), m_folder->entryId(id),
                                  m_folder->digest(id) }
                                   : ContactRow {});
                }
                if (!batch.isEmpty())
                    rows(std::move(batch));
            };
            m_folder->load(handOn);
            // A folder read before hands its cards on at once.
            handOn();
            return m_folder->unreadableCount();
        }

    private:
        std::shared_ptr<VCardFolder> m_folder;
    };

    class VCardNameSpace : public NameSpace
    {
        Q_DECLARE_TR_FUNCTIONS(Contacts::VCardApplication)
    public:
        explicit VCardNameSpace(std::shared_ptr<VCardFolder> folder)
            : m_folder(std::move(folder))
        {
        }

        std::unique_ptr<Folder> getDefaultFolder(int folderType) override
        {
            if (folderType != olFolderContacts)
                throw ZelkoraError(tr("אין תיקייה מספר %1").arg(folderType));
            const QFileInfo info(m_folder->path());
            if (!info.isDir() || !info.isReadable() || !info.isExecutable())
                throw ZelkoraError(tr("אין אפשרות לקרוא את תיקיית אנשי הקשר %1").arg(m_folder->path()));
            return std::make_unique<VCardContactsFolder>(m_folder);
        }

        std::unique_ptr<ContactItem> getItemFromId(const QString& entryId) override
        {
            m_folder->load();
            const std::optional<VCardFolder::CardId> id = m_folder->findEntry(entryId);
            return id ? std::make_unique<VCardContactItem>(m_folder, *id) : nullptr;
        }

    private:
        std::shared_ptr<VCardFolder> m_folder;
    };
} // namespace

VCardApplication::VCardApplication(std::shared_ptr<VCardFolder> folder)
    : m_folder(std::move(folder))
{
}

std::unique_ptr<Application> VCardApplication::create(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        throw ZelkoraError(tr("תיקיית אנשי הקשר %1 לא נמצאה").arg(folder));
    return std::unique_ptr<Application>(new VCardApplication(std::make_shared<VCardFolder>(folder)));
}

QString VCardApplication::folderPath()
{
    QString configured = SmsIni().contactsFolder().trimmed();
    if (configured.isEmpty())
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/contacts");
    if (configured == QLatin1String("~") || configured.startsWith(QLatin1String("~/")))
        configured = QDir::homePath() + configured.mid(1);
    return QDir::cleanPath(configured);
}

std::unique_ptr<NameSpace> VCardApplication::getNameSpace(const QString& type)
{
    if (type.compare(QLatin1String("MAPI"), Qt::CaseInsensitive) != 0)
        throw ZelkoraError(tr("אין מרחב שמות בשם %1").arg(type));
    return std::make_unique<VCardNameSpace>(m_folder);
}

std::unique_ptr<ContactItem> VCardApplication::createItem(int itemType)
{
    if (itemType != olContactItem)
        throw ZelkoraError(tr("אין אפשרות ליצור פריט מסוג %1").arg(itemType));
    return std::make_unique<VCardContactItem>(m_folder, VCardFolder::CardId {});
}

} // namespace Contacts
