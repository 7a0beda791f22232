#pragma once

#include <QString>

// The Internet library's error numbers, kept so that owners can compare LastError with the numbers they
// know. Only the ones this component reports are listed.
namespace InternetErrors {
enum : int
{
    ErrorIoPending = 997,
    ErrorCancelled = 1223,
    Timeout = 12002,
    ExtendedError = 12003,
    InternalError = 12004,
    InvalidUrl = 12005,
    UnrecognizedScheme = 12006,
    NameNotResolved = 12007,
    OperationCancelled = 12017,
    IncorrectHandleState = 12019,
    CannotConnect = 12029,
    ConnectionAborted = 12030,
    ConnectionReset = 12031,
    SecCertDateInvalid = 12037,
    SecCertCnInvalid = 12038,
    HttpToHttpsOnRedir = 12039,
    HttpsToHttpOnRedir = 12040,
    InvalidCa = 12045,
    AsyncThreadFailed = 12047,
    RedirectSchemeChange = 12048,
    HttpInvalidServerResponse = 12152,
    HttpRedirectFailed = 12156,
    SecurityChannelError = 12157,
    SecInvalidCert = 12169,
};

// The message text of an error number; a number without a text of its own gives a generic text that
// names it.
QString message(int code);

// The error number for a libcurl result. `verifyResult` is the certificate check's result
// (CURLINFO_SSL_VERIFYRESULT), which tells the certificate failures apart.
int fromCurl(int curlCode, long verifyResult);
} // namespace InternetErrors
