#include "AttemptWire.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
const char* const RequestKinds[] = { "send", "check", "cancel", "personCancelled", "show" };
const char* const ReportKinds[] = { "status", "checkStep", "personNeeded", "personDone", "definitionSaved" };

template <typename Kind, size_t N>
std::optional<Kind> kindNamed(const QString& name, const char* const (&names)[N])
{
    for (size_t i = 0; i < N; ++i) {
        if (name == QLatin1String(names[i]))
            return Kind(i);
    }
    return std::nullopt;
}

QByteArray line(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<QJsonObject> objectOf(const QByteArray& line)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line.trimmed(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}
} // namespace

QByteArray AttemptWire::encode(const Request& request)
{
    QJsonObject object { { QStringLiteral("request"), QLatin1String(RequestKinds[int(request.kind)]) } };
    if (request.kind == Request::Kind::Send || request.kind == Request::Kind::Check) {
        object.insert(QStringLiteral("attempt"), request.attempt);
        QJsonObject provider;
        for (const auto& [name, value] : request.provider.parameters())
            provider.insert(QLatin1String(name), value);
        object.insert(QStringLiteral("provider"), provider);
        object.insert(QStringLiteral("areaDefs"), QJsonArray::fromStringList(request.areaDefs));
        object.insert(QStringLiteral("from"), request.from);
        object.insert(QStringLiteral("areaCode"), request.areaCode);
        object.insert(QStringLiteral("phone"), request.phone);
        object.insert(QStringLiteral("message"), request.message);
        object.insert(QStringLiteral("userName"), request.userName);
        object.insert(QStringLiteral("password"), request.password);
        object.insert(QStringLiteral("timeOut"), request.timeOut);
        object.insert(QStringLiteral("settleTime"), request.settleTime);
        object.insert(QStringLiteral("personCanAnswer"), request.personCanAnswer);
        object.insert(QStringLiteral("keepSession"), request.keepSession);
        object.insert(QStringLiteral("personLimit"), request.personLimit);
        object.insert(QStringLiteral("languageModule"), request.languageModule);
        if (!request.personNear.isEmpty()) {
            const QRect& near = request.personNear;
            object.insert(QStringLiteral("personNear"), QJsonArray { near.x(), near.y(), near.width(), near.height() });
        }
    }
    return line(object);
}

std::optional<AttemptWire::Request> AttemptWire::decodeRequest(const QByteArray& text)
{
    const std::optional<QJsonObject> object = objectOf(text);
    if (!object)
        return std::nullopt;
    const auto kind = kindNamed<Request::Kind>(object->value(QStringLiteral("request")).toString(), RequestKinds);
    if (!kind)
        return std::nullopt;
    Request request;
    request.kind = *kind;
    request.attempt = object->value(QStringLiteral("attempt")).toInteger();
    const QJsonObject provider = object->value(QStringLiteral("provider")).toObject();
    request.provider = TProvider::fromParameters([&provider](const QString& name) { return provider.value(name).toString(); });
    for (const QJsonValue& item : object->value(QStringLiteral("areaDefs")).toArray())
        request.areaDefs << item.toString();
    request.from = object->value(QStringLiteral("from")).toString();
    request.areaCode = object->value(QStringLiteral("areaCode")).toString();
    request.phone = object->value(QStringLiteral("phone")).toString();
    request.message = object->value(QStringLiteral("message")).toString();
    request.userName = object->value(QStringLiteral("userName")).toString();
    request.password = object->value(QStringLiteral("password")).toString();
    request.timeOut = object->value(QStringLiteral("timeOut")).toInt();
    request.settleTime = object->value(QStringLiteral("settleTime")).toInt(4000);
    request.personCanAnswer = object->value(QStringLiteral("personCanAnswer")).toBool();
    request.keepSession = object->value(QStringLiteral("keepSession")).toBool();
    request.personLimit = object->value(QStringLiteral("personLimit")).toInt(300000);
    request.languageModule = object->value(QStringLiteral("languageModule")).toString();
    const QJsonArray near = object->value(QStringLiteral("personNear")).toArray();
    if (near.size() == 4)
        request.personNear = QRect(near[0].toInt(), near[1].toInt(), near[2].toInt(), near[3].toInt());
    return request;
}

