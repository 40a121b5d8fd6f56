#include "model/TPLF.h"

TPLF::TPLF(TMine *mine) : TLayer(mine, ListKind::PLFs) {}
