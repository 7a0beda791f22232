#pragma once

#include <QString>

#include <optional>

namespace Contacts {

// A contact's mobile number as the phone book keeps it: area code and number, or, when it cannot be split
// that way, the whole of it as the unknown number.
struct MobileNumber
{
    QString area;
    QString phone;
    QString unknown;

    // The separator is the first "-", else the first blank. At position 1 to 4 (1-based) it splits the
    // number: the area code is what stands before it, the number everything after it with the group
    // separators dropped ("052-123-4567" gives 052 and 1234567). Anything else (no separator, a separator
    // further on, as in "+972-52-1234567", or a number longer than `phoneWidth`) leaves the whole number
    // unknown. An empty number gives three empty parts.
    static MobileNumber split(const QString& number, int phoneWidth);

    // The characters people put between groups of digits: "-", blank, ".", "/", "(" and ")".
    static bool isGroupSeparator(QChar c);
    // The number without them: two spellings of one number give the same text.
    static QString digitsOf(const QString& number);

    // A number as people and programs write it ("052-1234567", "0521234567", "(052) 123-4567", "tel:052...",
    // "+972 52-123-4567", "00972-52-1234567", "+972 (0)52...") in the local form the providers serve: an area
    // code of 0 and one or two digits, and a number of seven digits. The calling code `countryCode` (digits,
    // without "+") of the providers' country gives way to the domestic 0. Where the writer put a separator
    // it splits there; where that gives no such number the digits say where the area code ends: after 05X
    // and 07X, else after two digits. None when the number is of another country or does not split so.
    static std::optional<MobileNumber> local(const QString& written, const QString& countryCode);

    // The text written back to the contact: area code, "-", number; the number alone when there is no
    // area code.
    static QString joined(const QString& area, const QString& phone);
};

} // namespace Contacts
