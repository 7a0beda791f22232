// The teach window, opened from the tray menu or by `zelkora --teach`.

#include "TMsgForm.h"

#include "CompositionFields.h"
#include "engine/WorkerClient.h"
#include "language/LanguageModules.h"
#include "teach/TTeachForm.h"

#include <QAction>

void TMsgForm::teachClicked()
{
    if (m_session->engine().worker() && teachInWorker())
        return;
    if (auto* open = findChild<TTeachForm*>(QString(), Qt::FindDirectChildrenOnly)) {
        open->showNormal();
        open->raise();
        open->activateWindow();
        return;
    }
    // The browser the window was made with (a test's stands in for the library).
    auto* form = new TTeachForm(this, m_options.makeBrowser);
    // The window is not replaced under the teach window (a language switch would take the demonstration
    // with it).
    holdLanguagesWhileOpen(form);
    // A handset shown when the teach window opened and minimised meanwhile comes back when it closes.
    if (isShown())
        connect(form, &QObject::destroyed, this, &TMsgForm::comeBackAfterTeaching);
    connect(form, &TTeachForm::definitionSaved, this, [this] {
        m_session->localDefinitionsChanged();
        m_fields->buildAreaMenu();
    });
    form->show();
    form->raise();
    form->activateWindow();
}

bool TMsgForm::teachInWorker()
{
    AttemptWire::Request show;
    show.kind = AttemptWire::Request::Kind::Show;
    if (m_teachWorker && m_teachWorker->running())
        return m_teachWorker->request(show);
    // The window and its browser live in a worker that ends when the window closes, in this window's
    // language, which stays while it is open (this window is not rebuilt meanwhile).
    delete m_teachWorker.data();
    auto* worker = new WorkerClient(QString(), this);
    m_teachWorker = worker;
    worker->setArguments({ QStringLiteral("--teach"), QStringLiteral("--language"), LanguageModules::activeModuleFile() });
    // Only the window's closing ends it.
    worker->setBusy(true);
    holdLanguages(true);
    const bool wasShown = isShown();
    connect(worker, &WorkerClient::reported, this, [this](const AttemptWire::Report& report) {
        if (report.kind != AttemptWire::Report::Kind::DefinitionSaved)
            return;
        m_session->localDefinitionsChanged();
        m_fields->buildAreaMenu();
    });
    connect(worker, &WorkerClient::stopped, this, [this, worker, wasShown] {
        holdLanguages(false);
        worker->deleteLater();
        if (wasShown)
            comeBackAfterTeaching();
    });
    // A worker that cannot be started leaves the window to this process.
    return worker->request(show);
}

void TMsgForm::comeBackAfterTeaching()
{
    if (isVisible() && isMinimized()) {
        showNormal();
        raise();
        activateWindow();
    }
}
