#pragma once
// What the dialogs that work on one document need from its document window: the document (mine,
// notes, calculation parameters, column layout) and the window's own steps around a change. The
// document window (TChildForm) implements it; a dialog keeps no copy of the model and changes it
// only through its setters, so the tables, the status bar and an open scheme follow at once.
class QWidget;
class TMineDocument;

class TDocumentHost {
public:
    virtual ~TDocumentHost() = default;
    virtual TMineDocument &Document() = 0;
    // The guard before calculated data changes: with results present the user must agree to
    // lose them (they are cleared then); false when the change is refused.
    virtual bool ConfirmEdit() = 0;
    // Clears the calculation results (whole-mine and/or route), optionally after a question;
    // with save a document that has a file is saved and its result side files removed.
    virtual void ClearResults(bool ask, bool wholeMine, bool save, bool route) = 0;
    // Column counts and widths of both tables after the column layout changed.
    virtual void LayoutColumns() = 0;
    virtual void RefreshCaption() = 0;
    // The node and branch tables show the model's values again (rows unchanged); a number
    // column widens to a value that no longer fits.
    virtual void RepaintTables() = 0;
    // The window the dialogs are modal over.
    virtual QWidget *HostWidget() = 0;
};
