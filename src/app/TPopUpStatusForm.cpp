#include "TPopUpStatusForm.h"
#include "common/InterfaceDirection.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>

namespace {
constexpr int ClientWidth = 394;
constexpr int DesignMemoHeight = 217;
constexpr int PanelHeight = 40;
} // namespace

TPopUpStatusForm::TPopUpStatusForm(QWidget* owner)
    : QWidget(owner,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("PopUpStatusForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(tr("מצב שליחה"));
    setLayoutDirection(interfaceDirection());

    statusText = new QPlainTextEdit(this);
    statusText->setObjectName(QStringLiteral("statusText"));
    statusText->setReadOnly(true);
    statusText->setAccessibleName(tr("מצב השליחה לכל נמען"));
    statusText->setLineWrapMode(QPlainTextEdit::NoWrap);
    statusText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    statusText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    buttonPanel = new QWidget(this);
    buttonPanel->setObjectName(QStringLiteral("buttonPanel"));

    closeButton = new QPushButton(cancelCaption(), buttonPanel);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setGeometry(16, 8, 120, 25);
    closeButton->setAutoDefault(false);
    connect(closeButton, &QPushButton::clicked, this, &TPopUpStatusForm::closeClicked);
    retryButton = new QPushButton(tr("שלח שוב למי שלא קיבל"), buttonPanel);
    retryButton->setObjectName(QStringLiteral("retryButton"));
    retryButton->setGeometry(ClientWidth - 16 - 200, 8, 200, 25);
    retryButton->setAutoDefault(false);
    retryButton->hide();
    connect(retryButton, &QPushButton::clicked, this, [this] {
        emit retryPressed();
        close();
    });
    // The cancel button of the window.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, closeButton, &QPushButton::click);

    setMemoHeight(DesignMemoHeight);
}

TPopUpStatusForm::~TPopUpStatusForm() = default;

QString TPopUpStatusForm::cancelCaption()
{
    return tr("&עצור את השליחה");
}

QString TPopUpStatusForm::closeCaption()
{
    return tr("&סגור");
}

void TPopUpStatusForm::setMemoHeight(int height)
{
    statusText->setGeometry(0, 0, ClientWidth, height);
    buttonPanel->setGeometry(0, height, ClientWidth, PanelHeight);
    setFixedSize(ClientWidth, height + PanelHeight);
}

void TPopUpStatusForm::setLine(int index, const QString& text, bool warning)
{
    const QTextBlock block = statusText->document()->findBlockByNumber(index);
    if (index < 0 || !block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    if (warning) {
        // Amber, as warnings are: neither a success nor a failure.
        format.setBackground(QColor(0xFF, 0xD5, 0x80));
        format.setForeground(QColor(0x3E, 0x27, 0x00));
    }
    cursor.insertText(text, format);
}

QString TPopUpStatusForm::line(int index) const
{
    const QTextBlock block = statusText->document()->findBlockByNumber(index);
    return block.isValid() ? block.text() : QString();
}

void TPopUpStatusForm::setText(const QString& text)
{
    statusText->setPlainText(text);
}

QString TPopUpStatusForm::text() const
{
    return statusText->toPlainText();
}

void TPopUpStatusForm::addLine(const QString& text)
{
    if (statusText->document()->isEmpty())
        statusText->setPlainText(text);
    else
        statusText->appendPlainText(text);
}

void TPopUpStatusForm::setCancelButton(bool cancels)
{
    m_cancels = cancels;
    closeButton->setText(cancels ? cancelCaption() : closeCaption());
}

void TPopUpStatusForm::offerRetry(bool offered)
{
    retryButton->setVisible(offered);
}

void TPopUpStatusForm::closeClicked()
{
    // While a list is sent the button stops it, and asks nothing; after, it closes the window, and what the
    // window's owner asks then is asked.
    if (!m_cancels)
        emit buttonPressed();
    close();
}

void TPopUpStatusForm::closeEvent(QCloseEvent* event)
{
    emit closed(this, m_cancels);
    event->accept();
}
