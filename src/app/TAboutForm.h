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

    QLabel* Image2; // the logo
    QLabel* Label1; // "גרסה: "
    QLabel* Version;
    QLabel* Label2; // copyright notice, first line
    QLabel* Label3; // copyright notice, second line
    QPushButton* Button1; // "&סגור", default and cancel

    // The version as the box shows it: the shortest general form of the number, "1.11".
    static QString versionText(double version);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();

    bool m_placed = false;
};
