// The main window's description: its components, where they sit on the device picture, their names,
// texts and colours, and the two menus.

#include "TMsgForm.h"

#include "SkinColors.h"
#include "common/InterfaceDirection.h"
#include "sending/SendWorkflow.h"
#include "service/ServiceState.h"
#include "session/ServiceConnection.h"
#include "widgets/Skin.h"
#include "widgets/SkinLayout.h"
#include "widgets/TFormShaper.h"
#include "widgets/THalvernShape.h"
#include "widgets/TImgButton.h"
#include "widgets/TImgLed.h"
#include "widgets/TListLabel.h"
#include "widgets/TTrayIcon.h"

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
    Skin::dressButton(button);
    button->setGeometry(where);
    button->setCursor(Qt::PointingHandCursor);
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

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(SkinLayout::Image1);
    Image1->setScaledContents(true);
    Image1->setPixmap(Skin::background());
    Image1->installEventFilter(this);

    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(SkinLayout::Image2);
    Image2->setScaledContents(true);
    Image2->setPixmap(Skin::defaultBanner());
    Image2->setCursor(Qt::PointingHandCursor);
    Image2->setToolTip(tr("לחץ למידע נוסף..."));
    Image2->installEventFilter(this);

    // Frames first, so that the fields inside them lie above and take the mouse.
    Shape5 = new THalvernShape(this);
    Shape5->setObjectName(QStringLiteral("Shape5"));
    Shape5->setShape(stRectangle);
    Shape5->setPen(QPen(Qt::NoPen));
    Shape5->setBrush(SkinColors::toColor(SkinColors::StatusColorNormal));
    Shape5->setGeometry(SkinLayout::Shape5);
    Shape1 = frame(this, "Shape1", SkinLayout::Edit2);
    HalvernShape1 = frame(this, "HalvernShape1", SkinLayout::ComboBox1);
    HalvernShape2 = frame(this, "HalvernShape2", SkinLayout::Edit1);
    HalvernShape3 = frame(this, "HalvernShape3", SkinLayout::Memo1);

    const QRect column = SkinLayout::LabelColumn;
    Label1 = label(this, "Label1", tr("השולח:"), QRect(column.x(), SkinLayout::Edit2.y(), column.width(), 18));
    Label3 = label(this, "Label3", tr("אל:"), QRect(column.x(), SkinLayout::ToLabel.y(), column.width(), 18));
    Label2 = label(this, "Label2", tr("טלפון:"), QRect(column.x(), SkinLayout::Edit1.y(), column.width(), 18));

    // "ההודעה: (" with the counter to its left, together reading "ההודעה: (105 / 12 תוים)".
    const QRect line = SkinLayout::MessageLabelLine;
    const int captionWidth = QFontMetrics(font()).horizontalAdvance(tr("ההודעה: (")) + 2;
    Label4 = label(
        this, "Label4", tr("ההודעה: ("), QRect(line.right() + 1 - captionWidth, line.y(), captionWidth, line.height()));
    CharCount
        = label(this, "CharCount", QString(), QRect(line.x(), line.y(), line.width() - captionWidth, line.height()));

    Edit2 = lineEdit(this, "Edit2", SkinLayout::Edit2);

    ToLabel = new TListLabel(this);
    ToLabel->setObjectName(QStringLiteral("ToLabel"));
    ToLabel->setGeometry(SkinLayout::ToLabel);
    ToLabel->setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    ToLabel->setListCaption(tr("<רשימת נמענים>"));
    ToLabel->setListColor(SkinColors::toColor(SkinColors::StatusColorSent));
    {
        QPalette palette = ToLabel->palette();
        palette.setColor(QPalette::WindowText, SkinColors::toColor(SkinColors::StatusColorNormal));
        ToLabel->setPalette(palette);
    }

    SpeedButton1 = imageButton(this, "SpeedButton1", SkinLayout::SpeedButton1, tr("ספר טלפונים"));
    ImgButton2 = imageButton(this, "ImgButton2", SkinLayout::ImgButton2);

    ComboBox1 = lineEdit(this, "ComboBox1", SkinLayout::ComboBox1);
    ComboBox1->setText(QStringLiteral("052"));
    ComboBox1->setAlignment(Qt::AlignCenter);
    Edit1 = lineEdit(this, "Edit1", SkinLayout::Edit1);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(SkinLayout::Memo1);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setTabChangesFocus(true);
    {
        // The message is written in the interface's direction from its first character, as the window's
        // other fields.
        QTextOption option = Memo1->document()->defaultTextOption();
        option.setTextDirection(interfaceDirection());
        option.setAlignment(
            (interfaceDirection() == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignAbsolute);
        Memo1->document()->setDefaultTextOption(option);
    }
    paintField(Memo1);
    paintField(Memo1->viewport());

    Panel1 = lineEdit(this, "Panel1", SkinLayout::Panel1);
    Panel1->setReadOnly(true);
    Panel1->setText(tr("פעיל"));

    Button1 = imageButton(this, "Button1", SkinLayout::Button1);
    Led = new TImgLed(this);
    Led->setObjectName(QStringLiteral("Led"));
    Skin::dressLed(Led);
    Led->setGeometry(SkinLayout::Led);
    ImgButton5 = imageButton(this, "ImgButton5", SkinLayout::ImgButton5, tr("תפריט ראשי"));
    ImgButton4 = imageButton(this, "ImgButton4", SkinLayout::ImgButton4, tr("סגירה/ביטול ההודעה"));

    setTabOrder(Edit2, ComboBox1);
    setTabOrder(ComboBox1, Edit1);
    setTabOrder(Edit1, Memo1);
    setTabOrder(Memo1, Panel1);

    createMenus();

    TrayIcon1 = new TTrayIcon(this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    TrayIcon1->setHint(QStringLiteral("Zelkora"));
    TrayIcon1->setTrayMenu(PopupMenu1);
    ImageList1 = { Skin::trayImage(0), Skin::trayImage(1), Skin::trayImage(2) };

    FormShaper96 = new TFormShaper(this);
    FormShaper96->setObjectName(QStringLiteral("FormShaper96"));
    FormShaper96->setFormShape(Skin::formShape(96));
    FormShaper120 = new TFormShaper(this);
    FormShaper120->setObjectName(QStringLiteral("FormShaper120"));
    FormShaper120->setFormShape(Skin::formShape(120));

    // The engine checks the browser at its construction and may end the program there.
    SMSBase = new TSMSBaseForm(this, m_options.makeBrowser);
    SMSBase->setObjectName(QStringLiteral("SMSBase"));

    m_state = std::make_unique<ServiceState>(SMSBase->Providers, SMSBase->AreaDefs);
    Service = new ServiceConnection(*m_state, this, this);
    m_workflow = std::make_unique<SendWorkflow>(*SMSBase, *this);
    Banners = new BannerRotation(*m_state, *Service, *this, this, this);
    BannerTimer = &Banners->BannerTimer;
    Service->setObjectName(QStringLiteral("ServiceConnection"));
    HTTP = &Service->HTTP;
    InitTimer = &Service->InitTimer;
    StatsTimer = &Service->StatsTimer;

    connect(ImgButton4, &TImgButton::clicked, this, &TMsgForm::ImgButton4Click);
    connect(ImgButton5, &TImgButton::clicked, this, &TMsgForm::ImgButton5Click);
    connect(Button1, &TImgButton::clicked, this, &TMsgForm::Button1Click);
    connect(SpeedButton1, &TImgButton::clicked, this, &TMsgForm::SpeedButton1Click);
    connect(ImgButton2, &TImgButton::OnMouseDown, this,
        [this](Qt::MouseButton, const QPoint& pos) { ImgButton2MouseDown(pos); });
    connect(TrayIcon1, &TTrayIcon::OnDblClick, this, &TMsgForm::TrayIcon1DblClick);
    connect(Edit2, &QLineEdit::textChanged, this, &TMsgForm::UpdateCharCount);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TMsgForm::UpdateCharCount);
    connect(Edit1, &QLineEdit::textChanged, this, &TMsgForm::Edit1Change);
    connect(ComboBox1, &QLineEdit::textChanged, this, &TMsgForm::Edit1Change);
    for (QWidget* field : { static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Edit2),
             static_cast<QWidget*>(ComboBox1), static_cast<QWidget*>(Panel1) })
        field->installEventFilter(this);

    // The area-code menu is also the context menu of the send, area-code and phone book buttons. The
    // area-code button opens it on any press already.
    for (TImgButton* button : { Button1, SpeedButton1 }) {
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QWidget::customContextMenuRequested, this,
            [this, button](const QPoint& pos) { PopupMenu2->exec(button->mapToGlobal(pos)); });
    }
}

