#pragma once
// A coal seam: a named, coloured group of branches (TBranch::LayerIndex refers to it by its
// 0-based position in TMine::Layers). Owned by that list; remove it with TLayerList::Delete,
// which also re-indexes the branches.
#include <QString>
#include <QtGlobal>

class TMine;

class TLayer {
public:
    // Appends the seam to the mine's Layers and marks Modified. Refused (AppError) without a mine.
    explicit TLayer(TMine *mine);
    virtual ~TLayer();
    TLayer(const TLayer &) = delete;
    TLayer &operator=(const TLayer &) = delete;

    bool Visible() const { return FVisible; }
    const QString &Name() const { return FName; }
    quint32 Color() const { return FColor;   }   // 0x00BBGGRR
    TMine *Mine() const { return FMine; }
    // True for a plan position (TPLF).
    virtual bool IsPLF() const { return false; }

    void SetName(const QString &value);   // Modified on a change
    void SetColor(quint32 value);         // Modified on a change
    // On a change: the scheme rebuilds its picture, Modified.
    void SetVisible(bool value);

protected:
    enum class ListKind { Layers, PLFs };
    TLayer(TMine *mine, ListKind kind);

private:
    void Changed();

    bool FVisible = true;
    QString FName;
    quint32 FColor = 0xFFFFFF;
    TMine *FMine;
};
