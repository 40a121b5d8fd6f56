#include "dialogs/FilePropRules.h"

#include "model/NumberText.h"

#include <algorithm>
#include <cmath>

namespace FileProp {

QString UnitText(TAirPressureUnit unit)
{
    return unit == TAirPressureUnit::MmWater ? QStringLiteral("мм вод. ст")
                                             : QStringLiteral("мм рт. ст");
}

QString InitialPressureText(float atmospheres)
{
    const double shown = double(atmospheres) * AirPressureFactor(TAirPressureUnit::MmHg);
    return QString::number(qint64(std::llround(shown)));
}

bool ConvertPressureText(const QString &text, TAirPressureUnit from, TAirPressureUnit to,
                         QString &converted)
{
    double value = 0;
    if (!NumberText::ParseReal(text.trimmed(), value))
        return false;
    converted = NumberText::Fixed(value / AirPressureFactor(from) * AirPressureFactor(to), 1);
    return true;
}

QString CheckTemperature(const QString &text, qint32 &celsius)
{
    qint32 value = 0;
    if (!NumberText::ParseInt(text.trimmed(), value))
        return QStringLiteral("Ошибка при вводе средней температуры воздуха в шахте.");
    if (value < -60 || value > 60)
        return QStringLiteral("Указанное значение температуры (%1°C) выходит за рамки от -60°C до 60°C")
            .arg(NumberText::Fixed(value, 1));
    celsius = value;
    return QString();
}

QString CheckPressure(const QString &text, TAirPressureUnit unit, double &atmospheres)
{
    double value = 0;
    if (!NumberText::ParseReal(text.trimmed(), value))
        return QStringLiteral("Ошибка при вводе величины давления в шахте.");
    const double at = value / AirPressureFactor(unit);
    constexpr double low = 0.95, high = 1.05;
    if (at < low || at > high)
        return QStringLiteral("Указанное значение давления (%1 %2 = %3 атм)\nвыходит за рамки от %4 атм до %5 атм.")
            .arg(text, UnitText(unit), NumberText::Fixed(at, 1), NumberText::Fixed(low, 2),
                 NumberText::Fixed(high, 2));
    atmospheres = at;
    return QString();
}

bool PressureDiffers(double typed, double stored)
{
    const double tolerance = std::max(0.0001 * std::min(std::abs(typed), std::abs(stored)), 0.0001);
    return std::abs(typed - stored) > tolerance;
}

QStringList NoteLines(const QString &memoText)
{
    if (memoText.isEmpty())
        return {};
    QStringList lines = memoText.split(u'\n');
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString ColumnBoxCaption(int box)
{
    static const char *const captions[ColumnBoxCount] = {
        "Номер узла", "Координаты X и Y", "Коорд. Z (высотн. отм.)",
        "Номер ветви", "Номер начального узла", "Номер конечного узла", "Длина выработки",
        "Поперечное сечение", "Периметр", "Объем выработки", "Угол наклона", "Комментарий",
        "Аэродинам. сопротивление", "Люди", "Название выработки",
    };
    return box >= 0 && box < ColumnBoxCount ? QString::fromUtf8(captions[box]) : QString();
}

int ColumnBoxOf(int code)
{
    // By kind code.
    static const int boxes[ColumnKinds::kCount] = {
        cbUzelNumber, cbXY, cbXY, cbZ,
        cbBranchNumber, cbStart, cbEnd, cbLength, cbSection, cbPerimeter, cbVolume, -1, -1,
        cbAngle, cbComment, cbResistance, cbPeople, cbName, -1,
    };
    return ColumnKinds::FromCode(code) ? boxes[code] : -1;
}

ColumnBoxes BoxesFromColumns(const TNodeColumns &uzels, const TBranchColumns &branches)
{
    ColumnBoxes boxes{};
    auto take = [&boxes](const TColumnDesc &column) {
        if (const int box = ColumnBoxOf(column.Kind); box >= 0)
            boxes[box] = column.Shown;
    };
    std::for_each(uzels.begin(), uzels.end(), take);
    std::for_each(branches.begin(), branches.end(), take);
    return boxes;
}

void ColumnsFromBoxes(const ColumnBoxes &boxes, TNodeColumns &uzels, TBranchColumns &branches)
{
    auto give = [&boxes](TColumnDesc &column) {
        if (TColumnDesc::AlwaysHidden(column.Kind))
            column.Shown = false;
        else if (const int box = ColumnBoxOf(column.Kind); box >= 0)
            column.Shown = boxes[box];
    };
    std::for_each(uzels.begin(), uzels.end(), give);
    std::for_each(branches.begin(), branches.end(), give);
}

} // namespace FileProp
