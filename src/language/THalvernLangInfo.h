#pragma once

#include <QString>

// One locale of the system: its Windows identifier and its three-letter language abbreviation, the language
// code. The display name is looked up on first request and kept.
class THalvernLangInfo
{
public:
    THalvernLangInfo(quint32 locale, const QString& abbreviation);

    quint32 Locale;
    QString Abbreviation;

    // The locale's name in English, "English (United States)"; at most 50 characters.
    const QString& DisplayName() const;

private:
    mutable QString m_displayName;
    mutable bool m_loaded = false;
};
