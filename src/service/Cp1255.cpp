#include "Cp1255.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
const char* const kCodecName = "windows-1255";

bool isAscii(const char* bytes, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return false;
    }
    return true;
}

// Qt without ICU knows no Hebrew code page and would turn every Hebrew text into nothing; better to stop
// at once than to lose the providers' texts quietly.
template<typename Converter> Converter& checked(Converter& converter)
{
    if (!converter.isValid())
        qFatal("The windows-1255 codec is missing: this Qt was built without ICU");
    return converter;
}
} // namespace

QString Cp1255::toUnicode(const char* bytes, qsizetype size)
{
    // Most of a document is ASCII, where the code page and Latin-1 agree; that path needs no codec.
    if (isAscii(bytes, size))
        return QString::fromLatin1(bytes, size);
    thread_local QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    return checked(decoder).decode(QByteArrayView(bytes, size));
}

QByteArray Cp1255::fromUnicode(const QString& text)
{
    thread_local QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    return checked(encoder).encode(text);
}
