#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>

class QUrl;
class ServiceConnection;
class ServiceState;

// What the banner rotation needs from the window that shows the banners.
class BannerRotationHost
{
public:
    virtual ~BannerRotationHost() = default;
    // The window is on screen: visible and not minimised.
    virtual bool windowShown() const = 0;
    // The banner's picture is wholly hidden behind other windows.
    virtual bool bannerCovered() const = 0;
    // A shown window wholly covered by other windows is minimised.
    virtual void minimiseIfCovered() = 0;
    // Tests the machine's Internet connection.
    virtual bool checkOnline() = 0;
    // Shows a decoded banner picture.
    virtual void displayBanner(const QImage& picture) = 0;
    // Opens a web address with the desktop's handler.
    virtual bool openUrl(const QUrl& url) = 0;
};

// The banner space: rotates the service's banners (Adverts), one at a time, each for its interval, while the
// window is on screen, its banner is not hidden and the HTTP component is free; shows a banner from its
// picture in the cache folder or downloads the picture first; counts an impression each time a picture is
// really shown; and opens the shown banner's page when it is clicked.
//
// Pictures are decoded on a worker thread, so that a large download never stalls the window; an impression
// counts only once the picture was decoded and shown.
class BannerRotation : public QObject
{
    Q_OBJECT
public:
    // `messageReceiver` is where UM_BANNERCHOSEN is posted; it hands it back to BannerChosen().
    BannerRotation(ServiceState& state, ServiceConnection& service, BannerRotationHost& host, QObject* messageReceiver,
        QObject* parent = nullptr);
    ~BannerRotation() override;

    // 4000 ms at start; then each chosen banner's interval.
    QTimer BannerTimer;
    int BannerIndex = 1;
    // The chosen banner.
    QString BannerName;
    QString BannerType;
    QString BannerURL;
    QString BannerHomeURL;
    QString BannerFile;
    // The picture shown now, and what a click on the banner opens.
    QString ShownFile;
    QString ShownName; // the shown banner's name, as the service gave it
    QString ClickURL;

    void BannerTimerTimer();
    void ChooseBanner();
    // UM_BANNERCHOSEN: the chosen banner from its cached picture, or its picture downloaded.
    void BannerChosen();
    // UM_BANNERLOADED: a downloaded picture that decodes is kept in the cache folder and shown.
    void BannerLoaded();
    // Decodes the picture file (chosen by its extension) and shows it; nothing when it cannot be decoded.
    void ShowBanner(const QString& file);
    void bannerClicked();

    // The cache file of a banner: "Name.BannerType" in the cache folder. The name and type come from the
    // service: a path separator, a control character or a leading dot in them cannot lead outside the folder
    // or to a hidden file; such a name gets a file of its own, told apart by a digest of the original.
    static QString cacheFileFor(const QString& name, const QString& type);

signals:
    // A banner's picture was shown and its impression counted.
    void bannerShown(const QString& file);

private:
    // Decodes a downloaded picture on a worker thread; writes it to `file` and shows it only when it decodes.
    void keepDownloadedPicture(const QByteArray& picture, const QString& file);
    void pictureDecoded(
        quint64 request, const QImage& picture, const QString& file, const QString& name, const QString& homeUrl);

    ServiceState& m_state;
    ServiceConnection& m_service;
    BannerRotationHost& m_host;
    QObject* m_messageReceiver;
    // Raised by every ShowBanner; a picture decoded for an older one is not shown.
    quint64 m_decodeRequest = 0;
};
