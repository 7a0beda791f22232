#pragma once

#include <QString>
#include <QStringList>

// A settings file in the profile format ("[Section]" headings, "Key=Value" lines) with the behaviour of the
// Windows profile functions the settings were designed around:
// - section and key names match without regard to letter case, and blanks around names and values are
//   not part of them;
// - a string read returns at most MaxValueLength characters, the default when the key is missing;
// - integers are read as signed decimal, or as hexadecimal after "0x"; anything else gives the default;
// - booleans are written "1" and "0" and read as integers, any non-zero value meaning true.
//
// Nothing is cached: every call opens the file, reads or rewrites it, and closes it again, so a value written
// by another program between two calls is seen by the second. A write keeps every line it does not change
// (other sections and keys, comments, blank lines, the line-end style) and replaces the file atomically
// (a temporary file in the same folder renamed over it), always with mode 0600 because the file holds passwords.
//
// The file is UTF-8. A file that is not valid UTF-8 (one carried over from a Windows installation) is read as
// the Hebrew code page windows-1255 and written back as UTF-8 by the next write.
class ProfileFile
{
public:
    // The Windows read buffer held 2048 bytes with the terminator.
    static constexpr int MaxValueLength = 2047;

    explicit ProfileFile(const QString& path);

    // The file's full path.
    QString fileName() const { return m_path; }

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    qint32 ReadInteger(const QString& section, const QString& key, qint32 defaultValue) const;
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    // Every section's name as its heading spells it, in file order, each once (letter case aside).
    QStringList SectionNames() const;

    // A write the file system refuses raises ZelkoraError("Unable to write to <file name>"). The folder is
    // created when missing. Line breaks in the value or the section name become blanks, since the format
    // cannot hold them; a value with blanks or quotes at its ends is written in quotes so that it reads back
    // unchanged.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, qint32 value);
    void WriteBool(const QString& section, const QString& key, bool value);

    // Every write has reached the disk when it returns, so there is nothing left to flush; kept so that users
    // of the file follow the open, read or write, flush, close pattern the settings rely on.
    void UpdateFile() const { }

    // True when the file can be read or does not exist yet; false when it exists but cannot be read.
    bool isAccessible() const;

    // The integer rule of the profile reads: "0x" or "0X" followed by up to eight hexadecimal digits (wrapping
    // into the signed range), or a signed decimal integer; a space or tab at either end, or anything else,
    // gives the default.
    static qint32 parseInteger(const QString& text, qint32 defaultValue);

private:
    QString m_path;
};
