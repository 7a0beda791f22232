#pragma once

#include <QElapsedTimer>
#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

#include <optional>

// The program's icon in the notification area. Its tip is the hint, cut to the 63 characters that the
// notification area has room for; the context click opens TrayMenu. Activating the icon raises OnDblClick:
// a double click does, and so does the single activation that Plasma and GNOME's AppIndicator tray send
// (they never send a double click), but a double click that follows the single click of the same gesture
// (an XEmbed tray sends both) raises it once only.
class TTrayIcon : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QIcon Icon READ icon WRITE setIcon)
    Q_PROPERTY(QString Hint READ hint WRITE setHint)

public:
    // The Windows notification area took 63 characters; the desktops' (StatusNotifierItem, XEmbed) take any
    // length, and a few lines are shown whole: the definitions' source and the next queued send with its time.
    static constexpr int MaxTipLength = 255;

    explicit TTrayIcon(QObject* parent = nullptr);
    ~TTrayIcon() override;

    QIcon icon() const { return m_icon; }
    // Takes a copy; the notification area shows it at the next AddIcon or UpdateIcon.
    void setIcon(const QIcon& icon) { m_icon = icon; }
    QString hint() const { return m_hint; }
    void setHint(const QString& hint);
    // The menu is not owned.
    QMenu* trayMenu() const { return m_menu; }
    void setTrayMenu(QMenu* menu);

    // The text the notification area shows: the hint, at most MaxTipLength characters.
    QString tip() const;
    static QString tipFor(const QString& hint);

    // Whether the icon is in the notification area.
    bool isShown() const;
    // Whether the desktop has a notification area at all (stock GNOME without its extension has none): a
    // window hidden there could never be reached again.
    static bool isSystemTrayAvailable();
    // Tests decide it: true or false; unset asks the desktop again.
    static void setSystemTrayAvailableForTesting(std::optional<bool> available);
    // The notification area's own icon object (tests look at it).
    QSystemTrayIcon* systemTrayIcon() const { return m_tray; }

public slots:
    // Refreshes icon and tip, adding the icon when it is not there yet; nothing while there is no icon.
    void UpdateIcon();
    void AddIcon();
    void RemoveIcon();

signals:
    void OnDblClick();

private:
    void apply();
    void activated(QSystemTrayIcon::ActivationReason reason);

    QIcon m_icon;
    QString m_hint;
    QPointer<QMenu> m_menu;
    QSystemTrayIcon* m_tray;
    QElapsedTimer m_lastClick; // the last single activation, which a double click of the same gesture follows
};
