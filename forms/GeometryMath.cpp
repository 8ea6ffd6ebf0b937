#include "forms/GeometryMath.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "model/CaseModel.h"
#include "model/Numbers.h"

namespace velta {

namespace {
}

double circleAbscissa(double cx, double cz, double r, double z)
{
    const double under = r * r - (z - cz) * (z - cz);
    if (under < 0) throw std::domain_error("the circle does not reach elevation " + formatGeneral(z));
    const double root = std::sqrt(under);
    return r > 0 ? cx - root : cx + root;
}

double AbscisseAtElevation(const Tab3dim& tab, int u, double z)
{
    const double e0 = parseNumber(tab(u, kColElevation, 0));
    if ((z - e0) * (z - e0) < 0.001) return parseNumber(tab(u, kColAbscissa, 0));
    int k = -1;
    for (int r = 0; r < kTabRows; ++r) {
        const std::string& cell = tab(u, kColElevation, r);
        if (cell.empty()) break;
        if (round1(z) - round1(parseNumber(cell)) <= 0.001) {
            k = r;
            break;
        }
    }
    if (k <= 0)
        throw std::domain_error("elevation " + formatGeneral(z) + " lies outside the described curve");
    const std::string& slope = tab(u, kColSlope, k);
    if (!slope.empty()) {
        const double zb = parseNumber(tab(u, kColElevation, k - 1));
        const double xb = parseNumber(tab(u, kColAbscissa, k - 1));
        return xb + parseNumber(slope) * (z - zb);
    }
    return circleAbscissa(parseNumber(tab(u, kColCircleX, k)), parseNumber(tab(u, kColCircleZ, k)),
                          parseNumber(tab(u, kColCircleRadius, k)), z);
}

double PhitoA(double phi, double Zm, double AxialR)
{
    const long double p = phi * std::numbers::pi_v<long double> / 180;
    const long double s = std::sin(p) * Zm / AxialR;
    if (s < -1 || s > 1) throw std::domain_error("invalid abutment angle");
    return static_cast<double>(phi - 180 / std::numbers::pi_v<long double> * std::asin(s));
}

double AToPhi(double A, double Zm, double AxialR)
{
    const long double a = A * std::numbers::pi_v<long double> / 180;
    const long double c = std::sqrt(Zm * (long double)Zm + AxialR * (long double)AxialR - 2 * Zm * AxialR * std::cos(a));
    if (c == 0) throw std::domain_error("invalid abutment angle");
    const long double s = std::sin(a) * AxialR / c;
    if (s < -1 || s > 1) throw std::domain_error("invalid abutment angle");
    return static_cast<double>(180 / std::numbers::pi_v<long double> * std::asin(s));
}

}  // namespace velta

namespace velta {

CantileverLayout computeCantileverLayout(const Tab3dim& arcTab, int nbArcs, int u, const Tab3dim& upLoCLeft,
                                         const Tab3dim& upLoCRight, double radius, double radiusR)
{
    CantileverLayout l;
    l.angle.fill(0);
    l.baseElev.fill(kNoElevation);
    int slot = kCrownSlot;
    for (int k = 1; k < nbArcs && k < kTabRows; ++k) {
        const std::string& phi = arcTab(u, kArcPhiL, k);
        if (phi.empty()) continue;
        const double z = parseNumber(arcTab(u, kArcElevation, k));
        const double x = AbscisseAtElevation(upLoCLeft, u, z);
        const double A = PhitoA(parseNumber(phi), radius - x, radius);
        ++slot;
        l.angle[slot] = -round2(A);
        l.baseElev[slot] = z;
    }
    l.last = slot;
    slot = kCrownSlot;
    for (int k = 1; k < nbArcs && k < kTabRows; ++k) {
        const std::string& phi = arcTab(u, kArcPhiR, k);
        if (phi.empty()) continue;
        const double z = parseNumber(arcTab(u, kArcElevation, k));
        const double x = AbscisseAtElevation(upLoCRight, u, z);
        const double A = PhitoA(parseNumber(phi), radiusR - x, radiusR);
        --slot;
        l.angle[slot] = round2(A);
        l.baseElev[slot] = z;
    }
    l.first = slot;
    l.angle[kCrownSlot] = 0;
    l.baseElev[kCrownSlot] = parseNumber(arcTab(u, kArcElevation, 0));
    return l;
}

}  // namespace velta
