#pragma once

#include "HttpMessage.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Operator sites that answer a message the way many sites are built today, each in one shape: a "please wait"
// page that moves on by itself (tamar, whose refusal leaves again a third of a second later), a verdict that
// the result page's script fetches and writes late (yarden), a form posted in the background with the verdict
// written into the same page (carmel), a result in a window of its own (negev by target="_blank", eilat by
// window.open, on negev's page), a result page that is a frameset with the verdict in a frame (golan), a
// verdict in a frame of another origin (hermon), a verdict only in an alert (sharon), and a session that ends
// before the message, answered with the login page (arava). A number that begins with 9 is refused, one that
// begins with 8 gets no verdict at all (the page stays silent).
class VerdictSites
{
public:
    using Recorder = std::function<void(
        const QString& site, const HttpRequest& request, const QMap<QString, QString>& fields, const QString& outcome)>;

    // `record` is told of every message submission; `port` is the server's, for addresses of another origin.
    VerdictSites(Recorder record, std::function<quint16()> port);

    // The answer to a request for one of these sites' addresses; nothing for an address that is not theirs.
    std::optional<HttpResponse> answer(const HttpRequest& request);

    // The definitions of these sites, every address on baseUrl, as PROVIDER tags of the service document.
    static QByteArray definitions(const QString& baseUrl);
    // Their area codes.
    static QStringList areaCodes();
    // The names of their providers, each with its area code, in the order of their definitions.
    static QList<QPair<QString, QString>> providers();

private:
    std::optional<HttpResponse> answerSend(const QString& site, const HttpRequest& request);

    Recorder m_record;
    std::function<quint16()> m_port;
    // Arava's live sessions: one message page each.
    QStringList m_aravaSessions;
};
