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

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setAccessibleName(tr("מצב השליחה לכל נמען"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));

    Button1 = new QPushButton(cancelCaption(), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(16, 8, 120, 25);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TPopUpStatusForm::Button1Click);
    RetryButton = new QPushButton(tr("שלח שוב למי שלא קיבל"), Panel1);
    RetryButton->setObjectName(QStringLiteral("RetryButton"));
    RetryButton->setGeometry(ClientWidth - 16 - 200, 8, 200, 25);
    RetryButton->setAutoDefault(false);
    RetryButton->hide();
    connect(RetryButton, &QPushButton::clicked, this, [this] {
        emit retryPressed();
        close();
    });
    // The cancel button of the window.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, Button1, &QPushButton::click);

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
    Memo1->setGeometry(0, 0, ClientWidth, height);
    Panel1->setGeometry(0, height, ClientWidth, PanelHeight);
    setFixedSize(ClientWidth, height + PanelHeight);
}

void TPopUpStatusForm::setLine(int index, const QString& text, bool warning)
{
    const QTextBlock block = Memo1->document()->findBlockByNumber(index);
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
    const QTextBlock block = Memo1->document()->findBlockByNumber(index);
    return block.isValid() ? block.text() : QString();
}

void TPopUpStatusForm::setText(const QString& text)
{
    Memo1->setPlainText(text);
}

QString TPopUpStatusForm::text() const
{
    return Memo1->toPlainText();
}

void TPopUpStatusForm::addLine(const QString& text)
{
    if (Memo1->document()->isEmpty())
        Memo1->setPlainText(text);
    else
        Memo1->appendPlainText(text);
}

void TPopUpStatusForm::setCancelButton(bool cancels)
{
    m_cancels = cancels;
    Button1->setText(cancels ? cancelCaption() : closeCaption());
}

void TPopUpStatusForm::offerRetry(bool offered)
{
    RetryButton->setVisible(offered);
}

void TPopUpStatusForm::Button1Click()
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
