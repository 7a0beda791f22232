// The main window's description: its components, where they sit on the device picture, their names,
// texts and colours, and the two menus.

#include "TMsgForm.h"

#include "common/InterfaceDirection.h"
#include "sending/SendWorkflow.h"
#include "service/ServiceState.h"
#include "session/ServiceConnection.h"
#include "widgets/SkinColors.h"
#include "widgets/Skin.h"
#include "widgets/SkinLayout.h"
#include "widgets/TFormShaper.h"
#include "widgets/THalvernShape.h"
#include "widgets/TImgButton.h"
#include "widgets/TImgLed.h"
#include "widgets/TListLabel.h"
#include "widgets/TTrayIcon.h"
#include "widgets/TextScroller.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextOption>
#include <QTimer>

namespace {

// Every text of the window, labels and fields alike: Arial bold, 11 pixels high. One font means one font
// to load before the window can be shown.
QFont skinFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setBold(true);
    return font;
}

// Fields: the skin's background and text colours, the selection in reverse; a disabled field keeps the
// background and dims its text.
void paintField(QWidget* field)
{
    const QColor back = SkinColors::toColor(SkinColors::SkinBackColor);
    const QColor text = SkinColors::toColor(SkinColors::StatusColorNormal);
    QPalette palette = field->palette();
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        palette.setColor(group, QPalette::Base, back);
        palette.setColor(group, QPalette::Window, back);
        palette.setColor(group, QPalette::Text, group == QPalette::Disabled ? text.darker(180) : text);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::Highlight, text);
        palette.setColor(group, QPalette::HighlightedText, back);
        palette.setColor(group, QPalette::PlaceholderText, text.darker(180));
    }
    field->setPalette(palette);
    field->setAutoFillBackground(true);
}

QLineEdit* lineEdit(QWidget* parent, const char* name, const QRect& where)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(where);
    edit->setFrame(false);
    edit->setTextMargins(2, 0, 2, 0);
    // In the interface's direction whatever the text: Qt would align digits and Latin text in a Hebrew
    // window to the left by their own direction, and an empty field's caret with them.
    edit->setAlignment((interfaceDirection() == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignAbsolute
        | Qt::AlignVCenter);
    paintField(edit);
    return edit;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& where)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(where);
    label->setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, SkinColors::toColor(SkinColors::StatusColorNormal));
    label->setPalette(palette);
    return label;
}

// A one-pixel frame in the skin's text colour just outside a field.
THalvernShape* frame(QWidget* parent, const char* name, const QRect& field)
{
    auto* shape = new THalvernShape(parent);
    shape->setObjectName(QLatin1String(name));
    shape->setShape(stFrame);
    shape->setBrush(SkinColors::toColor(SkinColors::StatusColorNormal));
    shape->setPen(QPen(SkinColors::toColor(SkinColors::StatusColorNormal), 1));
    shape->setGeometry(field.adjusted(-1, -1, 1, 1));
    return shape;
}

TImgButton* imageButton(QWidget* parent, const char* name, const QRect& where, const QString& hint = {})
{
    auto* button = new TImgButton(parent);
    button->setObjectName(QLatin1String(name));
    Skin::dressButton(button, parent->devicePixelRatioF());
    button->setGeometry(where);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusColor(SkinColors::toColor(SkinColors::StatusColorNormal));
    if (!hint.isEmpty())
        button->setToolTip(hint);
    return button;
}
} // namespace

