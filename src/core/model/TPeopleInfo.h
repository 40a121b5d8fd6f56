#pragma once
// A person placed at a position along a branch. Owned by the branch's People list, which is
// kept in Position order; deleting the person takes it out of that list (no Modified).
#include <QString>
#include <QtGlobal>

class TBranch;
class TMine;
enum class TNamedField : quint8;

class TPeopleInfo {
public:
    // Appends the person to the branch's People. Refused (AppError) without a branch.
    explicit TPeopleInfo(TBranch *branch);
    // The same, already at a position (clamped to [0, 1]) instead of 0: it joins the branch's
    // list at its place at once, which keeps reading a file linear. Does not mark Modified.
    TPeopleInfo(TBranch *branch, double position);
    ~TPeopleInfo();
    TPeopleInfo(const TPeopleInfo &) = delete;
    TPeopleInfo &operator=(const TPeopleInfo &) = delete;

    TBranch *Branch() const { return FBranch; }
    TMine *Mine() const;
    qint32 TabNumber() const { return FTabNumber; }
    const QString &JobTitle() const { return FJobTitle; }
    const QString &FullName() const { return FFullName; }
    double Position() const { return FPosition; }
    qint32 Site() const { return FSite; }

    // Clamped to [0, 1]; on a change: Modified and the branch's people re-sorted.
    void SetPosition(double value);
    void SetTabNumber(qint32 value);          // Modified on a change
    void SetSite(qint32 value);               // Modified on a change
    void SetFullName(const QString &value);   // always marks Modified
    void SetJobTitle(const QString &value);   // always marks Modified

    int IndexInBranch() const;

private:
    friend class TChangeStep;
    friend class TChangeJournal;
    friend class TPeopleList;
    void Changed();
    void Record(TNamedField field);
    // Out of its branch's list while a step of the journal holds it, and back at index.
    void Detach();
    void Attach(int index);

    TBranch *FBranch;
    qint32 FTabNumber = 0;
    QString FJobTitle;
    QString FFullName;
    double FPosition = 0;
    qint32 FSite = 0;
    bool FDetached = false;   // held by a step of the journal, in no list
};
