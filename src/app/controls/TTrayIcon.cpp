#include "TTrayIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>

TTrayIcon::TTrayIcon(QObject* parent)
    : QObject(parent)
    , m_tray(new QSystemTrayIcon(this))
{
    // The context menu is handed to the notification area itself, which opens it at the cursor and
    // closes it again on a click elsewhere.
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            emit OnDblClick();
    });
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
