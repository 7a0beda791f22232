#pragma once

#include <QLocale>
#include <QString>

#include <vector>

// The Windows locales the program knows, each with its three-letter language abbreviation (the language codes
// of the language modules, "ENU", "HEB") and the means to name it as Windows does in English:
// "English (United States)". Linux has no list of installed Windows locales; this table stands for it.
namespace LanguageCodes {
struct Entry
{
    quint32 lcid;
    const char* abbreviation;
    QLocale::Language language;
    QLocale::Script script; // named only where the table holds the language in more than one script
    QLocale::Territory territory;
    const char* variant; // a sort order Windows adds to the name, or null
};

const std::vector<Entry>& installed();

// The entry of the locale identifier; null when the table has none.
const Entry* find(quint32 lcid);

// "Language (Territory)", "Language (Script, Territory)" or "Language (Territory, Variant)", at most
// MaxDisplayName characters; empty for an identifier the table does not hold.
QString displayName(quint32 lcid);
constexpr int MaxDisplayName = 50;
} // namespace LanguageCodes
