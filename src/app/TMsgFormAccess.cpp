// The main window for the keyboard and for screen readers: every control named in the interface language,
// labels tied to their fields, the order Tab follows, Ctrl+Return to send from any field, the area-code menu
// from the keyboard, and the status line and the counter as plain text.

#include "TMsgForm.h"

#include "sending/SendWorkflow.h"
#include "session/BannerRotation.h"
#include "widgets/TImgButton.h"
#include "widgets/TImgLed.h"
#include "widgets/TListLabel.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
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

void TMsgForm::describeControls()
{
    m_ui.senderLabel->setBuddy(m_ui.senderEdit);
    m_ui.recipientCaption->setBuddy(m_ui.recipientLabel);
    m_ui.numberLabel->setBuddy(m_ui.numberEdit);
    m_ui.messageLabel->setBuddy(m_ui.messageEdit);
    m_ui.senderEdit->setAccessibleName(fieldName(m_ui.senderLabel));
    m_ui.areaCodeEdit->setAccessibleName(tr("קידומת"));
    m_ui.numberEdit->setAccessibleName(fieldName(m_ui.numberLabel));
    m_ui.messageEdit->setAccessibleName(fieldName(m_ui.messageLabel));
    // The caption's "(" opens the counter beside it, which reads as a sentence of its own.
    m_ui.messageLabel->setAccessibleName(fieldName(m_ui.messageLabel));
    m_ui.recipientLabel->setAccessibleDescription(fieldName(m_ui.recipientCaption));

    m_ui.sendButton->setAccessibleName(tr("שלח"));
    m_ui.sendButton->setAccessibleDescription(tr("Ctrl+Enter שולח מכל שדה"));
    m_ui.areaMenuButton->setAccessibleName(tr("בחירת קידומת"));
    m_ui.areaMenuButton->setAccessibleDescription(tr("Alt+חץ למטה פותח את רשימת הקידומות"));
    m_ui.areaMenuButton->setOpensMenu(true);
    m_ui.menuButton->setOpensMenu(true);
    m_ui.connectionLamp->setStateNames(tr("נורית: אין הגדרות זמינות או אין חיבור"),
        tr("נורית: עובד מההגדרות השמורות או מתחבר לשירות"), tr("נורית: מחובר, ההגדרות מהשירות"));
    m_ui.statusLine->setAccessibleDescription(tr("שורת מצב"));
    m_ui.bannerImage->setAccessibleName(tr("פרסומת"));

    // Reading order, the interface's direction being the layout's: the fields from the sender to the send
    // button, then the other buttons.
    QWidget* order[] = { m_ui.senderEdit, m_ui.areaCodeEdit, m_ui.numberEdit, m_ui.messageEdit, m_ui.sendButton, m_ui.phoneBookButton,
        m_ui.areaMenuButton, m_ui.statusLine, m_ui.menuButton, m_ui.closeButton };
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Ctrl+Return sends from any field, as the send button does (not while it is disabled).
    for (const QKeySequence& keys :
        { QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter) }) {
        auto* send = new QShortcut(keys, this);
        send->setContext(Qt::WindowShortcut);
        connect(send, &QShortcut::activated, this, [this] {
            if (m_ui.sendButton->isEnabled() && m_ui.sendButton->isVisible())
                m_ui.sendButton->click();
        });
    }
    describeStatus(m_ui.statusLine->text());
    connect(m_ui.statusLine, &QLineEdit::textChanged, this, &TMsgForm::describeStatus);
    connect(&m_session->banners(), &BannerRotation::bannerShown, this,
        [this] { describeBanner(m_session->banners().ShownName); });
    connect(m_ui.areaMenuButton, &TImgButton::menuRequested, this, &TMsgForm::openAreaMenuFromKeyboard);
    connect(m_ui.menuButton, &TImgButton::menuRequested, this, &TMsgForm::menuClicked);
    // The area-code field's keys reach areaMenuKey through the window's filter on the fields.
}

bool TMsgForm::areaMenuKey(QObject* watched, QEvent* event)
{
    if (watched != m_ui.areaCodeEdit || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Menu || (key->key() == Qt::Key_Down && key->modifiers() == Qt::AltModifier)) {
        openAreaMenuFromKeyboard();
        return true;
    }
    return false;
}

void TMsgForm::openAreaMenuFromKeyboard()
{
    // Under the button, with its first item selected so that the arrows and Return work at once.
    if (!m_ui.areaMenuButton->isEnabled())
        return;
    if (!m_ui.areaMenu->actions().isEmpty())
        m_ui.areaMenu->setActiveAction(m_ui.areaMenu->actions().constFirst());
    areaMenuPressed(QPoint(0, m_ui.areaMenuButton->height()));
}

void TMsgForm::describeCounter(int typed, int limit)
{
    m_ui.counterLabel->setAccessibleName(tr("ההודעה: %1 מתוך %2 תוים").arg(typed).arg(limit));
}

void TMsgForm::describeStatus(const QString& text)
{
    // The text as shown, which is plain; the name's change is the event a screen reader speaks.
    const QString name = text.isEmpty() ? tr("שורת מצב") : text;
    if (name != m_ui.statusLine->accessibleName()) {
        m_ui.statusLine->setAccessibleName(name);
    } else {
        // The same text again (the same refusal twice) is news too.
        QAccessibleEvent again(m_ui.statusLine, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&again);
    }
}

void TMsgForm::describeBanner(const QString& name)
{
    m_ui.bannerImage->setAccessibleName(name.isEmpty() ? tr("פרסומת") : tr("פרסומת: %1, פותחת את הדף שלה").arg(name));
}
