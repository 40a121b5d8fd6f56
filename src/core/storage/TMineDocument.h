#pragma once
// What a document window owns besides its widgets: the mine, the note lines, the calculation
// parameters kept for the gas-dynamic calculation, the file it belongs to, and the column layout
// of its node and branch tables. The mine file (TMineFile) reads and writes all of it; the
// document window of the editor and the command-line tool each own one of these.
#include "storage/TColumnDesc.h"

#include <QString>
#include <QStringList>
#include <memory>

class TMine;

class TMineDocument {
public:
    TMineDocument();
    ~TMineDocument();
    TMineDocument(const TMineDocument &) = delete;
    TMineDocument &operator=(const TMineDocument &) = delete;

    TMine *Mine() const { return FMine.get(); }

    const QStringList &Notes() const { return FNotes; }
    void SetNotes(const QStringList &notes) { FNotes = notes; }

    // The Boolean settings keep the byte read from the file, which is written back unchanged;
    // the bool setters change it (to 0 or 1) only when the truth value changes.
    bool AutoUpdate() const { return FAutoUpdate != 0; }
    void SetAutoUpdate(bool v) { SetFlag(FAutoUpdate, v); }
    quint8 AutoUpdateByte() const { return FAutoUpdate; }
    void SetAutoUpdateByte(quint8 v) { FAutoUpdate = v; }
    qint32 AutoUpdateIterations() const { return FAutoUpdateIterations; }
    void SetAutoUpdateIterations(qint32 v) { FAutoUpdateIterations = v; }
    qint32 SaveIterations() const { return FSaveIterations; }
    void SetSaveIterations(qint32 v) { FSaveIterations = v; }
    qint32 Reserved1() const { return FReserved1; }
    void SetReserved1(qint32 v) { FReserved1 = v; }
    float BoomSpeed() const { return FBoomSpeed; }
    void SetBoomSpeed(float v) { FBoomSpeed = v; }
    bool Reserved2() const { return FReserved2 != 0; }
    void SetReserved2(bool v) { SetFlag(FReserved2, v); }
    quint8 Reserved2Byte() const { return FReserved2; }
    void SetReserved2Byte(quint8 v) { FReserved2 = v; }
    bool Calculated() const { return FCalculated != 0; }
    void SetCalculated(bool v) { SetFlag(FCalculated, v); }
    quint8 CalculatedByte() const { return FCalculated; }
    void SetCalculatedByte(quint8 v) { FCalculated = v; }
    quint8 CalcMethod() const { return FCalcMethod; }
    void SetCalcMethod(quint8 v) { FCalcMethod = v; }
    float CellLength() const { return FCellLength; }
    // Also sets the mine's cell length (which recounts the calculation cells).
    void SetCellLength(float v);

    const QString &FileName() const { return FFileName; }
    void SetFileName(const QString &v) { FFileName = v; }
    bool HasFile() const { return FHasFile; }
    void SetHasFile(bool v) { FHasFile = v; }
    // Version number (100 x major + minor) of the file last read; the current version otherwise.
    int FileVersion() const { return FFileVersion; }
    void SetFileVersion(int v) { FFileVersion = v; }

    const TNodeColumns &NodeColumns() const { return FNodeColumns; }
    const TBranchColumns &BranchColumns() const { return FBranchColumns; }
    // The descriptor texts are refilled from the kinds given.
    void SetNodeColumns(const TNodeColumns &columns);
    void SetBranchColumns(const TBranchColumns &columns);
    // Kind order, everything shown except the volume coefficient and the additional volume.
    void ResetColumns();
    static TNodeColumns DefaultNodeColumns();
    static TBranchColumns DefaultBranchColumns();

private:
    static void SetFlag(quint8 &field, bool v)
    {
        if ((field != 0) != v)
            field = v ? 1 : 0;
    }

    std::unique_ptr<TMine> FMine;
    QStringList FNotes;
    quint8 FAutoUpdate = 1;
    qint32 FAutoUpdateIterations = 50;
    qint32 FSaveIterations = 25;
    qint32 FReserved1 = 0;
    float FBoomSpeed = 10.0f;
    quint8 FReserved2 = 0;
    quint8 FCalculated = 0;
    quint8 FCalcMethod = 0;
    float FCellLength = 4.0f;
    QString FFileName;
    bool FHasFile = false;
    int FFileVersion;
    TNodeColumns FNodeColumns;
    TBranchColumns FBranchColumns;
};
