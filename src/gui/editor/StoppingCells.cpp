#include "editor/StoppingCells.h"

#include "base/CellDrawing.h"
#include "base/Utils.h"
#include "model/MineTables.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TPeopleInfo.h"
#include "model/Unset.h"
#include "settings/TConfig.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QPalette>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace SC = StoppingColumns;
namespace PC = PeopleColumns;

namespace {

struct ColumnSpec {
    const char *header;
    int width;
};

// Index 0 is the row-number column.
const ColumnSpec StoppingSpecs[SC::Count] = {
    {"", 30},
    {"Номер", 41},
    {"Материал", 62},
    {"Вруб", 37},
    {"Вент.", 37},
    {"Толщ.\r\nм", 34},
    {"Положен.", 40},
    {"H замер.\r\nмм вод.ст.", 60},
    {"Q замер.\r\nм3/с", 57},
    {"R\r\nkm", 52},
    {"R реверс.\r\nkm", 54},
    {"P разр.\r\nАт", 48},
    {"Двери", 43},
    {"Проемы", 50},
};

const ColumnSpec PeopleSpecs[PC::Count] = {
    {"", 30},
    {"Табельн.\r\nномер", 54},
    {"Ф.И.О.", 116},
    {"Участок", 51},
    {"Должность", 122},
};

bool pressureInMegapascals()
{
    return Config && Config->PressureMode == 1;
}

// A branch without a usable length takes positions in percent.
bool hasLength(const TJumper &jumper, float &length)
{
    length = jumper.Branch()->Length();
    return !IsUnset(length) && length > 0;
}

QString positionText(double position, const TBranch *branch)
{
    const float length = branch->Length();
    if (!IsUnset(length) && length > 0)
        return FormatFixed(position * length, 1) + QStringLiteral(" м");
    return FormatFixed(position * 100, 1) + QStringLiteral(" %");
}

QString positionEditText(double position, const TBranch *branch)
{
    const float length = branch->Length();
    if (!IsUnset(length) && length > 0)
        return FormatFixed(position * length, 1);
    return FormatFixed(position * 100, 1);
}

QString boolText(bool value)
{
    return value ? QStringLiteral("Да") : QStringLiteral("Нет");
}

double megapascals(double at)
{
    return AtToPa(at) * 1e-6;
}

} // namespace

QString StoppingHeader(int column)
{
    if (column < 0 || column >= SC::Count)
        return QString();
    if (column == SC::BreakPressure && pressureInMegapascals())
        return QStringLiteral("P разр.\r\nМПа");
    return QString::fromUtf8(StoppingSpecs[column].header);
}

int StoppingColumnWidth(int column)
{
    return column >= 0 && column < SC::Count ? StoppingSpecs[column].width : 0;
}

QString PersonHeader(int column)
{
    return column >= 0 && column < PC::Count ? QString::fromUtf8(PeopleSpecs[column].header)
                                             : QString();
}

int PersonColumnWidth(int column)
{
    return column >= 0 && column < PC::Count ? PeopleSpecs[column].width : 0;
}

namespace {
int fittedWidth(int first, const QStringList &texts, const QFont &font)
{
    // Cells and headers keep a pixel or two from each edge; fractions of a pixel count.
    const QFontMetricsF metrics(font);
    qreal widest = 0;
    for (const QString &text : texts)
        for (const QString &line : text.split(QStringLiteral("\r\n")))
            widest = std::max(widest, metrics.horizontalAdvance(line));
    return std::max(first, int(std::ceil(widest)) + 6);
}
} // namespace

int FittedStoppingColumnWidth(int column, const QFont &font)
{
    return fittedWidth(StoppingColumnWidth(column),
                       QStringList{StoppingHeader(column)} + StoppingChoiceItems(column), font);
}

int FittedPersonColumnWidth(int column, const QFont &font)
{
    return fittedWidth(PersonColumnWidth(column), {PersonHeader(column)}, font);
}

bool IsStoppingChoiceColumn(int column)
{
    return column == SC::Material || column == SC::CutIn || column == SC::Vent ||
           column == SC::Doors || column == SC::Opening;
}

