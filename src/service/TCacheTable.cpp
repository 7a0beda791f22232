#include "TCacheTable.h"
#include "common/AtomicFile.h"

#include "Cp1255.h"

#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QStringList>

namespace {
constexpr quint32 DefaultInterval = 10000;

// Takes the text before the next comma off `rest`; false, leaving `rest` alone, when there is none.
bool takeField(QString& rest, QString* field)
{
    const qsizetype comma = rest.indexOf(QLatin1Char(','));
    if (comma < 0)
        return false;
    *field = rest.left(comma);
    rest.remove(0, comma + 1);
    return true;
}

// adcache.dat's numbers: unsigned decimal; blanks around the digits are allowed (the file's Hits field is
// read trimmed), anything else gives the fallback.
quint32 number(const QString& text, quint32 fallback)
{
    bool ok = false;
    const quint32 value = text.toUInt(&ok);
    return ok ? value : fallback;
}

TCacheEntry parseLine(QString rest)
{
    TCacheEntry entry;
    entry.Interval = DefaultInterval;
    takeField(rest, &entry.Name);
    QString interval;
    if (takeField(rest, &entry.BannerType) && takeField(rest, &entry.URL) && takeField(rest, &entry.HomeURL)
        && takeField(rest, &interval))
        entry.Interval = number(interval, DefaultInterval);
    entry.Hits = number(rest.trimmed(), 0);
    return entry;
}
} // namespace

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

bool TCacheTable::SaveToFile(const QString& path, QString* error) const
{
    if (m_entries.isEmpty())
        return true;
    QByteArray bytes;
    for (const TCacheEntry& entry : m_entries) {
        const QString line = QStringList { entry.Name, entry.BannerType, entry.URL, entry.HomeURL,
            QString::number(entry.Interval), QString::number(entry.Hits) }
                                 .join(QLatin1Char(','));
        bytes += Cp1255::fromUnicode(line) + "\r\n";
    }
    return AtomicFile::write(path, bytes, error);
}

void TCacheTable::LoadFromFile(const QString& path)
{
    m_entries.clear();
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly))
        return;
    while (!input.atEnd()) {
        QByteArray line = input.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        const QString text = Cp1255::toUnicode(line);
        if (!text.contains(QLatin1Char(',')))
            continue;
        m_entries.append(parseLine(text));
    }
}
