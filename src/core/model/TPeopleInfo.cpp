#include "model/TPeopleInfo.h"
#include "AppError.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include <cmath>

TPeopleInfo::TPeopleInfo(TBranch *branch) : TPeopleInfo(branch, 0.0) {}

TPeopleInfo::TPeopleInfo(TBranch *branch, double position)
    : FBranch(branch), FPosition(std::isnan(position) || position < 0 ? 0.0 : position > 1 ? 1.0 : position)
{
    if (!branch)
        throw AppError(QStringLiteral("Параметр Owner не должен быть равным nil"));
    FBranch->People().Insert(this);
}

TPeopleInfo::~TPeopleInfo()
{
    TMine *mine = FBranch->Mine();
    if (mine->FCurPeople == this)
        mine->FCurPeople = nullptr;
    FBranch->People().Remove(this);
}

TMine *TPeopleInfo::Mine() const { return FBranch->Mine(); }

void TPeopleInfo::Changed() { FBranch->Mine()->SetModified(true); }

void TPeopleInfo::SetPosition(double value)
{
    if (std::isnan(value) || value < 0)
        value = 0;
    else if (value > 1)
        value = 1;
    if (value == FPosition)
        return;
    FPosition = value;
    Changed();
    FBranch->People().Resort(this);
}

void TPeopleInfo::SetTabNumber(qint32 value)
{
    if (value == FTabNumber)
        return;
    FTabNumber = value;
    Changed();
}

void TPeopleInfo::SetSite(qint32 value)
{
    if (value == FSite)
        return;
    FSite = value;
    Changed();
}

void TPeopleInfo::SetFullName(const QString &value)
{
    FFullName = value;
    Changed();
}

void TPeopleInfo::SetJobTitle(const QString &value)
{
    FJobTitle = value;
    Changed();
}

int TPeopleInfo::IndexInBranch() const { return FBranch->People().IndexOf(this); }
