#include "RecipientFile.h"

#include "contacts/MobileNumber.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardText.h"
#include "phonebook/PhoneBookTable.h"

#include <QFile>
#include <QFileInfo>

#include <optional>
#include <utility>

namespace Contacts {

namespace {
    const QByteArray ByteOrderMark = "\xEF\xBB\xBF";

    QString problemAt(int line, const QString& text)
    {
        return QStringLiteral("line %1: %2").arg(line).arg(text);
    }

    // One entry's name and number, as a recipient or as the problem its number is.
    void addEntry(
        int line, const QString& name, const QString& number, const QString& countryCode, RecipientFileResult* result)
    {
        if (number.trimmed().isEmpty()) {
            result->problems << problemAt(line, QStringLiteral("no phone number"));
            return;
        }
        const std::optional<MobileNumber> areaAndPhone = MobileNumber::local(number, countryCode);
        if (!areaAndPhone) {
            result->problems << problemAt(line, QStringLiteral("\"%1\" is not a mobile number").arg(number.trimmed()));
            return;
        }
        // A list line holds one line of text: line breaks and runs of blanks in a name become one blank.
        result->recipients << FileRecipient { name.simplified(), areaAndPhone->area, areaAndPhone->phone, line };
    }

    // N's fields in the order people say them: prefix, given, additional, family, suffix. An escaped ";"
    // inside a field is taken as a separator, as the value reaches us already unescaped.
    QString nameFromN(const VCard& card)
    {
        const int index = card.indexOf("N");
        if (index < 0)
            return QString();
        const QStringList fields = card.text(card.properties[index]).split(QLatin1Char(';'));
        QStringList spoken;
        for (const int field : { 3, 1, 2, 0, 4 }) {
            const QString text = fields.value(field).trimmed();
            if (!text.isEmpty())
                spoken << text;
        }
        return spoken.join(QLatin1Char(' '));
    }

    QString numberOf(const VCard& card)
    {
        if (card.mobileIndex() >= 0)
            return card.mobileNumber();
        const int first = card.indexOf("TEL");
        return first < 0 ? QString() : card.text(card.properties[first]);
    }

