#pragma once

#include <QObject>
#include <QString>

class TMsgForm;

// The main window for the keyboard and for screen readers: every control named in the interface language,
// labels tied to their fields, the order Tab follows, Ctrl+Return to send from any field, and the status
// line, the counter and the banner told as plain text when they change. It uses the window's public face only
// and goes with the window.
class HandsetAccess : public QObject
{
    Q_OBJECT
public:
    // Describes the window's controls, which must exist.
    explicit HandsetAccess(TMsgForm& window);

    void describeCounter(int typed, int limit);

private:
    void describeStatus(const QString& text);
    void describeBanner(const QString& name);

    TMsgForm& m_window;
};
