#include "PrivateSecretService.h"

#pragma push_macro("signals")
#undef signals
#include <libsecret/secret.h>
#pragma pop_macro("signals")

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

namespace {
// The session bus's own rules without its service folders: nothing is started on demand, so a keyring that
// is not running is simply missing, and no prompter window is ever started.
const char* busConfig = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

void endProcess(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

// True once the Secret Service answers on the bus.
bool serviceAnswers()
{
    GError* error = nullptr;
    // Opening a session is a call the service must answer.
    SecretService* service
        = secret_service_open_sync(SECRET_TYPE_SERVICE, nullptr, SECRET_SERVICE_OPEN_SESSION, nullptr, &error);
    if (error)
        g_error_free(error);
    if (!service)
        return false;
    g_object_unref(service);
    return true;
}
} // namespace

PrivateSecretService::PrivateSecretService() = default;

PrivateSecretService::~PrivateSecretService()
{
    endProcess(m_keyring);
    endProcess(m_bus);
    if (m_connection)
        g_object_unref(m_connection);
}

QString PrivateSecretService::start()
{
    if (!m_dir.isValid())
        return QStringLiteral("no temporary folder");
    const QString path = m_dir.path();
    for (const char* sub : { "bus", "home", "data", "runtime" })
        QDir(path).mkpath(QString::fromLatin1(sub));
    QFile::setPermissions(
        path + QStringLiteral("/runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile config(path + QStringLiteral("/bus.conf"));
    if (!config.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write the bus configuration");
    config.write(QString::fromLatin1(busConfig).arg(path + QStringLiteral("/bus")).toUtf8());
    config.close();

    m_bus.start(QStringLiteral("dbus-daemon"),
        { QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
            QStringLiteral("--print-address=1") });
    if (!m_bus.waitForStarted(5000))
        return QStringLiteral("dbus-daemon did not start: ") + m_bus.errorString();
    const QDeadlineTimer deadline(10000);
    while (!m_bus.canReadLine() && !deadline.hasExpired())
        m_bus.waitForReadyRead(100);
    const QByteArray address = m_bus.readLine().trimmed();
    if (address.isEmpty())
        return QStringLiteral("dbus-daemon gave no address");
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    // Held until the end, so that every libsecret call of this process uses this connection, and GLib does not
    // end the process when the bus goes first.
    GError* error = nullptr;
    m_connection = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (!m_connection) {
        const QString problem = QString::fromUtf8(error->message);
        g_error_free(error);
        return problem;
    }
    g_dbus_connection_set_exit_on_close(static_cast<GDBusConnection*>(m_connection), FALSE);
    return startKeyring();
}

QString PrivateSecretService::startKeyring()
{
    const QString path = m_dir.path();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), path + QStringLiteral("/home"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), path + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), path + QStringLiteral("/runtime"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    m_keyring.setProcessEnvironment(environment);
    m_keyring.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // --unlock reads the login keyring's password from standard input, creating the keyring the first time.
    m_keyring.start(QStringLiteral("gnome-keyring-daemon"),
        { QStringLiteral("--foreground"), QStringLiteral("--unlock"), QStringLiteral("--components=secrets") });
    if (!m_keyring.waitForStarted(5000))
        return QStringLiteral("gnome-keyring-daemon did not start: ") + m_keyring.errorString();
    m_keyring.write(KeyringPassword);
    m_keyring.waitForBytesWritten(5000);
    m_keyring.closeWriteChannel();
    const QDeadlineTimer deadline(15000);
    while (!serviceAnswers()) {
        if (deadline.hasExpired() || m_keyring.state() == QProcess::NotRunning)
            return QStringLiteral("the keyring daemon does not answer on the bus");
        QThread::msleep(50);
    }
    return QString();
}

void PrivateSecretService::stopKeyring()
{
    endProcess(m_keyring);
    const QDeadlineTimer deadline(5000);
    while (serviceAnswers() && !deadline.hasExpired())
        QThread::msleep(50);
}

QString PrivateSecretService::lockDefaultCollection()
{
    GError* error = nullptr;
    SecretService* service
        = secret_service_open_sync(SECRET_TYPE_SERVICE, nullptr, SECRET_SERVICE_NONE, nullptr, &error);
    SecretCollection* collection = service
        ? secret_collection_for_alias_sync(service, SECRET_COLLECTION_DEFAULT, SECRET_COLLECTION_NONE, nullptr, &error)
        : nullptr;
    int locked = 0;
    if (collection) {
        GList* objects = g_list_append(nullptr, collection);
        locked = secret_service_lock_sync(service, objects, nullptr, nullptr, &error);
        g_list_free(objects);
        g_object_unref(collection);
    }
    if (service)
        g_object_unref(service);
    QString problem;
    if (error) {
        problem = QString::fromUtf8(error->message);
        g_error_free(error);
    } else if (locked != 1) {
        problem = QStringLiteral("the default collection was not locked");
    }
    return problem;
}
