// Writes the program's files with the program's own writers, over and over, so that a test can kill it at
// any moment: providers.dat (ServiceState::SaveProviderCache), SMS.INI (SmsIni), adcache.dat
// (TCacheTable::SaveToFile), phonebook.db (PhoneBookTable::saveToFile) and a contact's vCard
// (Contacts::VCardFolder). Each file takes one of two contents, "old" and "new", in turn.
//
//   crashwriter prepare REFERENCES   writes every file in both states once and keeps a copy of each state's
//                                    bytes in REFERENCES as <file>.old and <file>.new (the vCard: card.old,
//                                    card.new); the files are left in the new state
//   crashwriter loop                 prints "ready" and then writes old, new, old, ... until it is killed,
//                                    printing "w" after each file
//
// The files live where the program keeps them: ZELKORA_APPDIR, $XDG_CONFIG_HOME/zelkora; the vCard folder is
// ZELKORA_APPDIR/contacts.
#include "CrashFiles.h"

#include "common/AppPaths.h"
#include "contacts/VCardFolder.h"
#include "phonebook/PhoneBookTable.h"
#include "service/ServiceState.h"
#include "service/TCacheTable.h"
#include "settings/SmsIni.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <functional>
#include <memory>

namespace {
struct Writers
{
    TProviders providers;
    QStringList areaDefs;
    ServiceState service { providers, areaDefs };
    TCacheTable adverts[2];
    std::unique_ptr<PhoneBookTable> phoneBooks[2] { std::make_unique<PhoneBookTable>(PhoneBookTable::Kind::PhoneBook),
        std::make_unique<PhoneBookTable>(PhoneBookTable::Kind::PhoneBook) };
    Contacts::VCardFolder contacts { CrashFiles::contactsFolder() };
    Contacts::VCardFolder::CardId card;

    Writers()
    {
        for (int state = 0; state < 2; ++state) {
            for (const TCacheEntry& entry : CrashFiles::banners(state))
                adverts[state].Append(entry);
            phoneBooks[state]->appendRecords(CrashFiles::recipients(state));
        }
        QDir().mkpath(CrashFiles::contactsFolder());
        contacts.load();
        card = contacts.cardCount() > 0 ? contacts.cardAt(0)
                                        : contacts.create(CrashFiles::contactName(0), QStringLiteral("0521234567"));
    }

    // Every file in the state, one writer after the other; `progress` after each.
    void write(
        int state, const std::function<void()>& progress = [] {})
    {
        service.ProcessDocument(CrashFiles::serviceDocument(state));
        service.SaveProviderCache();
        progress();

        SmsIni ini(CrashFiles::smsIni());
        ini.setLastFrom(CrashFiles::lastFrom(state));
        progress();

        adverts[state].SaveToFile(CrashFiles::adCache());
        progress();

        phoneBooks[state]->saveToFile(CrashFiles::phoneBook());
        progress();

        Contacts::VCardFolder::Changes changes;
        changes.fullName = CrashFiles::contactName(state);
        contacts.change(card, changes);
        progress();
    }
};

bool copy(const QString& from, const QString& to)
{
    QFile::remove(to);
    return QFile::copy(from, to);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1);

    if (mode == QLatin1String("prepare") && args.size() == 3) {
        const QString references = args.at(2) + QLatin1Char('/');
        // SMS.INI starts with settings of its own that every write must keep.
        SmsIni ini(CrashFiles::smsIni());
        ini.setPassword(QStringLiteral("Sahar"), QStringLiteral("demo1234"));
        ini.WriteString(QStringLiteral("Notes"), QStringLiteral("Long"), CrashFiles::filler(200 * 1024));
        Writers writers;
        for (int state = 0; state < 2; ++state) {
            writers.write(state);
            const QString suffix = state == 0 ? QStringLiteral(".old") : QStringLiteral(".new");
            for (const QString& file : CrashFiles::byteFiles()) {
                if (!copy(file, references + QFileInfo(file).fileName() + suffix))
                    return 2;
            }
            if (!copy(CrashFiles::cardFile(), references + QStringLiteral("card") + suffix))
                return 2;
        }
        return 0;
    }

    if (mode == QLatin1String("loop")) {
        Writers writers;
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
        // A line after each file written, so that the test can let a chosen number of writes go by before it
        // kills, and kill into every writer.
        const auto progress = [] {
            std::fputs("w\n", stdout);
            std::fflush(stdout);
        };
        for (int state = 0;; state = 1 - state)
            writers.write(state, progress);
    }

    std::fputs("usage: crashwriter prepare REFERENCES | loop\n", stderr);
    return 1;
}
