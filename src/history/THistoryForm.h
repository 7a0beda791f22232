#pragma once

#include "history/HistoryStore.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QSqlQueryModel;
class QTimer;

// The history window: every attempt and every send set for later, newest first, searched by name, number
// or text. The rows are read a page at a time as the grid scrolls, so a history of any length opens at
// once. It reads through a connection of its own to history.db: a read left open by the grid must never
// hold back the store's writes, which another program may be waiting for. The window sends nothing
// itself; "send again" goes to its owner through the signals.
class THistoryForm : public QWidget
{
    Q_OBJECT
public:
    explicit THistoryForm(HistoryStore& store, QWidget* owner = nullptr);
    ~THistoryForm() override;

    // Runs the query again with the search and filter as they stand (a send was recorded, the queue
    // changed); the selected entry stays selected when it is among the first rows.
    void refresh();

    // The file the export writes; empty: the save dialog asks for it. Returning "" cancels the export.
    std::function<QString()> chooseExportFile;

    // The entries as a spreadsheet reads them: UTF-8 with a byte-order mark, a header row, one row per entry.
    static QByteArray csvOf(const QList<HistoryEntry>& entries);

    // Chooses the entry of `id` when the list shows it.
    void selectEntry(qint64 id);

signals:
    void sendAgain(const HistoryEntry& entry);
    // The recipients of list `listId` that were not sent are to be sent again.
    void sendAgainToNotSent(qint64 listId);
    // A send set for later was given another time or dropped here.
    void queueChanged();

private:
    void SendAgainButtonClick();
    void SendNotSentButtonClick();
    void RescheduleButtonClick();
    void DropButtonClick();
    void ExportButtonClick();
    void updateButtons();
    HistoryQuery currentQuery() const;
    std::optional<HistoryEntry> selectedEntry() const;

    struct Ui;
    HistoryStore& m_store;
    QString m_connection;
    std::unique_ptr<Ui> m_ui;
    QSqlQueryModel* m_model;
    QTimer* m_searchPause;
};
