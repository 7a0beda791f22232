#include "PhoneBookSession.h"

#include "PhoneBookTable.h"
#include "settings/SmsIni.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
const QString NameField = QStringLiteral("Name");
const QString AreaField = QStringLiteral("Area");
const QString PhoneField = QStringLiteral("Phone");
const QString UnknownField = QStringLiteral("Unknown");
const QString CardField = QStringLiteral("Card");
const QString CardDigestField = QStringLiteral("CardDigest");

[[noreturn]] void failConnection()
{
    throw ZelkoraError(PhoneBookSession::connectionFailedText());
}

void setEntryFields(PhoneBookTable& table, const PhoneBookSession::Recipient& entry)
{
    table.setFieldText(NameField, entry.name);
    table.setFieldText(AreaField, entry.area);
    table.setFieldText(PhoneField, entry.phone);
}

void setCardFields(PhoneBookTable& table, const PhoneBookSession::Recipient& entry)
{
    table.setFieldText(CardField, entry.card);
    table.setFieldText(CardDigestField, entry.cardDigest);
}
} // namespace

QString PhoneBookSession::connectionFailedText()
{
    return QCoreApplication::translate("TPhoneBookForm", "נכשל הקישור לאנשי קשר מפנקס הכתובות");
}

PhoneBookSession::PhoneBookSession(PhoneBookTable* phoneBook, PhoneBookTable* outlookCache, OutlookSteps steps)
    : m_phoneBook(phoneBook)
    , m_outlookCache(outlookCache)
    , m_steps(std::move(steps))
{
}

void PhoneBookSession::load(QWidget* window, bool reload)
{
    PhoneBookTable* table = shown();
    if (!table->isEmpty())
        return;
    if (!m_outlookMode) {
        if (QFileInfo::exists(table->filePath()))
            table->loadFromFile(table->filePath());
        else
            table->clearRecords();
        return;
    }
    if (QFileInfo::exists(table->filePath()) && !reload) {
        table->loadFromFile(table->filePath());
        return;
    }
    // The contacts are appended unsorted and sorted once at the end, however the import ends.
    table->clearRecords();
    table->setSortedByName(false);
    struct Sorted
    {
        PhoneBookTable* table;
        ~Sorted() { table->setSortedByName(true); }
    } sorted { table };
    if (!m_steps.importContacts)
        failConnection();
    m_steps.importContacts(*table, window);
}

void PhoneBookSession::reload(QWidget* window)
{
    if (!m_outlookMode)
        return;
    m_outlookCache->clearRecords();
    load(window, true);
}

bool PhoneBookSession::writeBack(Recipient& entry, Result& result) const
{
    try {
        if (!m_steps.updateContact)
            failConnection();
        m_steps.updateContact(entry);
    } catch (const OutlookSteps::Refusal& refusal) {
        result = { Outcome::Refused, refusal.message(), -1 };
        return false;
    } catch (const std::exception& error) {
        result = { Outcome::NotFound, ErrorReport::textOf(error), -1 };
        return false;
    }
    return true;
}

PhoneBookSession::Result PhoneBookSession::add(const Recipient& given)
{
    Result result;
    PhoneBookTable& table = *shown();
    Recipient entry = given;
    if (m_outlookMode) {
        try {
            if (!m_steps.createContact)
                failConnection();
            if (m_steps.createContact(entry) == OutlookSteps::Creation::AlreadyExists)
                return { Outcome::AlreadyExists, QString(), -1 };
        } catch (const std::exception& error) {
            return { Outcome::Failed, ErrorReport::textOf(error), -1 };
        }
        // The post that follows a creation writes the number back by its own rule.
        if (!writeBack(entry, result))
            return result;
    }
    if (!table.insertRecord())
        return { Outcome::Failed, QString(), -1 };
    setEntryFields(table, entry);
    if (m_outlookMode)
        setCardFields(table, entry);
    if (!table.post(&result.row)) {
        table.cancel();
        return { Outcome::Failed, QString(), -1 };
    }
    return result;
}

PhoneBookSession::Result PhoneBookSession::update(int row, const Recipient& given)
{
    Result result;
    PhoneBookTable& table = *shown();
    Recipient entry = given;
    if (m_outlookMode) {
        entry.card = table.fieldText(row, CardField);
        entry.cardDigest = table.fieldText(row, CardDigestField);
        if (!writeBack(entry, result))
            return result;
    }
    if (!table.editRecord(row))
        return { Outcome::Failed, QString(), -1 };
    setEntryFields(table, entry);
    if (m_outlookMode) {
        setCardFields(table, entry);
        // The address book now holds the number split, so it is no longer unknown.
        if (!entry.area.isEmpty() && !entry.phone.isEmpty())
            table.setFieldText(UnknownField, QString());
    }
    if (!table.post(&result.row)) {
        table.cancel();
        return { Outcome::Failed, QString(), -1 };
    }
    return result;
}

PhoneBookSession::Result PhoneBookSession::remove(int row)
{
    PhoneBookTable& table = *shown();
    if (m_outlookMode) {
        try {
            if (!m_steps.deleteContact)
                failConnection();
            m_steps.deleteContact(recipientAt(row));
        } catch (const OutlookSteps::Refusal& refusal) {
            return { Outcome::Refused, refusal.message(), -1 };
        } catch (const std::exception& error) {
            return { Outcome::NotFound, ErrorReport::textOf(error), -1 };
        }
    }
    if (!table.removeRecord(row))
        return { Outcome::Failed, QString(), -1 };
    return { Outcome::Done, QString(), row };
}

PhoneBookSession::Recipient PhoneBookSession::recipientAt(int row) const
{
    const PhoneBookTable* table = shown();
    if (row < 0)
        return {};
    return { table->fieldText(row, NameField), table->fieldText(row, AreaField), table->fieldText(row, PhoneField),
        table->fieldText(row, CardField), table->fieldText(row, CardDigestField) };
}

QString PhoneBookSession::close()
{
    // A table that cannot be written stays in memory, without a word; its file keeps the last table saved.
    PhoneBookTable* table = shown();
    table->saveToFile(table->filePath());
    try {
        SmsIni().setUseOutlook(m_outlookMode);
    } catch (const ZelkoraError& error) {
        return error.message();
    }
    return QString();
}
