#include "LocalDefinitions.h"

#include "ServiceDocument.h"
#include "common/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QString tr(const char* text)
{
    return QCoreApplication::translate("LocalDefinitions", text);
}

// "providers.d/acme.def": enough for the user to find the file, short enough for a message box.
QString shownName(const QString& path)
{
    const QFileInfo info(path);
    return info.dir().dirName() + QLatin1Char('/') + info.fileName();
}

QString atLine(const QString& path, qsizetype line, const QString& text)
{
    return tr("%1, line %2: %3").arg(shownName(path), QString::number(line), text);
}

QString skipped(const QString& problem)
{
    return tr("%1; the file was skipped").arg(problem);
}

// The parameters without which the engine can do nothing with a provider.
const char* const kRequired[] = { "Name", "AreaCodes", "MsgUrl" };

// Reads the document's tags with one encoding. `wellFormedUtf8` is cleared when a tag that counts holds a
// value that is not UTF-8.
LocalDefinitionFile readAs(
    const ServiceDocument& document, const QString& path, TagParams::Encoding encoding, bool& wellFormedUtf8)
{
    LocalDefinitionFile file;
    file.path = path;
    QString error; // the first problem; later ones would only repeat that the file is unusable
    auto handler = [&](QLatin1String tagName, const TagParams& params, qsizetype line) {
        const bool areas = tagName == QLatin1String("AREAS");
        const bool provider = tagName == QLatin1String("PROVIDER");
        if (!areas && !provider) {
            file.warnings.append(atLine(
                path, line, tr("tag %1 ignored; a local file defines only AREAS and PROVIDER").arg(QString(tagName))));
            return;
        }
        if (!params.isValidUtf8())
            wellFormedUtf8 = false;
        if (areas) {
            file.areaDefs += parseCommaText(params.value(QLatin1String("DEFS")));
            return;
        }
        for (const char* name : kRequired) {
            if (error.isEmpty() && params.value(QLatin1String(name)).trimmed().isEmpty())
                error = atLine(path, line, tr("PROVIDER without %1").arg(QLatin1String(name)));
        }
        TProvider p = TProvider::fromParameters([&](const QString& name) { return params.value(QStringView(name)); });
        const QString unsafe = unsafePageAddressField(p);
        if (error.isEmpty() && !unsafe.isEmpty())
            error = atLine(path, line, tr("%1 is not an http or https address").arg(unsafe));
        p.Origin = ProviderOrigin::Local;
        p.OriginFile = path;
        file.providers.append(p);
    };

    const ProcessResult result = ProcessDocument(document, handler, encoding);
    if (error.isEmpty() && !result.ok)
        error = atLine(path, result.line, result.reason);
    if (!error.isEmpty()) {
        file.error = skipped(error);
        file.providers.clear();
        file.areaDefs.clear();
    }
    return file;
}
} // namespace

QString LocalDefinitions::folder()
{
    return AppPaths::localDefinitionsDir();
}

QVector<LocalDefinitionFile> LocalDefinitions::readFolder(const QString& folder)
{
    QVector<LocalDefinitionFile> files;
    const QDir dir(folder);
    const QStringList names = dir.entryList({ QStringLiteral("*.def") }, QDir::Files, QDir::Name);
    for (const QString& name : names)
        files.append(readFile(dir.filePath(name)));
    return files;
}

LocalDefinitionFile LocalDefinitions::readFile(const QString& path)
{
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        LocalDefinitionFile unread;
        unread.path = path;
        unread.error = skipped(tr("%1: cannot be read (%2)").arg(shownName(path), file.errorString()));
        return unread;
    }
    return parse(bytes, path);
}

LocalDefinitionFile LocalDefinitions::parse(const QByteArray& bytes, const QString& path)
{
    const ServiceDocument document = ServiceDocument::fromText(bytes);
    bool wellFormedUtf8 = true;
    LocalDefinitionFile asUtf8 = readAs(document, path, TagParams::Encoding::Utf8, wellFormedUtf8);
    if (wellFormedUtf8)
        return asUtf8;
    return readAs(document, path, TagParams::Encoding::Windows1255, wellFormedUtf8);
}
