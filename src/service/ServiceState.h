#pragma once

#include "ConnectionState.h"

#include "ServiceDocument.h"
#include "ServiceHost.h"
#include "TCacheTable.h"
#include "TProvider.h"

#include <QByteArray>
#include <QLatin1String>
#include <QString>
#include <QStringList>

#include <functional>

// What the service's documents set: the fields the tags write, the banner tables, the connection state and
// the provider cache. The main window owns one; the command-line tool uses one without a window. The
// provider list and the area list belong to the sending engine and are only referred to.
class ServiceState
{
public:
    // Fills in the credentials of every provider (from SMS.INI); applied after every load of definitions.
    using CredentialSource = std::function<void(TProviders& providers)>;

    ServiceState(TProviders& providers, QStringList& areaDefs, ServiceHost* host = nullptr);
    // The credentials go onto the providers after the cache and every document have been applied with the local
    // definitions; none: the records keep what their tags gave (no credentials).
    void setCredentialSource(CredentialSource source) { m_credentials = std::move(source); }

    void setHost(ServiceHost* host);
    ServiceHost* host() const { return m_host; }

    TProviders& Providers;
    QStringList& AreaDefs;
    TCacheTable Adverts; // rotated and counted
    TCacheTable AdvertsStaging; // a document's ADVERT list, or the snapshot of reported impressions

    QString SessionID;
    qint32 StatisticsInterval = 0; // milliseconds; 0 until PARAMS gives one
    qint32 RefreshCount = 0;
    qint32 InitInterval = 30000; // milliseconds
    QString HomePage; // the service's base address until PARAMS gives one
    QString OnlineHelpURL;
    QString SendParams = QStringLiteral("yes");
    bool HitsUpdated = false;

    ConnectionState connection = ConnectionState::NoDefinitions;
    // The last load of providers.dat reached FINISHED.
    bool CacheLoaded = false;

    // The document processed last, live or from the cache; SaveProviderCache writes it. Local definitions
    // never enter it.
    ServiceDocument Document;

    void setConnectionState(ConnectionState state);

    // Normalises the text into Document and processes it tag by tag; the providers it defines get `origin`.
    ProcessResult ProcessDocument(const QByteArray& text, ProviderOrigin origin = ProviderOrigin::Service);
    void HandleServiceTag(
        QLatin1String tagName, const TagParams& params, ProviderOrigin origin = ProviderOrigin::Service);

    // Reads providers.dat and processes it as a live document, then applies the local definitions.
    // CacheLoaded tells whether the cache reached FINISHED; a missing, unreadable or invalid file ends its
    // load without a word.
    void LoadProviderCache();
    // Writes Document to providers.dat; false, with the reason in `error`, when it could not (the old file
    // then stays as it was).
    bool SaveProviderCache(QString* error = nullptr);

    // Reads providers.d again and rebuilds the lists from it and from the service's own definitions: the
    // local providers first, then the service's whose Name no local one has; the local area items first,
    // then the service's whose code no local item defines. Credentials are carried over by Name. The host
    // hears of the files' problems (an empty list when there are none), and of AreaDefs when it changed.
    void ApplyLocalDefinitions();

    // What the service and the cache defined, without the local definitions: what ApplyLocalDefinitions
    // starts from, so that applying again gives the same lists.
    struct ServiceDefinitions
    {
        TProviders providers;
        QStringList areaDefs;
    };
    const ServiceDefinitions& serviceDefinitions() const { return m_service; }
    // For a caller that puts earlier lists back after a document broke off.
    void restoreServiceDefinitions(const ServiceDefinitions& definitions) { m_service = definitions; }

private:
    void handleMessage(const TagParams& params);
    void readProviderCache();
    void rebuildLists(const TProviders& local, const QStringList& localAreas);

    ServiceHost* m_host;
    ServiceDefinitions m_service;
    bool m_localInForce = false; // the lists hold what the last reading of providers.d gave
    CredentialSource m_credentials;
};
