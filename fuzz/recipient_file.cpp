// The recipient files zelkora-cli sends to (--to-file): a CSV file from a spreadsheet or a vCard file from
// an address book, whichever other program wrote it. The first byte picks the extension: odd .vcf, even
// .csv.

#include "FuzzSupport.h"

#include "common/ListLine.h"
#include "contacts/MobileNumber.h"
#include "contacts/RecipientFile.h"

#include <QRegularExpression>

namespace {
bool isDigits(const QString& text)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return !text.isEmpty();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const bool vCard = (data[0] & 1) != 0;
    const QByteArray bytes = FuzzSupport::bytes(data + 1, size - 1);
    const QString path = FuzzSupport::scratchDir() + (vCard ? QStringLiteral("/list.vcf") : QStringLiteral("/list.csv"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(bytes) == bytes.size());
    }

    const Contacts::RecipientFileResult result = Contacts::RecipientFile::read(path, QStringLiteral("972"));
    // A vCard file counts its lines by LF; a CSV file by LF, CR LF and a CR alone.
    qsizetype lines = 1 + bytes.count('\n');
    if (!vCard) {
        for (qsizetype i = 0; i < bytes.size(); ++i)
            lines += bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n') ? 1 : 0;
    }

    // A file that was read gives its recipients and problems; only a file without any card, or a CSV header
    // without a number column, is refused whole.
    if (!result.error.isEmpty()) {
        FUZZ_CHECK(result.recipients.isEmpty() && result.problems.isEmpty());
        FUZZ_CHECK(vCard || result.error.endsWith(QLatin1String("names no phone number column")));
        return 0;
    }
    FUZZ_CHECK(!result.recipients.isEmpty() || !result.problems.isEmpty() || !vCard);
    FUZZ_CHECK(result.recipients.size() + result.problems.size() <= lines);

    static const QRegularExpression problemLine(QStringLiteral("^line ([1-9][0-9]*): "));
    for (const QString& problem : result.problems) {
        const QRegularExpressionMatch match = problemLine.match(problem);
        FUZZ_CHECK(match.hasMatch());
        FUZZ_CHECK(match.captured(1).toLongLong() <= lines);
    }

    int previousLine = 1;
    for (const Contacts::FileRecipient& r : result.recipients) {
        FUZZ_CHECK(r.line >= previousLine && r.line <= lines);
        previousLine = r.line;
        // The local form the providers serve: 0 and one or two digits, then seven digits.
        FUZZ_CHECK(isDigits(r.area) && r.area.startsWith(QLatin1Char('0')) && r.area.size() >= 2 && r.area.size() <= 3);
        FUZZ_CHECK(isDigits(r.phone) && r.phone.size() == 7);
        const std::optional<Contacts::MobileNumber> again
            = Contacts::MobileNumber::local(Contacts::MobileNumber::joined(r.area, r.phone), QStringLiteral("972"));
        FUZZ_CHECK(again && again->area == r.area && again->phone == r.phone);

        // The name goes into one list line: no line break, no blanks around it, and the line the CLI makes
        // of the recipient reads back as that recipient.
        FUZZ_CHECK(!r.name.contains(QLatin1Char('\n')) && !r.name.contains(QLatin1Char('\r')));
        FUZZ_CHECK(r.name == r.name.simplified());
        const QString name = QString(r.name).replace(QLatin1Char('='), QLatin1Char(' '));
        const ListLine line = ListLine::parse(ListLine { name, r.area, r.phone }.text());
        FUZZ_CHECK(line.name == name && line.area == r.area && line.phone == r.phone);
    }
    return 0;
}
