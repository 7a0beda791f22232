#pragma once

#include "contacts/MobileNumber.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Contacts {

// What an sms: or smsto: link asks for: its recipients in the local form the providers serve, its text,
// and what of it could not be read.
struct SmsLink
{
    QList<MobileNumber> recipients; // in the link's order
    QString body; // the message; empty when the link has none
    bool hasBody = false;
    QStringList unreadable; // each recipient the link names that is not a number of the providers' country

    // "sms:NUMBER[,NUMBER...][?body=TEXT]" (RFC 5724; "&body=", "sms://" and parameters after ";" on a number
    // as phones write them are taken too) or "smsto:NUMBER[,NUMBER...][:TEXT]"; the scheme in any letter case,
    // the rest percent-encoded. International numbers of the country `countryCode` become local ones
    // ("+972-52-1234567" gives 052 and 1234567). `isLink` tells whether `text` is such a link at all.
    static SmsLink parse(const QString& text, const QString& countryCode);
    static bool isLink(const QString& text);
};

} // namespace Contacts
