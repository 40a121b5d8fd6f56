#pragma once
// Constant tables of the model: stopping materials, openings and doors, cross-section shapes
// with their perimeter factors, the material codes of old files, and fixed captions.
// The index is what the elements store; the texts are what the tables and lists show.
#include <QString>
#include <QtGlobal>

namespace MineTables {

inline constexpr int kMaterialCount = 21;
inline constexpr int kFirstFlexibleMaterial = 11;   // "Парусная"
inline constexpr int kLastFlexibleMaterial = 14;    // "КПБ"
inline constexpr int kOpeningCount = 5;
inline constexpr int kArbitraryOpening = 4;         // "Произвольный": the area is entered
inline constexpr int kDoorCount = 3;
inline constexpr int kShapeCount = 4;
// The cross-section shapes as a branch stores them ("Квадратная", "Арочная", "Трапециевидная",
// "Круглая").
inline constexpr int kSquareShape = 0, kArchedShape = 1, kTrapezoidShape = 2, kRoundShape = 3;

// Text of material i (0..20); an empty string outside the table.
QString MaterialName(int index);
// Flexible stoppings (sail, tarpaulin, parachute, КПБ) show their thickness with all digits and
// need a longer branch for the calculation cells.
inline constexpr bool IsFlexibleMaterial(int index)
{
    return index >= kFirstFlexibleMaterial && index <= kLastFlexibleMaterial;
}
QString OpeningName(int index);
QString DoorName(int index);
QString ShapeName(int index);
// Perimeter factor k of P = k * sqrt(S); shapes outside 0..2 count as round (3).
float ShapePerimeterFactor(int shape);
// Files of versions 1.05..1.07 used their own material codes.
int MapOldMaterial(int oldCode);

// Caption of the information boxes of nodes and branches (both use the same one).
QString InfoBoxCaption();

} // namespace MineTables
