#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

// The demo operators for one run of the program: the package's sandbox network (zelkora-sandbox, the service
// and its operator sites on 127.0.0.1 only) started on a free port, and ended with this object, at the
// latest when the program ends. What the run writes of the sandbox's definitions (providers.dat, the banner
// table) is put back as it was, so that the next start does not take the demo for the user's operators.
class DemoOperators : public QObject
{
    Q_OBJECT
public:
    // How long the sandbox may take to say where it listens.
    static constexpr int StartTimeout = 15000;

    explicit DemoOperators(QObject* parent = nullptr);
    // Ends the sandbox and puts the kept files back.
    ~DemoOperators() override;

    // zelkora-sandbox beside the program file, else on the search path; "" when there is none.
    static QString programFile();

    // Starts `program` on a free port; ready() or failed() follows, once.
    void start(const QString& program = programFile());
    bool running() const { return !m_url.isEmpty() && m_process.state() == QProcess::Running; }
    // The sandbox's address once it is ready.
    QString url() const { return m_url; }

    // Keeps the files as they are now (a missing file stays missing) to be put back by restoreFiles().
    void keepFiles(const QStringList& paths);
    void restoreFiles();

signals:
    void ready(const QString& url);
    // `reason` is a text for the user.
    void failed(const QString& reason);

private:
    void readLine();
    void fail(const QString& reason);

    struct KeptFile
    {
        QString path;
        std::optional<QByteArray> bytes; // none: the file did not exist
    };

    QProcess m_process;
    QTimer m_startTimer;
    QString m_url;
    bool m_reported = false;
    QList<KeptFile> m_kept;
};
