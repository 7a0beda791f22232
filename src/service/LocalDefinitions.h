#pragma once

#include "TProvider.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// One local definition file as read: the operators a user defines in the service document's tag language.
// Only AREAS and PROVIDER tags count; any other tag is named in a warning. A file with an error gives no
// providers and no areas at all.
struct LocalDefinitionFile
{
    QString path;
    TProviders providers; // Origin Local, OriginFile the path
    QStringList areaDefs; // the code=value items of its AREAS tags, in order
    QStringList warnings; // report lines
    QString error; // a report line; empty when the file was read
};

// The files $XDG_CONFIG_HOME/zelkora/providers.d/*.def. A file whose tags hold only well-formed UTF-8 (escapes
// decoded) is read as UTF-8, as a text editor writes it; any other as windows-1255, so that a copy of
// providers.dat reads as the service's own.
namespace LocalDefinitions {
// AppPaths::configDir() + "providers.d/".
QString folder();
// The folder's *.def files in file-name order; a missing folder has none.
QVector<LocalDefinitionFile> readFolder(const QString& folder = LocalDefinitions::folder());
LocalDefinitionFile readFile(const QString& path);
// The file's text as read from `path`.
LocalDefinitionFile parse(const QByteArray& bytes, const QString& path);
} // namespace LocalDefinitions
