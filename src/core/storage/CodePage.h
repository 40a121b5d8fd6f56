#pragma once
// What the mine file can hold as text: the document keeps every string in the Windows-1251 code
// page, so text typed, pasted or imported is checked against it before it reaches the model.
#include <QStringView>

namespace CodePage {

// Position of the first character code page 1251 lacks, or -1 when all of text fits.
qsizetype First1251Misfit(QStringView text);
inline bool Fits1251(QStringView text) { return First1251Misfit(text) < 0; }

} // namespace CodePage
