#include "model/TPeopleInfo.h"
#include "AppError.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include <algorithm>
#include <cmath>

TPeopleInfo::TPeopleInfo(TBranch *branch) : TPeopleInfo(branch, 0.0) {}

TPeopleInfo::TPeopleInfo(TBranch *branch, double position)
    : FBranch(branch), FPosition(std::isnan(position) || position < 0 ? 0.0 : position > 1 ? 1.0 : position)
{
    if (!branch)
        throw AppError(QStringLiteral("Параметр Owner не должен быть равным nil"));
    FBranch->OwnPeople().Insert(this);
    TChangeJournal &journal = FBranch->Mine()->Journal();
    if (journal.Active())
        journal.Added(this);
}

TPeopleInfo::~TPeopleInfo()
{
    // A person a step of the journal held out of its branch: that branch may be gone.
    if (FDetached)
        return;
    TMine *mine = FBranch->Mine();
    if (mine->FCurPeople == this)
        mine->FCurPeople = nullptr;
    FBranch->OwnPeople().Remove(this);
}

TMine *TPeopleInfo::Mine() const { return FBranch->Mine(); }

void TPeopleInfo::Changed() { FBranch->Mine()->SetModified(true); }

void TPeopleInfo::Record(TNamedField field)
{
    TChangeJournal &journal = FBranch->Mine()->Journal();
    if (journal.Active())
        journal.Named(this, field);
}

void TPeopleInfo::Detach()
{
    TMine *mine = FBranch->Mine();
    if (mine->FCurPeople == this)
        mine->FCurPeople = nullptr;
    FBranch->OwnPeople().Remove(this);
    FDetached = true;
}

void TPeopleInfo::Attach(int index)
{
    auto &items = FBranch->OwnPeople().FItems;
    items.insert(items.begin() + std::clamp(index, 0, int(items.size())), this);
    FDetached = false;
}

void TPeopleInfo::SetPosition(double value)
{
    if (std::isnan(value) || value < 0)
        value = 0;
    else if (value > 1)
        value = 1;
    if (value == FPosition)
        return;
    TChangeJournal &journal = FBranch->Mine()->Journal();
    if (journal.Active()) {
        journal.PeopleOrder(FBranch);
        journal.Named(this, TNamedField::PeoplePosition);
    }
    FPosition = value;
    Changed();
    FBranch->OwnPeople().Resort(this);
}

void TPeopleInfo::SetTabNumber(qint32 value)
{
    if (value == FTabNumber)
        return;
    Record(TNamedField::PeopleTabNumber);
    FTabNumber = value;
    Changed();
}

void TPeopleInfo::SetSite(qint32 value)
{
    if (value == FSite)
        return;
    Record(TNamedField::PeopleSite);
    FSite = value;
    Changed();
}

void TPeopleInfo::SetFullName(const QString &value)
{
    Record(TNamedField::PeopleFullName);
    FFullName = value;
    Changed();
}

void TPeopleInfo::SetJobTitle(const QString &value)
{
    Record(TNamedField::PeopleJobTitle);
    FJobTitle = value;
    Changed();
}

int TPeopleInfo::IndexInBranch() const { return FBranch->People().IndexOf(this); }
