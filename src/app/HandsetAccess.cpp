#include "HandsetAccess.h"

#include "CompositionFields.h"
#include "TMsgForm.h"
#include "widgets/TImgButton.h"
#include "widgets/TImgLed.h"
#include "widgets/TListLabel.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>

namespace {
// A label's caption as a field's name: "השולח:" names the field "השולח", "Message: (" names it "Message".
QString fieldName(const QLabel* label)
{
    QString name = label->text().trimmed();
    while (name.endsWith(QLatin1Char('(')) || name.endsWith(QLatin1Char(':')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    return name;
}
} // namespace

HandsetAccess::HandsetAccess(TMsgForm& window)
    : QObject(&window)
    , m_window(window)
{
    const MsgFormUi& ui = m_window.ui();
    ui.senderLabel->setBuddy(ui.senderEdit);
    ui.recipientCaption->setBuddy(ui.recipientLabel);
    ui.numberLabel->setBuddy(ui.numberEdit);
    ui.messageLabel->setBuddy(ui.messageEdit);
    ui.senderEdit->setAccessibleName(fieldName(ui.senderLabel));
    ui.areaCodeEdit->setAccessibleName(TMsgForm::tr("קידומת"));
    ui.numberEdit->setAccessibleName(fieldName(ui.numberLabel));
    ui.messageEdit->setAccessibleName(fieldName(ui.messageLabel));
    // The caption's "(" opens the counter beside it, which reads as a sentence of its own.
    ui.messageLabel->setAccessibleName(fieldName(ui.messageLabel));
    ui.recipientLabel->setAccessibleDescription(fieldName(ui.recipientCaption));

    ui.sendButton->setAccessibleName(TMsgForm::tr("שלח"));
    ui.sendButton->setAccessibleDescription(TMsgForm::tr("Ctrl+Enter שולח מכל שדה"));
    ui.areaMenuButton->setAccessibleName(TMsgForm::tr("בחירת קידומת"));
    ui.areaMenuButton->setAccessibleDescription(TMsgForm::tr("Alt+חץ למטה פותח את רשימת הקידומות"));
    ui.areaMenuButton->setOpensMenu(true);
    ui.menuButton->setOpensMenu(true);
    ui.connectionLamp->setStateNames(TMsgForm::tr("נורית: אין הגדרות זמינות או אין חיבור"),
        TMsgForm::tr("נורית: עובד מההגדרות השמורות או מתחבר לשירות"), TMsgForm::tr("נורית: מחובר, ההגדרות מהשירות"));
    ui.statusLine->setAccessibleDescription(TMsgForm::tr("שורת מצב"));
    ui.bannerImage->setAccessibleName(TMsgForm::tr("פרסומת"));

    // Reading order, the interface's direction being the layout's: the fields from the sender to the send
    // button, then the other buttons.
    QWidget* order[] = { ui.senderEdit, ui.areaCodeEdit, ui.numberEdit, ui.messageEdit, ui.sendButton, ui.phoneBookButton,
        ui.areaMenuButton, ui.statusLine, ui.menuButton, ui.closeButton };
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    // Ctrl+Return sends from any field, as the send button does (not while it is disabled).
    for (const QKeySequence& keys :
        { QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter) }) {
        auto* send = new QShortcut(keys, &m_window);
        send->setContext(Qt::WindowShortcut);
        connect(send, &QShortcut::activated, this, [window = &m_window] {
            TImgButton* button = window->ui().sendButton;
            if (button->isEnabled() && button->isVisible())
                button->click();
        });
    }
    describeStatus(ui.statusLine->text());
    connect(ui.statusLine, &QLineEdit::textChanged, this, &HandsetAccess::describeStatus);
    connect(&m_window.session(), &MainSession::bannerShown, this, &HandsetAccess::describeBanner);
    connect(ui.menuButton, &TImgButton::menuRequested, &m_window, &TMsgForm::menuClicked);
    connect(&m_window.fields(), &CompositionFields::counted, this, &HandsetAccess::describeCounter);
}

void HandsetAccess::describeCounter(int typed, int limit)
{
    m_window.ui().counterLabel->setAccessibleName(TMsgForm::tr("ההודעה: %1 מתוך %2 תוים").arg(typed).arg(limit));
}

void HandsetAccess::describeStatus(const QString& text)
{
    // The text as shown, which is plain; the name's change is the event a screen reader speaks.
    const QString name = text.isEmpty() ? TMsgForm::tr("שורת מצב") : text;
    if (name != m_window.ui().statusLine->accessibleName()) {
        m_window.ui().statusLine->setAccessibleName(name);
    } else {
        // The same text again (the same refusal twice) is news too.
        QAccessibleEvent again(m_window.ui().statusLine, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&again);
    }
}

void HandsetAccess::describeBanner(const QString& name)
{
    m_window.ui().bannerImage->setAccessibleName(name.isEmpty() ? TMsgForm::tr("פרסומת") : TMsgForm::tr("פרסומת: %1, פותחת את הדף שלה").arg(name));
}
