#pragma once
// The large mine of the load benchmarks: n nodes on a 400-wide grid of three levels and n
// branches joining node i to node i + 1, each with a comment and a name; every 50th branch holds
// a stopping and every 500th a person. 100,000 elements make a file of about 16 MB.
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TPeopleInfo.h"
#include "model/TUzel.h"
#include "storage/TMineDocument.h"

namespace largemine {

inline void Build(TMineDocument &doc, int n)
{
    TMine &m = *doc.Mine();
    m.BeginUpdate();
    m.SetTitle(QStringLiteral("Большая шахта"));
    for (int i = 1; i <= n; ++i)
        m.AddUzel(i, float(i % 400) * 25.0f, float(i / 400) * 25.0f, -300.0f + float(i % 37));
    for (int i = 1; i <= n; ++i) {
        TBranch *b = m.AddBranch(i, i, i % n + 1, QStringLiteral("Выработка №%1").arg(i), 9.5f + float(i % 7));
        b->SetName(QStringLiteral("Штрек %1").arg(i % 100));
        b->SetResistance(0.001 * (i % 13));
        if (i % 50 == 0) {
            TJumper *j = new TJumper(b);
            j->SetCaption(QStringLiteral("П-%1").arg(i));
            j->SetPosition(0.5);
        }
        if (i % 500 == 0)
            new TPeopleInfo(b);
    }
    m.EndUpdate();
}

} // namespace largemine
