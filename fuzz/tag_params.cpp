// The parameter text of one service tag: cut into items, "%XX", "+" and quotes undone, looked up by name.

#include "FuzzSupport.h"

#include "service/TagParams.h"

namespace {
bool isAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* begin = reinterpret_cast<const char*>(data);
    TagParams params;
    if (!params.parse(begin, begin + size)) {
        // Only a malformed escape fails, and then nothing is left behind.
        FUZZ_CHECK(std::memchr(begin, '%', size) != nullptr);
        FUZZ_CHECK(params.count() == 0);
        FUZZ_CHECK(params.items().isEmpty());
        return 0;
    }

    const QStringList items = params.items();
    FUZZ_CHECK(items.size() == params.count());

    // Local definition files decode the same items as UTF-8: the cutting does not depend on the encoding,
    // and bytes that are not UTF-8 show as replacement characters.
    TagParams utf8(TagParams::Encoding::Utf8);
    FUZZ_CHECK(utf8.parse(begin, begin + size));
    const QStringList utf8Items = utf8.items();
    FUZZ_CHECK(utf8Items.size() == items.size());
    if (!utf8.isValidUtf8()) {
        bool replaced = false;
        for (const QString& item : utf8Items)
            replaced = replaced || item.contains(QChar::ReplacementCharacter);
        FUZZ_CHECK(replaced);
    }
    for (const QString& item : items) {
        FUZZ_CHECK(!item.isEmpty());
        // Quotes delimit and apostrophes are dropped, written or escaped.
        FUZZ_CHECK(!item.contains(QLatin1Char('"')));
        FUZZ_CHECK(!item.contains(QLatin1Char('\'')));
    }

    // A name finds the first item of that name, whatever the letter case. The first few names show it and
    // keep each run short.
    for (const QString& item : items.mid(0, 8)) {
        const qsizetype equals = item.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString name = item.left(equals);
        if (!isAscii(name))
            continue;
        QString expected;
        for (const QString& other : items) {
            const qsizetype otherEquals = other.indexOf(QLatin1Char('='));
            if (otherEquals >= 0 && other.left(otherEquals).compare(name, Qt::CaseInsensitive) == 0) {
                expected = other.mid(otherEquals + 1);
                break;
            }
        }
        const QByteArray latin1 = name.toLatin1();
        FUZZ_CHECK(params.contains(QLatin1String(latin1)));
        FUZZ_CHECK(utf8.contains(QLatin1String(latin1)));
        FUZZ_CHECK(params.value(QLatin1String(latin1)) == expected);
        const QString upper = name.toUpper();
        FUZZ_CHECK(params.value(QStringView(upper)) == expected);
    }
    return 0;
}
