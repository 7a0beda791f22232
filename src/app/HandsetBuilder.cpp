// The main window's description: its components, where they sit on the device picture, their names,
// texts and colours, and the two menus.

#include "HandsetBuilder.h"

#include "TMsgForm.h"

#include "common/InterfaceDirection.h"
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

// The main menu, also the tray's, and the area-code menu.
void createMenus(QWidget& window, MsgFormUi& ui)
{
    ui.mainMenu = new QMenu(&window);
    ui.mainMenu->setObjectName(QStringLiteral("mainMenu"));
    ui.mainMenu->setLayoutDirection(interfaceDirection());

    const auto item = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    ui.openAction = item(ui.mainMenu, "openAction", TMsgForm::tr("הודעה חדשה"));
    ui.sendLaterAction = item(ui.mainMenu, "sendLaterAction", TMsgForm::tr("שליחה במועד מאוחר..."));
    ui.mainMenu->addSeparator();
    ui.phoneBookAction = item(ui.mainMenu, "phoneBookAction", TMsgForm::tr("ספר טלפונים"));
    ui.historyAction = item(ui.mainMenu, "historyAction", TMsgForm::tr("היסטוריה"));
    ui.preferencesAction = item(ui.mainMenu, "preferencesAction", TMsgForm::tr("הגדרות"));
    ui.teachAction = item(ui.mainMenu, "teachAction", TMsgForm::tr("לימוד ספק חדש..."));
    ui.mainMenu->addSeparator();
    ui.tellFriendsAction = item(ui.mainMenu, "tellFriendsAction", TMsgForm::tr("ספר לחברים!"));
    ui.homePageAction = item(ui.mainMenu, "homePageAction", TMsgForm::tr("אתר הבית"));
    QMenu* help = ui.mainMenu->addMenu(TMsgForm::tr("עזרה"));
    help->setObjectName(QStringLiteral("helpMenu"));
    ui.helpMenuAction = help->menuAction();
    ui.helpMenuAction->setObjectName(QStringLiteral("helpMenuAction"));
    ui.localHelpAction = item(help, "localHelpAction", TMsgForm::tr("עזרה מקומית"));
    ui.onlineHelpAction = item(help, "onlineHelpAction", TMsgForm::tr("עזרה מקוונת"));
    ui.onlineHelpAction->setEnabled(false);
    ui.demoOperatorsAction = item(help, "demoOperatorsAction", TMsgForm::tr("נסו עם מפעילי ההדגמה"));
    ui.aboutAction = item(help, "aboutAction", TMsgForm::tr("אודות"));
    ui.mainMenu->addSeparator();
    ui.languagesAction = item(ui.mainMenu, "languagesAction", QStringLiteral("Languages"));
    ui.mainMenu->addSeparator();
    ui.exitAction = item(ui.mainMenu, "exitAction", TMsgForm::tr("סיום"));

    // The area codes, drawn in the skin's colours: the selected item in reverse.
    ui.areaMenu = new QMenu(&window);
    ui.areaMenu->setObjectName(QStringLiteral("areaMenu"));
    const QString back = SkinColors::toColor(SkinColors::SkinBackColor).name();
    const QString text = SkinColors::toColor(SkinColors::StatusColorNormal).name();
    ui.areaMenu->setStyleSheet(QStringLiteral("QMenu { background: %1; color: %2; border: 1px solid %2;"
                                                  " font-family: Arial; font-weight: bold; font-size: 12px; }"
                                                  "QMenu::item { padding: 2px 12px 2px 6px; }"
                                                  "QMenu::item:selected { background: %2; color: %1; }")
                                       .arg(back, text));
}
} // namespace

