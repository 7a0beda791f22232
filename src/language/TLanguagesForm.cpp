#include "TLanguagesForm.h"

#include "common/ErrorReport.h"
#include "language/LanguagesHost.h"
#include "language/THalvernLanguage.h"
#include "settings/ProgramSettings.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TLanguagesForm::TLanguagesForm(LanguagesHost& host, const QString& moduleBase, QWidget* parent)
    : QDialog(parent)
    , m_host(host)
{
    buildControls(moduleBase);
    showLanguageInForce();
}

TLanguagesForm::~TLanguagesForm() = default;

void TLanguagesForm::buildControls(const QString& moduleBase)
{
    setObjectName(QStringLiteral("LanguagesForm"));
    // The caption and the texts are English in every language, so that a user lost in a language they cannot
    // read still finds the way back.
    setWindowTitle(QStringLiteral("Languages"));
    setLayoutDirection(Qt::LeftToRight);
    setAttribute(Qt::WA_DeleteOnClose);
    // With the main window gone this may be the only window shown; closing it must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    promptLabel = new QLabel(QStringLiteral("Please choose interface language:"), this);
    promptLabel->setObjectName(QStringLiteral("promptLabel"));
    QFont bold = promptLabel->font();
    bold.setBold(true);
    promptLabel->setFont(bold);

    languageList = new THalvernLanguage(moduleBase, this);
    languageList->setObjectName(QStringLiteral("languageList"));
    languageList->setFixedWidth(201);
    languageList->setRefreshImmidiate(true);

    closeButton = new QPushButton(QStringLiteral("&Close"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setDefault(true);
    connect(closeButton, &QPushButton::clicked, this, &TLanguagesForm::closeClicked);
    // The main window and its tray icon stay until a language is chosen; then they go, and come back in the
    // new language when this window closes.
    connect(languageList, &THalvernLanguage::languageChosen, this, [this] {
        if (m_released)
            return;
        m_released = true;
        m_host.releaseMainWindow();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeButton);
    buttons->addStretch();

    auto* form = new QVBoxLayout(this);
    form->addWidget(promptLabel);
    form->addWidget(languageList, 0, Qt::AlignHCenter);
    form->addLayout(buttons);
    // A fixed border, the window sized to its contents: about 212 by 96 with the usual fonts.
    form->setSizeConstraint(QLayout::SetFixedSize);
}

void TLanguagesForm::showLanguageInForce()
{
    const QString languageCode = m_host.languageCode();
    languageList->setSelectedCode(languageCode);
    languageList->showCode(languageCode);
}

void TLanguagesForm::closeClicked()
{
    try {
        ProgramSettings::writeLanguage(languageList->SelectedCode());
    } catch (const ZelkoraError&) {
        // The language stays in force for this run; the next start uses the value stored before.
    }
    close();
}

void TLanguagesForm::closeOnce()
{
    if (m_closed)
        return;
    m_closed = true;
    if (m_released)
        m_host.rebuildMainWindow();
}

void TLanguagesForm::closeEvent(QCloseEvent* event)
{
    // QDialog's own handling would turn the close into a rejection that only hides the window.
    closeOnce();
    event->accept();
}

void TLanguagesForm::keyPressEvent(QKeyEvent* event)
{
    // Escape closes like the title-bar button rather than hiding the window through reject().
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TLanguagesForm::showEvent(QShowEvent* event)
{
    if (!m_centred) {
        m_centred = true;
        if (const QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}
