#include "CliCommands.h"

#include "CliCheck.h"
#include "CliHistory.h"
#include "CliText.h"

#include "common/AppPaths.h"
#include "common/GuardedApplication.h"
#include "common/ErrorReport.h"
#include "common/ResStrings.h"
#include "common/TimerInterval.h"
#include "contacts/RecipientFile.h"
#include "engine/TSMSBaseForm.h"
#include "history/HistoryStore.h"
#include "net/TAdvHttp.h"
#include "sending/HistoryRecorder.h"
#include "sending/PersonPageWindow.h"
#include "sending/SendWorkflow.h"
#include "sending/SendWorkflowHost.h"
#include "service/LocalDefinitions.h"
#include "service/ProviderCache.h"
#include "service/ServiceRequests.h"
#include "service/ServiceState.h"
#include "settings/Credentials.h"
#include "settings/SmsIni.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>

namespace {
const char* const kUsage
    = "usage:\n"
      "  zelkora-cli send --from NAME --to AREA-PHONE [--to AREA-PHONE ...] "
      "(--text TEXT | --text-file FILE) [--json] [--interactive]\n"
      "                                   [--to-file FILE.vcf|FILE.csv] [--at \"YYYY-MM-DD HH:MM\"]\n"
      "                                   (--interactive: on a display, a page of the site's\n"
      "                                    that only a person can answer is shown to you)\n"
      "  zelkora-cli providers [--json]   (name, area codes, login, origin: service, cache\n"
      "                                    or local:FILE from providers.d)\n"
      "  zelkora-cli refresh\n"
      "  zelkora-cli history [--failed] [--since DATE] [--json]\n"
      "  zelkora-cli retry [--include-unknown]   (sends again to those of the last list that were\n"
      "                                    not sent; --include-unknown: also to those whose message\n"
      "                                    may have been sent, the site having given no verdict)\n"
      "  zelkora-cli check AREA-CODE [--json]   (walks the provider's pages up to the filled\n"
      "                                    message form and submits nothing)\n"
      "options: --service-url URL\n"
      "         --accept-login-origin   (send and retry: use a provider's credentials on its login page\n"
      "                                  even when that moved to another site since they were last used)\n";

void out(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void err(const QString& line)
{
    std::fputs(visibleText(line).toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

struct Options
{
    QString command;
    QStringList operands; // the words after the command
    QString from;
    QStringList to;
    QString text;
    bool hasText = false;
    QString textFile;
    bool json = false;
    // A page that only a person can answer is shown, when there is a display to show it on.
    bool interactive = false;
    QString toFile;
    QString at;
    bool failed = false;
    bool includeUnknown = false;
    bool acceptLoginOrigin = false;
    QString since;
    QString error;
};

Options parse(const QStringList& args)
{
    Options o;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString& target) {
            if (i + 1 >= args.size()) {
                o.error = QStringLiteral("%1 needs a value").arg(a);
                return;
            }
            target = args[++i];
        };
        if (a == QLatin1String("--from")) {
            value(o.from);
        } else if (a == QLatin1String("--to")) {
            QString r;
            value(r);
            o.to << r;
        } else if (a == QLatin1String("--text")) {
            value(o.text);
            o.hasText = true;
        } else if (a == QLatin1String("--text-file")) {
            value(o.textFile);
        } else if (a == QLatin1String("--json")) {
            o.json = true;
        } else if (a == QLatin1String("--interactive")) {
            o.interactive = true;
        } else if (a == QLatin1String("--to-file")) {
            value(o.toFile);
        } else if (a == QLatin1String("--at")) {
            value(o.at);
        } else if (a == QLatin1String("--since")) {
            value(o.since);
        } else if (a == QLatin1String("--failed")) {
            o.failed = true;
        } else if (a == QLatin1String("--include-unknown")) {
            o.includeUnknown = true;
        } else if (a == QLatin1String("--accept-login-origin")) {
            o.acceptLoginOrigin = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.command = QStringLiteral("help");
        } else if (QString url; AppPaths::takeServiceUrlOption(args, i, &url)) {
            AppPaths::setServiceUrlOverride(url);
        } else if (a == QLatin1String("--service-url")) {
            o.error = QStringLiteral("%1 needs a value").arg(a);
        } else if (!a.startsWith(QLatin1String("--"))) {
            if (o.command.isEmpty())
                o.command = a;
            else
                o.operands << a;
        } else {
            o.error = QStringLiteral("unknown argument: %1").arg(a);
        }
        if (!o.error.isEmpty())
            break;
    }
    return o;
}

// What a user with no provider at all can do about it, as one line.
QString howToGetDefinitions()
{
    return QStringLiteral("no provider is known yet: teach the program one with `zelkora --teach`, set ServiceURL in "
                          "the [General] section of %1, or run `zelkora-cli refresh --service-url URL`")
        .arg(SmsIni::defaultPath());
}

int providers(const Options& o)
{
    TProviders list;
    QStringList areaDefs;
    ServiceState state(list, areaDefs);
    state.setCredentialSource(credentialsFromSmsIni());
    state.LoadProviderCache();
    auto originName = [](const TProvider& p) {
        switch (p.Origin) {
        case ProviderOrigin::Cache:
            return QStringLiteral("cache");
        case ProviderOrigin::Local:
            return QStringLiteral("local");
        case ProviderOrigin::Service:
            break;
        }
        return QStringLiteral("service");
    };
    if (o.json) {
        QJsonArray array;
        for (const TProvider& p : std::as_const(list)) {
            QJsonObject entry { { QStringLiteral("name"), p.Name },
                { QStringLiteral("areaCodes"), QJsonArray::fromStringList(parseCommaText(p.AreaCodes)) },
                { QStringLiteral("needsLogin"), p.needsLogin() },
                { QStringLiteral("hasCredentials"), p.hasCredentials() },
                { QStringLiteral("msgLimit"), p.MsgLimit }, { QStringLiteral("signupUrl"), p.SignupURL },
                { QStringLiteral("origin"), originName(p) } };
            if (p.Origin == ProviderOrigin::Local)
                entry.insert(QStringLiteral("file"), p.OriginFile);
            array.append(entry);
        }
        out(QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)));
        return CliCommands::ExitOk;
    }
    if (list.isEmpty()) {
        err(QStringLiteral("no provider definitions in %1 or %2")
                .arg(AppPaths::providerCacheFile(), LocalDefinitions::folder()));
        err(howToGetDefinitions());
        return CliCommands::ExitFailed;
    }
    for (const TProvider& p : std::as_const(list)) {
        const QString login = !p.needsLogin() ? QStringLiteral("no login")
            : p.hasCredentials()              ? QStringLiteral("login, credentials set")
                                                           : QStringLiteral("login, credentials missing");
        const QString origin = p.Origin == ProviderOrigin::Local
            ? QStringLiteral("local:") + QFileInfo(p.OriginFile).fileName()
            : originName(p);
        out(p.Name + QLatin1Char('\t') + parseCommaText(p.AreaCodes).join(QLatin1Char(',')) + QLatin1Char('\t') + login
            + QLatin1Char('\t') + origin);
    }
    return CliCommands::ExitOk;
}

