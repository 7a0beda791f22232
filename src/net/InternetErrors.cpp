#include "InternetErrors.h"

#include <curl/curl.h>
#include <openssl/x509_vfy.h>

namespace InternetErrors {
QString message(int code)
{
    switch (code) {
    case Timeout:
        return QStringLiteral("The operation timed out");
    case ExtendedError:
        return QStringLiteral("The server returned extended information");
    case InternalError:
        return QStringLiteral("An internal error occurred in the Internet extensions");
    case InvalidUrl:
        return QStringLiteral("The URL is invalid");
    case UnrecognizedScheme:
        return QStringLiteral("The URL does not use a recognized protocol");
    case NameNotResolved:
        return QStringLiteral("The server name or address could not be resolved");
    case OperationCancelled:
        return QStringLiteral("The operation was canceled");
    case IncorrectHandleState:
        return QStringLiteral("The requested operation cannot be carried out because the handle supplied is "
                              "not in the correct state");
    case CannotConnect:
        return QStringLiteral("A connection with the server could not be established");
    case ConnectionAborted:
        return QStringLiteral("The connection with the server was terminated abnormally");
    case ConnectionReset:
        return QStringLiteral("The connection with the server was reset");
    case SecCertDateInvalid:
        return QStringLiteral("The date in the certificate is invalid or has expired");
    case SecCertCnInvalid:
        return QStringLiteral("The host name in the certificate is invalid or does not match");
    case HttpToHttpsOnRedir:
        return QStringLiteral("The application is moving from a non-SSL to an SSL connection because of a "
                              "redirect");
    case HttpsToHttpOnRedir:
        return QStringLiteral("The application is moving from an SSL to an non-SSL connection because of a "
                              "redirect");
    case InvalidCa:
        return QStringLiteral("The certificate authority is invalid or incorrect");
    case AsyncThreadFailed:
        return QStringLiteral("The application could not start an asynchronous thread");
    case RedirectSchemeChange:
        return QStringLiteral("The redirection could not be handled because the scheme changed");
    case HttpInvalidServerResponse:
        return QStringLiteral("The server returned an invalid or unrecognized response");
    case HttpRedirectFailed:
        return QStringLiteral("The HTTP redirect request failed");
    case SecurityChannelError:
        return QStringLiteral("An error occurred in the secure channel support");
    case SecInvalidCert:
        return QStringLiteral("The SSL certificate is invalid");
    default:
        return QStringLiteral("Internet error %1").arg(code);
    }
}

static int fromVerifyResult(long verifyResult)
{
    switch (verifyResult) {
    case X509_V_ERR_CERT_NOT_YET_VALID:
    case X509_V_ERR_CERT_HAS_EXPIRED:
        return SecCertDateInvalid;
    // The chain was good and libcurl's own host name check failed; it reports that as no error or as an
    // unspecified one.
    case X509_V_OK:
    case X509_V_ERR_UNSPECIFIED:
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
        return SecCertCnInvalid;
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
        return InvalidCa;
    default:
        return SecInvalidCert;
    }
}

int fromCurl(int curlCode, long verifyResult)
{
    switch (curlCode) {
    case CURLE_OK:
        return 0;
    case CURLE_UNSUPPORTED_PROTOCOL:
        // Only http and https addresses ever reach libcurl, so this is a reply without an HTTP status line.
        return HttpInvalidServerResponse;
    case CURLE_URL_MALFORMAT:
        return InvalidUrl;
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
        return NameNotResolved;
    case CURLE_COULDNT_CONNECT:
        return CannotConnect;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_GOT_NOTHING:
    case CURLE_BAD_CONTENT_ENCODING:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
        return HttpInvalidServerResponse;
    case CURLE_PARTIAL_FILE:
        return ConnectionAborted;
    case CURLE_OPERATION_TIMEDOUT:
        return Timeout;
    case CURLE_SSL_CONNECT_ERROR:
        return SecurityChannelError;
    case CURLE_ABORTED_BY_CALLBACK:
        return OperationCancelled;
    case CURLE_TOO_MANY_REDIRECTS:
        return HttpRedirectFailed;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
        return ConnectionReset;
    case CURLE_PEER_FAILED_VERIFICATION:
        return fromVerifyResult(verifyResult);
    case CURLE_SSL_CACERT_BADFILE:
        return InvalidCa;
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        return SecInvalidCert;
    default:
        return InternalError;
    }
}
} // namespace InternetErrors
