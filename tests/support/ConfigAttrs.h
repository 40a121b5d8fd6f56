#pragma once
// The nine cell looks of a TConfig as one comparable value, for tests that check which of them
// an operation changed.
#include "settings/TConfig.h"

#include <array>

using Attrs = std::array<TCellAttr, CellKindCount>;

inline Attrs attrsOf(const TConfig &c)
{
    Attrs a;
    for (int k = 0; k < CellKindCount; ++k)
        a[k] = c.Attr(k);
    return a;
}
