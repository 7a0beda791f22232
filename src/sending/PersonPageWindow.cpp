#include "PersonPageWindow.h"

#include "common/InterfaceDirection.h"
#include "engine/TSMSBaseForm.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

PersonPageWindow::PersonPageWindow(const QString& provider, IWebBrowser* browser, QWidget* owner)
    : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("PersonPageWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setLayoutDirection(interfaceDirection());
    setWindowTitle(provider);

    auto* layout = new QVBoxLayout(this);
    m_guide = new QLabel(guideText(), this);
    m_guide->setObjectName(QStringLiteral("Guide"));
    m_guide->setWordWrap(true);
    layout->addWidget(m_guide);
    m_view = browser ? browser->pageView(this) : nullptr;
    if (m_view) {
        m_view->setObjectName(QStringLiteral("Page"));
        layout->addWidget(m_view, 1);
    } else {
        layout->addStretch(1);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_cancel = new QPushButton(cancelCaption(), this);
    m_cancel->setObjectName(QStringLiteral("Cancel"));
    m_cancel->setAutoDefault(false);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);

    // Room for an ordinary site's page, never more than the screen.
    QSize size(820, 640);
    if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    resize(size);
}

QString PersonPageWindow::guideText()
{
    return tr("אתר המפעיל זקוק לך: ענה לו כאן; השליחה תימשך כשדף ההודעה ייפתח");
}

QString PersonPageWindow::cancelCaption()
{
    return tr("&בטל");
}

void PersonPageWindow::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    hide();
    deleteLater();
}

void PersonPageWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (m_finished)
        return;
    m_finished = true;
    emit cancelled();
}

PersonPages::PersonPages(TSMSBaseForm& engine, QWidget* owner)
    : QObject(owner)
    , m_engine(engine)
    , m_owner(owner)
{
    m_engine.PersonCanAnswer = true;
    connect(&m_engine, &TSMSBaseForm::personNeeded, this, [this](const QString& provider) { show(provider); });
    connect(&m_engine, &TSMSBaseForm::personDone, this, &PersonPages::close);
}

PersonPages::~PersonPages()
{
    m_engine.PersonCanAnswer = false;
    // No one is left to answer: a wait under way ends as if the person had cancelled.
    if (m_engine.waitingForPerson())
        m_engine.PersonCancelled();
    close();
}

void PersonPages::show(const QString& provider)
{
    close();
    // The engine worker shows its own page, in a window of its own.
    if (m_engine.worker())
        return;
    m_window = new PersonPageWindow(provider, m_engine.WebBrowser1(), m_owner);
    connect(m_window, &PersonPageWindow::cancelled, this, [this] { m_engine.PersonCancelled(); });
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    if (QWidget* page = m_window->pageView())
        page->setFocus(Qt::OtherFocusReason);
    emit shown(m_window);
}

void PersonPages::close()
{
    if (m_window)
        m_window->finish();
    m_window = nullptr;
}
