#pragma once

#include <QDialog>

class QCommandLinkButton;
class QLabel;
class QPushButton;

// The first start's welcome over the main window: the program knows no operator yet, and three ways on. A
// choice closes the box and says which; the owner does the rest. It is not modal: the main window stays
// usable under it.
class WelcomeBox : public QDialog
{
    Q_OBJECT
public:
    enum class Choice
    {
        None, // closed without a choice
        Teach,
        ServiceAddress,
        Demo
    };
    Q_ENUM(Choice)

    explicit WelcomeBox(QWidget* owner);

    QLabel* Intro;
    QCommandLinkButton* TeachButton;
    QCommandLinkButton* ServiceButton;
    QCommandLinkButton* DemoButton;
    QPushButton* CloseButton;

signals:
    // Emitted once, however the box closes.
    void closedWith(WelcomeBox::Choice choice);

protected:
    void done(int result) override;

private:
    void choose(Choice choice);

    Choice m_choice = Choice::None;
    bool m_closed = false;
};
