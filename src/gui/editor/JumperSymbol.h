#pragma once
// The stopping symbol of the branch table's row-number column: a 15 x 17 picture on a
// transparent ground.
#include <QImage>

const QImage &JumperSymbol();
