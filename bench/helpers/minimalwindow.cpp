// The reference program: the least a Qt 6 widgets program does to show one
// window of the phone's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(240, 320);
    window.show();
    return app.exec();
}
