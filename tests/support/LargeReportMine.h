#pragma once
// A mine for the report's benchmarks: n nodes on a slope and n branches joining each node to the
// next (the last back to the first), every tenth branch named, every hundredth node on the
// surface, branch ends resolved. At n = 100,000 the topology report runs to about 3,000 pages.
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"

namespace reportmines {

inline void Large(TMine &mine, int n)
{
    mine.BeginUpdate();
    mine.SetTitle(QStringLiteral("Большая"));
    for (int i = 1; i <= n; ++i) {
        TUzel *u = mine.AddUzel(i, float(i % 1000) * 12.5f, float(i / 1000) * 20.0f, -float(i % 37) * 3.0f);
        if (i % 100 == 0)
            u->SetSurface(true);
    }
    for (int i = 1; i <= n; ++i) {
        TBranch *b = mine.AddBranch(i, i, i % n + 1, QString(), 9.5f);
        if (i % 10 == 0)
            b->SetName(QStringLiteral("Откаточный штрек %1").arg(i / 10));
    }
    mine.EndUpdate();
    mine.ResolveIncidence();
}

} // namespace reportmines
