#include "LanguageTest.h"
#include "language/LanguageModules.h"
#include "language/LanguagesHost.h"
#include "language/TLanguagesForm.h"
#include "settings/ProgramSettings.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QPushButton>

using namespace LanguageTest;

namespace {
// The main window as the language window sees it; records what is done to it.
class FakeHost : public LanguagesHost
{
public:
    QString code;
    int released = 0;
    int rebuilt = 0;
    // The language in force when the main window was built again.
    QString rebuiltIn;

    QString languageCode() const override { return code; }
    void releaseMainWindow() override { ++released; }
    void rebuildMainWindow() override
    {
        ++rebuilt;
        rebuiltIn = languageInForce();
    }
};
} // namespace

class TestLanguagesForm : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        TestEnv::freshConfigDir();
        m_folder = programFolder();
        installModule(m_folder, QStringLiteral("zelkora.ENU"), QStringLiteral("english"));
        installModule(m_folder, QStringLiteral("zelkora.HEB"), QStringLiteral("hebrew"));
        // The program as started: Hebrew stored and in force.
        ProgramSettings::writeLanguage(QStringLiteral("HEB"));
        LanguageModules::loadAtStartUp(m_folder + QStringLiteral("zelkora"));
        QCOMPARE(languageInForce(), QStringLiteral("HEB"));
        m_host = FakeHost();
        m_host.code = QStringLiteral("HEB");
    }

    void closeWithoutPickingStoresTheCurrentLanguage()
    {
        QPointer<TLanguagesForm> form = open();
        // Nothing was chosen: the main window is neither taken down nor built again.
        QCOMPARE(m_host.released, 0);
        QCOMPARE(m_host.rebuilt, 0);
        QCOMPARE(form->languageList->currentText(), QStringLiteral("Hebrew (Israel)"));
        // Left to right while the application reads right to left.
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);
        QCOMPARE(form->layoutDirection(), Qt::LeftToRight);

        ProgramSettings::writeLanguage(QStringLiteral("ENU")); // changed meanwhile by another copy
        QTest::mouseClick(form->closeButton, Qt::LeftButton);

        QCOMPARE(ProgramSettings::readLanguage(), QStringLiteral("HEB"));
        QCOMPARE(m_host.rebuilt, 0);
        QTRY_VERIFY(form.isNull());
    }

    void pickedLanguageIsInForceAtOnce_data()
    {
        QTest::addColumn<QString>("closeBy");
        QTest::addColumn<QString>("stored");
        QTest::newRow("Close") << "closeButton"
                               << "ENU";
        QTest::newRow("title-bar button") << "title bar"
                                          << "HEB";
        QTest::newRow("Escape") << "Escape"
                                << "HEB";
    }
    void pickedLanguageIsInForceAtOnce()
    {
        QFETCH(QString, closeBy);
        QFETCH(QString, stored);
        QPointer<TLanguagesForm> form = open();

        pick(*form->languageList, QStringLiteral("ENU"));
        QCOMPARE(languageInForce(), QStringLiteral("ENU"));
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
        QCOMPARE(m_host.released, 1);
        QCOMPARE(m_host.rebuilt, 0);

        if (closeBy == QLatin1String("closeButton"))
            QTest::mouseClick(form->closeButton, Qt::LeftButton);
        else if (closeBy == QLatin1String("Escape"))
            QTest::keyClick(form, Qt::Key_Escape);
        else
            form->close();

        QCOMPARE(m_host.rebuilt, 1);
        QCOMPARE(m_host.rebuiltIn, QStringLiteral("ENU"));
        QCOMPARE(ProgramSettings::readLanguage(), stored);
        QTRY_VERIFY(form.isNull());
        QCOMPARE(m_host.rebuilt, 1);
    }

    void aRefusedStoreStillCloses()
    {
        // A folder where the store's file belongs: every write fails.
        QDir().mkpath(ProgramSettings::currentUserFile());
        QPointer<TLanguagesForm> form = open();
        pick(*form->languageList, QStringLiteral("ENU"));

        QTest::mouseClick(form->closeButton, Qt::LeftButton);

        QCOMPARE(m_host.rebuilt, 1);
        QCOMPARE(languageInForce(), QStringLiteral("ENU"));
        QTRY_VERIFY(form.isNull());
    }

private:
    TLanguagesForm* open()
    {
        auto* form = new TLanguagesForm(m_host, m_folder + QStringLiteral("zelkora"));
        form->show();
        return form;
    }

    QString m_folder;
    FakeHost m_host;
};

QTEST_MAIN(TestLanguagesForm)
#include "test_languagesform.moc"
