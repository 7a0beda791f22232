#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPointer>

class QSystemTrayIcon;

// The program's icon in the notification area. Its tip is the hint, cut to the 63 characters that the
// notification area has room for; a double click raises OnDblClick and the context click opens TrayMenu.
class TTrayIcon : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QIcon Icon READ icon WRITE setIcon)
    Q_PROPERTY(QString Hint READ hint WRITE setHint)

public:
    static constexpr int MaxTipLength = 63;

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

    QIcon m_icon;
    QString m_hint;
    QPointer<QMenu> m_menu;
    QSystemTrayIcon* m_tray;
};
