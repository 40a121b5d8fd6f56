#include "app/TConfig.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Тарвел"));
    StartConfig();   // settings are read before the main window exists
    int exitCode = 0;
    {
        QMainWindow window;
        window.setWindowTitle(QStringLiteral("Тарвел"));
        window.resize(1000, 700);
        window.show();
        exitCode = app.exec();
    }
    FinishConfig();   // and written back only after it is gone
    return exitCode;
}
