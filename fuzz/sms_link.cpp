// sms: and smsto: links that web pages, mail programs and phones hand to the program, and the mobile
// numbers in them as people and other programs write them ("+972 (0)52-123-4567", "tel:052...").

#include "FuzzSupport.h"

#include "contacts/MobileNumber.h"
#include "contacts/SmsLink.h"

#include <QRegularExpression>
#include <QUrl>

using Contacts::MobileNumber;

namespace {
const QString Country = QStringLiteral("972");

bool isLocalForm(const MobileNumber& n)
{
    static const QRegularExpression form(QStringLiteral("^0[0-9]{1,2}$"));
    static const QRegularExpression seven(QStringLiteral("^[0-9]{7}$"));
    return form.match(n.area).hasMatch() && seven.match(n.phone).hasMatch() && n.unknown.isEmpty();
}

bool same(const std::optional<MobileNumber>& a, const MobileNumber& b)
{
    return a && a->area == b.area && a->phone == b.phone;
}

// What a number in the local form gives when it is written again, locally and internationally.
void checkLocal(const MobileNumber& n)
{
    FUZZ_CHECK(isLocalForm(n));
    FUZZ_CHECK(same(MobileNumber::local(MobileNumber::joined(n.area, n.phone), Country), n));
    // Without a separator the digits say where the area code ends: three digits for 05X and 07X, else two.
    const bool longArea = n.area[1] == QLatin1Char('5') || n.area[1] == QLatin1Char('7');
    if ((n.area.size() == 3) == longArea)
        FUZZ_CHECK(same(MobileNumber::local(n.area + n.phone, QString()), n));
    // "+972-0..." keeps its 0 as written, so only an area code without a second 0 goes abroad and back.
    if (n.area[1] != QLatin1Char('0')) {
        const QString abroad = n.area.mid(1) + QLatin1Char('-') + n.phone;
        FUZZ_CHECK(same(MobileNumber::local(QStringLiteral("+972 ") + abroad, Country), n));
        FUZZ_CHECK(same(MobileNumber::local(QStringLiteral("tel:00972-") + abroad, Country), n));
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // The input as a number.
    const QString digits = MobileNumber::digitsOf(text);
    FUZZ_CHECK(MobileNumber::digitsOf(digits) == digits);
    for (const QChar c : digits)
        FUZZ_CHECK(!MobileNumber::isGroupSeparator(c));
    const MobileNumber parts = MobileNumber::split(text, 7);
    if (parts.unknown.isEmpty()) {
        FUZZ_CHECK(text.startsWith(parts.area) && parts.area.size() <= 3);
        FUZZ_CHECK(parts.phone.size() <= 7 && MobileNumber::digitsOf(parts.phone) == parts.phone);
        // An area code and a number written as one text split again into the same two.
        if (!parts.area.isEmpty()) {
            const MobileNumber again = MobileNumber::split(MobileNumber::joined(parts.area, parts.phone), 7);
            FUZZ_CHECK(again.area == parts.area && again.phone == parts.phone && again.unknown.isEmpty());
        }
    } else {
        FUZZ_CHECK(parts.unknown == text && parts.area.isEmpty() && parts.phone.isEmpty());
    }
    for (const QString& country : { Country, QString() }) {
        if (const std::optional<MobileNumber> local = MobileNumber::local(text, country))
            checkLocal(*local);
    }

    // The input as a link.
    const Contacts::SmsLink link = Contacts::SmsLink::parse(text, Country);
    if (!Contacts::SmsLink::isLink(text)) {
        FUZZ_CHECK(link.recipients.isEmpty() && link.unreadable.isEmpty() && !link.hasBody && link.body.isEmpty());
        return 0;
    }
    FUZZ_CHECK(link.hasBody || link.body.isEmpty());
    FUZZ_CHECK(link.recipients.size() + link.unreadable.size() <= text.count(QLatin1Char(',')) + 1);
    QStringList numbers;
    for (const MobileNumber& n : link.recipients) {
        checkLocal(n);
        numbers << MobileNumber::joined(n.area, n.phone);
    }
    for (const QString& u : link.unreadable)
        FUZZ_CHECK(!u.isEmpty() && u == u.trimmed() && !MobileNumber::local(u, Country));

    // The link written again from what was read asks for the same.
    const QString written = QStringLiteral("sms:") + numbers.join(QLatin1Char(','))
        + (link.hasBody ? QStringLiteral("?body=") + QString::fromLatin1(QUrl::toPercentEncoding(link.body)) : QString());
    const Contacts::SmsLink again = Contacts::SmsLink::parse(written, Country);
    FUZZ_CHECK(again.unreadable.isEmpty() && again.recipients.size() == link.recipients.size());
    for (qsizetype i = 0; i < again.recipients.size(); ++i)
        FUZZ_CHECK(again.recipients[i].area == link.recipients[i].area
            && again.recipients[i].phone == link.recipients[i].phone);
    FUZZ_CHECK(again.hasBody == link.hasBody && again.body == link.body);
    return 0;
}
