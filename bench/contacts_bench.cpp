// The import of the address book into the contacts cache: a folder of vCard files in three writers' styles
// (2.1 quoted-printable, 3.0 with a photo, 4.0), imported through the phone book window's refresh button,
// beside a plain read of the same files (the folder listed and every file read) in the same run; the
// window's event loop during the import, watched with a 10 ms timer; and one write-back (the update that a
// post runs) into the full folder. The ratio and the longest wait are printed beside their goals. Ratios
// within one run mean something on a shared machine; the absolute times less so.
//
//   contacts_bench [cards, 10000]
#include "BenchTiming.h"
#include "contacts/PhoneBookSteps.h"
#include "phonebook/PhoneBookTable.h"
#include "phonebook/TPhoneBookForm.h"
#include "settings/SmsIni.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
using namespace BenchTiming;
constexpr int Runs = 5;
// The import may take this many times a plain read of the same files, and the window's event loop must turn
// within LongestWaitBelow ms all through it.
constexpr double MostImportPerRead = 2;
constexpr qint64 LongestWaitBelow = 50;

QByteArray cardText(int i)
{
    const QByteArray n = QByteArray::number(i);
    const QByteArray number = QByteArray::number(1000000 + i);
    switch (i % 3) {
    case 0:
        // Outlook's export: 2.1, the Hebrew name in quoted-printable windows-1255.
        return "BEGIN:VCARD\r\nVERSION:2.1\r\n"
               "N;CHARSET=windows-1255;ENCODING=QUOTED-PRINTABLE:=EB=E4=EF;=E3=F0=E4 "
            + n + "\r\nFN;CHARSET=windows-1255;ENCODING=QUOTED-PRINTABLE:=E3=F0=E4 =EB=E4=EF " + n
            + "\r\nTEL;WORK;VOICE:03-5555555\r\nTEL;CELL;VOICE:052-" + number + "\r\nEMAIL;PREF;INTERNET:dana" + n
            + "@example.org\r\nEND:VCARD\r\n";
    case 1:
        // Evolution: 3.0 with a folded photo and its own X- properties.
        return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:pas-id-" + n + "\r\nFN:Moshe Levi " + n + "\r\nN:Levi;Moshe;;;\r\n"
            + "EMAIL;TYPE=INTERNET;X-EVOLUTION-UI-SLOT=1:moshe" + n + "@example.org\r\n"
            + "ADR;TYPE=HOME:;;Herzl 1;Tel Aviv;;;Israel\r\n"
            + "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQEASABIAAD/2wBDAP//////////////////\r\n"
            + " ////////////////////////////////////////////wgALCAABAAEBAREA/8QAFBABAAAAAAAA\r\n"
            + " AAAAAAAAAAAAAP/aAAgBAQABPxA=\r\n" + "TEL;TYPE=CELL:+972-54-" + number
            + "\r\nX-EVOLUTION-FILE-AS:Levi\\, Moshe\r\nEND:VCARD\r\n";
    default:
        // A 4.0 writer: grouped properties, a tel: URI.
        return "BEGIN:VCARD\nVERSION:4.0\nUID:urn:uuid:" + n + "\nFN:נועה " + n + "\n"
            + "item1.TEL;VALUE=uri;TYPE=\"cell,voice\":tel:050-" + number + "\nitem1.X-ABLabel:mobile\nEND:VCARD\n";
    }
}

// Lists the folder and reads every card file, as any program that reads the address book must.
qint64 plainRead(const QString& folder)
{
    qint64 bytes = 0;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({ QStringLiteral("*.vcf") }, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            bytes += file.readAll().size();
    }
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    // The window runs without a display, and the bench never touches the user's address book or settings.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    qputenv("ZELKORA_APPDIR", QFile::encodeName(dir.filePath(QStringLiteral("app"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
    QApplication app(argc, argv);

    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    const QString folder = dir.filePath(QStringLiteral("data/contacts"));
    QDir().mkpath(folder);
    QDir().mkpath(dir.filePath(QStringLiteral("app")));
    for (int i = 0; i < count; ++i) {
        QFile file(folder + QStringLiteral("/card-%1.vcf").arg(i, 6, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly) || file.write(cardText(i)) < 0)
            return 2;
    }

    SmsIni().setUseOutlook(true);
    PhoneBookTable phoneBook(PhoneBookTable::Kind::PhoneBook);
    PhoneBookTable cache(PhoneBookTable::Kind::OutlookCache);
    TPhoneBookForm form(&phoneBook, &cache, { QStringLiteral("052=052") }, Contacts::phoneBookSteps());
    form.show();
    QCoreApplication::processEvents(); // the first activation imports once; the runs below are refreshes

    QList<double> reads;
    QList<double> imports;
    qint64 bytes = 0;
    for (int run = 0; run < Runs; ++run) {
        reads << millisecondsOf([&] { bytes = plainRead(folder); });
        imports << millisecondsOf([&] { form.reloadButton->click(); });
    }
    const double read = medianOf(reads);
    const double import = medianOf(imports);

    // The longest time the event loop did not turn during one more import.
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = qMax(longest, clock.elapsed() - last);
        last = clock.elapsed();
        ++ticks;
    });
    ticker.start(10);
    clock.start();
    form.reloadButton->click();
    longest = qMax(longest, clock.elapsed() - last);
    const qint64 whole = clock.elapsed();
    ticker.stop();

    // The update a post runs: the folder is read to find the contact, then one card is written.
    TPhoneBookForm::OutlookSteps steps = Contacts::phoneBookSteps();
    const double update = millisecondsOf([&] {
        int row = 0;
        while (row < cache.recordCount() && cache.fieldText(row, QStringLiteral("Name")) != "Moshe Levi 1")
            ++row;
        TPhoneBookForm::Recipient entry { QStringLiteral("Moshe Levi 1"), QStringLiteral("052"),
            QStringLiteral("7654321"), cache.fieldText(row, QStringLiteral("Card")),
            cache.fieldText(row, QStringLiteral("CardDigest")) };
        steps.updateContact(entry);
    });

    const bool consistent = cache.recordCount() == count;
    std::printf("%d cards (%lld bytes), median of %d runs\n", count, static_cast<long long>(bytes), Runs);
    std::printf("  plain read of the files  %8.1f ms\n", read);
    std::printf("  import through the window %7.1f ms   %.2f times the plain read; goal <= %.0f: %s\n", import,
        import / read, MostImportPerRead, import <= MostImportPerRead * read ? "met" : "MISSED");
    std::printf("  during one import of %lld ms the 10 ms timer ran %d times, the longest wait %lld ms; goal < %lld: "
                "%s\n",
        static_cast<long long>(whole), ticks, static_cast<long long>(longest), static_cast<long long>(LongestWaitBelow),
        longest < LongestWaitBelow ? "met" : "MISSED");
    std::printf("  one update written back   %7.1f ms\n", update);
    std::printf("  cache rows %d: %s\n", cache.recordCount(), consistent ? "all cards" : "MISSING CARDS");
    return consistent ? 0 : 1;
}
