#pragma once

#include <QString>

#include <curl/curl.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

// libcurl, opened at the first request rather than linked: with its TLS, Kerberos, LDAP and SSH libraries it
// is some thirty shared objects, whose loading would otherwise lengthen every start of a program that may
// not make a request for a while. The names are the library's own, without their "curl_" prefix.
//
// Whatever TLS library libcurl was built with, only its own symbols are needed. OpenSSL's are looked up
// apart (openSsl()), on the first request that relaxes the certificate date rule, which only OpenSSL lets
// the component do.
struct CurlLibrary
{
    decltype(&::curl_global_init) global_init = nullptr;
    decltype(&::curl_easy_init) easy_init = nullptr;
    decltype(&::curl_easy_setopt) easy_setopt = nullptr;
    decltype(&::curl_easy_getinfo) easy_getinfo = nullptr;
    decltype(&::curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&::curl_multi_init) multi_init = nullptr;
    decltype(&::curl_multi_add_handle) multi_add_handle = nullptr;
    decltype(&::curl_multi_remove_handle) multi_remove_handle = nullptr;
    decltype(&::curl_multi_perform) multi_perform = nullptr;
    decltype(&::curl_multi_poll) multi_poll = nullptr;
    decltype(&::curl_multi_wakeup) multi_wakeup = nullptr;
    decltype(&::curl_multi_info_read) multi_info_read = nullptr;
    decltype(&::curl_multi_cleanup) multi_cleanup = nullptr;
    decltype(&::curl_share_init) share_init = nullptr;
    decltype(&::curl_share_setopt) share_setopt = nullptr;
    decltype(&::curl_share_cleanup) share_cleanup = nullptr;
    decltype(&::curl_slist_append) slist_append = nullptr;
    decltype(&::curl_slist_free_all) slist_free_all = nullptr;
    decltype(&::curl_url) url = nullptr;
    decltype(&::curl_url_set) url_set = nullptr;
    decltype(&::curl_url_cleanup) url_cleanup = nullptr;
    decltype(&::curl_version_info) version_info = nullptr;

    // From the OpenSSL that libcurl itself uses.
    struct OpenSsl
    {
        decltype(&::SSL_CTX_get0_param) SSL_CTX_get0_param = nullptr;
        decltype(&::X509_VERIFY_PARAM_set_flags) X509_VERIFY_PARAM_set_flags = nullptr;
    };

    // Opens the library once (and runs its global initialisation); false, with the reason in `error`, when it
    // cannot be had.
    static bool load(QString* error = nullptr);
    // The opened library; only valid after load() succeeded.
    static const CurlLibrary& api();
    // OpenSSL's calls, looked up once on first use; null when libcurl's TLS library is not OpenSSL 3 (a
    // GnuTLS or NSS build) or the calls cannot be found. Only valid after load() succeeded.
    static const OpenSsl* openSsl();

    // The file load() opens, "libcurl.so.4" unless this was called before the first load: another build
    // of the same library (libcurl-gnutls.so.4), for tests and installations that have only that one.
    static void setLibraryFile(const QString& fileName);
};
