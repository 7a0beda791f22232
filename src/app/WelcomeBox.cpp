#include "WelcomeBox.h"

#include "common/InterfaceDirection.h"

#include <QCommandLinkButton>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

WelcomeBox::WelcomeBox(QWidget* owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("WelcomeBox"));
    setWindowTitle(tr("ברוכים הבאים ל-Zelkora"));
    setLayoutDirection(interfaceDirection());
    // Its own window: closing it ends the box, never the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    Intro = new QLabel(tr("התוכנה שולחת מסרונים דרך אתרי המפעילים, אבל עדיין אינה מכירה אף מפעיל. איך להתחיל?"), this);
    Intro->setObjectName(QStringLiteral("Intro"));
    Intro->setWordWrap(true);
    Intro->setTextFormat(Qt::PlainText);

    const auto makeChoice = [this](const char* name, const QString& text, const QString& description, Choice choice) {
        auto* button = new QCommandLinkButton(text, description, this);
        button->setObjectName(QLatin1String(name));
        connect(button, &QCommandLinkButton::clicked, this, [this, choice] { choose(choice); });
        return button;
    };
    TeachButton = makeChoice("TeachButton", tr("ללמד את התוכנה מפעיל"),
        tr("להראות לתוכנה פעם אחת איך שולחים הודעה באתר המפעיל שלך."), Choice::Teach);
    ServiceButton = makeChoice("ServiceButton", tr("להזין כתובת שירות"),
        tr("כתובת שירות ההגדרות שקיבלת, בהגדרות התוכנה."), Choice::ServiceAddress);
    DemoButton = makeChoice("DemoButton", tr("לנסות עם מפעילי ההדגמה"),
        tr("מפעילים מדומים על המחשב הזה בלבד: שום הודעה לא יוצאת מהמחשב. קשר (054) אינו דורש כניסה."), Choice::Demo);

    CloseButton = new QPushButton(tr("סגירה"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Intro);
    layout->addWidget(TeachButton);
    layout->addWidget(ServiceButton);
    layout->addWidget(DemoButton);
    layout->addLayout(buttons);
    setMinimumWidth(360);
    DemoButton->setFocus();
}

void WelcomeBox::choose(Choice choice)
{
    m_choice = choice;
    accept();
}

void WelcomeBox::done(int result)
{
    QDialog::done(result);
    if (m_closed)
        return;
    m_closed = true;
    emit closedWith(m_choice);
}
