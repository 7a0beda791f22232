#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace Contacts {

// One recipient read from a file, as a list line would hold it, and the file's line it came from.
struct FileRecipient
{
    QString name;
    QString area;
    QString phone;
    int line = 0; // 1-based: a card's BEGIN:VCARD line, a CSV row's first line
};

struct RecipientFileResult
{
    QList<FileRecipient> recipients; // in file order
    QStringList problems; // one text per entry that could not be read, naming its line: "line 7: no phone number"
    QString error; // the file as a whole could not be read (missing, unreadable, of an unknown type); empty otherwise
};

// The recipients of a file that zelkora-cli sends to, without widgets and without the send checks, which stay
// in the send workflow. The extension, in any letter case, says how the file is read:
//
// .vcf: every card of a vCard 2.1, 3.0 or 4.0 file is one recipient. Its name is FN, else N put together;
// its number the first TEL of type CELL, else its first TEL.
//
// .csv: UTF-8 text (a byte-order mark is skipped; bytes that are not UTF-8 are read as windows-1255), its fields
// separated by commas or by semicolons, whichever the first row holds more of; a field in double quotation marks may
// hold the separator, line breaks and doubled quotation marks. A first row that names columns ("name", "שם", "phone",
// "נייד", "area", "קידומת"...) is a header; without one the columns are name and number. Empty lines are skipped.
//
// A number becomes an area code and a number as the phone book keeps them (MobileNumber::local, with the
// providers' country `countryCode`); "+972 52-123-4567" and "0521234567" give 052 and 1234567. An entry
// without a number, or with one that does not split so, is a problem and the reading goes on.
namespace RecipientFile {
    RecipientFileResult read(const QString& path, const QString& countryCode = QStringLiteral("972"));
} // namespace RecipientFile

} // namespace Contacts
