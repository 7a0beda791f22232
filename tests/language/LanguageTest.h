#pragma once

#include "TestEnv.h"
#include "common/UserPrompt.h"
#include "language/THalvernLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtTest>

// Helpers of the language tests: a program folder whose name holds a dot, modules compiled from the fixtures,
// and a user's pick in the language list.
namespace LanguageTest {
// "<program folder>/Zelkora.1.11/", emptied, holding the program file "zelkora".
inline QString programFolder()
{
    QString folder = TestEnv::freshDir(TestEnv::freshAppDir() + QStringLiteral("Zelkora.1.11"));
    TestEnv::writeFile(folder + QStringLiteral("zelkora"),
        QByteArrayLiteral("\x7f"
                          "ELF"));
    return folder;
}

// Puts a module into the folder: "english" or "hebrew" compiled from the fixtures, or "damaged", a file
// that is no translation.
inline void installModule(const QString& folder, const QString& fileName, const QString& content)
{
    if (content == QLatin1String("damaged")) {
        TestEnv::writeFile(folder + fileName, QByteArrayLiteral("MZ this is no translation\n"));
        return;
    }
    if (content == QLatin1String("overlong")) {
        // A translation's header and blocks as Qt reads them, whose one message claims 2 GB of source text:
        // Qt's own reader takes it, and its first lookup reads far past the file.
        TestEnv::writeFile(folder + fileName,
            QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd42000000080496b44e000000006900000005067ffffff0"));
        return;
    }
    const QString compiled = QStringLiteral(LANGUAGE_TEST_MODULES "/") + content + QStringLiteral(".qm");
    QFile::remove(folder + fileName);
    if (!QFile::copy(compiled, folder + fileName))
        qFatal("cannot copy %s", qPrintable(compiled));
}

// The code of the module whose texts are in force ("ENU", "HEB"); empty for the built-in texts.
inline QString languageInForce()
{
    const QString probe = QCoreApplication::translate("LanguageTest", "module");
    return probe == QLatin1String("module") ? QString() : probe;
}

// Picks the language of `code` with the arrow keys, as a user does: one key press for each item on the way.
inline void pick(THalvernLanguage& list, const QString& code)
{
    const int target = list.itemOfCode(code);
    QVERIFY2(target >= 0, qPrintable(code + QStringLiteral(" is not listed")));
    const int from = list.currentIndex();
    for (int step = 0; step < qAbs(target - from); ++step)
        QTest::keyClick(&list, from < target ? Qt::Key_Down : Qt::Key_Up);
}

} // namespace LanguageTest
