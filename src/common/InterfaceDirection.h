#pragma once

#include <QCoreApplication>
#include <QLatin1String>
#include <Qt>

// The reading direction of the interface language in force. A language module says "LTR" or "RTL" as its
// translation of QT_LAYOUT_DIRECTION (the text Qt itself asks its translations for); the built-in Hebrew
// reads right to left. Every window takes its direction from here when it is made.
inline Qt::LayoutDirection interfaceDirection()
{
    return QCoreApplication::translate("QGuiApplication", "QT_LAYOUT_DIRECTION") == QLatin1String("LTR")
        ? Qt::LeftToRight
        : Qt::RightToLeft;
}
