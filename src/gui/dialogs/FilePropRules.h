#pragma once
// The rules of the document properties dialog that need no widget: the pressure field in its two
// units, the checks "&OK" runs with their messages, whether a calculation parameter changes, and
// the column check boxes against the document's column layout.
#include "model/PressureUnits.h"
#include "storage/TColumnDesc.h"

#include <QString>
#include <QStringList>
#include <array>

namespace FileProp {

// Texts of the unit box, in the order of TAirPressureUnit.
QString UnitText(TAirPressureUnit unit);

// The pressure field as the dialog first writes it: the stored atmospheres in mm of mercury,
// rounded to a whole number (1 atmosphere -> "736").
QString InitialPressureText(float atmospheres);
// The field's text rewritten in another unit, fixed point with one decimal ("736" mm of mercury
// -> "10005.4" mm of water, with the user's separator); false when the text is not a number.
bool ConvertPressureText(const QString &text, TAirPressureUnit from, TAirPressureUnit to,
                         QString &converted);

// The checks of "&OK". Each returns the error message, empty when the text is accepted, and
// then stores the value read.
QString CheckTemperature(const QString &text, qint32 &celsius);
QString CheckPressure(const QString &text, TAirPressureUnit unit, double &atmospheres);
// A typed pressure counts as a change when it differs from the stored one by more than
// max(0.0001 x the smaller magnitude, 0.0001) atmospheres.
bool PressureDiffers(double typed, double stored);

// The memo's text as note lines: one per line, a last line break ending the last line.
QStringList NoteLines(const QString &memoText);

// The column check boxes of the page "Параметры": one per kind or pair of kinds.
enum ColumnBox {
    cbUzelNumber, cbXY, cbZ,
    cbBranchNumber, cbStart, cbEnd, cbLength, cbSection, cbPerimeter, cbVolume, cbAngle,
    cbComment, cbResistance, cbPeople, cbName,
    ColumnBoxCount
};
inline constexpr int UzelBoxCount = cbBranchNumber;
QString ColumnBoxCaption(int box);
// The box of a column kind; -1 for the kinds without one (11 and 12 always hidden, 18 kept).
int ColumnBoxOf(int code);
using ColumnBoxes = std::array<bool, ColumnBoxCount>;
// Ticks from the layout, in the document's column order: the box of X and Y shows whichever of
// the two comes later.
ColumnBoxes BoxesFromColumns(const TNodeColumns &uzels, const TBranchColumns &branches);
// Each descriptor's Shown from the box of its kind; kinds 11 and 12 hidden, 18 as it was.
void ColumnsFromBoxes(const ColumnBoxes &boxes, TNodeColumns &uzels, TBranchColumns &branches);

} // namespace FileProp
