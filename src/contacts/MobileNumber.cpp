#include "MobileNumber.h"

#include "phonebook/PhoneBookTable.h"

namespace Contacts {

namespace {
    bool isDigits(const QString& text)
    {
        for (const QChar c : text) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
        return !text.isEmpty();
    }

    // What the phone book keeps: an area code of 0 and one or two digits, and a number of seven digits.
    bool isDomestic(const MobileNumber& areaAndPhone)
    {
        return areaAndPhone.area.size() >= 2 && areaAndPhone.area.size() <= PhoneBookTable::AreaWidth
            && areaAndPhone.area.startsWith(QLatin1Char('0')) && isDigits(areaAndPhone.area)
            && areaAndPhone.phone.size() == PhoneBookTable::PhoneWidth && isDigits(areaAndPhone.phone);
    }

    // The country's calling code in front of a number ("+972 52-1234567", "00972-52...", "972521234567", with or
    // without a "(0)" after it) becomes the domestic 0: "052-1234567".
    QString withoutCountryCode(const QString& number, const QString& countryCode)
    {
        for (const QString& prefix :
            { QLatin1Char('+') + countryCode, QStringLiteral("00") + countryCode, countryCode }) {
            if (!number.startsWith(prefix))
                continue;
            QString rest = number.mid(prefix.size());
            rest.remove(QLatin1String("(0)"));
            qsizetype start = 0;
            while (start < rest.size() && MobileNumber::isGroupSeparator(rest[start]))
                ++start;
            rest.remove(0, start);
            return rest.startsWith(QLatin1Char('0')) ? rest : QLatin1Char('0') + rest;
        }
        return number;
    }
} // namespace

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

std::optional<MobileNumber> MobileNumber::local(const QString& written, const QString& countryCode)
{
    QString number = written.trimmed();
    if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        number.remove(0, 4);
    if (!countryCode.isEmpty())
        number = withoutCountryCode(number, countryCode);
    const MobileNumber areaAndPhone = MobileNumber::split(number, PhoneBookTable::PhoneWidth);
    if (isDomestic(areaAndPhone))
        return areaAndPhone;
    const QString digits = MobileNumber::digitsOf(number);
    const bool longArea = digits.startsWith(QLatin1String("05")) || digits.startsWith(QLatin1String("07"));
    MobileNumber byDigits;
    byDigits.area = digits.left(longArea ? 3 : 2);
    byDigits.phone = digits.mid(byDigits.area.size());
    if (isDomestic(byDigits))
        return byDigits;
    return std::nullopt;
}

} // namespace Contacts