QByteArray AttemptWire::encode(const Report& report)
{
    QJsonObject object { { QStringLiteral("report"), QLatin1String(ReportKinds[int(report.kind)]) },
        { QStringLiteral("attempt"), report.attempt } };
    switch (report.kind) {
    case Report::Kind::Status:
        object.insert(QStringLiteral("status"), int(report.status));
        object.insert(QStringLiteral("submitted"), report.submitted);
        object.insert(QStringLiteral("confirmed"), report.confirmed);
        object.insert(QStringLiteral("keptSession"), report.keptSession);
        object.insert(QStringLiteral("diagnostic"), report.diagnostic);
        object.insert(QStringLiteral("reason"), int(report.failure.reason));
        object.insert(QStringLiteral("detail"), report.failure.detail);
        object.insert(QStringLiteral("personPage"), report.personPage);
        break;
    case Report::Kind::CheckStep:
        object.insert(QStringLiteral("step"), report.step.step);
        object.insert(QStringLiteral("passed"), report.step.passed);
        object.insert(QStringLiteral("detail"), report.step.detail);
        break;
    case Report::Kind::PersonNeeded:
        object.insert(QStringLiteral("provider"), report.provider);
        object.insert(QStringLiteral("address"), report.address);
        break;
    case Report::Kind::DefinitionSaved:
        object.insert(QStringLiteral("address"), report.address);
        break;
    case Report::Kind::PersonDone:
        break;
    }
    return line(object);
}

std::optional<AttemptWire::Report> AttemptWire::decodeReport(const QByteArray& text)
{
    const std::optional<QJsonObject> object = objectOf(text);
    if (!object)
        return std::nullopt;
    const auto kind = kindNamed<Report::Kind>(object->value(QStringLiteral("report")).toString(), ReportKinds);
    if (!kind)
        return std::nullopt;
    Report report;
    report.kind = *kind;
    report.attempt = object->value(QStringLiteral("attempt")).toInteger();
    const int status = object->value(QStringLiteral("status")).toInt(ssReady);
    // A status outside the engine's range would end no attempt and start none: it is no report.
    if (status < ssCancelled || status > ssTimedOut)
        return std::nullopt;
    report.status = TSMSStatus(status);
    report.submitted = object->value(QStringLiteral("submitted")).toBool();
    report.confirmed = object->value(QStringLiteral("confirmed")).toBool();
    report.keptSession = object->value(QStringLiteral("keptSession")).toBool();
    report.diagnostic = object->value(QStringLiteral("diagnostic")).toString();
    report.failure.reason = FailureReason(object->value(QStringLiteral("reason")).toInt());
    report.failure.detail = object->value(QStringLiteral("detail")).toString();
    report.personPage = object->value(QStringLiteral("personPage")).toString();
    report.step.step = object->value(QStringLiteral("step")).toString();
    report.step.passed = object->value(QStringLiteral("passed")).toBool();
    report.step.detail = report.failure.detail;
    report.provider = object->value(QStringLiteral("provider")).toString();
    report.address = object->value(QStringLiteral("address")).toString();
    return report;
}

AttemptWire::Report AttemptWire::statusOf(const TSMSBaseForm& engine)
{
    Report report;
    report.status = engine.Status;
    report.submitted = engine.Submitted;
    report.confirmed = engine.Confirmed;
    report.keptSession = engine.UsedKeptSession();
    report.diagnostic = engine.Diagnostic;
    report.failure = engine.Failure;
    report.personPage = engine.PersonPage;
    return report;
}
