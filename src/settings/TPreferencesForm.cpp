#include "TPreferencesForm.h"

#include "common/AppPaths.h"
#include "common/ErrorReport.h"
#include "common/InterfaceDirection.h"
#include "settings/Credentials.h"
#include "settings/PreferencesHost.h"
#include "settings/SmsIni.h"
#include "widgets/TURLLabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <optional>

namespace {
// The time-out field takes any text while it is typed. When the text is taken over (the field loses the
// focus, Enter, a step, or the dialog reading it) a number outside the range goes to the nearest bound and
// text that is not a number counts as 0. A plain QSpinBox would refuse such keys instead, so "5000" could
// never be typed and corrected.
class TimeOutSpinBox : public QSpinBox
{
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& text, int& pos) const override
    {
        Q_UNUSED(pos)
        const std::optional<qlonglong> seconds = parse(text);
        return seconds && *seconds >= minimum() && *seconds <= maximum() ? QValidator::Acceptable
                                                                         : QValidator::Intermediate;
    }
    void fixup(QString& text) const override { text = QString::number(boundedValue(text)); }
    int valueFromText(const QString& text) const override { return boundedValue(text); }
    QString textFromValue(int value) const override { return QString::number(value); }

private:
    // A signed decimal number, however long; nothing for any other text.
    static std::optional<qlonglong> parse(const QString& text)
    {
        static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+$"));
        const QString trimmed = text.trimmed();
        if (!number.match(trimmed).hasMatch())
            return std::nullopt;
        bool ok = false;
        const qlonglong value = trimmed.toLongLong(&ok);
        if (ok)
            return value;
        // Too many digits for any integer type: still a number, beyond either bound.
        return trimmed.startsWith(QLatin1Char('-')) ? std::numeric_limits<qlonglong>::min()
                                                    : std::numeric_limits<qlonglong>::max();
    }

    int boundedValue(const QString& text) const
    {
        const qlonglong seconds = parse(text).value_or(0);
        return static_cast<int>(std::clamp<qlonglong>(seconds, minimum(), maximum()));
    }
};

// The first provider whose Name is `name`, letter case included; -1 when none is. A provider without a
// name is never meant: no list item can tell it apart.
int indexOfProvider(const TProviders& providers, const QString& name)
{
    if (name.isEmpty())
        return -1;
    const auto it = std::find_if(
        providers.cbegin(), providers.cend(), [&name](const TProvider& provider) { return provider.Name == name; });
    return it == providers.cend() ? -1 : static_cast<int>(it - providers.cbegin());
}

QLabel* makeLabel(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    return label;
}
} // namespace

TPreferencesForm::TPreferencesForm(PreferencesHost& host, QWidget* owner)
    : QDialog(owner)
    , m_host(host)
{
    buildControls();
    setUp();
}

TPreferencesForm::~TPreferencesForm() = default;

