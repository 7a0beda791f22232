#pragma once

#include "SandboxService.h"
#include "service/ServiceState.h"
#include "service/TProvider.h"

// Provider records for the sandbox's operator sites at `base` ("http://127.0.0.1:PORT"), read from the
// sandbox's own service document as the program reads it.
namespace SandboxProviders {
inline TProvider named(const QString& name, const QString& base)
{
    TProviders providers;
    QStringList areaDefs;
    ServiceState state(providers, areaDefs);
    state.ProcessDocument(SandboxService::initDocument(base));
    for (const TProvider& provider : std::as_const(providers)) {
        if (provider.Name == name)
            return provider;
    }
    return TProvider();
}

// Login in frame 0 of a frameset (submitted by clicking doLogin), the message page in the same frame,
// the result on the top-level page.
inline TProvider sahar(const QString& base)
{
    return named(QStringLiteral("Sahar"), base);
}
// No login: one page, submitted through a link, the number with its area prefix, the sender in the text.
inline TProvider kesher(const QString& base)
{
    return named(QStringLiteral("Kesher"), base);
}
// Pages their own scripts build; the login sent by clicking its button, the message form submitted directly.
inline TProvider ofek(const QString& base)
{
    return named(QStringLiteral("Ofek"), base);
}
// No login, an advert frame that keeps reloading beside the form, a late result page.
inline TProvider galim(const QString& base)
{
    return named(QStringLiteral("Galim"), base);
}

// Galim's form in frame 0 of a frameset whose frame 1 is an advert that keeps reloading; the result comes into
// the form's own frame.
inline TProvider galimFramed(const QString& base)
{
    TProvider p = galim(base);
    p.MsgUrl = base + QStringLiteral("/galim/framed");
    p.MsgFrame = 0;
    return p;
}

// No login; the answer to every submission is an HTTP 500 error page.
inline TProvider shefa(const QString& base)
{
    return named(QStringLiteral("Shefa"), base);
}

// A one-page operator for tests that serve their own pages: no login, form "f" at `formUrl` with the fields
// "phone" and "text", sent by the form's own submit; "accepted" or "rejected" on the result page.
inline TProvider loopback(const QString& formUrl)
{
    TProvider p;
    p.Name = QStringLiteral("Loopback");
    p.AreaCodes = QStringLiteral("059");
    p.MsgUrl = formUrl;
    p.MsgForm = QStringLiteral("f");
    p.PhoneField = QStringLiteral("phone");
    p.MsgField = QStringLiteral("text");
    p.MsgSubmit = 3;
    p.ResAccepted = QStringLiteral("accepted");
    p.ResRejected = QStringLiteral("rejected");
    return p;
}
} // namespace SandboxProviders
