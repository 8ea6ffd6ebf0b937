#pragma once
// Evaluation of the crown-section curves and the two abutment-angle
// conventions.
#include "model/Tab3dim.h"

namespace velta {

// Abscissa of the curve of face table `tab` (unit copy u) at elevation z.
// Rows: slope rows are straight, circle rows lie on their circle. Throws
// ConversionError for a cell that is not a number and std::domain_error
// for an elevation the table cannot evaluate.
double AbscisseAtElevation(const Tab3dim& tab, int u, double z);

// Abutment angle A (at the general axis centre) from phi (at the arch's own
// centre) and back. Zm is the distance between the axis centre and the arch
// centre, AxialR the axis radius of that side. Degrees.
double PhitoA(double phi, double Zm, double AxialR);
double AToPhi(double A, double Zm, double AxialR);

// Abscissa on a circle of centre (cx, cz) and signed radius r at elevation z:
// a positive radius takes the smaller-abscissa intersection.
double circleAbscissa(double cx, double cz, double r, double z);

}  // namespace velta

#include <array>

namespace velta {

// The cantilever slots that the arches define: slot 20 the crown (angle 0,
// foundation at the lowest arch), slots 21.. the left abutments of the
// arches that have a left angle (negative A angles), slots ..19 the right
// ones (positive). Angles are A, rounded to two decimals; elevations are in
// the unit of `u`. Unused slots hold angle 0 and elevation -1000.
struct CantileverLayout {
    std::array<double, 41> angle{};
    std::array<double, 41> baseElev{};
    int first = 20;
    int last = 20;
};
// arcTab rows 0..nbArcs-1 (row 0 the lowest arch); upLoCLeft and
// upLoCRight are the upstream lines of centres of each side.
CantileverLayout computeCantileverLayout(const Tab3dim& arcTab, int nbArcs, int u, const Tab3dim& upLoCLeft,
                                         const Tab3dim& upLoCRight, double radius, double radiusR);

}  // namespace velta
