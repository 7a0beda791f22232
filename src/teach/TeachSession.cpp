#include "TeachSession.h"

#include "DefinitionFile.h"
#include "common/AppPaths.h"
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
    draft.problems << DefinitionFile::unwritable(draft.provider, draft.areaDefs);
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
    QString error;
    if (!DefinitionFile::write(path, DefinitionFile::text(draft.provider, draft.areaDefs, now), &error)) {
        if (pathOrError)
            *pathOrError = error;
        return false;
    }
    // Written only once the definition stands, so that SMS.INI never names a provider that is not there.
    if (!draft.provider.LoginUrl.isEmpty()) {
        SmsIni ini;
        ini.setUserName(draft.provider.Name, m_demonstration.userName());
        ini.setPassword(draft.provider.Name, m_demonstration.password());
    }
    if (pathOrError)
        *pathOrError = path;
    emit saved(path);
    return true;
}

void TeachSession::startCheck(const Draft& draft)
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
