// Filling a recipient table record by record (each store re-reads the model, as a user's additions do)
// against one bulk store, and the cost of writing and reading the table's file. Ratios within one run mean
// something on a shared machine; the absolute times do not.
#include "phonebook/PhoneBookTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {
QList<QStringList> contacts(int count)
{
    QList<QStringList> records;
    for (int i = 0; i < count; ++i) {
        records << QStringList { QStringLiteral("איש קשר %1").arg((i * 7919) % count), QStringLiteral("052"),
            QString::number(1000000 + i), QString() };
    }
    return records;
}

double millisecondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    const QList<QStringList> records = contacts(count);

    PhoneBookTable oneByOne(PhoneBookTable::Kind::OutlookCache);
    const double single = millisecondsOf([&] {
        for (const QStringList& record : records)
            oneByOne.appendRecord(record);
    });
    PhoneBookTable bulk(PhoneBookTable::Kind::OutlookCache);
    const double together = millisecondsOf([&] { bulk.appendRecords(records); });

    const QString path = dir.filePath(QStringLiteral("outlook.db"));
    const double save = millisecondsOf([&] { bulk.saveToFile(path); });
    PhoneBookTable loaded(PhoneBookTable::Kind::OutlookCache);
    const double load = millisecondsOf([&] { loaded.loadFromFile(path); });

    std::printf("%d records\n", count);
    std::printf("  one by one   %9.1f ms\n", single);
    std::printf("  in bulk      %9.1f ms   (%.0f times faster)\n", together, single / together);
    std::printf("  save to file %9.1f ms\n", save);
    std::printf("  load file    %9.1f ms   (%d records read)\n", load, loaded.recordCount());
    return loaded.recordCount() == count ? 0 : 1;
}
