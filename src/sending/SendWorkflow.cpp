#include "SendWorkflow.h"

#include "SendWorkflowHost.h"
#include "common/ErrorReport.h"
#include "common/ResStrings.h"
#include "common/WebAddress.h"
#include "engine/TSMSBaseForm.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QScopeGuard>
#include <QTimer>

#include <utility>

namespace {
// How often a list send that waits for its recipient looks whether it was cancelled meanwhile, for a host
// that does not say so.
constexpr int CancelPollInterval = 50;
// The exit code of the wait's event loop when the attempt ended; the program's end gives another.
constexpr int AttemptEnded = 1;
} // namespace

SendWorkflow::SendWorkflow(TSMSBaseForm& engine, SendWorkflowHost& host)
    : m_engine(engine)
    , m_host(host)
{
}

int SendWorkflow::countedLength(const QString& text)
{
    // As the operator's web page counts: UTF-16 units, so a letter outside the basic plane counts two and
    // each vowel point one; a line break travels as CR LF and counts two, whichever way it is held.
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        count += c == QLatin1Char('\r') || c == QLatin1Char('\n') ? 2 : 1;
    }
    return count;
}

QString SendWorkflow::wireText(const QString& message)
{
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

QString SendWorkflow::refusal(const Composition& composition)
{
    if (composition.message.isEmpty())
        return ResStrings::emptyMessage();
    if (countedLength(composition.message) + countedLength(composition.sender) > MessageLimit)
        return ResStrings::messageTooLong().replace(QLatin1String("%d"), QString::number(MessageLimit));
    if (composition.sender.isEmpty())
        return ResStrings::emptySender();
    if (!composition.listMode && (composition.area.isEmpty() || composition.phone.isEmpty()))
        return ResStrings::incompleteNumber();
    return QString();
}

SendWorkflow::Outcome SendWorkflow::send(const Composition& composition)
{
    if (composition.listMode && composition.list.isEmpty()) {
        m_host.reportError(ResStrings::emptyList());
        return Outcome::Refused;
    }
    m_unattended = composition.unattended;
    // Nobody answers a question of the queue's: the send waits for a better moment instead.
    const auto ask = [&](const QString& question) { return !m_unattended && m_host.ask(question); };
    const bool online = m_host.isOnline();
    if (!online)
        m_host.setConnectionState(ConnectionState::NoDefinitions);
    if (m_host.connectionState() == ConnectionState::NoDefinitions) {
        const QString reason = online ? ResStrings::notConnectedNoCache() : ResStrings::notOnline();
        if (!ask(reason + QLatin1Char('\n') + ResStrings::tryAnyway()))
            return Outcome::Declined;
    }
    // The new send replaces the running one: the engine's Send starts afresh.
    if (isBusyStatus(m_engine.Status) && !ask(ResStrings::cancelAndResend()))
        return Outcome::Declined;

    try {
        const QString refused = refusal(composition);
        if (!refused.isEmpty()) {
            m_host.reportError(refused);
            return Outcome::Refused;
        }
        m_host.suspendServiceRequests(true);
        const auto resume = qScopeGuard([this] { m_host.suspendServiceRequests(false); });
        m_host.setCancelRequested(false);
        if (composition.listMode) {
            MessageText = wireText(composition.message);
            m_recipient = HistoryRecorder::Recipient {};
            m_recipient.source = composition.source == SendSource::Window ? SendSource::List : composition.source;
            m_recipient.listId = m_recorder ? m_recorder->store().newListId() : 0;
            return sendList(composition.sender, composition.list);
        }
        if (!m_unattended)
            m_host.saveLastUsed();
        ListSending = false;
        MessageText = wireText(composition.message);
        m_recipient = HistoryRecorder::Recipient { composition.recipientName, composition.source, composition.listId,
            composition.queueId };
        // A queued list goes out one recipient at a time: each after its list's first may use its login.
        m_engine.KeepSession = composition.listId != 0 && composition.listId == m_lastListId;
        m_lastListId = composition.listId;
        return SendToRecipient(composition.area, composition.phone, composition.sender, MessageText) ? Outcome::Started
                                                                                                     : Outcome::Failed;
    } catch (const std::exception& error) {
        m_host.reportError(ErrorReport::textOf(error));
    }
    return Outcome::Failed;
}

bool SendWorkflow::SendToRecipient(
    const QString& areaCode, const QString& phone, const QString& sender, const QString& message)
{
    const int index = m_engine.FindProviderByArea(areaCode);
    const auto refuse = [&](const QString& text, const SendFailure& failure) {
        m_host.reportError(text);
        if (m_recorder)
            m_recorder->refused(m_recipient, areaCode, phone, sender, message, text, HistoryEntry::Refused, failure);
        return false;
    };
    if (index < 0)
        return refuse(ResStrings::unknownProvider(), { FailureReason::NoProvider, areaCode });
    const TProvider provider = m_engine.Providers.at(index);
    if (provider.lacksCredentials())
        return refuse(m_host.credentialsMissing(provider, ListSending || m_unattended),
            { FailureReason::NoCredentials, provider.Name });
    if (provider.needsLogin()) {
        // Credentials go only to the login page they were used with: one that moved to another origin (a
        // definition changed by whoever serves it) gets them with the user's word alone.
        const QString origin = webOrigin(provider.LoginUrl);
        if (!provider.LoginOrigin.isEmpty() && provider.LoginOrigin != origin
            && (m_unattended || !m_host.acceptLoginOrigin(provider, origin)))
            return refuse(loginMovedRefusal(provider, origin), { FailureReason::LoginMoved, origin });
        if (provider.LoginOrigin != origin) {
            m_host.bindLoginOrigin(provider, origin);
            m_engine.Providers[index].LoginOrigin = origin;
        }
    }
    // Nothing goes to a site that the ledger cannot record first.
    if (m_recorder && !m_recorder->begin(m_recipient, areaCode, phone, sender, message)) {
        m_host.reportError(ledgerRefusal(m_recorder->error()));
        return false;
    }
    m_engine.Send(sender, areaCode, phone, message, provider.UserName, provider.Password);
    return true;
}


QString SendWorkflow::missingCredentialsText(const TProvider& provider)
{
    return ResStrings::missingCredentials().replace(QLatin1String("%s"), provider.Name);
}

QString SendWorkflow::loginMovedQuestion(const TProvider& provider, const QString& origin)
{
    const bool plain = origin.startsWith(QLatin1String("http:"));
    return QCoreApplication::translate("SendWorkflow", "דף הכניסה של %1 עבר אל %2%3. להשתמש שם בפרטי הכניסה שלך ל-%1?")
        .arg(provider.Name, origin,
            plain ? QCoreApplication::translate("SendWorkflow", " (http: לא מוצפן, כל מי שבדרך יכול לקרוא)")
                  : QString());
}

QString SendWorkflow::loginMovedRefusal(const TProvider& provider, const QString& origin)
{
    return QCoreApplication::translate("SendWorkflow", "פרטי הכניסה של %1 לא נשלחו: דף הכניסה עבר אל %2")
        .arg(provider.Name, origin);
}

QString SendWorkflow::ledgerRefusal(const QString& why)
{
    return QCoreApplication::translate("SendWorkflow", "לא ניתן לרשום את השליחה בהיסטוריה, ולכן לא נשלח דבר: %1")
        .arg(why);
}

SendWorkflow::Outcome SendWorkflow::sendList(const QString& sender, const QStringList& list)
{
    // Every recipient is in the ledger before the first attempt, so that a crash leaves no recipient untold.
    QList<qint64> rows;
    if (m_recorder) {
        QList<HistoryEntry> pending;
        for (const QString& line : list) {
            const ListLine entry = ListLine::parse(line);
            HistoryRecorder::Recipient recipient = m_recipient;
            recipient.name = entry.name;
            pending << m_recorder->entryFor(recipient, entry.area, entry.phone, sender, MessageText);
        }
        rows = m_recorder->store().addPending(pending);
        if (rows.isEmpty()) {
            m_host.reportError(ledgerRefusal(m_recorder->store().error()));
            return Outcome::Refused;
        }
    }
    ListSending = true;
    m_host.beginList(ListLine::names(list));
    bool cancelled = false;
    const auto finish = qScopeGuard([&] {
        ListSending = false;
        m_host.endList(cancelled || m_host.cancelRequested());
    });
    int handedOver = 0;
    for (int i = 0; i < list.size(); ++i) {
        if (m_host.cancelRequested()) {
            cancelled = true;
            break;
        }
        m_host.setCurrentRecipient(i);
        const ListLine entry = ListLine::parse(list.at(i));
        m_recipient.name = entry.name;
        m_recipient.rowId = rows.value(i);
        // Every recipient after the list's first may go on with the login made for those before it.
        m_engine.KeepSession = handedOver > 0;
        handedOver = i + 1;
        QCoreApplication::processEvents();
        // A recipient that cannot go to the engine has its own error line; the list goes on.
        if (!SendToRecipient(entry.area, entry.phone, sender, MessageText))
            continue;
        if (!waitWhileBusy(true)) {
            cancelled = true;
            break;
        }
        if (isBusyStatus(m_engine.Status)) {
            // Stopped while this recipient was under way: its attempt runs to its end, since its message may
            // already be on its way, and no further recipient is sent.
            if (!waitWhileBusy(false))
                m_engine.Cancel();
            cancelled = true;
            break;
        }
    }
    // The recipients the list did not come to are in the history as cancelled, so that "send again to those
    // not sent" finds them.
    for (int i = handedOver; cancelled && m_recorder && i < list.size(); ++i) {
        const ListLine entry = ListLine::parse(list.at(i));
        m_recipient.name = entry.name;
        m_recipient.rowId = rows.value(i);
        m_recorder->refused(m_recipient, entry.area, entry.phone, sender, MessageText,
            ResStrings::sendStatusText(ssCancelled), ssCancelled, { FailureReason::Cancelled, QString() });
    }
    return cancelled ? Outcome::ListCancelled : Outcome::ListDone;
}

bool SendWorkflow::waitWhileBusy(bool stopOnCancel)
{
    if (!isBusyStatus(m_engine.Status) || (stopOnCancel && m_host.cancelRequested()))
        return true;
    QEventLoop loop;
    const QMetaObject::Connection ended
        = QObject::connect(&m_engine, &TSMSBaseForm::statusChanged, &loop, [&loop](TSMSStatus status) {
              if (!isBusyStatus(status))
                  loop.exit(AttemptEnded);
          });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (stopOnCancel && m_host.cancelRequested())
            loop.exit(AttemptEnded);
    });
    poll.start(CancelPollInterval);
    QEventLoop* const outer = std::exchange(m_wait, &loop);
    const bool outerStops = std::exchange(m_waitStopsOnCancel, stopOnCancel);
    // The loop also ends when the program ends (an exit chosen meanwhile), with another code.
    const int result = loop.exec();
    m_wait = outer;
    m_waitStopsOnCancel = outerStops;
    QObject::disconnect(ended);
    return result == AttemptEnded;
}

void SendWorkflow::cancelRequested()
{
    if (m_wait && m_waitStopsOnCancel && m_host.cancelRequested())
        m_wait->exit(AttemptEnded);
}

QString SendWorkflow::schedule(
    HistoryStore& store, const TSMSBaseForm& engine, const Composition& composition, const QDateTime& due)
{
    HistoryEntry entry;
    entry.sender = composition.sender;
    entry.message = wireText(composition.message);
    entry.source = SendSource::Queue;
    entry.due = due;
    QList<ListLine> recipients;
    if (composition.listMode) {
        entry.listId = store.newListId();
        for (const QString& line : composition.list)
            recipients << ListLine::parse(line);
    } else {
        recipients << ListLine { composition.recipientName, composition.area, composition.phone };
    }
    QList<HistoryEntry> entries;
    for (const ListLine& recipient : std::as_const(recipients)) {
        entry.name = recipient.name;
        entry.area = recipient.area;
        entry.phone = recipient.phone;
        const int index = engine.FindProviderByArea(recipient.area);
        entry.provider = index >= 0 ? engine.Providers.at(index).Name : QString();
        entries << entry;
    }
    // A list goes into the queue whole or not at all.
    return store.scheduleAll(entries);
}
