#include "Credentials.h"

#include "common/UserPrompt.h"
#include "settings/Keyring.h"
#include "settings/SmsIni.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace {
// Passwords the keyring did not take and the user did not want in SMS.INI: kept until the program ends, so
// that the send asks for each only once. An empty one stands for a password the user cleared but the keyring
// would not forget.
QHash<QString, QString>& passwordsOfThisRun()
{
    static QHash<QString, QString> passwords;
    return passwords;
}

// A provider is told of once while its password stays unreadable, not at every load of definitions; one
// that was read again in between is told of again.
void tellUnreadable(const QStringList& providers, const Keyring::Result& result)
{
    static QSet<QString> told;
    QStringList lines;
    for (const QString& name : providers) {
        if (!told.contains(name))
            lines << QCoreApplication::translate("Credentials", "לא ניתן לקרוא את הסיסמה של %1: %2.")
                         .arg(name, result.text());
    }
    told = QSet<QString>(providers.cbegin(), providers.cend());
    if (!lines.isEmpty())
        UserPrompt::current()->information(lines.join(QLatin1Char('\n')));
}

// The password the provider has now under the keyring setting: this run's, SMS.INI's, the keyring's.
QString currentPassword(const SmsIni& ini, const QString& providerName)
{
    const auto kept = passwordsOfThisRun().constFind(providerName);
    if (kept != passwordsOfThisRun().cend())
        return *kept;
    const QString written = ini.password(providerName);
    if (!written.isEmpty())
        return written;
    return Keyring::read().passwords.value(providerName);
}
} // namespace

void LoadCredentials(TProviders& providers)
{
    LoadCredentials(providers, SmsIni());
}

void LoadCredentials(TProviders& providers, const SmsIni& ini)
{
    const bool useKeyring = ini.useKeyring();
    // Read once, and only when some provider's password is neither this run's nor in SMS.INI.
    std::optional<Keyring::Contents> keyring;
    QStringList unreadable;
    for (TProvider& provider : providers) {
        provider.UserName = ini.userName(provider.Name);
        provider.Password = ini.password(provider.Name);
        provider.LoginOrigin = ini.loginOrigin(provider.Name);
        if (!useKeyring)
            continue;
        const auto kept = passwordsOfThisRun().constFind(provider.Name);
        if (kept != passwordsOfThisRun().cend()) {
            provider.Password = *kept;
        } else if (provider.Password.isEmpty()) {
            if (!keyring)
                keyring = Keyring::read();
            provider.Password = keyring->passwords.value(provider.Name);
            // A locked keyring still names the providers it holds; one that cannot be reached at all may
            // hold the password of any provider with a user name.
            const Keyring::Status status = keyring->result.status;
            const bool mayHoldIt = status == Keyring::Status::Locked ? keyring->locked.contains(provider.Name)
                                                                     : status != Keyring::Status::Ok;
            if (provider.Password.isEmpty() && !provider.UserName.isEmpty() && mayHoldIt)
                unreadable << provider.Name;
        }
    }
    ini.UpdateFile();
    tellUnreadable(unreadable, keyring ? keyring->result : Keyring::Result {});
}

void storePassword(const QString& providerName, const QString& password)
{
    SmsIni ini;
    if (!ini.useKeyring()) {
        ini.setPassword(providerName, password);
        return;
    }
    if (currentPassword(ini, providerName) == password)
        return;

    QHash<QString, QString>& kept = passwordsOfThisRun();
    if (password.isEmpty()) {
        const Keyring::Result removed = Keyring::remove(providerName);
        if (!ini.password(providerName).isEmpty())
            ini.setPassword(providerName, QString());
        if (removed.ok()) {
            kept.remove(providerName);
            return;
        }
        kept.insert(providerName, QString());
        UserPrompt::current()->information(
            QCoreApplication::translate("Credentials", "%1, ולכן הסיסמה של %2 לא נמחקה ממנו.")
                .arg(removed.text(), providerName));
        return;
    }

    const Keyring::Result stored = Keyring::store(providerName, password);
    if (stored.ok()) {
        kept.remove(providerName);
        if (!ini.password(providerName).isEmpty())
            ini.setPassword(providerName, QString());
        return;
    }
    const QString question = QCoreApplication::translate("Credentials",
        "%1, ולכן הסיסמה של %2 לא נשמרה בו.\n"
        "לשמור אותה בקובץ SMS.INI, כטקסט גלוי? אם לא, היא תישמר בזיכרון עד סיום התוכנית.")
                                 .arg(stored.text(), providerName);
    if (UserPrompt::current()->question(question)) {
        ini.setPassword(providerName, password);
        kept.remove(providerName);
    } else {
        kept.insert(providerName, password);
    }
}

