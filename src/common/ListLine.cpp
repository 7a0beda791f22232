#include "ListLine.h"

ListLine ListLine::parse(const QString& line)
{
    ListLine entry;
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    entry.name = line.left(equals < 0 ? line.size() : equals);
    const QString value = equals < 0 ? QString() : line.mid(equals + 1);
    const qsizetype dash = value.indexOf(QLatin1Char('-'));
    if (dash < 0) {
        entry.phone = value;
    } else {
        entry.area = value.left(dash);
        entry.phone = value.mid(dash + 1);
    }
    return entry;
}

QStringList ListLine::names(const QStringList& lines)
{
    QStringList names;
    names.reserve(lines.size());
    for (const QString& line : lines)
        names.append(parse(line).name);
    return names;
}

QString ListLine::text() const
{
    return name + QLatin1Char('=') + (area.isEmpty() ? phone : area + QLatin1Char('-') + phone);
}
