#include "TTeachForm.h"

#include "common/InterfaceDirection.h"
#include "common/UserPrompt.h"
#include "engine/BrowserLoader.h"
#include "sending/PersonPageWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

// Q_INIT_RESOURCE names a function in the global namespace.
static void initTeachResources()
{
    Q_INIT_RESOURCE(teach);
}

namespace {
const QString kDone = QStringLiteral("✔ ");

QLabel* wrapped(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

QLineEdit* sample(const QString& name, const QString& text, QWidget* parent)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setLayoutDirection(Qt::LeftToRight);
    return edit;
}

// The check's steps in the words of the window.
QString stepLabel(const QString& step)
{
    static const QHash<QString, const char*> labels {
        { QStringLiteral("provider"), QT_TRANSLATE_NOOP("TTeachForm", "ספק") },
        { QStringLiteral("credentials"), QT_TRANSLATE_NOOP("TTeachForm", "פרטי כניסה") },
        { QStringLiteral("browser"), QT_TRANSLATE_NOOP("TTeachForm", "הדפדפן") },
        { QStringLiteral("page access"), QT_TRANSLATE_NOOP("TTeachForm", "גישה לדף") },
        { QStringLiteral("login page"), QT_TRANSLATE_NOOP("TTeachForm", "דף הכניסה") },
        { QStringLiteral("login page frame"), QT_TRANSLATE_NOOP("TTeachForm", "מסגרת דף הכניסה") },
        { QStringLiteral("login form"), QT_TRANSLATE_NOOP("TTeachForm", "טופס הכניסה") },
        { QStringLiteral("user field"), QT_TRANSLATE_NOOP("TTeachForm", "שדה שם המשתמש") },
        { QStringLiteral("password field"), QT_TRANSLATE_NOOP("TTeachForm", "שדה הסיסמה") },
        { QStringLiteral("login submit"), QT_TRANSLATE_NOOP("TTeachForm", "שליחת טופס הכניסה") },
        { QStringLiteral("message page"), QT_TRANSLATE_NOOP("TTeachForm", "דף ההודעה") },
        { QStringLiteral("message page frame"), QT_TRANSLATE_NOOP("TTeachForm", "מסגרת דף ההודעה") },
        { QStringLiteral("message form"), QT_TRANSLATE_NOOP("TTeachForm", "טופס ההודעה") },
        { QStringLiteral("sender field"), QT_TRANSLATE_NOOP("TTeachForm", "שדה השולח") },
        { QStringLiteral("area field"), QT_TRANSLATE_NOOP("TTeachForm", "שדה הקידומת") },
        { QStringLiteral("area choice"), QT_TRANSLATE_NOOP("TTeachForm", "בחירת הקידומת") },
        { QStringLiteral("number field"), QT_TRANSLATE_NOOP("TTeachForm", "שדה המספר") },
        { QStringLiteral("message field"), QT_TRANSLATE_NOOP("TTeachForm", "שדה ההודעה") },
        { QStringLiteral("message submit"), QT_TRANSLATE_NOOP("TTeachForm", "שליחת טופס ההודעה") },
        { QStringLiteral("kept login"), QT_TRANSLATE_NOOP("TTeachForm", "שמירת הכניסה") },
    };
    const char* label = labels.value(step);
    return label ? QCoreApplication::translate("TTeachForm", label) : step;
}
} // namespace

QString TTeachForm::recorderScript()
{
    initTeachResources();
    QFile source(QStringLiteral(":/zelkora-teach/recorder.js"));
    source.open(QIODevice::ReadOnly);
    // The frame path is the send engine's own function, so that what is recorded replays.
    QFile framePath(QStringLiteral(":/zelkora-teach/framepath.js"));
    framePath.open(QIODevice::ReadOnly);
    return QString::fromUtf8(source.readAll())
        .replace(QLatin1String("    @FRAME_PATH@\n"), QString::fromUtf8(framePath.readAll()));
}

