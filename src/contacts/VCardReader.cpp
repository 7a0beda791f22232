#include "VCardReader.h"

#include <cstring>

namespace Contacts {

namespace {
    struct Line
    {
        qsizetype begin; // first byte
        qsizetype contentEnd; // the line end excluded
        qsizetype next; // the next line's first byte
    };

    class Parser
    {
    public:
        explicit Parser(const QByteArray& bytes)
            : m_bytes(bytes)
        {
            const qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
            const char* data = bytes.constData();
            for (qsizetype pos = start; pos < bytes.size();) {
                const auto* newline
                    = static_cast<const char*>(std::memchr(data + pos, '\n', size_t(bytes.size() - pos)));
                const qsizetype end = newline ? newline - data : bytes.size();
                qsizetype contentEnd = end;
                if (contentEnd > pos && data[contentEnd - 1] == '\r')
                    --contentEnd;
                m_lines.append({ pos, contentEnd, newline ? end + 1 : end });
                pos = newline ? end + 1 : end;
            }
        }

        VCardReader::Result read()
        {
            VCardReader::Result result;
            int i = 0;
            const int count = int(m_lines.size());
            while (i < count) {
                if (isBlankLine(i)) {
                    ++i;
                } else if (isDelimiter(i, "BEGIN")) {
                    VCard card;
                    if (readCard(i, &card, &i))
                        result.cards << card;
                    else
                        ++result.unreadable;
                } else {
                    // Text outside any card, perhaps a card that lost its BEGIN line.
                    ++result.unreadable;
                    while (i < count && !isDelimiter(i, "BEGIN"))
                        ++i;
                }
            }
            if (result.cards.isEmpty() && result.unreadable == 0)
                result.unreadable = 1;
            return result;
        }

    private:
        QByteArrayView content(int line) const
        {
            const Line& l = m_lines[line];
            return QByteArrayView(m_bytes).sliced(l.begin, l.contentEnd - l.begin);
        }

        bool isBlankLine(int line) const
        {
            for (const char c : content(line)) {
                if (c != ' ' && c != '\t')
                    return false;
            }
            return true;
        }

        // Folding: a line that begins with a blank or a tab continues the one before.
        bool isContinuation(int line) const
        {
            const QByteArrayView text = content(line);
            return !text.isEmpty() && (text.front() == ' ' || text.front() == '\t');
        }

        // "BEGIN:VCARD" or "END:VCARD", in any letter case.
        bool isDelimiter(int line, const char* keyword) const
        {
            QByteArrayView text = content(line);
            while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t'))
                text.chop(1);
            const qsizetype length = qsizetype(std::strlen(keyword));
            return text.size() == length + 6 && qstrnicmp(text.data(), length, keyword, length) == 0
                && qstrnicmp(text.data() + length, 6, ":VCARD", 6) == 0;
        }

        static bool isNameCharacter(char c)
        {
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
        }

        static bool isName(QByteArrayView text)
        {
            if (text.isEmpty())
                return false;
            for (const char c : text) {
                if (!isNameCharacter(c))
                    return false;
            }
            return true;
        }

        // The ':' that ends the name and the parameters; a quoted parameter value may hold one.
        static qsizetype headEnd(QByteArrayView text)
        {
            bool inParameters = false;
            bool quoted = false;
            for (qsizetype i = 0; i < text.size(); ++i) {
                const char c = text[i];
                if (c == ';')
                    inParameters = true;
                else if (c == '"' && inParameters)
                    quoted = !quoted;
                else if (c == ':' && !quoted)
                    return i;
            }
            return -1;
        }

