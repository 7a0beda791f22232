// SMS.INI as the settings code reads and rewrites it: any bytes (UTF-8 or a file carried over in
// windows-1255), any line ends, any sections and keys.

#include "FuzzSupport.h"

#include "common/ErrorReport.h"
#include "settings/ProfileFile.h"

#include <QFile>
#include <QList>

namespace {
// Cannot be read back: values never hold a line feed.
const QString NotThere = QStringLiteral("\n(not there)");

struct Name
{
    QString section;
    QString key;
};

QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == QLatin1Char(' ') || text[begin] == QLatin1Char('\t')))
        ++begin;
    while (end > begin && (text[end - 1] == QLatin1Char(' ') || text[end - 1] == QLatin1Char('\t')))
        --end;
    return text.mid(begin, end - begin);
}

QString withoutLineBreaks(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// Whether two names given to the reads and writes name the same value.
bool sameValue(const Name& a, const Name& b)
{
    return trimBlanks(withoutLineBreaks(a.section))
               .compare(trimBlanks(withoutLineBreaks(b.section)), Qt::CaseInsensitive)
        == 0
        && trimBlanks(a.key).compare(trimBlanks(b.key), Qt::CaseInsensitive) == 0;
}

// Sections and keys the text seems to hold, so that the reads ask for names that are there; a few are
// enough.
QList<Name> namesIn(const QString& text)
{
    QList<Name> names;
    QString section;
    for (const QString& rawLine : text.split(QLatin1Char('\n'))) {
        const QString line = trimBlanks(rawLine);
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.lastIndexOf(QLatin1Char(']'));
            section = close > 0 ? line.mid(1, close - 1) : line.mid(1);
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            names.append(Name { section, line.left(equals) });
        if (names.size() == 6)
            break;
    }
    if (names.isEmpty())
        names.append(Name { QStringLiteral("Settings"), QStringLiteral("UserName") });
    return names;
}

// What a read gives after the value was written.
QString readBack(const QString& written)
{
    QString value = withoutLineBreaks(written);
    if (value.size() > ProfileFile::MaxValueLength) {
        value.truncate(ProfileFile::MaxValueLength);
        if (value.back().isHighSurrogate())
            value.chop(1);
    }
    return value;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzSupport::MemoryFile input;
    input.set(data, size);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<Name> names = namesIn(text);

    const ProfileFile profile(input.path());
    FUZZ_CHECK(profile.isAccessible());
    QStringList before;
    for (const Name& name : names) {
        const QString value = profile.ReadString(name.section, name.key, NotThere);
        before.append(value);
        FUZZ_CHECK(value == NotThere || value.size() <= ProfileFile::MaxValueLength);
        FUZZ_CHECK(profile.ValueExists(name.section, name.key) == (value != NotThere));
        FUZZ_CHECK(value == NotThere || profile.SectionExists(name.section));
        (void)profile.ReadInteger(name.section, name.key, -1);
        (void)profile.ReadBool(name.section, name.key, true);
    }

    // A write changes the one value and keeps every other. The last line names what to write:
    // "section<TAB>key<TAB>value", or else it is the value of the first key found.
    const QString lastLine = text.mid(text.lastIndexOf(QLatin1Char('\n')) + 1);
    const QStringList fields = lastLine.split(QLatin1Char('\t'));
    const Name target = fields.size() >= 3 ? Name { fields[0], fields[1] } : names.front();
    const QString value = fields.size() >= 3 ? fields.mid(2).join(QLatin1Char('\t')) : lastLine;

    const QString path = FuzzSupport::scratchDir() + QStringLiteral("/SMS.INI");
    {
        QFile copy(path);
        FUZZ_CHECK(copy.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(
            copy.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) == static_cast<qint64>(size));
    }
    ProfileFile settings(path);
    try {
        settings.WriteString(target.section, target.key, value);
    } catch (const ZelkoraError&) {
        // A key the format cannot hold is refused, and the file is left alone.
        FUZZ_CHECK(FuzzSupport::contents(path) == FuzzSupport::bytes(data, size));
        return 0;
    }
    FUZZ_CHECK(settings.ReadString(target.section, target.key, NotThere) == readBack(value));
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (!sameValue(names[i], target))
            FUZZ_CHECK(settings.ReadString(names[i].section, names[i].key, NotThere) == before[i]);
    }
    return 0;
}