    // "BEGIN:VCARD" as VCardReader knows it: any letter case, blanks after it, none before it.
    bool isBeginLine(QByteArrayView line)
    {
        while (!line.isEmpty()
            && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r' || line.back() == '\n'))
            line.chop(1);
        return line.compare("BEGIN:VCARD", Qt::CaseInsensitive) == 0;
    }

    // The reader leaves out a card it cannot read and only counts it. So that such a card is named by its
    // line too, the BEGIN lines are walked here and each is matched with the card that starts on it.
    void readVCards(
        const QString& path, const QByteArray& bytes, const QString& countryCode, RecipientFileResult* result)
    {
        const VCardReader::Result read = VCardReader::read(bytes);
        int card = 0;
        qsizetype lastCardEnd = 0;
        int line = 0;
        for (qsizetype start = 0; start < bytes.size(); ++line) {
            qsizetype next = bytes.indexOf('\n', start);
            next = next < 0 ? bytes.size() : next + 1;
            const qsizetype begin = line == 0 && bytes.startsWith(ByteOrderMark) ? ByteOrderMark.size() : start;
            const QByteArrayView text = QByteArrayView(bytes).sliced(begin, next - begin);
            start = next;
            if (!isBeginLine(text))
                continue;
            if (card < read.cards.size() && read.cards[card].begin == begin) {
                const VCard& found = read.cards[card++];
                lastCardEnd = found.end;
                const QString name = found.fullName().trimmed();
                addEntry(line + 1, name.isEmpty() ? nameFromN(found) : name, numberOf(found), countryCode, result);
            } else if (begin >= lastCardEnd) {
                // Not a card inside the last one read (a 2.1 AGENT), so a card the reader left out.
                result->problems << problemAt(line + 1, QStringLiteral("the card could not be read"));
            }
        }
        if (result->recipients.isEmpty() && result->problems.isEmpty())
            result->error = QStringLiteral("%1 holds no vCard").arg(path);
    }

    struct CsvRow
    {
        int line = 0;
        QStringList fields;
        bool unclosedQuote = false;

        bool isBlank() const
        {
            for (const QString& field : fields) {
                if (!field.trimmed().isEmpty())
                    return false;
            }
            return true;
        }
        QString field(int column) const { return column < 0 ? QString() : fields.value(column).trimmed(); }
    };

    // Of comma and semicolon, the one the first line that is not empty holds more of outside quotation
    // marks; a comma when they are even.
    QChar separatorOf(const QString& text)
    {
        int commas = 0;
        int semicolons = 0;
        bool quoted = false;
        bool seen = false;
        for (const QChar c : text) {
            if (c == QLatin1Char('"'))
                quoted = !quoted;
            else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')) && seen)
                break;
            else if (!quoted && c == QLatin1Char(','))
                ++commas;
            else if (!quoted && c == QLatin1Char(';'))
                ++semicolons;
            seen = seen || !c.isSpace();
        }
        return semicolons > commas ? QLatin1Char(';') : QLatin1Char(',');
    }

    // The rows of the text with the line each starts on. A quotation mark opens a quoted field only at the
    // field's start; elsewhere it is an ordinary character.
    QList<CsvRow> rowsOf(const QString& text, QChar separator)
    {
        const QChar quote = QLatin1Char('"');
        QList<CsvRow> rows;
        int line = 1;
        qsizetype i = 0;
        while (i < text.size()) {
            CsvRow row;
            row.line = line;
            QString field;
            bool quoted = false;
            bool wasQuoted = false;
            for (; i < text.size(); ++i) {
                const QChar c = text[i];
                const bool crLf = c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n');
                const bool lineEnd = c == QLatin1Char('\n') || (c == QLatin1Char('\r') && !crLf);
                if (quoted) {
                    if (c == quote && i + 1 < text.size() && text[i + 1] == quote) {
                        field += quote;
                        ++i;
                    } else if (c == quote) {
                        quoted = false;
                    } else {
                        field += c;
                        line += lineEnd ? 1 : 0;
                    }
                } else if (c == quote && !wasQuoted && field.trimmed().isEmpty()) {
                    quoted = wasQuoted = true;
                    field.clear();
                } else if (c == separator) {
                    row.fields << field;
                    field.clear();
                    wasQuoted = false;
                } else if (lineEnd) {
                    ++line;
                    ++i;
                    break;
                } else if (!crLf) {
                    field += c;
                }
            }
            row.fields << field;
            row.unclosedQuote = quoted;
            rows << row;
        }
        return rows;
    }

    struct Columns
    {
        int name = 0;
        int number = 1;
        int area = -1;
    };

    // The columns a header row names; nothing when no field of the row is a column's name.
    std::optional<Columns> headerColumns(const CsvRow& row)
    {
        static const QStringList names { QStringLiteral("name"), QStringLiteral("full name"), QStringLiteral("שם"),
            QStringLiteral("שם מלא") };
        static const QStringList numbers { QStringLiteral("phone"), QStringLiteral("number"), QStringLiteral("mobile"),
            QStringLiteral("טלפון"), QStringLiteral("מספר"), QStringLiteral("נייד") };
        static const QStringList areas { QStringLiteral("area"), QStringLiteral("area code"),
            QStringLiteral("קידומת") };
        Columns columns { -1, -1, -1 };
        for (int i = int(row.fields.size()) - 1; i >= 0; --i) {
            const QString title = row.field(i);
            if (names.contains(title, Qt::CaseInsensitive))
                columns.name = i;
            else if (numbers.contains(title, Qt::CaseInsensitive))
                columns.number = i;
            else if (areas.contains(title, Qt::CaseInsensitive))
                columns.area = i;
        }
        if (columns.name < 0 && columns.number < 0 && columns.area < 0)
            return std::nullopt;
        return columns;
    }

    void readCsv(const QString& path, const QByteArray& bytes, const QString& countryCode, RecipientFileResult* result)
    {
        const QByteArray body = bytes.startsWith(ByteOrderMark) ? bytes.mid(ByteOrderMark.size()) : bytes;
        // UTF-8, or windows-1255 when the bytes are not UTF-8, as Hebrew Excel saves a CSV file.
        const QString text = VCardText::decode(body, QByteArray());
        Columns columns;
        bool first = true;
        for (const CsvRow& row : rowsOf(text, separatorOf(text))) {
            if (row.isBlank() && !row.unclosedQuote)
                continue;
            if (std::exchange(first, false)) {
                if (const std::optional<Columns> header = headerColumns(row)) {
                    if (header->number < 0) {
                        result->error = QStringLiteral("%1: the header row names no phone number column").arg(path);
                        return;
                    }
                    columns = *header;
                    continue;
                }
            }
            if (row.unclosedQuote) {
                result->problems << problemAt(row.line, QStringLiteral("a quotation mark is never closed"));
                continue;
            }
            const QString area = row.field(columns.area);
            const QString number = row.field(columns.number);
            // Under a separate area column the number column holds the number without its area code.
            const bool joined = !area.isEmpty() && !number.isEmpty();
            addEntry(row.line, row.field(columns.name), joined ? area + QLatin1Char('-') + number : number, countryCode,
                result);
        }
    }
} // namespace

namespace RecipientFile {
    RecipientFileResult read(const QString& path, const QString& countryCode)
    {
        RecipientFileResult result;
        const QString suffix = QFileInfo(path).suffix();
        const bool vCard = suffix.compare(QLatin1String("vcf"), Qt::CaseInsensitive) == 0;
        const bool csv = suffix.compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0;
        if (!vCard && !csv) {
            result.error = QStringLiteral("%1 is neither a .vcf nor a .csv file").arg(path);
            return result;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            result.error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
            return result;
        }
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            result.error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
            return result;
        }
        if (vCard)
            readVCards(path, bytes, countryCode, &result);
        else
            readCsv(path, bytes, countryCode, &result);
        return result;
    }
} // namespace RecipientFile

} // namespace Contacts