int refresh()
{
    if (AppPaths::serviceUrl().isEmpty()) {
        err(QStringLiteral("no service address is set: give one with --service-url URL, ZELKORA_SERVICE_URL or "
                           "ServiceURL in %1")
                .arg(SmsIni::defaultPath()));
        return CliCommands::ExitRefused;
    }
    TProviders list;
    QStringList areaDefs;
    ServiceState state(list, areaDefs);
    SmsIni ini;
    TAdvHttp http;
    const QString address = AppPaths::serviceUrl() + InitRequestPath(GetLocalAddress());
    try {
        http.setURL(address);
        http.setConnectTimeout(secondsToTimerInterval(ini.timeOut()));
        http.setRaiseExceptions(false);
        bool tooLarge = false;
        http.OnDataAvailable = [&http, &tooLarge](TAdvHttp*) {
            if (!tooLarge && http.BytesRead() > ProviderCache::MaxDocumentSize) {
                tooLarge = true;
                http.AbortRequest();
            }
        };
        const bool answered = http.Execute(true);
        if (tooLarge) {
            err(QStringLiteral("the service at %1 answered with more than %2 MiB, more than any definitions document; "
                               "providers.dat was left as it was")
                    .arg(AppPaths::serviceUrl())
                    .arg(ProviderCache::MaxDocumentSize / (1024 * 1024)));
            return CliCommands::ExitFailed;
        }
        if (!answered || http.StatusCode() != 200) {
            const QString why = http.StatusCode() > 0 ? QStringLiteral("HTTP %1").arg(http.StatusCode())
                                                      : http.ErrorMessage(http.LastError());
            err(QStringLiteral("the service at %1 did not answer: %2").arg(AppPaths::serviceUrl(), why));
            return CliCommands::ExitFailed;
        }
    } catch (const std::exception& e) {
        err(QStringLiteral("the service at %1 cannot be reached: %2")
                .arg(AppPaths::serviceUrl(), ErrorReport::textOf(e)));
        return CliCommands::ExitFailed;
    }
    const ProcessResult result = state.ProcessDocument(http.ResponseStream());
    if (!result.ok || state.connection != ConnectionState::Service) {
        err(QStringLiteral("the service's reply is incomplete%1; providers.dat was left as it was")
                .arg(result.ok ? QString() : QStringLiteral(" (") + result.error + QLatin1Char(')')));
        return CliCommands::ExitFailed;
    }
    if (QString why; !state.SaveProviderCache(&why)) {
        err(QStringLiteral("%1 could not be written (%2); it was left as it was")
                .arg(AppPaths::providerCacheFile(), why));
        return CliCommands::ExitFailed;
    }
    out(QStringLiteral("%1 providers, %2 area codes written to %3")
            .arg(list.size())
            .arg(areaDefs.size())
            .arg(AppPaths::providerCacheFile()));
    // After the counts, which are the service's alone: this only tells of the local files' problems.
    state.ApplyLocalDefinitions();
    return CliCommands::ExitOk;
}

