#include "TeachSession.h"

#include "DefinitionFile.h"
#include "common/AppPaths.h"
#include "common/ErrorReport.h"
#include "settings/Credentials.h"
#include "settings/SmsIni.h"

#include <QDateTime>
#include <QFile>

TeachSession::TeachSession(QObject* parent, TSMSBaseForm::BrowserMaker makeBrowser)
    : QObject(parent)
    , m_makeBrowser(std::move(makeBrowser))
{
}

TeachSession::~TeachSession()
{
    if (m_engine) {
        m_engine->OnStatus = nullptr;
        m_engine->OnCheckStep = nullptr;
    }
}

TeachSession::Draft TeachSession::draft(const QString& name, const QString& areaCodes) const
{
    Draft draft;
    const QStringList codes = parseCommaText(areaCodes);
    draft.provider = m_demonstration.provider(name.trimmed(), codes);
    draft.areaDefs = m_demonstration.areaDefs(codes);

    if (name.trimmed().isEmpty())
        draft.problems << tr("יש לתת לספק שם.");
    if (codes.isEmpty())
        draft.problems << tr("יש לכתוב את הקידומות שהספק משרת.");
    draft.problems << m_demonstration.problems();
    if (!m_demonstration.messageRecorded())
        draft.problems << tr("ההדגמה עדיין לא הגיעה לשליחת טופס ההודעה.");
    else if (!m_demonstration.resultLoaded())
        draft.problems << tr("דף התוצאה עדיין לא נטען.");
    else if (draft.provider.ResAccepted.isEmpty())
        draft.problems << tr("יש לסמן בדף התוצאה את הטקסט שאומר שההודעה נשלחה.");
    const QStringList unwritable = DefinitionFile::unwritable(draft.provider, draft.areaDefs);
    draft.problems << unwritable;
    draft.problems << DefinitionFile::secretProblems(
        draft.provider, m_demonstration.userName(), m_demonstration.password());
    // What the tag language can carry must also come back from the file as it was taught.
    if (unwritable.isEmpty() && draft.problems.isEmpty())
        draft.problems << DefinitionFile::readBackProblems(
            DefinitionFile::text(draft.provider, draft.areaDefs, QString()), draft.provider, draft.areaDefs);
    return draft;
}

QString TeachSession::folder()
{
    return AppPaths::configDir() + QStringLiteral("providers.d");
}

QString TeachSession::pathFor(const QString& name)
{
    return DefinitionFile::pathFor(folder(), name.trimmed());
}

bool TeachSession::save(const Draft& draft, QString* pathOrError)
{
    const QString path = pathFor(draft.provider.Name);
    const QString now = QDateTime::currentDateTime().toString(Qt::ISODate);
    const QByteArray text = DefinitionFile::text(draft.provider, draft.areaDefs, now);
    // Nothing is kept that the program would read back otherwise, or that holds a secret.
    QStringList problems
        = DefinitionFile::secretProblems(draft.provider, m_demonstration.userName(), m_demonstration.password());
    problems << DefinitionFile::readBackProblems(text, draft.provider, draft.areaDefs);
    if (!problems.isEmpty()) {
        if (pathOrError)
            *pathOrError = problems.join(QLatin1Char('\n'));
        return false;
    }
    QString error;
    if (!DefinitionFile::write(path, text, &error)) {
        if (pathOrError)
            *pathOrError = error;
        return false;
    }
    // Written only once the definition stands, so that SMS.INI never names a provider that is not there. A
    // settings file that refuses them leaves the definition kept; the user is told, and can type them in the
    // preferences.
    if (!draft.provider.LoginUrl.isEmpty()) {
        try {
            SmsIni ini;
            ini.setUserName(draft.provider.Name, m_demonstration.userName());
            storePassword(draft.provider.Name, m_demonstration.password());
        } catch (const ZelkoraError& error) {
            ErrorReport::report(error.message());
        }
    }
    if (pathOrError)
        *pathOrError = path;
    emit saved(path);
    return true;
}

TSMSBaseForm& TeachSession::checkEngine()
{
    if (!m_engine) {
        m_engine = std::make_unique<TSMSBaseForm>(nullptr, m_makeBrowser);
        m_engine->OnCheckStep = [this](const CheckStep& step) { emit checkStep(step); };
        m_engine->OnStatus = [this](TSMSStatus status) {
            if (!m_checking || isBusyStatus(status))
                return;
            m_checking = false;
            emit checkFinished(status == ssReady);
        };
    }
    return *m_engine;
}

void TeachSession::startCheck(const Draft& draft)
{
    checkEngine();
    m_engine->TimeOut = SmsIni().timeOut();
    m_engine->Providers = { draft.provider };
    m_engine->AreaDefs = draft.areaDefs;
    const SampleValues& samples = m_demonstration.samples();
    m_checking = true;
    m_engine->Check(samples.sender, samples.area, samples.number, samples.message, m_demonstration.userName(),
        m_demonstration.password());
}

void TeachSession::cancelCheck()
{
    if (m_engine && m_checking)
        m_engine->Cancel();
}
