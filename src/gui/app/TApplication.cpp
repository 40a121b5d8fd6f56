#include "app/TApplication.h"

#include "base/AppDialogs.h"
#include "base/Guarded.h"

#include "app/ProgramIcon.h"
#include "app/ToolkitTexts.h"

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // No display name: the window system would append it to every caption.
    setApplicationName(AppDialogs::AppTitle());
    // The windows show the program's icon, and the desktop ties them to its menu entry.
    setWindowIcon(ProgramIcon());
    setDesktopFileName(QStringLiteral("tarvel"));
    // The toolkit's buttons and dialogs speak Russian with the rest of the program.
    InstallToolkitTranslations(this);
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
