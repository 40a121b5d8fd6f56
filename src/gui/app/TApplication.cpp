#include "app/TApplication.h"

#include "base/AppDialogs.h"
#include "base/Guarded.h"

#include <QIcon>

// The program's icon: packaging/tarvel.svg, the drawing of its menu entry. (Outside any
// namespace: Q_INIT_RESOURCE declares the resource's function where it stands.)
static QIcon programIcon()
{
    Q_INIT_RESOURCE(ProgramIcon); // the resource lives in a static library
    return QIcon(QStringLiteral(":/tarvel.svg"));
}

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // No display name: the window system would append it to every caption.
    setApplicationName(AppDialogs::AppTitle());
    // The windows show the program's icon, and the desktop ties them to its menu entry.
    setWindowIcon(programIcon());
    setDesktopFileName(QStringLiteral("tarvel"));
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
