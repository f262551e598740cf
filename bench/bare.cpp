// The yardstick for start-up: a bare Qt Widgets program that starts, makes one hidden window and
// quits from a zero timer.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.hide();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return QApplication::exec();
}
