#include "THalvernLangInfoList.h"

THalvernLangInfo* THalvernLangInfoList::append(quint32 locale, const QString& abbreviation)
{
    m_items.push_back(std::make_unique<THalvernLangInfo>(locale, abbreviation));
    return m_items.back().get();
}

void THalvernLangInfoList::removeAt(int index)
{
    m_items.erase(m_items.begin() + index);
}
