#include "VCardText.h"

#include "common/TextRules.h"

#include <QStringDecoder>

#include <map>

namespace Contacts::VCardText {

namespace {

    bool isUtf8Name(const QByteArray& charset)
    {
        return charset.compare("UTF-8", Qt::CaseInsensitive) == 0 || charset.compare("UTF8", Qt::CaseInsensitive) == 0;
    }
    // Opening a converter by name is far dearer than decoding a name; an address book uses one or two.
    QStringDecoder& decoderFor(const QByteArray& charset)
    {
        thread_local std::map<QByteArray, QStringDecoder> decoders;
        const QByteArray key = charset.toLower();
        auto found = decoders.find(key);
        if (found == decoders.end())
            found = decoders.emplace(key, QStringDecoder(key.constData(), QStringDecoder::Flag::Stateless)).first;
        return found->second;
    }
} // namespace

bool isAscii(const QByteArray& bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

QByteArray fromQuotedPrintable(const QByteArray& encoded)
{
    QByteArray bytes;
    bytes.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '=' && i + 2 < encoded.size() && TextRules::hexDigitValue(encoded[i + 1]) >= 0
            && TextRules::hexDigitValue(encoded[i + 2]) >= 0) {
            bytes += char(TextRules::hexDigitValue(encoded[i + 1]) * 16 + TextRules::hexDigitValue(encoded[i + 2]));
            i += 2;
        } else {
            bytes += encoded[i];
        }
    }
    return bytes;
}

QByteArray toQuotedPrintable(const QByteArray& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    QByteArray encoded;
    encoded.reserve(bytes.size() * 3);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const bool trailingBlank = (byte == ' ' || byte == '\t') && i == bytes.size() - 1;
        if (byte < 0x20 || byte >= 0x7F || byte == '=' || trailingBlank) {
            encoded += '=';
            encoded += digits[byte >> 4];
            encoded += digits[byte & 0x0F];
        } else {
            encoded += char(byte);
        }
    }
    return encoded;
}

QString decode(const QByteArray& bytes, const QByteArray& charset)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    if (charset.isEmpty() || isUtf8Name(charset)) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError() || !charset.isEmpty())
            return text;
        QStringDecoder& hebrew = decoderFor("windows-1255");
        return hebrew.isValid() ? hebrew.decode(bytes) : text;
    }
    QStringDecoder& named = decoderFor(charset);
    if (!named.isValid())
        return QString::fromUtf8(bytes);
    return named.decode(bytes);
}

QString unescape(const QString& text)
{
    if (!text.contains(QLatin1Char('\\')))
        return text;
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            result += c;
            continue;
        }
        const QChar next = text[i + 1];
        if (next == QLatin1Char('n') || next == QLatin1Char('N'))
            result += QLatin1Char('\n');
        else if (next == QLatin1Char('\\') || next == QLatin1Char(',') || next == QLatin1Char(';'))
            result += next;
        else {
            result += c;
            continue;
        }
        ++i;
    }
    return result;
}

QString escape(const QString& text)
{
    QString result;
    result.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\') || c == QLatin1Char(',') || c == QLatin1Char(';')) {
            result += QLatin1Char('\\');
            result += c;
        } else if (c == QLatin1Char('\r')) {
            result += QLatin1String("\\n");
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            result += QLatin1String("\\n");
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace Contacts::VCardText
