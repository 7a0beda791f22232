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
constexpr int VersionCaptionLeft = 145;
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

    logoImage = new QLabel(this);
    logoImage->setObjectName(QStringLiteral("logoImage"));
    logoImage->setScaledContents(true);
    logoImage->setPixmap(Skin::aboutLogo());

    versionCaption = new QLabel(tr("גרסה: "), this);
    versionCaption->setObjectName(QStringLiteral("versionCaption"));

    versionLabel = new QLabel(this);
    versionLabel->setObjectName(QStringLiteral("versionLabel"));
    QFont bold = versionLabel->font();
    bold.setBold(true);
    versionLabel->setFont(bold);
    QPalette navy = versionLabel->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    versionLabel->setPalette(navy);

    copyrightLine = new QLabel(tr("© כל הזכויות שמורות"), this);
    copyrightLine->setObjectName(QStringLiteral("copyrightLine"));
    programLine = new QLabel(QStringLiteral("Zelkora"), this);
    programLine->setObjectName(QStringLiteral("programLine"));

    closeButton = new QPushButton(tr("&סגור"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setDefault(true);
    // Escape closes a dialog already; the button closes it the same way.
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    showVersion();

    // The places are the design's, counted from the left; the box only grows where a font needs more room.
    logoImage->setGeometry(LogoRect);
    versionCaption->adjustSize();
    versionCaption->move(VersionCaptionLeft, TextTop);
    versionLabel->adjustSize();
    versionLabel->move(VersionCaptionLeft - versionLabel->width(), TextTop);
    copyrightLine->adjustSize();
    copyrightLine->move((ClientWidth - copyrightLine->width()) / 2, CopyrightTop);
    programLine->adjustSize();
    programLine->move((ClientWidth - programLine->width()) / 2, copyrightLine->geometry().bottom() + 3);
    closeButton->setGeometry(ButtonRect);
    const int width = std::max(ClientWidth, versionCaption->geometry().right() + 1);
    const int height = std::max(ClientHeight, programLine->geometry().bottom() + ButtonRect.height() + 8);
    if (height > ClientHeight)
        closeButton->move(ButtonRect.left(), height - ButtonRect.height() - 4);
    setFixedSize(width, height);
}

QString TAboutForm::versionText(double version)
{
    return QString::number(version, 'g', QLocale::FloatingPointShortest);
}

void TAboutForm::showVersion()
{
    versionLabel->setText(versionText(AppVersion));
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
