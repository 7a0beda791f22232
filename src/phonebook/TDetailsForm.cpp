#include "TDetailsForm.h"

#include "common/InterfaceDirection.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
QLabel* boldLabel(const QString& text, const char* name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}
} // namespace

TDetailsForm::TDetailsForm(const QStringList& areaCodes, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("DetailsForm"));
    setWindowTitle(tr("עדכון פרטי נמען"));
    setLayoutDirection(interfaceDirection());

    Label1 = boldLabel(tr("שם מלא:"), "Label1", this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label2 = boldLabel(tr("איזור חיוג:"), "Label2", this);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    // A typed code is used as typed; it does not join the list.
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->addItems(areaCodes);
    ComboBox1->setCurrentIndex(-1);
    Label3 = boldLabel(tr("מס' טלפון:"), "Label3", this);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Label4 = boldLabel(tr("מספר לא מוכר:"), "Label4", this);
    Label5 = boldLabel(QString(), "Label5", this);
    // The number comes from Outlook: shown as it is, never read as markup.
    Label5->setTextFormat(Qt::PlainText);
    QPalette red = Label5->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label5->setPalette(red);
    Label4->hide();
    Label5->hide();

    Button1 = new QPushButton(tr("&אשר"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    Button2 = new QPushButton(tr("&בטל"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    // Right to left: the captions stand in the right-hand column.
    auto* fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(ComboBox1, 1, 1);
    fields->addWidget(Label3, 2, 0);
    fields->addWidget(Edit2, 2, 1);
    fields->addWidget(Label4, 3, 0);
    fields->addWidget(Label5, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    Edit1->setMinimumWidth(150);
    setFixedSize(sizeHint());
}

TDetailsForm::~TDetailsForm() = default;

void TDetailsForm::showUnknownNumber(const QString& number)
{
    Label5->setText(number);
    Label4->show();
    Label5->show();
    // A fixed border: the dialog takes the size of its contents again, now with the extra line.
    layout()->activate();
    setFixedSize(sizeHint());
}
