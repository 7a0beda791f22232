#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <string>
#include <vector>

// The parameters of one service tag, cut into Name=Value items and URL-decoded, kept as the document's
// bytes until a value is asked for.
class TagParams
{
public:
    // How the decoded bytes become text: the service's documents are windows-1255; local definition files
    // that users write with a text editor are UTF-8.
    enum class Encoding
    {
        Windows1255,
        Utf8
    };

    explicit TagParams(Encoding encoding = Encoding::Windows1255)
        : m_encoding(encoding)
    {
    }

    // Cuts the parameter text [begin, end) into items and decodes them. Returns false when a "%" is followed
    // neither by "%" nor by two hexadecimal digits; the list is then empty.
    bool parse(const char* begin, const char* end);

    // The text after the first "=" of the first item whose name equals `name` (ASCII) ignoring letter case;
    // "" when there is none. The value is decoded with the encoding given at construction.
    QString value(QLatin1String name) const;
    QString value(QStringView name) const;
    bool contains(QLatin1String name) const;

    qsizetype count() const { return static_cast<qsizetype>(m_items.size()); }
    // Whole decoded items in order, for inspection.
    QStringList items() const;
    // Every decoded item is well-formed UTF-8; escapes count as the bytes they stand for.
    bool isValidUtf8() const;

private:
    struct Item
    {
        size_t begin;
        size_t equals; // npos when the item holds no "="
        size_t end;
    };
    template<typename Name> const Item* find(const Name& name) const;
    QString valueOf(const Item* item) const;
    QString decode(size_t from, size_t to) const;

    std::string m_bytes; // every decoded item back to back, m_used bytes of it
    size_t m_used = 0;
    std::vector<Item> m_items;
    Encoding m_encoding;
};
