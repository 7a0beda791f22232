#include "CurlLibrary.h"

#include <dlfcn.h>
#include <mutex>

namespace
{
    CurlLibrary g_api;
    bool g_loaded = false;
    QString g_error;

    template<typename Function>
    bool resolve(void* library, const char* name, Function& target)
    {
        target = reinterpret_cast<Function>(::dlsym(library, name));
        if (!target)
            g_error = QStringLiteral("%1 lacks %2").arg(QLatin1String(ZELKORA_CURL_SONAME), QLatin1String(name));
        return target != nullptr;
    }

    void open()
    {
        void* curl = ::dlopen(ZELKORA_CURL_SONAME, RTLD_NOW | RTLD_LOCAL);
        // libcurl has loaded its TLS libraries as its own dependencies; asking again only finds them.
        void* ssl = curl ? ::dlopen("libssl.so.3", RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD) : nullptr;
        void* crypto = curl ? ::dlopen("libcrypto.so.3", RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD) : nullptr;
        if (!curl || !ssl || !crypto) {
            const char* reason = ::dlerror();
            g_error = QStringLiteral("cannot open %1: %2")
                          .arg(QLatin1String(ZELKORA_CURL_SONAME), QString::fromLocal8Bit(reason ? reason : "its TLS library is not OpenSSL 3"));
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
            && resolve(curl, "curl_slist_append", a.slist_append)
            && resolve(curl, "curl_slist_free_all", a.slist_free_all) && resolve(curl, "curl_url", a.url)
            && resolve(curl, "curl_url_set", a.url_set) && resolve(curl, "curl_url_cleanup", a.url_cleanup)
            && resolve(ssl, "SSL_CTX_get0_param", a.SSL_CTX_get0_param)
            && resolve(crypto, "X509_VERIFY_PARAM_set_flags", a.X509_VERIFY_PARAM_set_flags);
        if (!complete)
            return;
        if (a.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
            g_error = QStringLiteral("libcurl could not initialise");
            return;
        }
        g_loaded = true;
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
