#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace Contacts {

enum class VCardVersion
{
    V21, // quoted-printable and CHARSET parameters, bare type parameters ("TEL;CELL:")
    V30,
    V40,
};

// One parameter of a content line: "TYPE=CELL,VOICE", "type=\"cell,voice\"" or a vCard 2.1 bare "CELL".
struct VCardParameter
{
    QByteArray text; // as written (unfolded), without the leading ';'
    QByteArray name; // empty for a bare value
    QList<QByteArray> values; // unquoted, split at commas
};

// One property of a card and where its lines lie in the file, so that a change can replace exactly them.
// Only the name and the parameters are taken apart when the card is read; the value is unfolded and
// decoded when it is asked for (VCard::value and VCard::text), since most properties are never read.
struct VCardProperty
{
    enum class Encoding
    {
        Plain,
        QuotedPrintable, // ENCODING=QUOTED-PRINTABLE, or 2.1's bare QUOTED-PRINTABLE
        Base64, // ENCODING=b, ENCODING=BASE64, or 2.1's bare BASE64
    };

    qsizetype begin = 0; // the first byte of its first line
    qsizetype end = 0; // just after the line end of its last line
    qsizetype valueBegin = 0; // just after the ':' that ends the name and parameters
    QByteArray group; // "item1" of "item1.TEL"; usually empty
    QByteArray name;
    QByteArray parameterText; // from the first ';' after the name up to the value's ':', unfolded; may be empty
    Encoding encoding = Encoding::Plain;

    static Encoding encodingOf(const QByteArray& parameterText);

    bool isNamed(const char* propertyName) const { return name.compare(propertyName, Qt::CaseInsensitive) == 0; }
    QList<VCardParameter> parameters() const;
    // The first value of the first parameter of that name; "" when there is none.
    QByteArray parameterValue(const char* parameterName) const;
    // TYPE=... in any spelling, or a 2.1 bare type; letter case does not matter.
    bool hasType(const char* type) const;
};

// A card as read from a file: its properties with their positions, so that writing it back can keep every
// byte it does not change. Apart from the full name and the mobile number, values are decoded only when
// asked for.
class VCard
{
public:
    qsizetype begin = 0; // the BEGIN:VCARD line
    qsizetype end = 0; // just after the END:VCARD line's line end
    qsizetype endLine = 0; // where the END:VCARD line starts: new properties go before it
    QByteArray source; // the whole file, which the offsets count into (shared, not copied)
    QByteArray lineEnd = "\r\n"; // as the card's own lines end
    VCardVersion version = VCardVersion::V30;
    QList<VCardProperty> properties; // between BEGIN and END, in file order

    // The first property of that name; -1 when there is none.
    int indexOf(const char* propertyName) const;
    // The first TEL whose type includes CELL; -1 when there is none.
    int mobileIndex() const;

    // FN; "" when missing. Decoded once, when the card is read.
    QString fullName() const { return m_fullName; }
    // The value of the first TEL of type CELL, without a "tel:" scheme; "" when missing. Decoded once, when
    // the card is read.
    QString mobileNumber() const { return m_mobileNumber; }
    QString uid() const;

    // The property's value as written, its folded lines joined (quoted-printable soft line breaks too).
    QByteArray value(const VCardProperty& property) const;
    // The property's value as text: quoted-printable or base64 undone, the CHARSET applied (UTF-8 when
    // there is none, windows-1255 for bytes that are not UTF-8), escapes undone unless it is a URI.
    QString text(const VCardProperty& property) const;

private:
    friend class VCardReader;
    // Decodes what every reader of the card wants.
    void summarize();

    QString m_fullName;
    QString m_mobileNumber;
};

} // namespace Contacts
