#pragma once
// The state of a 3D scheme that is not a widget: the mine shown, the rotation centre (model
// coordinates the nodes are projected about), the screen origin (the pixel where that centre is
// drawn) and the drawing rectangle. The scheme control is one of these with scroll bars around
// it; the command-line picture and the benchmarks use it bare.
//
// Who owns what: the view does not own its mine. It attaches itself as the mine's Scheme and
// detaches when destroyed or given another mine; a mine destroyed first tells it
// (MineDestroyed).
#include "model/IMineScheme.h"
#include "schemes/TSchemeCanvas.h"
#include "schemes/TSchemeScene.h"

#include <QPoint>
#include <functional>

class TSchemeView : public IMineScheme {
public:
    TSchemeView() = default;
    ~TSchemeView() override;
    TSchemeView(const TSchemeView &) = delete;
    TSchemeView &operator=(const TSchemeView &) = delete;

    TMine *Mine() const { return FMine; }
    // Attaches the mine (none detaches): the previous mine forgets the view, the mine's current
    // element is selected again (a branch or stopping selects its branch, a node its node), which
    // moves the rotation centre to it, and the next projection re-centres the screen origin.
    // A mine shown for the first time turns about the middle of its network instead, so that
    // its first picture shows all of it. The caller then re-projects (the control through its
    // bars).
    void SetMine(TMine *mine);

    const TSchemeRect &DrawRect() const { return FRect; }
    // A new rectangle also puts the screen origin at its centre.
    void SetDrawRect(const TSchemeRect &rect);
    QPoint ScreenOrigin() const { return FOrigin; }
    void SetScreenOrigin(QPoint origin) { FOrigin = origin; }
    // Integer halves of left + right and top + bottom.
    QPoint RectCenter() const;

    // "Вся шахта": the whole network at zoom 1 about its own centre, in the middle of the
    // drawing rectangle (nothing without a mine).
    void ShowWholeMine();
    // The current element is marked (the control); a picture of its own shows none.
    bool ShowsSelection() const { return FShowSelection; }
    void SetShowSelection(bool show) { FShowSelection = show; }

    // The scheme of the attached mine into the drawing rectangle (nothing without a mine). The
    // first picture of a mine with a valid topology shows the whole network.
    void Draw(TSchemeCanvas &canvas);
    // The same view drawn into another rectangle, e.g. a picture file of another size: fitted
    // to that rectangle, with the picture's middle where the control's is (a panned view stays
    // panned by as much of the picture). The mine keeps the control's fit for picking.
    void DrawInto(TSchemeCanvas &canvas, const TSchemeRect &rect);
    TUzel *HitNode(QPoint at) const;
    TBranch *HitBranch(QPoint at) const;

    // Raised by the mine's selection operations, only when assigned.
    std::function<void(TMine *, int, TUzel *)> OnSelectUzel;
    std::function<void(TMine *, int, TBranch *)> OnSelectBranch;
    std::function<void(TMine *, TJumper *)> OnSelectJumper;

    // --- IMineScheme ---
    void Refresh() override {}
    void SetFocusPoint(float x, float y, float z) override;
    void SetRotationCenter(float x, float y, float z) override;
    float RotationCenterX() const override { return FCenterX; }
    float RotationCenterY() const override { return FCenterY; }
    float RotationCenterZ() const override { return FCenterZ; }
    void CenterScreenOrigin() override { FOrigin = RectCenter(); }
    bool HasSelectUzelHandler() const override { return bool(OnSelectUzel); }
    void SelectUzelEvent(TMine *mine, int index, TUzel *uzel) override;
    bool HasSelectBranchHandler() const override { return bool(OnSelectBranch); }
    void SelectBranchEvent(TMine *mine, int index, TBranch *branch) override;
    bool HasSelectJumperHandler() const override { return bool(OnSelectJumper); }
    void SelectJumperEvent(TMine *mine, TJumper *jumper) override;
    void LayersChanged() override {}
    void PLFsChanged() override {}
    void RebuildPicture() override { Refresh(); }
    void MineDestroyed(TMine *mine) override;

private:
    TMine *FMine = nullptr;
    float FCenterX = 0, FCenterY = 0, FCenterZ = 0;
    QPoint FOrigin;
    TSchemeRect FRect;
    bool FShowSelection = true;
    // The branches as the picture reads them, kept from one drawing to the next.
    TSchemeScene FScene;

    void ShowNetworkFirst();
};
