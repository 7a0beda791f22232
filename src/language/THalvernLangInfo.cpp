#include "THalvernLangInfo.h"

#include "language/LanguageCodes.h"

THalvernLangInfo::THalvernLangInfo(quint32 locale, const QString& abbreviation)
    : Locale(locale)
    , Abbreviation(abbreviation)
{
}

const QString& THalvernLangInfo::DisplayName() const
{
    if (!m_loaded) {
        m_displayName = LanguageCodes::displayName(Locale);
        m_loaded = true;
    }
    return m_displayName;
}
