#include "VCardWriter.h"

#include "contacts/VCardText.h"

namespace Contacts {

namespace {
    constexpr int MaxLineBytes = 75;

    // The parameters the writer sets itself, so an old line's are left out: ENCODING and CHARSET, 2.1's bare
    // encodings, and any parameter the reader would take for the value's encoding, also one bare value of
    // a list ("CELL,BASE64"), which the old line's value may have had but the written one does not.
    bool namesEncoding(const QByteArray& parameter)
    {
        if (VCardProperty::encodingOf(parameter) != VCardProperty::Encoding::Plain)
            return true;
        const qsizetype equals = parameter.indexOf('=');
        const QByteArray name = (equals < 0 ? parameter : parameter.left(equals)).trimmed();
        if (equals >= 0)
            return name.compare("ENCODING", Qt::CaseInsensitive) == 0
                || name.compare("CHARSET", Qt::CaseInsensitive) == 0;
        for (const char* bare : { "QUOTED-PRINTABLE", "BASE64", "8BIT", "7BIT" }) {
            if (name.compare(bare, Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    }

    // 3.0 and 4.0: at most 75 bytes a line, never splitting a UTF-8 sequence.
    QByteArray folded(const QByteArray& line, const QByteArray& lineEnd)
    {
        if (line.size() <= MaxLineBytes)
            return line + lineEnd;
        QByteArray result;
        result.reserve(line.size() + line.size() / 20 * 3 + lineEnd.size());
        qsizetype length = 0;
        for (qsizetype i = 0; i < line.size();) {
            const auto lead = static_cast<unsigned char>(line[i]);
            qsizetype sequence = 1;
            if (lead >= 0xF0)
                sequence = 4;
            else if (lead >= 0xE0)
                sequence = 3;
            else if (lead >= 0xC0)
                sequence = 2;
            sequence = qMin(sequence, line.size() - i);
            if (length + sequence > MaxLineBytes) {
                result += lineEnd;
                result += ' ';
                length = 1;
            }
            result += line.mid(i, sequence);
            length += sequence;
            i += sequence;
        }
        return result + lineEnd;
    }

    // 2.1 quoted-printable: a line that would pass 76 characters ends in a soft break "=" instead, never
    // inside an "=XX".
    QByteArray softBroken(const QByteArray& head, const QByteArray& encoded, const QByteArray& lineEnd)
    {
        QByteArray result = head;
        qsizetype length = head.size();
        for (qsizetype i = 0; i < encoded.size();) {
            const qsizetype token = encoded[i] == '=' ? 3 : 1;
            if (length + token > MaxLineBytes) {
                result += '=';
                result += lineEnd;
                length = 0;
            }
            result += encoded.mid(i, token);
            length += token;
            i += token;
        }
        return result + lineEnd;
    }

    QList<QByteArray> parameterTexts(const VCardProperty& property)
    {
        QList<QByteArray> texts;
        for (const VCardParameter& parameter : property.parameters())
            texts << parameter.text;
        return texts;
    }
} // namespace

QByteArray VCardWriter::contentLine(const QByteArray& group, const QByteArray& name,
    const QList<QByteArray>& parameters, const QString& value, Value kind, VCardVersion version,
    const QByteArray& lineEnd)
{
    QByteArray head = group.isEmpty() ? name : group + '.' + name;
    for (const QByteArray& parameter : parameters) {
        if (!namesEncoding(parameter))
            head += ';' + parameter;
    }
    if (version == VCardVersion::V21) {
        const QByteArray bytes = value.toUtf8();
        if (VCardText::isAscii(bytes) && !bytes.contains('\r') && !bytes.contains('\n'))
            return head + ':' + bytes + lineEnd;
        return softBroken(
            head + ";CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:", VCardText::toQuotedPrintable(bytes), lineEnd);
    }
    const QString text = kind == Value::Text ? VCardText::escape(value) : value;
    return folded(head + ':' + text.toUtf8(), lineEnd);
}

QByteArray VCardWriter::changedLine(const VCard& card, const VCardProperty& property, const QString& value)
{
    const bool uri = property.parameterValue("VALUE").compare("uri", Qt::CaseInsensitive) == 0;
    return contentLine(property.group, property.name, parameterTexts(property), value, uri ? Value::Uri : Value::Text,
        card.version, card.lineEnd);
}

QByteArray VCardWriter::newLine(const VCard& card, const char* name, const QString& value)
{
    QList<QByteArray> parameters;
    if (qstrcmp(name, "TEL") == 0) {
        switch (card.version) {
        case VCardVersion::V21:
            parameters << "CELL";
            break;
        case VCardVersion::V30:
            parameters << "TYPE=CELL";
            break;
        case VCardVersion::V40:
            parameters << "TYPE=cell";
            break;
        }
    }
    return contentLine(QByteArray(), name, parameters, value, Value::Text, card.version, card.lineEnd);
}

QByteArray VCardWriter::newCard(const QString& uid, const QString& fullName, const QString& mobile)
{
    const QByteArray crlf = "\r\n";
    const auto line = [&crlf](const char* name, const QList<QByteArray>& parameters, const QString& value) {
        return contentLine(QByteArray(), name, parameters, value, Value::Text, VCardVersion::V30, crlf);
    };
    QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    card += line("UID", {}, uid);
    card += line("FN", {}, fullName);
    // 3.0 requires N; the parts of a name typed as one text are not known.
    card += "N:;;;;\r\n";
    if (!mobile.isEmpty())
        card += line("TEL", { "TYPE=CELL" }, mobile);
    card += "END:VCARD\r\n";
    return card;
}

} // namespace Contacts
