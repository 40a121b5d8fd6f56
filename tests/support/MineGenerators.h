#pragma once
// Synthetic mines for the check's tests and benchmarks.
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "model/Unset.h"

#include <QRandomGenerator>
#include <QString>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace minegen {

// A valid network: a side × side grid of nodes on one level, each joined to its right and lower
// neighbour. Every node has 2 to 4 branches, no branch is isolated or parallel, every number is
// unique: all three stages of the check pass. side = 224 gives 50,176 nodes and 99,904 branches.
inline void Grid(TMine &mine, int side)
{
    mine.BeginUpdate();
    auto number = [side](int r, int c) { return r * side + c + 1; };
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c)
            mine.AddUzel(number(r, c), float(c) * 25.0f, float(r) * 25.0f, -float((r + c) % 7) * 3.5f);
    int b = 1;
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            if (c + 1 < side) {
                mine.AddBranch(b, number(r, c), number(r, c + 1), b % 10 == 0 ? QStringLiteral("Штрек") : QString(), 9.5f);
                ++b;
            }
            if (r + 1 < side) {
                mine.AddBranch(b, number(r, c), number(r + 1, c), QString(), 12.0f);
                ++b;
            }
        }
    mine.EndUpdate();
}

struct RandomParams {
    int uzels = 200;
    int branches = 300;
    int uzelNumberRange = 0;    // node numbers drawn from 1..range; 0: unique numbers 1..uzels, shuffled
    int branchNumberRange = 0;  // likewise for branch numbers
    int referenceRange = 0;     // start and end numbers drawn from 1..range; 0: 1..uzels
    int badNumberPercent = 0;   // numbers that are unset, zero or negative
    int unsetEndPercent = 0;    // start or end numbers left unset
    int unsetCoordinatePercent = 0;
    int emptyRowPercent = 0;    // empty nodes and branches to be deleted by the check
    bool allowLoops = true;
    int surfacePercent = 0;
    qint32 numberStride = 1;    // numbers (and references) multiplied by this: sparse numbering
};

inline void Random(TMine &mine, quint32 seed, const RandomParams &s)
{
    QRandomGenerator rng(seed);
    auto percent = [&rng](int p) { return p > 0 && int(rng.bounded(100)) < p; };
    auto numbers = [&rng, &s](int count, int range) {
        std::vector<qint32> v(static_cast<size_t>(count));
        if (range > 0) {
            for (qint32 &x : v)
                x = qint32(rng.bounded(range)) + 1;
        } else {
            std::iota(v.begin(), v.end(), 1);
            for (int i = count - 1; i > 0; --i)
                std::swap(v[size_t(i)], v[rng.bounded(i + 1)]);
        }
        for (qint32 &x : v)
            x *= s.numberStride;
        return v;
    };
    auto bad = [&rng](qint32 n) {
        switch (rng.bounded(3)) {
        case 0: return kUnsetInt;
        case 1: return qint32(0);
        default: return -n;
        }
    };
    auto coordinate = [&](void) { return percent(s.unsetCoordinatePercent) ? kUnsetReal : float(rng.bounded(20000)) / 10.0f - 1000.0f; };

    const std::vector<qint32> uzelNumbers = numbers(s.uzels, s.uzelNumberRange);
    const std::vector<qint32> branchNumbers = numbers(s.branches, s.branchNumberRange);
    const int refs = s.referenceRange > 0 ? s.referenceRange : s.uzels;
    size_t nu = 0, nb = 0;
    while (nu < uzelNumbers.size() || nb < branchNumbers.size()) {
        const bool uzel = nb == branchNumbers.size() || (nu < uzelNumbers.size() && rng.bounded(2) == 0);
        if (percent(s.emptyRowPercent)) {
            if (uzel)
                mine.AddUzel(kUnsetInt, kUnsetReal, kUnsetReal, kUnsetReal);
            else
                mine.AddBranch(kUnsetInt, kUnsetInt, kUnsetInt, QString(), kUnsetReal);
            continue;
        }
        if (uzel) {
            qint32 n = uzelNumbers[nu++];
            if (percent(s.badNumberPercent))
                n = bad(n);
            TUzel *u = mine.AddUzel(n, coordinate(), coordinate(), coordinate());
            if (percent(s.surfacePercent))
                u->SetSurface(true);
        } else {
            qint32 n = branchNumbers[nb++];
            if (percent(s.badNumberPercent))
                n = bad(n);
            qint32 a = (qint32(rng.bounded(refs)) + 1) * s.numberStride;
            qint32 z = (qint32(rng.bounded(refs)) + 1) * s.numberStride;
            while (!s.allowLoops && z == a && refs > 1)
                z = (qint32(rng.bounded(refs)) + 1) * s.numberStride;
            if (percent(s.unsetEndPercent))
                (rng.bounded(2) ? a : z) = kUnsetInt;
            const QString comment = rng.bounded(4) == 0 ? QStringLiteral("в. %1").arg(rng.bounded(100)) : QString();
            mine.AddBranch(n, a, z, comment, float(rng.bounded(200)) / 10.0f);
        }
    }
}

} // namespace minegen
