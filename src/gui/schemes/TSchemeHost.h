#pragma once
// What the scheme windows need from the shell: the mine of the active document window, the
// document's check before a picture is shown, and the way back into the document's tables when
// the user picks an element on a scheme. The main window implements it; a scheme window holds
// no document and includes nothing of the shell.
//
// The shell is also where one scheme tells the other: a branch picked on the 3D scheme goes to
// the branch table and then to the incidence scheme window when that is open.
class TMine;
class TBranch;
class TUzel;

class TSchemeHost {
public:
    virtual ~TSchemeHost() = default;
    // The mine of the active document window, or none.
    virtual TMine *ActiveMine() = 0;
    // The active document's topology and coordinate check (its findings go to the document's
    // message list); false when it found something or there is no document.
    virtual bool CheckActiveCoordinates() = 0;
    // A scheme made a node (branch) of the active mine the current element; index is its
    // 1-based position. The table moves its current row there without selecting it back.
    virtual void SchemeSelectedUzel(int index, TUzel *uzel) = 0;
    virtual void SchemeSelectedBranch(int index, TBranch *branch) = 0;
};
