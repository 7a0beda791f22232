#pragma once

#include <QByteArray>
#include <QString>

// The service speaks windows-1255, the Hebrew single-byte code page: documents, query values and
// providers.dat. Conversions go through ICU behind QStringDecoder, never through a table of our own. Bytes
// the code page leaves undefined decode to U+FFFD; characters it cannot hold encode to the substitute byte
// 0x1A.
namespace Cp1255 {
QString toUnicode(const char* bytes, qsizetype size);
inline QString toUnicode(const QByteArray& bytes)
{
    return toUnicode(bytes.constData(), bytes.size());
}
QByteArray fromUnicode(const QString& text);
} // namespace Cp1255
