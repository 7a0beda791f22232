// The yardsticks of startup_bench: a Qt Widgets program that shows one empty window of the main window's
// size and waits; with "--text", the same window holding one label and one text field in the main window's
// font, the least a window that shows text costs. With ZELKORA_STARTUP_TRACE set it writes the marks that
// zelkora writes at the same points, so that startup_bench sets the two traces side by side.

#include "common/StartupTrace.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace {
class Window : public QWidget
{
protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            StartupTrace::mark("main window painted");
        }
        return QWidget::event(event);
    }

private:
    bool m_painted = false;
};
} // namespace

int main(int argc, char** argv)
{
    StartupTrace::mark("main");
    QApplication application(argc, argv);
    StartupTrace::mark("application object made");
    Window window;
    window.setWindowTitle(QStringLiteral("minimal"));
    window.resize(287, 446);
    if (QApplication::arguments().contains(QStringLiteral("--text"))) {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(11);
        font.setBold(true);
        window.setFont(font);
        auto* label = new QLabel(QStringLiteral("טלפון:"), &window);
        label->setGeometry(200, 100, 60, 18);
        auto* field = new QLineEdit(&window);
        field->setGeometry(40, 100, 150, 18);
    }
    StartupTrace::mark("main window made");
    window.show();
    StartupTrace::mark("window show() returned");
    return QApplication::exec();
}
