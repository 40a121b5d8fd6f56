// TChildForm: a document brought back from its recovery copy (app/TRecovery.h).
#include "app/TChildForm.h"

#include "model/TMine.h"
#include "storage/TMineFile.h"

void TChildForm::LoadRecovered(const QString &copyPath, const QString &fileName, bool hasFile)
{
    // An untitled document keeps the name this window proposes: the one it had in the run that
    // ended may be another window's now.
    const QString proposed = m_doc.FileName();
    readDocument([&] {
        TMineFile::Load(m_doc, copyPath);
        m_doc.SetHasFile(hasFile);
        m_doc.SetFileName(hasFile ? fileName : proposed);
    });
    // The changes are still unsaved; the recovery file's path is nobody's recent file.
    Mine()->SetModified(true);
    dropUndoHistory();
}
