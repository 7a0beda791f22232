#include "ServiceDocument.h"
#include "common/TextRules.h"

#include <algorithm>
#include <cstring>

namespace {
using TextRules::isControlOrBlank;

bool isTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

bool isNameStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isNameChar(char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9');
}

// A name token, or failing that a single character.
const char* skipNameOrChar(const char* p, const char* end)
{
    if (!isNameStart(*p))
        return p + 1;
    ++p;
    while (p < end && isNameChar(*p))
        ++p;
    return p;
}

qsizetype lineNumberAt(const char* text, const char* at)
{
    qsizetype line = 1;
    for (const char* p = text; p < at; ++p) {
        if (*p == '\n')
            ++line;
    }
    return line;
}

ProcessResult failure(const QString& what, qsizetype line)
{
    return ProcessResult { false, QStringLiteral("%1 on line %2").arg(what, QString::number(line)), what, line };
}

// The walk behind both ProcessDocument overloads; `onTag` gets the name, the parameters and where the tag's
// "<" stands. A template, so that the service's path pays nothing for what only the other one needs.
template<typename OnTag> ProcessResult processTags(const ServiceDocument& document, TagParams& params, OnTag onTag)
{
    const char* const text = document.text().constData();
    // Nothing from the first over-long line on is read; getting there is the error.
    const bool cutShort = document.tooLongOffset() >= 0;
    const char* const end = text + (cutShort ? document.tooLongOffset() : document.text().size());

    const char* p = text;
    while (p < end) {
        const char* open = static_cast<const char*>(std::memchr(p, '<', static_cast<size_t>(end - p)));
        if (!open)
            break;
        const char* q = open + 1;
        while (q < end && isControlOrBlank(*q))
            ++q;
        if (q >= end)
            break;
        if (*q != '#') {
            // "<" and the piece after it are plain text, which is how "<<#NAME>" hides a tag.
            p = skipNameOrChar(q, end);
            continue;
        }
        ++q;
        while (q < end && isControlOrBlank(*q))
            ++q;
        if (q >= end)
            break;

        const char* nameEnd = skipNameOrChar(q, end);
        const QLatin1String name(q, nameEnd - q);

        const char* close = static_cast<const char*>(std::memchr(nameEnd, '>', static_cast<size_t>(end - nameEnd)));
        if (!close && cutShort)
            break; // the tag runs on into the over-long line
        const char* paramsBegin = nameEnd;
        const char* paramsEnd = close ? close : end;
        while (paramsBegin < paramsEnd && isTrimmed(*paramsBegin))
            ++paramsBegin;
        while (paramsEnd > paramsBegin && isTrimmed(paramsEnd[-1]))
            --paramsEnd;

        if (!params.parse(paramsBegin, paramsEnd))
            return failure(QStringLiteral("Invalid %-escape"), lineNumberAt(text, open));
        onTag(name, params, open);
        p = close ? close + 1 : end;
    }
    if (cutShort)
        return failure(QStringLiteral("Line too long"), document.tooLongLine());
    return ProcessResult {};
}
} // namespace

ServiceDocument ServiceDocument::fromText(const QByteArray& raw)
{
    ServiceDocument doc;
    const char* const begin = raw.constData();
    const char* const nul = static_cast<const char*>(std::memchr(begin, '\0', static_cast<size_t>(raw.size())));
    const char* const end = nul ? nul : begin + raw.size();

    // A text whose every line already ends in CR LF is its own normal form and is shared, not copied;
    // otherwise copying starts at the first line break that differs.
    bool copying = false;
    const char* p = begin;
    while (p < end) {
        const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        if (!lineEnd)
            lineEnd = end;
        if (const void* cr = std::memchr(p, '\r', static_cast<size_t>(lineEnd - p)))
            lineEnd = static_cast<const char*>(cr);

        ++doc.m_lineCount;
        if (lineEnd - p > MaxLineLength && doc.m_tooLongOffset < 0) {
            doc.m_tooLongOffset = copying ? doc.m_text.size() : p - begin;
            doc.m_tooLongLine = doc.m_lineCount;
        }
        const bool crlf = end - lineEnd >= 2 && lineEnd[0] == '\r' && lineEnd[1] == '\n';
        if (!copying && !crlf) {
            doc.m_text.reserve((end - begin) + 2);
            doc.m_text.append(begin, p - begin);
            copying = true;
        }
        if (copying) {
            doc.m_text.append(p, lineEnd - p);
            doc.m_text.append("\r\n", 2);
        }

        p = lineEnd;
        if (p < end && *p == '\r')
            ++p;
        if (p < end && *p == '\n')
            ++p;
    }
    if (!copying)
        doc.m_text = end == begin + raw.size() ? raw : raw.left(end - begin);
    return doc;
}

ProcessResult ProcessDocument(const ServiceDocument& document, const ServiceTagHandler& handler)
{
    TagParams params;
    return processTags(document, params,
        [&handler](QLatin1String name, const TagParams& tagParams, const char*) { handler(name, tagParams); });
}

ProcessResult ProcessDocument(
    const ServiceDocument& document, const ServiceTagLineHandler& handler, TagParams::Encoding encoding)
{
    TagParams params(encoding);
    // Lines are counted on from the previous tag, so the whole walk reads each byte once.
    const char* counted = document.text().constData();
    qsizetype line = 1;
    return processTags(document, params, [&](QLatin1String name, const TagParams& tagParams, const char* open) {
        line += std::count(counted, open, '\n');
        counted = open;
        handler(name, tagParams, line);
    });
}
