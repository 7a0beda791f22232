// The main menu's side commands: the tell-a-friend mail link as it reaches the desktop, the About box and the
// local help viewer with its link rules.

#include "AppWindowTest.h"

#include "app/HelpViewer.h"
#include "app/TAboutForm.h"
#include "app/TellFriend.h"
#include "service/ServiceState.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

using namespace AppWindowTest;

namespace {
// A session whose addresses are recorded instead of reaching the desktop.
class RecordingSession : public MainSession
{
public:
    RecordingSession()
        : MainSession(fakeBrowserMaker())
    {
    }
    bool openUrl(const QUrl& url) override
    {
        opened.append(url);
        return false; // as without a mail program or browser
    }
    QList<QUrl> opened;
};

// The session first: it outlives the window built around it.
struct SessionHolder
{
    RecordingSession recording;
};

// A main window on a recording session.
class RecordingForm : private SessionHolder, public TMsgForm
{
public:
    RecordingForm()
        : TMsgForm(Options { nullptr, {}, &recording })
    {
    }
    QList<QUrl>& opened = recording.opened;
};

QString writeFile(const QTemporaryDir& dir, const QString& name, const QString& text)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(text.toUtf8());
    return file.fileName();
}

HelpViewer* helpViewerOf(const TMsgForm& form)
{
    const auto viewers = form.findChildren<HelpViewer*>();
    return viewers.size() == 1 ? viewers.first() : nullptr;
}
} // namespace

class TestSideCommands : public QObject
{
    Q_OBJECT
private slots:
    void mailLink_data()
    {
        QTest::addColumn<QString>("homePage");
        QTest::addColumn<QString>("expected");
        const QString start = QStringLiteral(
            "mailto:?Subject=Send me a message with Zelkora!&Body=Hi%2C%0D%0AThere's a new tool to send text "
            "messages (SMS)%0D%0Ato digital mobile phones in Israel (Pelephone%2C Cellcom%2C Orange%2C MIRS).%0D%0A"
            "Download it FREE%3A ");
        QTest::newRow("plain address") << QStringLiteral("http://www.example.co.il/")
                                       << start + QStringLiteral("http%3A%2F%2Fwww.example.co.il%2F Try it !");
        // A "+" of the text stays encoded; only the encoder's spaces turn back into spaces. The "&" and "#" of
        // an address would otherwise end the body.
        const QString tricky = QStringLiteral("http://h/a+b?x=1&y=2#z");
        QTest::newRow("plus, ampersand, hash")
            << tricky << start + QStringLiteral("http%3A%2F%2Fh%2Fa%2Bb%3Fx%3D1%26y%3D2%23z Try it !");
    }
    void mailLink()
    {
        QFETCH(QString, homePage);
        QFETCH(QString, expected);
        RecordingForm form;
        form.session().state().HomePage = homePage;
        ScriptedPrompt prompt;
        form.ui().tellFriendsAction->trigger();
        QCOMPARE(form.opened.size(), 1);
        const QUrl url = form.opened.first();
        QCOMPARE(url.scheme(), QStringLiteral("mailto"));
        QCOMPARE(url.toString(), expected);
        // What the desktop's launcher receives: the same text, only its spaces written as "%20".
        const QString encoded = QString(expected).replace(QLatin1Char(' '), QStringLiteral("%20"));
        QCOMPARE(QString::fromLatin1(url.toEncoded()), encoded);
        // No mail program took it: the user is told, with the address to pass on by hand.
        QCOMPARE(prompt.told.size(), 1);
        QVERIFY(prompt.told.first().contains(homePage));
    }

