#pragma once
// Stopping destruction pressure is kept in technical atmospheres everywhere in the model and the
// file; megapascals exist only on the screen. These two conversions are the only place that knows
// the factor.

// One technical atmosphere (kgf/cm²) in pascals.
inline constexpr double PascalsPerAt = 98066.5;

constexpr double AtToPa(double at) { return at * PascalsPerAt; }
constexpr double PaToAt(double pa) { return pa / PascalsPerAt; }
