#include "BannerTableFile.h"

#include "common/AppPaths.h"
#include "service/Cp1255.h"
#include "service/TCacheTable.h"

#include <QFile>
#include <QSaveFile>

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

QString BannerTableFile::path()
{
    return AppPaths::appDir() + QStringLiteral("adcache.dat");
}

void BannerTableFile::load(TCacheTable& table, const QString& file)
{
    table.Clear();
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return;
    while (!input.atEnd()) {
        QByteArray line = input.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        const QString text = Cp1255::toUnicode(line);
        if (!text.contains(QLatin1Char(',')))
            continue;
        table.Append(parseLine(text));
    }
}

void BannerTableFile::save(const TCacheTable& table, const QString& file)
{
    if (table.Count() == 0)
        return;
    QByteArray bytes;
    for (const TCacheEntry& entry : table.entries()) {
        const QString line = QStringList { entry.Name, entry.BannerType, entry.URL, entry.HomeURL,
            QString::number(entry.Interval), QString::number(entry.Hits) }
                                 .join(QLatin1Char(','));
        bytes += Cp1255::fromUnicode(line) + "\r\n";
    }
    QSaveFile output(file);
    if (output.open(QIODevice::WriteOnly) && output.write(bytes) == bytes.size())
        output.commit();
}
