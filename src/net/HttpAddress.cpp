#include "HttpAddress.h"

#include <QUrl>

namespace HttpAddress {
namespace {
    bool isSchemeText(const QString& text)
    {
        if (text.isEmpty() || !text.at(0).isLetter() || text.at(0).unicode() > 127)
            return false;
        for (QChar c : text) {
            const ushort u = c.unicode();
            const bool ok = (u < 128 && c.isLetterOrNumber()) || u == '+' || u == '-' || u == '.';
            if (!ok)
                return false;
        }
        return true;
    }

    QString hostForAddress(const QString& hostName)
    {
        return hostName.contains(QLatin1Char(':')) ? QLatin1Char('[') + hostName + QLatin1Char(']') : hostName;
    }

    QString relativePart(const QString& urlPath, const QString& extraInfo)
    {
        QString path = urlPath;
        if (!path.startsWith(QLatin1Char('/')))
            path.prepend(QLatin1Char('/'));
        return path + extraInfo;
    }

    QByteArray escapeForRequestLine(const QByteArray& bytes)
    {
        static const char hex[] = "0123456789ABCDEF";
        QByteArray out;
        out.reserve(bytes.size());
        for (char ch : bytes) {
            const auto b = static_cast<unsigned char>(ch);
            if (b <= 0x20 || b >= 0x7F) {
                out += '%';
                out += hex[b >> 4];
                out += hex[b & 0x0F];
            } else {
                out += ch;
            }
        }
        return out;
    }
} // namespace

QString schemeOf(const QString& url)
{
    const int colon = url.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return {};
    const QString scheme = url.left(colon);
    return isSchemeText(scheme) ? scheme.toLower() : QString();
}

CrackResult crack(const QString& url, Parts& parts)
{
    const QString text = url.trimmed();
    const QString scheme = schemeOf(text);
    if (scheme.isEmpty())
        return CrackResult::UnrecognizedScheme;
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return CrackResult::InvalidProtocol;

    const int afterScheme = scheme.size() + 1;
    if (text.mid(afterScheme, 2) != QLatin1String("//"))
        return CrackResult::Malformed;
    const int authorityStart = afterScheme + 2;
    int authorityEnd = text.size();
    for (const char stop : { '/', '?', '#' }) {
        const int at = text.indexOf(QLatin1Char(stop), authorityStart);
        if (at >= 0 && at < authorityEnd)
            authorityEnd = at;
    }
    QString authority = text.mid(authorityStart, authorityEnd - authorityStart);

    Parts result;
    result.ssl = scheme == QLatin1String("https");
    const int at = authority.lastIndexOf(QLatin1Char('@'));
    if (at >= 0) {
        const QString userInfo = authority.left(at);
        authority = authority.mid(at + 1);
        const int colon = userInfo.indexOf(QLatin1Char(':'));
        result.hasUserName = true;
        result.userName = QUrl::fromPercentEncoding(userInfo.left(colon).toUtf8());
        if (colon >= 0) {
            result.hasPassword = true;
            result.password = QUrl::fromPercentEncoding(userInfo.mid(colon + 1).toUtf8());
        }
    }

    QString portText;
    if (authority.startsWith(QLatin1Char('['))) {
        const int close = authority.indexOf(QLatin1Char(']'));
        if (close < 0)
            return CrackResult::Malformed;
        result.hostName = authority.mid(1, close - 1);
        const QString rest = authority.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(QLatin1Char(':')))
                return CrackResult::Malformed;
            portText = rest.mid(1);
        }
    } else {
        const int colon = authority.lastIndexOf(QLatin1Char(':'));
        result.hostName = colon >= 0 ? authority.left(colon) : authority;
        if (colon >= 0)
            portText = authority.mid(colon + 1);
    }
    if (result.hostName.isEmpty())
        return CrackResult::Malformed;

    result.port = result.ssl ? 443 : 80;
    if (!portText.isEmpty()) {
        bool ok = false;
        const int port = portText.toInt(&ok, 10);
        if (!ok || port < 1 || port > 65535 || portText.startsWith(QLatin1Char('+')))
            return CrackResult::Malformed;
        result.port = port;
    }

    const QString rest = text.mid(authorityEnd);
    int extraStart = rest.size();
    for (const char stop : { '?', '#' }) {
        const int pos = rest.indexOf(QLatin1Char(stop));
        if (pos >= 0 && pos < extraStart)
            extraStart = pos;
    }
    result.urlPath = rest.left(extraStart);
    result.extraInfo = rest.mid(extraStart);
    parts = result;
    return CrackResult::Ok;
}

QString build(bool ssl, const QString& hostName, int port, const QString& urlPath, const QString& extraInfo)
{
    QString address = ssl ? QStringLiteral("https://") : QStringLiteral("http://");
    address += hostForAddress(hostName);
    if (port != 80)
        address += QLatin1Char(':') + QString::number(port);
    QString relative = relativePart(urlPath, extraInfo);
    relative.replace(QLatin1Char(' '), QLatin1String("%20"));
    return address + relative;
}

QString normalizedExtraInfo(const QString& extraInfo)
{
    if (extraInfo.isEmpty() || extraInfo.startsWith(QLatin1Char('?')) || extraInfo.startsWith(QLatin1Char('#')))
        return extraInfo;
    return QLatin1Char('?') + extraInfo;
}

QByteArray requestUrl(bool ssl, const QString& hostName, int port, const QString& urlPath, const QString& extraInfo)
{
    QString relative = relativePart(urlPath, extraInfo);
    const int fragment = relative.indexOf(QLatin1Char('#'));
    if (fragment >= 0)
        relative.truncate(fragment);
    QByteArray address = ssl ? QByteArrayLiteral("https://") : QByteArrayLiteral("http://");
    address += hostForAddress(hostName).toUtf8(); // libcurl converts an international name itself
    address += ':' + QByteArray::number(port);
    address += escapeForRequestLine(relative.toUtf8());
    return address;
}
} // namespace HttpAddress
