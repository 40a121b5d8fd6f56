#pragma once
// The "value not given" marker of the numeric fields of nodes, branches and stoppings.
// Tables show it as an empty cell; a blank cell or a lone "-" typed by the user stores it.
#include <QtGlobal>

inline constexpr qint32 kUnsetInt = -777777;
inline constexpr float kUnsetReal = -777777.0f;

inline constexpr bool IsUnset(qint32 v) { return v == kUnsetInt; }
inline constexpr bool IsUnset(float v) { return v == kUnsetReal; }
inline constexpr bool IsUnset(double v) { return v == double(kUnsetReal); }