void TMsgForm::createComponents()
{
    setObjectName(QStringLiteral("MsgForm"));
    setWindowTitle(QStringLiteral("Zelkora"));
    setLayoutDirection(interfaceDirection());
    setAttribute(Qt::WA_QuitOnClose, false);
    // Before the components, which take it over as they are made.
    setFont(skinFont());
    resize(SkinLayout::Image1.size());

    m_ui.Image1 = new QLabel(this);
    m_ui.Image1->setObjectName(QStringLiteral("Image1"));
    m_ui.Image1->setGeometry(SkinLayout::Image1);
    m_ui.Image1->setScaledContents(true);
    dressBackground();
    m_ui.Image1->installEventFilter(this);

    m_ui.Image2 = new QLabel(this);
    m_ui.Image2->setObjectName(QStringLiteral("Image2"));
    m_ui.Image2->setGeometry(SkinLayout::Image2);
    m_ui.Image2->setScaledContents(true);
    m_ui.Image2->setPixmap(Skin::defaultBanner(devicePixelRatioF()));
    m_ui.Image2->setCursor(Qt::PointingHandCursor);
    m_ui.Image2->setToolTip(tr("לחץ למידע נוסף..."));
    m_ui.Image2->installEventFilter(this);

    // Frames first, so that the fields inside them lie above and take the mouse.
    m_ui.Shape5 = new THalvernShape(this);
    m_ui.Shape5->setObjectName(QStringLiteral("Shape5"));
    m_ui.Shape5->setShape(stRectangle);
    m_ui.Shape5->setPen(QPen(Qt::NoPen));
    m_ui.Shape5->setBrush(SkinColors::toColor(SkinColors::StatusColorNormal));
    m_ui.Shape5->setGeometry(SkinLayout::Shape5);
    m_ui.Shape1 = frame(this, "Shape1", SkinLayout::Edit2);
    m_ui.HalvernShape1 = frame(this, "HalvernShape1", SkinLayout::ComboBox1);
    m_ui.HalvernShape2 = frame(this, "HalvernShape2", SkinLayout::Edit1);
    m_ui.HalvernShape3 = frame(this, "HalvernShape3", SkinLayout::Memo1);

    const QRect column = SkinLayout::LabelColumn;
    m_ui.Label1 = label(this, "Label1", tr("השולח:"), QRect(column.x(), SkinLayout::Edit2.y(), column.width(), 18));
    m_ui.Label3 = label(this, "Label3", tr("אל:"), QRect(column.x(), SkinLayout::ToLabel.y(), column.width(), 18));
    m_ui.Label2 = label(this, "Label2", tr("טלפון:"), QRect(column.x(), SkinLayout::Edit1.y(), column.width(), 18));

    // "ההודעה: (" with the counter to its left, together reading "ההודעה: (105 / 12 תוים)".
    const QRect line = SkinLayout::MessageLabelLine;
    const int captionWidth = QFontMetrics(font()).horizontalAdvance(tr("ההודעה: (")) + 2;
    m_ui.Label4 = label(
        this, "Label4", tr("ההודעה: ("), QRect(line.right() + 1 - captionWidth, line.y(), captionWidth, line.height()));
    m_ui.CharCount
        = label(this, "CharCount", QString(), QRect(line.x(), line.y(), line.width() - captionWidth, line.height()));
    // A left-to-right language would put the counter before its caption: the counter's label takes the whole
    // line and the caption with it.
    if (layoutDirection() == Qt::LeftToRight) {
        m_ui.Label4->hide();
        m_ui.CharCount->setGeometry(line);
        m_ui.CharCount->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }

    m_ui.Edit2 = lineEdit(this, "Edit2", SkinLayout::Edit2);

    m_ui.ToLabel = new TListLabel(this);
    m_ui.ToLabel->setObjectName(QStringLiteral("ToLabel"));
    m_ui.ToLabel->setGeometry(SkinLayout::ToLabel);
    m_ui.ToLabel->setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    m_ui.ToLabel->setListCaption(tr("<רשימת נמענים>"));
    m_ui.ToLabel->setListColor(SkinColors::toColor(SkinColors::StatusColorSent));
    {
        QPalette palette = m_ui.ToLabel->palette();
        palette.setColor(QPalette::WindowText, SkinColors::toColor(SkinColors::StatusColorNormal));
        m_ui.ToLabel->setPalette(palette);
    }

    m_ui.SpeedButton1 = imageButton(this, "SpeedButton1", SkinLayout::SpeedButton1, tr("ספר טלפונים"));
    m_ui.ImgButton2 = imageButton(this, "ImgButton2", SkinLayout::ImgButton2);

    m_ui.ComboBox1 = lineEdit(this, "ComboBox1", SkinLayout::ComboBox1);
    m_ui.ComboBox1->setText(QStringLiteral("052"));
    m_ui.ComboBox1->setAlignment(Qt::AlignCenter);
    m_ui.Edit1 = lineEdit(this, "Edit1", SkinLayout::Edit1);

    m_ui.Memo1 = new QPlainTextEdit(this);
    m_ui.Memo1->setObjectName(QStringLiteral("Memo1"));
    m_ui.Memo1->setGeometry(SkinLayout::Memo1);
    m_ui.Memo1->setFrameShape(QFrame::NoFrame);
    m_ui.Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_ui.Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_ui.Memo1->setTabChangesFocus(true);
    {
        // The message is written in the interface's direction from its first character, as the window's
        // other fields.
        QTextOption option = m_ui.Memo1->document()->defaultTextOption();
        option.setTextDirection(interfaceDirection());
        option.setAlignment(
            (interfaceDirection() == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignAbsolute);
        m_ui.Memo1->document()->setDefaultTextOption(option);
    }
    paintField(m_ui.Memo1);
    paintField(m_ui.Memo1->viewport());

    m_ui.Panel1 = lineEdit(this, "Panel1", SkinLayout::Panel1);
    m_ui.Panel1->setReadOnly(true);
    // A status longer than the line moves through it, so that all of it can be read.
    new TextScroller(m_ui.Panel1);
    m_ui.Panel1->setText(tr("פעיל"));

    m_ui.Button1 = imageButton(this, "Button1", SkinLayout::Button1);
    m_ui.Led = new TImgLed(this);
    m_ui.Led->setObjectName(QStringLiteral("Led"));
    Skin::dressLed(m_ui.Led, devicePixelRatioF());
    m_ui.Led->setGeometry(SkinLayout::Led);
    m_ui.ImgButton5 = imageButton(this, "ImgButton5", SkinLayout::ImgButton5, tr("תפריט ראשי"));
    m_ui.ImgButton4 = imageButton(this, "ImgButton4", SkinLayout::ImgButton4, tr("סגירה/ביטול ההודעה"));

    // The skin's places are a right-to-left reading's: in a left-to-right language the labels, fields and
    // buttons take the mirrored places (the device's picture, which is symmetric, stays as it is).
    // The mirror's axis is the middle of the device's screen. A number reads left to right in both, so its row
    // (the area code's menu, the area code, the number) moves as a whole and keeps its order.
    if (layoutDirection() == Qt::LeftToRight) {
        const int axis2 = 2 * SkinLayout::Memo1.x() + SkinLayout::Memo1.width();
        const QList<QWidget*> numberRow { m_ui.ImgButton2, m_ui.ComboBox1, m_ui.HalvernShape1, m_ui.Edit1,
            m_ui.HalvernShape2 };
        QRect row;
        for (const QWidget* widget : numberRow)
            row |= widget->geometry();
        const int rowShift = axis2 - 2 * row.x() - row.width();
        for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child == m_ui.Image1 || child->isWindow())
                continue;
            const QRect place = child->geometry();
            if (numberRow.contains(child))
                child->move(place.x() + rowShift, place.y());
            else
                child->move(axis2 - place.x() - place.width(), place.y());
        }
    }

    createMenus();
    describeControls();

    m_ui.TrayIcon1 = new TTrayIcon(this);
    m_ui.TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    m_ui.TrayIcon1->setHint(QStringLiteral("Zelkora"));
    m_ui.TrayIcon1->setTrayMenu(m_ui.PopupMenu1);
    m_ui.ImageList1 = { Skin::trayImage(0), Skin::trayImage(1), Skin::trayImage(2) };

    m_ui.FormShaper96 = new TFormShaper(this);
    m_ui.FormShaper96->setObjectName(QStringLiteral("FormShaper96"));
    m_ui.FormShaper96->setFormShape(Skin::formShape(96));
    m_ui.FormShaper120 = new TFormShaper(this);
    m_ui.FormShaper120->setObjectName(QStringLiteral("FormShaper120"));
    m_ui.FormShaper120->setFormShape(Skin::formShape(120));

    connect(m_ui.ImgButton4, &TImgButton::clicked, this, &TMsgForm::ImgButton4Click);
    connect(m_ui.ImgButton5, &TImgButton::clicked, this, &TMsgForm::ImgButton5Click);
    connect(m_ui.Button1, &TImgButton::clicked, this, &TMsgForm::Button1Click);
    connect(m_ui.SpeedButton1, &TImgButton::clicked, this, &TMsgForm::SpeedButton1Click);
    connect(m_ui.ImgButton2, &TImgButton::OnMouseDown, this,
        [this](Qt::MouseButton, const QPoint& pos) { ImgButton2MouseDown(pos); });
    connect(m_ui.TrayIcon1, &TTrayIcon::OnDblClick, this, &TMsgForm::TrayIcon1DblClick);
    connect(m_ui.Edit2, &QLineEdit::textChanged, this, &TMsgForm::UpdateCharCount);
    connect(m_ui.Memo1, &QPlainTextEdit::textChanged, this, &TMsgForm::UpdateCharCount);
    connect(m_ui.Edit1, &QLineEdit::textChanged, this, &TMsgForm::Edit1Change);
    connect(m_ui.ComboBox1, &QLineEdit::textChanged, this, &TMsgForm::Edit1Change);
    for (QWidget* field : { static_cast<QWidget*>(m_ui.Edit1), static_cast<QWidget*>(m_ui.Edit2),
             static_cast<QWidget*>(m_ui.ComboBox1), static_cast<QWidget*>(m_ui.Panel1) })
        field->installEventFilter(this);

    // The area-code menu is also the context menu of the send, area-code and phone book buttons. The
    // area-code button opens it on any press already.
    for (TImgButton* button : { m_ui.Button1, m_ui.SpeedButton1 }) {
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QWidget::customContextMenuRequested, this,
            [this, button](const QPoint& pos) { m_ui.PopupMenu2->exec(button->mapToGlobal(pos)); });
    }
}

