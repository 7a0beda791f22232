#include "TestEnv.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QtTest>

QString TestEnv::freshDir(const QString& path)
{
    QDir dir(path);
    dir.removeRecursively();
    QDir().mkpath(path);
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QString TestEnv::freshAppDir()
{
    const QString dir = qEnvironmentVariable("ZELKORA_APPDIR");
    if (dir.isEmpty())
        qFatal("ZELKORA_APPDIR is not set; run the test through ctest");
    return freshDir(dir);
}

QString TestEnv::freshConfigDir()
{
    const QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        qFatal("XDG_CONFIG_HOME is not set; run the test through ctest");
    return freshDir(base + QStringLiteral("/zelkora"));
}

QByteArray TestEnv::readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void TestEnv::writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(content);
}

TestEnv::ProgramRun TestEnv::runProgram(
    const QString& program, const QStringList& arguments, const QProcessEnvironment& environment, int timeoutMs)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForStarted(10000))
        return run;
    QElapsedTimer timer;
    timer.start();
    while (process.state() != QProcess::NotRunning && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.outBytes = process.readAllStandardOutput();
    run.errBytes = process.readAllStandardError();
    run.out = QString::fromUtf8(run.outBytes);
    run.err = QString::fromUtf8(run.errBytes);
    return run;
}

void TestEnv::noProxy()
{
    for (const char* name : { "http_proxy", "https_proxy", "HTTPS_PROXY", "ALL_PROXY", "all_proxy" })
        qunsetenv(name);
}
