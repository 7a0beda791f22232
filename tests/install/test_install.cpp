// The build installed the way a user or the Debian package installs it, and the installed programs run from
// there against the sandbox: the desktop program started with /quiet, zelkora-cli refreshing and sending.
// Two roots: `cmake --install` into a scratch prefix, and the package unpacked with dpkg-deb when one was built
// in this build folder ("make package") after the programs.
#include "SandboxServer.h"
#include "TestEnv.h"
#include "settings/ProgramSettings.h"

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString AppId = QStringLiteral(ZELKORA_APP_ID);
const QString BuildDir = QStringLiteral(ZELKORA_BUILD_DIR);
const QString BinDir = QStringLiteral(ZELKORA_INSTALL_BINDIR);
const QString LibDir = QStringLiteral(ZELKORA_INSTALL_LIBDIR);
const QString DataDir = QStringLiteral(ZELKORA_INSTALL_DATADIR);
const QString ManDir = QStringLiteral(ZELKORA_INSTALL_MANDIR);

// The names of the files opened in the watched folders, as the kernel reports them: which language module
// and which browser library a program really read.
class OpenedFiles
{
public:
    OpenedFiles()
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
    }
    ~OpenedFiles()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenedFiles(const OpenedFiles&) = delete;
    OpenedFiles& operator=(const OpenedFiles&) = delete;

    bool watch(const QString& folder)
    {
        return m_fd >= 0 && inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_OPEN) >= 0;
    }
    // The names opened since the last call.
    QStringList take()
    {
        QStringList names;
        alignas(inotify_event) char buffer[8192];
        for (;;) {
            const ssize_t size = ::read(m_fd, buffer, sizeof buffer);
            if (size <= 0)
                break;
            for (ssize_t at = 0; at < size;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0)
                    names << QFile::decodeName(event->name);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return names;
    }

private:
    int m_fd;
};

using Run = TestEnv::ProgramRun;

