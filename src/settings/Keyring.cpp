#include "Keyring.h"

// GLib's headers name struct members `signals`, which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <libsecret/secret.h>
#pragma pop_macro("signals")

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <condition_variable>
#include <dlfcn.h>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace {
// libsecret is opened at the keyring's first use, not linked: with it come GIO and GObject, which the
// program's start does not need. The headers give the functions' types; libsecret's own dependencies give
// GLib's and GIO's functions.
const char* const kSecretLibrary = "libsecret-1.so.0";

#define ZELKORA_SECRET_FUNCTIONS(F)                                                                                  \
    F(g_bus_get_sync)                                                                                                  \
    F(g_dbus_connection_set_exit_on_close)                                                                             \
    F(g_dbus_error_quark)                                                                                              \
    F(g_error_free)                                                                                                    \
    F(g_error_matches)                                                                                                 \
    F(g_hash_table_lookup)                                                                                             \
    F(g_hash_table_new)                                                                                                \
    F(g_hash_table_unref)                                                                                              \
    F(g_io_error_quark)                                                                                                \
    F(g_list_append)                                                                                                   \
    F(g_list_free)                                                                                                     \
    F(g_list_free_full)                                                                                                \
    F(g_object_unref)                                                                                                  \
    F(g_str_equal)                                                                                                     \
    F(g_str_hash)                                                                                                      \
    F(secret_attributes_build)                                                                                         \
    F(secret_collection_for_alias_sync)                                                                                \
    F(secret_collection_get_locked)                                                                                    \
    F(secret_error_get_quark)                                                                                          \
    F(secret_item_delete_sync)                                                                                         \
    F(secret_item_get_attributes)                                                                                      \
    F(secret_item_get_locked)                                                                                          \
    F(secret_item_get_secret)                                                                                          \
    F(secret_service_get_type)                                                                                         \
    F(secret_service_open_sync)                                                                                        \
    F(secret_service_search_sync)                                                                                      \
    F(secret_service_store_sync)                                                                                       \
    F(secret_service_unlock_sync)                                                                                      \
    F(secret_value_get)                                                                                                \
    F(secret_value_new)                                                                                                \
    F(secret_value_unref)

struct SecretLibrary
{
#define ZELKORA_DECLARE_FUNCTION(name) decltype(&::name) name = nullptr;
    ZELKORA_SECRET_FUNCTIONS(ZELKORA_DECLARE_FUNCTION)
#undef ZELKORA_DECLARE_FUNCTION
    // Why the library cannot be used; empty when every function was found.
    QString problem;
};

