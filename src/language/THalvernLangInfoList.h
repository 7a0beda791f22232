#pragma once

#include "language/THalvernLangInfo.h"

#include <memory>
#include <vector>

// The locales of the system in the order they were added. The list owns its entries: an entry removed from it,
// and every entry when the list is destroyed, is destroyed with it. Entries keep their address while they are
// in the list.
class THalvernLangInfoList
{
public:
    THalvernLangInfoList() = default;
    THalvernLangInfoList(const THalvernLangInfoList&) = delete;
    THalvernLangInfoList& operator=(const THalvernLangInfoList&) = delete;

    int count() const { return static_cast<int>(m_items.size()); }
    THalvernLangInfo* at(int index) const { return m_items.at(static_cast<std::size_t>(index)).get(); }
    THalvernLangInfo* append(quint32 locale, const QString& abbreviation);
    void removeAt(int index);
    void clear() { m_items.clear(); }

private:
    std::vector<std::unique_ptr<THalvernLangInfo>> m_items;
};
