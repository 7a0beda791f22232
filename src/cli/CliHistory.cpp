#include "CliHistory.h"

#include "CliCommands.h"
#include "CliText.h"
#include "common/AppPaths.h"
#include "common/ListLine.h"
#include "engine/TSMSBaseForm.h"
#include "history/HistoryStore.h"
#include "service/ServiceState.h"
#include "session/SingleInstance.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cstdio>

namespace {
void out(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

void err(const QString& line)
{
    std::fputs(visibleText(line).toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

QString recipientOf(const HistoryEntry& e)
{
    return e.area.isEmpty() ? e.phone : e.area + QLatin1Char('-') + e.phone;
}

// A time with its offset from UTC, as ISO 8601 writes it.
QString isoTime(const QDateTime& time)
{
    return time.isValid() ? time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate) : QString();
}

QJsonObject jsonOf(const HistoryEntry& e)
{
    QJsonObject o { { QStringLiteral("id"), e.id }, { QStringLiteral("time"), isoTime(e.time) },
        { QStringLiteral("sender"), e.sender }, { QStringLiteral("name"), e.name }, { QStringLiteral("area"), e.area },
        { QStringLiteral("phone"), e.phone }, { QStringLiteral("provider"), e.provider },
        { QStringLiteral("message"), e.message }, { QStringLiteral("confirmed"), e.confirmed },
        { QStringLiteral("durationMs"), e.durationMs },
        { QStringLiteral("source"), HistoryStore::sourceName(e.source) }, { QStringLiteral("listId"), e.listId },
        { QStringLiteral("scheduled"), e.scheduled }, { QStringLiteral("submitted"), e.submitted },
        { QStringLiteral("outcome"), e.outcomeName() } };
    // A queued send has no status yet; a recipient refused before the engine has -1.
    o.insert(QStringLiteral("status"), e.scheduled ? QJsonValue() : QJsonValue(e.status));
    o.insert(QStringLiteral("statusText"), e.shownStatusText());
    if (!e.failure.isNone())
        o.insert(QStringLiteral("reason"), failureName(e.failure.reason));
    if (e.scheduled)
        o.insert(QStringLiteral("due"), isoTime(e.due));
    return o;
}

// "YYYY-MM-DD" (the day's start) or "YYYY-MM-DD HH:MM", local time; invalid when it is neither.
QDateTime timeOf(const QString& text)
{
    const QString trimmed = text.trimmed();
    QDateTime time = QDateTime::fromString(trimmed, QStringLiteral("yyyy-MM-dd HH:mm"));
    if (!time.isValid())
        time = QDate::fromString(trimmed, QStringLiteral("yyyy-MM-dd")).startOfDay();
    return time;
}
} // namespace

int CliHistory::list(bool failedOnly, const QString& since, bool json)
{
    HistoryQuery query;
    query.notSentOnly = failedOnly;
    if (!since.isEmpty()) {
        query.since = timeOf(since);
        if (!query.since.isValid()) {
            err(QStringLiteral("--since: \"%1\" is not a date (YYYY-MM-DD or \"YYYY-MM-DD HH:MM\")").arg(since));
            return CliCommands::ExitRefused;
        }
    }
    HistoryStore store;
    if (!store.isOpen()) {
        err(QStringLiteral("the history %1 cannot be opened: %2").arg(store.path(), store.error()));
        return CliCommands::ExitFailed;
    }
    const QList<HistoryEntry> entries = store.entries(query);
    if (json) {
        QJsonArray array;
        for (const HistoryEntry& e : entries)
            array.append(jsonOf(e));
        out(QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)));
        return CliCommands::ExitOk;
    }
    for (const HistoryEntry& e : entries) {
        const QString status = e.scheduled ? QStringLiteral("scheduled") : QString::number(e.status);
        QString message = e.message;
        message.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        out(QStringList { e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm")), visibleText(recipientOf(e)),
            visibleText(e.name), visibleText(e.provider), status, visibleText(e.shownStatusText()),
            visibleText(message) }
                .join(QLatin1Char('\t')));
    }
    return CliCommands::ExitOk;
}

int CliHistory::schedule(const SendWorkflow::Composition& composition, const QString& at)
{
    const QDateTime due = QDateTime::fromString(at.trimmed(), QStringLiteral("yyyy-MM-dd HH:mm"));
    if (!due.isValid()) {
        err(QStringLiteral("--at: \"%1\" is not a time as \"YYYY-MM-DD HH:MM\"").arg(at));
        return CliCommands::ExitRefused;
    }
    if (due < QDateTime::currentDateTime().addSecs(-60)) {
        err(QStringLiteral("--at: %1 has passed").arg(due.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
        return CliCommands::ExitRefused;
    }
    // The provider's name, for the history to show until the send: from the definitions at hand.
    TSMSBaseForm engine;
    ServiceState state(engine.Providers, engine.AreaDefs);
    state.LoadProviderCache();

    HistoryStore store;
    const QString error = SendWorkflow::schedule(store, engine, composition, due);
    if (!error.isEmpty()) {
        err(QStringLiteral("the history %1 cannot take the send: %2").arg(store.path(), error));
        return CliCommands::ExitFailed;
    }
    const qsizetype count = composition.listMode ? composition.list.size() : 1;
    out(QStringLiteral("%1 message(s) queued for %2").arg(count).arg(due.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
    out(SingleInstance::runningCopy()
            ? QStringLiteral("the desktop program is running and sends them then")
            : QStringLiteral("the desktop program is not running: it sends them when it runs, and asks first about "
                             "those whose time has passed"));
    return CliCommands::ExitOk;
}

bool CliHistory::notSentOfLastList(SendWorkflow::Composition* composition, QStringList* labels, bool includeUnknown)
{
    HistoryStore store;
    const qint64 listId = store.lastListId();
    const QList<HistoryEntry> recipients = listId ? store.notSentOfList(listId, includeUnknown) : QList<HistoryEntry>();
    const QList<HistoryEntry> unknown = listId ? store.unknownOfList(listId) : QList<HistoryEntry>();
    // A message that may have been sent goes again only when the user says so.
    if (!includeUnknown && !unknown.isEmpty()) {
        QStringList numbers;
        for (const HistoryEntry& e : unknown)
            numbers << recipientOf(e);
        err(QStringLiteral("%1 recipient(s) left out, whose message may have been sent (the site gave no verdict, or "
                           "the attempt was cut off): %2; --include-unknown sends to them too")
                .arg(unknown.size())
                .arg(numbers.join(QStringLiteral(", "))));
    }
    if (recipients.isEmpty()) {
        out(!listId                 ? QStringLiteral("no list was sent yet")
                : unknown.isEmpty() ? QStringLiteral("every recipient of the last list was sent")
                                    : QStringLiteral("no recipient of the last list is plainly unsent"));
        return false;
    }
    composition->sender = recipients.first().sender;
    composition->message = recipients.first().message;
    composition->listMode = true;
    for (const HistoryEntry& e : recipients) {
        composition->list << ListLine { e.name, e.area, e.phone }.text();
        *labels << recipientOf(e);
    }
    return true;
}
