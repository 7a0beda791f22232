#pragma once

#include <QDialog>
#include <QString>

class PreferencesHost;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QWidget;
class TURLLabel;

// The preferences dialog: each provider's login name and password, its message limit and sign-up page, and
// the general options (send time-out, separate status window, start with the desktop session, passwords in
// the desktop keyring).
//
// What it stores goes to SMS.INI and at once to the running program through the host. Choosing another
// provider stores the fields of the one shown so far, general options included, and that stays stored even
// when the dialog is then cancelled. The owner opens it modally and destroys it after it closes.
class TPreferencesForm : public QDialog
{
    Q_OBJECT
public:
    // Runs FormCreate. The host must outlive the dialog.
    explicit TPreferencesForm(PreferencesHost& host, QWidget* owner = nullptr);
    ~TPreferencesForm() override;

    // The time-out field's range, in seconds.
    static constexpr int MaxHistoryDays = 36500;
    static constexpr int MinTimeOut = 0;
    static constexpr int MaxTimeOut = 3600;

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QComboBox* ComboBox1;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QSpinBox* SpinEdit1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* UseKeyringBox; // passwords in the desktop keyring instead of SMS.INI
    QLabel* HistoryDaysLabel;
    QSpinBox* HistoryDaysEdit; // days of history kept; 0: all of it
    QLabel* ServiceUrlLabel;
    QLineEdit* ServiceUrlEdit; // the service's address (ServiceURL); empty: the build's default, or none
    TURLLabel* URLLabel1;
    QPushButton* Button1;
    QPushButton* Button2;

    // The Name of the provider whose credentials Edit1 and Edit2 show; saving stores them for it.
    const QString& ShownProvider() const { return m_shownProvider; }

    // Selects the provider's item and runs ComboBox1Change, as the send workflow does when it opens the
    // dialog for the recipient's provider. A name that is not offered (unknown, or a provider without a
    // login page) changes nothing.
    void chooseProvider(const QString& name);
    // The tab that holds the service's address, with the focus in its field and its text selected.
    void showServiceAddress();

    void FormCreate();
    // Stores the shown provider and the general options, then shows the provider now selected. When the
    // store is refused the error is reported and the selection goes back to the provider still shown, so the
    // fields never appear under another provider's name.
    void ComboBox1Change();
    // OK: stores everything and closes; a refused store, or a service address that is not an http or https one,
    // is reported and the dialog stays open. A change of the keyring option moves the stored passwords first;
    // when they cannot be moved the user is told, the box goes back and the dialog stays open.
    void Button1Click();
    // Cancel: closes without storing.
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Raises ZelkoraError when SMS.INI refuses a write; what was stored before the refusal stays stored.
    void SaveSettings();
    // Fills the provider fields from the first provider whose Name is `name` (case-sensitive); empties them
    // when there is none.
    void showProvider(const QString& name);
    void buildControls();

    PreferencesHost& m_host;
    QString m_shownProvider;
    bool m_centred = false;
};
