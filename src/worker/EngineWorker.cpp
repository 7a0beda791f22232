#include "EngineWorker.h"

#include "language/LanguageModules.h"
#include "sending/PersonPageWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSocketNotifier>

#include <algorithm>
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

EngineWorker::~EngineWorker()
{
    // The windows go before the engine they listen to.
    m_personPages.reset();
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
        m_engine.PersonLimit = request.personLimit;
        m_personNear = request.personNear;
        useLanguageModule(request.languageModule);
        if (request.personCanAnswer && !m_personPages) {
            m_personPages = std::make_unique<PersonPages>(m_engine, nullptr);
            connect(m_personPages.get(), &PersonPages::shown, this, &EngineWorker::placePersonWindow);
        }
        m_engine.PersonCanAnswer = request.personCanAnswer;
        m_engine.KeepSession = request.keepSession;
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
    case AttemptWire::Request::Kind::Show:
        emit showAsked();
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

void EngineWorker::reportDefinitionSaved(const QString& path)
{
    AttemptWire::Report saved;
    saved.kind = AttemptWire::Report::Kind::DefinitionSaved;
    saved.address = path;
    report(saved);
}

void EngineWorker::useLanguageModule(const QString& file)
{
    if (file == LanguageModules::activeModuleFile())
        return;
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    // A module that cannot be loaded leaves the texts in force, as at the desktop program's start.
    if (file.isEmpty() || dot <= 0)
        LanguageModules::SetResourceModule(nullptr);
    else
        LanguageModules::LoadLanguageModule(file.left(dot), file.mid(dot + 1));
}

void EngineWorker::placePersonWindow(PersonPageWindow* window) const
{
    // Over the desktop program's window, as a window of its own would open, within the screen it is on.
    if (m_personNear.isEmpty())
        return;
    const QScreen* screen = QGuiApplication::screenAt(m_personNear.center());
    if (!screen)
        return;
    QRect place(QPoint(), window->frameGeometry().size());
    place.moveCenter(m_personNear.center());
    const QRect room = screen->availableGeometry();
    place.moveLeft(std::clamp(place.left(), room.left(), std::max(room.left(), room.right() - place.width())));
    place.moveTop(std::clamp(place.top(), room.top(), std::max(room.top(), room.bottom() - place.height())));
    window->move(place.topLeft());
}
