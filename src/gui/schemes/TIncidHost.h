#pragma once
// What the incidence scheme window needs from the document window it shows: the mine, the
// stage-1 check with the document's message panel, which of the two tables the user works in,
// and the way to an element's row. The document window (TChildForm) implements it; the scheme
// window keeps no copy of the model.
class QObject;
class TMine;

class TIncidHost {
public:
    virtual ~TIncidHost() = default;
    virtual TMine *Mine() const = 0;
    // Stage 1 of the topology check with the document's panel rule; true when it found nothing.
    virtual bool CheckTopology(bool keepPanel) = 0;
    // The node table holds the document window's focus (its own, also while another window is
    // active).
    virtual bool UzelTableFocused() const = 0;
    // 1-based positions: the table selects the row, its number column becomes current and the
    // table takes the document window's focus.
    virtual void ShowBranchRow(int index) = 0;
    virtual void ShowUzelRow(int index) = 0;
    // The document window itself: the scheme window lets go of the mine when it is destroyed.
    virtual QObject *HostObject() = 0;
};
