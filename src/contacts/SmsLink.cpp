#include "SmsLink.h"

#include <QUrl>

namespace Contacts {

namespace {
    QString decoded(const QString& text)
    {
        // A "+" in a link is a plus sign (RFC 3986), not a blank as in a form's fields.
        return QUrl::fromPercentEncoding(text.toUtf8());
    }

    // The scheme's length with its ":", or 0 when `text` starts with neither scheme.
    qsizetype schemeLength(const QString& text, bool* smsto)
    {
        for (const QLatin1String scheme : { QLatin1String("smsto:"), QLatin1String("sms:") }) {
            if (text.startsWith(scheme, Qt::CaseInsensitive)) {
                *smsto = scheme.size() == 6;
                return scheme.size();
            }
        }
        return 0;
    }
} // namespace

bool SmsLink::isLink(const QString& text)
{
    bool smsto = false;
    return schemeLength(text.trimmed(), &smsto) > 0;
}

SmsLink SmsLink::parse(const QString& text, const QString& countryCode)
{
    SmsLink link;
    const QString trimmed = text.trimmed();
    bool smsto = false;
    const qsizetype scheme = schemeLength(trimmed, &smsto);
    if (scheme == 0)
        return link;
    QString rest = trimmed.mid(scheme);
    if (rest.startsWith(QLatin1String("//")))
        rest.remove(0, 2);

    QString numbers = rest;
    if (smsto) {
        // smsto:NUMBER:TEXT, the text after the first ":" (a "?body=" as well, as some write it).
        const qsizetype colon = rest.indexOf(QLatin1Char(':'));
        if (colon >= 0) {
            numbers = rest.left(colon);
            link.body = decoded(rest.mid(colon + 1));
            link.hasBody = true;
        }
    }
    const qsizetype query = numbers.indexOf(QLatin1Char('?'));
    if (query >= 0) {
        const QString fields = numbers.mid(query + 1);
        numbers = numbers.left(query);
        for (const QString& field : fields.split(QLatin1Char('&'))) {
            if (field.startsWith(QLatin1String("body="), Qt::CaseInsensitive)) {
                link.body = decoded(field.mid(5));
                link.hasBody = true;
            }
        }
    }
    for (const QString& written : numbers.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        // A number's own parameters (";via=...") are of no use here.
        const QString number = decoded(written.section(QLatin1Char(';'), 0, 0)).trimmed();
        if (number.isEmpty())
            continue;
        if (const std::optional<MobileNumber> local = MobileNumber::local(number, countryCode))
            link.recipients << *local;
        else
            link.unreadable << number;
    }
    return link;
}

} // namespace Contacts
