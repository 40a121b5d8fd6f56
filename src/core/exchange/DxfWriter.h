#pragma once
// A mine's network as a DXF drawing (AutoCAD 2000 DXF, text, Windows-1251, metres), written with
// dxflib, for the survey department's CAD plans.
//
// Every branch is a 3D LINE from its start node to its end node, on a layer named after its seam
// in the seam's colour (the nearest of the colour index, and the exact colour beside it), on
// layer "0" without a seam. Each stopping is a short stroke across its branch, in plan, where it
// stands along it, on layer "Перемычки". With labels, node numbers stand at the nodes on layer
// "Узлы", or branch numbers at the branches' middles on layer "Ветви". Coordinates are written
// in the fewest digits that read back as the same single-precision numbers.
//
// A branch whose end node is missing or has an unset coordinate cannot be drawn: it is left out
// and listed. Seam names a CAD program does not take for a layer (characters such as / : * ?,
// a name of another layer) are written changed, and listed too.
#include <QString>
#include <QStringList>

class QIODevice;
class TMine;

struct TDxfExportOptions {
    quint8 Labels = 0;   // as the scheme's labels: 0 none, 1 branch numbers, 2 node numbers
};

struct TDxfExportReport {
    int Lines = 0, Stoppings = 0, Labels = 0;
    QStringList LeftOut;   // "ветвь 12: у узла 5 не заданы координаты", one per branch left out
    QStringList Renamed;   // "пласт "A/B" записан слоем "A_B""
    // "ветвей: N, перемычек: M, пропущено ветвей: K"
    QString Summary() const;
};

namespace DxfWriter {

// Writes the drawing into out; false when a write failed.
bool Write(const TMine &mine, QIODevice &out, const TDxfExportOptions &options, TDxfExportReport *report);
// Writes the file at path, which takes the place of an old one only once complete. Raises
// AppError "PATH: why" when it cannot be written; then an old file stays as it was.
TDxfExportReport Export(const TMine &mine, const QString &path, const TDxfExportOptions &options);

} // namespace DxfWriter
