#include "widgets/THalvernShape.h"
#include "widgets/TImgButton.h"
#include "widgets/TImgLed.h"
#include "widgets/TListLabel.h"
#include "widgets/TURLLabel.h"

#include <QDesktopServices>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QtTest>

namespace {
QPixmap solid(const QColor& colour)
{
    QPixmap p(8, 8);
    p.fill(colour);
    return p;
}

QColor shownColour(const QPixmap& p)
{
    return p.toImage().pixelColor(1, 1);
}

void enter(QWidget* w)
{
    QEnterEvent event(QPointF(2, 2), QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(w, &event);
}

void leave(QWidget* w)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(w, &event);
}

QColor textColour(const QWidget* w)
{
    return w->palette().color(QPalette::WindowText);
}
} // namespace

// Receives what the URL label hands to the desktop, so that no browser is started.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};

class TestControlWidgets : public QObject
{
    Q_OBJECT

private:
    UrlRecorder m_recorder;
    const QStringList m_schemes { QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("file"),
        QStringLiteral("javascript"), QStringLiteral("mailto"), QStringLiteral("c") };

private slots:
    void initTestCase()
    {
        for (const QString& scheme : m_schemes)
            QDesktopServices::setUrlHandler(scheme, &m_recorder, "open");
    }

    void cleanupTestCase()
    {
        for (const QString& scheme : m_schemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }

    void listMode_data()
    {
        QTest::addColumn<QString>("listCaption");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("isList");
        QTest::newRow("list caption") << "<רשימת נמענים>"
                                      << "<רשימת נמענים>" << true;
        QTest::newRow("a name") << "<רשימת נמענים>"
                                << "דנה" << false;
        QTest::newRow("letter case counts") << "<LIST>"
                                            << "<list>" << false;
        QTest::newRow("empty caption") << "<LIST>"
                                       << "" << false;
        QTest::newRow("no list caption") << ""
                                         << "" << false;
    }

    void listMode()
    {
        QFETCH(QString, listCaption);
        QFETCH(QString, caption);
        TListLabel label;
        label.setListCaption(listCaption);
        label.setText(caption);
        QTEST(label.isList(), "isList");
    }

    void enteringAndLeavingListMode()
    {
        TListLabel label;
        label.setListCaption(QStringLiteral("<רשימת נמענים>"));
        label.setText(QStringLiteral("דנה"));
        label.setList({ QStringLiteral("a=052-1") });
        label.setIsList(true);
        QVERIFY(label.isList());
        label.setIsList(true);
        label.setIsList(false);
        QCOMPARE(label.text(), QStringLiteral("דנה"));

        // Clearing the caption ends list mode and keeps the list; leaving a mode not entered changes nothing.
        label.setIsList(true);
        label.clear();
        QVERIFY(!label.isList());
        QCOMPARE(label.list().size(), 1);
        label.setText(QStringLiteral("רות"));
        label.setIsList(false);
        QCOMPARE(label.text(), QStringLiteral("רות"));
    }

    void hintText_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("text");
        QTest::newRow("two") << QStringList { "דנה=052-1234567", "Ruth=054-7654321" } << "דנה\r\nRuth";
        QTest::newRow("one, no trailing break") << QStringList { "Dan=03-1" } << "Dan";
        QTest::newRow("up to the first equals sign") << QStringList { "A=B=C" } << "A";
        QTest::newRow("a line without a name part") << QStringList { "=052-1", "Ron=1" } << "\r\nRon";
        QTest::newRow("empty") << QStringList {} << "";
    }

    void hintText()
    {
        QFETCH(QStringList, list);
        QTEST(TListLabel::hintText(list), "text");
    }

