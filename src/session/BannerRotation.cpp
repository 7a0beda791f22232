#include "BannerRotation.h"
#include "common/AtomicFile.h"

#include "common/ImageDecoders.h"
#include "common/Messages.h"
#include "common/WebAddress.h"
#include "service/ServiceState.h"
#include "session/ServiceConnection.h"
#include "session/ServiceConnectionHost.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QMutexLocker>
#include <QSaveFile>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

namespace {
// A banner whose interval is 0 (from a file or a document that gave none) stays this long instead of
// turning the rotation into a busy loop or stopping it.
constexpr int DefaultInterval = 10000;

// A part of a file name that the service gave, made harmless: no path separator, no control character, no
// leading dot. True in `changed` when anything had to change.
QString harmless(const QString& part, bool* changed)
{
    QString safe;
    safe.reserve(part.size());
    for (const QChar c : part) {
        const bool bad = c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 32 || c.unicode() == 127;
        safe += bad ? QLatin1Char('_') : c;
        *changed = *changed || bad;
    }
    if (safe.startsWith(QLatin1Char('.'))) {
        safe.prepend(QLatin1Char('_'));
        *changed = true;
    }
    return safe;
}
} // namespace

BannerRotation::BannerRotation(ServiceState& state, ServiceConnection& service, BannerRotationHost& host,
    QObject* messageReceiver, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_service(service)
    , m_host(host)
    , m_messageReceiver(messageReceiver)
{
    // A child, so that the window's components can be found by name; as a member it goes before its parent.
    BannerTimer.setParent(this);
    BannerTimer.setObjectName(QStringLiteral("BannerTimer"));
    BannerTimer.setInterval(4000);
    connect(&BannerTimer, &QTimer::timeout, this, &BannerRotation::BannerTimerTimer);
    connect(&m_service, &ServiceConnection::bannerLoaded, this, &BannerRotation::BannerLoaded);
}

BannerRotation::~BannerRotation() = default;

QString BannerRotation::cacheFileFor(const QString& name, const QString& type)
{
    bool changed = false;
    QString safeName = harmless(name, &changed);
    const QString safeType = harmless(type, &changed);
    // Two names made alike by the cleaning keep files of their own; the type stays the extension, which
    // chooses the picture's decoder.
    if (changed || safeName.isEmpty()) {
        const QByteArray original = (name + QLatin1Char('.') + type).toUtf8();
        safeName += QLatin1Char('-')
            + QString::fromLatin1(QCryptographicHash::hash(original, QCryptographicHash::Sha1).toHex().left(8));
    }
    return ServiceConnectionHost::bannerCacheFolder() + safeName + QLatin1Char('.') + safeType;
}

void BannerRotation::BannerTimerTimer()
{
    m_host.minimiseIfCovered();
    m_host.checkOnline();
    const bool due = m_host.windowShown() && m_service.isHttpIdle() && !m_host.bannerCovered();
    if (!due)
        return;
    BannerTimer.stop();
    try {
        ChooseBanner();
    } catch (...) {
    }
    ++BannerIndex;
    BannerTimer.start();
}

void BannerRotation::ChooseBanner()
{
    if (!QDir().mkpath(ServiceConnectionHost::bannerCacheFolder()))
        return;
    const TCacheTable& adverts = m_state.Adverts;
    if (adverts.Count() == 0)
        return;
    const TCacheEntry& entry = adverts[BannerIndex % adverts.Count()];
    BannerHomeURL = entry.HomeURL;
    BannerURL = entry.URL;
    BannerType = entry.BannerType;
    BannerName = entry.Name;
    BannerTimer.setInterval(entry.Interval > 0 ? int(qMin<quint32>(entry.Interval, INT_MAX)) : DefaultInterval);
    postUserMessage(m_messageReceiver, UM_BANNERCHOSEN);
}

void BannerRotation::BannerChosen()
{
    if (BannerURL.isEmpty())
        return;
    BannerTimer.stop();
    try {
        BannerFile = cacheFileFor(BannerName, BannerType);
        const bool cached = QFileInfo::exists(BannerFile);
        const bool online = m_host.checkOnline();
        if (cached || !online)
            ShowBanner(BannerFile);
        else
            m_service.StartBannerDownload(BannerURL);
    } catch (...) {
    }
    BannerTimer.start();
}

void BannerRotation::BannerLoaded()
{
    try {
        if (m_service.bannerReplyStatus() == 200 && !BannerFile.isEmpty())
            keepDownloadedPicture(m_service.bannerReply(), BannerFile);
    } catch (...) {
    }
    ++BannerIndex;
    BannerTimer.start();
}

void BannerRotation::keepDownloadedPicture(const QByteArray& picture, const QString& file)
{
    // Kept only when it decodes as a picture of its type: an error page served with status 200, or a picture
    // cut short, would otherwise stand in the cache, and be shown as nothing, until the next complete
    // initialisation empties the folder.
    const quint64 request = ++m_decodeRequest;
    const QString name = BannerName;
    const QString homeUrl = BannerHomeURL;
    auto* watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcher<QImage>::finished, this, [=] {
        const QImage decoded = watcher->result();
        watcher->deleteLater();
        if (decoded.isNull())
            return;
        if (!AtomicFile::write(file, picture))
            return;
        if (file != ShownFile)
            pictureDecoded(request, decoded, file, name, homeUrl);
    });
    watcher->setFuture(
        QtConcurrent::run([picture, file] { return ImageDecoders::decodeAs(picture, QFileInfo(file).suffix()); }));
}

void BannerRotation::ShowBanner(const QString& file)
{
    const quint64 request = ++m_decodeRequest;
    // What the banner stands for now; a later choice must not be credited with this picture.
    const QString name = BannerName;
    const QString homeUrl = BannerHomeURL;
    auto* watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcher<QImage>::finished, this, [=] {
        pictureDecoded(request, watcher->result(), file, name, homeUrl);
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run([file] {
        QFile input(file);
        if (!input.open(QIODevice::ReadOnly))
            return QImage();
        return ImageDecoders::decodeAs(input.readAll(), QFileInfo(file).suffix());
    }));
}

void BannerRotation::pictureDecoded(
    quint64 request, const QImage& picture, const QString& file, const QString& name, const QString& homeUrl)
{
    // A picture that cannot be read leaves the banner shown before and counts nothing.
    if (request != m_decodeRequest || picture.isNull())
        return;
    m_host.displayBanner(picture);
    ClickURL = homeUrl;
    ShownFile = file;
    ShownName = name;
    m_state.Adverts.AddHit(name);
    emit bannerShown(file);
}

void BannerRotation::bannerClicked()
{
    if (ClickURL.isEmpty())
        return;
    // The address comes from the service: only web addresses are handed to the desktop.
    const QUrl url(ClickURL.trimmed());
    if (isWebAddress(url))
        m_host.openUrl(url);
}
