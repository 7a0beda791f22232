// The yardstick of startup_bench: a Qt Widgets program that shows one empty window of the main window's
// size and waits.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("minimal"));
    window.resize(287, 446);
    window.show();
    return QApplication::exec();
}
