#pragma once
// Aerodynamic resistance of a working from its perimeter, length, cross-section and the
// roughness class of its lining.
#include <QtGlobal>

class TBranch;
class TMine;

// Roughness coefficient α of classes 0..4.
double RoughnessAlpha(int roughnessClass);
inline constexpr int kRoughnessClasses = 5;

// Computes R = P·α·L / S³ · 9.81 and stores it through SetResistance. False, and R left as it
// was, when the section is zero or unset, the length is unknown (the branch is not resolved to
// its nodes or they lack coordinates), the section is negative, the roughness class is outside
// 0..4, or the inputs give no finite value.
bool ComputeResistance(TBranch &branch);

enum class TResistanceMode { AllBranches = 0, ZeroOnly = 1 };

// ComputeResistance for every branch in list order, or only for those whose R is exactly 0.
// Returns how many were computed. Raises AppError "Найдены ошибки топологии" when the mine's
// topology is not valid: without resolved nodes no length is known.
int ComputeAllResistance(TMine &mine, TResistanceMode mode);
