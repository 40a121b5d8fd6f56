#include "model/TUzel.h"
#include "AppError.h"
#include "ShownText.h"
#include "model/TMine.h"
#include "model/Unset.h"

TUzel::TUzel(TMine *mine)
    : FMine(mine), FNumber(kUnsetInt), FX(kUnsetReal), FY(kUnsetReal), FZ(kUnsetReal)
{
    if (!mine)
        throw AppError(QStringLiteral("Параметр Owner не должен быть равным nil"));
}

TUzel::~TUzel()
{
    FMine->NetworkChanged();
    if (FMine->FCurUzel == this)
        FMine->FCurUzel = nullptr;
}

float TUzel::Coordinate(int axis) const
{
    return axis == 1 ? FX : axis == 2 ? FY : axis == 3 ? FZ : kUnsetReal;
}

void TUzel::SetNumber(qint32 value)
{
    if (value == FNumber)
        return;
    if (FMine->FJournal.Active())
        FMine->FJournal.Field(this, TColumnKind::UzelNumber);
    const qint32 old = FNumber;
    FNumber = value;
    if (FListPos >= 0)
        FMine->FUzels.Renumbered(this, old);
    FMine->SetModified(true);
}

void TUzel::SetCoordinate(int axis, float value)
{
    float *field = axis == 1 ? &FX : axis == 2 ? &FY : axis == 3 ? &FZ : nullptr;
    if (!field || *field == value)
        return;
    TChangeJournal &journal = FMine->FJournal;
    if (journal.Active() && !journal.CoordinatesKept())
        journal.Field(this, axis == 1 ? TColumnKind::X : axis == 2 ? TColumnKind::Y : TColumnKind::Z);
    const float old = *field;
    *field = value;
    FMine->SetModified(true);
    if (FListPos >= 0) {
        FMine->NodeMoved(axis, old, value);
        FMine->NodeGeometryChanged(this);
    }
}

void TUzel::SetSurface(bool value)
{
    if (value == Surface())
        return;
    if (FMine->FJournal.Active())
        FMine->FJournal.Named(this, TNamedField::UzelSurface);
    FSurface = value ? 1 : 0;
    FMine->SetModified(true);
}

bool TUzel::IsEmpty() const
{
    return IsUnset(FNumber) && IsUnset(FX) && IsUnset(FY) && IsUnset(FZ);
}

QString TUzel::InfoText() const
{
    return QStringLiteral("Шахта: \"%1\"\r\n\r\nУзел №%2\r\nКоординаты: X=%3, Y=%4, Z=%5\r\n"
                          "Количество инцидентных ветвей: %6")
        .arg(OneLineText(FMine->Title()), QString::number(FNumber), QString::number(double(FX), 'f', 1),
             QString::number(double(FY), 'f', 1), QString::number(double(FZ), 'f', 1),
             QString::number(FBranchCount));
}
