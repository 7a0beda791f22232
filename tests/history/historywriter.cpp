// Adds entries to a history as fast as it can, for the test of two programs writing one history at once.
//
//   historywriter PATH SENDER COUNT START
//
// From START (milliseconds since the epoch) on, adds COUNT sent attempts to the history at PATH, each with
// SENDER as its sender and its number (0, 1, ...) as its message. Exit status 0 when every one was written.
#include "history/HistoryStore.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 5) {
        std::fprintf(stderr, "usage: historywriter PATH SENDER COUNT START\n");
        return 2;
    }
    HistoryStore store(arguments[1]);
    if (!store.isOpen()) {
        std::fprintf(stderr, "%s\n", qPrintable(store.error()));
        return 1;
    }
    // Both writers begin together, each one's program start behind it.
    const qint64 start = arguments[4].toLongLong();
    while (QDateTime::currentMSecsSinceEpoch() < start)
        QThread::msleep(1);
    int failed = 0;
    for (int i = 0, count = arguments[3].toInt(); i < count; ++i) {
        HistoryEntry entry;
        entry.time = QDateTime::currentDateTime();
        entry.sender = arguments[2];
        entry.message = QString::number(i);
        entry.status = 6;
        if (!store.add(entry)) {
            std::fprintf(stderr, "%d: %s\n", i, qPrintable(store.error()));
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}
