#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

// One parsed request as the sandbox's connection hands it to the server.
struct HttpRequest
{
    QByteArray method;
    QByteArray target; // as sent, path and query
    QByteArray version; // "HTTP/1.0" or "HTTP/1.1"
    QString path; // percent-decoded, without the query
    QByteArray query; // raw, after the first '?'
    QList<QPair<QByteArray, QByteArray>> headers; // names in lower case, in arrival order
    QByteArray body;

    // The first header of that (lower-case) name, or empty.
    QByteArray header(const QByteArray& lowerName) const;
};

struct HttpResponse
{
    int status = 200;
    QByteArray contentType;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    // The answer goes out this many milliseconds after the request arrived, as from a slow site; later
    // requests on the same connection wait for it.
    int delayMs = 0;

    void addHeader(const QByteArray& name, const QByteArray& value) { headers.append(qMakePair(name, value)); }

    static HttpResponse html(int status, const QString& page);
    static HttpResponse redirect(int status, const QByteArray& location);
    static HttpResponse error(int status);

    // Status line, headers and (unless the request was HEAD) the body, ready for the socket.
    QByteArray serialize(bool keepAlive, bool withBody = true) const;
};

namespace HttpForm {
QByteArray reasonPhrase(int status);

// application/x-www-form-urlencoded: "+" is a space, %XX a byte, the bytes are UTF-8. A "%" that
// is not followed by two hexadecimal digits stays as it is. Pairs come in their order.
QList<QPair<QString, QString>> parseUrlEncoded(const QByteArray& data);

// The same pairs, first occurrence of a name winning.
QMap<QString, QString> fieldMap(const QByteArray& data);

QByteArray percentDecode(const QByteArray& data);

// "a=1; b=2" into its pairs, in order (a client may send two cookies of one name).
QList<QPair<QByteArray, QByteArray>> parseCookies(const QByteArray& header);

QString htmlEscape(const QString& text);
} // namespace HttpForm
