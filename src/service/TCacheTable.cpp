#include "TCacheTable.h"

#include <QHash>

qsizetype TCacheTable::IndexOfName(const QString& name) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].Name == name)
            return i;
    }
    return -1;
}

void TCacheTable::CopyHitsFrom(const TCacheTable& other)
{
    // The same as IndexOfName for each entry of `other`, without going quadratic on a long list.
    QHash<QString, qsizetype> firstIndex;
    firstIndex.reserve(m_entries.size());
    // Backwards, so that of two equal names the earlier index is the one left.
    for (qsizetype i = m_entries.size() - 1; i >= 0; --i)
        firstIndex.insert(m_entries[i].Name, i);
    for (const TCacheEntry& entry : other.m_entries) {
        const auto found = firstIndex.constFind(entry.Name);
        if (found != firstIndex.constEnd())
            m_entries[found.value()].Hits = entry.Hits;
    }
}

void TCacheTable::ResetHits()
{
    for (TCacheEntry& entry : m_entries)
        entry.Hits = 0;
}

void TCacheTable::AddHit(const QString& name)
{
    const qsizetype i = IndexOfName(name);
    if (i >= 0)
        ++m_entries[i].Hits;
}

QString TCacheTable::HitsText() const
{
    QString text;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const TCacheEntry& entry = m_entries[i];
        if (entry.Hits == 0 || entry.Name.isEmpty())
            continue;
        text += entry.Name + QLatin1Char('=') + QString::number(entry.Hits);
        if (i != m_entries.size() - 1)
            text += QLatin1Char(',');
    }
    return text;
}
