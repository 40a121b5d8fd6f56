#include "app/TApplication.h"

#include "base/AppDialogs.h"
#include "base/Guarded.h"

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // No display name: the window system would append it to every caption.
    setApplicationName(AppDialogs::AppTitle());
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowCurrentException();
        return false;
    }
}
