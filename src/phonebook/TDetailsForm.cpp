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

    nameLabel = boldLabel(tr("שם מלא:"), "nameLabel", this);
    nameEdit = new QLineEdit(this);
    nameEdit->setObjectName(QStringLiteral("nameEdit"));
    areaCodeLabel = boldLabel(tr("איזור חיוג:"), "areaCodeLabel", this);
    areaCodeBox = new QComboBox(this);
    areaCodeBox->setObjectName(QStringLiteral("areaCodeBox"));
    areaCodeBox->setEditable(true);
    // A typed code is used as typed; it does not join the list.
    areaCodeBox->setInsertPolicy(QComboBox::NoInsert);
    areaCodeBox->addItems(areaCodes);
    areaCodeBox->setCurrentIndex(-1);
    numberLabel = boldLabel(tr("מס' טלפון:"), "numberLabel", this);
    numberEdit = new QLineEdit(this);
    numberEdit->setObjectName(QStringLiteral("numberEdit"));
    unknownLabel = boldLabel(tr("מספר לא מוכר:"), "unknownLabel", this);
    unknownNumber = boldLabel(QString(), "unknownNumber", this);
    // The number comes from Outlook: shown as it is, never read as markup.
    unknownNumber->setTextFormat(Qt::PlainText);
    QPalette red = unknownNumber->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    unknownNumber->setPalette(red);
    unknownLabel->hide();
    unknownNumber->hide();

    okButton = new QPushButton(tr("&אשר"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    cancelButton = new QPushButton(tr("&בטל"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    // Right to left: the captions stand in the right-hand column.
    auto* fields = new QGridLayout;
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(nameEdit, 0, 1);
    fields->addWidget(areaCodeLabel, 1, 0);
    fields->addWidget(areaCodeBox, 1, 1);
    fields->addWidget(numberLabel, 2, 0);
    fields->addWidget(numberEdit, 2, 1);
    fields->addWidget(unknownLabel, 3, 0);
    fields->addWidget(unknownNumber, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    nameEdit->setMinimumWidth(150);
    setFixedSize(sizeHint());
}

TDetailsForm::~TDetailsForm() = default;

void TDetailsForm::showUnknownNumber(const QString& number)
{
    unknownNumber->setText(number);
    unknownLabel->show();
    unknownNumber->show();
    // A fixed border: the dialog takes the size of its contents again, now with the extra line.
    layout()->activate();
    setFixedSize(sizeHint());
}
