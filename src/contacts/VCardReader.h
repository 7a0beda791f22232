#pragma once

#include "contacts/VCard.h"

#include <QByteArray>
#include <QList>

namespace Contacts {

// Reads the cards of one file: vCard 2.1, 3.0 and 4.0, any number of cards, CR LF or LF line ends, a UTF-8
// byte-order mark, folded lines, quoted-printable values with their soft line breaks. Positions are offsets
// into the bytes given, byte-order mark included.
//
// A card that cannot be read (a line that is no property, no END:VCARD before the next card or the end of
// the file) is left out and counted, and reading goes on with the next card; text outside any card counts
// as one unreadable card, and so does a file that holds no card at all. Nothing here throws.
class VCardReader
{
public:
    struct Result
    {
        QList<VCard> cards;
        int unreadable = 0;
    };

    static Result read(const QByteArray& bytes);
};

} // namespace Contacts
