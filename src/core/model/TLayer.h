#pragma once
// A coal seam: a named, coloured group of branches (TBranch::LayerIndex refers to it by its
// 0-based position in TMine::Layers). Owned by that list; remove it with TLayerList::Delete,
// which also re-indexes the branches.
#include <QString>
#include <QtGlobal>

class TMine;
enum class TNamedField : quint8;

class TLayer {
public:
    // Appends the seam to the mine's Layers and marks Modified. Refused (AppError) without a mine.
    explicit TLayer(TMine *mine);
    virtual ~TLayer();
    TLayer(const TLayer &) = delete;
    TLayer &operator=(const TLayer &) = delete;

    bool Visible() const { return FVisible != 0; }
    // The flag's byte as the file holds it (any non-zero value is true).
    quint8 VisibleByte() const { return FVisible; }
    const QString &Name() const { return FName; }
    quint32 Color() const { return FColor;   }   // 0x00BBGGRR
    TMine *Mine() const { return FMine; }
    // True for a plan position (TPLF).
    virtual bool IsPLF() const { return false; }

    void SetName(const QString &value);   // Modified on a change
    void SetColor(quint32 value);         // Modified on a change
    // On a change of the truth value: stores 0 or 1, the scheme rebuilds its picture, Modified.
    void SetVisible(bool value);
    // The file's byte, kept as read so that it is written back unchanged; a change of the truth
    // value has the effects of SetVisible.
    void SetVisibleByte(quint8 value);

protected:
    enum class ListKind { Layers, PLFs };
    TLayer(TMine *mine, ListKind kind);

private:
    friend class TChangeStep;
    friend class TChangeJournal;
    void Changed();
    void Record(TNamedField field);

    quint8 FVisible = 1;   // a file's Boolean byte, kept as read
    QString FName;
    quint32 FColor = 0xFFFFFF;
    TMine *FMine;
};
