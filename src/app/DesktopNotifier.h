#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class QDBusInterface;

// Tells the user of something that happened while the window was hidden: through the desktop's notification
// service (org.freedesktop.Notifications on the session bus) where one answers, otherwise through the
// fallback (the tray icon's message). Activating a notification runs what it was shown with.
class DesktopNotifier : public QObject
{
    Q_OBJECT
public:
    using Fallback = std::function<void(const QString& title, const QString& body)>;

    explicit DesktopNotifier(Fallback fallback, QObject* parent = nullptr);
    ~DesktopNotifier() override;

    void notify(const QString& title, const QString& body, std::function<void()> activated);

private slots:
    void invoked(uint id, const QString& action);
    void closed(uint id, uint reason);

private:
    Fallback m_fallback;
    QDBusInterface* m_service = nullptr;
    QHash<uint, std::function<void()>> m_pending;
};
