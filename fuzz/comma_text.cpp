// The comma text of AREAS and of a provider's AreaCodes, as it arrives: windows-1255 bytes of the service.

#include "FuzzSupport.h"

#include "service/Cp1255.h"
#include "service/TProvider.h"

namespace {
// Every item in quotes, a quote in it doubled: the one spelling that holds any item.
QString quotedList(const QStringList& items)
{
    QStringList quoted;
    for (QString item : items)
        quoted.append(QLatin1Char('"') + item.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"'));
    return quoted.join(QLatin1Char(','));
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = Cp1255::toUnicode(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList items = parseCommaText(text);
    for (const QString& item : items)
        FUZZ_CHECK(!item.contains(QChar(0)));
    FUZZ_CHECK(parseCommaText(quotedList(items)) == items);

    // The look-ups that read it; a few items are enough, and keep each run short.
    TProviders providers(1);
    providers[0].AreaCodes = text;
    for (const QString& item : items.mid(0, 4)) {
        (void)FindProviderByArea(providers, item);
        (void)areaValueFor(items, areaCodeOf(item));
    }
    return 0;
}
