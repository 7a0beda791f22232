#pragma once

#include "history/HistoryStore.h"

#include <QDateTime>
#include <QDialog>
#include <QList>
#include <QString>

#include <optional>

class QComboBox;
class QWidget;

namespace QueueDialogs {
// Asks for the time a send is to go, starting from `suggested`; none when the user cancelled. A time
// already past is not offered.
std::optional<QDateTime> askDueTime(QWidget* owner, const QString& title, const QDateTime& suggested);
// How a queued send's time is shown to the user.
QString shownTime(const QDateTime& time);
} // namespace QueueDialogs

// The sends set for later whose time passed while the program was not running: one row each, with its
// recipient, time and message, and what becomes of it ("send now", "keep", "drop"). Nothing goes unless
// the user says so: each row starts at "keep", and closing the window keeps them all. It does not wait for
// the answer (the program may have started hidden in the tray); OK reports each row's choice.
class MissedSendsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit MissedSendsDialog(const QList<HistoryEntry>& entries, QWidget* owner = nullptr);

    // The choice in the row of `id`, for the tests; Keep when there is no such row.
    MissedSendChoice choiceOf(qint64 id) const;
    void setChoice(qint64 id, MissedSendChoice choice);

signals:
    void chosen(qint64 id, MissedSendChoice choice);

private:
    void report();

    QList<HistoryEntry> m_entries;
    QList<QComboBox*> m_choices;
};
