// The main window's exchange with CAD drawings: a new document from the centrelines of a DXF
// file, and the active document's network written as one (core's DxfReader, DxfNetwork and
// DxfWriter say what is read and written).
#include "app/TMainForm.h"

#include "AppError.h"
#include "ShownText.h"
#include "app/TChildForm.h"
#include "base/AppDialogs.h"
#include "base/WaitCursor.h"
#include "dialogs/TDxfImportForm.h"
#include "exchange/DxfNetwork.h"
#include "exchange/DxfReader.h"
#include "exchange/DxfWriter.h"
#include "model/TMine.h"

#include <QFileInfo>

namespace {

// Lines for a box: at most 20 of them, the rest counted.
QString Listed(const QStringList &lines)
{
    QStringList shown;
    for (qsizetype i = 0; i < lines.size() && i < 20; ++i)
        shown << EscapedControls(lines[i]);
    if (lines.size() > 20)
        shown << QStringLiteral("… и ещё %1").arg(lines.size() - 20);
    return shown.join(QStringLiteral("\r\n"));
}

} // namespace

void TMainForm::execImportDxf()
{
    AppDialogs::FileDialogRequest request;
    request.title = QStringLiteral("Импорт из DXF");
    request.filter = QStringLiteral("Чертежи DXF (*.dxf);;Все файлы (*)");
    request.defaultSuffix = QStringLiteral("dxf");
    request.directory = dataDir();
    const QStringList chosen = AppDialogs::RunFileDialog(this, request);
    if (chosen.isEmpty())
        return;
    const QString path = chosen.first();
    TDxfDrawing drawing;
    {
        WaitCursor wait;
        drawing = DxfReader::ReadFile(path, {});
    }
    TDxfImportOptions options;
    if (!TDxfImportForm::Execute(this, drawing, options))
        return;

    // The new window shows the network only once it is whole; a refusal closes it.
    TDxfImportReport report;
    TChildForm *child = CreateChild();
    child->ImportNetwork([&](TMine &mine) {
        try {
            report = DxfNetwork::Build(mine, drawing, options);
        } catch (const AppError &e) {
            throw AppError(QStringLiteral("%1: %2").arg(path, e.message()));
        }
    });
    UpdateActions();
    child->CheckPhysics(false);
    QStringList lines{report.Summary()};
    lines += report.Notes;
    AppDialogs::ShowInformation(this, Listed(lines), QStringLiteral("Импорт из DXF"));
}

void TMainForm::execExportDxf()
{
    TChildForm *child = ActiveChild();
    if (!child)
        return;
    const QFileInfo document(child->FileName());
    AppDialogs::FileDialogRequest request;
    request.save = true;
    request.title = QStringLiteral("Экспорт в DXF");
    request.filter = QStringLiteral("Чертежи DXF (*.dxf)");
    request.defaultSuffix = QStringLiteral("dxf");
    request.directory = child->HasFile() ? document.absolutePath() : dataDir();
    request.fileName = document.completeBaseName() + QStringLiteral(".dxf");
    const QStringList chosen = AppDialogs::RunFileDialog(this, request);
    if (chosen.isEmpty())
        return;
    TDxfExportReport report;
    {
        WaitCursor wait;
        // Labels as the scheme shows them: none, branch numbers or node numbers.
        report = DxfWriter::Export(*child->Mine(), chosen.first(), {child->Mine()->TextInfo()});
    }
    if (report.LeftOut.isEmpty() && report.Renamed.isEmpty())
        return;
    AppDialogs::ShowInformation(this, Listed(QStringList{report.Summary()} + report.LeftOut + report.Renamed),
                                QStringLiteral("Экспорт в DXF"));
}
