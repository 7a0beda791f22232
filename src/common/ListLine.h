#pragma once

#include <QString>
#include <QStringList>

// One line of a recipient list: Name "=" Area "-" Phone. The window keeps a chosen list as such lines; the
// status window and the list's hint show their names; the send workflow and zelkora-cli read them.
struct ListLine
{
    QString name;
    QString area;
    QString phone;

    // The name before the first "=", and in the value after it the area code before the first "-" and the
    // number after it (no "-": no area code and the whole value as the number).
    static ListLine parse(const QString& line);
    // The names of the lines, in their order.
    static QStringList names(const QStringList& lines);
    // The line itself; without an area code the value is the number alone.
    QString text() const;
};
