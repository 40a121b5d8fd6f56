#pragma once
// A document window for the document dialogs' tests: it owns a document and counts what the
// dialogs ask of it. ConfirmEdit answers from allowEdit; ClearResults clears the results flag.
#include "dialogs/TDocumentHost.h"
#include "storage/TMineDocument.h"

class FakeDocumentHost : public TDocumentHost {
public:
    TMineDocument doc;
    bool allowEdit = true;
    int confirms = 0, clears = 0, layouts = 0, captions = 0, repaints = 0;

    TMineDocument &Document() override { return doc; }
    bool ConfirmEdit() override
    {
        ++confirms;
        return allowEdit;
    }
    void ClearResults(bool, bool, bool, bool) override
    {
        ++clears;
        doc.SetCalculated(false);
    }
    void LayoutColumns() override { ++layouts; }
    void RefreshCaption() override { ++captions; }
    void RepaintTables() override { ++repaints; }
    QWidget *HostWidget() override { return nullptr; }
};
