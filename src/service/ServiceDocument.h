#pragma once

#include "TagParams.h"

#include <QByteArray>
#include <QLatin1String>
#include <QString>

#include <functional>

// A service document as the processor holds it: the received or stored text split into lines at CR, LF
// or CR LF, cut at the first NUL, and joined again with CR LF after every line. The bytes stay
// windows-1255 throughout; providers.dat is these bytes.
class ServiceDocument
{
public:
    // The longest line the processor accepts, without its CR LF.
    static constexpr qsizetype MaxLineLength = 4094;

    ServiceDocument() = default;
    static ServiceDocument fromText(const QByteArray& raw);

    const QByteArray& text() const { return m_text; }
    qsizetype lineCount() const { return m_lineCount; }
    bool isEmpty() const { return m_lineCount == 0; }

    // The first line longer than MaxLineLength: its 1-based number (0 when there is none) and where it
    // starts in text().
    qsizetype tooLongLine() const { return m_tooLongLine; }
    qsizetype tooLongOffset() const { return m_tooLongOffset; }

private:
    QByteArray m_text;
    qsizetype m_lineCount = 0;
    qsizetype m_tooLongLine = 0;
    qsizetype m_tooLongOffset = -1;
};

struct ProcessResult
{
    bool ok = true;
    QString error; // the reason and its line: "Line too long on line 7"
    QString reason; // "Line too long"
    qsizetype line = 0; // 1-based, where processing stopped
};

// Receives each tag in document order. The name and the parameters are only valid during the call.
using ServiceTagHandler = std::function<void(QLatin1String tagName, const TagParams& params)>;
// The same, also told the 1-based line on which the tag's "<" stands.
using ServiceTagLineHandler = std::function<void(QLatin1String tagName, const TagParams& params, qsizetype line)>;

// Runs through the document once and hands every tag to the handler as soon as it has been read whole.
// Processing stops at a tag whose parameters hold a malformed "%" escape (that tag is not handed on) and
// on reaching a line that is too long; the tags before keep their effect and the result says what failed.
ProcessResult ProcessDocument(const ServiceDocument& document, const ServiceTagHandler& handler);
// The same walk for files that are not the service's: the handler learns each tag's line, and the values are
// decoded with `encoding`.
ProcessResult ProcessDocument(
    const ServiceDocument& document, const ServiceTagLineHandler& handler, TagParams::Encoding encoding);