void TMsgForm::createMenus()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->setLayoutDirection(interfaceDirection());

    const auto item = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    Open1 = item(PopupMenu1, "Open1", tr("הודעה חדשה"));
    PopupMenu1->addSeparator();
    PhoneBook1 = item(PopupMenu1, "PhoneBook1", tr("ספר טלפונים"));
    Preferences1 = item(PopupMenu1, "Preferences1", tr("הגדרות"));
    Teach1 = item(PopupMenu1, "Teach1", tr("לימוד ספק חדש..."));
    PopupMenu1->addSeparator();
    TellFriends1 = item(PopupMenu1, "TellFriends1", tr("ספר לחברים!"));
    HomePage1 = item(PopupMenu1, "HomePage1", tr("אתר הבית"));
    QMenu* help = PopupMenu1->addMenu(tr("עזרה"));
    help->setObjectName(QStringLiteral("N5Menu"));
    N5 = help->menuAction();
    N5->setObjectName(QStringLiteral("N5"));
    N6 = item(help, "N6", tr("עזרה מקומית"));
    OnlineHelpMenu = item(help, "OnlineHelpMenu", tr("עזרה מקוונת"));
    OnlineHelpMenu->setEnabled(false);
    N4 = item(help, "N4", tr("אודות"));
    PopupMenu1->addSeparator();
    Languages = item(PopupMenu1, "Languages", QStringLiteral("Languages"));
    PopupMenu1->addSeparator();
    Stop1 = item(PopupMenu1, "Stop1", tr("סיום"));

    connect(Open1, &QAction::triggered, this, &TMsgForm::Open1Click);
    connect(PhoneBook1, &QAction::triggered, this, &TMsgForm::SpeedButton1Click);
    connect(Preferences1, &QAction::triggered, this, &TMsgForm::Preferences1Click);
    connect(Teach1, &QAction::triggered, this, &TMsgForm::Teach1Click);
    connect(TellFriends1, &QAction::triggered, this, &TMsgForm::TellFriends1Click);
    connect(HomePage1, &QAction::triggered, this, [this] { Service->HomePage1Click(); });
    connect(N6, &QAction::triggered, this, &TMsgForm::N6Click);
    connect(OnlineHelpMenu, &QAction::triggered, this, [this] { Service->OnlineHelpMenuClick(); });
    connect(N4, &QAction::triggered, this, &TMsgForm::N4Click);
    connect(Languages, &QAction::triggered, this, &TMsgForm::LanguagesClick);
    connect(Stop1, &QAction::triggered, this, &TMsgForm::Stop1Click);

    // The area codes, drawn in the skin's colours: the selected item in reverse.
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    const QString back = SkinColors::toColor(SkinColors::SkinBackColor).name();
    const QString text = SkinColors::toColor(SkinColors::StatusColorNormal).name();
    PopupMenu2->setStyleSheet(QStringLiteral("QMenu { background: %1; color: %2; border: 1px solid %2;"
                                             " font-family: Arial; font-weight: bold; font-size: 12px; }"
                                             "QMenu::item { padding: 2px 12px 2px 6px; }"
                                             "QMenu::item:selected { background: %2; color: %1; }")
                                  .arg(back, text));
}
