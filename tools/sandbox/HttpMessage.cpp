#include "HttpMessage.h"

QByteArray HttpRequest::header(const QByteArray& lowerName) const
{
    for (const auto& h : headers) {
        if (h.first == lowerName)
            return h.second;
    }
    return {};
}

HttpResponse HttpResponse::html(int status, const QString& page)
{
    HttpResponse r;
    r.status = status;
    r.contentType = "text/html; charset=utf-8";
    // The operator pages carry sessions and results; a browser must fetch them every time.
    r.addHeader("Cache-Control", "no-store");
    r.body = page.toUtf8();
    return r;
}

HttpResponse HttpResponse::redirect(int status, const QByteArray& location)
{
    HttpResponse r;
    r.status = status;
    r.contentType = "text/html; charset=utf-8";
    r.addHeader("Location", location);
    r.addHeader("Cache-Control", "no-store");
    r.body = "<!DOCTYPE html><html><body><a href=\"" + HttpForm::htmlEscape(QString::fromLatin1(location)).toUtf8()
        + "\">" + location + "</a></body></html>";
    return r;
}

HttpResponse HttpResponse::error(int status)
{
    const QString reason = QString::fromLatin1(HttpForm::reasonPhrase(status));
    QString text;
    switch (status) {
    case 404:
        text = QStringLiteral("הדף המבוקש לא נמצא.");
        break;
    case 405:
        text = QStringLiteral("שיטת הבקשה אינה נתמכת בכתובת זו.");
        break;
    case 413:
        text = QStringLiteral("הבקשה גדולה מדי.");
        break;
    default:
        text = QStringLiteral("הבקשה לא טופלה.");
        break;
    }
    return html(status,
        QStringLiteral("<!DOCTYPE html>\n<html dir=\"rtl\" lang=\"he\"><head><meta charset=\"utf-8\">"
                       "<title>%1 %2</title></head>\n<body><h1>%1 %2</h1><p>%3</p></body></html>\n")
            .arg(status)
            .arg(reason, text));
}

QByteArray HttpResponse::serialize(bool keepAlive, bool withBody) const
{
    QByteArray out;
    out.reserve(body.size() + 256);
    out += "HTTP/1.1 " + QByteArray::number(status) + ' ' + HttpForm::reasonPhrase(status) + "\r\n";
    out += "Server: zelkora-sandbox\r\n";
    if (!contentType.isEmpty())
        out += "Content-Type: " + contentType + "\r\n";
    out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    out += keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    for (const auto& h : headers)
        out += h.first + ": " + h.second + "\r\n";
    out += "\r\n";
    if (withBody)
        out += body;
    return out;
}

QByteArray HttpForm::reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 303:
        return "See Other";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 413:
        return "Payload Too Large";
    case 415:
        return "Unsupported Media Type";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Unavailable";
    case 505:
        return "HTTP Version Not Supported";
    default:
        return "Status";
    }
}

static int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QByteArray HttpForm::percentDecode(const QByteArray& data)
{
    QByteArray out;
    out.reserve(data.size());
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char c = data.at(i);
        if (c == '%' && i + 2 < data.size() && hexValue(data.at(i + 1)) >= 0 && hexValue(data.at(i + 2)) >= 0) {
            out += char(hexValue(data.at(i + 1)) * 16 + hexValue(data.at(i + 2)));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

QList<QPair<QString, QString>> HttpForm::parseUrlEncoded(const QByteArray& data)
{
    QList<QPair<QString, QString>> pairs;
    const QList<QByteArray> items = data.split('&');
    for (QByteArray item : items) {
        if (item.isEmpty())
            continue;
        item.replace('+', ' ');
        const qsizetype eq = item.indexOf('=');
        const QByteArray name = eq < 0 ? item : item.left(eq);
        const QByteArray value = eq < 0 ? QByteArray() : item.mid(eq + 1);
        pairs.append({ QString::fromUtf8(percentDecode(name)), QString::fromUtf8(percentDecode(value)) });
    }
    return pairs;
}

QMap<QString, QString> HttpForm::fieldMap(const QByteArray& data)
{
    QMap<QString, QString> map;
    const auto pairs = parseUrlEncoded(data);
    for (const auto& p : pairs) {
        if (!map.contains(p.first))
            map.insert(p.first, p.second);
    }
    return map;
}

QList<QPair<QByteArray, QByteArray>> HttpForm::parseCookies(const QByteArray& header)
{
    QList<QPair<QByteArray, QByteArray>> cookies;
    const QList<QByteArray> items = header.split(';');
    for (const QByteArray& raw : items) {
        const QByteArray item = raw.trimmed();
        const qsizetype eq = item.indexOf('=');
        if (eq <= 0)
            continue;
        cookies.append({ item.left(eq).trimmed(), item.mid(eq + 1).trimmed() });
    }
    return cookies;
}

QString HttpForm::htmlEscape(const QString& text)
{
    return text.toHtmlEscaped();
}
