#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

// The About box: the program's logo, its version and the copyright notice on white, with one button that
// closes it. Fixed in size and centred on its owner when shown.
class TAboutForm : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* owner = nullptr);

    QLabel* logoImage; // the logo
    QLabel* versionCaption; // "גרסה: "
    QLabel* versionLabel;
    QLabel* copyrightLine; // copyright notice, first line
    QLabel* programLine; // copyright notice, second line
    QPushButton* closeButton; // "&סגור", default and cancel

    // The version as the box shows it: the shortest general form of the number, "1.11".
    static QString versionText(double version);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showVersion();

    bool m_placed = false;
};
