#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The recipient details of the phone book window: full name, area code and number, and, for an Outlook
// contact whose number could not be split, that number. It checks nothing: the table cuts what is too long.
// Button1 (the default button) gives Accepted; Button2, Escape and the close box give Rejected.
class TDetailsForm : public QDialog
{
    Q_OBJECT
public:
    // `areaCodes` fill the area list in their order; the area field also takes any typed text.
    explicit TDetailsForm(const QStringList& areaCodes, QWidget* owner = nullptr);
    ~TDetailsForm() override;

    QLabel* Label1;
    QLineEdit* Edit1; // full name
    QLabel* Label2;
    QComboBox* ComboBox1; // area code
    QLabel* Label3;
    QLineEdit* Edit2; // number without the area code
    QLabel* Label4;
    QLabel* Label5; // the unknown number, in red
    QPushButton* Button1;
    QPushButton* Button2;

    // Shows Label4 and Label5 with the number; both are hidden until then.
    void showUnknownNumber(const QString& number);
};
