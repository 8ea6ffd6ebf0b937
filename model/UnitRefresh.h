#pragma once
// The items of the case model that have a copy in each unit system, and the
// one routine by which a commit refreshes the other copy from the one just
// typed. Each commit refreshes the items of its editor, in the order of the
// table; a converted cell that is not a number throws ConversionError and
// leaves the items after it as they were.
#include <vector>

#include "model/CaseModel.h"
#include "model/Units.h"

namespace velta {

// The editor whose commit refreshes an item.
enum class UnitEditor { Geometry, Materials, Loads };

// When an item is refreshed.
enum class RefreshWhen {
    Always,
    UniformModulusTyped,  // only when the uniform rock-modulus field is not empty
};

// What the commit knows of its editor for the conditions above.
struct RefreshConditions {
    bool uniformModulusTyped = true;
};

// How the other copy is derived: copied unchanged, or converted with R2 (a
// table cell written with `decimals` decimals, an empty cell staying empty).
struct Conversion {
    bool copied = false;
    Quantity quantity = Quantity::Length;
    int decimals = 2;
};
inline constexpr Conversion kCopied{true};
constexpr Conversion converted(Quantity q, int decimals = 2) { return {false, q, decimals}; }

// Columns first..last of a table, derived the same way.
struct ColumnRange {
    int first = 0, last = 0;
    Conversion how;
};

// A table is walked column by column (every row of a column, then the next
// column) or row by row (every column range of a row, then the next row).
enum class TableWalk { ByColumn, ByRow };

// One row of the table: either a scalar pair or a table of text cells.
struct ConvertedItem {
    UnitEditor editor;
    const char* name;
    RefreshWhen when = RefreshWhen::Always;
    // A scalar pair...
    UnitPair CaseModel::*scalar = nullptr;
    Conversion how{};
    // ...or a table: which one, how many rows (from row 0), its walk and columns.
    Tab3dim& (*table)(CaseModel&) = nullptr;
    int (*rows)(const CaseModel&) = nullptr;
    TableWalk walk = TableWalk::ByRow;
    std::vector<ColumnRange> columns{};
};

// Every item with a copy in each unit system, in the order of refreshing.
const std::vector<ConvertedItem>& convertedItems();

// Refreshes the other unit copy (1 - from) of the items of `editor` from the
// copy `from`, in the order of the table.
void refreshOtherUnitCopy(CaseModel& m, UnitEditor editor, int from, const RefreshConditions& when = {});

// The same walk over one table, rows 0..rows-1.
void refreshTableCopy(Tab3dim& tab, int rows, TableWalk walk, const std::vector<ColumnRange>& columns, int from);

// The face-table walk on one table, rows 0..nbel: the slope column is
// copied, lengths are converted and written with two decimals.
void Converttabface(Tab3dim& tabface, int nbel, int from);

}  // namespace velta
