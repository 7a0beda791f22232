#include "ServiceRequests.h"

#include "Cp1255.h"

#include <QLocale>

#include <cstring>
#include <netdb.h>
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
        return QString();
    name[sizeof name - 1] = '\0';
    return ServiceRequestsDetail::localAddressOf(QByteArray(name));
}

QString ServiceRequestsDetail::localAddressOf(const QByteArray& hostName, const Resolver& resolve)
{
    if (hostName.isEmpty())
        return QString();
    const std::optional<Ipv4> address = resolve ? resolve(hostName) : resolveIpv4(hostName);
    if (!address)
        return QString::fromLocal8Bit(hostName);
    const Ipv4& a = *address;
    return QStringLiteral("%1.%2.%3.%4").arg(a[0]).arg(a[1]).arg(a[2]).arg(a[3]);
}

std::optional<ServiceRequestsDetail::Ipv4> ServiceRequestsDetail::resolveIpv4(const QByteArray& hostName)
{
    addrinfo hints;
    std::memset(&hints, 0, sizeof hints);
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM; // one entry per address instead of one per socket type
    addrinfo* list = nullptr;
    if (getaddrinfo(hostName.constData(), nullptr, &hints, &list) != 0 || !list)
        return std::nullopt;
    std::optional<Ipv4> result;
    for (const addrinfo* ai = list; ai; ai = ai->ai_next) {
        if (ai->ai_family != AF_INET || !ai->ai_addr)
            continue;
        sockaddr_in in;
        std::memcpy(&in, ai->ai_addr, sizeof in);
        Ipv4 bytes;
        std::memcpy(bytes.data(), &in.sin_addr.s_addr, 4);
        result = bytes;
        break;
    }
    freeaddrinfo(list);
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