// Opened once, by whichever keyring thread comes first; never closed, as GObject's types cannot be unloaded.
const SecretLibrary& secrets()
{
    static const SecretLibrary library = [] {
        SecretLibrary loaded;
        void* handle = dlopen(kSecretLibrary, RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            loaded.problem = QString::fromLocal8Bit(dlerror());
            return loaded;
        }
#define ZELKORA_RESOLVE_FUNCTION(name)                                                                                 \
    loaded.name = reinterpret_cast<decltype(loaded.name)>(dlsym(handle, #name));                                       \
    if (!loaded.name && loaded.problem.isEmpty())                                                                      \
        loaded.problem = QStringLiteral("%1 has no %2").arg(QLatin1String(kSecretLibrary), QLatin1String(#name));
        ZELKORA_SECRET_FUNCTIONS(ZELKORA_RESOLVE_FUNCTION)
#undef ZELKORA_RESOLVE_FUNCTION
        return loaded;
    }();
    return library;
}

const SecretSchema& passwordSchema()
{
    static const SecretSchema schema = { "org.zelkora.Zelkora.Password", SECRET_SCHEMA_NONE,
        {
            { "provider", SECRET_SCHEMA_ATTRIBUTE_STRING },
            { nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING },
        },
        0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr };
    return schema;
}

// Owners of libsecret's and GLib's references, released on every path out.
template<typename T> struct GObjectRef
{
    T* object = nullptr;
    GObjectRef() = default;
    explicit GObjectRef(T* o)
        : object(o)
    {
    }
    GObjectRef(const GObjectRef&) = delete;
    GObjectRef& operator=(const GObjectRef&) = delete;
    ~GObjectRef()
    {
        if (object)
            secrets().g_object_unref(object);
    }
};

struct ErrorRef
{
    GError* error = nullptr;
    ~ErrorRef()
    {
        if (error)
            secrets().g_error_free(error);
    }
};

struct ItemList
{
    GList* items = nullptr;
    ~ItemList()
    {
        if (items)
            secrets().g_list_free_full(items, secrets().g_object_unref);
    }
};

struct HashRef
{
    GHashTable* table = nullptr;
    ~HashRef()
    {
        if (table)
            secrets().g_hash_table_unref(table);
    }
};

Keyring::Result failure(const GError* error)
{
    const SecretLibrary& library = secrets();
    const QString detail = QString::fromUtf8(error->message);
    if (error->domain == library.secret_error_get_quark() && error->code == SECRET_ERROR_IS_LOCKED)
        return { Keyring::Status::Locked, QString() };
    // The user dismissed the desktop's question (to create a keyring, say).
    if (library.g_error_matches(error, library.g_io_error_quark(), G_IO_ERROR_CANCELLED))
        return { Keyring::Status::Failed, detail };
    // No bus, nobody owning the service's name, a bus or a service that does not answer.
    if (error->domain == library.g_io_error_quark() || error->domain == library.g_dbus_error_quark())
        return { Keyring::Status::Unavailable, detail };
    return { Keyring::Status::Failed, detail };
}

GHashTable* attributesOf(const QString& provider)
{
    return secrets().secret_attributes_build(&passwordSchema(), "provider", provider.toUtf8().constData(), nullptr);
}

// A service object of its own for every call: the shared one libsecret offers stays tied to the bus and the
// service it first met, and a call on another thread must not share its session.
SecretService* openService(Keyring::Result& result)
{
    const SecretLibrary& library = secrets();
    if (!library.problem.isEmpty()) {
        result = { Keyring::Status::Unavailable, library.problem };
        return nullptr;
    }
    ErrorRef error;
    // GLib ends a program whose shared session-bus connection closes; a keyring that goes away must only
    // make the keyring unavailable. The service object below uses this same connection.
    GObjectRef<GDBusConnection> bus(library.g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error.error));
    if (!bus.object) {
        result = error.error ? failure(error.error) : Keyring::Result { Keyring::Status::Unavailable, QString() };
        return nullptr;
    }
    library.g_dbus_connection_set_exit_on_close(bus.object, FALSE);
    SecretService* service
        = library.secret_service_open_sync(library.secret_service_get_type(), nullptr, SECRET_SERVICE_OPEN_SESSION,
            nullptr, &error.error);
    if (!service)
        result = error.error ? failure(error.error) : Keyring::Result { Keyring::Status::Unavailable, QString() };
    return service;
}

Keyring::Contents readItems(Keyring::Access access)
{
    Keyring::Contents contents;
    GObjectRef<SecretService> service(openService(contents.result));
    if (!service.object)
        return contents;
    const SecretLibrary& library = secrets();
    HashRef any { library.g_hash_table_new(library.g_str_hash, library.g_str_equal) };
    int flags = SECRET_SEARCH_ALL | SECRET_SEARCH_LOAD_SECRETS;
    if (access == Keyring::Access::MayAsk)
        flags |= SECRET_SEARCH_UNLOCK;
    ErrorRef error;
    ItemList found { library.secret_service_search_sync(
        service.object, &passwordSchema(), any.table, static_cast<SecretSearchFlags>(flags), nullptr, &error.error) };
    if (error.error) {
        contents.result = failure(error.error);
        return contents;
    }
    for (GList* node = found.items; node; node = node->next) {
        SecretItem* item = static_cast<SecretItem*>(node->data);
        HashRef attributes { library.secret_item_get_attributes(item) };
        const auto* name = static_cast<const char*>(library.g_hash_table_lookup(attributes.table, "provider"));
        if (!name)
            continue;
        const QString provider = QString::fromUtf8(name);
        if (library.secret_item_get_locked(item)) {
            contents.locked.append(provider);
            continue;
        }
        SecretValue* value = library.secret_item_get_secret(item);
        if (!value)
            continue;
        gsize length = 0;
        const char* bytes = library.secret_value_get(value, &length);
        contents.passwords.insert(provider, QString::fromUtf8(bytes, static_cast<qsizetype>(length)));
        library.secret_value_unref(value);
    }
    if (!contents.locked.isEmpty())
        contents.result = { Keyring::Status::Locked, QString() };
    return contents;
}

// The default collection, unlocked; the desktop asks the user when it is locked. None at all is no error:
// storing into it then creates it, with the desktop's own questions.
Keyring::Result unlockDefaultCollection(SecretService* service)
{
    const SecretLibrary& library = secrets();
    ErrorRef error;
    GObjectRef<SecretCollection> collection(library.secret_collection_for_alias_sync(
        service, SECRET_COLLECTION_DEFAULT, SECRET_COLLECTION_NONE, nullptr, &error.error));
    if (error.error)
        return failure(error.error);
    if (!collection.object || !library.secret_collection_get_locked(collection.object))
        return {};
    GList* objects = library.g_list_append(nullptr, collection.object);
    const int unlocked = library.secret_service_unlock_sync(service, objects, nullptr, nullptr, &error.error);
    library.g_list_free(objects);
    if (error.error)
        return failure(error.error);
    return unlocked > 0 ? Keyring::Result {} : Keyring::Result { Keyring::Status::Locked, QString() };
}

Keyring::Result storeItem(const QString& provider, const QString& password)
{
    Keyring::Result result;
    GObjectRef<SecretService> service(openService(result));
    if (!service.object)
        return result;
    const SecretLibrary& library = secrets();
    result = unlockDefaultCollection(service.object);
    if (!result.ok())
        return result;
    HashRef attributes { attributesOf(provider) };
    const QByteArray secret = password.toUtf8();
    SecretValue* value = library.secret_value_new(secret.constData(), secret.size(), "text/plain");
    const QByteArray label = QStringLiteral("Zelkora: %1").arg(provider).toUtf8();
    ErrorRef error;
    library.secret_service_store_sync(service.object, &passwordSchema(), attributes.table, SECRET_COLLECTION_DEFAULT,
        label.constData(), value, nullptr, &error.error);
    library.secret_value_unref(value);
    return error.error ? failure(error.error) : Keyring::Result {};
}

Keyring::Result removeItems(const QString& provider)
{
    Keyring::Result result;
    GObjectRef<SecretService> service(openService(result));
    if (!service.object)
        return result;
    const SecretLibrary& library = secrets();
    HashRef attributes { attributesOf(provider) };
    ErrorRef error;
    ItemList found { library.secret_service_search_sync(service.object, &passwordSchema(), attributes.table,
        static_cast<SecretSearchFlags>(SECRET_SEARCH_ALL | SECRET_SEARCH_UNLOCK), nullptr, &error.error) };
    if (error.error)
        return failure(error.error);
    for (GList* node = found.items; node; node = node->next) {
        SecretItem* item = static_cast<SecretItem*>(node->data);
        if (library.secret_item_get_locked(item))
            return { Keyring::Status::Locked, QString() };
        if (!library.secret_item_delete_sync(item, nullptr, &error.error))
            return error.error ? failure(error.error) : Keyring::Result { Keyring::Status::Failed, QString() };
    }
    return {};
}

// Runs `work` on a thread of its own and waits for it at most `timeoutMs`. With `paint`, on the thread of the
// application's event loop, that loop goes on meanwhile without user input, so the windows are redrawn while
// the desktop asks the user something. A call that does not end in time is left to end on its own; its
// result is dropped.
template<typename T> T runOnItsOwnThread(std::function<T()> work, int timeoutMs, bool paint, T late)
{
    struct Shared
    {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        T value;
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared, work = std::move(work)] {
        T value = work();
        const std::lock_guard<std::mutex> lock(shared->mutex);
        shared->value = std::move(value);
        shared->done = true;
        shared->finished.notify_all();
    }).detach();

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    const QCoreApplication* application = QCoreApplication::instance();
    if (paint && application && QThread::currentThread() == application->thread()) {
        QEventLoop loop;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            const std::lock_guard<std::mutex> lock(shared->mutex);
            if (shared->done || std::chrono::steady_clock::now() >= deadline)
                loop.quit();
        });
        poll.start();
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    std::unique_lock<std::mutex> lock(shared->mutex);
    if (!shared->finished.wait_until(lock, deadline, [&shared] { return shared->done; }))
        return late;
    return std::move(shared->value);
}

Keyring::Result noAnswer(int timeoutMs)
{
    return { Keyring::Status::Unavailable, QStringLiteral("no answer within %1 s").arg(timeoutMs / 1000) };
}
} // namespace

