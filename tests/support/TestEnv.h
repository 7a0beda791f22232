#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Helpers shared by the tests.
namespace TestEnv {
// Empties the folder (creating it when missing) and returns its path with a trailing '/'.
QString freshDir(const QString& path);
// The program folder of this test (ZELKORA_APPDIR), emptied.
QString freshAppDir();
// The settings folder of this test ($XDG_CONFIG_HOME/zelkora/), emptied.
QString freshConfigDir();
QByteArray readFile(const QString& path);
// Removes the proxy variables libcurl reads, so that requests to 127.0.0.1 go there directly.
void noProxy();
void writeFile(const QString& path, const QByteArray& content);

// What a program run by runProgram did. exitCode -2: it crashed; -1: it did not start or did not end.
struct ProgramRun
{
    int exitCode = -1;
    QString out; // standard output and error, read as UTF-8
    QString err;
    QByteArray outBytes;
    QByteArray errBytes;
};
// Runs a program to its end while this process goes on handling its own events (a sandbox it serves);
// one that has not ended within `timeoutMs` is killed.
ProgramRun runProgram(const QString& program, const QStringList& arguments,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(), int timeoutMs = 60000);
} // namespace TestEnv
