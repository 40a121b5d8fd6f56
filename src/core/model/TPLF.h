#pragma once
// A position of the mine emergency plan: a seam-like group held in TMine::PLFs and referred to
// by TBranch::PLFIndex. Same fields and behaviour as TLayer.
#include "model/TLayer.h"

class TPLF : public TLayer {
public:
    // Appends the plan position to the mine's PLFs and marks Modified.
    explicit TPLF(TMine *mine);
    bool IsPLF() const override { return true; }
};
