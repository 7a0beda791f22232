#pragma once

#include "contacts/VCard.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace Contacts {

// Writes content lines and new cards. A line is encoded and folded as its card's version wants: 3.0 and 4.0
// escape text values and fold at 75 bytes with a blank starting the next line; 2.1 writes ASCII as it
// stands and anything else as UTF-8 quoted-printable with soft line breaks.
class VCardWriter
{
public:
    enum class Value
    {
        Text, // escaped in 3.0 and 4.0
        Uri, // written as it stands (a 4.0 TEL with VALUE=uri)
    };

    // `parameters` are the parameter texts without their ';', written in order; any that names an
    // encoding or a character set is left out, since the writer sets those itself.
    static QByteArray contentLine(const QByteArray& group, const QByteArray& name, const QList<QByteArray>& parameters,
        const QString& value, Value kind, VCardVersion version, const QByteArray& lineEnd);

    // The property's line with a new value; its group, name and other parameters stay.
    static QByteArray changedLine(const VCard& card, const VCardProperty& property, const QString& value);

    // A line for a property the card does not have yet: FN, or TEL of type CELL in the card's spelling.
    static QByteArray newLine(const VCard& card, const char* name, const QString& value);

    // A vCard 3.0 card with CR LF line ends; no TEL when `mobile` is empty.
    static QByteArray newCard(const QString& uid, const QString& fullName, const QString& mobile);
};

} // namespace Contacts
