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
