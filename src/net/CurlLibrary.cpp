#include "CurlLibrary.h"

#include <QFile>

#include <cstring>
#include <dlfcn.h>
#include <mutex>

namespace {
CurlLibrary g_api;
bool g_loaded = false;
QString g_error;
QByteArray g_libraryFile = ZELKORA_CURL_SONAME;
CurlLibrary::OpenSsl g_openSsl;
bool g_openSslFound = false;

template<typename Function> bool resolve(void* library, const char* name, Function& target)
{
    target = reinterpret_cast<Function>(::dlsym(library, name));
    if (!target)
        g_error = QStringLiteral("%1 lacks %2").arg(QString::fromLocal8Bit(g_libraryFile), QLatin1String(name));
    return target != nullptr;
}

void open()
{
    void* curl = ::dlopen(g_libraryFile.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!curl) {
        const char* reason = ::dlerror();
        g_error = QStringLiteral("cannot open %1: %2")
                      .arg(QString::fromLocal8Bit(g_libraryFile), QString::fromLocal8Bit(reason ? reason : "unknown"));
        return;
    }
    CurlLibrary& a = g_api;
    const bool complete = resolve(curl, "curl_global_init", a.global_init)
        && resolve(curl, "curl_easy_init", a.easy_init) && resolve(curl, "curl_easy_setopt", a.easy_setopt)
        && resolve(curl, "curl_easy_getinfo", a.easy_getinfo) && resolve(curl, "curl_easy_cleanup", a.easy_cleanup)
        && resolve(curl, "curl_multi_init", a.multi_init) && resolve(curl, "curl_multi_add_handle", a.multi_add_handle)
        && resolve(curl, "curl_multi_remove_handle", a.multi_remove_handle)
        && resolve(curl, "curl_multi_perform", a.multi_perform) && resolve(curl, "curl_multi_poll", a.multi_poll)
        && resolve(curl, "curl_multi_wakeup", a.multi_wakeup)
        && resolve(curl, "curl_multi_info_read", a.multi_info_read)
        && resolve(curl, "curl_multi_cleanup", a.multi_cleanup) && resolve(curl, "curl_share_init", a.share_init)
        && resolve(curl, "curl_share_setopt", a.share_setopt) && resolve(curl, "curl_share_cleanup", a.share_cleanup)
        && resolve(curl, "curl_slist_append", a.slist_append) && resolve(curl, "curl_slist_free_all", a.slist_free_all)
        && resolve(curl, "curl_url", a.url) && resolve(curl, "curl_url_set", a.url_set)
        && resolve(curl, "curl_url_cleanup", a.url_cleanup) && resolve(curl, "curl_version_info", a.version_info);
    if (!complete)
        return;
    if (a.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        g_error = QStringLiteral("libcurl could not initialise");
        return;
    }
    g_loaded = true;
}

void findOpenSsl()
{
    if (!g_loaded)
        return;
    const curl_version_info_data* version = g_api.version_info(CURLVERSION_NOW);
    if (!version || !version->ssl_version || std::strncmp(version->ssl_version, "OpenSSL/3", 9) != 0)
        return;
    // libcurl has loaded its TLS libraries as its own dependencies; asking again only finds them.
    void* ssl = ::dlopen("libssl.so.3", RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
    void* crypto = ::dlopen("libcrypto.so.3", RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
    if (!ssl || !crypto)
        return;
    CurlLibrary::OpenSsl calls;
    calls.SSL_CTX_get0_param = reinterpret_cast<decltype(calls.SSL_CTX_get0_param)>(::dlsym(ssl, "SSL_CTX_get0_param"));
    calls.X509_VERIFY_PARAM_set_flags
        = reinterpret_cast<decltype(calls.X509_VERIFY_PARAM_set_flags)>(::dlsym(crypto, "X509_VERIFY_PARAM_set_flags"));
    if (!calls.SSL_CTX_get0_param || !calls.X509_VERIFY_PARAM_set_flags)
        return;
    g_openSsl = calls;
    g_openSslFound = true;
}
} // namespace

bool CurlLibrary::load(QString* error)
{
    static std::once_flag once;
    std::call_once(once, open);
    if (!g_loaded && error)
        *error = g_error;
    return g_loaded;
}

const CurlLibrary& CurlLibrary::api()
{
    return g_api;
}

const CurlLibrary::OpenSsl* CurlLibrary::openSsl()
{
    static std::once_flag once;
    std::call_once(once, findOpenSsl);
    return g_openSslFound ? &g_openSsl : nullptr;
}

void CurlLibrary::setLibraryFile(const QString& fileName)
{
    g_libraryFile = QFile::encodeName(fileName);
}
