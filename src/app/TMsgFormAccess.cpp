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
    m_ui.Label1->setBuddy(m_ui.Edit2);
    m_ui.Label3->setBuddy(m_ui.ToLabel);
    m_ui.Label2->setBuddy(m_ui.Edit1);
    m_ui.Label4->setBuddy(m_ui.Memo1);
    m_ui.Edit2->setAccessibleName(fieldName(m_ui.Label1));
    m_ui.ComboBox1->setAccessibleName(tr("קידומת"));
    m_ui.Edit1->setAccessibleName(fieldName(m_ui.Label2));
    m_ui.Memo1->setAccessibleName(fieldName(m_ui.Label4));
    // The caption's "(" opens the counter beside it, which reads as a sentence of its own.
    m_ui.Label4->setAccessibleName(fieldName(m_ui.Label4));
    m_ui.ToLabel->setAccessibleDescription(fieldName(m_ui.Label3));

    m_ui.Button1->setAccessibleName(tr("שלח"));
    m_ui.Button1->setAccessibleDescription(tr("Ctrl+Enter שולח מכל שדה"));
    m_ui.ImgButton2->setAccessibleName(tr("בחירת קידומת"));
    m_ui.ImgButton2->setAccessibleDescription(tr("Alt+חץ למטה פותח את רשימת הקידומות"));
    m_ui.ImgButton2->setOpensMenu(true);
    m_ui.ImgButton5->setOpensMenu(true);
    m_ui.Led->setStateNames(tr("נורית: אין הגדרות זמינות או אין חיבור"),
        tr("נורית: עובד מההגדרות השמורות או מתחבר לשירות"), tr("נורית: מחובר, ההגדרות מהשירות"));
    m_ui.Panel1->setAccessibleDescription(tr("שורת מצב"));
    m_ui.Image2->setAccessibleName(tr("פרסומת"));

    // Reading order, the interface's direction being the layout's: the fields from the sender to the send
    // button, then the other buttons.
    QWidget* order[] = { m_ui.Edit2, m_ui.ComboBox1, m_ui.Edit1, m_ui.Memo1, m_ui.Button1, m_ui.SpeedButton1,
        m_ui.ImgButton2, m_ui.Panel1, m_ui.ImgButton5, m_ui.ImgButton4 };
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Ctrl+Return sends from any field, as the send button does (not while it is disabled).
    for (const QKeySequence& keys :
        { QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter) }) {
        auto* send = new QShortcut(keys, this);
        send->setContext(Qt::WindowShortcut);
        connect(send, &QShortcut::activated, this, [this] {
            if (m_ui.Button1->isEnabled() && m_ui.Button1->isVisible())
                m_ui.Button1->click();
        });
    }
    describeStatus(m_ui.Panel1->text());
    connect(m_ui.Panel1, &QLineEdit::textChanged, this, &TMsgForm::describeStatus);
    connect(&m_session->banners(), &BannerRotation::bannerShown, this,
        [this] { describeBanner(m_session->banners().ShownName); });
    connect(m_ui.ImgButton2, &TImgButton::menuRequested, this, &TMsgForm::openAreaMenuFromKeyboard);
    connect(m_ui.ImgButton5, &TImgButton::menuRequested, this, &TMsgForm::ImgButton5Click);
    // The area-code field's keys reach areaMenuKey through the window's filter on the fields.
}

bool TMsgForm::areaMenuKey(QObject* watched, QEvent* event)
{
    if (watched != m_ui.ComboBox1 || event->type() != QEvent::KeyPress)
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
    if (!m_ui.ImgButton2->isEnabled())
        return;
    if (!m_ui.PopupMenu2->actions().isEmpty())
        m_ui.PopupMenu2->setActiveAction(m_ui.PopupMenu2->actions().constFirst());
    ImgButton2MouseDown(QPoint(0, m_ui.ImgButton2->height()));
}

void TMsgForm::describeCounter(int typed, int limit)
{
    m_ui.CharCount->setAccessibleName(tr("ההודעה: %1 מתוך %2 תוים").arg(typed).arg(limit));
}

void TMsgForm::describeStatus(const QString& text)
{
    // The text as shown, which is plain; the name's change is the event a screen reader speaks.
    const QString name = text.isEmpty() ? tr("שורת מצב") : text;
    if (name != m_ui.Panel1->accessibleName()) {
        m_ui.Panel1->setAccessibleName(name);
    } else {
        // The same text again (the same refusal twice) is news too.
        QAccessibleEvent again(m_ui.Panel1, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&again);
    }
}

void TMsgForm::describeBanner(const QString& name)
{
    m_ui.Image2->setAccessibleName(name.isEmpty() ? tr("פרסומת") : tr("פרסומת: %1, פותחת את הדף שלה").arg(name));
}
