#pragma once

#include "Demonstration.h"
#include "engine/TSMSBaseForm.h"

#include <QObject>
#include <memory>

// Everything the teach window does besides showing things: it follows the demonstration, turns it into a
// definition, writes the definition to the folder of local definitions with the credentials in SMS.INI,
// and checks a definition with an engine of its own, which submits no message.
class TeachSession : public QObject
{
    Q_OBJECT
public:
    // A definition as it stands, and what keeps it from being written.
    struct Draft
    {
        TProvider provider;
        QStringList areaDefs;
        QStringList problems;
    };

    explicit TeachSession(QObject* parent = nullptr, TSMSBaseForm::BrowserMaker makeBrowser = {});
    ~TeachSession() override;

    Demonstration& demonstration() { return m_demonstration; }
    const Demonstration& demonstration() const { return m_demonstration; }

    // `areaCodes` as the user typed them (comma text).
    Draft draft(const QString& name, const QString& areaCodes) const;

    // The file the draft goes to.
    static QString folder();
    static QString pathFor(const QString& name);
    // Writes the definition and puts the credentials in SMS.INI. The written file's path, or the error in
    // plain words.
    bool save(const Draft& draft, QString* pathOrError);

    // Walks the draft's pages up to its filled message form, with the demonstration's samples and
    // credentials. Steps and the end arrive as signals.
    void startCheck(const Draft& draft);
    bool checking() const { return m_checking; }
    void cancelCheck();
    // The engine that checks, made at its first use; a window that can show a site's page to the user lets it
    // wait for the user's answer (a question after the login) instead of failing there.
    TSMSBaseForm& checkEngine();

signals:
    void checkStep(const CheckStep& step);
    void checkFinished(bool passed);
    void saved(const QString& path);

private:
    Demonstration m_demonstration;
    TSMSBaseForm::BrowserMaker m_makeBrowser;
    std::unique_ptr<TSMSBaseForm> m_engine;
    bool m_checking = false;
};
