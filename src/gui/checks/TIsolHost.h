#pragma once
// What the hanging-and-isolated-elements window needs from the document window it lists: the
// mine, the stage-1 check with its message panel, and the way to an element's row. The document
// window (TChildForm) implements it; the list window holds no copy of the model.
#include <QObject>

class TMine;

class TIsolHost {
public:
    virtual ~TIsolHost() = default;
    virtual TMine *Mine() const = 0;
    // Stage 1 of the topology check with the document's panel rule; true when it found nothing.
    virtual bool CheckTopology(bool keepPanel) = 0;
    // 1-based positions: the table selects the row, its number column becomes current and the
    // table takes the keyboard focus.
    virtual void ShowBranchRow(int index) = 0;
    virtual void ShowUzelRow(int index) = 0;
    // The document window itself: when it is destroyed the list window closes with it.
    virtual QObject *HostObject() = 0;
};