// Where a page is, without what its address carries after the path.
QString pageWithoutQuery(const QString& address)
{
    return QUrl(address).adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo).toString();
}

// The send workflow's host on a terminal: statuses and per-recipient errors as lines on standard output,
// refusals on standard error, every question answered "send anyway", nothing written to SMS.INI.
class CliSendHost : public SendWorkflowHost
{
public:
    CliSendHost(TSMSBaseForm& engine, QStringList labels, bool json, ConnectionState connectionState)
        : m_labels(std::move(labels))
        , m_json(json)
        , m_connectionState(connectionState)
    {
        engine.OnStatus = [this, &engine](TSMSStatus s) {
            // A recipient's last line says whether the site confirmed the outcome in words, and whether the
            // message left for the site at all.
            const bool ends = !isBusyStatus(s) && s != ssReady;
            const SendOutcome outcome = engine.Outcome();
            line(int(s), QString::fromLatin1(statusName(s)), ResStrings::outcomeText(s, outcome),
                ends ? std::optional<Verdict>(Verdict { engine.Confirmed, engine.Submitted, engine.Failure })
                     : std::nullopt);
            if (ends) {
                m_reachedEngine = true;
                if (outcome == SendOutcome::Unknown)
                    m_unknown = true;
                else if (s != ssSent)
                    m_allSent = false;
                // Every recipient not sent says why, in the user's words.
                if (outcome != SendOutcome::Sent) {
                    const QString why = failureText(engine.Failure);
                    err(visibleText(m_labels.value(m_current)) + QStringLiteral(": ")
                        + visibleText(why.isEmpty() ? ResStrings::outcomeText(s, outcome) : why));
                }
                if (s != ssSent && !engine.PersonPage.isEmpty())
                    err(QStringLiteral("%1: the site answered with %2, which only a person can answer; send with "
                                       "--interactive on a display, or from the desktop program, to answer it")
                            .arg(m_labels.value(m_current), pageWithoutQuery(engine.PersonPage)));
            }
        };
    }

    bool isOnline() const override { return true; }
    ConnectionState connectionState() const override { return m_connectionState; }
    void setConnectionState(ConnectionState state) override { m_connectionState = state; }
    bool ask(const QString&) override { return true; }
    void reportError(const QString& text) override
    {
        m_allSent = false;
        if (m_current < 0)
            err(text);
        else
            line(HistoryEntry::Refused, QStringLiteral("error"), text, Verdict { false, false, {} });
    }
    // zelkora-cli writes nothing to SMS.INI: it uses credentials where they were bound, or with
    // --accept-login-origin where the definition now puts its login page, for this run.
    bool acceptLoginOrigin(const TProvider& provider, const QString& origin) override
    {
        if (!m_acceptLoginOrigin)
            err(QStringLiteral("%1's login page moved from %2 to %3; --accept-login-origin uses its credentials there")
                    .arg(provider.Name, provider.LoginOrigin, origin));
        return m_acceptLoginOrigin;
    }
    void acceptLoginOrigins(bool accept) { m_acceptLoginOrigin = accept; }

    QString credentialsMissing(const TProvider& provider, bool) override
    {
        return SendWorkflow::missingCredentialsText(provider);
    }
    void setCurrentRecipient(int index) override { m_current = index; }

    bool reachedEngine() const { return m_reachedEngine; }
    bool allSent() const { return m_allSent; }
    bool someUnknown() const { return m_unknown; }

private:
    struct Verdict
    {
        bool confirmed;
        bool submitted;
        SendFailure failure;
    };

