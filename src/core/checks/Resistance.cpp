#include "checks/Resistance.h"

#include "AppError.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "model/Unset.h"

#include <cmath>

namespace {
constexpr double kAlpha[kRoughnessClasses] = {0.00245, 0.00588, 0.01372, 0.02695, 0.04165};
}

double RoughnessAlpha(int roughnessClass)
{
    if (roughnessClass < 0 || roughnessClass >= kRoughnessClasses)
        return 0.0;
    return kAlpha[roughnessClass];
}

bool ComputeResistance(TBranch &branch)
{
    const float s = branch.Section();
    const float l = branch.Length();
    if (s == 0.0f || l == kUnsetReal || s == kUnsetReal)
        return false;
    // A negative section (typed before any check) has no perimeter; it must not yield R = 0.
    if (!(s > 0.0f))
        return false;
    // A class outside the table would read past it; such a branch keeps its R.
    const int roughness = int(branch.Roughness());
    if (roughness < 0 || roughness >= kRoughnessClasses)
        return false;

    const float p = branch.Perimeter();
    double r = double(p) * kAlpha[roughness];
    r = r * double(l);
    r = r / (double(s) * double(s) * double(s));
    r = r * 9.81;
    if (!std::isfinite(r))
        return false;
    branch.SetResistance(r);
    return true;
}

int ComputeAllResistance(TMine &mine, TResistanceMode mode)
{
    if (!mine.TopologyValid())
        throw AppError(QStringLiteral("Найдены ошибки топологии"));
    int computed = 0;
    TBranchList &branches = mine.Branches();
    for (int i = 1; i <= branches.Count(); ++i) {
        TBranch *b = branches.Items(i);
        if (mode == TResistanceMode::ZeroOnly && b->Resistance() != 0.0)
            continue;
        if (ComputeResistance(*b))
            ++computed;
    }
    return computed;
}
