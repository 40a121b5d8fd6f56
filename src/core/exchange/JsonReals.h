#pragma once
// Reals JSON has no number for. The mine file may hold any bit pattern in its reals (a
// calculation that failed leaves NaN); the whole-document JSON writes them as texts and reads
// them back to the same bits: "NaN" (the quiet NaN a program makes), "Infinity", "-Infinity",
// and any other NaN by its bits, "NaN:0x7FC00001" (8 hex digits for a single, 16 for a double).
#include <QByteArray>
#include <QStringView>

namespace JsonReals {

QByteArray NonFiniteText(float v);
QByteArray NonFiniteText(double v);
// false when text is none of those texts (or the bits of a finite value).
bool ReadNonFinite(QStringView text, float &v);
bool ReadNonFinite(QStringView text, double &v);

} // namespace JsonReals
