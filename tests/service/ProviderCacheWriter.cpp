// Writes two different documents to providers.dat in turn, for ever, until it is killed. The provider
// cache test kills it at some moment during a write and checks that the file is whole.
#include "service/ProviderCache.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QByteArray lineA = QByteArray(100, 'a') + "\r\n";
    const QByteArray lineB = QByteArray(100, 'b') + "\r\n";
    const QByteArray documentA = lineA.repeated(40000) + "<#FINISHED>\r\n";
    const QByteArray documentB = lineB.repeated(50000) + "<#FINISHED>\r\n";
    bool first = true;
    for (;;) {
        if (!ProviderCache::write(path, documentA) || !ProviderCache::write(path, documentB))
            return 1;
        if (first) {
            std::fputs("written\n", stdout);
            std::fflush(stdout);
            first = false;
        }
    }
}
