// A user's local definition file (providers.d/*.def, the service's tag language written with a text editor):
// read on its own, then put in force over the service's definitions as the program does after every
// document.

#include "FuzzSupport.h"

#include "service/LocalDefinitions.h"
#include "service/ServiceState.h"

#include <QFile>

namespace {
// Two service providers and their areas, the second of a name a local file may well take over.
const QByteArray ServiceText = "<#AREAS DEFS=050=050,052=052,054=054>\r\n"
                               "<#PROVIDERS>\r\n"
                               "<#PROVIDER Name=Sahar AreaCodes=050,052 MsgUrl=http://127.0.0.1:8710/sahar/msg>\r\n"
                               "<#PROVIDER Name=Acme AreaCodes=054 MsgUrl=http://127.0.0.1:8710/acme/msg>\r\n"
                               "<#FINISHED>\r\n";

class RecordingHost : public ServiceHost
{
public:
    void showMessage(const QString&) override { }
    void localDefinitionsReport(const QStringList& lines) override { report = lines; }
    QStringList report;
};

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QStringList namesOf(const TProviders& providers)
{
    QStringList names;
    for (const TProvider& p : providers)
        names.append(p.Name);
    return names;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietQtMessages();
    // The folder the program reads lies in this process's scratch folder, in memory.
    const QString config = FuzzSupport::scratchDir() + QStringLiteral("/config");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    QDir().mkpath(LocalDefinitions::folder());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzSupport::bytes(data, size);
    const QString path = LocalDefinitions::folder() + QStringLiteral("fuzz.def");
    const QString shown = QStringLiteral("providers.d/fuzz.def");

    const LocalDefinitionFile file = LocalDefinitions::parse(bytes, path);
    FUZZ_CHECK(file.path == path);
    for (const QString& warning : file.warnings)
        FUZZ_CHECK(warning.startsWith(shown + QStringLiteral(", line ")));
    if (!file.error.isEmpty()) {
        // A file with an error counts for nothing, and the report says where.
        FUZZ_CHECK(file.error.startsWith(shown + QStringLiteral(", line ")));
        FUZZ_CHECK(file.error.endsWith(QStringLiteral("; the file was skipped")));
        FUZZ_CHECK(file.providers.isEmpty());
        FUZZ_CHECK(file.areaDefs.isEmpty());
    }
    for (const TProvider& p : file.providers) {
        FUZZ_CHECK(p.Origin == ProviderOrigin::Local);
        FUZZ_CHECK(p.OriginFile == path);
        FUZZ_CHECK(!p.Name.trimmed().isEmpty());
        FUZZ_CHECK(!p.AreaCodes.trimmed().isEmpty());
        FUZZ_CHECK(!p.MsgUrl.trimmed().isEmpty());
        FUZZ_CHECK(p.UserName.isEmpty() && p.Password.isEmpty());
    }

    // The same bytes from the folder, in force over the service's definitions.
    {
        QFile out(path);
        FUZZ_CHECK(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(out.write(bytes) == bytes.size());
    }
    TProviders providers;
    QStringList areaDefs;
    RecordingHost host;
    ServiceState state(providers, areaDefs, &host);
    FUZZ_CHECK(state.ProcessDocument(ServiceText).ok);
    state.ApplyLocalDefinitions();

    QStringList expectedReport = file.warnings;
    if (!file.error.isEmpty())
        expectedReport.append(file.error);
    FUZZ_CHECK(host.report == expectedReport);

    // The file's providers first, in order, then the service's whose name none of them takes.
    const qsizetype local = file.providers.size();
    FUZZ_CHECK(providers.size() >= local);
    FUZZ_CHECK(namesOf(providers.mid(0, local)) == namesOf(file.providers));
    QStringList service;
    for (const TProvider& p : state.serviceDefinitions().providers) {
        bool taken = false;
        for (const TProvider& mine : file.providers)
            taken = taken || sameName(mine.Name, p.Name);
        if (!taken)
            service.append(p.Name);
    }
    FUZZ_CHECK(namesOf(providers.mid(local)) == service);
    for (qsizetype i = local; i < providers.size(); ++i)
        FUZZ_CHECK(providers[i].Origin == ProviderOrigin::Service);

    // Every area the file defines is offered, ahead of the service's.
    if (!file.areaDefs.isEmpty())
        FUZZ_CHECK(!areaDefs.isEmpty() && areaDefs.front() == file.areaDefs.front());
    for (const QString& item : areaDefs)
        FUZZ_CHECK(file.areaDefs.contains(item) || state.serviceDefinitions().areaDefs.contains(item));

    // Reading the folder again changes nothing.
    const QStringList names = namesOf(providers);
    const QStringList areas = areaDefs;
    state.ApplyLocalDefinitions();
    FUZZ_CHECK(namesOf(providers) == names);
    FUZZ_CHECK(areaDefs == areas);

    // What the engine then looks up in them.
    for (const QString& item : areaDefs.mid(0, 4))
        (void)FindProviderByArea(providers, areaCodeOf(item));
    return 0;
}
