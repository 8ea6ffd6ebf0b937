// VELTA: the desktop program.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel label("VELTA: the desktop program is not built yet.");
    label.show();
    return app.exec();
}
