#include "model/ColumnKinds.h"

#include "model/NumberText.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TUzel.h"
#include "model/Unset.h"
#include "storage/CodePage.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// --- reading and writing a field through the element's getter and setter

template<auto Getter> TColumnValue UzelGet(const TUzel &u) { return (u.*Getter)(); }
template<auto Getter> TColumnValue BranchGet(const TBranch &b) { return (b.*Getter)(); }

template<typename T, auto Setter> bool UzelSet(TUzel &u, const TColumnValue &v)
{
    const T *value = std::get_if<T>(&v);
    if (value)
        (u.*Setter)(*value);
    return value != nullptr;
}

template<typename T, auto Setter> bool BranchSet(TBranch &b, const TColumnValue &v)
{
    const T *value = std::get_if<T>(&v);
    if (value)
        (b.*Setter)(*value);
    return value != nullptr;
}

// The coordinates and the numbers of a branch have one setter each for the three of them.
template<int Axis> bool SetAxis(TUzel &u, const TColumnValue &v)
{
    const float *value = std::get_if<float>(&v);
    if (value)
        u.SetCoordinate(Axis, *value);
    return value != nullptr;
}

template<int Which> bool SetNumber(TBranch &b, const TColumnValue &v)
{
    const qint32 *value = std::get_if<qint32>(&v);
    if (value)
        b.SetNumbers(Which, *value);
    return value != nullptr;
}

TColumnValue PeopleCount(const TBranch &b) { return qint32(b.People().Count()); }

constexpr qint32 L = 0;   // alignments
constexpr qint32 R = 2;
constexpr float U = kUnsetReal;

using K = TColumnKind;
using T = TColumnType;
using Keys = TColumnKeys;
constexpr TColumnTable Uz = TColumnTable::Uzels;
constexpr TColumnTable Br = TColumnTable::Branches;

} // namespace

