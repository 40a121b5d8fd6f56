#pragma once
// Where errors end: an exception that escapes a command is shown in the application's error box
// and the program goes on, with the model as it stood when the error was raised. The shell's
// TApplication sends exceptions out of event handlers here too, so every window shows errors the
// same way, whether it runs under the program or under a test's plain QApplication.
#include <QString>

#include <functional>

// Runs work; an exception escaping it is shown in the error box. Returns false when one did.
bool RunGuarded(const std::function<void()> &work);
// Shows the exception currently being handled (call only inside a catch block).
void ShowCurrentException();
// The text the error box would show for the exception currently being handled (only inside a
// catch block), for a handler that must show it later, outside a focus change.
QString CurrentExceptionText();
