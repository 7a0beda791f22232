#pragma once

#include <QCoreApplication>
#include <QString>

// The program's string resources, by their resource numbers. The texts are stored in the order a
// right-to-left box displays them, so some begin with their closing punctuation; they are used as stored.
namespace ResStrings
{
    // Shown when the embedded browser is missing or too old; the program then ends with exit code 1.
    inline QString browserTooOld() // 65254
    {
        return QCoreApplication::translate("ResStrings",
                                           " ,מגירסא 4 ומעלה Interner Explorer דרוש דפדפן\r"
                                           ".או שהדפדפן אינו מותקן כראוי");
    }
} // namespace ResStrings