    void line(int status, const QString& name, const QString& text, std::optional<Verdict> verdict = std::nullopt) const
    {
        const QString label = m_labels.value(m_current);
        // A recipient refused before the engine has no status of the engine's: "-" in the columns.
        const QString number = status == HistoryEntry::Refused ? QStringLiteral("-") : QString::number(status);
        if (m_json) {
            QJsonObject entry { { QStringLiteral("recipient"), label }, { QStringLiteral("status"), status },
                { QStringLiteral("name"), name }, { QStringLiteral("text"), text } };
            if (verdict) {
                entry.insert(QStringLiteral("submitted"), verdict->submitted);
                entry.insert(QStringLiteral("confirmed"), verdict->confirmed);
                if (!verdict->failure.isNone()) {
                    entry.insert(QStringLiteral("reason"), failureName(verdict->failure.reason));
                    entry.insert(QStringLiteral("reasonText"), failureText(verdict->failure));
                }
            }
            out(QString::fromUtf8(QJsonDocument(entry).toJson(QJsonDocument::Compact)));
        } else {
            out(visibleText(label) + QLatin1Char('\t') + number + QLatin1Char('\t') + name + QLatin1Char('\t')
                + visibleText(text));
        }
    }

    QStringList m_labels;
    bool m_json;
    ConnectionState m_connectionState;
    int m_current = -1;
    bool m_reachedEngine = false;
    bool m_allSent = true;
    bool m_unknown = false;
    bool m_acceptLoginOrigin = false;
};

// Sends the checked composition with the real engine, one output line per status, each recipient in the
// history as zelkora-cli's.
int sendComposition(SendWorkflow::Composition composition, const QStringList& labels, const Options& o)
{
    TSMSBaseForm engine;
    ServiceState state(engine.Providers, engine.AreaDefs);
    state.setCredentialSource(credentialsFromSmsIni());
    state.LoadProviderCache();
    engine.TimeOut = SmsIni().timeOut();
    CliSendHost host(engine, labels, o.json, engine.Providers.isEmpty() ? ConnectionState::NoDefinitions : ConnectionState::Stored);
    host.acceptLoginOrigins(o.acceptLoginOrigin);
    // Only a program with widgets, made for --interactive on a display, can show a site's page.
    std::unique_ptr<PersonPages> personPages;
    if (o.interactive && qobject_cast<QApplication*>(QCoreApplication::instance()))
        personPages = std::make_unique<PersonPages>(engine, nullptr);
    else if (o.interactive)
        err(QStringLiteral("--interactive: no display to show a site's page on"));
    if (!composition.listMode)
        host.setCurrentRecipient(0);
    HistoryStore history;
    HistoryRecorder recorder(engine, history);
    SendWorkflow workflow(engine, host);
    workflow.setRecorder(&recorder);
    composition.source = SendSource::CommandLine;
    const SendWorkflow::Outcome outcome = workflow.send(composition);
    // After the refusal it explains: every area code is one that no provider serves.
    if (engine.Providers.isEmpty())
        err(howToGetDefinitions());
    if (outcome == SendWorkflow::Outcome::Refused || outcome == SendWorkflow::Outcome::Declined)
        return CliCommands::ExitRefused;
    while (isBusyStatus(engine.Status))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    engine.OnStatus = nullptr;
    // Refused before any send: no recipient reached the engine.
    if (!host.reachedEngine())
        return CliCommands::ExitRefused;
    if (host.someUnknown())
        return CliCommands::ExitUnknown;
    return host.allSent() ? CliCommands::ExitOk : CliCommands::ExitFailed;
}

