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
    FormCreate();
}

TPreferencesForm::~TPreferencesForm() = default;

void TPreferencesForm::buildControls()
{
    setObjectName(QStringLiteral("PreferencesForm"));
    setWindowTitle(tr("הגדרות"));
    setLayoutDirection(interfaceDirection());

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    // Identification.
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    GroupBox1 = new QGroupBox(tr("הגדרות זיהוי"), TabSheet1);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));

    Label4 = makeLabel(QStringLiteral("Label4"), tr("חברה:"), GroupBox1);
    ComboBox1 = new QComboBox(GroupBox1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setLayoutDirection(Qt::LeftToRight);
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ComboBox1->setMinimumContentsLength(16);

    Label1 = makeLabel(QStringLiteral("Label1"), tr("זיהוי משתמש:"), GroupBox1);
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setLayoutDirection(Qt::LeftToRight);

    Label2 = makeLabel(QStringLiteral("Label2"), tr("סיסמא:"), GroupBox1);
    Edit2 = new QLineEdit(GroupBox1);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setLayoutDirection(Qt::LeftToRight);
    // Password mode also keeps the text off the clipboard, out of drags and away from input methods.
    Edit2->setEchoMode(QLineEdit::Password);
    Edit2->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));

    // The message limit and the sign-up address come from the service: shown as the characters they hold.
    Label5 = makeLabel(QStringLiteral("Label5"), tr("מגבלת הודעות:"), GroupBox1);
    Label6 = makeLabel(QStringLiteral("Label6"), QString(), GroupBox1);
    Label6->setTextFormat(Qt::PlainText);

    Label3 = makeLabel(QStringLiteral("Label3"), tr("אתר הרשמה:"), GroupBox1);
    URLLabel1 = new TURLLabel(GroupBox1);
    URLLabel1->setObjectName(QStringLiteral("URLLabel1"));
    URLLabel1->setTextFormat(Qt::PlainText);
    QFont linkFont = URLLabel1->font();
    linkFont.setUnderline(true);
    URLLabel1->setFont(linkFont);
    URLLabel1->setMouseOverFont(linkFont);
    URLLabel1->setFontColor(QColor(0, 0, 128));
    URLLabel1->setMouseOverColor(Qt::red);

    Label4->setBuddy(ComboBox1);
    Label1->setBuddy(Edit1);
    Label2->setBuddy(Edit2);

    auto* identification = new QGridLayout(GroupBox1);
    identification->addWidget(Label4, 0, 0);
    identification->addWidget(ComboBox1, 0, 1);
    identification->addWidget(Label1, 1, 0);
    identification->addWidget(Edit1, 1, 1);
    identification->addWidget(Label2, 2, 0);
    identification->addWidget(Edit2, 2, 1);
    identification->addWidget(Label5, 3, 0);
    identification->addWidget(Label6, 3, 1);
    identification->addWidget(Label3, 4, 0);
    identification->addWidget(URLLabel1, 4, 1);
    identification->setColumnStretch(1, 1);
    auto* page1 = new QVBoxLayout(TabSheet1);
    page1->addWidget(GroupBox1);
    page1->addStretch();

    // General.
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    GroupBox2 = new QGroupBox(tr("כללי"), TabSheet2);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));

    Label7 = makeLabel(QStringLiteral("Label7"), tr("TIME-OUT לנסיון שליחה:"), GroupBox2);
    SpinEdit1 = new TimeOutSpinBox(GroupBox2);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(MinTimeOut, MaxTimeOut);
    SpinEdit1->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    Label7->setBuddy(SpinEdit1);
    Label8 = makeLabel(QStringLiteral("Label8"), tr("שניות."), GroupBox2);
    CheckBox2 = new QCheckBox(tr("הצג סטטוס בחלון נפרד."), GroupBox2);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox1 = new QCheckBox(tr("הפעל אוטומטית עם תחילת ההפעלה של שולחן העבודה"), GroupBox2);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    UseKeyringBox = new QCheckBox(tr("שמור סיסמאות במחזיק המפתחות של שולחן העבודה"), GroupBox2);
    UseKeyringBox->setObjectName(QStringLiteral("UseKeyringBox"));
    // 0 keeps the whole history.
    HistoryDaysLabel = makeLabel(QStringLiteral("HistoryDaysLabel"), tr("שמור היסטוריה של:"), GroupBox2);
    HistoryDaysEdit = new QSpinBox(GroupBox2);
    HistoryDaysEdit->setObjectName(QStringLiteral("HistoryDaysEdit"));
    HistoryDaysEdit->setRange(0, MaxHistoryDays);
    HistoryDaysEdit->setSpecialValueText(tr("כל הזמן"));
    HistoryDaysEdit->setSuffix(tr(" ימים"));
    HistoryDaysLabel->setBuddy(HistoryDaysEdit);
    // Where the provider definitions come from; empty leaves the build's default (or none).
    ServiceUrlLabel = makeLabel(QStringLiteral("ServiceUrlLabel"), tr("כתובת השירות:"), GroupBox2);
    ServiceUrlEdit = new QLineEdit(GroupBox2);
    ServiceUrlEdit->setObjectName(QStringLiteral("ServiceUrlEdit"));
    ServiceUrlEdit->setLayoutDirection(Qt::LeftToRight);
    ServiceUrlEdit->setPlaceholderText(QStringLiteral("https://"));
    ServiceUrlEdit->setMinimumWidth(ServiceUrlEdit->fontMetrics().averageCharWidth() * 40);
    ServiceUrlLabel->setBuddy(ServiceUrlEdit);

    auto* timeOutRow = new QHBoxLayout;
    timeOutRow->addWidget(Label7);
    timeOutRow->addWidget(SpinEdit1);
    timeOutRow->addWidget(Label8);
    timeOutRow->addStretch();
    auto* general = new QVBoxLayout(GroupBox2);
    general->addLayout(timeOutRow);
    auto* historyRow = new QHBoxLayout;
    historyRow->addWidget(HistoryDaysLabel);
    historyRow->addWidget(HistoryDaysEdit);
    historyRow->addStretch();
    general->addLayout(historyRow);
    auto* serviceRow = new QHBoxLayout;
    serviceRow->addWidget(ServiceUrlLabel);
    serviceRow->addWidget(ServiceUrlEdit, 1);
    general->addLayout(serviceRow);
    general->addWidget(CheckBox2);
    general->addWidget(CheckBox1);
    general->addWidget(UseKeyringBox);
    auto* page2 = new QVBoxLayout(TabSheet2);
    page2->addWidget(GroupBox2);
    page2->addStretch();

    PageControl1->addTab(TabSheet1, tr("זיהוי"));
    PageControl1->addTab(TabSheet2, tr("כללי"));

    Button1 = new QPushButton(tr("&אשר"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(tr("&בטל"), this);
    Button2->setObjectName(QStringLiteral("Button2"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch();

    auto* form = new QVBoxLayout(this);
    form->addWidget(PageControl1);
    form->addLayout(buttons);
    // A fixed border, the window sized to its contents.
    form->setSizeConstraint(QLayout::SetFixedSize);

    // `activated` is the user's choice only; chooseProvider() runs the handler itself.
    connect(ComboBox1, &QComboBox::activated, this, &TPreferencesForm::ComboBox1Change);
    connect(Button1, &QPushButton::clicked, this, &TPreferencesForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TPreferencesForm::Button2Click);
    // Escape and the close box reject the dialog, which is Cancel.
}

void TPreferencesForm::FormCreate()
{
    PageControl1->setCurrentWidget(TabSheet1);
    // Without provider definitions there is nothing to identify to; the general tab remains. An operator
    // with a login that the user defined in providers.d counts, with or without the service's definitions.
    bool loginKnown = false;
    for (const TProvider& provider : m_host.providers())
        loginKnown = loginKnown || provider.needsLogin();
    const bool identification = m_host.definitionsAvailable() || loginKnown;
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet1), identification);
    // Disabled too: Ctrl+Tab goes past a disabled tab, but would show a hidden one's page.
    PageControl1->setTabEnabled(PageControl1->indexOf(TabSheet1), identification);

    const SmsIni ini;
    CheckBox1->setChecked(ini.autoStart());
    SpinEdit1->setValue(ini.timeOut());
    CheckBox2->setChecked(ini.usePopupStatus());
    UseKeyringBox->setChecked(ini.useKeyring());
    HistoryDaysEdit->setValue(qBound(0, ini.historyDays(), MaxHistoryDays));
    // As stored, so that an address the program could not use is seen and mended rather than lost.
    ServiceUrlEdit->setText(ini.ReadString(SmsIni::General, SmsIni::ServiceUrlKey, QString()));

    ComboBox1->clear();
    for (const TProvider& provider : m_host.providers()) {
        // A provider without a login page needs no credentials.
        if (provider.needsLogin())
            ComboBox1->addItem(provider.Name);
    }
    ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
    m_shownProvider = ComboBox1->currentText();
    showProvider(m_shownProvider);
    ini.UpdateFile();
}

void TPreferencesForm::showServiceAddress()
{
    for (QWidget* page = ServiceUrlEdit; page; page = page->parentWidget()) {
        const int index = PageControl1->indexOf(page);
        if (index >= 0) {
            PageControl1->setCurrentIndex(index);
            break;
        }
    }
    ServiceUrlEdit->setFocus(Qt::OtherFocusReason);
    ServiceUrlEdit->selectAll();
}

void TPreferencesForm::chooseProvider(const QString& name)
{
    const int index = ComboBox1->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return;
    ComboBox1->setCurrentIndex(index);
    ComboBox1Change();
}

void TPreferencesForm::ComboBox1Change()
{
    try {
        SaveSettings();
    } catch (const ZelkoraError& error) {
        // The fields still hold what was typed for the provider shown; they must not appear under the newly
        // chosen name, where the next save would store them.
        ComboBox1->setCurrentIndex(ComboBox1->findText(m_shownProvider, Qt::MatchExactly | Qt::MatchCaseSensitive));
        ErrorReport::report(error.message());
        return;
    }
    m_shownProvider = ComboBox1->currentText();
    showProvider(m_shownProvider);
}

void TPreferencesForm::Button1Click()
{
    try {
        if (!SmsIni::acceptsServiceUrl(ServiceUrlEdit->text())) {
            PageControl1->setCurrentWidget(TabSheet2);
            ServiceUrlEdit->setFocus();
            ServiceUrlEdit->selectAll();
            ErrorReport::report(tr("כתובת השירות צריכה להתחיל ב-http:// או ב-https://, למשל https://example.org/sms"));
            return;
        }
        // Before the shown provider's fields are stored, so that its password goes where the new setting
        // keeps them.
        const bool useKeyring = UseKeyringBox->isChecked();
        if (useKeyring != SmsIni().useKeyring()) {
            if (!setUseKeyring(useKeyring)) {
                UseKeyringBox->setChecked(!useKeyring);
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

void TPreferencesForm::Button2Click()
{
    reject();
}

void TPreferencesForm::SaveSettings()
{
    // Typed time-out text is taken over when the field loses the focus or sees Enter; OK by its shortcut
    // does neither.
    SpinEdit1->interpretText();

    SmsIni ini;
    TProviders& providers = m_host.providers();
    const int index = indexOfProvider(providers, m_shownProvider);
    if (index >= 0) {
        TProvider& provider = providers[index];
        provider.UserName = Edit1->text();
        provider.Password = Edit2->text();
        // Written even when empty: clearing the fields clears the stored credentials.
        ini.setUserName(provider.Name, provider.UserName);
        storePassword(provider.Name, provider.Password);
    }

    ini.setAutoStart(CheckBox1->isChecked());
    const bool usePopupStatus = CheckBox2->isChecked();
    ini.setUsePopupStatus(usePopupStatus);
    m_host.setUsePopupStatus(usePopupStatus);
    const int timeOut = SpinEdit1->value();
    ini.setTimeOut(timeOut);
    m_host.setSendTimeOut(timeOut);
    // The history is pruned to it at the next start.
    ini.setHistoryDays(HistoryDaysEdit->value());
    // A refused address is not stored; OK says so before it gets here.
    const QString serviceBefore = AppPaths::serviceUrl();
    if (ini.setServiceUrl(ServiceUrlEdit->text()) && AppPaths::serviceUrl() != serviceBefore)
        m_host.serviceUrlChanged();
    ini.UpdateFile();
}

void TPreferencesForm::showProvider(const QString& name)
{
    const TProviders& providers = m_host.providers();
    const int index = indexOfProvider(providers, name);
    const TProvider* provider = index >= 0 ? &providers[index] : nullptr;
    Edit1->setText(provider ? provider->UserName : QString());
    Edit2->setText(provider ? provider->Password : QString());
    // Without a sign-up page the link has no target either, so pressing the empty label opens nothing.
    const QString signup = provider ? provider->SignupURL : QString();
    URLLabel1->setUrl(signup);
    URLLabel1->setText(signup);
    Label6->setText(provider ? provider->MsgLimit : QString());
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
