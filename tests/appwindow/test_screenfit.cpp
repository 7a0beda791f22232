// Every window the main window opens fits the screen it opens on, down to the smallest screens a user may
// have, and the handset is cut to its outline and drawn from pictures for the screen's density. The screen
// is Qt's offscreen platform's, described by ZELKORA_TEST_SCREEN ("1366x768@1.5": device pixels and
// device pixel ratio); CTest runs this program once per screen.

#include "app/HandsetSkin.h"
#include "app/StatusDisplay.h"
#include "AppWindowTest.h"
#include "app/HelpViewer.h"
#include "app/THiddenForm.h"
#include "app/TPopUpStatusForm.h"
#include "widgets/Skin.h"
#include "widgets/SkinLayout.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {
// The windows the main window opens, each opened as the user opens it and handed to `check`.
using Check = std::function<void(QWidget*)>;
using Opener = std::function<void(TMsgForm&, const Check&)>;

QWidget* topLevel(const char* objectName)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String(objectName) && widget->isVisible())
            return widget;
    }
    return nullptr;
}

// A modal dialog is looked at from inside its own event loop, then closed.
void inModal(const std::function<void()>& open, const Check& check)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        seen = dialog != nullptr;
        if (!dialog)
            return;
        check(dialog);
        if (auto* asDialog = qobject_cast<QDialog*>(dialog))
            asDialog->reject();
        else
            dialog->close();
    });
    open();
    QVERIFY(seen);
}

void inWindow(const std::function<void()>& open, const char* objectName, const Check& check)
{
    open();
    QWidget* window = nullptr;
    QTRY_VERIFY((window = topLevel(objectName)) != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    check(window);
    window->close();
}
} // namespace

Q_DECLARE_METATYPE(Opener)

class TestScreenFit : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_hidden = std::make_unique<THiddenForm>();
        m_form = AppWindowTest::makeForm(m_hidden.get());
    }

    void cleanup()
    {
        m_form.reset();
        m_hidden.reset();
    }

    void handsetIsShapedAndDrawnForTheDensity()
    {
        const QScreen* screen = QGuiApplication::primaryScreen();
        m_form->toggleShown();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        // The logical resolution stays 96 when Qt scales for the density: the window keeps its outline.
        QVERIFY(m_form->skin().isShaped());
        QVERIFY(screen->availableGeometry().contains(m_form->frameGeometry()));

        const qreal scale = Skin::pictureScale(screen->devicePixelRatio());
        const QPixmap picture = m_form->ui().devicePicture->pixmap();
        QCOMPARE(picture.devicePixelRatio(), scale);
        QCOMPARE(picture.size(), SkinLayout::DevicePicture.size() * scale);
        // Drawn transparent outside the outline (this platform cannot cut windows): the corner is clear,
        // the device's glass is not.
        const QImage pixels = picture.toImage();
        QCOMPARE(qAlpha(pixels.pixel(QPoint(2, 2))), 0);
        QCOMPARE(qAlpha(pixels.pixel((QPointF(140, 200) * scale).toPoint())), 255);
        for (const QAbstractButton* button : m_form->findChildren<QAbstractButton*>())
            QVERIFY(!button->isVisible() || m_form->rect().contains(button->geometry()));
    }

    void windowsFitTheScreen_data()
    {
        QTest::addColumn<Opener>("open");
        QTest::addColumn<QString>("mustShow");
        QTest::newRow("teach") << Opener([](TMsgForm& form, const Check& check) {
            inWindow([&] { form.teachClicked(); }, "TeachForm", check);
        }) << QStringLiteral("SaveButton");
        QTest::newRow("history") << Opener([](TMsgForm& form, const Check& check) {
            inWindow([&] { form.historyClicked(); }, "HistoryForm", check);
        }) << QString();
        QTest::newRow("preferences") << Opener([](TMsgForm& form, const Check& check) {
            inModal([&] { form.preferencesClicked(); }, check);
        }) << QString();
        QTest::newRow("phone book") << Opener([](TMsgForm& form, const Check& check) {
            inModal([&] { form.phoneBookClicked(); }, check);
        }) << QString();
        QTest::newRow("help") << Opener([](TMsgForm& form, const Check& check) {
            auto* viewer = new HelpViewer([](const QUrl&) { return true; }, &form);
            viewer->show();
            QVERIFY(QTest::qWaitForWindowExposed(viewer));
            check(viewer);
            delete viewer;
        }) << QStringLiteral("CloseButton");
        QTest::newRow("status") << Opener([](TMsgForm& form, const Check& check) {
            TPopUpStatusForm* status = form.statusDisplay().makeStatusWindow();
            status->show();
            QVERIFY(QTest::qWaitForWindowExposed(status));
            check(status);
            delete status;
        }) << QString();
    }

    void windowsFitTheScreen()
    {
        QFETCH(Opener, open);
        QFETCH(QString, mustShow);
        m_form->toggleShown();
        bool checked = false;
        open(*m_form, [&](QWidget* window) {
            checked = true;
            const QRect available = window->screen()->availableGeometry();
            // With the frame a desktop draws around it: the offscreen platform draws none, desktops a title
            // bar up to 40 pixels high and thin borders.
            const QSize size = window->frameGeometry().size() + QSize(8, 40);
            QVERIFY2(size.width() <= available.width() && size.height() <= available.height(),
                qPrintable(QStringLiteral("%1 x %2 with its frame on %3 x %4")
                               .arg(size.width())
                               .arg(size.height())
                               .arg(available.width())
                               .arg(available.height())));
            if (mustShow.isEmpty())
                return;
            // In view without scrolling: none of it is clipped away by a scrolled area.
            auto* widget = window->findChild<QWidget*>(mustShow);
            QVERIFY(widget && widget->isVisible());
            QCOMPARE(widget->visibleRegion().boundingRect(), widget->rect());
        });
        QVERIFY(checked);
    }

private:
    std::unique_ptr<THiddenForm> m_hidden;
    std::unique_ptr<TMsgForm> m_form;
};

int main(int argc, char** argv)
{
    // One offscreen screen as the environment describes it, before the application object reads it.
    const QString described = qEnvironmentVariable("ZELKORA_TEST_SCREEN", QStringLiteral("1024x768@1"));
    const QRegularExpressionMatch match
        = QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)@([\\d.]+)$")).match(described);
    if (!match.hasMatch()) {
        qCritical("ZELKORA_TEST_SCREEN must read WIDTHxHEIGHT@RATIO");
        return 2;
    }
    QTemporaryDir folder;
    const QString config = folder.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 2;
    file.write(
        QStringLiteral("{ \"screens\": [ { \"name\": \"test\", \"x\": 0, \"y\": 0, \"width\": %1, \"height\": %2,"
                       " \"logicalDpi\": 96, \"logicalBaseDpi\": 96 } ] }")
            .arg(match.captured(1), match.captured(2))
            .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + QFile::encodeName(config));
    // The density as a desktop's scale setting gives it.
    qputenv("QT_SCALE_FACTOR", match.captured(3).toUtf8());

    QApplication app(argc, argv);
    TestScreenFit test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_screenfit.moc"
