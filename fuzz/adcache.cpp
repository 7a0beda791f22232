// adcache.dat, the banner table kept between runs: read, counted, written and read again.

#include "FuzzSupport.h"

#include "service/TCacheTable.h"

#include <QFile>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzSupport::MemoryFile input;
    input.set(data, size);

    TCacheTable table;
    table.LoadFromFile(input.path());
    // One entry at most for each line, and only for lines with a comma.
    const QByteArray raw = FuzzSupport::bytes(data, size);
    FUZZ_CHECK(table.Count() <= raw.count('\n') + 1);
    FUZZ_CHECK(table.Count() <= raw.count(','));
    if (table.Count() == 0)
        return 0;

    // The rotation's use of it.
    TCacheTable copy;
    copy.Assign(table);
    copy.AddHit(table[0].Name);
    table.CopyHitsFrom(copy);
    (void)table.HitsText();

    // What is written is read back as it was written: after one round, the file no longer changes.
    const QString path = FuzzSupport::scratchDir() + QStringLiteral("/adcache.dat");
    QFile::remove(path);
    table.SaveToFile(path);
    const QByteArray first = FuzzSupport::contents(path);
    FUZZ_CHECK(!first.isEmpty());
    TCacheTable reread;
    reread.LoadFromFile(path);
    FUZZ_CHECK(reread.Count() == table.Count());
    QFile::remove(path);
    reread.SaveToFile(path);
    FUZZ_CHECK(FuzzSupport::contents(path) == first);
    for (qsizetype i = 0; i < table.Count(); ++i) {
        FUZZ_CHECK(reread[i].Interval == table[i].Interval);
        FUZZ_CHECK(reread[i].Hits == table[i].Hits);
    }
    return 0;
}
