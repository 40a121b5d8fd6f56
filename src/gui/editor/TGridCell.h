#pragma once
// A cell of one of the editor's grids, named field by field at every call
// ({.Row = r, .Column = c}): the network tables count rows and columns from the first element
// and field, the stopping and people tables from their header row and row-number column, and
// two bare ints in either order were easy to swap.
struct TGridCell {
    int Row = -1;
    int Column = -1;
};
