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
    // Runs setUp. The host must outlive the dialog.
    explicit TPreferencesForm(PreferencesHost& host, QWidget* owner = nullptr);
    ~TPreferencesForm() override;

    // The time-out field's range, in seconds.
    static constexpr int MaxHistoryDays = 36500;
    static constexpr int MinTimeOut = 0;
    static constexpr int MaxTimeOut = 3600;

    QTabWidget* tabs;
    QWidget* providerPage;
    QWidget* generalPage;
    QGroupBox* identificationBox;
    QGroupBox* generalBox;
    QLabel* userNameLabel;
    QLabel* passwordLabel;
    QLabel* signupLabel;
    QLabel* providerLabel;
    QLabel* limitLabel;
    QLabel* limitText;
    QLabel* timeOutLabel;
    QLabel* secondsLabel;
    QComboBox* providerBox;
    QLineEdit* userNameEdit;
    QLineEdit* passwordEdit;
    QSpinBox* timeOutEdit;
    QCheckBox* autoStartBox;
    QCheckBox* popupStatusBox;
    QCheckBox* keyringBox; // passwords in the desktop keyring instead of SMS.INI
    QLabel* historyDaysLabel;
    QSpinBox* historyDaysEdit; // days of history kept; 0: all of it
    QLabel* serviceUrlLabel;
    QLineEdit* serviceUrlEdit; // the service's address (ServiceURL); empty: the build's default, or none
    TURLLabel* signupLink;
    QPushButton* okButton;
    QPushButton* cancelButton;

    // The Name of the provider whose credentials userNameEdit and passwordEdit show; saving stores them for it.
    const QString& ShownProvider() const { return m_shownProvider; }

    // Selects the provider's item and runs providerChosen, as the send workflow does when it opens the
    // dialog for the recipient's provider. A name that is not offered (unknown, or a provider without a
    // login page) changes nothing.
    void chooseProvider(const QString& name);
    // The tab that holds the service's address, with the focus in its field and its text selected.
    void showServiceAddress();

    void setUp();
    // Stores the shown provider and the general options, then shows the provider now selected. When the
    // store is refused the error is reported and the selection goes back to the provider still shown, so the
    // fields never appear under another provider's name.
    void providerChosen();
    // OK: stores everything and closes; a refused store, or a service address that is not an http or https one,
    // is reported and the dialog stays open. A change of the keyring option moves the stored passwords first;
    // when they cannot be moved the user is told, the box goes back and the dialog stays open.
    void okClicked();
    // Cancel: closes without storing.
    void cancelClicked();

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
