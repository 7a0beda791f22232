#include "QueueDialogs.h"

#include "common/InterfaceDirection.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
QString recipientOf(const HistoryEntry& entry)
{
    const QString number = entry.area.isEmpty() ? entry.phone : entry.area + QLatin1Char('-') + entry.phone;
    return entry.name.isEmpty() ? number : entry.name + QStringLiteral(" (") + number + QLatin1Char(')');
}
} // namespace

QString QueueDialogs::shownTime(const QDateTime& time)
{
    return time.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
}

std::optional<QDateTime> QueueDialogs::askDueTime(QWidget* owner, const QString& title, const QDateTime& suggested)
{
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("DueTimeDialog"));
    dialog.setWindowTitle(title);
    dialog.setLayoutDirection(interfaceDirection());
    auto* edit = new QDateTimeEdit(&dialog);
    edit->setObjectName(QStringLiteral("DueEdit"));
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy HH:mm"));
    // A date and a time read left to right in a right-to-left window too: 08:41 stays 08:41.
    edit->setLayoutDirection(Qt::LeftToRight);
    const QDateTime now = QDateTime::currentDateTime();
    edit->setMinimumDateTime(now);
    edit->setDateTime(qMax(suggested, now));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(MissedSendsDialog::tr("מועד השליחה:"), &dialog);
    label->setBuddy(edit);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    // A time that passed while the dialog was open is now.
    return qMax(edit->dateTime(), QDateTime::currentDateTime());
}

MissedSendsDialog::MissedSendsDialog(const QList<HistoryEntry>& entries, QWidget* owner)
    : QDialog(owner)
    , m_entries(entries)
{
    setObjectName(QStringLiteral("MissedSendsDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(tr("הודעות שמועדן עבר"));
    setLayoutDirection(interfaceDirection());

    auto* table = new QTableWidget(int(entries.size()), 4, this);
    table->setObjectName(QStringLiteral("Entries"));
    table->setHorizontalHeaderLabels({ tr("נמען"), tr("מועד"), tr("הודעה"), tr("מה לעשות") });
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    for (int row = 0; row < entries.size(); ++row) {
        const HistoryEntry& entry = entries.at(row);
        table->setItem(row, 0, new QTableWidgetItem(recipientOf(entry)));
        table->setItem(row, 1, new QTableWidgetItem(QueueDialogs::shownTime(entry.due)));
        auto* message = new QTableWidgetItem(entry.message.simplified());
        message->setToolTip(entry.message);
        table->setItem(row, 2, message);
        auto* choice = new QComboBox(table);
        choice->addItem(tr("שמור לאחר כך"), int(MissedSendChoice::Keep));
        choice->addItem(tr("שלח עכשיו"), int(MissedSendChoice::SendNow));
        choice->addItem(tr("בטל"), int(MissedSendChoice::Drop));
        table->setCellWidget(row, 3, choice);
        m_choices << choice;
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &MissedSendsDialog::report);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("מועד השליחה של ההודעות האלה עבר כשהתוכנה לא פעלה. מה לעשות בכל אחת?"), this));
    layout->addWidget(table, 1);
    layout->addWidget(buttons);
    resize(640, 160 + 30 * int(qMin(entries.size(), qsizetype(8))));
}

MissedSendChoice MissedSendsDialog::choiceOf(qint64 id) const
{
    for (int row = 0; row < m_entries.size(); ++row) {
        if (m_entries.at(row).id == id)
            return MissedSendChoice(m_choices.at(row)->currentData().toInt());
    }
    return MissedSendChoice::Keep;
}

void MissedSendsDialog::setChoice(qint64 id, MissedSendChoice choice)
{
    for (int row = 0; row < m_entries.size(); ++row) {
        if (m_entries.at(row).id == id)
            m_choices.at(row)->setCurrentIndex(m_choices.at(row)->findData(int(choice)));
    }
}

void MissedSendsDialog::report()
{
    for (int row = 0; row < m_entries.size(); ++row)
        emit chosen(m_entries.at(row).id, MissedSendChoice(m_choices.at(row)->currentData().toInt()));
    accept();
}
