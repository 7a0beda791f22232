#include "TTrayIcon.h"

#include <QGuiApplication>
#include <QMenu>
#include <QStyleHints>

TTrayIcon::TTrayIcon(QObject* parent)
    : QObject(parent)
    , m_tray(new QSystemTrayIcon(this))
{
    // The context menu is handed to the notification area itself, which opens it at the cursor and
    // closes it again on a click elsewhere.
    connect(m_tray, &QSystemTrayIcon::activated, this, &TTrayIcon::activated);
}

namespace {
std::optional<bool>& trayAvailableForTesting()
{
    static std::optional<bool> available;
    return available;
}
} // namespace

bool TTrayIcon::isSystemTrayAvailable()
{
    if (trayAvailableForTesting())
        return *trayAvailableForTesting();
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TTrayIcon::setSystemTrayAvailableForTesting(std::optional<bool> available)
{
    trayAvailableForTesting() = available;
}

void TTrayIcon::activated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger) {
        m_lastClick.start();
        emit OnDblClick();
    } else if (reason == QSystemTrayIcon::DoubleClick) {
        // The double click of a gesture whose first click already activated the icon.
        const bool sameGesture = m_lastClick.isValid()
            && m_lastClick.elapsed() <= QGuiApplication::styleHints()->mouseDoubleClickInterval();
        m_lastClick.invalidate();
        if (!sameGesture)
            emit OnDblClick();
    }
}

TTrayIcon::~TTrayIcon()
{
    RemoveIcon();
}

void TTrayIcon::setHint(const QString& hint)
{
    m_hint = hint;
    if (isShown())
        m_tray->setToolTip(tip());
}

void TTrayIcon::setTrayMenu(QMenu* menu)
{
    m_menu = menu;
    m_tray->setContextMenu(menu);
}

QString TTrayIcon::tipFor(const QString& hint)
{
    if (hint.size() <= MaxTipLength)
        return hint;
    // Never cut a surrogate pair in half.
    int length = MaxTipLength;
    if (hint.at(length - 1).isHighSurrogate())
        --length;
    return hint.left(length);
}

QString TTrayIcon::tip() const
{
    return tipFor(m_hint);
}

bool TTrayIcon::isShown() const
{
    return m_tray->isVisible();
}

void TTrayIcon::apply()
{
    m_tray->setIcon(m_icon);
    m_tray->setToolTip(tip());
}

void TTrayIcon::UpdateIcon()
{
    if (m_icon.isNull())
        return;
    apply();
    if (!isShown())
        m_tray->show();
}

void TTrayIcon::AddIcon()
{
    if (m_icon.isNull())
        return;
    apply();
    m_tray->show();
}

void TTrayIcon::RemoveIcon()
{
    m_tray->hide();
}
