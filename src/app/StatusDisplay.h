#pragma once

#include "session/MainView.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class MainSession;
class QLineEdit;
class QWidget;
class TPopUpStatusForm;

// The handset's status texts: in the skin's colour of their kind, on the status line or in the status window
// as the session places them, and a list send's status window with one line per recipient. It goes with the
// window whose status line it writes.
class StatusDisplay : public QObject
{
    Q_OBJECT
public:
    StatusDisplay(QWidget& window, QLineEdit& statusLine, MainSession& session);

    void show(const QString& text, StatusKind kind);
    // The colour of the last status, as a colour value (0x00BBGGRR).
    quint32 colour() const { return m_colour; }
    // How many status texts were shown so far: whoever showed one can tell whether another came since.
    quint64 count() const { return m_count; }
    // The last status text shown, wherever it went.
    QString lastText() const { return m_lastText; }

    // A list send: its status window, one waiting line per recipient, and its end. A list that ended with
    // recipients not sent offers to send to them again.
    void beginList(const QStringList& names);
    void endList();

    // The current status window; null when none is current.
    TPopUpStatusForm* popUpStatusForm() const;
    // A status window owned by the window, wired to the display.
    TPopUpStatusForm* makeStatusWindow();
    // The current status window goes without closing: a list send under way goes on with its next recipient.
    void dropStatusWindow();
    // While set, a status opens no status window (the close button's cancel, whose window would go at once).
    void setWindowBarred(bool barred) { m_windowBarred = barred; }

signals:
    // The status window's button was pressed: the window may offer to drop its recipient list.
    void dropListAsked();

private:
    void setColour(quint32 colour);
    // A status window closes: the running list send stops when it was the current one and its button still
    // offered to cancel.
    void statusWindowClosed(TPopUpStatusForm* form, bool cancelButton);

    QWidget& m_window;
    QLineEdit& m_statusLine;
    MainSession& m_session;
    QPointer<TPopUpStatusForm> m_statusWindow;
    QStringList m_listNames; // the names of the list send's recipients, in its order
    QString m_lastText;
    quint32 m_colour = 0;
    quint64 m_count = 0;
    bool m_windowBarred = false;
};
