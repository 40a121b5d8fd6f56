#pragma once
// Small helpers shared by the tables and dialogs: numeric input, the invalid-number error, combo
// box drop-down width, colour arithmetic on 0x00BBGGRR colours and their one conversion to
// QColor, and the table font. Cell drawing lives in base/CellDrawing.h.
#include "ShownText.h"          // OneLineText
#include "model/PressureUnits.h"   // AtToPa, PaToAt

#include <QChar>
#include <QColor>
#include <QFont>
#include <QString>

class QComboBox;
class QBoxLayout;
class QHBoxLayout;
class QPushButton;
class QPaintDevice;
class QWidget;

// Raises the conversion error "Неверно указано число" (an AppError); table editors call it when a
// typed number does not convert.
[[noreturn]] void RaiseInvalidNumber();

// Admits backspace (character 8), the digits and the extra characters; with realNumber also "+",
// "E", "e" and the current decimal separator. Any other key comes back as character 0, which
// discards it.
QChar FilterNumberKey(QChar key, bool realNumber, const QString &extra = QString());

// Makes editor accept only the keys FilterNumberKey admits (editing and control keys pass).
// The filter belongs to editor.
void InstallNumberKeyFilter(QWidget *editor, bool realNumber, const QString &extra = QString());

// Widens the drop-down list of box to its widest item (plus a frame, extraPixels, 5 pixels and a
// scroll bar when not every item fits); the closed box keeps its width. Returns that width.
int FitDropDownWidth(QComboBox *box, int extraPixels);

// Colours are 0x00BBGGRR: low byte red, then green, then blue.
quint32 ShiftColor(quint32 color, int amount);   // each channel + amount, clamped to 0..255
quint32 InvertColor(quint32 color);              // 0xFFFFFF − the colour
QColor ToQColor(quint32 color);
quint32 FromQColor(const QColor &color);

// The same as a tool tip showing exactly those characters: a tool tip takes text that looks like
// markup for rich text, and a name such as "<h1>...</h1>" must not become a heading.
QString PlainToolTip(const QString &text);

// The buttons that close a dialog: OK, the default button, "Отмена" and, when its caption is
// given, Help, made in that order (their tab order) as children of parent. A dialog that lays its
// pages out before it is given its layout passes no parent, so that the buttons join the tab order
// after the pages. Each window keeps its own captions: their access keys differ from one to the
// next. The caller connects them.
struct TDialogButtons {
    QPushButton *Ok = nullptr;
    QPushButton *Cancel = nullptr;
    QPushButton *Help = nullptr;
};
struct TDialogCaptions {
    QString Ok;
    QString Cancel;
    QString Help;   // none when empty
};
TDialogButtons MakeDialogButtons(QWidget *parent, const TDialogCaptions &captions);
// The buttons in a row at the right (a stretch before them) or in a column at the top (the
// stretch after them).
QBoxLayout *DialogButtonLayout(const TDialogButtons &buttons, bool column = false);

// The row of a dialog's OK and "Отмена" buttons at its right, made children of dialog: OK is the
// default button, "Отмена" no automatic default. The caller places the row and connects them.
QHBoxLayout *OkCancelRow(QWidget *dialog, const QString &okCaption, QPushButton *&ok, QPushButton *&cancel);

// Tells font matching which installed faces stand for the Windows font names settings use.
// Done once; CellFont and start-up call it.
void RegisterFontSubstitutes();
// The font of the table cells for a stored name and size in points. Windows names ("MS Sans
// Serif", "Arial", "Times New Roman") are kept as they are; font matching finds the closest
// installed face.
QFont CellFont(const QString &name, int pointSize);
// Height of the font's characters in pixels on device (the screen when null): the point size
// converted at the device's resolution, as table rows are measured by it.
int FontPixelHeight(const QFont &font, const QPaintDevice *device = nullptr);
// Height of a table row in that font: the character height plus 7 pixels.
int CellRowHeight(const QFont &font, const QPaintDevice *device = nullptr);
