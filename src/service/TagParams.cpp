#include "TagParams.h"

#include "Cp1255.h"
#include "common/TextRules.h"

#include <QStringDecoder>

#include <array>
#include <cstring>

namespace {
enum CharClass : unsigned char
{
    Separator = 1, // space, CR, LF: end an item outside quotes
    Quote = 2,
    Decoded = 4, // "+", "%" and the apostrophe: not copied as they stand
};

constexpr std::array<unsigned char, 256> makeClasses()
{
    std::array<unsigned char, 256> classes {};
    classes[' '] = classes['\r'] = classes['\n'] = Separator;
    classes['"'] = Quote;
    classes['+'] = classes['%'] = classes['\''] = Decoded;
    return classes;
}
constexpr std::array<unsigned char, 256> kClasses = makeClasses();

unsigned char classOf(char c)
{
    return kClasses[static_cast<unsigned char>(c)];
}


char16_t asciiLower(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<char16_t>(u - 'A' + 'a') : u;
}

char16_t asciiLower(QLatin1Char c)
{
    return asciiLower(c.toLatin1());
}

char16_t asciiLower(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') ? static_cast<char16_t>(u - 'A' + 'a') : u;
}
} // namespace

// Items are cut and decoded in one pass. Cutting looks only at spaces, line breaks and quotes, none of which
// can be part of a "%XX" escape, so decoding as we go gives what cutting first and decoding after would.
bool TagParams::parse(const char* begin, const char* end)
{
    m_items.clear();
    // Decoding never lengthens an item, so the whole text fits.
    m_bytes.resize(static_cast<size_t>(end - begin));
    m_used = 0;
    char* const base = m_bytes.data();

    const char* p = begin;
    for (;;) {
        while (p < end && (classOf(*p) & Separator))
            ++p;
        if (p >= end)
            break;

        const char* const head = p;
        char* const start = base + m_used;
        char* out = start;
        bool inQuote = false;
        bool leadQuote = false;
        while (p < end) {
            // Inside quotes only the closing quote ends the stretch; spaces and line breaks are text.
            const unsigned char stops = inQuote ? (Quote | Decoded) : (Separator | Quote | Decoded);
            while (p < end && !(classOf(*p) & stops))
                *out++ = *p++;
            if (p >= end)
                break;
            const char c = *p;
            if (c == '"') {
                ++p;
                if (!inQuote) {
                    leadQuote = p - 1 == head;
                    inQuote = true;
                    continue;
                }
                // One quoted stretch per item. After one that began later in the item, the character
                // following the closing quote is dropped.
                if (!leadQuote && p < end)
                    ++p;
                break;
            }
            if (classOf(c) & Separator) {
                ++p;
                break;
            }
            if (c == '+') {
                *out++ = ' ';
                ++p;
            } else if (c == '\'') {
                ++p;
            } else if (p + 1 < end && p[1] == '%') {
                *out++ = '%';
                p += 2;
            } else {
                const int high = p + 1 < end ? TextRules::hexDigitValue(p[1]) : -1;
                const int low = p + 2 < end ? TextRules::hexDigitValue(p[2]) : -1;
                if (high < 0 || low < 0) {
                    m_items.clear();
                    m_used = 0;
                    return false;
                }
                const char decoded = static_cast<char>(high * 16 + low);
                // Decoded quotes and apostrophes go too.
                if (decoded != '"' && decoded != '\'')
                    *out++ = decoded;
                p += 3;
            }
        }
        if (out == start)
            continue;
        const auto* equals = static_cast<const char*>(std::memchr(start, '=', static_cast<size_t>(out - start)));
        const size_t first = m_used;
        m_used += static_cast<size_t>(out - start);
        m_items.push_back(Item { first, equals ? static_cast<size_t>(equals - base) : std::string::npos, m_used });
    }
    return true;
}

template<typename Name> const TagParams::Item* TagParams::find(const Name& name) const
{
    const size_t length = static_cast<size_t>(name.size());
    for (const Item& item : m_items) {
        if (item.equals == std::string::npos || item.equals - item.begin != length)
            continue;
        const char* candidate = m_bytes.data() + item.begin;
        size_t i = 0;
        while (i < length && asciiLower(candidate[i]) == asciiLower(name[static_cast<qsizetype>(i)]))
            ++i;
        if (i == length)
            return &item;
    }
    return nullptr;
}

QString TagParams::decode(size_t from, size_t to) const
{
    const char* const bytes = m_bytes.data() + from;
    const auto size = static_cast<qsizetype>(to - from);
    return m_encoding == Encoding::Utf8 ? QString::fromUtf8(bytes, size) : Cp1255::toUnicode(bytes, size);
}

QString TagParams::valueOf(const Item* item) const
{
    if (!item)
        return QString();
    return decode(item->equals + 1, item->end);
}

QString TagParams::value(QLatin1String name) const
{
    return valueOf(find(name));
}

QString TagParams::value(QStringView name) const
{
    return valueOf(find(name));
}

bool TagParams::contains(QLatin1String name) const
{
    return find(name) != nullptr;
}

QStringList TagParams::items() const
{
    QStringList list;
    for (const Item& item : m_items)
        list.append(decode(item.begin, item.end));
    return list;
}

bool TagParams::isValidUtf8() const
{
    // Item by item: a sequence cut at the end of one item must not be completed by the start of the next.
    for (const Item& item : m_items) {
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        // The decoder works when its result becomes a string, not before.
        const QString text = decoder.decode(
            QByteArrayView(m_bytes.data() + item.begin, static_cast<qsizetype>(item.end - item.begin)));
        if (decoder.hasError())
            return false;
    }
    return true;
}
