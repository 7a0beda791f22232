#include "LanguageTest.h"
#include "ScriptedPrompt.h"
#include "language/LanguageModules.h"
#include "language/THalvernLanguage.h"
#include "language/LanguageCodes.h"
#include "settings/ProgramSettings.h"

#include <QApplication>
#include <QPointer>
#include <QTranslator>

using namespace LanguageTest;

class TestLanguageModules : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        LanguageModules::SetResourceModule(nullptr);
        TestEnv::freshConfigDir();
        m_folder = programFolder();
        m_base = m_folder + QStringLiteral("zelkora");
    }

    void moduleBase_data()
    {
        QTest::addColumn<QString>("programFile");
        QTest::addColumn<QString>("base");
        QTest::newRow("no extension") << "/opt/Zelkora.1.11/zelkora"
                                      << "/opt/Zelkora.1.11/zelkora";
        QTest::newRow("extension") << "/opt/Zelkora.1.11/zelkora.exe"
                                   << "/opt/Zelkora.1.11/zelkora";
        QTest::newRow("cut at the first dot") << "/opt/z/n.tar.gz"
                                              << "/opt/z/n";
    }
    void moduleBase()
    {
        QFETCH(QString, programFile);
        QFETCH(QString, base);
        QCOMPARE(LanguageModules::moduleBaseFor(programFile), base);
        QCOMPARE(THalvernLanguage(LanguageModules::moduleBaseFor(programFile)).ModuleBase(), base);
    }

    void listsTheModulesOfKnownLocales()
    {
        installModule(m_folder, QStringLiteral("zelkora.HEB"), QStringLiteral("hebrew"));
        installModule(m_folder, QStringLiteral("zelkora.ENU"), QStringLiteral("english"));
        installModule(m_folder, QStringLiteral("zelkora.enu"), QStringLiteral("english"));
        installModule(m_folder, QStringLiteral("zelkora.XYZ"), QStringLiteral("english"));
        installModule(m_folder, QStringLiteral("zelkora.old.DEU"), QStringLiteral("english"));
        installModule(m_folder, QStringLiteral("other.FRA"), QStringLiteral("english"));
        TestEnv::writeFile(m_folder + QStringLiteral("zelkora.ini"), "[x]\n");

        const THalvernLanguage list(m_base);
        QStringList shown;
        QStringList codes;
        for (int i = 0; i < list.count(); ++i) {
            shown << list.itemText(i);
            codes << list.itemLangInfo(i)->Abbreviation;
        }
        QCOMPARE(codes, QStringList({ "ENU", "HEB" }));
        QCOMPARE(shown, QStringList({ "English (United States)", "Hebrew (Israel)" }));
        QCOMPARE(list.currentIndex(), -1);
    }

    void noModulesGiveAnEmptyListAndHebrew()
    {
        const THalvernLanguage list(m_base);
        QCOMPARE(list.count(), 0);
        LanguageModules::loadAtStartUp(m_base);
        QVERIFY(!LanguageModules::activeModule());
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);
    }

    void startUp_data()
    {
        QTest::addColumn<QString>("stored"); // null: no value
        QTest::addColumn<QStringList>("modules"); // "file=content"
        QTest::addColumn<QString>("inForce");
        QTest::addColumn<Qt::LayoutDirection>("direction");
        const QStringList both { "zelkora.ENU=english", "zelkora.HEB=hebrew" };
        // Without a stored value, the desktop's language (LANG=C.UTF-8 here: Hebrew); see firstStartFollowsTheDesktop.
        QTest::newRow("no value: the desktop's") << QString() << both << "HEB" << Qt::RightToLeft;
        QTest::newRow("HEB") << "HEB" << both << "HEB" << Qt::RightToLeft;
        QTest::newRow("value in lower case") << "enu" << both << "ENU" << Qt::LeftToRight;
        QTest::newRow("file name in lower case")
            << "ENU" << QStringList { "zelkora.enu=english" } << "ENU" << Qt::LeftToRight;
        QTest::newRow("no module of the code") << "DEU" << both << "" << Qt::RightToLeft;
        QTest::newRow("damaged module") << "ENU" << QStringList { "zelkora.ENU=damaged" } << "" << Qt::RightToLeft;
        QTest::newRow("module whose lookups leave it")
            << "ENU" << QStringList { "zelkora.ENU=overlong" } << "" << Qt::RightToLeft;
    }
    void startUp()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, modules);
        QFETCH(QString, inForce);
        QFETCH(Qt::LayoutDirection, direction);
        for (const QString& module : modules)
            installModule(m_folder, module.section(QLatin1Char('='), 0, 0), module.section(QLatin1Char('='), 1));
        if (!stored.isNull())
            ProgramSettings::writeLanguage(stored);
        // Start from the other direction, so that the start-up step has to set it.
        QGuiApplication::setLayoutDirection(direction == Qt::LeftToRight ? Qt::RightToLeft : Qt::LeftToRight);
        const ScriptedPrompt prompt(false);

        LanguageModules::loadAtStartUp(m_base);

        QCOMPARE(languageInForce(), inForce);
        QCOMPARE(QGuiApplication::layoutDirection(), direction);
        QCOMPARE(prompt.told, QStringList());
    }

    void aNewModuleReleasesThePreviousOne()
    {
        installModule(m_folder, QStringLiteral("zelkora.ENU"), QStringLiteral("english"));
        installModule(m_folder, QStringLiteral("zelkora.HEB"), QStringLiteral("hebrew"));
        installModule(m_folder, QStringLiteral("zelkora.DEU"), QStringLiteral("damaged"));

        const QPointer<QTranslator> english = LanguageModules::LoadLanguageModule(m_base, QStringLiteral("ENU"));
        QVERIFY(english);
        QCOMPARE(LanguageModules::activeModuleFile(), m_folder + QStringLiteral("zelkora.ENU"));
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);

        // A module that cannot be loaded leaves the one in force.
        QVERIFY(!LanguageModules::LoadLanguageModule(m_base, QStringLiteral("DEU")));
        QCOMPARE(LanguageModules::activeModule(), english.data());

        const QPointer<QTranslator> hebrew = LanguageModules::LoadLanguageModule(m_base, QStringLiteral("HEB"));
        QVERIFY(hebrew);
        QVERIFY(english.isNull());
        QCOMPARE(languageInForce(), QStringLiteral("HEB"));
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);

        LanguageModules::SetResourceModule(nullptr);
        QVERIFY(hebrew.isNull());
        QCOMPARE(languageInForce(), QString());
    }

    void firstStartFollowsTheDesktop_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<QByteArray>("lang");
        QTest::addColumn<QString>("code");
        QTest::newRow("Hebrew") << QByteArray() << QByteArray("he_IL.UTF-8") << "HEB";
        QTest::newRow("English") << QByteArray() << QByteArray("en_US.UTF-8") << "ENU";
        QTest::newRow("LANGUAGE first") << QByteArray("en_GB:he") << QByteArray("he_IL.UTF-8") << "ENU";
        QTest::newRow("another language: Hebrew") << QByteArray() << QByteArray("de_DE.UTF-8") << "HEB";
        QTest::newRow("C") << QByteArray() << QByteArray("C") << "HEB";
    }
    void firstStartFollowsTheDesktop()
    {
        QFETCH(QByteArray, language);
        QFETCH(QByteArray, lang);
        QFETCH(QString, code);
        const QByteArray all = qgetenv("LC_ALL");
        const QByteArray was = qgetenv("LANG");
        qunsetenv("LC_ALL");
        qputenv("LANGUAGE", language);
        qputenv("LANG", lang);
        const QString read = ProgramSettings::readLanguage();
        qputenv("LC_ALL", all);
        qputenv("LANG", was);
        qunsetenv("LANGUAGE");
        QCOMPARE(read, code);
    }

    void pickingALanguage_data()
    {
        QTest::addColumn<bool>("refresh");
        QTest::newRow("loaded at once") << true;
        QTest::newRow("only chosen") << false;
    }
    void pickingALanguage()
    {
        QFETCH(bool, refresh);
        installModule(m_folder, QStringLiteral("zelkora.ENU"), QStringLiteral("english"));
        installModule(m_folder, QStringLiteral("zelkora.HEB"), QStringLiteral("hebrew"));
        THalvernLanguage list(m_base);
        list.setRefreshImmidiate(refresh);
        list.setSelectedCode(QStringLiteral("enu"));
        list.showCode(QStringLiteral("enu"));
        QCOMPARE(list.currentText(), QStringLiteral("English (United States)"));

        pick(list, QStringLiteral("HEB"));
        QCOMPARE(list.SelectedCode(), QStringLiteral("HEB"));
        QCOMPARE(languageInForce(), refresh ? QStringLiteral("HEB") : QString());

        // And back.
        pick(list, QStringLiteral("ENU"));
        QCOMPARE(list.SelectedCode(), QStringLiteral("ENU"));
        QCOMPARE(languageInForce(), refresh ? QStringLiteral("ENU") : QString());
    }

    void aDamagedModuleIsListedButChangesNothing()
    {
        installModule(m_folder, QStringLiteral("zelkora.ENU"), QStringLiteral("english"));
        installModule(m_folder, QStringLiteral("zelkora.HEB"), QStringLiteral("damaged"));
        QVERIFY(LanguageModules::LoadLanguageModule(m_base, QStringLiteral("ENU")));
        THalvernLanguage list(m_base);
        list.setRefreshImmidiate(true);
        list.setSelectedCode(QStringLiteral("ENU"));
        list.showCode(QStringLiteral("ENU"));
        QCOMPARE(list.count(), 2);
        const ScriptedPrompt prompt(false);

        pick(list, QStringLiteral("HEB"));

        // Told in the language in force, which stays, and the list shows it again.
        QCOMPARE(prompt.told, QStringList { "The language file zelkora.HEB cannot be loaded." });
        QCOMPARE(languageInForce(), QStringLiteral("ENU"));
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
        QCOMPARE(list.SelectedCode(), QStringLiteral("ENU"));
        QCOMPARE(list.currentText(), QStringLiteral("English (United States)"));
    }

    void localeTable()
    {
        const THalvernLanguage list(m_base);
        const THalvernLangInfoList& locales = list.Locales();
        QVERIFY(locales.count() >= 60);
        QSet<quint32> identifiers;
        QSet<QString> codes;
        for (int i = 0; i < locales.count(); ++i) {
            const THalvernLangInfo* info = locales.at(i);
            QVERIFY2(QRegularExpression(QStringLiteral("^[A-Z]{3}$")).match(info->Abbreviation).hasMatch(),
                qPrintable(info->Abbreviation));
            QVERIFY(!info->DisplayName().isEmpty());
            QVERIFY(info->DisplayName().size() <= 50);
            QVERIFY2(!identifiers.contains(info->Locale), qPrintable(QString::number(info->Locale, 16)));
            QVERIFY2(!codes.contains(info->Abbreviation), qPrintable(info->Abbreviation));
            identifiers.insert(info->Locale);
            codes.insert(info->Abbreviation);
            if (i > 0)
                QVERIFY(locales.at(i - 1)->Abbreviation < info->Abbreviation);
        }
        QCOMPARE(list.IndexOfCode(QStringLiteral("heb")), list.IndexOfCode(QStringLiteral("HEB")));
        QCOMPARE(list.IndexOfCode(QStringLiteral("XYZ")), -1);
        QVERIFY(!list.FindLangInfo(QStringLiteral("XYZ")));
        QCOMPARE(list.DisplayNameOf(QString()), QString());
    }

    void knownLocales_data()
    {
        QTest::addColumn<quint32>("lcid");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("en-US") << 0x0409u << "ENU"
                               << "English (United States)";
        QTest::newRow("he-IL") << 0x040Du << "HEB"
                               << "Hebrew (Israel)";
        QTest::newRow("de-DE") << 0x0407u << "DEU"
                               << "German (Germany)";
        QTest::newRow("es-ES") << 0x0C0Au << "ESN"
                               << "Spanish (Spain, International Sort)";
        QTest::newRow("uz-Cyrl-UZ") << 0x0843u << "UZC"
                                    << "Uzbek (Cyrillic, Uzbekistan)";
    }
    void knownLocales()
    {
        QFETCH(quint32, lcid);
        QFETCH(QString, code);
        QFETCH(QString, name);
        const THalvernLanguage list(m_base);
        const THalvernLangInfo* info = list.FindLangInfo(code.toLower());
        QVERIFY(info);
        QCOMPARE(info->Locale, lcid);
        QCOMPARE(info->DisplayName(), name);
    }

private:
    QString m_folder;
    QString m_base;
};

QTEST_MAIN(TestLanguageModules)
#include "test_languagemodules.moc"
