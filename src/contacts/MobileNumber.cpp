#include "MobileNumber.h"

namespace Contacts {

MobileNumber MobileNumber::split(const QString& number, int phoneWidth)
{
    qsizetype separator = number.indexOf(QLatin1Char('-'));
    if (separator < 0)
        separator = number.indexOf(QLatin1Char(' '));
    MobileNumber parts;
    // `separator` counts from 0: positions 1 to 4 are 0 to 3 here.
    if (separator >= 0 && separator <= 3) {
        // Every character after the area code but the separators people write between groups of digits.
        QString phone;
        for (const QChar c : QStringView(number).mid(separator + 1)) {
            if (!isGroupSeparator(c))
                phone += c;
        }
        // A number the cache cannot hold whole stays whole, as an unknown one: no digit is ever dropped.
        if (phone.size() <= phoneWidth) {
            parts.area = number.left(separator);
            parts.phone = phone;
            return parts;
        }
    }
    parts.unknown = number;
    return parts;
}

bool MobileNumber::isGroupSeparator(QChar c)
{
    return c == QLatin1Char('-') || c == QLatin1Char(' ') || c == QLatin1Char('.') || c == QLatin1Char('/')
        || c == QLatin1Char('(') || c == QLatin1Char(')');
}

QString MobileNumber::digitsOf(const QString& number)
{
    QString digits;
    for (const QChar c : number) {
        if (!isGroupSeparator(c))
            digits += c;
    }
    return digits;
}

QString MobileNumber::joined(const QString& area, const QString& phone)
{
    return area.isEmpty() ? phone : area + QLatin1Char('-') + phone;
}

} // namespace Contacts