        // The property whose first line is `line`; `next` receives the line after its last one. Its value is
        // not copied: VCard::value() joins its lines by the same rules when it is read.
        bool readProperty(int line, VCardProperty* property, int* next) const
        {
            const int count = int(m_lines.size());
            int j = line + 1;
            QByteArray head;
            qsizetype colon = headEnd(content(line));
            if (colon >= 0) {
                head = content(line).first(colon).toByteArray();
                property->valueBegin = m_lines[line].begin + colon + 1;
            } else {
                // Rare: the name and parameters themselves folded.
                QByteArray text = content(line).toByteArray();
                while (colon < 0 && j < count && isContinuation(j)) {
                    const qsizetype joined = text.size();
                    text += content(j).sliced(1);
                    colon = headEnd(text);
                    if (colon >= 0) {
                        head = text.left(colon);
                        property->valueBegin = m_lines[j].begin + 1 + (colon - joined) + 1;
                    }
                    ++j;
                }
                if (colon < 0) {
                    *next = j;
                    return false;
                }
            }

            qsizetype nameEnd = head.indexOf(';');
            if (nameEnd < 0)
                nameEnd = head.size();
            const QByteArrayView qualified = QByteArrayView(head).first(nameEnd).trimmed();
            const qsizetype dot = qualified.indexOf('.');
            const QByteArrayView group = dot < 0 ? QByteArrayView() : qualified.first(dot);
            const QByteArrayView name = qualified.sliced(dot + 1);
            if (!isName(name) || (dot >= 0 && !isName(group))) {
                *next = j;
                return false;
            }
            property->group = group.toByteArray();
            property->name = name.toByteArray();
            if (nameEnd < head.size())
                property->parameterText = head.mid(nameEnd);
            property->encoding = VCardProperty::encodingOf(property->parameterText);

            // A quoted-printable line that ends in "=" goes on, as it stands, on the next line.
            const bool quotedPrintable = property->encoding == VCardProperty::Encoding::QuotedPrintable;
            while (j < count) {
                if ((quotedPrintable && content(j - 1).endsWith('=') && !isDelimiter(j, "END")) || isContinuation(j))
                    ++j;
                else
                    break;
            }
            property->begin = m_lines[line].begin;
            property->end = m_lines[j - 1].next;
            *next = j;
            return true;
        }

        static VCardVersion versionOf(const QByteArray& value)
        {
            const QByteArray version = value.trimmed();
            if (version == "2.1")
                return VCardVersion::V21;
            if (version == "4.0")
                return VCardVersion::V40;
            return VCardVersion::V30;
        }

        // The card whose BEGIN:VCARD line is `first`; `next` receives the line to go on with.
        bool readCard(int first, VCard* card, int* next) const
        {
            const int count = int(m_lines.size());
            const Line& beginLine = m_lines[first];
            card->begin = beginLine.begin;
            card->source = m_bytes;
            card->lineEnd = beginLine.next - beginLine.contentEnd == 1 ? QByteArray("\n") : QByteArray("\r\n");
            bool readable = true;
            int depth = 0; // cards inside this one (a 2.1 AGENT) are not this card's properties
            int i = first + 1;
            while (i < count) {
                if (isBlankLine(i)) {
                    ++i;
                    continue;
                }
                if (isContinuation(i)) {
                    readable = false;
                    ++i;
                    continue;
                }
                if (isDelimiter(i, "BEGIN")) {
                    const bool agent = !card->properties.isEmpty() && card->properties.last().isNamed("AGENT")
                        && card->value(card->properties.last()).trimmed().isEmpty();
                    if (depth == 0 && !agent) {
                        // This card never ended; the next one begins here.
                        *next = i;
                        return false;
                    }
                    ++depth;
                    ++i;
                    continue;
                }
                if (isDelimiter(i, "END")) {
                    if (depth > 0) {
                        --depth;
                        ++i;
                        continue;
                    }
                    card->endLine = m_lines[i].begin;
                    card->end = m_lines[i].next;
                    *next = i + 1;
                    return readable;
                }
                VCardProperty property;
                const int line = i;
                if (!readProperty(line, &property, &i)) {
                    readable = false;
                    continue;
                }
                if (depth > 0)
                    continue;
                if (property.isNamed("VERSION"))
                    card->version = versionOf(card->value(property));
                card->properties << property;
            }
            *next = count;
            return false;
        }

        const QByteArray& m_bytes;
        QList<Line> m_lines;
    };
} // namespace

VCardReader::Result VCardReader::read(const QByteArray& bytes)
{
    Result result = Parser(bytes).read();
    for (VCard& card : result.cards)
        card.summarize();
    return result;
}

} // namespace Contacts