QStringList StoppingChoiceItems(int column)
{
    QStringList items;
    switch (column) {
    case SC::Material:
        for (int i = 0; i < MineTables::kMaterialCount; ++i)
            items << MineTables::MaterialName(i);
        break;
    case SC::CutIn:
    case SC::Vent: items << boolText(false) << boolText(true); break;
    case SC::Doors:
        for (int i = 0; i < MineTables::kDoorCount; ++i)
            items << MineTables::DoorName(i);
        break;
    case SC::Opening:
        for (int i = 0; i < MineTables::kOpeningCount; ++i)
            items << MineTables::OpeningName(i);
        break;
    default: break;
    }
    return items;
}

int StoppingChoiceIndex(const TJumper &jumper, int column)
{
    switch (column) {
    case SC::Material: return jumper.Material();
    case SC::CutIn: return jumper.CutIn() ? 1 : 0;
    case SC::Vent: return jumper.Vent() ? 1 : 0;
    case SC::Doors: return jumper.Doors();
    case SC::Opening: return jumper.Opening();
    default: return -1;
    }
}

void ApplyStoppingChoice(TJumper &jumper, int column, int index)
{
    if (index < 0 || index >= StoppingChoiceItems(column).size())
        return;
    switch (column) {
    case SC::Material: jumper.SetMaterial(quint8(index)); break;
    case SC::CutIn: jumper.SetCutIn(index != 0); break;
    case SC::Vent: jumper.SetVent(index != 0); break;
    case SC::Doors: jumper.SetDoors(quint8(index)); break;
    case SC::Opening: jumper.SetOpening(quint8(index)); break;
    default: break;
    }
}

QString FormatFixed(double value, int decimals)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

double ParseReal(const QString &text)
{
    bool ok = false;
    const double value = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        RaiseInvalidNumber();
    return value;
}

qint32 ParseInteger(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        RaiseInvalidNumber();
    return value;
}

QString StoppingCellText(const TJumper &j, int column)
{
    switch (column) {
    case SC::Caption: return j.Caption();
    case SC::Material: return MineTables::MaterialName(j.Material());
    case SC::CutIn: return boolText(j.CutIn());
    case SC::Vent: return boolText(j.Vent());
    case SC::Thickness:
        if (MineTables::IsFlexibleMaterial(j.Material())) {
            QLocale locale;
            locale.setNumberOptions(QLocale::OmitGroupSeparator);
            return locale.toString(j.Thickness(), 'g', QLocale::FloatingPointShortest);
        }
        return FormatFixed(j.Thickness(), 1);
    case SC::Position: return positionText(j.Position(), j.Branch());
    case SC::Depression: return j.Measured() ? FormatFixed(j.Depression(), 1) : QString();
    case SC::Flow: return j.Measured() ? FormatFixed(j.Flow(), 1) : QString();
    case SC::Resistance: return FormatFixed(j.Resistance(), 5);
    case SC::ReverseResistance: return FormatFixed(j.ReverseResistance(), 5);
    case SC::BreakPressure:
        return FormatFixed(pressureInMegapascals() ? megapascals(j.BreakPressure())
                                                   : j.BreakPressure(),
                           3);
    case SC::Doors: return MineTables::DoorName(j.Doors());
    case SC::Opening:
        if (j.Opening() == MineTables::kArbitraryOpening)
            return FormatFixed(j.OpeningArea(), 1) + QStringLiteral(" м2");
        return MineTables::OpeningName(j.Opening());
    default: return QString();
    }
}

QString StoppingEditText(const TJumper &j, int column)
{
    switch (column) {
    case SC::Thickness:
        if (MineTables::IsFlexibleMaterial(j.Material()))
            return FormatFixed(j.Thickness(), 2);
        return FormatFixed(std::trunc(j.Thickness()), 0);
    case SC::Position: return positionEditText(j.Position(), j.Branch());
    case SC::Depression: return FormatFixed(j.Depression(), 1);
    case SC::Flow: return FormatFixed(j.Flow(), 1);
    default: return StoppingCellText(j, column);
    }
}

QString PersonCellText(const TPeopleInfo &p, int column)
{
    switch (column) {
    case PC::TabNumber: return QString::number(p.TabNumber());
    case PC::FullName: return p.FullName();
    case PC::Site: return p.Site() > 0 ? QString::number(p.Site()) : QString();
    case PC::JobTitle: return p.JobTitle();
    default: return QString();
    }
}

