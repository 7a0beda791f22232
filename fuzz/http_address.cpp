// Addresses given to the HTTP component (the service's and the banners' addresses come from the service
// document): cracked into parts, built again, and turned into the address the HTTP library is given.

#include "FuzzSupport.h"

#include "net/HttpAddress.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString url = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    (void)HttpAddress::schemeOf(url);
    HttpAddress::Parts parts;
    if (HttpAddress::crack(url, parts) != HttpAddress::CrackResult::Ok)
        return 0;
    FUZZ_CHECK(!parts.hostName.isEmpty());
    FUZZ_CHECK(parts.port >= 1 && parts.port <= 65535);
    FUZZ_CHECK(parts.urlPath.isEmpty() || parts.urlPath.startsWith(QLatin1Char('/')));
    FUZZ_CHECK(parts.extraInfo.isEmpty() || parts.extraInfo.startsWith(QLatin1Char('?'))
        || parts.extraInfo.startsWith(QLatin1Char('#')));
    FUZZ_CHECK(HttpAddress::normalizedExtraInfo(parts.extraInfo) == parts.extraInfo);

    // After the host and port, nothing that cannot travel in a request line reaches the HTTP library, and no
    // fragment.
    const QByteArray request
        = HttpAddress::requestUrl(parts.ssl, parts.hostName, parts.port, parts.urlPath, parts.extraInfo);
    const QString hostPart = parts.hostName.contains(QLatin1Char(':'))
        ? QLatin1Char('[') + parts.hostName + QLatin1Char(']')
        : parts.hostName;
    const QByteArray head = (parts.ssl ? QByteArray("https://") : QByteArray("http://")) + hostPart.toUtf8() + ':'
        + QByteArray::number(parts.port);
    FUZZ_CHECK(request.startsWith(head));
    FUZZ_CHECK(request.size() > head.size() && request[head.size()] == '/');
    for (qsizetype i = head.size(); i < request.size(); ++i) {
        const auto b = static_cast<unsigned char>(request[i]);
        FUZZ_CHECK(b > 0x20 && b < 0x7F);
        FUZZ_CHECK(b != '#');
    }

    // The address built from the parts cracks into the same parts; only a port of 80 is left out of an
    // https address, where it then reads as 443.
    const QString built = HttpAddress::build(parts.ssl, parts.hostName, parts.port, parts.urlPath, parts.extraInfo);
    // A host with brackets of its own ("[[a]" gives "[a") is no host name, and no address can carry it.
    if (parts.hostName.contains(QLatin1Char('[')) || parts.hostName.contains(QLatin1Char(']')))
        return 0;
    HttpAddress::Parts again;
    FUZZ_CHECK(HttpAddress::crack(built, again) == HttpAddress::CrackResult::Ok);
    FUZZ_CHECK(again.ssl == parts.ssl);
    FUZZ_CHECK(again.hostName == parts.hostName);
    FUZZ_CHECK(again.port == ((parts.ssl && parts.port == 80) ? 443 : parts.port));
    QString path = parts.urlPath.startsWith(QLatin1Char('/')) ? parts.urlPath : QLatin1Char('/') + parts.urlPath;
    path.replace(QLatin1Char(' '), QLatin1String("%20"));
    QString extraInfo = parts.extraInfo;
    extraInfo.replace(QLatin1Char(' '), QLatin1String("%20"));
    FUZZ_CHECK(again.urlPath == path);
    FUZZ_CHECK(again.extraInfo == extraInfo);
    return 0;
}
