#pragma once
// One step of a document's undo list: a closed action of the mine's change journal
// (model/TChangeJournal.h) on the window's QUndoStack. The step was done when it was recorded,
// so the first redo() the stack calls on push does nothing. Keystrokes of one cell (steps of
// the same merge key) merge into one command, which the stack drops when the cell ends as it
// began.
#include "model/TChangeJournal.h"
#include <QUndoCommand>
#include <functional>
#include <memory>

class TJournalCommand : public QUndoCommand {
public:
    // after runs once the step was undone or redone, with the elements it touched.
    TJournalCommand(std::unique_ptr<TChangeStep> step, std::function<void(const TStepFocus &)> after);

    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    std::unique_ptr<TChangeStep> m_step;
    std::function<void(const TStepFocus &)> m_after;
    bool m_done = true;
};
