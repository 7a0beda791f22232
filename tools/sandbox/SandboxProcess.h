#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>

// Starts zelkora-sandbox (beside the running program) on a free port as a program of its own, as an
// operator's site would be, and returns the address it listens on; empty when it did not say so in 10 s.
inline QString startSandboxProcess(QProcess& sandbox)
{
    sandbox.start(QCoreApplication::applicationDirPath() + QStringLiteral("/zelkora-sandbox"),
        { QStringLiteral("--port"), QStringLiteral("0") });
    QElapsedTimer waited;
    waited.start();
    QByteArray output;
    while (waited.elapsed() < 10000) {
        sandbox.waitForReadyRead(100);
        output += sandbox.readAllStandardOutput() + sandbox.readAllStandardError();
        const qsizetype at = output.indexOf("listening on ");
        if (at >= 0 && output.indexOf('\n', at) > at)
            return QString::fromUtf8(output.mid(at + 13, output.indexOf('\n', at) - at - 13)).trimmed();
    }
    return QString();
}
