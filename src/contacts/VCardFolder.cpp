#include "VCardFolder.h"
#include "common/AtomicFile.h"

#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QScopeGuard>
#include <QThreadPool>
#include <QUuid>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace Contacts {

namespace {
    // Files read between two reports of load(): a few milliseconds' reading.
    constexpr qsizetype FilesPerSlice = 256;

    struct Edit
    {
        qsizetype begin;
        qsizetype end;
        QByteArray bytes;
    };

    QByteArray applied(QByteArray bytes, QList<Edit> edits)
    {
        // From the end backwards, so that the offsets of the edits still to come stay right.
        std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.begin > b.begin; });
        for (const Edit& edit : edits)
            bytes.replace(edit.begin, edit.end - edit.begin, edit.bytes);
        return bytes;
    }

    bool readBytes(const QString& path, QByteArray* bytes)
    {
        // Unbuffered, the file is read straight into `bytes`, without a buffer of QFile's own for each file.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return false;
        *bytes = file.readAll();
        return file.error() == QFileDevice::NoError;
    }

    // What is left of a file once its last card is gone: nothing that is a card.
    bool holdsNothing(const QByteArray& bytes)
    {
        return bytes.trimmed().isEmpty() || bytes == "\xEF\xBB\xBF" || bytes.trimmed() == "\xEF\xBB\xBF";
    }
} // namespace

VCardFolder::VCardFolder(const QString& path)
    : m_path(path)
{
}

void VCardFolder::load(const std::function<void()>& sliceRead)
{
    if (m_loaded)
        return;
    const QFileInfo info(m_path);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable())
        throw ZelkoraError(tr("אין אפשרות לקרוא את תיקיית אנשי הקשר %1").arg(m_path));
    // The files of QDir::entryList(..., QDir::Files, QDir::Name) in its order (by name, letter case counting),
    // sorted as names rather than as file information, in half the time; no file is read until the folder
    // is listed.
    const QDir dir(m_path);
    QStringList paths;
    for (QDirIterator it(m_path, { QStringLiteral("*.vcf") }, QDir::Files); it.hasNext();) {
        it.next();
        paths << it.fileName();
    }
    std::sort(paths.begin(), paths.end());
    for (QString& name : paths)
        name = dir.filePath(name);
    // Set before the slices, so that a load cut short never reads a file twice.
    m_loaded = true;

    // Files are read, parsed and identified on every core at once: for a large address book the reading is
    // most of the wait. The results come back in the files' order.
    struct Read
    {
        File file;
        int unreadable = 0;
    };
    const auto readFile = [](const QString& path) {
        Read read;
        read.file.path = path;
        if (!readBytes(path, &read.file.bytes)) {
            read.unreadable = 1;
            return read;
        }
        VCardReader::Result cards = VCardReader::read(read.file.bytes);
        read.unreadable = cards.unreadable;
        read.file.cards = std::move(cards.cards);
        identifyCards(read.file);
        return read;
    };

    // The files are taken in order as each is ready, while the next ones are read; every FilesPerSlice files
    // the caller hears of them. The readers are a pool of their own: Qt paints with the global pool's
    // threads, and a window would wait behind the whole folder for them.
    QThreadPool readers;
    QFuture<Read> reads = QtConcurrent::mapped(&readers, paths, readFile);
    const auto stopReading = qScopeGuard([&reads] {
        reads.cancel();
        reads.waitForFinished();
    });
    m_files.reserve(paths.size());
    m_cards.reserve(paths.size());
    for (int i = 0; i < paths.size(); ++i) {
        const Read read = reads.resultAt(i);
        m_unreadable += read.unreadable;
        if (!read.file.cards.isEmpty()) {
            const int index = int(m_files.size());
            m_files << read.file;
            for (int slot = 0; slot < read.file.cards.size(); ++slot) {
                m_files.last().places << slot;
                m_cards << CardId { index, slot };
            }
        }
        if (sliceRead && ((i + 1) % FilesPerSlice == 0 || i + 1 == paths.size()))
            sliceRead();
    }
}

void VCardFolder::identifyCards(File& file)
{
    const QString name = QFileInfo(file.path).fileName();
    file.entryIds.clear();
    file.digests.clear();
    for (const VCard& card : std::as_const(file.cards)) {
        const QString uid = card.uid();
        file.entryIds << (uid.isEmpty() ? name + QStringLiteral("\n\n") + card.fullName()
                                        : name + QLatin1Char('\n') + uid);
        const QByteArrayView bytes = QByteArrayView(card.source).sliced(card.begin, card.end - card.begin);
        file.digests << QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    }
}

const VCard* VCardFolder::card(CardId id) const
{
    if (id.file < 0 || id.file >= m_files.size())
        return nullptr;
    const File& file = m_files[id.file];
    const int index = file.places.value(id.slot, -1);
    return index < 0 ? nullptr : &file.cards[index];
}

QString VCardFolder::entryId(CardId id) const
{
    if (!card(id))
        return QString();
    const File& file = m_files[id.file];
    return file.entryIds[file.places[id.slot]];
}

QString VCardFolder::digest(CardId id) const
{
    if (!card(id))
        return QString();
    const File& file = m_files[id.file];
    return file.digests[file.places[id.slot]];
}

