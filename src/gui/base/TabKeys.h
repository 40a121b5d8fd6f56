#pragma once
// A multi-line text field among the fields of a dialog: Tab and Shift+Tab move the focus on and
// back as in every other field, so that the keyboard reaches the fields after it; Ctrl+Tab
// writes a tab character where one is wanted.
class QPlainTextEdit;

void LetTabMoveFocus(QPlainTextEdit *edit);
