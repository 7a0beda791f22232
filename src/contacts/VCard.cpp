#include "VCard.h"
#include "common/TextRules.h"

#include "contacts/VCardText.h"

#include <cstring>

namespace Contacts {

namespace {
    QByteArrayView trimmed(QByteArrayView text)
    {
        while (!text.isEmpty() && TextRules::isSpaceOrTab(text.front()))
            text = text.sliced(1);
        while (!text.isEmpty() && TextRules::isSpaceOrTab(text.back()))
            text.chop(1);
        return text;
    }

    bool sameWord(QByteArrayView text, const char* word)
    {
        const qsizetype length = qsizetype(std::strlen(word));
        return text.size() == length && qstrnicmp(text.data(), length, word, length) == 0;
    }

    // Calls visit(name, value) for each value of each parameter, without copying: the name is empty for a 2.1
    // bare value, quotation marks are dropped and lists are split at commas (a 4.0 list may be quoted whole:
    // TYPE="cell,voice"). A ';' or ':' inside quotation marks belongs to the value. Stops when visit returns
    // true, and returns whether it did.
    template<typename Visit> bool visitParameters(QByteArrayView text, Visit visit)
    {
        qsizetype start = 0;
        bool quoted = false;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            if (i < text.size() && text[i] == '"')
                quoted = !quoted;
            if (i < text.size() && (text[i] != ';' || quoted))
                continue;
            const QByteArrayView parameter = text.sliced(start, i - start);
            start = i + 1;
            if (parameter.isEmpty())
                continue;
            const qsizetype equals = parameter.indexOf('=');
            const QByteArrayView name = equals < 0 ? QByteArrayView() : trimmed(parameter.first(equals));
            const QByteArrayView values = equals < 0 ? parameter : parameter.sliced(equals + 1);
            qsizetype valueStart = 0;
            for (qsizetype j = 0; j <= values.size(); ++j) {
                if (j < values.size() && values[j] != ',')
                    continue;
                QByteArrayView value = trimmed(values.sliced(valueStart, j - valueStart));
                valueStart = j + 1;
                if (value.startsWith('"'))
                    value = value.sliced(1);
                if (value.endsWith('"'))
                    value.chop(1);
                if (visit(name, trimmed(value)))
                    return true;
            }
        }
        return false;
    }
} // namespace

VCardProperty::Encoding VCardProperty::encodingOf(const QByteArray& parameterText)
{
    Encoding encoding = Encoding::Plain;
    visitParameters(parameterText, [&encoding](QByteArrayView name, QByteArrayView value) {
        if (!name.isEmpty() && !sameWord(name, "ENCODING"))
            return false;
        if (sameWord(value, "QUOTED-PRINTABLE"))
            encoding = Encoding::QuotedPrintable;
        else if (sameWord(value, "BASE64") || (!name.isEmpty() && sameWord(value, "B")))
            encoding = Encoding::Base64;
        return encoding != Encoding::Plain;
    });
    return encoding;
}

QList<VCardParameter> VCardProperty::parameters() const
{
    QList<VCardParameter> result;
    qsizetype start = 0;
    bool quoted = false;
    for (qsizetype i = 0; i <= parameterText.size(); ++i) {
        if (i < parameterText.size() && parameterText[i] == '"')
            quoted = !quoted;
        if (i < parameterText.size() && (parameterText[i] != ';' || quoted))
            continue;
        VCardParameter parameter;
        parameter.text = parameterText.mid(start, i - start);
        start = i + 1;
        if (parameter.text.isEmpty())
            continue;
        visitParameters(parameter.text, [&parameter](QByteArrayView name, QByteArrayView value) {
            parameter.name = name.toByteArray();
            parameter.values << value.toByteArray();
            return false;
        });
        result << parameter;
    }
    return result;
}

QByteArray VCardProperty::parameterValue(const char* parameterName) const
{
    QByteArray found;
    visitParameters(parameterText, [&found, parameterName](QByteArrayView name, QByteArrayView value) {
        if (!sameWord(name, parameterName))
            return false;
        found = value.toByteArray();
        return true;
    });
    return found;
}

bool VCardProperty::hasType(const char* type) const
{
    return visitParameters(parameterText, [type](QByteArrayView name, QByteArrayView value) {
        return (name.isEmpty() || sameWord(name, "TYPE")) && sameWord(value, type);
    });
}

int VCard::indexOf(const char* propertyName) const
{
    for (int i = 0; i < properties.size(); ++i) {
        if (properties[i].isNamed(propertyName))
            return i;
    }
    return -1;
}

int VCard::mobileIndex() const
{
    for (int i = 0; i < properties.size(); ++i) {
        if (properties[i].isNamed("TEL") && properties[i].hasType("CELL"))
            return i;
    }
    return -1;
}

void VCard::summarize()
{
    const int name = indexOf("FN");
    m_fullName = name < 0 ? QString() : text(properties[name]);
    const int mobile = mobileIndex();
    m_mobileNumber = mobile < 0 ? QString() : text(properties[mobile]);
    if (m_mobileNumber.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        m_mobileNumber.remove(0, 4);
}

QString VCard::uid() const
{
    const int index = indexOf("UID");
    return index < 0 ? QString() : text(properties[index]);
}

QByteArray VCard::value(const VCardProperty& property) const
{
    const QByteArrayView lines = QByteArrayView(source).sliced(property.valueBegin, property.end - property.valueBegin);
    QByteArray value;
    bool first = true;
    bool softBreak = false;
    qsizetype start = 0;
    while (start < lines.size()) {
        qsizetype next = lines.indexOf('\n', start);
        next = next < 0 ? lines.size() : next + 1;
        QByteArrayView line = lines.sliced(start, next - start);
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        start = next;
        // The reader ended the property where neither rule below goes on.
        if (first) {
            value += line;
        } else if (softBreak) {
            value.chop(1);
            value += line;
        } else {
            value += line.sliced(qMin<qsizetype>(1, line.size()));
        }
        first = false;
        softBreak = property.encoding == VCardProperty::Encoding::QuotedPrintable && line.endsWith('=');
    }
    return value;
}

QString VCard::text(const VCardProperty& property) const
{
    QByteArray bytes = value(property);
    switch (property.encoding) {
    case VCardProperty::Encoding::QuotedPrintable:
        bytes = VCardText::fromQuotedPrintable(bytes);
        break;
    case VCardProperty::Encoding::Base64:
        bytes = QByteArray::fromBase64(bytes);
        break;
    case VCardProperty::Encoding::Plain:
        break;
    }
    if (property.parameterText.isEmpty())
        return VCardText::unescape(VCardText::decode(bytes, QByteArray()));
    const QString decoded = VCardText::decode(bytes, property.parameterValue("CHARSET"));
    const bool uri = property.parameterValue("VALUE").compare("uri", Qt::CaseInsensitive) == 0;
    return uri ? decoded : VCardText::unescape(decoded);
}

} // namespace Contacts
