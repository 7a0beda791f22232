#pragma once

#include "HistoryRecorder.h"
#include "common/ListLine.h"

#include <QString>
#include <QStringList>

class SendWorkflowHost;
struct TProvider;
class TSMSBaseForm;

// The send command without widgets: its checks in their order with their texts, the hand-over of each
// recipient to the engine, and the list send with its cancel flag. The window and zelkora-cli both run it.
class SendWorkflow
{
public:
    // The sender's name and the message together may hold this many characters.
    static constexpr int MessageLimit = 105;

    // What the user composed.
    struct Composition
    {
        QString sender;
        QString message; // line breaks as the editor holds them
        bool listMode = false;
        // List mode: one line per recipient, Name "=" Area "-" Phone.
        QStringList list;
        // Single recipient.
        QString area;
        QString phone;
        // The single recipient's name as shown, for the history.
        QString recipientName;
        // Where the send comes from; a list from the window counts as a list.
        SendSource source = SendSource::Window;
        // The queued send this carries out, and the list it was queued with.
        qint64 queueId = 0;
        qint64 listId = 0;
        // Nobody is there to answer (the queue): a question declines the send, and missing credentials open
        // nothing.
        bool unattended = false;
    };

    enum class Outcome
    {
        Refused, // a check failed; its text was reported
        Declined, // the user answered No to a question
        Started, // a single recipient went to the engine, which works on
        Failed, // a single recipient could not go to the engine; the reason was reported
        ListDone, // every list line was handled
        ListCancelled, // the list was stopped before its end
    };

    SendWorkflow(TSMSBaseForm& engine, SendWorkflowHost& host);

    // The send command: the checks, then the single send (which returns at once) or the list send (which returns
    // when the list is done, the event loop running meanwhile).
    Outcome send(const Composition& composition);
    // One recipient to the engine. False, after reporting why, when the recipient could not be handed over.
    bool SendToRecipient(const QString& areaCode, const QString& phone, const QString& sender, const QString& message);

    // The first check that the composition fails, as its text; empty when it passes them all.
    static QString refusal(const Composition& composition);
    // Characters as the operator's page counts them: UTF-16 units (a letter outside the basic plane counts
    // two, a vowel point one), and a line break (CR LF, CR or LF) two, as it travels as CR LF.
    static int countedLength(const QString& text);
    // The message as the engine sends it: every line break CR LF.
    static QString wireText(const QString& message);
    // The composition goes into the queue of sends set for later, for `due`: one entry per recipient, a list's
    // sharing a new list id, each naming the provider `engine` finds for its area code. The store's error,
    // empty when every entry went in.
    static QString schedule(
        HistoryStore& store, const TSMSBaseForm& engine, const Composition& composition, const QDateTime& due);

    // The text a send to such a provider fails with: the status line's, the list line's and zelkora-cli's.
    static QString missingCredentialsText(const TProvider& provider);
    // The question before a provider's credentials go to a login page on another origin, and the text a send
    // fails with when they may not.
    static QString loginMovedQuestion(const TProvider& provider, const QString& origin);
    static QString loginMovedRefusal(const TProvider& provider, const QString& origin);

    // The host's cancel flag was just set: a list that waits between recipients stops at once; one whose
    // recipient is under way stops when that attempt ends.
    void cancelRequested();
    // What the user is told when the ledger cannot record a send, and so nothing is sent.
    static QString ledgerRefusal(const QString& why);

    // Every recipient, sent or refused, goes to the history through it; null: no history.
    void setRecorder(HistoryRecorder* recorder) { m_recorder = recorder; }
    HistoryRecorder* recorder() const { return m_recorder; }
    // The history's id of the last list sent; 0 before the first, or without a history.
    qint64 listId() const { return m_recipient.listId; }

    // The message of the send under way.
    QString MessageText;
    bool ListSending = false;

private:
    Outcome sendList(const QString& sender, const QStringList& list);
    // Runs the event loop while the engine is busy (and, with `stopOnCancel`, no cancel is asked); false when
    // the program is ending.
    bool waitWhileBusy(bool stopOnCancel);

    TSMSBaseForm& m_engine;
    SendWorkflowHost& m_host;
    class QEventLoop* m_wait = nullptr;
    bool m_waitStopsOnCancel = true;
    HistoryRecorder* m_recorder = nullptr;
    // The recipient SendToRecipient hands over, for the history.
    HistoryRecorder::Recipient m_recipient;
    bool m_unattended = false;
    // The list of the last single recipient handed over (the queue sends a list one by one); 0 for none.
    qint64 m_lastListId = 0;
};