QString Keyring::Result::text() const
{
    switch (status) {
    case Status::Ok:
        return QString();
    case Status::Locked:
        return QCoreApplication::translate("Keyring", "מחזיק המפתחות של שולחן העבודה נעול");
    case Status::Unavailable:
        return QCoreApplication::translate("Keyring", "מחזיק המפתחות של שולחן העבודה אינו זמין (%1)").arg(detail);
    case Status::Failed:
        break;
    }
    return QCoreApplication::translate("Keyring", "מחזיק המפתחות של שולחן העבודה סירב לבקשה (%1)").arg(detail);
}

Keyring::Contents Keyring::read(Access access)
{
    const bool mayAsk = access == Access::MayAsk;
    const int timeoutMs = mayAsk ? ChangeTimeoutMs : ReadTimeoutMs;
    Contents late;
    late.result = noAnswer(timeoutMs);
    return runOnItsOwnThread<Contents>([access] { return readItems(access); }, timeoutMs, mayAsk, late);
}

Keyring::Result Keyring::store(const QString& provider, const QString& password)
{
    return runOnItsOwnThread<Result>([provider, password] { return storeItem(provider, password); }, ChangeTimeoutMs,
        true, noAnswer(ChangeTimeoutMs));
}

Keyring::Result Keyring::remove(const QString& provider)
{
    return runOnItsOwnThread<Result>(
        [provider] { return removeItems(provider); }, ChangeTimeoutMs, true, noAnswer(ChangeTimeoutMs));
}
