#pragma once

#include "settings/ProfileFile.h"

#include <QLatin1String>

// The program's settings file, SMS.INI in the user's settings folder. Every accessor is one read or one write
// of the file (nothing is kept between calls), with the key's default when it is missing.
class SmsIni : public ProfileFile
{
public:
    static constexpr QLatin1String General { "General" };
    static constexpr QLatin1String LastFromKey { "LastFrom" };
    static constexpr QLatin1String LastRecipientKey { "LastRecipient" };
    static constexpr QLatin1String LastPhoneKey { "LastPhone" };
    static constexpr QLatin1String LastAreaCodeKey { "LastAreaCode" };
    static constexpr QLatin1String TimeOutKey { "TimeOut" };
    static constexpr QLatin1String UsePopupStatusKey { "UsePopupStatus" };
    static constexpr QLatin1String AutoStartKey { "AutoStart" };
    static constexpr QLatin1String UseOutlookKey { "UseOutlook" };
    static constexpr QLatin1String ContactsFolderKey { "ContactsFolder" };
    static constexpr QLatin1String HistoryDaysKey { "HistoryDays" };
    static constexpr QLatin1String CountryCodeKey { "CountryCode" };
    static constexpr QLatin1String ServiceUrlKey { "ServiceURL" };
    static constexpr QLatin1String UseKeyringKey { "UseKeyring" };
    static constexpr QLatin1String UserNameKey { "UserName" };
    static constexpr QLatin1String PasswordKey { "Password" };

    // AppPaths::configDir() + "SMS.INI"; the folder is created by the first write.
    SmsIni();
    explicit SmsIni(const QString& path);
    static QString defaultPath();

    // The last single send's sender, recipient label, number and area code.
    QString lastFrom() const;
    void setLastFrom(const QString& value);
    QString lastRecipient() const;
    void setLastRecipient(const QString& value);
    QString lastPhone() const;
    void setLastPhone(const QString& value);
    QString lastAreaCode() const; // "03" when missing
    void setLastAreaCode(const QString& value);

    // Seconds a send attempt may take, 60 when missing or not a number. 0 and negative values are returned as
    // stored; the engine decides what they mean.
    qint32 timeOut() const;
    void setTimeOut(qint32 seconds);
    bool usePopupStatus() const; // false when missing
    void setUsePopupStatus(bool on);
    bool autoStart() const; // true when missing
    void setAutoStart(bool on);
    bool useOutlook() const; // false when missing
    void setUseOutlook(bool on);
    // The folder of the address book's vCard files that stands in for Outlook's contacts; "" when missing.
    QString contactsFolder() const;
    // How many days the history keeps; 0 (the default) keeps everything.
    qint32 historyDays() const;
    void setHistoryDays(qint32 days);
    // The country whose local numbers the providers serve, as its calling code without "+" ("972" when
    // missing or not a number): an international number of that country is turned into the local form.
    QString countryCode() const;
    // The address of the service that the provider definitions come from, when the user or a team set one:
    // an http or https address; "" when missing or anything else. Reading or writing it also makes it the
    // address in force, below --service-url and ZELKORA_SERVICE_URL (AppPaths::serviceUrl).
    QString serviceUrl() const;
    // False, writing nothing, when `url` is not one the setting takes (acceptsServiceUrl).
    bool setServiceUrl(const QString& url);
    static bool isServiceUrl(const QString& url);
    // What the setting takes: an http or https address, or nothing (no address of the user's).
    static bool acceptsServiceUrl(const QString& url);
    // The providers' passwords are kept in the desktop keyring instead of this file (false when missing).
    // Other copies of the program read this file, so it is off unless the user turns it on.
    bool useKeyring() const;
    void setUseKeyring(bool on);

    // A provider's credentials live in the section named by the provider's Name; "" when missing.
    QString userName(const QString& providerName) const;
    void setUserName(const QString& providerName, const QString& value);
    QString password(const QString& providerName) const;
    void setPassword(const QString& providerName, const QString& value);
    // The origin of the login page a provider's credentials were last used with ("" when none).
    QString loginOrigin(const QString& providerName) const;
    void setLoginOrigin(const QString& providerName, const QString& origin);
};
