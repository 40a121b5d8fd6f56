#pragma once
// A test double of the 3D scheme: records every call the mine makes, in order, as short texts
// ("Refresh", "Focus 1 2 3", "SelectBranch 2 #7", ...), and lets a test switch the selection
// handlers on and off and place the rotation centre.
#include "model/IMineScheme.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include <QString>
#include <QStringList>

class RecordingScheme : public IMineScheme {
public:
    QStringList calls;
    bool uzelHandler = true;
    bool branchHandler = true;
    bool jumperHandler = true;
    float centerX = 0, centerY = 0, centerZ = 0;
    TMine *destroyedMine = nullptr;

    int Count(const QString &prefix) const
    {
        int n = 0;
        for (const QString &c : calls)
            if (c.startsWith(prefix))
                ++n;
        return n;
    }
    void Clear() { calls.clear(); }

    void Refresh() override { calls << QStringLiteral("Refresh"); }
    void SetFocusPoint(float x, float y, float z) override
    {
        calls << QStringLiteral("Focus %1 %2 %3").arg(x).arg(y).arg(z);
    }
    void SetRotationCenter(float x, float y, float z) override
    {
        centerX = x;
        centerY = y;
        centerZ = z;
        calls << QStringLiteral("RotationCenter %1 %2 %3").arg(x).arg(y).arg(z);
    }
    float RotationCenterX() const override { return centerX; }
    float RotationCenterY() const override { return centerY; }
    float RotationCenterZ() const override { return centerZ; }
    void CenterScreenOrigin() override { calls << QStringLiteral("CenterOrigin"); }
    bool HasSelectUzelHandler() const override { return uzelHandler; }
    void SelectUzelEvent(TMine *, int index, TUzel *uzel) override
    {
        calls << QStringLiteral("SelectUzel %1 #%2").arg(index).arg(uzel->Number());
    }
    bool HasSelectBranchHandler() const override { return branchHandler; }
    void SelectBranchEvent(TMine *, int index, TBranch *branch) override
    {
        calls << QStringLiteral("SelectBranch %1 #%2").arg(index).arg(branch->Number());
    }
    bool HasSelectJumperHandler() const override { return jumperHandler; }
    void SelectJumperEvent(TMine *, TJumper *jumper) override
    {
        calls << QStringLiteral("SelectJumper %1").arg(jumper->Caption());
    }
    void LayersChanged() override { calls << QStringLiteral("LayersChanged"); }
    void PLFsChanged() override { calls << QStringLiteral("PLFsChanged"); }
    void RebuildPicture() override { calls << QStringLiteral("RebuildPicture"); }
    void MineDestroyed(TMine *mine) override
    {
        destroyedMine = mine;
        calls << QStringLiteral("MineDestroyed");
    }
};
