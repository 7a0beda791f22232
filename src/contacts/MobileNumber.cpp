#include "MobileNumber.h"

namespace Contacts {

MobileNumber MobileNumber::split(const QString& number)
{
    qsizetype separator = number.indexOf(QLatin1Char('-'));
    if (separator < 0)
        separator = number.indexOf(QLatin1Char(' '));
    MobileNumber parts;
    // `separator` counts from 0: positions 1 to 4 are 0 to 3 here.
    if (separator >= 0 && separator <= 3) {
        parts.area = number.left(separator);
        parts.phone = number.mid(separator + 1, 7);
    } else {
        parts.unknown = number;
    }
    return parts;
}

QString MobileNumber::joined(const QString& area, const QString& phone)
{
    return area.isEmpty() ? phone : area + QLatin1Char('-') + phone;
}

} // namespace Contacts