MsgFormUi HandsetBuilder::build(QWidget& window)
{
    MsgFormUi ui;
    window.setObjectName(QStringLiteral("MsgForm"));
    window.setWindowTitle(QStringLiteral("Zelkora"));
    window.setLayoutDirection(interfaceDirection());
    window.setAttribute(Qt::WA_QuitOnClose, false);
    // Before the components, which take it over as they are made.
    window.setFont(skinFont());
    window.resize(SkinLayout::DevicePicture.size());

    ui.devicePicture = new QLabel(&window);
    ui.devicePicture->setObjectName(QStringLiteral("devicePicture"));
    ui.devicePicture->setGeometry(SkinLayout::DevicePicture);
    ui.devicePicture->setScaledContents(true);

    ui.bannerImage = new QLabel(&window);
    ui.bannerImage->setObjectName(QStringLiteral("bannerImage"));
    ui.bannerImage->setGeometry(SkinLayout::BannerImage);
    ui.bannerImage->setScaledContents(true);
    ui.bannerImage->setPixmap(Skin::defaultBanner(window.devicePixelRatioF()));
    ui.bannerImage->setCursor(Qt::PointingHandCursor);
    ui.bannerImage->setToolTip(TMsgForm::tr("לחץ למידע נוסף..."));

    // Frames first, so that the fields inside them lie above and take the mouse.
    ui.separatorLine = new THalvernShape(&window);
    ui.separatorLine->setObjectName(QStringLiteral("separatorLine"));
    ui.separatorLine->setShape(stRectangle);
    ui.separatorLine->setPen(QPen(Qt::NoPen));
    ui.separatorLine->setBrush(SkinColors::toColor(SkinColors::StatusColorNormal));
    ui.separatorLine->setGeometry(SkinLayout::SeparatorLine);
    ui.senderFrame = frame(&window, "senderFrame", SkinLayout::SenderEdit);
    ui.areaCodeFrame = frame(&window, "areaCodeFrame", SkinLayout::AreaCodeEdit);
    ui.numberFrame = frame(&window, "numberFrame", SkinLayout::NumberEdit);
    ui.messageFrame = frame(&window, "messageFrame", SkinLayout::MessageEdit);

    const QRect column = SkinLayout::LabelColumn;
    ui.senderLabel = label(&window, "senderLabel", TMsgForm::tr("השולח:"), QRect(column.x(), SkinLayout::SenderEdit.y(), column.width(), 18));
    ui.recipientCaption = label(&window, "recipientCaption", TMsgForm::tr("אל:"), QRect(column.x(), SkinLayout::RecipientLabel.y(), column.width(), 18));
    ui.numberLabel = label(&window, "numberLabel", TMsgForm::tr("טלפון:"), QRect(column.x(), SkinLayout::NumberEdit.y(), column.width(), 18));

    // "ההודעה: (" with the counter to its left, together reading "ההודעה: (105 / 12 תוים)".
    const QRect line = SkinLayout::MessageLabelLine;
    const int captionWidth = QFontMetrics(window.font()).horizontalAdvance(TMsgForm::tr("ההודעה: (")) + 2;
    ui.messageLabel = label(
        &window, "messageLabel", TMsgForm::tr("ההודעה: ("), QRect(line.right() + 1 - captionWidth, line.y(), captionWidth, line.height()));
    ui.counterLabel
        = label(&window, "counterLabel", QString(), QRect(line.x(), line.y(), line.width() - captionWidth, line.height()));
    // A left-to-right language would put the counter before its caption: the counter's label takes the whole
    // line and the caption with it.
    if (window.layoutDirection() == Qt::LeftToRight) {
        ui.messageLabel->hide();
        ui.counterLabel->setGeometry(line);
        ui.counterLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }

    ui.senderEdit = lineEdit(&window, "senderEdit", SkinLayout::SenderEdit);

    ui.recipientLabel = new TListLabel(&window);
    ui.recipientLabel->setObjectName(QStringLiteral("recipientLabel"));
    ui.recipientLabel->setGeometry(SkinLayout::RecipientLabel);
    ui.recipientLabel->setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    ui.recipientLabel->setListCaption(TMsgForm::tr("<רשימת נמענים>"));
    ui.recipientLabel->setListColor(SkinColors::toColor(SkinColors::StatusColorSent));
    {
        QPalette palette = ui.recipientLabel->palette();
        palette.setColor(QPalette::WindowText, SkinColors::toColor(SkinColors::StatusColorNormal));
        ui.recipientLabel->setPalette(palette);
    }

    ui.phoneBookButton = imageButton(&window, "phoneBookButton", SkinLayout::PhoneBookButton, TMsgForm::tr("ספר טלפונים"));
    ui.areaMenuButton = imageButton(&window, "areaMenuButton", SkinLayout::AreaMenuButton);

    ui.areaCodeEdit = lineEdit(&window, "areaCodeEdit", SkinLayout::AreaCodeEdit);
    ui.areaCodeEdit->setText(QStringLiteral("052"));
    ui.areaCodeEdit->setAlignment(Qt::AlignCenter);
    ui.numberEdit = lineEdit(&window, "numberEdit", SkinLayout::NumberEdit);

    ui.messageEdit = new QPlainTextEdit(&window);
    ui.messageEdit->setObjectName(QStringLiteral("messageEdit"));
    ui.messageEdit->setGeometry(SkinLayout::MessageEdit);
    ui.messageEdit->setFrameShape(QFrame::NoFrame);
    ui.messageEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui.messageEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui.messageEdit->setTabChangesFocus(true);
    {
        // The message is written in the interface's direction from its first character, as the window's
        // other fields.
        QTextOption option = ui.messageEdit->document()->defaultTextOption();
        option.setTextDirection(interfaceDirection());
        option.setAlignment(
            (interfaceDirection() == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignAbsolute);
        ui.messageEdit->document()->setDefaultTextOption(option);
    }
    paintField(ui.messageEdit);
    paintField(ui.messageEdit->viewport());

    ui.statusLine = lineEdit(&window, "statusLine", SkinLayout::StatusLine);
    ui.statusLine->setReadOnly(true);
    // A status longer than the line moves through it, so that all of it can be read.
    new TextScroller(ui.statusLine);
    ui.statusLine->setText(TMsgForm::tr("פעיל"));

    ui.sendButton = imageButton(&window, "sendButton", SkinLayout::SendButton);
    ui.connectionLamp = new TImgLed(&window);
    ui.connectionLamp->setObjectName(QStringLiteral("connectionLamp"));
    Skin::dressLed(ui.connectionLamp, window.devicePixelRatioF());
    ui.connectionLamp->setGeometry(SkinLayout::ConnectionLamp);
    ui.menuButton = imageButton(&window, "menuButton", SkinLayout::MenuButton, TMsgForm::tr("תפריט ראשי"));
    ui.closeButton = imageButton(&window, "closeButton", SkinLayout::CloseButton, TMsgForm::tr("סגירה/ביטול ההודעה"));

    // The skin's places are a right-to-left reading's: in a left-to-right language the labels, fields and
    // buttons take the mirrored places (the device's picture, which is symmetric, stays as it is).
    // The mirror's axis is the middle of the device's screen. A number reads left to right in both, so its row
    // (the area code's menu, the area code, the number) moves as a whole and keeps its order.
    if (window.layoutDirection() == Qt::LeftToRight) {
        const int axis2 = 2 * SkinLayout::MessageEdit.x() + SkinLayout::MessageEdit.width();
        const QList<QWidget*> numberRow { ui.areaMenuButton, ui.areaCodeEdit, ui.areaCodeFrame, ui.numberEdit,
            ui.numberFrame };
        QRect row;
        for (const QWidget* widget : numberRow)
            row |= widget->geometry();
        const int rowShift = axis2 - 2 * row.x() - row.width();
        for (QWidget* child : window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child == ui.devicePicture || child->isWindow())
                continue;
            const QRect place = child->geometry();
            if (numberRow.contains(child))
                child->move(place.x() + rowShift, place.y());
            else
                child->move(axis2 - place.x() - place.width(), place.y());
        }
    }

    createMenus(window, ui);

    ui.trayIcon = new TTrayIcon(&window);
    ui.trayIcon->setObjectName(QStringLiteral("trayIcon"));
    ui.trayIcon->setHint(QStringLiteral("Zelkora"));
    ui.trayIcon->setTrayMenu(ui.mainMenu);
    ui.trayImages = { Skin::trayImage(0), Skin::trayImage(1), Skin::trayImage(2) };

    ui.shaper96 = new TFormShaper(&window);
    ui.shaper96->setObjectName(QStringLiteral("shaper96"));
    ui.shaper96->setFormShape(Skin::formShape(96));
    ui.shaper120 = new TFormShaper(&window);
    ui.shaper120->setObjectName(QStringLiteral("shaper120"));
    ui.shaper120->setFormShape(Skin::formShape(120));

    // The area-code menu is also the context menu of the send and phone book buttons (the area-code button
    // opens it on any press already).
    for (TImgButton* button : { ui.sendButton, ui.phoneBookButton }) {
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(button, &QWidget::customContextMenuRequested, button,
            [menu = ui.areaMenu, button](const QPoint& pos) { menu->exec(button->mapToGlobal(pos)); });
    }
    return ui;
}
