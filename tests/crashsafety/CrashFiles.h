#pragma once

#include "common/AppPaths.h"
#include "service/TCacheTable.h"

#include <QByteArray>
#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

// The files the crash test has written and checked, and their two contents. State 0 is "old", 1 is "new". The
// contents are large enough (tens to hundreds of kilobytes) that a write takes a while to kill into.
namespace CrashFiles {
inline QString providerCache()
{
    return AppPaths::appDir() + QStringLiteral("providers.dat");
}
inline QString smsIni()
{
    return AppPaths::configDir() + QStringLiteral("SMS.INI");
}
inline QString adCache()
{
    return AppPaths::appDir() + QStringLiteral("adcache.dat");
}
inline QString phoneBook()
{
    return AppPaths::appDir() + QStringLiteral("phonebook.db");
}
inline QString contactsFolder()
{
    return AppPaths::appDir() + QStringLiteral("contacts");
}

// The files compared byte for byte (the phone book is compared by its records).
inline QStringList byteFiles()
{
    return { providerCache(), smsIni(), adCache() };
}

// The one card file of the contacts folder; empty when there is not exactly one.
inline QString cardFile()
{
    const QStringList cards = QDir(contactsFolder()).entryList({ QStringLiteral("*.vcf") }, QDir::Files);
    return cards.size() == 1 ? contactsFolder() + QLatin1Char('/') + cards.first() : QString();
}

inline QString filler(int size)
{
    QString text;
    while (text.size() < size)
        text += QStringLiteral("filler-");
    return text.left(size);
}

inline QByteArray serviceDocument(int state)
{
    QByteArray doc = "<#AREAS DEFS=050=050,052=052>\r\n<#PROVIDERS>\r\n";
    for (int i = 0; i < 400; ++i) {
        doc += "<#PROVIDER Name=" + QByteArray(state == 0 ? "Old" : "New") + QByteArray::number(i)
            + " AreaCodes=050 MsgUrl=http://127.0.0.1:1/" + QByteArray::number(i) + "/msg MsgForm=f MsgField=text"
            + " PhoneField=number ResAccepted=ok ResRejected=no>\r\n";
    }
    return doc + "<#FINISHED>\r\n";
}

inline QString lastFrom(int state)
{
    return state == 0 ? QStringLiteral("Old sender") : QStringLiteral("New sender");
}

inline QList<TCacheEntry> banners(int state)
{
    QList<TCacheEntry> entries;
    for (int i = 0; i < 1500; ++i) {
        TCacheEntry entry;
        entry.Name = (state == 0 ? QStringLiteral("old") : QStringLiteral("new")) + QString::number(i);
        entry.BannerType = QStringLiteral("gif");
        entry.URL = QStringLiteral("http://127.0.0.1:1/banner%1.gif").arg(i);
        entry.HomeURL = QStringLiteral("http://127.0.0.1:1/home%1").arg(i);
        entry.Interval = 10000;
        entry.Hits = quint32(i % 7 + state);
        entries.append(entry);
    }
    return entries;
}

// Name, area, phone.
inline QList<QStringList> recipients(int state)
{
    QList<QStringList> records;
    const int count = state == 0 ? 1200 : 1000;
    for (int i = 0; i < count; ++i) {
        records.append({ (state == 0 ? QStringLiteral("Old person %1") : QStringLiteral("New person %1")).arg(i),
            QStringLiteral("05%1").arg(i % 10), QStringLiteral("%1").arg(1000000 + i * 3 + state) });
    }
    return records;
}

inline QString contactName(int state)
{
    return state == 0 ? QStringLiteral("Old Name") : QStringLiteral("New Name");
}
} // namespace CrashFiles
