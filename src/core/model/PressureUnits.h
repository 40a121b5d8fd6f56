#pragma once
// Pressures are kept in technical atmospheres everywhere in the model and the file; other units
// exist only on the screen, and this is the only place that knows their factors:
//  - stopping destruction pressure is shown in atmospheres or megapascals;
//  - the mine's mean air pressure in millimetres of mercury or of water.

// One technical atmosphere (kgf/cm²) in pascals.
inline constexpr double PascalsPerAt = 98066.5;

constexpr double AtToPa(double at) { return at * PascalsPerAt; }
constexpr double PaToAt(double pa) { return pa / PascalsPerAt; }

// Units of the mine's air pressure, in the order the document properties offer them.
enum class TAirPressureUnit { MmHg = 0, MmWater = 1 };
inline constexpr int AirPressureUnitCount = 2;

// One technical atmosphere in the unit: 735.6 mm of mercury, 10000 mm of water.
constexpr double AirPressureFactor(TAirPressureUnit unit)
{
    return unit == TAirPressureUnit::MmWater ? 10000.0 : 735.6;
}
