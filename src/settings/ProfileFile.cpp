#include "ProfileFile.h"
#include "common/AtomicFile.h"
#include "common/TextRules.h"

#include "common/ErrorReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace {
const QByteArray Utf8Bom("\xEF\xBB\xBF");

// The file as lines, with what is needed to write it back the way it was.
struct Document
{
    QStringList lines; // without their line ends
    bool crlf = false;
    bool bom = false;
};

enum class LoadResult
{
    Missing,
    Loaded,
    Unreadable
};

using TextRules::isSpaceOrTab;

QString trimBlanks(const QString& s)
{
    int begin = 0;
    int end = s.size();
    while (begin < end && isSpaceOrTab(s[begin]))
        ++begin;
    while (end > begin && isSpaceOrTab(s[end - 1]))
        --end;
    return s.mid(begin, end - begin);
}

QString withoutLineBreaks(QString s)
{
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

QString sectionName(const QString& section)
{
    return trimBlanks(withoutLineBreaks(section));
}

bool isQuoted(const QString& s)
{
    return s.size() >= 2 && (s.front() == QLatin1Char('"') || s.front() == QLatin1Char('\'')) && s.back() == s.front();
}

// Reading trims blanks and removes one pair of matching quotes, so a value that would lose something that
// way is written inside a pair of double quotes.
QString encodeValue(const QString& value)
{
    QString v = withoutLineBreaks(value);
    if (!v.isEmpty() && (isSpaceOrTab(v.front()) || isSpaceOrTab(v.back()) || isQuoted(v)))
        return QLatin1Char('"') + v + QLatin1Char('"');
    return v;
}

QString decodeValue(const QString& raw)
{
    const QString v = trimBlanks(raw);
    return isQuoted(v) ? v.mid(1, v.size() - 2) : v;
}

enum class LineKind
{
    Other,
    Section,
    Key
};

struct Line
{
    LineKind kind = LineKind::Other;
    QString name;
    QString rawValue;
};

Line parseLine(const QString& text)
{
    Line line;
    const QString t = trimBlanks(text);
    if (t.isEmpty() || t.front() == QLatin1Char(';') || t.front() == QLatin1Char('#'))
        return line;
    if (t.front() == QLatin1Char('[')) {
        // The last ']' closes the heading, so a section named "a]b" survives its own round trip.
        const int close = t.lastIndexOf(QLatin1Char(']'));
        line.kind = LineKind::Section;
        line.name = trimBlanks(close > 0 ? t.mid(1, close - 1) : t.mid(1));
        return line;
    }
    const int eq = t.indexOf(QLatin1Char('='));
    if (eq < 0)
        return line;
    line.kind = LineKind::Key;
    line.name = trimBlanks(t.left(eq));
    line.rawValue = t.mid(eq + 1);
    return line;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString decodeText(QByteArray bytes, bool& bom)
{
    bom = bytes.startsWith(Utf8Bom);
    if (bom)
        bytes.remove(0, Utf8Bom.size());
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder hebrew("windows-1255", QStringDecoder::Flag::Stateless);
    if (hebrew.isValid())
        return hebrew.decode(bytes);
    return QString::fromLatin1(bytes);
}

LoadResult load(const QString& path, Document& doc)
{
    const QFileInfo info(path);
    if (!info.exists())
        return LoadResult::Missing;
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        return LoadResult::Unreadable;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return LoadResult::Unreadable;
    doc.crlf = bytes.contains("\r\n");
    QString text = decodeText(bytes, doc.bom);
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    if (!text.isEmpty() || bytes.size() > (doc.bom ? Utf8Bom.size() : 0))
        doc.lines = text.split(QLatin1Char('\n'));
    for (QString& l : doc.lines) {
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    }
    return LoadResult::Loaded;
}

// The value of the first matching key in any section of the name.
std::optional<QString> findValue(const Document& doc, const QString& section, const QString& key)
{
    const QString wantedSection = sectionName(section);
    const QString wantedKey = trimBlanks(key);
    bool inSection = false;
    for (const QString& text : doc.lines) {
        const Line line = parseLine(text);
        if (line.kind == LineKind::Section)
            inSection = sameName(line.name, wantedSection);
        else if (inSection && line.kind == LineKind::Key && sameName(line.name, wantedKey))
            return decodeValue(line.rawValue);
    }
    return std::nullopt;
}

QString writeError(const QString& path)
{
    return QCoreApplication::translate("ProfileFile", "Unable to write to %1").arg(QFileInfo(path).fileName());
}

void save(const QString& path, const Document& doc)
{
    const QString eol = doc.crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QByteArray bytes = doc.bom ? Utf8Bom : QByteArray();
    for (const QString& l : doc.lines)
        bytes += (l + eol).toUtf8();

    // The passwords are never readable by others, not even in the temporary file.
    if (!AtomicFile::write(path, bytes, nullptr, AtomicFile::OwnerOnly))
        throw ZelkoraError(writeError(path));
}
} // namespace

ProfileFile::ProfileFile(const QString& path)
    : m_path(path)
{
}

QString ProfileFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    Document doc;
    if (load(m_path, doc) != LoadResult::Loaded)
        return defaultValue;
    const std::optional<QString> found = findValue(doc, section, key);
    if (!found)
        return defaultValue;
    QString value = *found;
    if (value.size() > MaxValueLength) {
        value.truncate(MaxValueLength);
        // Never leave half of a character behind.
        if (value.back().isHighSurrogate())
            value.chop(1);
    }
    return value;
}

