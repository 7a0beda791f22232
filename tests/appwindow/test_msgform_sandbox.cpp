// The main window's lamp through a complete initialisation against the sandbox service.

#include "AppWindowTest.h"
#include "TestEnv.h"

#include "SandboxServer.h"
#include "common/AppPaths.h"
#include "service/ServiceState.h"
#include "widgets/TImgLed.h"

#include <QtTest>

using namespace AppWindowTest;

namespace {
// Notes the lamp each time the service connection sets the state.
class WatchedForm : public TMsgForm
{
public:
    WatchedForm()
        : TMsgForm(Options { nullptr, fakeBrowserMaker() })
    {
    }
    void showConnectionState(ConnectionState state) override
    {
        TMsgForm::showConnectionState(state);
        lamps.append(ui().connectionLamp->colour());
    }
    QList<TImgLed::Colour> lamps;
};
} // namespace

class TestMsgFormSandbox : public QObject
{
    Q_OBJECT

private slots:
    void lampTurnsGreenThroughAnInitialisation()
    {
        TestEnv::freshConfigDir();
        const QString appDir = TestEnv::freshAppDir();
        SandboxServer sandbox;
        QVERIFY2(sandbox.listen(0), qPrintable(sandbox.errorString()));
        AppPaths::setServiceUrlOverride(sandbox.baseUrl());

        WatchedForm form;
        QCOMPARE(form.ui().connectionLamp->colour(), TImgLed::Colour::Red);
        QTRY_COMPARE_WITH_TIMEOUT(form.session().connectionState(), ConnectionState::Service, 15000);
        QCOMPARE(form.ui().connectionLamp->colour(), TImgLed::Colour::Green);
        QCOMPARE(sandbox.hits(QStringLiteral("/smsinit")), 1);

        // Red at creation (above), yellow while the request runs, green once the document came complete.
        QVERIFY(!form.lamps.isEmpty());
        QCOMPARE(form.lamps.first(), TImgLed::Colour::Yellow);
        QCOMPARE(form.lamps.last(), TImgLed::Colour::Green);
        QVERIFY(!form.session().state().Providers.isEmpty());
        QVERIFY(QFileInfo::exists(appDir + QStringLiteral("providers.dat")));
        AppPaths::setServiceUrlOverride(QString());
    }
};

QTEST_MAIN(TestMsgFormSandbox)
#include "test_msgform_sandbox.moc"
