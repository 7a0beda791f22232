// The main window's description: its components, where they sit on the device picture, their names,
// texts and colours, and the two menus.

#include "TMsgForm.h"

#include "HandsetAccess.h"
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
    resize(SkinLayout::DevicePicture.size());

    m_ui.devicePicture = new QLabel(this);
    m_ui.devicePicture->setObjectName(QStringLiteral("devicePicture"));
    m_ui.devicePicture->setGeometry(SkinLayout::DevicePicture);
    m_ui.devicePicture->setScaledContents(true);
    dressBackground();
    m_ui.devicePicture->installEventFilter(this);

    m_ui.bannerImage = new QLabel(this);
    m_ui.bannerImage->setObjectName(QStringLiteral("bannerImage"));
    m_ui.bannerImage->setGeometry(SkinLayout::BannerImage);
    m_ui.bannerImage->setScaledContents(true);
    m_ui.bannerImage->setPixmap(Skin::defaultBanner(devicePixelRatioF()));
    m_ui.bannerImage->setCursor(Qt::PointingHandCursor);
    m_ui.bannerImage->setToolTip(tr("לחץ למידע נוסף..."));
    m_ui.bannerImage->installEventFilter(this);

    // Frames first, so that the fields inside them lie above and take the mouse.
    m_ui.separatorLine = new THalvernShape(this);
    m_ui.separatorLine->setObjectName(QStringLiteral("separatorLine"));
    m_ui.separatorLine->setShape(stRectangle);
    m_ui.separatorLine->setPen(QPen(Qt::NoPen));
    m_ui.separatorLine->setBrush(SkinColors::toColor(SkinColors::StatusColorNormal));
    m_ui.separatorLine->setGeometry(SkinLayout::SeparatorLine);
    m_ui.senderFrame = frame(this, "senderFrame", SkinLayout::SenderEdit);
    m_ui.areaCodeFrame = frame(this, "areaCodeFrame", SkinLayout::AreaCodeEdit);
    m_ui.numberFrame = frame(this, "numberFrame", SkinLayout::NumberEdit);
    m_ui.messageFrame = frame(this, "messageFrame", SkinLayout::MessageEdit);

    const QRect column = SkinLayout::LabelColumn;
    m_ui.senderLabel = label(this, "senderLabel", tr("השולח:"), QRect(column.x(), SkinLayout::SenderEdit.y(), column.width(), 18));
    m_ui.recipientCaption = label(this, "recipientCaption", tr("אל:"), QRect(column.x(), SkinLayout::RecipientLabel.y(), column.width(), 18));
    m_ui.numberLabel = label(this, "numberLabel", tr("טלפון:"), QRect(column.x(), SkinLayout::NumberEdit.y(), column.width(), 18));

    // "ההודעה: (" with the counter to its left, together reading "ההודעה: (105 / 12 תוים)".
    const QRect line = SkinLayout::MessageLabelLine;
    const int captionWidth = QFontMetrics(font()).horizontalAdvance(tr("ההודעה: (")) + 2;
    m_ui.messageLabel = label(
        this, "messageLabel", tr("ההודעה: ("), QRect(line.right() + 1 - captionWidth, line.y(), captionWidth, line.height()));
    m_ui.counterLabel
        = label(this, "counterLabel", QString(), QRect(line.x(), line.y(), line.width() - captionWidth, line.height()));
    // A left-to-right language would put the counter before its caption: the counter's label takes the whole
    // line and the caption with it.
    if (layoutDirection() == Qt::LeftToRight) {
        m_ui.messageLabel->hide();
        m_ui.counterLabel->setGeometry(line);
        m_ui.counterLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }

    m_ui.senderEdit = lineEdit(this, "senderEdit", SkinLayout::SenderEdit);

    m_ui.recipientLabel = new TListLabel(this);
    m_ui.recipientLabel->setObjectName(QStringLiteral("recipientLabel"));
    m_ui.recipientLabel->setGeometry(SkinLayout::RecipientLabel);
    m_ui.recipientLabel->setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    m_ui.recipientLabel->setListCaption(tr("<רשימת נמענים>"));
    m_ui.recipientLabel->setListColor(SkinColors::toColor(SkinColors::StatusColorSent));
    {
        QPalette palette = m_ui.recipientLabel->palette();
        palette.setColor(QPalette::WindowText, SkinColors::toColor(SkinColors::StatusColorNormal));
        m_ui.recipientLabel->setPalette(palette);
    }

    m_ui.phoneBookButton = imageButton(this, "phoneBookButton", SkinLayout::PhoneBookButton, tr("ספר טלפונים"));
    m_ui.areaMenuButton = imageButton(this, "areaMenuButton", SkinLayout::AreaMenuButton);

    m_ui.areaCodeEdit = lineEdit(this, "areaCodeEdit", SkinLayout::AreaCodeEdit);
    m_ui.areaCodeEdit->setText(QStringLiteral("052"));
    m_ui.areaCodeEdit->setAlignment(Qt::AlignCenter);
    m_ui.numberEdit = lineEdit(this, "numberEdit", SkinLayout::NumberEdit);

    m_ui.messageEdit = new QPlainTextEdit(this);
    m_ui.messageEdit->setObjectName(QStringLiteral("messageEdit"));
    m_ui.messageEdit->setGeometry(SkinLayout::MessageEdit);
    m_ui.messageEdit->setFrameShape(QFrame::NoFrame);
    m_ui.messageEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_ui.messageEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_ui.messageEdit->setTabChangesFocus(true);
    {
        // The message is written in the interface's direction from its first character, as the window's
        // other fields.
        QTextOption option = m_ui.messageEdit->document()->defaultTextOption();
        option.setTextDirection(interfaceDirection());
        option.setAlignment(
            (interfaceDirection() == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignAbsolute);
        m_ui.messageEdit->document()->setDefaultTextOption(option);
    }
    paintField(m_ui.messageEdit);
    paintField(m_ui.messageEdit->viewport());

    m_ui.statusLine = lineEdit(this, "statusLine", SkinLayout::StatusLine);
    m_ui.statusLine->setReadOnly(true);
    // A status longer than the line moves through it, so that all of it can be read.
    new TextScroller(m_ui.statusLine);
    m_ui.statusLine->setText(tr("פעיל"));

    m_ui.sendButton = imageButton(this, "sendButton", SkinLayout::SendButton);
    m_ui.connectionLamp = new TImgLed(this);
    m_ui.connectionLamp->setObjectName(QStringLiteral("connectionLamp"));
    Skin::dressLed(m_ui.connectionLamp, devicePixelRatioF());
    m_ui.connectionLamp->setGeometry(SkinLayout::ConnectionLamp);
    m_ui.menuButton = imageButton(this, "menuButton", SkinLayout::MenuButton, tr("תפריט ראשי"));
    m_ui.closeButton = imageButton(this, "closeButton", SkinLayout::CloseButton, tr("סגירה/ביטול ההודעה"));

    // The skin's places are a right-to-left reading's: in a left-to-right language the labels, fields and
    // buttons take the mirrored places (the device's picture, which is symmetric, stays as it is).
    // The mirror's axis is the middle of the device's screen. A number reads left to right in both, so its row
    // (the area code's menu, the area code, the number) moves as a whole and keeps its order.
    if (layoutDirection() == Qt::LeftToRight) {
        const int axis2 = 2 * SkinLayout::MessageEdit.x() + SkinLayout::MessageEdit.width();
        const QList<QWidget*> numberRow { m_ui.areaMenuButton, m_ui.areaCodeEdit, m_ui.areaCodeFrame, m_ui.numberEdit,
            m_ui.numberFrame };
        QRect row;
        for (const QWidget* widget : numberRow)
            row |= widget->geometry();
        const int rowShift = axis2 - 2 * row.x() - row.width();
        for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child == m_ui.devicePicture || child->isWindow())
                continue;
            const QRect place = child->geometry();
            if (numberRow.contains(child))
                child->move(place.x() + rowShift, place.y());
            else
                child->move(axis2 - place.x() - place.width(), place.y());
        }
    }

    createMenus();
    m_access = new HandsetAccess(*this);

    m_ui.trayIcon = new TTrayIcon(this);
    m_ui.trayIcon->setObjectName(QStringLiteral("trayIcon"));
    m_ui.trayIcon->setHint(QStringLiteral("Zelkora"));
    m_ui.trayIcon->setTrayMenu(m_ui.mainMenu);
    m_ui.trayImages = { Skin::trayImage(0), Skin::trayImage(1), Skin::trayImage(2) };

    m_ui.shaper96 = new TFormShaper(this);
    m_ui.shaper96->setObjectName(QStringLiteral("shaper96"));
    m_ui.shaper96->setFormShape(Skin::formShape(96));
    m_ui.shaper120 = new TFormShaper(this);
    m_ui.shaper120->setObjectName(QStringLiteral("shaper120"));
    m_ui.shaper120->setFormShape(Skin::formShape(120));

    connect(m_ui.closeButton, &TImgButton::clicked, this, &TMsgForm::closeClicked);
    connect(m_ui.menuButton, &TImgButton::clicked, this, &TMsgForm::menuClicked);
    connect(m_ui.sendButton, &TImgButton::clicked, this, &TMsgForm::sendClicked);
    connect(m_ui.phoneBookButton, &TImgButton::clicked, this, &TMsgForm::phoneBookClicked);
    connect(m_ui.areaMenuButton, &TImgButton::OnMouseDown, this,
        [this](Qt::MouseButton, const QPoint& pos) { areaMenuPressed(pos); });
    connect(m_ui.trayIcon, &TTrayIcon::OnDblClick, this, &TMsgForm::trayDoubleClicked);
    connect(m_ui.senderEdit, &QLineEdit::textChanged, this, &TMsgForm::updateCharCount);
    connect(m_ui.messageEdit, &QPlainTextEdit::textChanged, this, &TMsgForm::updateCharCount);
    connect(m_ui.numberEdit, &QLineEdit::textChanged, this, &TMsgForm::numberChanged);
    connect(m_ui.areaCodeEdit, &QLineEdit::textChanged, this, &TMsgForm::numberChanged);
    for (QWidget* field : { static_cast<QWidget*>(m_ui.numberEdit), static_cast<QWidget*>(m_ui.senderEdit),
             static_cast<QWidget*>(m_ui.areaCodeEdit), static_cast<QWidget*>(m_ui.statusLine) })
        field->installEventFilter(this);

    // The area-code menu is also the context menu of the send, area-code and phone book buttons. The
    // area-code button opens it on any press already.
    for (TImgButton* button : { m_ui.sendButton, m_ui.phoneBookButton }) {
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QWidget::customContextMenuRequested, this,
            [this, button](const QPoint& pos) { m_ui.areaMenu->exec(button->mapToGlobal(pos)); });
    }
}