QString PersonEditText(const TPeopleInfo &p, int column)
{
    if (column == PC::Site)
        return QString::number(p.Site());
    return PersonCellText(p, column);
}

void ApplyStoppingEdit(TJumper &j, int column, const QString &text)
{
    if (column == SC::Caption) {
        j.SetCaption(text);
        return;
    }
    if (IsStoppingChoiceColumn(column) || column <= 0 || column >= SC::Count)
        return;
    // The editor shows rounded values (one decimal for H and Q, the whole metres of a rigid
    // stopping's thickness, megapascals); confirming that text unchanged must confirm the value
    // itself, not its rounding.
    const bool untouched = text == StoppingEditText(j, column);
    const double typed = untouched ? 0.0 : ParseReal(text);
    switch (column) {
    case SC::Thickness: j.SetThickness(untouched ? j.Thickness() : typed); break;
    case SC::Position: {
        if (untouched)
            break;
        float length = 0;
        double position = hasLength(j, length) ? typed / length : typed / 100;
        j.SetPosition(position);
        break;
    }
    case SC::Depression: j.SetMeasurement(1, untouched ? j.Depression() : typed); break;
    case SC::Flow: j.SetMeasurement(2, untouched ? j.Flow() : typed); break;
    case SC::Resistance: j.SetResistanceValue(1, untouched ? j.Resistance() : typed); break;
    case SC::ReverseResistance:
        j.SetResistanceValue(2, untouched ? j.ReverseResistance() : typed);
        break;
    case SC::BreakPressure:
        if (untouched)
            break;
        j.SetBreakPressure(pressureInMegapascals() ? PaToAt(typed * 1e6) : typed);
        break;
    default: break;
    }
}

void ApplyPersonEdit(TPeopleInfo &p, int column, const QString &text)
{
    switch (column) {
    case PC::TabNumber: p.SetTabNumber(ParseInteger(text)); break;
    case PC::FullName: p.SetFullName(text); break;
    case PC::Site: p.SetSite(ParseInteger(text)); break;
    case PC::JobTitle: p.SetJobTitle(text); break;
    default: break;
    }
}

void FilterStoppingEditor(QWidget *editor, int column)
{
    if (column != SC::Caption)
        InstallNumberKeyFilter(editor, false, QLocale().decimalPoint());
}

void FilterPersonEditor(QWidget *editor, int column)
{
    if (column == PC::TabNumber || column == PC::Site)
        InstallNumberKeyFilter(editor, false);
}

namespace {

template <typename Text>
void drawCell(QPainter &painter, int column, TGridDrawState state, const QColor &fontColor,
              const QColor &fixedColor, const QRect &rect, int row, const QString &header,
              bool hasElement, Text cellText)
{
    const QPalette palette = QGuiApplication::palette();
    painter.save();
    if (state.Fixed) {
        painter.setBrush(fixedColor);
        painter.setPen(state.Disabled ? palette.color(QPalette::Disabled, QPalette::WindowText)
                                      : fontColor);
        QString text;
        if (row == 0)
            text = header;
        else if (column == 0)
            text = QString::number(row);
        DrawHeaderCell(painter, rect, text, true);
    } else {
        if (state.Selected) {
            painter.setBrush(palette.color(QPalette::Highlight));
            painter.setPen(palette.color(QPalette::HighlightedText));
        } else {
            painter.setBrush(palette.color(QPalette::Base));
            painter.setPen(palette.color(QPalette::Text));
        }
        DrawCellText(painter, rect, hasElement ? cellText() : QString(), state.Focused,
                     Qt::AlignLeft);
    }
    painter.restore();
}

} // namespace

void DrawStoppingCell(const TJumper *jumper, QPainter &painter, int column, TGridDrawState state,
                      const QColor &fontColor, const QColor &fixedColor, const QRect &rect,
                      int row)
{
    drawCell(painter, column, state, fontColor, fixedColor, rect, row, StoppingHeader(column),
             jumper != nullptr, [&] { return StoppingCellText(*jumper, column); });
}

void DrawPersonCell(const TPeopleInfo *person, QPainter &painter, int column,
                    TGridDrawState state, const QColor &fontColor, const QColor &fixedColor,
                    const QRect &rect, int row)
{
    drawCell(painter, column, state, fontColor, fixedColor, rect, row, PersonHeader(column),
             person != nullptr, [&] { return PersonCellText(*person, column); });
}