    void aboutBox_data()
    {
        QTest::addColumn<int>("closeBy"); // 0 the button, else the key
        QTest::newRow("button") << 0;
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("Enter") << int(Qt::Key_Return);
    }
    void aboutBox()
    {
        QFETCH(int, closeBy);
        auto form = makeForm();
        form->move(150, 60);
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            const QPointer<TAboutForm> box = qobject_cast<TAboutForm*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = true;
            // A failed check must not leave the test waiting on the box.
            const auto closeAnyway = qScopeGuard([box] {
                if (box)
                    box->reject();
            });
            QCOMPARE(box->windowTitle(), QStringLiteral("אודות"));
            QCOMPARE(box->versionLabel->text(), QStringLiteral("1.11"));
            // Wayland leaves the place of every window to the compositor.
            if (QGuiApplication::platformName() != QLatin1String("wayland"))
                QVERIFY((box->frameGeometry().center() - form->frameGeometry().center()).manhattanLength() <= 2);
            QVERIFY(!form->ui().languagesAction->isEnabled());
            // A second command while the box is open opens no second box.
            form->showAbout();
            QCOMPARE(form->findChildren<TAboutForm*>().size(), 1);
            if (closeBy == 0)
                box->closeButton->click();
            else
                QTest::keyClick(box, Qt::Key(closeBy));
        });
        form->showAbout();
        QVERIFY(seen);
        QVERIFY(form->ui().languagesAction->isEnabled());
        QVERIFY(form->findChildren<TAboutForm*>().isEmpty());
    }
    void aboutBoxOutlivedByItsWindow()
    {
        // The exit command can end the window while the box is open; the command must not touch it after.
        auto form = makeForm();
        QTimer::singleShot(0, this, [&] { form.reset(); });
        form->showAbout();
        QVERIFY(!form);
    }

    void helpFileBesideProgram()
    {
        RecordingForm form;
        form.showHelp();
        form.showHelp(); // brings the open viewer forward
        HelpViewer* viewer = helpViewerOf(form);
        QVERIFY(viewer);
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QCOMPARE(viewer->windowTitle(), QStringLiteral("עזרה ל־Zelkora"));
        QVERIFY(viewer->Browser->toPlainText().contains(QStringLiteral("תוכן העניינים")));
        // Every link of the contents leads somewhere in the file.
        QStringList targets;
        QStringList names;
        for (QTextBlock block = viewer->Browser->document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                if (format.anchorHref().startsWith(QLatin1Char('#')))
                    targets.append(format.anchorHref().mid(1));
                names += format.anchorNames();
            }
        }
        QVERIFY(targets.size() >= 6);
        for (const QString& target : targets)
            QVERIFY2(names.contains(target), qPrintable(target));
        viewer->followLink(QUrl(QStringLiteral("#lamp")));
        QVERIFY(viewer->Browser->verticalScrollBar()->value() > 0);
        viewer->followLink(QUrl(QStringLiteral("https://example.com/help")));
        QCOMPARE(form.opened, QList<QUrl> { QUrl(QStringLiteral("https://example.com/help")) });
    }

    void helpLinks_data()
    {
        QTest::addColumn<QString>("href");
        QTest::addColumn<bool>("opened");
        QTest::newRow("https") << QStringLiteral("https://example.com/a") << true;
        QTest::newRow("http") << QStringLiteral("http://example.com/") << true;
        QTest::newRow("local file") << QStringLiteral("file://OTHER") << false;
        QTest::newRow("relative file") << QStringLiteral("other.html") << false;
        QTest::newRow("mailto") << QStringLiteral("mailto:a@example.com") << false;
        QTest::newRow("script") << QStringLiteral("javascript:alert(1)") << false;
    }
    void helpLinks()
    {
        QFETCH(QString, href);
        QFETCH(bool, opened);
        QTemporaryDir dir;
        const QString other = writeFile(dir, QStringLiteral("other.html"), QStringLiteral("<p>SECRET</p>"));
        const QString help = writeFile(dir, QStringLiteral("Zelkora_heb.HLP"),
            QStringLiteral("<p><a href=\"%1\">LINK</a></p>").arg(href.replace(QLatin1String("OTHER"), other)));
        QList<QUrl> urls;
        HelpViewer viewer([&urls](const QUrl& url) {
            urls.append(url);
            return true;
        });
        QVERIFY(viewer.setFile(help));
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        // A real click on the link, as the user makes it.
        QTextCursor cursor = viewer.Browser->document()->find(QStringLiteral("LINK"));
        cursor.setPosition(cursor.selectionStart() + 2);
        const QPoint point = viewer.Browser->cursorRect(cursor).center();
        QTest::mouseClick(viewer.Browser->viewport(), Qt::LeftButton, Qt::NoModifier, point);
        QCOMPARE(urls.size(), opened ? 1 : 0);
        QCOMPARE(viewer.Browser->toPlainText(), QStringLiteral("LINK"));
    }

    void helpFileMissing()
    {
        ScriptedPrompt prompt;
        auto form = makeForm();
        form->setHelpFile(QStringLiteral("/nonexistent/Zelkora_heb.HLP"));
        form->showHelp();
        QCOMPARE(prompt.told, QStringList { QStringLiteral("קובץ העזרה /nonexistent/Zelkora_heb.HLP לא נמצא.") });
        QVERIFY(!helpViewerOf(*form));
    }
};

QTEST_MAIN(TestSideCommands)
#include "test_sidecommands.moc"
