#pragma once
// Text that came out of a document (titles, comments, names) on its way to a terminal. A title
// may hold escape sequences that retitle the window, clear the screen or write the clipboard;
// every C0 and C1 control character but tab, and DEL, is written as \xHH instead. Printable
// text, Cyrillic included, passes unchanged.
#include <QString>

namespace TerminalText {

QString Escaped(const QString &text);

} // namespace TerminalText
