#pragma once
// The program's QApplication. An exception that escapes an event handler ends here: it is shown
// in the error box (base/Guarded.h, which commands go through as well) and the event loop goes on.
// It gives the windows the program's icon (ProgramIcon.h) and the toolkit's own texts in Russian
// (ToolkitTexts.h).
#include <QApplication>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