void TMsgForm::createMenus()
{
    m_ui.PopupMenu1 = new QMenu(this);
    m_ui.PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    m_ui.PopupMenu1->setLayoutDirection(interfaceDirection());

    const auto item = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    m_ui.Open1 = item(m_ui.PopupMenu1, "Open1", tr("הודעה חדשה"));
    m_ui.SendLater1 = item(m_ui.PopupMenu1, "SendLater1", tr("שליחה במועד מאוחר..."));
    m_ui.PopupMenu1->addSeparator();
    m_ui.PhoneBook1 = item(m_ui.PopupMenu1, "PhoneBook1", tr("ספר טלפונים"));
    m_ui.History1 = item(m_ui.PopupMenu1, "History1", tr("היסטוריה"));
    m_ui.Preferences1 = item(m_ui.PopupMenu1, "Preferences1", tr("הגדרות"));
    m_ui.Teach1 = item(m_ui.PopupMenu1, "Teach1", tr("לימוד ספק חדש..."));
    m_ui.PopupMenu1->addSeparator();
    m_ui.TellFriends1 = item(m_ui.PopupMenu1, "TellFriends1", tr("ספר לחברים!"));
    m_ui.HomePage1 = item(m_ui.PopupMenu1, "HomePage1", tr("אתר הבית"));
    QMenu* help = m_ui.PopupMenu1->addMenu(tr("עזרה"));
    help->setObjectName(QStringLiteral("N5Menu"));
    m_ui.N5 = help->menuAction();
    m_ui.N5->setObjectName(QStringLiteral("N5"));
    m_ui.N6 = item(help, "N6", tr("עזרה מקומית"));
    m_ui.OnlineHelpMenu = item(help, "OnlineHelpMenu", tr("עזרה מקוונת"));
    m_ui.OnlineHelpMenu->setEnabled(false);
    m_ui.DemoOperators1 = item(help, "DemoOperators1", tr("נסו עם מפעילי ההדגמה"));
    m_ui.N4 = item(help, "N4", tr("אודות"));
    m_ui.PopupMenu1->addSeparator();
    m_ui.Languages = item(m_ui.PopupMenu1, "Languages", QStringLiteral("Languages"));
    m_ui.PopupMenu1->addSeparator();
    m_ui.Stop1 = item(m_ui.PopupMenu1, "Stop1", tr("סיום"));

    connect(m_ui.Open1, &QAction::triggered, this, &TMsgForm::Open1Click);
    connect(m_ui.PhoneBook1, &QAction::triggered, this, &TMsgForm::SpeedButton1Click);
    connect(m_ui.Preferences1, &QAction::triggered, this, &TMsgForm::Preferences1Click);
    connect(m_ui.Teach1, &QAction::triggered, this, &TMsgForm::Teach1Click);
    connect(m_ui.DemoOperators1, &QAction::triggered, this, &TMsgForm::tryDemoOperators);
    connect(m_ui.SendLater1, &QAction::triggered, this, &TMsgForm::SendLater1Click);
    connect(m_ui.History1, &QAction::triggered, this, &TMsgForm::History1Click);
    connect(m_ui.TellFriends1, &QAction::triggered, this, &TMsgForm::TellFriends1Click);
    connect(m_ui.HomePage1, &QAction::triggered, this, [this] { m_session->service().HomePage1Click(); });
    connect(m_ui.N6, &QAction::triggered, this, &TMsgForm::N6Click);
    connect(m_ui.OnlineHelpMenu, &QAction::triggered, this, [this] { m_session->service().OnlineHelpMenuClick(); });
    connect(m_ui.N4, &QAction::triggered, this, &TMsgForm::N4Click);
    connect(m_ui.Languages, &QAction::triggered, this, &TMsgForm::LanguagesClick);
    connect(m_ui.Stop1, &QAction::triggered, this, &TMsgForm::Stop1Click);

    // The area codes, drawn in the skin's colours: the selected item in reverse.
    m_ui.PopupMenu2 = new QMenu(this);
    m_ui.PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    const QString back = SkinColors::toColor(SkinColors::SkinBackColor).name();
    const QString text = SkinColors::toColor(SkinColors::StatusColorNormal).name();
    m_ui.PopupMenu2->setStyleSheet(QStringLiteral("QMenu { background: %1; color: %2; border: 1px solid %2;"
                                                  " font-family: Arial; font-weight: bold; font-size: 12px; }"
                                                  "QMenu::item { padding: 2px 12px 2px 6px; }"
                                                  "QMenu::item:selected { background: %2; color: %1; }")
                                       .arg(back, text));
}
