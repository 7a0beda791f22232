#include "HelpViewer.h"

#include "common/InterfaceDirection.h"
#include "widgets/TURLLabel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextOption>
#include <QUrl>
#include <QVBoxLayout>

namespace {
// A help file is a few pages of text; anything much larger is not one.
constexpr qint64 MaxHelpFileSize = qint64(4) * 1024 * 1024;
} // namespace

HelpViewer::HelpViewer(UrlOpener opener, QWidget* parent)
    : QDialog(parent)
    , m_opener(std::move(opener))
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(tr("עזרה"));
    setLayoutDirection(interfaceDirection());
    setModal(false);

    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    // Links are followed here, never by the browser itself: it would load any local file it is pointed at.
    Browser->setOpenLinks(false);
    Browser->setOpenExternalLinks(false);
    // The guide is written in Hebrew: every paragraph and list reads right to left, whatever the
    // interface's direction and whether or not the file says so for each.
    QTextOption direction = Browser->document()->defaultTextOption();
    direction.setTextDirection(Qt::RightToLeft);
    Browser->document()->setDefaultTextOption(direction);
    connect(Browser, &QTextBrowser::anchorClicked, this, &HelpViewer::followLink);

    ContentsButton = new QPushButton(tr("&תוכן העניינים"), this);
    ContentsButton->setObjectName(QStringLiteral("ContentsButton"));
    ContentsButton->setAutoDefault(false);
    connect(ContentsButton, &QPushButton::clicked, this, &HelpViewer::showContents);
    CloseButton = new QPushButton(tr("&סגור"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setAutoDefault(false);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ContentsButton);
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Browser);
    layout->addLayout(buttons);
    // A column of text as tall as the screen allows, less the frame and title bar.
    QSize size(560, 640);
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
    resize(size);
}

bool HelpViewer::setFile(const QString& path, QString* error)
{
    const auto fail = [&](const QString& text) {
        if (error)
            *error = text.arg(QDir::toNativeSeparators(path));
        return false;
    };
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || !info.isFile())
        return fail(tr("קובץ העזרה %1 לא נמצא."));
    QFile file(path);
    if (info.size() > MaxHelpFileSize || !file.open(QIODevice::ReadOnly))
        return fail(tr("לא ניתן לקרוא את קובץ העזרה %1."));
    const QString html = QString::fromUtf8(file.readAll());

    // Pictures the file names by a relative path are looked for beside it.
    Browser->setSearchPaths({ info.absolutePath() });
    Browser->setHtml(html);
    const QString title = Browser->documentTitle();
    // The guide's own title is Hebrew: in another interface language the window says "Help" in that one.
    const QString help = tr("עזרה");
    setWindowTitle(title.isEmpty() || help != QStringLiteral("עזרה") ? help : title);
    showContents();
    return true;
}

void HelpViewer::followLink(const QUrl& url)
{
    // A link within the file: "#name", or "#" for its top.
    if (url.isRelative() && url.path().isEmpty() && url.hasFragment()) {
        if (url.fragment().isEmpty())
            showContents();
        else
            Browser->scrollToAnchor(url.fragment());
        return;
    }
    if (TURLLabel::isOpenable(url) && m_opener)
        m_opener(url);
}

void HelpViewer::showContents()
{
    Browser->verticalScrollBar()->setValue(0);
}