int send(const Options& o)
{
    QString message = o.text;
    if (!o.textFile.isEmpty()) {
        QFile file(o.textFile);
        if (!file.open(QIODevice::ReadOnly)) {
            err(QStringLiteral("cannot read %1: %2").arg(o.textFile, file.errorString()));
            return CliCommands::ExitRefused;
        }
        message = QString::fromUtf8(file.readAll());
        if (message.endsWith(QLatin1Char('\n')))
            message.chop(message.endsWith(QLatin1String("\r\n")) ? 2 : 1);
    }

    // The recipients typed, then those of the file; each output line is named after its recipient.
    QList<ListLine> recipients;
    QStringList labels;
    for (const QString& to : o.to) {
        recipients << ListLine::parse(QLatin1Char('=') + to);
        labels << to;
    }
    if (!o.toFile.isEmpty()) {
        const Contacts::RecipientFileResult file = Contacts::RecipientFile::read(o.toFile, SmsIni().countryCode());
        if (!file.error.isEmpty()) {
            err(file.error);
            return CliCommands::ExitRefused;
        }
        for (const QString& problem : file.problems)
            err(QFileInfo(o.toFile).fileName() + QStringLiteral(": ") + problem);
        for (const Contacts::FileRecipient& r : file.recipients) {
            // A list line ends its name at the first "=".
            recipients << ListLine { QString(r.name).replace(QLatin1Char('='), QLatin1Char(' ')), r.area, r.phone };
            labels << r.area + QLatin1Char('-') + r.phone;
        }
    }

    // One recipient is a single send; several are a list.
    SendWorkflow::Composition composition;
    composition.sender = o.from;
    composition.message = message;
    composition.listMode = recipients.size() != 1;
    if (composition.listMode) {
        for (const ListLine& line : std::as_const(recipients))
            composition.list << line.text();
    } else {
        composition.area = recipients.first().area;
        composition.phone = recipients.first().phone;
        composition.recipientName = recipients.first().name;
    }
    // The checks that refuse the whole input, before any recipient's turn.
    const QString refused = composition.listMode && composition.list.isEmpty() ? ResStrings::emptyList()
                                                                               : SendWorkflow::refusal(composition);
    if (!refused.isEmpty()) {
        err(refused);
        return CliCommands::ExitRefused;
    }
    if (!o.at.isEmpty())
        return CliHistory::schedule(composition, o.at);
    return sendComposition(composition, labels, o);
}

int retry(const Options& o)
{
    SendWorkflow::Composition composition;
    QStringList labels;
    if (!CliHistory::notSentOfLastList(&composition, &labels, o.includeUnknown))
        return CliCommands::ExitOk;
    return sendComposition(composition, labels, o);
}
} // namespace

namespace {
// The terminal shows the program's own words; the browser's start-up chatter about graphics and its
// sandbox means nothing to a user here.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    if (type == QtWarningMsg
        && (QLatin1String(context.category ? context.category : "").startsWith(QLatin1String("qt.webengine"))
            || text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))
            || text.startsWith(QLatin1String("WebEngineContext used before"))
            || text.startsWith(QLatin1String("No suitable graphics backend"))))
        return;
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}
} // namespace

int CliCommands::run(int argc, char** argv)
{
    qInstallMessageHandler(quietMessages);
    // A file that may grow no more (a file-size limit) makes the write fail, which the writers report, instead
    // of ending the program in the middle of it.
    std::signal(SIGXFSZ, SIG_IGN);
    // The browser renders nothing anyone sees; without a display it runs offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Widgets only for a send that may show a site's page to the person at the terminal.
    bool interactive = false;
    for (int i = 1; i < argc; ++i)
        interactive = interactive || qstrcmp(argv[i], "--interactive") == 0;
    const bool display = qgetenv("QT_QPA_PLATFORM") != "offscreen"
        && (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
    const std::unique_ptr<QGuiApplication> app = interactive && display
        ? std::unique_ptr<QGuiApplication>(std::make_unique<GuardedApplication<QApplication>>(argc, argv))
        : std::make_unique<GuardedApplication<QGuiApplication>>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelkora-cli"));

    // The settings' service address, under --service-url and the environment's.
    SmsIni().serviceUrl();
    const Options o = parse(QCoreApplication::arguments());
    if (!o.error.isEmpty()) {
        err(o.error);
        std::fputs(kUsage, stderr);
        return ExitRefused;
    }
    if (o.command != QLatin1String("check") && !o.operands.isEmpty()) {
        err(QStringLiteral("unknown argument: %1").arg(o.operands.first()));
        std::fputs(kUsage, stderr);
        return ExitRefused;
    }
    if (o.command == QLatin1String("check")) {
        if (o.operands.size() != 1) {
            err(QStringLiteral("check needs one area code"));
            std::fputs(kUsage, stderr);
            return ExitRefused;
        }
        return CliCheck::run(o.operands.first(), o.json);
    }
    if (o.command == QLatin1String("send"))
        return send(o);
    if (o.command == QLatin1String("history"))
        return CliHistory::list(o.failed, o.since, o.json);
    if (o.command == QLatin1String("retry"))
        return retry(o);
    if (o.command == QLatin1String("providers"))
        return providers(o);
    if (o.command == QLatin1String("refresh"))
        return refresh();
    std::fputs(kUsage, o.command.isEmpty() || o.command == QLatin1String("help") ? stdout : stderr);
    return o.command.isEmpty() || o.command == QLatin1String("help") ? ExitOk : ExitRefused;
}
