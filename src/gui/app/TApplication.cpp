#include "app/TApplication.h"

#include "AppError.h"
#include "app/AppDialogs.h"

#include <exception>
#include <new>

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

bool TApplication::RunGuarded(const std::function<void()> &work)
{
    try {
        work();
        return true;
    } catch (...) {
        ShowCurrentException();
        return false;
    }
}

void TApplication::ShowCurrentException()
{
    QString text;
    try {
        throw;
    } catch (const AppError &e) {
        text = e.message();
    } catch (const std::bad_alloc &) {
        text = QStringLiteral("Недостаточно памяти для выполнения операции");
    } catch (const std::exception &e) {
        text = QString::fromLocal8Bit(e.what());
    } catch (...) {
        text = QStringLiteral("Неизвестная ошибка");
    }
    // The box must never throw back into the event loop.
    try {
        AppDialogs::ShowError(nullptr, text);
    } catch (...) {
    }
}
