#include "ServiceState.h"

#include "LocalDefinitions.h"
#include "ProviderCache.h"
#include "ServiceRequests.h"
#include "common/AppPaths.h"
#include "common/ErrorReport.h"

#include <QFile>
#include <QLocale>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <exception>
#include <limits>
#include <optional>

Q_LOGGING_CATEGORY(lcService, "zelkora.service", QtInfoMsg)

namespace {
// A real number written with the user's decimal separator: optional sign, digits, an optional
// exponent; no group separators. Nothing when the text is not one.
std::optional<double> parseLocaleReal(QString text)
{
    text = text.trimmed();
    const QString separator = QLocale::system().decimalPoint();
    if (separator != QLatin1String(".")) {
        if (text.contains(QLatin1Char('.')))
            return std::nullopt;
        text.replace(separator, QStringLiteral("."));
    }
    static const QRegularExpression real(QStringLiteral("^[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
    if (!real.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

// Seconds from the document to milliseconds, held at the ends of the field's range instead of
// wrapping round to some unrelated small interval.
template<typename Field> Field secondsToMs(qint32 seconds)
{
    const qint64 ms = static_cast<qint64>(seconds) * 1000;
    return static_cast<Field>(
        std::clamp<qint64>(ms, std::numeric_limits<Field>::min(), std::numeric_limits<Field>::max()));
}

bool is(QLatin1String tagName, const char* name)
{
    return tagName == QLatin1String(name);
}

// A fault in handling a tag rather than in the document's text: no line to name.
ProcessResult failedWith(const QString& text)
{
    ProcessResult result;
    result.ok = false;
    result.error = text;
    result.reason = text;
    return result;
}

// Provider names are SMS.INI section names, which ignore letter case.
const TProvider* findByName(const TProviders& providers, const QString& name)
{
    for (const TProvider& p : providers) {
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

// The local items first, the first of each code kept; then the service's items whose code no local item
// defines. Items without "=" define no code and stay as they are.
QStringList mergeAreaDefs(const QStringList& local, const QStringList& service)
{
    QStringList merged;
    QSet<QString> localCodes;
    for (const QString& item : local) {
        const QString code = areaCodeOf(item).toCaseFolded();
        if (!code.isEmpty()) {
            if (localCodes.contains(code))
                continue;
            localCodes.insert(code);
        }
        merged.append(item);
    }
    for (const QString& item : service) {
        const QString code = areaCodeOf(item).toCaseFolded();
        if (code.isEmpty() || !localCodes.contains(code))
            merged.append(item);
    }
    return merged;
}
} // namespace

ServiceState::ServiceState(TProviders& providers, QStringList& areaDefs, ServiceHost* host)
    : Providers(providers)
    , AreaDefs(areaDefs)
    , HomePage(AppPaths::serviceUrl())
    , m_host(host ? host : ServiceHost::fallback())
{
}

void ServiceState::setHost(ServiceHost* host)
{
    m_host = host ? host : ServiceHost::fallback();
}

void ServiceState::setConnectionState(ConnectionState state)
{
    connection = state;
    m_host->setConnectionState(state);
}

ProcessResult ServiceState::ProcessDocument(const QByteArray& text, ProviderOrigin origin)
{
    Document = ServiceDocument::fromText(text);
    // A MESSAGE box runs an event loop, in which another reply may replace Document; this copy keeps the
    // text being walked alive.
    const ServiceDocument document = Document;
    try {
        return ::ProcessDocument(document, [this, origin](QLatin1String tagName, const TagParams& params) {
            HandleServiceTag(tagName, params, origin);
        });
    } catch (const std::exception& error) {
        return failedWith(ErrorReport::textOf(error));
    }
}

void ServiceState::HandleServiceTag(QLatin1String tagName, const TagParams& params, ProviderOrigin origin)
{
    auto number = [&](const char* name, qint32 fallback) {
        return parseDecimalInt(params.value(QLatin1String(name)), fallback);
    };

    if (is(tagName, "AREAS")) {
        m_service.areaDefs = parseCommaText(params.value(QLatin1String("DEFS")));
        AreaDefs = m_service.areaDefs;
        m_host->areaDefsChanged();
    } else if (is(tagName, "PROVIDERS")) {
        m_service.providers.clear();
        // Local providers stay, with their credentials, until ApplyLocalDefinitions rebuilds the list.
        Providers.removeIf([](const TProvider& p) { return p.Origin != ProviderOrigin::Local; });
    } else if (is(tagName, "PROVIDER")) {
        TProvider provider
            = TProvider::fromParameters([&](const QString& name) { return params.value(QStringView(name)); });
        const QString unsafe = unsafePageAddressField(provider);
        if (!unsafe.isEmpty()) {
            qCWarning(lcService, "provider \"%s\" left out: its %s is not an http or https address",
                qPrintable(provider.Name), qPrintable(unsafe));
            return;
        }
        provider.Origin = origin;
        m_service.providers.append(provider);
        Providers.append(provider);
    } else if (is(tagName, "MESSAGE")) {
        handleMessage(params);
    } else if (is(tagName, "SESSION")) {
        const QString id = params.value(QLatin1String("ID"));
        SessionID = id.isEmpty() ? QStringLiteral("Default") : id;
    } else if (is(tagName, "ADVERTS")) {
        AdvertsStaging.Clear();
    } else if (is(tagName, "ADVERT")) {
        TCacheEntry entry;
        entry.Name = params.value(QLatin1String("AdBannerName"));
        entry.BannerType = params.value(QLatin1String("AdBannerType"));
        entry.URL = params.value(QLatin1String("AdURL"));
        entry.HomeURL = params.value(QLatin1String("AdHomeURL"));
        entry.Interval = secondsToMs<quint32>(number("Interval", 10));
        entry.Hits = 0;
        AdvertsStaging.Append(entry);
    } else if (is(tagName, "PARAMS")) {
        StatisticsInterval = secondsToMs<qint32>(number("StatisticsInterval", 60));
        RefreshCount = number("RefreshCount", 0);
        InitInterval = number("InitInterval", 30000);
        HomePage = params.value(QLatin1String("HomePage"));
        if (HomePage.isEmpty())
            HomePage = AppPaths::serviceUrl();
    } else if (is(tagName, "ONLINEHELP")) {
        OnlineHelpURL = params.value(QLatin1String("URL"));
        m_host->setOnlineHelpEnabled(!OnlineHelpURL.isEmpty());
    } else if (is(tagName, "UPDATED")) {
        AdvertsStaging.CopyHitsFrom(Adverts);
        Adverts.Assign(AdvertsStaging);
        SendParams = QStringLiteral("no");
        HitsUpdated = true;
    } else if (is(tagName, "FINISHED")) {
        setConnectionState(ConnectionState::Service);
        m_host->finished();
    }
}

void ServiceState::handleMessage(const TagParams& params)
{
    const QString text = params.value(QLatin1String("Text"));
    if (text.isEmpty())
        return;
    auto bound = [&](const char* name) {
        const QString value = params.value(QLatin1String(name));
        if (value.isEmpty())
            return -1.0;
        return parseLocaleReal(value).value_or(-1.0);
    };
    const double below = bound("ToVersionBelow");
    const double over = bound("ToVersionOver");
    // A bound of -1 is no bound; both comparisons are strict.
    const bool noBelow = below == -1.0;
    const bool noOver = over == -1.0;
    const double v = AppVersion;
    const bool shown = (noBelow && noOver) || (v > over && v < below) || (v > over && noBelow) || (noOver && v < below);
    if (shown)
        m_host->showMessage(text);
}

void ServiceState::LoadProviderCache()
{
    readProviderCache();
    ApplyLocalDefinitions();
}

void ServiceState::readProviderCache()
{
    CacheLoaded = false;
    const QString path = ProviderCache::path();
    if (!QFile::exists(path))
        return;
    const std::optional<QByteArray> bytes = ProviderCache::read(path);
    if (!bytes)
        return;
    try {
        setConnectionState(ConnectionState::NoDefinitions);
        if (!ProcessDocument(*bytes, ProviderOrigin::Cache).ok)
            return;
        // Only FINISHED moves the state off 0.
        CacheLoaded = connection != ConnectionState::NoDefinitions;
    } catch (...) {
        // A broken cache is as good as none; the definitions then come from the service or not at all.
    }
}

bool ServiceState::SaveProviderCache(QString* error)
{
    return ProviderCache::write(ProviderCache::path(), Document.text(), error);
}

void ServiceState::ApplyLocalDefinitions()
{
    TProviders local;
    QStringList localAreas;
    QStringList report;
    const QVector<LocalDefinitionFile> files = LocalDefinitions::readFolder();
    for (const LocalDefinitionFile& file : files) {
        report += file.warnings;
        if (!file.error.isEmpty())
            report.append(file.error);
        local += file.providers;
        localAreas += file.areaDefs;
    }

    // Without local definitions, now or from the last reading, the lists are the service's as they stand.
    const bool anyLocal = !local.isEmpty() || !localAreas.isEmpty();
    if (anyLocal || m_localInForce)
        rebuildLists(local, localAreas);
    m_localInForce = anyLocal;
    m_host->localDefinitionsReport(report);
    if (m_credentials)
        m_credentials(Providers);
}

void ServiceState::rebuildLists(const TProviders& local, const QStringList& localAreas)
{
    TProviders providers = local;
    for (const TProvider& p : std::as_const(m_service.providers)) {
        if (!findByName(local, p.Name))
            providers.append(p);
    }
    // The records are made anew from their tags, without the credentials SMS.INI gave the ones in force.
    for (TProvider& p : providers) {
        if (const TProvider* before = findByName(Providers, p.Name)) {
            p.UserName = before->UserName;
            p.Password = before->Password;
        }
    }
    Providers = providers;

    const QStringList areaDefs = mergeAreaDefs(localAreas, m_service.areaDefs);
    if (areaDefs != AreaDefs) {
        AreaDefs = areaDefs;
        m_host->areaDefsChanged();
    }
}
