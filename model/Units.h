#pragma once
// Unit systems and the conversions by which each commit derives the copy of
// the other unit system from the one the user typed.
#include <string>

namespace velta {

enum class Quantity {
    Length,        // ft <-> m, x 0.3048
    Modulus,       // E6 psi <-> GPa, x 6.895
    UnitWeight,    // lb/ft3 <-> kg/m3, x 16.02
    ThermalCoeff,  // per degree F <-> per degree C, x 9 / 5
    TempChange,    // degrees F <-> degrees C (a difference), x 5 / 9
};

inline constexpr double kFoot = 0.3048;  // metres in a foot

// The value of the other unit system, rounded with R2. `from` is the unit
// system of `v` (0 imperial, 1 SI).
double convertValue(Quantity q, double v, int from);

// A table cell of the other unit system: empty stays empty, a number is
// converted, rounded with R2 and written with `decimals` decimals (2 or 3).
// Throws ConversionError for a cell that is not a number.
std::string convertCell(Quantity q, const std::string& text, int from, int decimals);

// Caption of the Data menu's unit entry for the unit system in use.
std::string unitMenuCaption(int unitSystem);


// Unit labels.
inline const char* lengthUnit(int u) { return u == 0 ? "ft" : "m"; }

}  // namespace velta
