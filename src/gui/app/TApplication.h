#pragma once
// The program's QApplication. It is the one place where errors end: an exception that escapes
// a command or an event handler is shown in the error box and the event loop goes on, with the
// model as it stood when the error was raised.
#include <QApplication>
#include <functional>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Runs work; an exception escaping it is shown in the error box. Returns false when one did.
    // Commands are dispatched through this, so they are guarded also when the application
    // object is a plain QApplication (tests).
    static bool RunGuarded(const std::function<void()> &work);
    // Shows the exception currently being handled (call only inside a catch block).
    static void ShowCurrentException();
};
