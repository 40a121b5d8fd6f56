#include "base/Guarded.h"

#include "AppError.h"
#include "base/AppDialogs.h"

#include <QString>
#include <exception>
#include <new>

bool RunGuarded(const std::function<void()> &work)
{
    try {
        work();
        return true;
    } catch (...) {
        ShowCurrentException();
        return false;
    }
}

void ShowCurrentException()
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