bool setUseKeyring(bool on)
{
    SmsIni ini;
    if (ini.useKeyring() == on)
        return true;
    QHash<QString, QString>& kept = passwordsOfThisRun();

    if (on) {
        std::vector<std::pair<QString, QString>> moving;
        for (const QString& section : ini.SectionNames()) {
            const QString password = ini.password(section);
            if (section.compare(SmsIni::General, Qt::CaseInsensitive) != 0 && !password.isEmpty())
                moving.emplace_back(section, password);
        }
        // With nothing to move, a keyring that is not there at all is still worth telling now; a locked one is
        // unlocked when the first password goes in.
        Keyring::Result problem = moving.empty() ? Keyring::read().result : Keyring::Result {};
        if (problem.status == Keyring::Status::Locked)
            problem = {};
        QStringList stored;
        for (const auto& [name, password] : moving) {
            problem = Keyring::store(name, password);
            if (!problem.ok())
                break;
            stored << name;
        }
        if (!problem.ok()) {
            // All or nothing: the passwords stay where the setting says they are.
            for (const QString& name : std::as_const(stored))
                Keyring::remove(name);
            UserPrompt::current()->information(
                QCoreApplication::translate("Credentials", "%1, ולכן הסיסמאות לא הועברו אליו. הן נשארות בקובץ SMS.INI.")
                    .arg(problem.text()));
            return false;
        }
        ini.setUseKeyring(true);
        for (const auto& entry : moving)
            ini.setPassword(entry.first, QString());
        kept.clear();
        return true;
    }

    const Keyring::Contents keyring = Keyring::read(Keyring::Access::MayAsk);
    if (!keyring.result.ok()) {
        const QString question = QCoreApplication::translate("Credentials",
            "%1, ולכן לא ניתן להחזיר לקובץ SMS.INI את הסיסמאות השמורות בו.\n"
            "להפסיק בכל זאת לשמור סיסמאות במחזיק המפתחות? את הסיסמאות השמורות בו "
            "יהיה צריך להקליד שוב.")
                                     .arg(keyring.result.text());
        if (!UserPrompt::current()->question(question))
            return false;
    }
    // A password in SMS.INI under the keyring setting is one the user put there when the keyring would not
    // take it, and this run's are newer still.
    for (auto it = keyring.passwords.cbegin(); it != keyring.passwords.cend(); ++it) {
        if (ini.password(it.key()).isEmpty())
            ini.setPassword(it.key(), it.value());
    }
    for (auto it = kept.cbegin(); it != kept.cend(); ++it)
        ini.setPassword(it.key(), it.value());
    ini.setUseKeyring(false);
    kept.clear();

    QString notRemoved;
    for (auto it = keyring.passwords.cbegin(); it != keyring.passwords.cend(); ++it) {
        const Keyring::Result removed = Keyring::remove(it.key());
        if (!removed.ok())
            notRemoved = removed.text();
    }
    if (!notRemoved.isEmpty())
        UserPrompt::current()->information(
            QCoreApplication::translate("Credentials", "הסיסמאות הועתקו לקובץ SMS.INI, אך לא נמחקו ממחזיק המפתחות: %1.")
                .arg(notRemoved));
    return true;
}
