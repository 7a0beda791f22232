#pragma once

#include "service/TProvider.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// A provider the user taught the program, written as a file of its own in the folder of local definitions:
// an AREAS tag and a PROVIDER tag in the service's own tag language, UTF-8, one parameter to a line.
// Credentials never go into it; they belong in SMS.INI.
namespace DefinitionFile {
// The tags, with a note for whoever opens the file.
QByteArray text(const TProvider& provider, const QStringList& areaDefs, const QString& writtenAt);
// What the tag language cannot carry, in plain words: quotes and apostrophes in any value, blanks or
// commas in an area value. Empty when the provider can be written as it is.
QStringList unwritable(const TProvider& provider, const QStringList& areaDefs);
// What stands between the file's text and the draft when the program's own reader reads the text back:
// the reader's refusal (a line too long, say), or each field or area item that comes back otherwise. Empty
// when the file gives back the draft field by field.
QStringList readBackProblems(const QByteArray& text, const TProvider& provider, const QStringList& areaDefs);
// Every value that holds the user name or the password the demonstration recorded (a login sent with GET, a
// session token in an address): the file must hold no secret.
QStringList secretProblems(const TProvider& provider, const QString& userName, const QString& password);
// The file the provider goes to: the folder and a name made of the provider's name.
QString pathFor(const QString& folder, const QString& providerName);
// Writes the file whole or not at all, readable by its owner only; the error in plain words when it could not.
bool write(const QString& path, const QByteArray& text, QString* error);
// The parameter value as the tag language reads it back: "%", "+" and ">" escaped, blanks as "+".
QByteArray encodeValue(const QString& value);
} // namespace DefinitionFile
