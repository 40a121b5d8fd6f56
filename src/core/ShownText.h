#pragma once
// Text out of a document or a file name (a title, a name, a comment, a value read) where the
// system shows it to the user: one line of a window, a box or a report's title page, or a quote
// in a message that a terminal may print. The stored text stays as it is.
#include <QString>

// Line breaks and other control characters become blanks, and a text longer than maxChars is
// cut there with "…" (never between the halves of a surrogate pair). A title may run to
// millions of characters, and measuring or drawing all of it would hold the program up.
QString OneLineText(const QString &text, qsizetype maxChars = 1000);

// Every C0 and C1 control character but tab, and DEL, written as \xHH, so that a title's escape
// sequences cannot retitle a terminal, clear it or write its clipboard, and an invisible
// character in a refused value shows. With keepLineBreaks a CR LF pair stays (the line break
// of the system's own messages). Printable text, Cyrillic included, passes unchanged.
QString EscapedControls(const QString &text, bool keepLineBreaks = false);
