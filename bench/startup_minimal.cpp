// The yardsticks of startup_bench: a Qt Widgets program that shows one empty window of the main window's
// size and waits; with "--text", the same window holding one label and one text field in the main window's
// font, the least a window that shows text costs.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
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
    window.show();
    return QApplication::exec();
}
