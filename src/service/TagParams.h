#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <string>
#include <vector>

// The parameters of one service tag, cut into Name=Value items and URL-decoded, kept as the document's
// windows-1255 bytes until a value is asked for.
class TagParams
{
public:
    // Cuts the parameter text [begin, end) into items and decodes them. Returns false when a "%" is followed
    // neither by "%" nor by two hexadecimal digits; the list is then empty.
    bool parse(const char* begin, const char* end);

    // The text after the first "=" of the first item whose name equals `name` (ASCII) ignoring letter case;
    // "" when there is none. The value is decoded from windows-1255.
    QString value(QLatin1String name) const;
    QString value(QStringView name) const;
    bool contains(QLatin1String name) const;

    qsizetype count() const { return static_cast<qsizetype>(m_items.size()); }
    // Whole decoded items in order, for inspection.
    QStringList items() const;

private:
    struct Item
    {
        size_t begin;
        size_t equals; // npos when the item holds no "="
        size_t end;
    };
    template<typename Name> const Item* find(const Name& name) const;
    QString valueOf(const Item* item) const;

    std::string m_bytes; // every decoded item back to back, m_used bytes of it
    size_t m_used = 0;
    std::vector<Item> m_items;
};
