#pragma once

#include <QString>

// Text from outside (names from a recipient file, messages, providers' names, sites' addresses) as a terminal
// may show it: every control character, tabs and line ends included, is written as a visible escape
// (\x1b, \t, ...), so that such text can neither move the cursor, retitle or colour the terminal, nor break
// the tab-separated columns around it.
inline QString visibleText(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0))
            shown += u == u'\t' ? QStringLiteral("\\t")
                : u == u'\n'    ? QStringLiteral("\\n")
                : u == u'\r'    ? QStringLiteral("\\r")
                                : QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}
