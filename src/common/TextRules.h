#pragma once

#include <QChar>

// The two rules the program's stored formats use for "blank", under names that say which is which.
namespace TextRules {
// Character codes 1 to 32: the separators of the service's tag language and of comma text (a NUL is none).
constexpr bool isControlOrBlank(char16_t c)
{
    return c >= 1 && c <= 32;
}
inline bool isControlOrBlank(QChar c)
{
    return isControlOrBlank(c.unicode());
}
inline bool isControlOrBlank(char c)
{
    return isControlOrBlank(char16_t(static_cast<unsigned char>(c)));
}

// A space or a tab: what profile files and vCard lines trim.
constexpr bool isSpaceOrTab(char16_t c)
{
    return c == u' ' || c == u'\t';
}
inline bool isSpaceOrTab(QChar c)
{
    return isSpaceOrTab(c.unicode());
}
inline bool isSpaceOrTab(char c)
{
    return c == ' ' || c == '\t';
}

// The value of a hexadecimal digit in either letter case; -1 for any other character.
constexpr int hexDigitValue(char16_t c)
{
    return c >= u'0' && c <= u'9' ? c - u'0'
        : c >= u'a' && c <= u'f'  ? c - u'a' + 10
        : c >= u'A' && c <= u'F'  ? c - u'A' + 10
                                  : -1;
}
inline int hexDigitValue(QChar c)
{
    return hexDigitValue(c.unicode());
}
inline int hexDigitValue(char c)
{
    return hexDigitValue(char16_t(static_cast<unsigned char>(c)));
}
} // namespace TextRules