void TMsgForm::createMenus()
{
    m_ui.mainMenu = new QMenu(this);
    m_ui.mainMenu->setObjectName(QStringLiteral("mainMenu"));
    m_ui.mainMenu->setLayoutDirection(interfaceDirection());

    const auto item = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    m_ui.openAction = item(m_ui.mainMenu, "openAction", tr("הודעה חדשה"));
    m_ui.sendLaterAction = item(m_ui.mainMenu, "sendLaterAction", tr("שליחה במועד מאוחר..."));
    m_ui.mainMenu->addSeparator();
    m_ui.phoneBookAction = item(m_ui.mainMenu, "phoneBookAction", tr("ספר טלפונים"));
    m_ui.historyAction = item(m_ui.mainMenu, "historyAction", tr("היסטוריה"));
    m_ui.preferencesAction = item(m_ui.mainMenu, "preferencesAction", tr("הגדרות"));
    m_ui.teachAction = item(m_ui.mainMenu, "teachAction", tr("לימוד ספק חדש..."));
    m_ui.mainMenu->addSeparator();
    m_ui.tellFriendsAction = item(m_ui.mainMenu, "tellFriendsAction", tr("ספר לחברים!"));
    m_ui.homePageAction = item(m_ui.mainMenu, "homePageAction", tr("אתר הבית"));
    QMenu* help = m_ui.mainMenu->addMenu(tr("עזרה"));
    help->setObjectName(QStringLiteral("N5Menu"));
    m_ui.helpMenuAction = help->menuAction();
    m_ui.helpMenuAction->setObjectName(QStringLiteral("helpMenuAction"));
    m_ui.localHelpAction = item(help, "localHelpAction", tr("עזרה מקומית"));
    m_ui.onlineHelpAction = item(help, "onlineHelpAction", tr("עזרה מקוונת"));
    m_ui.onlineHelpAction->setEnabled(false);
    m_ui.demoOperatorsAction = item(help, "demoOperatorsAction", tr("נסו עם מפעילי ההדגמה"));
    m_ui.aboutAction = item(help, "aboutAction", tr("אודות"));
    m_ui.mainMenu->addSeparator();
    m_ui.languagesAction = item(m_ui.mainMenu, "languagesAction", QStringLiteral("Languages"));
    m_ui.mainMenu->addSeparator();
    m_ui.exitAction = item(m_ui.mainMenu, "exitAction", tr("סיום"));

    connect(m_ui.openAction, &QAction::triggered, this, &TMsgForm::toggleShown);
    connect(m_ui.phoneBookAction, &QAction::triggered, this, &TMsgForm::phoneBookClicked);
    connect(m_ui.preferencesAction, &QAction::triggered, this, &TMsgForm::preferencesClicked);
    connect(m_ui.teachAction, &QAction::triggered, this, &TMsgForm::teachClicked);
    connect(m_ui.demoOperatorsAction, &QAction::triggered, this, [this] { m_session->startDemo(); });
    connect(m_ui.sendLaterAction, &QAction::triggered, this, &TMsgForm::sendLaterClicked);
    connect(m_ui.historyAction, &QAction::triggered, this, &TMsgForm::historyClicked);
    connect(m_ui.tellFriendsAction, &QAction::triggered, this, &TMsgForm::tellFriendsClicked);
    connect(m_ui.homePageAction, &QAction::triggered, this, [this] { m_session->openHomePage(); });
    connect(m_ui.localHelpAction, &QAction::triggered, this, &TMsgForm::showHelp);
    connect(m_ui.onlineHelpAction, &QAction::triggered, this, [this] { m_session->openOnlineHelp(); });
    connect(m_ui.aboutAction, &QAction::triggered, this, &TMsgForm::showAbout);
    connect(m_ui.languagesAction, &QAction::triggered, this, &TMsgForm::languagesClicked);
    connect(m_ui.exitAction, &QAction::triggered, this, &TMsgForm::exitClicked);

    // The area codes, drawn in the skin's colours: the selected item in reverse.
    m_ui.areaMenu = new QMenu(this);
    m_ui.areaMenu->setObjectName(QStringLiteral("areaMenu"));
    const QString back = SkinColors::toColor(SkinColors::SkinBackColor).name();
    const QString text = SkinColors::toColor(SkinColors::StatusColorNormal).name();
    m_ui.areaMenu->setStyleSheet(QStringLiteral("QMenu { background: %1; color: %2; border: 1px solid %2;"
                                                  " font-family: Arial; font-weight: bold; font-size: 12px; }"
                                                  "QMenu::item { padding: 2px 12px 2px 6px; }"
                                                  "QMenu::item:selected { background: %2; color: %1; }")
                                       .arg(back, text));
}