qint32 ProfileFile::ReadInteger(const QString& section, const QString& key, qint32 defaultValue) const
{
    return parseInteger(ReadString(section, key, QString()), defaultValue);
}

bool ProfileFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool ProfileFile::SectionExists(const QString& section) const
{
    Document doc;
    if (load(m_path, doc) != LoadResult::Loaded)
        return false;
    const QString wanted = sectionName(section);
    for (const QString& text : doc.lines) {
        const Line line = parseLine(text);
        if (line.kind == LineKind::Section && sameName(line.name, wanted))
            return true;
    }
    return false;
}

QStringList ProfileFile::SectionNames() const
{
    QStringList names;
    Document doc;
    if (load(m_path, doc) != LoadResult::Loaded)
        return names;
    for (const QString& text : doc.lines) {
        const Line line = parseLine(text);
        const bool known = std::any_of(
            names.cbegin(), names.cend(), [&line](const QString& name) { return sameName(name, line.name); });
        if (line.kind == LineKind::Section && !known)
            names.append(line.name);
    }
    return names;
}

bool ProfileFile::ValueExists(const QString& section, const QString& key) const
{
    Document doc;
    return load(m_path, doc) == LoadResult::Loaded && findValue(doc, section, key).has_value();
}

void ProfileFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    const QString wantedSection = sectionName(section);
    const QString wantedKey = trimBlanks(key);
    // A key that would read back as something else (a heading, a comment, another key) is refused.
    if (wantedKey.isEmpty() || wantedKey.contains(QLatin1Char('=')) || wantedKey.contains(QLatin1Char('\n'))
        || wantedKey.contains(QLatin1Char('\r')) || parseLine(wantedKey + QLatin1Char('=')).kind != LineKind::Key)
        throw ZelkoraError(writeError(m_path));

    Document doc;
    // A file that exists but cannot be read is never replaced: that would lose everything else in it.
    if (load(m_path, doc) == LoadResult::Unreadable)
        throw ZelkoraError(writeError(m_path));

    const QString encoded = encodeValue(value);
    int firstSection = -1;
    bool inSection = false;
    for (int i = 0; i < doc.lines.size(); ++i) {
        const Line line = parseLine(doc.lines[i]);
        if (line.kind == LineKind::Section) {
            inSection = sameName(line.name, wantedSection);
            if (inSection && firstSection < 0)
                firstSection = i;
        } else if (inSection && line.kind == LineKind::Key && sameName(line.name, wantedKey)) {
            // The key keeps the spelling the file gave it.
            doc.lines[i] = line.name + QLatin1Char('=') + encoded;
            save(m_path, doc);
            return;
        }
    }

    const QString newLine = wantedKey + QLatin1Char('=') + encoded;
    if (firstSection >= 0) {
        // A new key goes after the last key of the section, so comments and blank lines that lead into the
        // next section stay where they are.
        int insertAt = firstSection + 1;
        for (int i = firstSection + 1; i < doc.lines.size(); ++i) {
            const LineKind kind = parseLine(doc.lines[i]).kind;
            if (kind == LineKind::Section)
                break;
            if (kind == LineKind::Key)
                insertAt = i + 1;
        }
        doc.lines.insert(insertAt, newLine);
    } else {
        if (!doc.lines.isEmpty() && !trimBlanks(doc.lines.back()).isEmpty())
            doc.lines.append(QString());
        doc.lines.append(QLatin1Char('[') + wantedSection + QLatin1Char(']'));
        doc.lines.append(newLine);
    }
    save(m_path, doc);
}

void ProfileFile::WriteInteger(const QString& section, const QString& key, qint32 value)
{
    WriteString(section, key, QString::number(value));
}

void ProfileFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool ProfileFile::isAccessible() const
{
    Document doc;
    return load(m_path, doc) != LoadResult::Unreadable;
}

qint32 ProfileFile::parseInteger(const QString& text, qint32 defaultValue)
{
    bool ok = false;
    if (text.size() > 2 && text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QString digits = text.mid(2);
        // toUInt would accept a sign or blanks; only hexadecimal digits are a number here.
        for (const QChar c : digits) {
            const bool hex = (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
            if (!hex)
                return defaultValue;
        }
        const quint32 value = digits.toUInt(&ok, 16);
        return ok ? static_cast<qint32>(value) : defaultValue;
    }
    if (text.isEmpty() || isSpaceOrTab(text.front()) || isSpaceOrTab(text.back()))
        return defaultValue;
    const qint32 value = text.toInt(&ok, 10);
    return ok ? value : defaultValue;
}
