#pragma once

#include "DefinitionCheck.h"
#include "TSMSBaseForm.h"
#include "common/SendFailure.h"
#include "service/TProvider.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

// An attempt and its reports as they cross between the desktop program and the engine worker
// (zelkora-engine): one JSON object on one line each, over a private pipe. Credentials travel only here,
// never on a command line.
namespace AttemptWire {

struct Request
{
    enum class Kind
    {
        Send,
        Check,
        Cancel,
        PersonCancelled,
        Show, // the worker's window (the teach window) comes to the front
    };
    Kind kind = Kind::Send;
    // For Send and Check: the attempt's number, which its reports carry; a report of an earlier attempt (the
    // end of one cancelled just before) is then told from the new one's.
    qint64 attempt = 0;
    // For Send and Check: the provider that serves the area code, and what the engine needs of the rest.
    TProvider provider;
    QStringList areaDefs;
    QString from;
    QString areaCode;
    QString phone;
    QString message;
    QString userName;
    QString password;
    qint32 timeOut = 0;
    int settleTime = 4000;
    bool personCanAnswer = false;
    int personLimit = 300000;
    // The attempt may use the worker's login of the attempt before it (TSMSBaseForm::KeepSession).
    bool keepSession = false;
    // Where the worker shows a page that waits for a person: in this interface language (the module's file;
    // empty for the built-in texts) and over this part of the screen (the handset; empty when unknown).
    QString languageModule;
    QRect personNear;
};

struct Report
{
    enum class Kind
    {
        Status, // the engine's status and what the attempt has found so far
        CheckStep, // a dry run's step
        PersonNeeded, // the attempt waits for a person on the worker's page
        PersonDone,
        DefinitionSaved, // the teach window wrote a definition (its file in `address`)
    };
    Kind kind = Kind::Status;
    qint64 attempt = 0; // the number of the attempt the worker runs
    TSMSStatus status = ssReady;
    bool submitted = false;
    bool confirmed = false;
    bool keptSession = false; // the attempt went to the message page on the login it kept
    QString diagnostic;
    SendFailure failure;
    QString personPage;
    CheckStep step;
    QString provider; // PersonNeeded: whose site
    QString address; // PersonNeeded: the page that waits
};

QByteArray encode(const Request& request);
QByteArray encode(const Report& report);
// Nothing for a line that is not a request or a report.
std::optional<Request> decodeRequest(const QByteArray& line);
std::optional<Report> decodeReport(const QByteArray& line);

// The engine's status and findings, as a Status report.
Report statusOf(const TSMSBaseForm& engine);

} // namespace AttemptWire