// Runs a tool to its end (no event loop needed: the sandbox is not involved).
Run tool(const QString& program, const QStringList& arguments, int timeoutMs = 120000)
{
    QProcess process;
    process.start(program, arguments);
    Run run;
    if (!process.waitForStarted(10000) || !process.waitForFinished(timeoutMs))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

int modeOf(const QString& path)
{
    struct stat info
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// "Key=Value" lines of a desktop entry's main group.
QMap<QString, QString> desktopEntry(const QString& file)
{
    QFile in(file);
    QMap<QString, QString> keys;
    if (!in.open(QIODevice::ReadOnly))
        return keys;
    bool inMain = false;
    const QStringList lines = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('[')))
            inMain = line == QLatin1String("[Desktop Entry]");
        else if (inMain && line.contains(QLatin1Char('=')))
            keys.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1));
    }
    return keys;
}
} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

    SandboxServer m_sandbox;
    QTemporaryDir m_scratch;
    QString m_cmakeRoot;
    QString m_packageRoot;
    QString m_packageFile;
    QString m_noPackage; // why the package's rows are skipped
    int m_users = 0;

    void addRoots()
    {
        QTest::addColumn<QString>("root");
        QTest::newRow("cmake --install") << m_cmakeRoot;
        QTest::newRow("Debian package") << m_packageRoot;
    }

    // A user's own fresh folders, and the environment the installed programs run in: no ZELKORA_APPDIR, so
    // the data go where an installed program puts them.
    QString freshUser()
    {
        QString user = m_scratch.path() + QStringLiteral("/user%1/").arg(++m_users);
        for (const char* folder : { "home", "config", "data", "cache" })
            QDir().mkpath(user + QLatin1String(folder));
        QDir().mkpath(user + QStringLiteral("runtime"));
        QFile::setPermissions(user + QStringLiteral("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return user;
    }
    QProcessEnvironment environmentOf(const QString& user) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("ZELKORA_APPDIR"));
        env.remove(QStringLiteral("ZELKORA_BROWSER_LIBRARY"));
        env.insert(QStringLiteral("HOME"), user + QStringLiteral("home"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), user + QStringLiteral("config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), user + QStringLiteral("data"));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), user + QStringLiteral("cache"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), user + QStringLiteral("runtime"));
        env.insert(QStringLiteral("ZELKORA_SERVICE_URL"), m_sandbox.baseUrl());
        return env;
    }

    // Starts Xvfb on a free display and returns its name (":N"); empty when it cannot be started.
    static QString startXvfb(QProcess& xvfb)
    {
        xvfb.start(QStringLiteral("Xvfb"),
            { QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp") });
        if (!xvfb.waitForStarted(5000))
            return QString();
        QByteArray number;
        QElapsedTimer timer;
        timer.start();
        while (!number.contains('\n') && timer.elapsed() < 10000 && xvfb.state() == QProcess::Running) {
            xvfb.waitForReadyRead(100);
            number += xvfb.readAllStandardOutput();
        }
        return number.contains('\n') ? QLatin1Char(':') + QString::fromLatin1(number.trimmed()) : QString();
    }

    // Runs an installed program while this process goes on serving the sandbox.
    Run serve(const QString& program, const QStringList& arguments, const QProcessEnvironment& env)
    {
        return TestEnv::runProgram(program, arguments, env, 90000);
    }

    QString newestPackage() const
    {
        const QFileInfoList found
            = QDir(BuildDir).entryInfoList({ QStringLiteral("zelkora_*.deb") }, QDir::Files, QDir::Time);
        return found.isEmpty() ? QString() : found.first().absoluteFilePath();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_scratch.isValid());
        QVERIFY(m_sandbox.listen());

        m_cmakeRoot = m_scratch.path() + QStringLiteral("/cmake-root/");
        const Run install = tool(QStringLiteral(ZELKORA_CMAKE),
            { QStringLiteral("--install"), BuildDir, QStringLiteral("--prefix"), m_cmakeRoot + QStringLiteral("usr") });
        QVERIFY2(install.exitCode == 0, qPrintable(install.out + install.err));

        m_packageRoot = m_scratch.path() + QStringLiteral("/package-root/");
        m_packageFile = newestPackage();
        const QFileInfo built(BuildDir + QStringLiteral("/bin/zelkora"));
        if (m_packageFile.isEmpty()) {
            m_noPackage = QStringLiteral("no package in the build folder (make package builds one)");
        } else if (QFileInfo(m_packageFile).lastModified() < built.lastModified()) {
            m_noPackage
                = QStringLiteral("%1 is older than the programs; make package builds it anew").arg(m_packageFile);
        } else {
            const Run unpack = tool(QStringLiteral("dpkg-deb"), { QStringLiteral("-x"), m_packageFile, m_packageRoot });
            QVERIFY2(unpack.exitCode == 0, qPrintable(unpack.err));
        }
    }

    void installsItsFilesWithTheirModes_data() { addRoots(); }
    void installsItsFilesWithTheirModes()
    {
        QFETCH(QString, root);
        if (root == m_packageRoot && !m_noPackage.isEmpty())
            QSKIP(qPrintable(m_noPackage));

        // Only these: nothing of the tests or the tools, no language module in the programs' folder.
        const QString usr = QStringLiteral("usr/");
        const QString data = usr + DataDir + QLatin1Char('/');
        QStringList expected {
            usr + BinDir + QStringLiteral("/zelkora 755"),
            usr + BinDir + QStringLiteral("/zelkora-cli 755"),
            usr + BinDir + QStringLiteral("/zelkora-engine 755"),
            usr + BinDir + QStringLiteral("/zelkora-sandbox 755"),
            usr + LibDir + QStringLiteral("/zelkora/zelkora-browser.so 644"),
            data + QStringLiteral("zelkora/zelkora.ENU 644"),
            data + QStringLiteral("zelkora/zelkora.HEB 644"),
            data + QStringLiteral("zelkora/Zelkora_heb.HLP 644"),
            data + QStringLiteral("applications/") + AppId + QStringLiteral(".desktop 644"),
            data + QStringLiteral("metainfo/") + AppId + QStringLiteral(".metainfo.xml 644"),
            data + QStringLiteral("icons/hicolor/scalable/apps/") + AppId + QStringLiteral(".svg 644"),
            usr + ManDir + QStringLiteral("/man1/zelkora.1.gz 644"),
            usr + ManDir + QStringLiteral("/man1/zelkora-cli.1.gz 644"),
            usr + ManDir + QStringLiteral("/man1/zelkora-sandbox.1.gz 644"),
            usr + ManDir + QStringLiteral("/man1/zelkora-engine.1.gz 644"),
            data + QStringLiteral("doc/zelkora/copyright 644"),
            data + QStringLiteral("doc/zelkora/changelog.Debian.gz 644"),
            data + QStringLiteral("lintian/overrides/zelkora 644"),
        };
        expected.sort();

        QStringList files;
        QStringList badFolders;
        QDirIterator it(
            root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString relative = path.mid(root.size());
            const int mode = modeOf(path);
            if (it.fileInfo().isDir() && !it.fileInfo().isSymLink()) {
                if (mode != 0755)
                    badFolders << QStringLiteral("%1 %2").arg(relative).arg(mode, 0, 8);
            } else {
                files << QStringLiteral("%1 %2").arg(relative).arg(mode, 0, 8);
            }
        }
        files.sort();
        QCOMPARE(files, expected);
        QVERIFY2(badFolders.isEmpty(), qPrintable(badFolders.join(QLatin1String(", "))));

        // Compressed at their best and without a time in the header, so that two builds give the same bytes.
        for (const QString& line : expected) {
            const QString file = root + line.section(QLatin1Char(' '), 0, 0);
            if (!file.endsWith(QLatin1String(".gz")))
                continue;
            QFile in(file);
            QVERIFY(in.open(QIODevice::ReadOnly));
            const QByteArray header = in.read(10);
            QVERIFY2(header.startsWith("\x1f\x8b\x08"), qPrintable(file));
            QVERIFY2(header.mid(4, 4) == QByteArray(4, '\0'), qPrintable(file + QStringLiteral(": a time")));
            QCOMPARE(int(header.at(3)) & 0x08, 0); // no file name
            QCOMPARE(int(header.at(8)), 2); // best compression
        }
    }

    // The demo operators of the welcome box: the installed sandbox, beside the desktop program that looks for it
    // there, starts on a free port of 127.0.0.1 and says where.
    void demoOperatorsRunFromTheInstall_data() { addRoots(); }
    void demoOperatorsRunFromTheInstall()
    {
        QFETCH(QString, root);
        if (root == m_packageRoot && !m_noPackage.isEmpty())
            QSKIP(qPrintable(m_noPackage));
        QProcess sandbox;
        sandbox.start(root + QStringLiteral("usr/") + BinDir + QStringLiteral("/zelkora-sandbox"),
            { QStringLiteral("--port"), QStringLiteral("0") });
        const auto stop = qScopeGuard([&sandbox] {
            sandbox.terminate();
            if (!sandbox.waitForFinished(5000))
                sandbox.kill();
        });
        QVERIFY(sandbox.waitForStarted(10000));
        QElapsedTimer timer;
        timer.start();
        while (!sandbox.canReadLine() && timer.elapsed() < 20000 && sandbox.state() == QProcess::Running)
            sandbox.waitForReadyRead(200);
        const QString line = QString::fromUtf8(sandbox.readLine()).trimmed();
        QVERIFY2(line.startsWith(QStringLiteral("sandbox listening on http://127.0.0.1:")), qPrintable(line));
    }

    void menuEntryAndMetadataAgree_data() { addRoots(); }
    void menuEntryAndMetadataAgree()
    {
        QFETCH(QString, root);
        if (root == m_packageRoot && !m_noPackage.isEmpty())
            QSKIP(qPrintable(m_noPackage));
        const QString usr = root + QStringLiteral("usr/");
        const QString desktopFile
            = usr + DataDir + QStringLiteral("/applications/") + AppId + QStringLiteral(".desktop");
        const QString metainfo = usr + DataDir + QStringLiteral("/metainfo/") + AppId + QStringLiteral(".metainfo.xml");

        // The menu entry starts an installed program and shows the installed icon.
        const QMap<QString, QString> entry = desktopEntry(desktopFile);
        const QString exec = entry.value(QStringLiteral("Exec")).section(QLatin1Char(' '), 0, 0);
        QVERIFY2(!exec.isEmpty() && QFileInfo(usr + BinDir + QLatin1Char('/') + exec).isExecutable(), qPrintable(exec));
        QVERIFY(QFileInfo::exists(usr + DataDir + QStringLiteral("/icons/hicolor/scalable/apps/")
            + entry.value(QStringLiteral("Icon")) + QStringLiteral(".svg")));

        // The metadata names this component, the installed menu entry and the installed programs.
        QFile in(metainfo);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QString xml = QString::fromUtf8(in.readAll());
        QVERIFY(xml.contains(QStringLiteral("<id>%1</id>").arg(AppId)));
        QVERIFY(xml.contains(
            QStringLiteral("<launchable type=\"desktop-id\">%1</launchable>").arg(QFileInfo(desktopFile).fileName())));
        const QRegularExpression binary(QStringLiteral("<binary>([^<]+)</binary>"));
        int binaries = 0;
        for (auto match = binary.globalMatch(xml); match.hasNext(); ++binaries) {
            const QString name = match.next().captured(1);
            QVERIFY2(QFileInfo(usr + BinDir + QLatin1Char('/') + name).isExecutable(), qPrintable(name));
        }
        QCOMPARE(binaries, 2);

        const QString validateDesktop = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        const QString appstream = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
        if (validateDesktop.isEmpty() || appstream.isEmpty())
            QSKIP("desktop-file-validate or appstreamcli is not installed (scripts/install-deps installs them)");
        const Run desktop = tool(validateDesktop, { desktopFile });
        QVERIFY2(desktop.exitCode == 0 && desktop.out.trimmed().isEmpty(), qPrintable(desktop.out + desktop.err));
        const Run metadata = tool(appstream, { QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo });
        QVERIFY2(metadata.exitCode == 0, qPrintable(metadata.out + metadata.err));
    }

    // The installed desktop program starts, reads the language module chosen (or English by default) and its
    // browser library from the install's folders, asks the sandbox service for the definitions, keeps them in
    // the user's data folder, and ends in order at SIGTERM, leaving the start-with-the-session entry.
    void desktopProgramRunsFromTheInstall_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("language"); // empty: none chosen
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("otherModule");
        // No language chosen: the desktop's, Hebrew under LANG=C.UTF-8.
        QTest::newRow("cmake --install, no language chosen") << m_cmakeRoot << ""
                                                             << "zelkora.HEB"
                                                             << "zelkora.ENU";
        QTest::newRow("cmake --install, Hebrew") << m_cmakeRoot << "HEB"
                                                 << "zelkora.HEB"
                                                 << "zelkora.ENU";
        QTest::newRow("Debian package, no language chosen") << m_packageRoot << ""
                                                            << "zelkora.HEB"
                                                            << "zelkora.ENU";
        QTest::newRow("Debian package, English") << m_packageRoot << "ENU"
                                                 << "zelkora.ENU"
                                                 << "zelkora.HEB";
    }
    void desktopProgramRunsFromTheInstall()
    {
        QFETCH(QString, root);
        QFETCH(QString, language);
        QFETCH(QString, module);
        QFETCH(QString, otherModule);
        if (root == m_packageRoot && !m_noPackage.isEmpty())
            QSKIP(qPrintable(m_noPackage));

        const QString usr = root + QStringLiteral("usr/");
        const QString bin = usr + BinDir + QLatin1Char('/');
        const QString user = freshUser();
        if (!language.isEmpty()) {
            const QByteArray ownConfig = qgetenv("XDG_CONFIG_HOME");
            qputenv("XDG_CONFIG_HOME", QFile::encodeName(user + QStringLiteral("config")));
            ProgramSettings::writeLanguage(language);
            qputenv("XDG_CONFIG_HOME", ownConfig);
        }
        OpenedFiles opened;
        QVERIFY(opened.watch(usr + DataDir + QStringLiteral("/zelkora")));
        QVERIFY(opened.watch(usr + LibDir + QStringLiteral("/zelkora")));
        const QString providers = user + QStringLiteral("data/zelkora/providers.dat");

        // On an X server of its own, as on a desktop; offscreen where there is no Xvfb.
        QProcessEnvironment env = environmentOf(user);
        QProcess xvfb;
        const QString display = startXvfb(xvfb);
        if (!display.isEmpty()) {
            env.remove(QStringLiteral("QT_QPA_PLATFORM"));
            env.insert(QStringLiteral("DISPLAY"), display);
        } else {
            qInfo("no Xvfb: the program runs offscreen");
        }
        const auto stopXvfb = qScopeGuard([&xvfb] {
            xvfb.terminate();
            xvfb.waitForFinished(5000);
        });
        QProcess program;
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(bin + QStringLiteral("zelkora"), { QStringLiteral("/quiet") });
        QVERIFY(program.waitForStarted(10000));
        QElapsedTimer timer;
        timer.start();
        while (program.state() == QProcess::Running && !QFileInfo::exists(providers) && timer.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        const bool running = program.state() == QProcess::Running;
        program.terminate();
        timer.restart();
        while (program.state() != QProcess::NotRunning && timer.elapsed() < 15000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        const QString output = QString::fromUtf8(program.readAll());
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
            QFAIL(qPrintable(QStringLiteral("the program did not end at SIGTERM: ") + output));
        }
        QVERIFY2(running, qPrintable(QStringLiteral("the program ended at start: ") + output));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY2(program.exitCode() == 0, qPrintable(output));

        QVERIFY2(m_sandbox.hits(QStringLiteral("/smsinit")) > 0, qPrintable(output));
        QVERIFY2(QFileInfo::exists(providers), qPrintable(output));
        QVERIFY(!QFileInfo::exists(bin + QStringLiteral("providers.dat")));
        const QStringList names = opened.take();
        QVERIFY2(names.contains(module) && !names.contains(otherModule), qPrintable(names.join(QLatin1Char(' '))));
        QVERIFY2(names.contains(QStringLiteral("zelkora-browser.so")), qPrintable(names.join(QLatin1Char(' '))));

        const QMap<QString, QString> autostart
            = desktopEntry(user + QStringLiteral("config/autostart/zelkora.desktop"));
        QCOMPARE(autostart.value(QStringLiteral("Exec")), bin + QStringLiteral("zelkora /quiet"));
    }

    // An install has no service address of its own: with none in the settings or the environment, the
    // desktop program says so once and asks nobody for definitions, statistics or banners.
    void noServiceAddressAsksNobody_data() { addRoots(); }
    void noServiceAddressAsksNobody()
    {
        QFETCH(QString, root);
        if (root == m_packageRoot && !m_noPackage.isEmpty())
            QSKIP(qPrintable(m_noPackage));
        const QString user = freshUser();
        QProcessEnvironment env = environmentOf(user);
        env.remove(QStringLiteral("ZELKORA_SERVICE_URL"));
        const int hitsBefore = m_sandbox.hits(QStringLiteral("/smsinit"));
        QProcess program;
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(
            root + QStringLiteral("usr/") + BinDir + QStringLiteral("/zelkora"), { QStringLiteral("/quiet") });
        QVERIFY(program.waitForStarted(10000));
        QString output;
        QElapsedTimer timer;
        timer.start();
        // The first look for the service is a second after the start; a few more seconds show nothing follows.
        while (program.state() == QProcess::Running && timer.elapsed() < 5000) {
            program.waitForReadyRead(100);
            output += QString::fromUtf8(program.readAll());
        }
        const bool running = program.state() == QProcess::Running;
        program.terminate();
        if (!program.waitForFinished(15000))
            program.kill();
        output += QString::fromUtf8(program.readAll());
        QVERIFY2(running, qPrintable(output));
        QCOMPARE(output.count(QStringLiteral("no service address is set")), 1);
        QCOMPARE(m_sandbox.hits(QStringLiteral("/smsinit")), hitsBefore);
        QVERIFY(!QFileInfo::exists(user + QStringLiteral("data/zelkora/providers.dat")));
    }

    // The installed zelkora-cli refreshes the definitions into the user's data folder and sends through the
    // sandbox's operators with the installed browser library.
    void cliSendsFromTheInstall_data() { addRoots(); }
    void cliSendsFromTheInstall()
    {
        QFETCH(QString, root);
        if (root == m_packageRoot && !m_noPackage.isEmpty())
            QSKIP(qPrintable(m_noPackage));
        const QString usr = root + QStringLiteral("usr/");
        const QString cli = usr + BinDir + QStringLiteral("/zelkora-cli");
        const QString user = freshUser();
        QDir().mkpath(user + QStringLiteral("config/zelkora"));
        QFile ini(user + QStringLiteral("config/zelkora/SMS.INI"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[General]\r\nTimeOut=30\r\n[Sahar]\r\nUserName=demo\r\nPassword=demo1234\r\n");
        ini.close();
        const QProcessEnvironment env = environmentOf(user);
        OpenedFiles opened;
        QVERIFY(opened.watch(usr + LibDir + QStringLiteral("/zelkora")));
        m_sandbox.clearSubmissions();

        const Run refresh = serve(cli, { QStringLiteral("refresh") }, env);
        QVERIFY2(refresh.exitCode == 0, qPrintable(refresh.out + refresh.err));
        QVERIFY(QFileInfo::exists(user + QStringLiteral("data/zelkora/providers.dat")));

        const Run send = serve(cli,
            { QStringLiteral("send"), QStringLiteral("--from"), QStringLiteral("דנה"), QStringLiteral("--to"),
                QStringLiteral("052-1234567"), QStringLiteral("--to"), QStringLiteral("057-7654321"),
                QStringLiteral("--text"), QStringLiteral("שלום") },
            env);
        QVERIFY2(send.exitCode == 0, qPrintable(send.out + send.err));
        QVERIFY(send.out.contains(QStringLiteral("052-1234567\t6\tssSent\tההודעה נשלחה")));
        QVERIFY(send.out.contains(QStringLiteral("057-7654321\t6\tssSent\tההודעה נשלחה")));
        QStringList sent;
        for (const SandboxSubmission& submission : m_sandbox.submissions()) {
            if (submission.outcome == QLatin1String("accepted"))
                sent << submission.path;
        }
        QCOMPARE(sent, (QStringList { QStringLiteral("/sahar/send"), QStringLiteral("/kesher/send") }));
        QVERIFY(opened.take().contains(QStringLiteral("zelkora-browser.so")));
    }

    // What the package says of itself: its runtime needs, found by dpkg-shlibdeps and added by hand, and
    // files owned by root.
    void packageControlAndOwners()
    {
        if (!m_noPackage.isEmpty())
            QSKIP(qPrintable(m_noPackage));
        const Run fields = tool(QStringLiteral("dpkg-deb"),
            { QStringLiteral("-f"), m_packageFile, QStringLiteral("Package"), QStringLiteral("Section"),
                QStringLiteral("Depends") });
        QCOMPARE(fields.exitCode, 0);
        QVERIFY2(fields.out.contains(QStringLiteral("Package: zelkora\n")), qPrintable(fields.out));
        QVERIFY(fields.out.contains(QStringLiteral("Section: comm\n")));
        for (const char* needed : { "libqt6core6", "libqt6widgets6", "libqt6webenginecore6 ", "libcurl4", "libc6",
                 "libqt6webenginecore6-bin", "libqt6sql6-sqlite", "libsecret-1-0" })
            QVERIFY2(fields.out.contains(QLatin1String(needed)), qPrintable(QLatin1String(needed) + fields.out));

        const Run contents = tool(QStringLiteral("dpkg-deb"), { QStringLiteral("-c"), m_packageFile });
        QCOMPARE(contents.exitCode, 0);
        const QStringList lines = contents.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(!lines.isEmpty());
        for (const QString& line : lines)
            QVERIFY2(line.section(QLatin1Char(' '), 1, 1, QString::SectionSkipEmpty) == QLatin1String("root/root"),
                qPrintable(line));
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
