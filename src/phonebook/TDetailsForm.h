#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The recipient details of the phone book window: full name, area code and number, and, for an Outlook
// contact whose number could not be split, that number. It checks nothing: the table cuts what is too long.
// okButton (the default button) gives Accepted; cancelButton, Escape and the close box give Rejected.
class TDetailsForm : public QDialog
{
    Q_OBJECT
public:
    // `areaCodes` fill the area list in their order; the area field also takes any typed text.
    explicit TDetailsForm(const QStringList& areaCodes, QWidget* owner = nullptr);
    ~TDetailsForm() override;

    QLabel* nameLabel;
    QLineEdit* nameEdit; // full name
    QLabel* areaCodeLabel;
    QComboBox* areaCodeBox; // area code
    QLabel* numberLabel;
    QLineEdit* numberEdit; // number without the area code
    QLabel* unknownLabel;
    QLabel* unknownNumber; // the unknown number, in red
    QPushButton* okButton;
    QPushButton* cancelButton;

    // Shows unknownLabel and unknownNumber with the number; both are hidden until then.
    void showUnknownNumber(const QString& number);
};
