#include "ServiceRequests.h"

#include "Cp1255.h"

#include <QLocale>

#include <cstring>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

QString AppVersionText()
{
    // Digits stay ASCII whatever the locale; only the separator is the user's.
    QString text = QString::number(AppVersion, 'f', 2);
    const QString separator = QLocale::system().decimalPoint();
    if (!separator.isEmpty())
        text.replace(QLatin1Char('.'), separator);
    return text;
}

QString InitRequestPath(const QString& localAddress)
{
    return QStringLiteral("/smsinit?IP=") + localAddress + QStringLiteral("&Version=") + AppVersionText();
}

QString GetLocalAddress()
{
    char name[256];
    if (gethostname(name, sizeof name) != 0)
        name[0] = '\0';
    name[sizeof name - 1] = '\0';
    return ServiceRequestsDetail::localAddressOf(ServiceRequestsDetail::interfaceAddresses(), QByteArray(name));
}

QString ServiceRequestsDetail::localAddressOf(const QList<InterfaceAddress>& addresses, const QByteArray& hostName)
{
    for (const InterfaceAddress& address : addresses) {
        // 127.0.0.0/8 is the loopback's whatever interface carries it.
        if (!address.up || address.loopback || !address.ipv4 || (*address.ipv4)[0] == 127)
            continue;
        const Ipv4& a = *address.ipv4;
        return QStringLiteral("%1.%2.%3.%4").arg(a[0]).arg(a[1]).arg(a[2]).arg(a[3]);
    }
    return QString::fromLocal8Bit(hostName);
}

QList<ServiceRequestsDetail::InterfaceAddress> ServiceRequestsDetail::interfaceAddresses()
{
    QList<InterfaceAddress> result;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return result;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        InterfaceAddress address;
        address.name = QByteArray(entry->ifa_name ? entry->ifa_name : "");
        address.up = (entry->ifa_flags & IFF_UP) != 0;
        address.loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0;
        if (entry->ifa_addr && entry->ifa_addr->sa_family == AF_INET) {
            sockaddr_in in;
            std::memcpy(&in, entry->ifa_addr, sizeof in);
            Ipv4 bytes;
            std::memcpy(bytes.data(), &in.sin_addr.s_addr, 4);
            address.ipv4 = bytes;
        }
        result.append(address);
    }
    freeifaddrs(list);
    return result;
}

QByteArray PercentEncodeBytes(const QByteArray& bytes)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        if (c == '\0')
            break;
        const auto u = static_cast<unsigned char>(c);
        const bool kept = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9')
            || std::strchr("!$'()*-.@_", c) != nullptr;
        if (kept) {
            out.append(c);
        } else if (c == ' ') {
            out.append('+');
        } else {
            out.append('%');
            out.append(hex[u >> 4]);
            out.append(hex[u & 0x0F]);
        }
    }
    return out;
}

QString PercentEncode(const QString& text)
{
    return QString::fromLatin1(PercentEncodeBytes(Cp1255::fromUnicode(text)));
}
