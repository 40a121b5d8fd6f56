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

QString CurrentExceptionText()
{
    try {
        throw;
    } catch (const AppError &e) {
        return e.message();
    } catch (const std::bad_alloc &) {
        return QStringLiteral("Недостаточно памяти для выполнения операции");
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Неизвестная ошибка");
    }
}

void ShowCurrentException()
{
    const QString text = CurrentExceptionText();
    // The box must never throw back into the event loop.
    try {
        AppDialogs::ShowError(nullptr, text);
    } catch (...) {
    }
}
