#pragma once

#include <QString>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;

// The separate status window: the sending status as text, or one line per recipient during a list send.
// It stays on top of other windows and is destroyed when it closes. While it may cancel (its button reads
// "&בטל") closing it, by the button, Escape or the close box, asks the running list send to stop; it tells
// its owner through closed().
class TPopUpStatusForm : public QWidget
{
    Q_OBJECT
public:
    explicit TPopUpStatusForm(QWidget* owner = nullptr);
    ~TPopUpStatusForm() override;

    static QString cancelCaption(); // "&עצור את השליחה", while a list send may be stopped
    static QString closeCaption(); // "&סגור"

    QPlainTextEdit* statusText;
    QWidget* buttonPanel;
    QPushButton* closeButton;
    // "Send again to those not sent": offered when a list ended with recipients that were not sent.
    QPushButton* retryButton;

    // The memo's height, the window shrinking or growing to the memo and the button bar.
    void setMemoHeight(int height);
    // Line `index` of the memo (from 0) becomes `text`; an index beyond the memo's lines changes nothing.
    // `warning`: the line tells of a message that may have been sent, and is marked so.
    void setLine(int index, const QString& text, bool warning = false);
    QString line(int index) const;
    void setText(const QString& text);
    QString text() const;
    void addLine(const QString& text);
    // Whether closing the window asks the list send to stop; the button reads "&בטל" then, else "&סגור".
    bool isCancelButton() const { return m_cancels; }
    void setCancelButton(bool cancels);
    void offerRetry(bool offered);

    void closeClicked();

signals:
    // The button was pressed: the owner may offer to drop its recipient list before the window closes.
    void buttonPressed();
    // The retry button was pressed; the window closes.
    void retryPressed();
    // The window is closing; `cancelRequested` when it still offered to cancel.
    void closed(TPopUpStatusForm* form, bool cancelRequested);

protected:
    // Tells whoever listens (closed) and lets the window go.
    void closeEvent(QCloseEvent* event) override;

private:
    bool m_cancels = true;
};
