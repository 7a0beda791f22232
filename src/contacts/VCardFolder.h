#pragma once

#include "common/ErrorReport.h"
#include "contacts/VCard.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace Contacts {

// A card changed or removed on disk by another program since this folder read it. Nothing was written.
class CardChangedError : public ZelkoraError
{
public:
    using ZelkoraError::ZelkoraError;
};

// A folder of vCard files as the Linux address-book tools keep it (a "vdir"): one .vcf file a contact,
// named after its UID. Files are read once, in file-name order; a file may hold several cards.
//
// Every write replaces its file atomically (a temporary file in the same folder, renamed over it) and
// changes only the bytes of the lines it must: every other property, its parameters, folding and order,
// the other cards of the file and whatever could not be read stay byte for byte. Before a write the file
// is read again; when it is no longer what this folder read, the write is refused with CardChangedError,
// so a change made meanwhile by another program is never overwritten.
class VCardFolder
{
    Q_DECLARE_TR_FUNCTIONS(Contacts::VCardFolder)
public:
    // Which card: a file of the folder and the card's place in it as first read.
    struct CardId
    {
        int file = -1;
        int slot = -1;
    };

    // Only the values given are changed.
    struct Changes
    {
        std::optional<QString> fullName;
        std::optional<QString> mobileNumber; // "" removes the number
    };

    explicit VCardFolder(const QString& path);

    QString path() const { return m_path; }

    // Reads the folder's *.vcf files the first time it is called, a slice of files at a time, and calls
    // `sliceRead` after each slice has joined cardCount(), so that a caller can pass the cards on while the
    // rest is read. Every file is read once, and its cards' identities and digests are taken then. Throws
    // ZelkoraError when the folder cannot be listed; a file or a card that cannot be read is counted, not
    // thrown.
    void load(const std::function<void()>& sliceRead = {});
    // The cards read, in order; valid after load().
    int cardCount() const { return int(m_cards.size()); }
    CardId cardAt(int index) const { return m_cards.value(index); }
    int unreadableCount() const { return m_unreadable; }

    // Null for a card removed since.
    const VCard* card(CardId id) const;
    // The card's identity, which outlives this folder object: its file's name and its UID, or, for a card
    // without a UID, its file's name and its full name.
    QString entryId(CardId id) const;
    // A digest of the card's bytes as they stand in its file now (as read, or as last written here).
    QString digest(CardId id) const;
    // The card of that identity; nothing when there is none. Throws ZelkoraError when several cards share it
    // (a file of cards without UIDs, two of one name).
    std::optional<CardId> findEntry(const QString& entryId) const;

    void change(CardId id, const Changes& changes);
    void remove(CardId id);
    // Writes a new card to a file named after its new UID and returns it.
    CardId create(const QString& fullName, const QString& mobileNumber);

private:
    struct File
    {
        QString path;
        QByteArray bytes; // as read, or as last written here
        QList<VCard> cards; // the readable cards of `bytes`
        QList<int> places; // a card's first place -> its index in `cards`, -1 once removed
        // entryId() and digest() of each of `cards`, taken whenever `cards` is read
        QStringList entryIds;
        QStringList digests;
    };

    // Takes the identities and digests of the file's cards; after every read of `cards`.
    static void identifyCards(File& file);
    File& fileOf(CardId id);
    // Throws unless the file still holds exactly what was read.
    void checkUnchanged(const File& file) const;
    void write(File& file, const QByteArray& bytes);

    QString m_path;
    bool m_loaded = false;
    QList<File> m_files;
    QList<CardId> m_cards;
    int m_unreadable = 0;
};

} // namespace Contacts
