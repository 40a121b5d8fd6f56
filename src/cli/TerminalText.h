#pragma once
// Text that came out of a document (titles, comments, names) or names a file, on its way to a
// terminal: a title may hold escape sequences that retitle the window, clear the screen or write
// the clipboard, so every C0 and C1 control character but tab, and DEL, is written as \xHH.
// Printable text, Cyrillic included, passes unchanged.
#include "ShownText.h"

namespace TerminalText {

inline QString Escaped(const QString &text)
{
    return EscapedControls(text);
}

// An error message of the system's own, which may carry a file name or a document's text: the
// line breaks of the system's texts ("\r\n", as in the reader's prefix) stay.
inline QString EscapedMessage(const QString &text)
{
    return EscapedControls(text, true);
}

} // namespace TerminalText
