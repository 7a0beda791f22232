#include "EngineWorker.h"

#include <QSocketNotifier>

#include <cerrno>
#include <unistd.h>

EngineWorker::EngineWorker(int input, int output, TSMSBaseForm::BrowserMaker makeBrowser, QObject* parent)
    : QObject(parent)
    , m_engine(this, std::move(makeBrowser))
    , m_output(output)
{
    m_engine.OnStatus = [this](TSMSStatus) { report(AttemptWire::statusOf(m_engine)); };
    m_engine.OnCheckStep = [this](const CheckStep& step) {
        AttemptWire::Report checked;
        checked.kind = AttemptWire::Report::Kind::CheckStep;
        checked.step = step;
        report(checked);
    };
    connect(&m_engine, &TSMSBaseForm::personNeeded, this, [this](const QString& provider, const QString& address) {
        AttemptWire::Report needed;
        needed.kind = AttemptWire::Report::Kind::PersonNeeded;
        needed.provider = provider;
        needed.address = address;
        report(needed);
    });
    connect(&m_engine, &TSMSBaseForm::personDone, this, [this] {
        AttemptWire::Report done;
        done.kind = AttemptWire::Report::Kind::PersonDone;
        report(done);
    });
    m_notifier = new QSocketNotifier(input, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &EngineWorker::readInput);
}

void EngineWorker::readInput()
{
    char buffer[16384];
    const ssize_t got = ::read(int(m_notifier->socket()), buffer, sizeof buffer);
    if (got < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (got <= 0) {
        m_notifier->setEnabled(false);
        emit inputClosed();
        return;
    }
    m_pending.append(buffer, got);
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        if (const std::optional<AttemptWire::Request> request = AttemptWire::decodeRequest(line))
            handle(*request);
        else
            qWarning("zelkora-engine: a line that is no request was ignored");
    }
}

void EngineWorker::handle(const AttemptWire::Request& request)
{
    switch (request.kind) {
    case AttemptWire::Request::Kind::Send:
    case AttemptWire::Request::Kind::Check:
        m_attempt = request.attempt;
        m_engine.Providers = { request.provider };
        m_engine.AreaDefs = request.areaDefs;
        m_engine.TimeOut = request.timeOut;
        m_engine.SettleTime = request.settleTime;
        m_engine.PersonCanAnswer = request.personCanAnswer;
        if (request.kind == AttemptWire::Request::Kind::Send)
            m_engine.Send(request.from, request.areaCode, request.phone, request.message, request.userName, request.password);
        else
            m_engine.Check(request.from, request.areaCode, request.phone, request.message, request.userName, request.password);
        break;
    case AttemptWire::Request::Kind::Cancel:
        m_engine.Cancel();
        break;
    case AttemptWire::Request::Kind::PersonCancelled:
        m_engine.PersonCancelled();
        break;
    }
}

void EngineWorker::report(const AttemptWire::Report& report)
{
    AttemptWire::Report numbered = report;
    numbered.attempt = m_attempt;
    const QByteArray line = AttemptWire::encode(numbered);
    qsizetype written = 0;
    while (written < line.size()) {
        const ssize_t put = ::write(m_output, line.constData() + written, size_t(line.size() - written));
        if (put < 0 && errno == EINTR)
            continue;
        // The desktop program is gone: there is no one left to tell.
        if (put <= 0)
            return;
        written += put;
    }
}
