#pragma once

#include "sending/SendWorkflow.h"

#include <QString>
#include <QStringList>

// zelkora-cli's side of the history: `history`, the queue that `send --at` fills, and what `retry` sends.
namespace CliHistory {
// `history [--failed] [--since DATE] [--json]`: newest first, one line (or JSON object) per entry.
int list(bool failedOnly, const QString& since, bool json);
// `send --at "YYYY-MM-DD HH:MM"`: the checked composition goes into the queue, one entry per recipient; says
// whether a desktop program runs to send it.
int schedule(const SendWorkflow::Composition& composition, const QString& at);
// The recipients of the last list that were not sent, as a list composition with one label per recipient;
// false (after saying so) when there are none. Those whose message may have been sent are left out (and
// named on standard error) unless `includeUnknown`.
bool notSentOfLastList(SendWorkflow::Composition* composition, QStringList* labels, bool includeUnknown);
} // namespace CliHistory