TTeachForm::TTeachForm(QWidget* parent, TSMSBaseForm::BrowserMaker makeBrowser)
    : QWidget(parent, Qt::Window)
    , m_session(new TeachSession(this, std::move(makeBrowser)))
{
    setObjectName(QStringLiteral("TeachForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("לימוד ספק חדש"));
    setLayoutDirection(interfaceDirection());
    // Room for the operator's page beside the guide, within the screen the window opens on (down to
    // 910 x 512 window pixels, a 1366 x 768 screen at 150%), less its frame and title bar.
    QSize size(1100, 720);
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
    resize(size);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    auto* pageSide = new QWidget(splitter);
    auto* pageLayout = new QVBoxLayout(pageSide);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(2);

    auto* addressRow = new QHBoxLayout;
    auto* back = new QPushButton(tr("חזרה"), pageSide);
    back->setObjectName(QStringLiteral("BackButton"));
    auto* reload = new QPushButton(tr("רענון"), pageSide);
    reload->setObjectName(QStringLiteral("ReloadButton"));
    AddressEdit = new QLineEdit(pageSide);
    AddressEdit->setObjectName(QStringLiteral("AddressEdit"));
    AddressEdit->setLayoutDirection(Qt::LeftToRight);
    AddressEdit->setPlaceholderText(tr("כתובת דף הכניסה של הספק"));
    addressRow->addWidget(back);
    addressRow->addWidget(reload);
    addressRow->addWidget(AddressEdit, 1);
    pageLayout->addLayout(addressRow);
    LoadProgress = new QProgressBar(pageSide);
    LoadProgress->setObjectName(QStringLiteral("LoadProgress"));
    LoadProgress->setMaximumHeight(4);
    LoadProgress->setTextVisible(false);
    LoadProgress->setRange(0, 100);
    LoadProgress->hide();
    pageLayout->addWidget(LoadProgress);

    m_view = BrowserLoader::createView(pageSide);
    if (m_view) {
        m_view->widget()->setObjectName(QStringLiteral("View"));
        m_view->setPageScript(recorderScript());
        m_view->setMessageHandler([this](const QString& text) { recorderMessage(text); });
        m_view->setAddressChanged([this](const QString& address) {
            if (!AddressEdit->hasFocus())
                AddressEdit->setText(address);
        });
        m_view->setLoadProgress([this](int percent) {
            LoadProgress->setValue(percent);
            LoadProgress->setVisible(percent < 100);
        });
        pageLayout->addWidget(m_view->widget(), 1);
        connect(back, &QPushButton::clicked, this, [this] { m_view->back(); });
        connect(reload, &QPushButton::clicked, this, [this] { m_view->reload(); });
    } else {
        pageLayout->addWidget(wrapped(tr("לא ניתן לטעון את הדפדפן המובנה, ולכן אי אפשר להדגים שליחה."), pageSide), 1);
        back->setEnabled(false);
        reload->setEnabled(false);
        AddressEdit->setEnabled(false);
    }
    connect(AddressEdit, &QLineEdit::returnPressed, this, &TTeachForm::addressEntered);

    auto* scroll = new QScrollArea(splitter);
    scroll->setWidgetResizable(true);
    scroll->setMinimumWidth(340);
    auto* panel = new QWidget(scroll);
    QLayout* buttons = buildGuide(panel);
    scroll->setWidget(panel);

    // The guide is read first: on the right in a right-to-left window, on the left otherwise.
    splitter->insertWidget(0, scroll);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    connect(m_session, &TeachSession::checkStep, this, &TTeachForm::checkStep);
    connect(m_session, &TeachSession::checkFinished, this, &TTeachForm::checkFinished);
    // The first thing asked of the user is the operator's address.
    AddressEdit->setFocus(Qt::OtherFocusReason);
    samplesChanged();
    refreshGuide();
}

TTeachForm::~TTeachForm()
{
    // Before the session, whose engine it lets go.
    delete m_personPages;
    if (m_view) {
        m_view->setMessageHandler(nullptr);
        m_view->setAddressChanged(nullptr);
        m_view->setLoadProgress(nullptr);
    }
}

QLayout* TTeachForm::buildGuide(QWidget* panel)
{
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(wrapped(tr("הראו לתוכנה פעם אחת איך שולחים הודעה באתר של הספק, והיא תכתוב את ההגדרה "
                                 "בעצמה, תבדוק אותה ותשתמש בה."),
        panel));

    auto* names = new QFormLayout;
    ProviderName = new QLineEdit(panel);
    ProviderName->setObjectName(QStringLiteral("ProviderName"));
    AreaCodes = new QLineEdit(panel);
    AreaCodes->setObjectName(QStringLiteral("AreaCodes"));
    AreaCodes->setLayoutDirection(Qt::LeftToRight);
    AreaCodes->setPlaceholderText(QStringLiteral("050,052"));
    names->addRow(tr("שם הספק:"), ProviderName);
    names->addRow(tr("הקידומות שהוא משרת:"), AreaCodes);
    layout->addLayout(names);

    auto* step1 = new QGroupBox(panel);
    auto* step1Layout = new QVBoxLayout(step1);
    Step1Label = wrapped(QString(), step1);
    Step1Label->setObjectName(QStringLiteral("Step1Label"));
    SkipLoginButton = new QPushButton(tr("האתר אינו דורש כניסה"), step1);
    SkipLoginButton->setObjectName(QStringLiteral("SkipLoginButton"));
    step1Layout->addWidget(Step1Label);
    step1Layout->addWidget(SkipLoginButton, 0, Qt::AlignLeading);
    layout->addWidget(step1);

    auto* step2 = new QGroupBox(panel);
    auto* step2Layout = new QVBoxLayout(step2);
    Step2Label = wrapped(QString(), step2);
    Step2Label->setObjectName(QStringLiteral("Step2Label"));
    step2Layout->addWidget(Step2Label);
    auto* samplesForm = new QFormLayout;
    SampleSender = sample(QStringLiteral("SampleSender"), QStringLiteral("Zelkora"), step2);
    OwnArea = new QLineEdit(step2);
    OwnArea->setObjectName(QStringLiteral("OwnArea"));
    OwnArea->setLayoutDirection(Qt::LeftToRight);
    OwnNumber = new QLineEdit(step2);
    OwnNumber->setObjectName(QStringLiteral("OwnNumber"));
    OwnNumber->setLayoutDirection(Qt::LeftToRight);
    SampleMessage = sample(QStringLiteral("SampleMessage"),
        QStringLiteral("Zelkora %1").arg(QRandomGenerator::global()->bounded(1000, 10000)), step2);
    samplesForm->addRow(tr("שם השולח:"), SampleSender);
    samplesForm->addRow(tr("הקידומת שלכם:"), OwnArea);
    samplesForm->addRow(tr("המספר שלכם:"), OwnNumber);
    samplesForm->addRow(tr("ההודעה:"), SampleMessage);
    step2Layout->addLayout(samplesForm);
    KeepLineBreaks = new QCheckBox(tr("האתר מקבל שורות חדשות בהודעה"), step2);
    KeepLineBreaks->setObjectName(QStringLiteral("KeepLineBreaks"));
    step2Layout->addWidget(KeepLineBreaks);
    layout->addWidget(step2);

    auto* step3 = new QGroupBox(panel);
    auto* step3Layout = new QVBoxLayout(step3);
    Step3Label = wrapped(QString(), step3);
    Step3Label->setObjectName(QStringLiteral("Step3Label"));
    MarkAcceptedButton = new QPushButton(tr("זה הטקסט שאומר שההודעה נשלחה"), step3);
    MarkAcceptedButton->setObjectName(QStringLiteral("MarkAcceptedButton"));
    AcceptedText = wrapped(QString(), step3);
    AcceptedText->setObjectName(QStringLiteral("AcceptedText"));
    RejectedText = new QLineEdit(step3);
    RejectedText->setObjectName(QStringLiteral("RejectedText"));
    step3Layout->addWidget(Step3Label);
    step3Layout->addWidget(MarkAcceptedButton, 0, Qt::AlignLeading);
    step3Layout->addWidget(AcceptedText);
    step3Layout->addWidget(wrapped(tr("טקסט שאומר שההודעה נדחתה (לא חובה):"), step3));
    step3Layout->addWidget(RejectedText);
    layout->addWidget(step3);

    ProblemsLabel = wrapped(QString(), panel);
    ProblemsLabel->setObjectName(QStringLiteral("ProblemsLabel"));
    ProblemsLabel->setStyleSheet(QStringLiteral("color: #b00020"));
    layout->addWidget(ProblemsLabel);

    CheckList = new QListWidget(panel);
    CheckList->setObjectName(QStringLiteral("CheckList"));
    CheckList->setWordWrap(true);
    CheckList->setMinimumHeight(120);
    layout->addWidget(CheckList, 1);

    auto* buttons = new QHBoxLayout;
    CheckButton = new QPushButton(tr("בדיקה"), panel);
    CheckButton->setObjectName(QStringLiteral("CheckButton"));
    SaveButton = new QPushButton(tr("שמירה"), panel);
    SaveButton->setObjectName(QStringLiteral("SaveButton"));
    CloseButton = new QPushButton(tr("סגירה"), panel);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    buttons->addWidget(SaveButton);
    buttons->addWidget(CheckButton);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);

    connect(SkipLoginButton, &QPushButton::clicked, this, &TTeachForm::SkipLoginClick);
    connect(MarkAcceptedButton, &QPushButton::clicked, this, &TTeachForm::MarkAcceptedClick);
    connect(CheckButton, &QPushButton::clicked, this, &TTeachForm::CheckClick);
    connect(SaveButton, &QPushButton::clicked, this, &TTeachForm::SaveClick);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    for (QLineEdit* edit : { ProviderName, AreaCodes, OwnArea, OwnNumber, RejectedText })
        connect(edit, &QLineEdit::textChanged, this, [this] {
            samplesChanged();
            refreshGuide();
        });
    connect(KeepLineBreaks, &QCheckBox::toggled, this,
        [this](bool keep) { m_session->demonstration().setClearLineBreaks(!keep); });
    return buttons;
}

SampleValues TTeachForm::samples() const
{
    return SampleValues { SampleSender->text(), OwnArea->text().trimmed(), OwnNumber->text().trimmed(),
        SampleMessage->text() };
}

void TTeachForm::samplesChanged()
{
    Demonstration& demonstration = m_session->demonstration();
    demonstration.setSamples(samples());
    demonstration.setRejectedText(RejectedText->text());
    demonstration.setClearLineBreaks(!KeepLineBreaks->isChecked());
    // The code the user sends from is one the operator serves.
    if (AreaCodes->text().isEmpty() && !OwnArea->text().trimmed().isEmpty() && !AreaCodes->isModified())
        AreaCodes->setPlaceholderText(OwnArea->text().trimmed());
}

void TTeachForm::addressEntered()
{
    const QString address = AddressEdit->text().trimmed();
    if (m_view && !address.isEmpty()) {
        m_session->demonstration().addressTyped();
        m_view->load(address);
        m_view->widget()->setFocus();
    }
}

void TTeachForm::recorderMessage(const QString& text)
{
    m_session->demonstration().recorderMessage(text);
    refreshGuide();
}

void TTeachForm::refreshGuide()
{
    const Demonstration& demonstration = m_session->demonstration();
    const Demonstration::Stage stage = demonstration.stage();

    const bool loginDone = demonstration.loginRecorded() || demonstration.loginSkipped();
    Step1Label->setText((loginDone ? kDone : QString())
        + (demonstration.loginSkipped() ? tr("1. האתר אינו דורש כניסה.")
                                        : tr("1. כתבו למעלה את כתובת דף הכניסה של הספק, פתחו אותו והיכנסו כרגיל עם שם "
                                             "המשתמש והסיסמה שלכם.")));
    SkipLoginButton->setEnabled(stage == Demonstration::Stage::Login);

    Step2Label->setText((demonstration.messageRecorded() ? kDone : QString())
        + tr("2. פתחו את דף שליחת ההודעות, מלאו את הטופס בערכים האלה ושלחו. המספר הוא "
             "שלכם, כדי שההודעה תגיע אליכם.")
        + QLatin1Char(' ')
        + tr("אם האתר שואל בדרך משהו שרק אדם יכול לענות (מילה בתמונה, קוד שנשלח לטלפון), ענו כרגיל: דפים "
             "אלה אינם נרשמים, ובכל שליחה התוכנה תציג לכם אותם כדי שתענו."));
    const bool samplesGiven = !OwnArea->text().trimmed().isEmpty() && !OwnNumber->text().trimmed().isEmpty();

    Step3Label->setText((!demonstration.provider(QString(), {}).ResAccepted.isEmpty() ? kDone : QString())
        + tr("3. בדף התוצאה סמנו בעכבר את הטקסט שאומר שההודעה נשלחה, ולחצו:"));
    MarkAcceptedButton->setEnabled(stage == Demonstration::Stage::Result && demonstration.resultLoaded());
    const QString accepted = demonstration.provider(QString(), {}).ResAccepted;
    AcceptedText->setText(accepted.isEmpty() ? QString() : tr("טקסט ההצלחה: %1").arg(accepted));

    QStringList problems = demonstration.problems();
    if (!samplesGiven && stage != Demonstration::Stage::Result)
        problems.prepend(tr("כתבו את הקידומת ואת המספר שלכם לפני שתמלאו את טופס ההודעה."));
    ProblemsLabel->setText(problems.join(QLatin1Char('\n')));

    const TeachSession::Draft draft = m_session->draft(ProviderName->text(), AreaCodes->text());
    const bool ready = draft.problems.isEmpty() && !m_session->checking();
    CheckButton->setEnabled(ready);
    SaveButton->setEnabled(ready);
}

void TTeachForm::SkipLoginClick()
{
    m_session->demonstration().skipLogin();
    refreshGuide();
}

void TTeachForm::MarkAcceptedClick()
{
    m_session->demonstration().markAccepted();
    refreshGuide();
}

void TTeachForm::CheckClick()
{
    CheckList->clear();
    const TeachSession::Draft draft = m_session->draft(ProviderName->text(), AreaCodes->text());
    if (!draft.problems.isEmpty())
        return;
    CheckList->addItem(tr("בודק את ההגדרה; שום הודעה לא תישלח..."));
    CheckButton->setEnabled(false);
    SaveButton->setEnabled(false);
    // A site that asks the user something after its login is answered in a window of its own.
    if (!m_personPages)
        m_personPages = new PersonPages(m_session->checkEngine(), this);
    m_session->startCheck(draft);
}

void TTeachForm::SaveClick()
{
    const TeachSession::Draft draft = m_session->draft(ProviderName->text(), AreaCodes->text());
    if (!draft.problems.isEmpty())
        return;
    const QString path = TeachSession::pathFor(draft.provider.Name);
    if (QFileInfo::exists(path)
        && !UserPrompt::current()->question(tr("כבר יש הגדרה בשם הזה (%1). להחליף אותה?").arg(path)))
        return;
    QString result;
    if (!m_session->save(draft, &result)) {
        UserPrompt::current()->information(result);
        return;
    }
    emit definitionSaved(result);
    CheckClick();
    CheckList->insertItem(0, tr("ההגדרה נשמרה ב-%1").arg(result));
}

void TTeachForm::checkStep(const CheckStep& step)
{
    auto* item = new QListWidgetItem(
        (step.passed ? kDone : QStringLiteral("✘ ")) + stepLabel(step.step) + QStringLiteral(": ") + step.detail);
    if (!step.passed)
        item->setForeground(QColor(0xb0, 0x00, 0x20));
    CheckList->addItem(item);
    CheckList->scrollToBottom();
}

void TTeachForm::checkFinished(bool passed)
{
    CheckList->addItem(passed ? tr("הבדיקה עברה: שליחה אמיתית תגיע עד שליחת טופס ההודעה.")
                              : tr("הבדיקה נכשלה; השלב שנכשל מסומן למעלה."));
    CheckList->scrollToBottom();
    refreshGuide();
}

void TTeachForm::closeEvent(QCloseEvent* event)
{
    m_session->cancelCheck();
    QWidget::closeEvent(event);
}