    void hoverInListMode()
    {
        QWidget window;
        auto* label = new TListLabel(&window);
        label->setListCaption(QStringLiteral("<LIST>"));
        label->setListColor(Qt::yellow);
        label->setList({ QStringLiteral("Dan=052-1"), QStringLiteral("A much longer name that has to wrap=054-2") });
        label->setText(QStringLiteral("Dan"));
        window.show();
        const QColor normal = textColour(label);

        enter(label);
        QVERIFY2(!label->hintWindow(), "a single name shows no list");
        leave(label);

        label->setIsList(true);
        enter(label);
        QVERIFY(label->hintWindow());
        QVERIFY(label->hintWindow()->isVisible());
        QVERIFY(!label->showHint());
        QVERIFY(label->hintWindow()->width() <= 150 + 2 * 8);
        QCOMPARE(textColour(label), QColor(Qt::yellow));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("ListHint")), label->hintWindow());

        // List mode ending under the mouse still gives the colour back on leaving.
        label->clear();
        leave(label);
        QVERIFY(!label->hintWindow());
        QCOMPARE(textColour(label), normal);
    }

    void shapeGeometry_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("pen");
        QTest::addColumn<int>("shape");
        QTest::addColumn<QRect>("figure");
        QTest::newRow("frame, pen 1") << QSize(40, 22) << 1 << int(stFrame) << QRect(0, 0, 40, 22);
        QTest::newRow("rectangle, pen 0") << QSize(40, 22) << 0 << int(stRectangle) << QRect(0, 0, 40, 22);
        QTest::newRow("rectangle, pen 3") << QSize(40, 22) << 3 << int(stRectangle) << QRect(1, 1, 38, 20);
        QTest::newRow("square, wide") << QSize(40, 22) << 1 << int(stSquare) << QRect(9, 0, 22, 22);
        QTest::newRow("circle, tall, pen 2") << QSize(22, 40) << 2 << int(stCircle) << QRect(1, 10, 21, 21);
        QTest::newRow("round square, pen 4") << QSize(30, 50) << 4 << int(stRoundSquare) << QRect(2, 12, 27, 27);
        QTest::newRow("ellipse is not squared") << QSize(40, 22) << 1 << int(stEllipse) << QRect(0, 0, 40, 22);
    }

    void shapeGeometry()
    {
        QFETCH(QSize, size);
        QFETCH(int, pen);
        QFETCH(int, shape);
        QTEST(THalvernShape::figureRect(size, pen, TShapeType(shape)), "figure");
    }

    void framePaintsOnePixelBorder()
    {
        THalvernShape shape;
        shape.resize(40, 22);
        shape.setShape(stFrame);
        shape.setBrush(Qt::red);
        shape.setPen(QPen(Qt::blue, 1));
        QPalette pal = shape.palette();
        pal.setColor(QPalette::Window, Qt::white);
        shape.setPalette(pal);
        shape.setAutoFillBackground(true);
        const QImage image = shape.grab().toImage();
        for (int y = 0; y < 22; ++y) {
            for (int x = 0; x < 40; ++x) {
                const bool border = x == 0 || y == 0 || x == 39 || y == 21;
                QCOMPARE(image.pixelColor(x, y), border ? QColor(Qt::red) : QColor(Qt::white));
            }
        }
    }

    void imageButtonPictures()
    {
        QWidget window;
        auto* button = new TImgButton(&window);
        button->setMLeavePicture(solid(Qt::red));
        button->setMEnterPicture(solid(Qt::green));
        button->setMDisabledPicture(solid(Qt::gray));
        QSignalSpy entered(button, &TImgButton::OnMouseEnter);
        QSignalSpy left(button, &TImgButton::OnMouseLeave);
        QCOMPARE(shownColour(button->picture()), QColor(Qt::red));

        enter(button);
        QCOMPARE(shownColour(button->picture()), QColor(Qt::green));
        button->ShowLeavePicture();
        QCOMPARE(shownColour(button->picture()), QColor(Qt::red));
        QCOMPARE(entered.count(), 1);
        QCOMPARE(left.count(), 1);

        // A disabled button keeps its disabled picture while the mouse passes over it.
        button->setEnabled(false);
        QCOMPARE(shownColour(button->picture()), QColor(Qt::gray));
        enter(button);
        leave(button);
        QCOMPARE(shownColour(button->picture()), QColor(Qt::gray));
        QCOMPARE(entered.count(), 1);
        QCOMPARE(left.count(), 1);
        button->setEnabled(true);
        QCOMPARE(shownColour(button->picture()), QColor(Qt::red));
    }

    void imageButtonClicks()
    {
        QWidget window;
        auto* button = new TImgButton(&window);
        button->setGeometry(0, 0, 60, 22);
        window.show();
        QSignalSpy clicked(button, &TImgButton::clicked);
        QSignalSpy pressed(button, &TImgButton::OnMouseDown);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mousePress(button, Qt::RightButton, {}, QPoint(5, 6));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(pressed.count(), 2);
        QCOMPARE(pressed.last().at(0).value<Qt::MouseButton>(), Qt::RightButton);
        QCOMPARE(pressed.last().at(1).toPoint(), QPoint(5, 6));
    }

    void lamp()
    {
        TImgLed led;
        led.setImgRed(solid(Qt::red));
        led.setImgYellow(solid(Qt::yellow));
        led.setImgGreen(solid(Qt::green));
        QCOMPARE(shownColour(led.picture()), QColor(Qt::green));
        led.SetRed();
        QCOMPARE(shownColour(led.picture()), QColor(Qt::red));
        led.SetYellow();
        QCOMPARE(shownColour(led.picture()), QColor(Qt::yellow));
        led.SetGreen();
        QCOMPARE(shownColour(led.picture()), QColor(Qt::green));
    }

    void urlLabelHover()
    {
        QWidget window;
        auto* label = new TURLLabel(&window);
        QCOMPARE(textColour(label), QColor(Qt::black));
        QVERIFY(!label->font().underline());
        enter(label);
        QVERIFY(label->font().underline());
        QCOMPARE(textColour(label), QColor(0, 0, 255));
        leave(label);
        QVERIFY(!label->font().underline());
        QCOMPARE(textColour(label), QColor(Qt::black));
    }

    void urlLabelOpens_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("opened");
        QTest::newRow("https") << "https://signup.example/a?b=1"
                               << "https://signup.example/a?b=1";
        QTest::newRow("bare host") << "www.example.org"
                                   << "http://www.example.org";
        QTest::newRow("local file") << "file:///etc/passwd"
                                    << "";
        QTest::newRow("a path") << "/usr/bin/xterm"
                                << "";
        QTest::newRow("script") << "javascript:alert(1)"
                                << "";
        QTest::newRow("windows program") << "C:\\evil.exe"
                                         << "";
        QTest::newRow("empty") << ""
                               << "";
    }

    void urlLabelOpens()
    {
        QFETCH(QString, url);
        QFETCH(QString, opened);
        m_recorder.opened.clear();
        QWidget window;
        auto* label = new TURLLabel(&window);
        label->setUrl(url);
        // Tab reaches only a link that opens.
        QCOMPARE(label->focusPolicy() == Qt::TabFocus, !opened.isEmpty());
        window.show();
        QTest::mouseClick(label, Qt::LeftButton);
        if (opened.isEmpty()) {
            QVERIFY(m_recorder.opened.isEmpty());
        } else {
            QCOMPARE(m_recorder.opened.size(), 1);
            QCOMPARE(m_recorder.opened.first(), QUrl(opened));
        }
    }
};

QTEST_MAIN(TestControlWidgets)
#include "test_controls_widgets.moc"
