#include "DefinitionFile.h"
#include "common/AtomicFile.h"

#include "service/LocalDefinitions.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>


QByteArray DefinitionFile::encodeValue(const QString& value)
{
    QByteArray out;
    for (const char c : value.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        if (u == ' ')
            out += '+';
        else if (u <= 32 || u == 127 || c == '%' || c == '+' || c == '>')
            out += '%' + QByteArray::number(u, 16).rightJustified(2, '0').toUpper();
        else
            out += c;
    }
    return out;
}

QStringList DefinitionFile::unwritable(const TProvider& provider, const QStringList& areaDefs)
{
    QStringList problems;
    for (const auto& [name, value] : provider.parameters()) {
        if (value.contains(QLatin1Char('"')) || value.contains(QLatin1Char('\'')))
            problems << QCoreApplication::translate(
                "DefinitionFile", "הערך של %1 (%2) מכיל מירכאות או גרש, וקובץ הגדרות אינו יכול לשמור אותם.")
                            .arg(QLatin1String(name), value);
    }
    for (const QString& item : areaDefs) {
        const QString value = item.mid(item.indexOf(QLatin1Char('=')) + 1);
        bool blank = false;
        for (const QChar c : value)
            blank = blank || c.unicode() <= 32 || c == QLatin1Char(',');
        if (blank || value.contains(QLatin1Char('"')) || value.contains(QLatin1Char('\'')))
            problems << QCoreApplication::translate("DefinitionFile",
                "ברשימת הקידומות של האתר מופיע \"%1\", וקובץ הגדרות אינו יכול לשמור רווחים, "
                "פסיקים או מירכאות בערך של קידומת.")
                            .arg(value);
    }
    return problems;
}

QByteArray DefinitionFile::text(const TProvider& provider, const QStringList& areaDefs, const QString& writtenAt)
{
    QByteArray out;
    // The note is outside the tags; a name that holds a tag's brackets must not open one there.
    QString noteName = provider.Name;
    noteName.replace(QLatin1Char('<'), QLatin1Char(' ')).replace(QLatin1Char('>'), QLatin1Char(' '));
    out += "Provider " + noteName.toUtf8() + ", taught to Zelkora on " + writtenAt.toUtf8() + ".\n";
    out += "Only the tags count; text outside them is a note. The user name and password are kept in SMS.INI.\n\n";
    QByteArray defs;
    for (const QString& item : areaDefs)
        defs += (defs.isEmpty() ? "" : ",") + encodeValue(item);
    out += "<#AREAS DEFS=" + defs + ">\n\n";
    out += "<#PROVIDER\n";
    for (const auto& [name, value] : provider.parameters()) {
        if (!value.isEmpty())
            out += "    " + QByteArray(name) + '=' + encodeValue(value) + '\n';
    }
    out += ">\n";
    return out;
}

QStringList DefinitionFile::readBackProblems(
    const QByteArray& text, const TProvider& provider, const QStringList& areaDefs)
{
    const auto tr = [](const char* source) { return QCoreApplication::translate("DefinitionFile", source); };
    const LocalDefinitionFile file = LocalDefinitions::parse(text, QStringLiteral("providers.d/taught.def"));
    if (!file.error.isEmpty())
        return { tr("קובץ ההגדרה לא ייקרא כפי שנכתב: %1").arg(file.error) };
    if (file.providers.size() != 1)
        return { tr("קובץ ההגדרה לא ייקרא כפי שנכתב: נמצאו בו %1 ספקים.").arg(file.providers.size()) };
    QStringList problems;
    const auto written = provider.parameters();
    const auto read = file.providers.first().parameters();
    for (int i = 0; i < written.size(); ++i) {
        if (written[i].second != read[i].second)
            problems << tr("הערך של %1 לא ייקרא מקובץ ההגדרה כפי שנכתב.").arg(QLatin1String(written[i].first));
    }
    if (file.areaDefs != areaDefs)
        problems << tr("רשימת הקידומות לא תיקרא מקובץ ההגדרה כפי שנכתבה.");
    return problems;
}

QStringList DefinitionFile::secretProblems(const TProvider& provider, const QString& userName, const QString& password)
{
    QStringList problems;
    for (const auto& [name, value] : provider.parameters()) {
        const bool secret
            = (!userName.isEmpty() && value.contains(userName)) || (!password.isEmpty() && value.contains(password));
        if (secret)
            problems << QCoreApplication::translate(
                "DefinitionFile", "הערך של %1 מכיל את שם המשתמש או את הסיסמה שלך, וקובץ הגדרות אינו שומר אותם.")
                            .arg(QLatin1String(name));
    }
    return problems;
}

QString DefinitionFile::pathFor(const QString& folder, const QString& providerName)
{
    QString base;
    for (const QChar c : providerName) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_'))
            base += c.toLower();
        else if (!base.isEmpty() && !base.endsWith(QLatin1Char('-')))
            base += QLatin1Char('-');
    }
    while (base.endsWith(QLatin1Char('-')))
        base.chop(1);
    if (base.isEmpty())
        base = QStringLiteral("provider");
    return QDir(folder).filePath(base + QStringLiteral(".def"));
}

bool DefinitionFile::write(const QString& path, const QByteArray& text, QString* error)
{
    if (!AtomicFile::makeFolder(QFileInfo(path).absolutePath())) {
        if (error)
            *error = QCoreApplication::translate("DefinitionFile", "לא ניתן ליצור את התיקייה %1.")
                         .arg(QFileInfo(path).absolutePath());
        return false;
    }
    // The file names the user's operator and its pages: the owner's alone, from its first byte.
    QString reason;
    if (!AtomicFile::write(path, text, &reason, AtomicFile::OwnerOnly)) {
        if (error)
            *error = QCoreApplication::translate("DefinitionFile", "לא ניתן לכתוב את הקובץ %1: %2").arg(path, reason);
        return false;
    }
    return true;
}
