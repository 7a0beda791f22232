#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class IWebBrowser;
class QLabel;
class QPushButton;
class TSMSBaseForm;

// Where a person answers what an operator's site asks between its login and its message page (a word in a
// picture, a code sent to their phone, new terms, the password again): the engine's own page, in a window
// named after the provider, with one line that says what to do and a Cancel button. Typing, clicks and
// scrolling go to the page. The window does not decide when it is done: the engine does, when the message
// page opens.
class PersonPageWindow : public QWidget
{
    Q_OBJECT
public:
    PersonPageWindow(const QString& provider, IWebBrowser* browser, QWidget* owner = nullptr);

    static QString guideText();
    static QString cancelCaption();

    // The browser's page as shown here; null when the browser cannot show it.
    QWidget* pageView() const { return m_view; }
    QPushButton* cancelButton() const { return m_cancel; }
    // The wait is over: the window goes without giving up.
    void finish();

signals:
    // Cancel, or the window closed by the person: the attempt is to fail.
    void cancelled();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* m_view = nullptr;
    QLabel* m_guide = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_finished = false;
};

// Shows every page that `engine`'s attempts wait on a person for, each in a PersonPageWindow over `owner`,
// and gives the person's Cancel to the engine. While it lives, the engine lets a person answer.
class PersonPages : public QObject
{
    Q_OBJECT
public:
    PersonPages(TSMSBaseForm& engine, QWidget* owner);
    ~PersonPages() override;

    // The window open now; null when no attempt waits for a person.
    PersonPageWindow* window() const { return m_window; }

signals:
    // A window opened (tests, and a program that wants to know).
    void shown(PersonPageWindow* window);

private:
    void show(const QString& provider);
    void close();

    TSMSBaseForm& m_engine;
    QWidget* m_owner;
    QPointer<PersonPageWindow> m_window;
};
