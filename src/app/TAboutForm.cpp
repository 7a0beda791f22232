#include "TAboutForm.h"

#include "common/InterfaceDirection.h"
#include "service/ServiceRequests.h"
#include "widgets/Skin.h"

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QLocale>
#include <QPalette>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {
// The box's client area and the places of its parts, in pixels.
constexpr int ClientWidth = 197;
constexpr int ClientHeight = 145;
const QRect LogoRect(-1, 5, 195, 56);
constexpr int TextTop = 64;
constexpr int Label1Left = 145;
constexpr int CopyrightTop = 84;
const QRect ButtonRect(8, 120, 57, 21);
} // namespace

TAboutForm::TAboutForm(QWidget* owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(tr("אודות"));
    setLayoutDirection(interfaceDirection());
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setScaledContents(true);
    Image2->setPixmap(Skin::aboutLogo());

    Label1 = new QLabel(tr("גרסה: "), this);
    Label1->setObjectName(QStringLiteral("Label1"));

    Version = new QLabel(this);
    Version->setObjectName(QStringLiteral("Version"));
    QFont bold = Version->font();
    bold.setBold(true);
    Version->setFont(bold);
    QPalette navy = Version->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    Version->setPalette(navy);

    Label2 = new QLabel(tr("© כל הזכויות שמורות"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(QStringLiteral("Zelkora"), this);
    Label3->setObjectName(QStringLiteral("Label3"));

    Button1 = new QPushButton(tr("&סגור"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    // Escape closes a dialog already; the button closes it the same way.
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);

    FormCreate();

    // The places are the design's, counted from the left; the box only grows where a font needs more room.
    Image2->setGeometry(LogoRect);
    Label1->adjustSize();
    Label1->move(Label1Left, TextTop);
    Version->adjustSize();
    Version->move(Label1Left - Version->width(), TextTop);
    Label2->adjustSize();
    Label2->move((ClientWidth - Label2->width()) / 2, CopyrightTop);
    Label3->adjustSize();
    Label3->move((ClientWidth - Label3->width()) / 2, Label2->geometry().bottom() + 3);
    Button1->setGeometry(ButtonRect);
    const int width = std::max(ClientWidth, Label1->geometry().right() + 1);
    const int height = std::max(ClientHeight, Label3->geometry().bottom() + ButtonRect.height() + 8);
    if (height > ClientHeight)
        Button1->move(ButtonRect.left(), height - ButtonRect.height() - 4);
    setFixedSize(width, height);
}

QString TAboutForm::versionText(double version)
{
    return QString::number(version, 'g', QLocale::FloatingPointShortest);
}

void TAboutForm::FormCreate()
{
    Version->setText(versionText(AppVersion));
}

void TAboutForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    // On the owner's centre (hidden in the notification area, it keeps its place), kept on its screen.
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* screen = owner ? owner->screen() : this->screen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(owner ? owner->frameGeometry().center() : room.center());
    frame.moveLeft(std::max(room.left(), std::min(frame.left(), room.right() + 1 - frame.width())));
    frame.moveTop(std::max(room.top(), std::min(frame.top(), room.bottom() + 1 - frame.height())));
    move(frame.topLeft());
}
