#include "SmsIni.h"

#include "common/AppPaths.h"
#include "common/WebAddress.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The settings file holds passwords: one that others may read (made by hand, or copied in) is closed to them,
// and the diagnostic output says so, once a run for each file.
void closeToOthers(const QString& path)
{
    static QSet<QString> told;
    const QByteArray native = QFile::encodeName(path);
    struct stat info;
    if (::stat(native.constData(), &info) != 0 || info.st_uid != ::getuid() || (info.st_mode & 077) == 0)
        return;
    if (::chmod(native.constData(), info.st_mode & 0700) == 0 && !told.contains(path)) {
        told.insert(path);
        qWarning("%s could be read by other users of this computer; it is now the owner's alone", native.constData());
    }
}
} // namespace

SmsIni::SmsIni()
    : SmsIni(defaultPath())
{
}

SmsIni::SmsIni(const QString& path)
    : ProfileFile(path)
{
    closeToOthers(path);
}

QString SmsIni::defaultPath()
{
    return AppPaths::configDir() + QStringLiteral("SMS.INI");
}

QString SmsIni::lastFrom() const
{
    return ReadString(General, LastFromKey, QString());
}

void SmsIni::setLastFrom(const QString& value)
{
    WriteString(General, LastFromKey, value);
}

QString SmsIni::lastRecipient() const
{
    return ReadString(General, LastRecipientKey, QString());
}

void SmsIni::setLastRecipient(const QString& value)
{
    WriteString(General, LastRecipientKey, value);
}

QString SmsIni::lastPhone() const
{
    return ReadString(General, LastPhoneKey, QString());
}

void SmsIni::setLastPhone(const QString& value)
{
    WriteString(General, LastPhoneKey, value);
}

QString SmsIni::lastAreaCode() const
{
    return ReadString(General, LastAreaCodeKey, QStringLiteral("03"));
}

void SmsIni::setLastAreaCode(const QString& value)
{
    WriteString(General, LastAreaCodeKey, value);
}

qint32 SmsIni::timeOut() const
{
    return ReadInteger(General, TimeOutKey, 60);
}

void SmsIni::setTimeOut(qint32 seconds)
{
    WriteInteger(General, TimeOutKey, seconds);
}

bool SmsIni::usePopupStatus() const
{
    return ReadBool(General, UsePopupStatusKey, false);
}

void SmsIni::setUsePopupStatus(bool on)
{
    WriteBool(General, UsePopupStatusKey, on);
}

bool SmsIni::autoStart() const
{
    return ReadBool(General, AutoStartKey, true);
}

void SmsIni::setAutoStart(bool on)
{
    WriteBool(General, AutoStartKey, on);
}

bool SmsIni::useOutlook() const
{
    return ReadBool(General, UseOutlookKey, false);
}

void SmsIni::setUseOutlook(bool on)
{
    WriteBool(General, UseOutlookKey, on);
}

QString SmsIni::contactsFolder() const
{
    return ReadString(General, ContactsFolderKey, QString());
}

qint32 SmsIni::historyDays() const
{
    return ReadInteger(General, HistoryDaysKey, 0);
}

void SmsIni::setHistoryDays(qint32 days)
{
    WriteInteger(General, HistoryDaysKey, days);
}

QString SmsIni::countryCode() const
{
    const QString code = ReadString(General, CountryCodeKey, QString()).trimmed();
    static const QRegularExpression digits(QStringLiteral("^[1-9][0-9]{0,3}$"));
    return digits.match(code).hasMatch() ? code : QStringLiteral("972");
}

bool SmsIni::useKeyring() const
{
    return ReadBool(General, UseKeyringKey, false);
}

void SmsIni::setUseKeyring(bool on)
{
    WriteBool(General, UseKeyringKey, on);
}

bool SmsIni::isServiceUrl(const QString& url)
{
    return isWebAddress(url.trimmed());
}

QString SmsIni::serviceUrl() const
{
    const QString url = ReadString(General, ServiceUrlKey, QString()).trimmed();
    const QString valid = isServiceUrl(url) ? url : QString();
    static bool told = false;
    if (valid != url && !told) {
        told = true;
        qWarning(
            "zelkora: ServiceURL in SMS.INI is not an http or https address and is not used: %s", qUtf8Printable(url));
    }
    AppPaths::setConfiguredServiceUrl(valid);
    return valid;
}

bool SmsIni::acceptsServiceUrl(const QString& url)
{
    return url.trimmed().isEmpty() || isServiceUrl(url);
}

bool SmsIni::setServiceUrl(const QString& url)
{
    const QString trimmed = url.trimmed();
    if (!acceptsServiceUrl(trimmed))
        return false;
    WriteString(General, ServiceUrlKey, trimmed);
    AppPaths::setConfiguredServiceUrl(trimmed);
    return true;
}

QString SmsIni::loginOrigin(const QString& providerName) const
{
    return ReadString(providerName, QStringLiteral("LoginOrigin"), QString());
}

void SmsIni::setLoginOrigin(const QString& providerName, const QString& origin)
{
    WriteString(providerName, QStringLiteral("LoginOrigin"), origin);
}

QString SmsIni::userName(const QString& providerName) const
{
    return ReadString(providerName, UserNameKey, QString());
}

void SmsIni::setUserName(const QString& providerName, const QString& value)
{
    WriteString(providerName, UserNameKey, value);
}

QString SmsIni::password(const QString& providerName) const
{
    return ReadString(providerName, PasswordKey, QString());
}

void SmsIni::setPassword(const QString& providerName, const QString& value)
{
    WriteString(providerName, PasswordKey, value);
}