namespace ColumnKinds {

// Kind, table, caption, unit line, editable, alignment, decimals, always hidden, type, keys,
// what an emptied cell stores, refusal of 0, CSV name, then reading and writing the value.
constinit const TColumnKindRow kRows[kCount] = {
    {K::UzelNumber, Uz, u"Узел", u"", true, L, 0, false, T::Int, Keys::Digits, U,
     u"Ошибка !\r\nНомер узла должен быть больше 0 !", "Number",
     UzelGet<&TUzel::Number>, UzelSet<qint32, &TUzel::SetNumber>, nullptr, nullptr},
    {K::X, Uz, u"Коор. X", u"м", true, R, 1, false, T::Float, Keys::SignedReal, U, nullptr, "X",
     UzelGet<&TUzel::X>, SetAxis<1>, nullptr, nullptr},
    {K::Y, Uz, u"Коор. Y", u"м", true, R, 1, false, T::Float, Keys::SignedReal, U, nullptr, "Y",
     UzelGet<&TUzel::Y>, SetAxis<2>, nullptr, nullptr},
    {K::Z, Uz, u"Коор. Z", u"м", true, R, 1, false, T::Float, Keys::SignedReal, U, nullptr, "Z",
     UzelGet<&TUzel::Z>, SetAxis<3>, nullptr, nullptr},
    {K::BranchNumber, Br, u"Ветвь", u"", true, L, 0, false, T::Int, Keys::Digits, U,
     u"Ошибка !\r\nНомер ветви должен быть больше 0 !", "Number",
     nullptr, nullptr, BranchGet<&TBranch::Number>, SetNumber<1>},
    {K::StartNumber, Br, u"Нач.", u"узел", true, L, 0, false, T::Int, Keys::Digits, U, nullptr,
     "StartNumber", nullptr, nullptr, BranchGet<&TBranch::StartNumber>, SetNumber<2>},
    {K::EndNumber, Br, u"Кон.", u"узел", true, L, 0, false, T::Int, Keys::Digits, U, nullptr,
     "EndNumber", nullptr, nullptr, BranchGet<&TBranch::EndNumber>, SetNumber<3>},
    {K::Length, Br, u"Длина", u"м", false, R, 1, false, T::Float, Keys::Real, U, nullptr, "Length",
     nullptr, nullptr, BranchGet<&TBranch::Length>, nullptr},
    {K::Section, Br, u"Сечение", u"м2", true, R, 1, false, T::Float, Keys::Real, U, nullptr,
     "Section", nullptr, nullptr, BranchGet<&TBranch::Section>,
     BranchSet<float, &TBranch::SetSection>},
    {K::Perimeter, Br, u"Периметр", u"м", true, R, 1, false, T::Float, Keys::Real, U, nullptr,
     "Perimeter", nullptr, nullptr, BranchGet<&TBranch::Perimeter>, nullptr},
    {K::Volume, Br, u"Объем", u"м3", false, R, 1, false, T::Float, Keys::Real, U, nullptr, nullptr,
     nullptr, nullptr, BranchGet<&TBranch::Volume>, nullptr},
    {K::VolumeFactor, Br, u"Коэф.", u"объема", true, R, 2, true, T::Float, Keys::Real, 1.0f, nullptr,
     nullptr, nullptr, nullptr, BranchGet<&TBranch::VolumeFactor>,
     BranchSet<float, &TBranch::SetVolumeFactor>},
    {K::ExtraVolume, Br, u"Доп.объем", u"м3", true, R, 1, true, T::Float, Keys::Real, 0.0f, nullptr,
     nullptr, nullptr, nullptr, BranchGet<&TBranch::ExtraVolume>,
     BranchSet<float, &TBranch::SetExtraVolume>},
    {K::Angle, Br, u"Угол", u"град.", false, R, 1, false, T::Float, Keys::Real, U, nullptr, "Angle",
     nullptr, nullptr, BranchGet<&TBranch::Angle>, nullptr},
    {K::Comment, Br, u"Комментарий", u"", true, L, 0, false, T::Text, Keys::Text, U, nullptr,
     "Comment", nullptr, nullptr, BranchGet<&TBranch::Comment>,
     BranchSet<QString, &TBranch::SetComment>},
    {K::Resistance, Br, u"R", u"km", true, L, 7, false, T::Double, Keys::Real, U, nullptr,
     "Resistance", nullptr, nullptr, BranchGet<&TBranch::Resistance>,
     BranchSet<double, &TBranch::SetResistance>},
    {K::People, Br, u"Люди", u"", false, L, 0, false, T::Int, Keys::Real, U, nullptr, nullptr,
     nullptr, nullptr, PeopleCount, nullptr},
    {K::Name, Br, u"Название", u"выработки", true, L, 0, false, T::Text, Keys::Text, U, nullptr,
     "Name", nullptr, nullptr, BranchGet<&TBranch::Name>, BranchSet<QString, &TBranch::SetName>},
    {K::PLF, Br, u"Позиция", u"ПЛА", false, L, 0, false, T::Int, Keys::Real, U, nullptr,
     "PLFIndex", nullptr, nullptr, BranchGet<&TBranch::PLFIndex>, nullptr},
};

std::optional<TColumnKind> FromCode(int code)
{
    if (code < 0 || code >= kCount)
        return std::nullopt;
    return TColumnKind(code);
}

std::optional<TColumnKind> FromCode(int code, TColumnTable table)
{
    const std::optional<TColumnKind> kind = FromCode(code);
    if (!kind || Row(*kind).Table != table)
        return std::nullopt;
    return kind;
}

QString HeaderText(TColumnKind kind)
{
    const TColumnKindRow &row = Row(kind);
    return (QString::fromUtf16(row.Caption) + u' ' + QString::fromUtf16(row.UnitLine)).simplified();
}

TColumnValue Value(TColumnKind kind, const TUzel &uzel)
{
    const TColumnKindRow &row = Row(kind);
    return row.UzelValue ? row.UzelValue(uzel) : TColumnValue();
}

TColumnValue Value(TColumnKind kind, const TBranch &branch)
{
    const TColumnKindRow &row = Row(kind);
    return row.BranchValue ? row.BranchValue(branch) : TColumnValue();
}

bool SetValue(TColumnKind kind, TUzel &uzel, const TColumnValue &value)
{
    const TColumnKindRow &row = Row(kind);
    return row.SetUzel && row.SetUzel(uzel, value);
}

bool SetValue(TColumnKind kind, TBranch &branch, const TColumnValue &value)
{
    const TColumnKindRow &row = Row(kind);
    return row.SetBranch && row.SetBranch(branch, value);
}

TColumnValue EmptiedValue(TColumnKind kind)
{
    const TColumnKindRow &row = Row(kind);
    switch (row.Type) {
    case TColumnType::Int: return kUnsetInt;
    case TColumnType::Float: return row.Emptied;
    case TColumnType::Double: return double(row.Emptied);
    case TColumnType::Text: break;
    }
    return QString();
}

namespace {

// The name of the branch's plan position; none when it has none (or the index is stale).
const TPLF *PlanPosition(const TBranch &branch)
{
    const int index = branch.PLFIndex();
    const TPLFList &plfs = branch.Mine()->PLFs();
    return index >= 0 && index < plfs.Count() ? plfs.Items(index) : nullptr;
}

QString Shown(const TColumnValue &value, int decimals)
{
    if (const qint32 *i = std::get_if<qint32>(&value))
        return NumberText::Int(*i);
    if (const float *f = std::get_if<float>(&value))
        return NumberText::Real(*f, decimals);
    if (const double *d = std::get_if<double>(&value))
        return NumberText::Real(*d, decimals);
    if (const QString *s = std::get_if<QString>(&value))
        return *s;
    return QString();
}

} // namespace

QString Text(TColumnKind kind, const TUzel &uzel)
{
    return Shown(Value(kind, uzel), Row(kind).Decimals);
}

QString Text(TColumnKind kind, const TBranch &branch)
{
    if (kind == TColumnKind::PLF) {
        const TPLF *plf = PlanPosition(branch);
        return plf ? plf->Name() : QString();
    }
    return Shown(Value(kind, branch), Row(kind).Decimals);
}

namespace {

// A number as a value of the kind's type.
TColumnValue OfType(TColumnType type, double number)
{
    switch (type) {
    case TColumnType::Int: return qint32(number);
    case TColumnType::Float: return float(number);
    case TColumnType::Double: return number;
    case TColumnType::Text: break;
    }
    return TColumnValue();
}

template<typename List> QStringList WidestOf(TColumnKind kind, const List &list)
{
    const TColumnKindRow &row = Row(kind);
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    std::optional<double> odd;   // not a number, or an infinity
    for (const auto *element : list) {
        const double number = SortNumber(Value(kind, *element));
        if (IsUnset(number))
            continue;
        if (!std::isfinite(number)) {
            // "-inf" is the longest of them.
            if (!odd || std::isnan(*odd) || (std::isinf(number) && number < 0))
                odd = number;
            continue;
        }
        low = std::min(low, number);
        high = std::max(high, number);
    }
    QStringList texts;
    if (low <= high)
        texts << Shown(OfType(row.Type, low), row.Decimals) << Shown(OfType(row.Type, high), row.Decimals);
    if (odd)
        texts << Shown(OfType(row.Type, *odd), row.Decimals);
    return texts;
}

} // namespace

QStringList WidestTexts(TColumnKind kind, const TMine &mine)
{
    if (!ShowsNumber(kind))
        return {};
    return Row(kind).Table == TColumnTable::Uzels ? WidestOf(kind, mine.Uzels()) : WidestOf(kind, mine.Branches());
}

QString FindText(TColumnKind kind, const TBranch &branch)
{
    if (kind == TColumnKind::PLF && !PlanPosition(branch))
        return QStringLiteral("<без позиции>");
    return Text(kind, branch);
}

QString ExactText(const TColumnValue &value)
{
    if (const qint32 *i = std::get_if<qint32>(&value))
        return NumberText::Int(*i);
    if (const float *f = std::get_if<float>(&value))
        return IsUnset(*f) ? QString() : NumberText::Shortest(*f);
    if (const double *d = std::get_if<double>(&value))
        return IsUnset(*d) ? QString() : NumberText::Shortest(*d);
    if (const QString *s = std::get_if<QString>(&value))
        return *s;
    return QString();
}

QString ExactText(TColumnKind kind, const TUzel &uzel)
{
    return ExactText(Value(kind, uzel));
}

QString ExactText(TColumnKind kind, const TBranch &branch)
{
    if (kind == TColumnKind::PLF)
        return Text(kind, branch);
    return ExactText(Value(kind, branch));
}

namespace {

// In full, the real kinds with the user's decimal separator.
QString CopiedText(TColumnKind kind, const QString &exact)
{
    const TColumnType type = Row(kind).Type;
    return type == TColumnType::Float || type == TColumnType::Double ? NumberText::WithUserSeparator(exact)
                                                                     : exact;
}

} // namespace

QString CopyText(TColumnKind kind, const TUzel &uzel)
{
    return CopiedText(kind, ExactText(kind, uzel));
}

QString CopyText(TColumnKind kind, const TBranch &branch)
{
    return CopiedText(kind, ExactText(kind, branch));
}

double SortNumber(const TColumnValue &value)
{
    if (const qint32 *i = std::get_if<qint32>(&value))
        return *i;
    if (const float *f = std::get_if<float>(&value))
        return *f;
    if (const double *d = std::get_if<double>(&value))
        return *d;
    return 0;
}

bool KeyAdmitted(TColumnKind kind, QChar key)
{
    if (key.unicode() < 32)
        return true;
    const bool digit = key >= u'0' && key <= u'9';
    switch (Row(kind).Keys) {
    case TColumnKeys::Digits: return digit;
    case TColumnKeys::SignedReal: return digit || key == u'-' || key == NumberText::DecimalSeparator();
    case TColumnKeys::Real: return digit || key == NumberText::DecimalSeparator();
    case TColumnKeys::Text: return CodePage::Fits1251(QString(key));
    }
    return false;
}

namespace {

TColumnInput Refused(TInputFault fault, const QString &message)
{
    TColumnInput input;
    input.Fault = fault;
    input.Refusal = message;
    return input;
}

TColumnInput Taken(TColumnValue value)
{
    TColumnInput input;
    input.Value = std::move(value);
    return input;
}

} // namespace

TColumnInput ReadInput(TColumnKind kind, const QString &text, TInputSource source)
{
    const TColumnKindRow &row = Row(kind);
    const QString notANumber = QStringLiteral("Неверно указано число");
    if (row.Type == TColumnType::Text) {
        if (!CodePage::Fits1251(text))
            return Refused(TInputFault::NotStorable,
                           QStringLiteral("Текст содержит знаки, которых нет в кодовой странице Windows-1251"));
        return Taken(text);
    }
    // A lone "-" unsets a value that an emptied cell unsets; the volume coefficient and the
    // additional volume go back to their defaults instead, and only when emptied.
    const bool unsetting = IsUnset(row.Emptied) && text == QLatin1String("-");
    if (text.isEmpty() || unsetting)
        return Taken(EmptiedValue(kind));
    // A paste comes from spreadsheets and programs of any language: either "," or "." is the
    // decimal point, as the CSV import reads it, but not both (digit grouping).
    const bool pasted = source == TInputSource::Pasted;
    if (pasted) {
        const bool reals = row.Keys != TColumnKeys::Digits;
        for (const QChar c : text)
            if (c.unicode() < 32 || !(KeyAdmitted(kind, c) || (reals && (c == u'.' || c == u','))))
                return Refused(TInputFault::NotANumber, notANumber);
        if (NumberText::HasBothPoints(text))
            return Refused(TInputFault::NotANumber,
                           QStringLiteral("Неверно указано число «%1»: в нем и запятая, и точка "
                                          "(разделители разрядов не допускаются)").arg(text));
    }
    auto parseReal = [pasted, &text](double &v) {
        return pasted ? NumberText::ParseDecimal(text, v) : NumberText::ParseReal(text, v);
    };
    switch (row.Type) {
    case TColumnType::Int: {
        qint32 n = 0;
        if (!NumberText::ParseInt(text, n))
            return Refused(TInputFault::NotANumber, notANumber);
        if (n == 0 && row.ZeroRefused)
            return Refused(TInputFault::Zero, QString::fromUtf16(row.ZeroRefused));
        return Taken(n);
    }
    case TColumnType::Float: {
        // The model keeps single precision: a value beyond it does not convert.
        double v = 0;
        if (!parseReal(v) || !std::isfinite(float(v)))
            return Refused(TInputFault::NotANumber, notANumber);
        return Taken(float(v));
    }
    case TColumnType::Double: {
        double v = 0;
        if (!parseReal(v))
            return Refused(TInputFault::NotANumber, notANumber);
        return Taken(v);
    }
    case TColumnType::Text: break;
    }
    return Refused(TInputFault::NotANumber, notANumber);
}

TRowFault UzelRowFault(qint32 number)
{
    if (IsUnset(number))
        return {QStringLiteral("Ошибка !\r\nНе указан номер узла !"), TColumnKind::UzelNumber};
    if (number == 0)
        return {QStringLiteral("Ошибка !\r\nНомер узла должен быть больше 0 !"), TColumnKind::UzelNumber};
    return {};
}

TRowFault BranchRowFault(qint32 number, qint32 start, qint32 end)
{
    auto missing = [](qint32 n) { return IsUnset(n) || n == 0; };
    if (IsUnset(number))
        return {QStringLiteral("Ошибка !\r\nНе указан номер ветви !"), TColumnKind::BranchNumber};
    if (missing(start))
        return {QStringLiteral("Ошибка !\r\nНеверно указан номер начального узла !"), TColumnKind::StartNumber};
    if (missing(end))
        return {QStringLiteral("Ошибка !\r\nНеверно указан номер конечного узла !"), TColumnKind::EndNumber};
    if (start == end)
        return {QStringLiteral("Ошибка !\r\nНомера начального и конечного узлов должны быть различными !"),
                TColumnKind::EndNumber};
    return {};
}

} // namespace ColumnKinds