std::optional<VCardFolder::CardId> VCardFolder::findEntry(const QString& entryId) const
{
    std::optional<CardId> found;
    if (entryId.isEmpty())
        return found;
    for (const CardId& id : m_cards) {
        if (this->entryId(id) != entryId)
            continue;
        if (found)
            throw ZelkoraError(tr("כמה כרטיסי אנשי קשר בקובץ %1 נושאים אותו שם ואין להם מזהה, ולכן אי אפשר "
                                  "לדעת לאיזה מהם הכוונה; דבר לא נכתב.")
                                   .arg(entryId.section(QLatin1Char('\n'), 0, 0)));
        found = id;
    }
    return found;
}

VCardFolder::File& VCardFolder::fileOf(CardId id)
{
    if (!card(id))
        throw ZelkoraError(tr("איש הקשר כבר נמחק"));
    return m_files[id.file];
}

void VCardFolder::checkUnchanged(const File& file) const
{
    const QString name = QFileInfo(file.path).fileName();
    QByteArray now;
    if (!readBytes(file.path, &now))
        throw CardChangedError(tr("כרטיס איש הקשר %1 נמחק בידי תוכנה אחרת מאז שנקרא; דבר לא נכתב.").arg(name));
    if (now != file.bytes) {
        throw CardChangedError(
            tr("כרטיס איש הקשר %1 שונה בידי תוכנה אחרת מאז שנקרא, ולכן השינוי לא נשמר. נסה שוב.").arg(name));
    }
}

void VCardFolder::write(File& file, const QByteArray& bytes)
{
    QString error;
    if (!AtomicFile::write(file.path, bytes, &error))
        throw ZelkoraError(tr("אין אפשרות לכתוב את %1: %2").arg(QFileInfo(file.path).fileName(), error));
    file.bytes = bytes;
}

void VCardFolder::change(CardId id, const Changes& changes)
{
    File& file = fileOf(id);
    const int index = file.places[id.slot];
    const VCard& card = file.cards[index];

    QList<Edit> edits;
    if (changes.fullName && *changes.fullName != card.fullName()) {
        const int fn = card.indexOf("FN");
        if (fn >= 0) {
            const VCardProperty& property = card.properties[fn];
            edits << Edit { property.begin, property.end, VCardWriter::changedLine(card, property, *changes.fullName) };
        } else {
            edits << Edit { card.endLine, card.endLine, VCardWriter::newLine(card, "FN", *changes.fullName) };
        }
    }
    if (changes.mobileNumber && *changes.mobileNumber != card.mobileNumber()) {
        const QString& number = *changes.mobileNumber;
        const int tel = card.mobileIndex();
        if (tel < 0) {
            edits << Edit { card.endLine, card.endLine, VCardWriter::newLine(card, "TEL", number) };
        } else {
            const VCardProperty& property = card.properties[tel];
            QByteArray line;
            if (!number.isEmpty()) {
                const bool scheme = card.text(property).startsWith(QLatin1String("tel:"), Qt::CaseInsensitive);
                line = VCardWriter::changedLine(card, property, scheme ? QStringLiteral("tel:") + number : number);
            }
            edits << Edit { property.begin, property.end, line };
        }
    }
    if (edits.isEmpty())
        return;

    checkUnchanged(file);
    const QByteArray bytes = applied(file.bytes, edits);
    // What is written must read back as meant, with the file's other cards where they were.
    VCardReader::Result reread = VCardReader::read(bytes);
    const bool meant = reread.cards.size() == file.cards.size()
        && (!changes.fullName || reread.cards[index].fullName() == *changes.fullName)
        && (!changes.mobileNumber || changes.mobileNumber->isEmpty()
            || reread.cards[index].mobileNumber() == *changes.mobileNumber);
    if (!meant)
        throw ZelkoraError(
            tr("השינוי בכרטיס %1 לא נשמר: הכרטיס לא נקרא כראוי לאחר השינוי.").arg(QFileInfo(file.path).fileName()));
    write(file, bytes);
    file.cards = std::move(reread.cards);
    identifyCards(file);
}

void VCardFolder::remove(CardId id)
{
    File& file = fileOf(id);
    const int index = file.places[id.slot];
    checkUnchanged(file);
    const VCard& card = file.cards[index];
    const QByteArray rest = applied(file.bytes, { Edit { card.begin, card.end, QByteArray() } });
    if (holdsNothing(rest)) {
        QFile out(file.path);
        if (!out.remove())
            throw ZelkoraError(
                tr("אין אפשרות למחוק את %1: %2").arg(QFileInfo(file.path).fileName(), out.errorString()));
        AtomicFile::syncFolder(m_path);
        file.bytes.clear();
        file.cards.clear();
    } else {
        // The file's other cards stay.
        VCardReader::Result reread = VCardReader::read(rest);
        write(file, rest);
        file.cards = std::move(reread.cards);
    }
    identifyCards(file);
    file.places[id.slot] = -1;
    for (int& later : file.places) {
        if (later > index)
            --later;
    }
}

VCardFolder::CardId VCardFolder::create(const QString& fullName, const QString& mobileNumber)
{
    const QString uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    File file;
    file.path = QDir(m_path).filePath(uid + QStringLiteral(".vcf"));
    if (QFileInfo::exists(file.path))
        throw ZelkoraError(tr("אין אפשרות לכתוב את %1: הקובץ קיים").arg(QFileInfo(file.path).fileName()));
    const QByteArray bytes = VCardWriter::newCard(uid, fullName, mobileNumber);
    write(file, bytes);
    file.cards = VCardReader::read(bytes).cards;
    identifyCards(file);
    file.places << 0;
    m_files << file;
    const CardId id { int(m_files.size()) - 1, 0 };
    m_cards << id;
    return id;
}

} // namespace Contacts
