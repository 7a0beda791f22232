#pragma once

#include <QByteArray>
#include <QString>

// Splitting and joining the addresses of the HTTP component. Escape sequences are kept as written, so a
// percent-encoded query value reaches the server exactly as the caller encoded it.
namespace HttpAddress {
struct Parts
{
    bool ssl = false;
    QString hostName; // without the brackets of an IPv6 literal
    int port = 80;
    QString urlPath;
    QString extraInfo; // starts with '?' or '#', or is empty
    bool hasUserName = false;
    QString userName;
    bool hasPassword = false;
    QString password;
};

enum class CrackResult
{
    Ok,
    UnrecognizedScheme, // no scheme at all
    InvalidProtocol, // a scheme other than http and https
    Malformed, // an http or https address that cannot be split (no host, bad port)
};

CrackResult crack(const QString& url, Parts& parts);

// The scheme, the host, ":port" unless the port is 80, then the path (with a '/' put in front when it
// has none) and the extra info; spaces become %20.
QString build(bool ssl, const QString& hostName, int port, const QString& urlPath, const QString& extraInfo);

// A non-empty value that starts with neither '?' nor '#' gets a '?' in front.
QString normalizedExtraInfo(const QString& extraInfo);

// The address handed to the HTTP library: the port always written, the fragment left out, and bytes that
// cannot travel in a request line (blanks, control bytes, bytes above 127 of the UTF-8 form) escaped.
QByteArray requestUrl(bool ssl, const QString& hostName, int port, const QString& urlPath, const QString& extraInfo);

// The scheme of an absolute address in lower case ("" when it has none).
QString schemeOf(const QString& url);
} // namespace HttpAddress
