#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Тарвел"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Тарвел"));
    window.resize(1000, 700);
    window.show();
    return app.exec();
}
