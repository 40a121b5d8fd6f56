#pragma once
// What the mine needs from the 3D scheme control that shows it. The widget lives in the GUI
// library and implements this interface; the mine only ever holds it through TMine::Scheme().
// The mine does not own the scheme. The scheme attaches itself with TMine::SetScheme(this) and
// detaches with SetScheme(nullptr); a mine being destroyed calls MineDestroyed so the control
// can drop its reference.
class TMine;
class TUzel;
class TBranch;
class TJumper;

class IMineScheme {
public:
    virtual ~IMineScheme() = default;

    // Repaint the picture (the projection is already current).
    virtual void Refresh() = 0;

    // The selected element moved the point the view turns about (node, branch midpoint or the
    // stopping's place on its branch). Model coordinates.
    virtual void SetFocusPoint(float x, float y, float z) = 0;
    // Re-centring after the extents changed: the rotation centre becomes the network's centre.
    virtual void SetRotationCenter(float x, float y, float z) = 0;

    // Inputs of the projection: the rotation centre in model coordinates.
    virtual float RotationCenterX() const = 0;
    virtual float RotationCenterY() const = 0;
    virtual float RotationCenterZ() const = 0;
    // A projection with the mine's CenterRequest set first puts the screen origin at the centre
    // of the drawing rectangle.
    virtual void CenterScreenOrigin() = 0;

    // Selection events; the mine raises them only when the control has a handler.
    // index is the 1-based position of the node (branch) in its list.
    virtual bool HasSelectUzelHandler() const = 0;
    virtual void SelectUzelEvent(TMine *mine, int index, TUzel *uzel) = 0;
    virtual bool HasSelectBranchHandler() const = 0;
    virtual void SelectBranchEvent(TMine *mine, int index, TBranch *branch) = 0;
    virtual bool HasSelectJumperHandler() const = 0;
    virtual void SelectJumperEvent(TMine *mine, TJumper *jumper) = 0;

    // A seam (plan position) was inserted into or removed from the mine's list: the scheme
    // refreshes its seam (plan-position) filter lists.
    virtual void LayersChanged() = 0;
    virtual void PLFsChanged() = 0;
    // The visibility of a seam or plan position changed: the picture is rebuilt.
    virtual void RebuildPicture() = 0;

    // The mine is going away; forget it.
    virtual void MineDestroyed(TMine *mine) = 0;
};
