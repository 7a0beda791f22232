#pragma once

#include <QString>
#include <QVector>

// One banner of the service's list.
struct TCacheEntry
{
    QString Name; // key for impressions; part of the banner's cache file name
    QString BannerType; // file extension of the picture; chooses the decoder
    QString URL; // where the picture is downloaded from; an entry without one is never shown
    QString HomeURL; // opened when the banner is clicked
    quint32 Interval = 0; // milliseconds the banner stays
    quint32 Hits = 0; // impressions not yet acknowledged by the service

    bool operator==(const TCacheEntry& other) const
    {
        return Name == other.Name && BannerType == other.BannerType && URL == other.URL && HomeURL == other.HomeURL
            && Interval == other.Interval && Hits == other.Hits;
    }
};

using TCacheArray = QVector<TCacheEntry>;

// The banner list. Names are matched exactly, letter case included: "A" and "a" are two banners.
class TCacheTable
{
public:
    qsizetype Count() const { return m_entries.size(); }
    // New entries are empty.
    void SetCount(qsizetype count) { m_entries.resize(count); }
    void Clear() { m_entries.clear(); }
    void Append(const TCacheEntry& entry) { m_entries.append(entry); }
    // The table becomes a copy of all the source's entries.
    void Assign(const TCacheTable& source) { m_entries = source.m_entries; }

    TCacheEntry& operator[](qsizetype index) { return m_entries[index]; }
    const TCacheEntry& operator[](qsizetype index) const { return m_entries[index]; }
    const TCacheArray& entries() const { return m_entries; }

    // The first index whose Name equals `name`, or -1.
    qsizetype IndexOfName(const QString& name) const;
    // For each entry of `other`, in order, whose Name is found here, the found entry takes its Hits.
    void CopyHitsFrom(const TCacheTable& other);
    void ResetHits();
    void AddHit(const QString& name);
    // "Name=Hits" for each entry with impressions and a name, each followed by a comma unless the entry is
    // the table's last, so the text ends with a comma when the last entries have none.
    QString HitsText() const;

    // The banner table's file: one line an entry, "Name,BannerType,URL,HomeURL,Interval,Hits" in the
    // service's single-byte code page, CR LF after each. An empty table leaves the file as it was; the file
    // is replaced whole or not at all: false, with the reason in `error`, when it could not be written.
    bool SaveToFile(const QString& path, QString* error = nullptr) const;
    // Replaces the entries with the file's. A line whose commas run out leaves the later fields empty, the
    // interval 10000 and the rest of the line read as impressions; a line without any comma names no
    // banner and is dropped, so that it can never stop the rotation. A missing file gives an empty table.
    void LoadFromFile(const QString& path);

private:
    TCacheArray m_entries;
};
