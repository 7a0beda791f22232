#pragma once

#include <QByteArray>
#include <QString>

// Helpers shared by the tests.
namespace TestEnv
{
    // Empties the folder (creating it when missing) and returns its path with a trailing '/'.
    QString freshDir(const QString& path);
    // The program folder of this test (ZELKORA_APPDIR), emptied.
    QString freshAppDir();
    // The settings folder of this test ($XDG_CONFIG_HOME/zelkora/), emptied.
    QString freshConfigDir();
    QByteArray readFile(const QString& path);
    void writeFile(const QString& path, const QByteArray& content);
} // namespace TestEnv