void TPreferencesForm::buildControls()
{
    setObjectName(QStringLiteral("PreferencesForm"));
    setWindowTitle(tr("הגדרות"));
    setLayoutDirection(interfaceDirection());

    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));

    // Identification.
    providerPage = new QWidget;
    providerPage->setObjectName(QStringLiteral("providerPage"));
    identificationBox = new QGroupBox(tr("הגדרות זיהוי"), providerPage);
    identificationBox->setObjectName(QStringLiteral("identificationBox"));

    providerLabel = makeLabel(QStringLiteral("providerLabel"), tr("חברה:"), identificationBox);
    providerBox = new QComboBox(identificationBox);
    providerBox->setObjectName(QStringLiteral("providerBox"));
    providerBox->setEditable(false);
    providerBox->setLayoutDirection(Qt::LeftToRight);
    providerBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    providerBox->setMinimumContentsLength(16);

    userNameLabel = makeLabel(QStringLiteral("userNameLabel"), tr("זיהוי משתמש:"), identificationBox);
    userNameEdit = new QLineEdit(identificationBox);
    userNameEdit->setObjectName(QStringLiteral("userNameEdit"));
    userNameEdit->setLayoutDirection(Qt::LeftToRight);

    passwordLabel = makeLabel(QStringLiteral("passwordLabel"), tr("סיסמא:"), identificationBox);
    passwordEdit = new QLineEdit(identificationBox);
    passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    passwordEdit->setLayoutDirection(Qt::LeftToRight);
    // Password mode also keeps the text off the clipboard, out of drags and away from input methods.
    passwordEdit->setEchoMode(QLineEdit::Password);
    passwordEdit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));

    // The message limit and the sign-up address come from the service: shown as the characters they hold.
    limitLabel = makeLabel(QStringLiteral("limitLabel"), tr("מגבלת הודעות:"), identificationBox);
    limitText = makeLabel(QStringLiteral("limitText"), QString(), identificationBox);
    limitText->setTextFormat(Qt::PlainText);

    signupLabel = makeLabel(QStringLiteral("signupLabel"), tr("אתר הרשמה:"), identificationBox);
    signupLink = new TURLLabel(identificationBox);
    signupLink->setObjectName(QStringLiteral("signupLink"));
    signupLink->setTextFormat(Qt::PlainText);
    QFont linkFont = signupLink->font();
    linkFont.setUnderline(true);
    signupLink->setFont(linkFont);
    signupLink->setMouseOverFont(linkFont);
    signupLink->setFontColor(QColor(0, 0, 128));
    signupLink->setMouseOverColor(Qt::red);

    providerLabel->setBuddy(providerBox);
    userNameLabel->setBuddy(userNameEdit);
    passwordLabel->setBuddy(passwordEdit);

    auto* identification = new QGridLayout(identificationBox);
    identification->addWidget(providerLabel, 0, 0);
    identification->addWidget(providerBox, 0, 1);
    identification->addWidget(userNameLabel, 1, 0);
    identification->addWidget(userNameEdit, 1, 1);
    identification->addWidget(passwordLabel, 2, 0);
    identification->addWidget(passwordEdit, 2, 1);
    identification->addWidget(limitLabel, 3, 0);
    identification->addWidget(limitText, 3, 1);
    identification->addWidget(signupLabel, 4, 0);
    identification->addWidget(signupLink, 4, 1);
    identification->setColumnStretch(1, 1);
    auto* page1 = new QVBoxLayout(providerPage);
    page1->addWidget(identificationBox);
    page1->addStretch();

    // General.
    generalPage = new QWidget;
    generalPage->setObjectName(QStringLiteral("generalPage"));
    generalBox = new QGroupBox(tr("כללי"), generalPage);
    generalBox->setObjectName(QStringLiteral("generalBox"));

    timeOutLabel = makeLabel(QStringLiteral("timeOutLabel"), tr("TIME-OUT לנסיון שליחה:"), generalBox);
    timeOutEdit = new TimeOutSpinBox(generalBox);
    timeOutEdit->setObjectName(QStringLiteral("timeOutEdit"));
    timeOutEdit->setRange(MinTimeOut, MaxTimeOut);
    timeOutEdit->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    timeOutLabel->setBuddy(timeOutEdit);
    secondsLabel = makeLabel(QStringLiteral("secondsLabel"), tr("שניות."), generalBox);
    popupStatusBox = new QCheckBox(tr("הצג סטטוס בחלון נפרד."), generalBox);
    popupStatusBox->setObjectName(QStringLiteral("popupStatusBox"));
    autoStartBox = new QCheckBox(tr("הפעל אוטומטית עם תחילת ההפעלה של שולחן העבודה"), generalBox);
    autoStartBox->setObjectName(QStringLiteral("autoStartBox"));
    keyringBox = new QCheckBox(tr("שמור סיסמאות במחזיק המפתחות של שולחן העבודה"), generalBox);
    keyringBox->setObjectName(QStringLiteral("keyringBox"));
    // 0 keeps the whole history.
    historyDaysLabel = makeLabel(QStringLiteral("historyDaysLabel"), tr("שמור היסטוריה של:"), generalBox);
    historyDaysEdit = new QSpinBox(generalBox);
    historyDaysEdit->setObjectName(QStringLiteral("historyDaysEdit"));
    historyDaysEdit->setRange(0, MaxHistoryDays);
    historyDaysEdit->setSpecialValueText(tr("כל הזמן"));
    historyDaysEdit->setSuffix(tr(" ימים"));
    historyDaysLabel->setBuddy(historyDaysEdit);
    // Where the provider definitions come from; empty leaves the build's default (or none).
    serviceUrlLabel = makeLabel(QStringLiteral("serviceUrlLabel"), tr("כתובת השירות:"), generalBox);
    serviceUrlEdit = new QLineEdit(generalBox);
    serviceUrlEdit->setObjectName(QStringLiteral("serviceUrlEdit"));
    serviceUrlEdit->setLayoutDirection(Qt::LeftToRight);
    serviceUrlEdit->setPlaceholderText(QStringLiteral("https://"));
    serviceUrlEdit->setMinimumWidth(serviceUrlEdit->fontMetrics().averageCharWidth() * 40);
    serviceUrlLabel->setBuddy(serviceUrlEdit);

    auto* timeOutRow = new QHBoxLayout;
    timeOutRow->addWidget(timeOutLabel);
    timeOutRow->addWidget(timeOutEdit);
    timeOutRow->addWidget(secondsLabel);
    timeOutRow->addStretch();
    auto* general = new QVBoxLayout(generalBox);
    general->addLayout(timeOutRow);
    auto* historyRow = new QHBoxLayout;
    historyRow->addWidget(historyDaysLabel);
    historyRow->addWidget(historyDaysEdit);
    historyRow->addStretch();
    general->addLayout(historyRow);
    auto* serviceRow = new QHBoxLayout;
    serviceRow->addWidget(serviceUrlLabel);
    serviceRow->addWidget(serviceUrlEdit, 1);
    general->addLayout(serviceRow);
    general->addWidget(popupStatusBox);
    general->addWidget(autoStartBox);
    general->addWidget(keyringBox);
    auto* page2 = new QVBoxLayout(generalPage);
    page2->addWidget(generalBox);
    page2->addStretch();

    tabs->addTab(providerPage, tr("זיהוי"));
    tabs->addTab(generalPage, tr("כללי"));

    okButton = new QPushButton(tr("&אשר"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    cancelButton = new QPushButton(tr("&בטל"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    buttons->addStretch();

    auto* form = new QVBoxLayout(this);
    form->addWidget(tabs);
    form->addLayout(buttons);
    // A fixed border, the window sized to its contents.
    form->setSizeConstraint(QLayout::SetFixedSize);

    // `activated` is the user's choice only; chooseProvider() runs the handler itself.
    connect(providerBox, &QComboBox::activated, this, &TPreferencesForm::providerChosen);
    connect(okButton, &QPushButton::clicked, this, &TPreferencesForm::okClicked);
    connect(cancelButton, &QPushButton::clicked, this, &TPreferencesForm::cancelClicked);
    // Escape and the close box reject the dialog, which is Cancel.
}

void TPreferencesForm::setUp()
{
    tabs->setCurrentWidget(providerPage);
    // Without provider definitions there is nothing to identify to; the general tab remains. An operator
    // with a login that the user defined in providers.d counts, with or without the service's definitions.
    bool loginKnown = false;
    for (const TProvider& provider : m_host.providers())
        loginKnown = loginKnown || provider.needsLogin();
    const bool identification = m_host.definitionsAvailable() || loginKnown;
    tabs->setTabVisible(tabs->indexOf(providerPage), identification);
    // Disabled too: Ctrl+Tab goes past a disabled tab, but would show a hidden one's page.
    tabs->setTabEnabled(tabs->indexOf(providerPage), identification);

    const SmsIni ini;
    autoStartBox->setChecked(ini.autoStart());
    timeOutEdit->setValue(ini.timeOut());
    popupStatusBox->setChecked(ini.usePopupStatus());
    keyringBox->setChecked(ini.useKeyring());
    historyDaysEdit->setValue(qBound(0, ini.historyDays(), MaxHistoryDays));
    // As stored, so that an address the program could not use is seen and mended rather than lost.
    serviceUrlEdit->setText(ini.ReadString(SmsIni::General, SmsIni::ServiceUrlKey, QString()));

    providerBox->clear();
    for (const TProvider& provider : m_host.providers()) {
        // A provider without a login page needs no credentials.
        if (provider.needsLogin())
            providerBox->addItem(provider.Name);
    }
    providerBox->setCurrentIndex(providerBox->count() > 0 ? 0 : -1);
    m_shownProvider = providerBox->currentText();
    showProvider(m_shownProvider);
    ini.UpdateFile();
}

void TPreferencesForm::showServiceAddress()
{
    for (QWidget* page = serviceUrlEdit; page; page = page->parentWidget()) {
        const int index = tabs->indexOf(page);
        if (index >= 0) {
            tabs->setCurrentIndex(index);
            break;
        }
    }
    serviceUrlEdit->setFocus(Qt::OtherFocusReason);
    serviceUrlEdit->selectAll();
}

void TPreferencesForm::chooseProvider(const QString& name)
{
    const int index = providerBox->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return;
    providerBox->setCurrentIndex(index);
    providerChosen();
}

void TPreferencesForm::providerChosen()
{
    try {
        SaveSettings();
    } catch (const ZelkoraError& error) {
        // The fields still hold what was typed for the provider shown; they must not appear under the newly
        // chosen name, where the next save would store them.
        providerBox->setCurrentIndex(providerBox->findText(m_shownProvider, Qt::MatchExactly | Qt::MatchCaseSensitive));
        ErrorReport::report(error.message());
        return;
    }
    m_shownProvider = providerBox->currentText();
    showProvider(m_shownProvider);
}

void TPreferencesForm::okClicked()
{
    try {
        if (!SmsIni::acceptsServiceUrl(serviceUrlEdit->text())) {
            tabs->setCurrentWidget(generalPage);
            serviceUrlEdit->setFocus();
            serviceUrlEdit->selectAll();
            ErrorReport::report(tr("כתובת השירות צריכה להתחיל ב-http:// או ב-https://, למשל https://example.org/sms"));
            return;
        }
        // Before the shown provider's fields are stored, so that its password goes where the new setting
        // keeps them.
        const bool useKeyring = keyringBox->isChecked();
        if (useKeyring != SmsIni().useKeyring()) {
            if (!setUseKeyring(useKeyring)) {
                keyringBox->setChecked(!useKeyring);
                return;
            }
        }
        SaveSettings();
        // Storing may have had the keyring unlocked, and then it gives the other providers' passwords too.
        if (useKeyring)
            LoadCredentials(m_host.providers());
    } catch (const ZelkoraError& error) {
        ErrorReport::report(error.message());
        return;
    }
    accept();
}

void TPreferencesForm::cancelClicked()
{
    reject();
}

void TPreferencesForm::SaveSettings()
{
    // Typed time-out text is taken over when the field loses the focus or sees Enter; OK by its shortcut
    // does neither.
    timeOutEdit->interpretText();

    SmsIni ini;
    TProviders& providers = m_host.providers();
    const int index = indexOfProvider(providers, m_shownProvider);
    if (index >= 0) {
        TProvider& provider = providers[index];
        provider.UserName = userNameEdit->text();
        provider.Password = passwordEdit->text();
        // Written even when empty: clearing the fields clears the stored credentials.
        ini.setUserName(provider.Name, provider.UserName);
        storePassword(provider.Name, provider.Password);
    }

    ini.setAutoStart(autoStartBox->isChecked());
    const bool usePopupStatus = popupStatusBox->isChecked();
    ini.setUsePopupStatus(usePopupStatus);
    m_host.setUsePopupStatus(usePopupStatus);
    const int timeOut = timeOutEdit->value();
    ini.setTimeOut(timeOut);
    m_host.setSendTimeOut(timeOut);
    // The history is pruned to it at the next start.
    ini.setHistoryDays(historyDaysEdit->value());
    // A refused address is not stored; OK says so before it gets here.
    const QString serviceBefore = AppPaths::serviceUrl();
    if (ini.setServiceUrl(serviceUrlEdit->text()) && AppPaths::serviceUrl() != serviceBefore)
        m_host.serviceUrlChanged();
    ini.UpdateFile();
}

void TPreferencesForm::showProvider(const QString& name)
{
    const TProviders& providers = m_host.providers();
    const int index = indexOfProvider(providers, name);
    const TProvider* provider = index >= 0 ? &providers[index] : nullptr;
    userNameEdit->setText(provider ? provider->UserName : QString());
    passwordEdit->setText(provider ? provider->Password : QString());
    // Without a sign-up page the link has no target either, so pressing the empty label opens nothing.
    const QString signup = provider ? provider->SignupURL : QString();
    signupLink->setUrl(signup);
    signupLink->setText(signup);
    limitText->setText(provider ? provider->MsgLimit : QString());
}

void TPreferencesForm::showEvent(QShowEvent* event)
{
    // Centred on the screen rather than over the owner: the main window is small and often hidden.
    if (!m_centred) {
        m_centred = true;
        if (const QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}
