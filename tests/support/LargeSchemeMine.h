#pragma once
// A mine for the scheme's benchmarks: 250 rows of 400 nodes on five levels, each row a chain of
// branches, the rows tied together at a column that wanders, and one branch closing the first
// row: 100,000 nodes and 100,000 branches (1000 rows of 1000: a million of each). Every second
// row lies in the second of two seams, so colours change as they do in a real mine.
#include "model/TBranch.h"
#include "model/TLayer.h"
#include "model/TMine.h"

#include <memory>

namespace schememines {

inline std::unique_ptr<TMine> Large(int rows = 250, int cols = 400)
{
    auto mine = std::make_unique<TMine>();
    mine->BeginUpdate();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            mine->AddUzel(r * cols + c + 1, float(c) * 10.0f + float(r % 3), float(r) * 10.0f,
                          -float(r % 5) * 40.0f - float(c % 3));
    for (int i = 0; i < 2; ++i)
        (new TLayer(mine.get()))->SetColor(i ? 0x00FF80 : 0xC0C0C0);
    int b = 1;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c + 1 < cols; ++c)
            mine->AddBranch(b++, r * cols + c + 1, r * cols + c + 2, QString(), 10)->SetLayerIndex(r % 2);
    for (int r = 0; r + 1 < rows; ++r) {
        const int c = (r * 7) % cols;
        mine->AddBranch(b++, r * cols + c + 1, (r + 1) * cols + c + 1, QString(), 10);
    }
    mine->AddBranch(b++, 1, cols, QString(), 10);
    mine->EndUpdate();
    return mine;
}

} // namespace schememines
