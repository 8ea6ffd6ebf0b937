// Writes the example decks of examples/ with the program's own deck writer,
// so that every card and column is exactly what the program saves.
//
//   velta_make_examples OUTDIR
//   velta_make_examples --family OUTDIR   (the family of test dams)
//
// Each case is described by design values (crown-section curves, arch radii,
// the canyon's half-width at each arch), and the derived cells are computed
// here the way the geometry editor would complete them. Before a deck is
// written the tool checks what the program's validation will check when the
// deck is opened: every face table is continuous and its crest abscissa
// agrees with its rows, the arches sit inside the described curves, the
// abutment angles stay below 60 degrees and the sections stay thick enough.
// Each case fills the copy of the unit system it is described in; the other
// copy is derived by the commits' own refresh, as if the editors committed it.
#include <cmath>
#include <numbers>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "deck/DeckWriter.h"
#include "forms/GeometryMath.h"
#include "model/CaseModel.h"
#include "model/Numbers.h"
#include "model/UnitRefresh.h"

using namespace velta;

namespace {


void require(bool ok, const std::string& what)
{
    if (!ok) throw std::runtime_error(what);
}

double round3(double x) { return std::round(x * 1000.0) / 1000.0; }

std::string f3(double x)
{
    x = round3(x);
    if (x == 0) x = 0;  // no "-0.000"
    return formatF3(x);
}

// One row of a crown-section curve above the base.
struct Row {
    enum Kind { Slope, Circle } kind;
    double z;
    double slope = 0;               // Slope rows
    double cx = 0, cz = 0, r = 0;   // Circle rows (r signed as in the tables)
};

Row slopeRow(double z, double s) { return {Row::Slope, z, s}; }
Row circleRow(double z, double cx, double cz, double r) { return {Row::Circle, z, 0, cx, cz, r}; }

// A circle row whose circle, centred at elevation cz, joins (zPrev, xPrev) to
// (z, x). `upstreamSide` selects the intersection on the smaller-abscissa side
// of the centre (a positive radius). Centre and radius are rounded to the
// three decimals the deck carries.
Row fittedCircle(double zPrev, double xPrev, double z, double x, double cz, bool upstreamSide)
{
    const double a = (zPrev - cz) * (zPrev - cz), b = (z - cz) * (z - cz);
    const double cx = (xPrev * xPrev - x * x + a - b) / (2 * (xPrev - x));
    const double r = std::sqrt((x - cx) * (x - cx) + b);
    return circleRow(z, round3(cx), cz, round3(upstreamSide ? r : -r));
}

// Fills table `tab` (unit copy u) from its base point and rows, computing each
// row's abscissa as the face validation does. Slopes and circle data are
// written with the three decimals of the deck, so the abscissas computed when
// the deck is read back are the ones stored here.
void fillFace(Tab3dim& tab, int& rows, int u, double zBase, double xBase, const std::vector<Row>& above,
              const std::string& what)
{
    require(!above.empty() && above.size() <= 10, what + ": 1 to 10 rows above the base");
    tab.clearColumns();
    tab(u, kColElevation, 0) = f3(zBase);
    tab(u, kColAbscissa, 0) = f3(xBase);
    double zPrev = zBase, xPrev = round3(xBase);
    for (size_t i = 0; i < above.size(); ++i) {
        const Row& row = above[i];
        const int r = static_cast<int>(i) + 1;
        require(row.z > zPrev, what + ": elevations must rise");
        double x;
        tab(u, kColElevation, r) = f3(row.z);
        if (row.kind == Row::Slope) {
            tab(u, kColSlope, r) = f3(row.slope);
            x = xPrev + round3(row.slope) * (row.z - zPrev);
        } else {
            tab(u, kColCircleX, r) = f3(row.cx);
            tab(u, kColCircleZ, r) = f3(row.cz);
            tab(u, kColCircleRadius, r) = f3(row.r);
            x = circleAbscissa(row.cx, row.cz, row.r, row.z);
            const double join = circleAbscissa(row.cx, row.cz, row.r, zPrev);
            require(std::abs(join - xPrev) < 0.005,
                    what + ": the circle of elevation " + f3(row.z) + " misses the row below by " +
                        formatGeneral(join - xPrev));
        }
        tab(u, kColAbscissa, r) = f3(x);
        zPrev = row.z;
        xPrev = round3(x);
    }
    rows = static_cast<int>(above.size());
}

// The crest abscissa of a table as the face validation recomputes it from
// the base abscissa, the slopes and the circles, against the stored one.
void checkCrest(const Tab3dim& tab, int rows, int u, const std::string& what)
{
    double x = parseNumber(tab(u, kColAbscissa, 0));
    for (int r = 1; r <= rows; ++r) {
        const double z = parseNumber(tab(u, kColElevation, r));
        const double zb = parseNumber(tab(u, kColElevation, r - 1));
        if (!tab(u, kColSlope, r).empty())
            x = x + parseNumber(tab(u, kColSlope, r)) * (z - zb);
        else
            x = circleAbscissa(parseNumber(tab(u, kColCircleX, r)), parseNumber(tab(u, kColCircleZ, r)),
                               parseNumber(tab(u, kColCircleRadius, r)), z);
        if (r < rows) x = round3(x);  // the validation writes 3 decimals
    }
    const double stored = parseNumber(tab(u, kColAbscissa, rows));
    require(std::abs(x - stored) <= 0.008, what + ": crest abscissa " + formatGeneral(stored) +
                                               " disagrees with the rows (" + formatGeneral(x) + ")");
}

// Single-centred tables 4 and 5 are copies of 2 and 3.
void copyRightSide(CaseModel& m)
{
    m.FaceTab[kRightUpstreamLoC] = m.FaceTab[kUpstreamLoC];
    m.FaceTab[kRightDownstreamLoC] = m.FaceTab[kDownstreamLoC];
    m.FaceRows[kRightUpstreamLoC] = m.FaceRows[kUpstreamLoC];
    m.FaceRows[kRightDownstreamLoC] = m.FaceRows[kDownstreamLoC];
}

// The abutment angle Phi of an arch whose extrados meets the canyon at
// `halfWidth` from the crown section, rounded to two decimals.
double phiFor(const CaseModel& m, int u, double z, int upLoC, double halfWidth)
{
    const double rExt = AbscisseAtElevation(m.FaceTab[upLoC], u, z) -
                        AbscisseAtElevation(m.FaceTab[kUpstreamFace], u, z);
    require(halfWidth < rExt, "arch at " + f3(z) + " is wider than its radius");
    return round2(std::asin(halfWidth / rExt) * 180 / std::numbers::pi);
}

// Fills ArcTab (unit copy u): the lowest arch has code 1 and no angles, the
// others code 0 and both angles from the canyon's half-widths.
void fillArches(CaseModel& m, int u, const std::vector<double>& z, const std::function<double(double)>& left,
                const std::function<double(double)>& right)
{
    require(z.size() >= 2 && z.size() <= static_cast<size_t>(kMaxArcs), "2 to 11 arches");
    m.NbArcs = static_cast<int>(z.size());
    const int rightUpLoC = m.NbCenter == 2 ? kRightUpstreamLoC : kUpstreamLoC;
    for (int k = 0; k < m.NbArcs; ++k) {
        m.ArcTab(u, kArcElevation, k) = formatGeneral(z[k]);
        m.ArcTab(u, kArcCode, k) = k == 0 ? "1" : "0";
        if (k == 0) continue;
        const double pl = phiFor(m, u, z[k], kUpstreamLoC, left(z[k]));
        const double pr = phiFor(m, u, z[k], rightUpLoC, right(z[k]));
        require(pl > 0 && pl < 60 && pr > 0 && pr < 60, "abutment angles between 0 and 60 degrees");
        m.ArcTab(u, kArcPhiL, k) = formatGeneral(pl);
        m.ArcTab(u, kArcPhiR, k) = formatGeneral(pr);
    }
}

// What the geometry commit and the opening of the deck will check, on the
// imperial copy the deck carries.
void checkGeometry(const CaseModel& m, const std::string& name)
{
    const int u = kImperial;
    const int tables = m.NbCenter == 2 ? 6 : 4;
    for (int t = 0; t < tables; ++t) {
        const auto& tab = m.FaceTab[t];
        const int rows = m.FaceRows[t];
        checkCrest(tab, rows, u, name + " table " + std::to_string(t));
        require(std::abs(parseNumber(tab(u, kColElevation, 0)) - m.BaseElev[u]) < 1e-9 &&
                    std::abs(parseNumber(tab(u, kColElevation, rows)) - m.TopElev[u]) < 1e-9,
                name + ": tables run from the base to the top of the dam");
    }
    for (int k = 0; k < m.NbArcs; ++k) {
        const double z = parseNumber(m.ArcTab(u, kArcElevation, k));
        const double up = AbscisseAtElevation(m.FaceTab[kUpstreamFace], u, z);
        const double down = AbscisseAtElevation(m.FaceTab[kDownstreamFace], u, z);
        require(down - up > 5, name + ": crown section too thin at " + f3(z));
        for (int side = 0; side < m.NbCenter; ++side) {
            const double cUp = AbscisseAtElevation(m.FaceTab[side ? kRightUpstreamLoC : kUpstreamLoC], u, z);
            const double cDown =
                AbscisseAtElevation(m.FaceTab[side ? kRightDownstreamLoC : kDownstreamLoC], u, z);
            require(cUp - up > 2 * (down - up) && cDown - down > down - up,
                    name + ": arch radii too small at " + f3(z));
        }
    }
    const auto layout = computeCantileverLayout(m.ArcTab, m.NbArcs, u, m.FaceTab[kUpstreamLoC],
                                                m.FaceTab[m.NbCenter == 2 ? kRightUpstreamLoC : kUpstreamLoC],
                                                m.Radius[u], m.RadiusR[u]);
    require(layout.last - layout.first + 1 == 2 * (m.NbArcs - 1) + 1, name + ": one cantilever per abutment");
}

void commonMaterials(CaseModel& m)
{
    const int u = kImperial;
    m.Ec[u] = 3.5;
    m.Nuc = {0.2, 0.2};
    m.Thec[u] = 5.6;
    m.Wc[u] = 150;
    m.Er[u] = 2.5;
    m.Nur = {0.2, 0.2};
}

// A simple single-centred dam of 61 m: vertical upstream face, straight
// downstream batter, cylindrical concentric arches in a trapezoidal valley.
CaseModel simpleDam()
{
    CaseModel m;
    const int u = kImperial;
    m.DamName[0] = "Simple arch dam";
    m.NbCenter = 1;
    m.BaseElev = {1000, 304.8};
    m.TopElev = {1200, 365.76};
    m.Radius = m.RadiusR = {400, 121.92};
    fillFace(m.FaceTab[kUpstreamFace], m.FaceRows[kUpstreamFace], u, 1000, 0, {slopeRow(1200, 0)}, "upstream");
    fillFace(m.FaceTab[kDownstreamFace], m.FaceRows[kDownstreamFace], u, 1000, 30, {slopeRow(1200, -0.09)},
             "downstream");
    fillFace(m.FaceTab[kUpstreamLoC], m.FaceRows[kUpstreamLoC], u, 1000, 400, {slopeRow(1200, 0)}, "us LoC");
    fillFace(m.FaceTab[kDownstreamLoC], m.FaceRows[kDownstreamLoC], u, 1000, 400, {slopeRow(1200, 0)},
             "ds LoC");
    copyRightSide(m);
    auto valley = [](double z) { return 60 + 1.2 * (z - 1000); };
    fillArches(m, u, {1000, 1050, 1100, 1150, 1200}, valley, valley);
    commonMaterials(m);
    m.Rwe[u] = 1195;
    m.Twe = m.BaseElev;
    m.GroutIndex = 0;
    return m;
}

// A double-curvature dam of 128 m: the crown cantilever overhangs upstream
// (circle rows on both faces), the arch radii grow from 85 m at the base to
// 190 m at the crest, and the intrados centres lie upstream of the extrados
// centres so that the arches thicken toward the abutments.
CaseModel doubleCurvatureDam()
{
    CaseModel m;
    const int u = kImperial;
    m.DamName[0] = "Double curvature dam";
    m.NbCenter = 1;
    m.BaseElev = {2000, 609.6};
    m.TopElev = {2420, 737.62};
    m.Radius = m.RadiusR = {620, 188.98};

    // Upstream face: lower arc down to the greatest overhang (30 ft upstream
    // of the crest at elevation 2190), upper arc back to the crest.
    const Row lowUp = circleRow(2190, 970, 2190, 1000);
    const Row highUp = fittedCircle(2190, -30, 2420, 0, 2190, true);
    const double xBaseUp = circleAbscissa(lowUp.cx, lowUp.cz, lowUp.r, 2000);
    fillFace(m.FaceTab[kUpstreamFace], m.FaceRows[kUpstreamFace], u, 2000, xBaseUp, {lowUp, highUp}, "upstream");
    // Downstream face: one arc from a 57 ft base to a 20 ft crest, closest to
    // the upstream face near elevation 2300.
    const double xBaseDown = round3(xBaseUp) + 57;
    const Row down1 = fittedCircle(2000, xBaseDown, 2420, 20, 2300, true);
    const double x2262 = circleAbscissa(down1.cx, down1.cz, down1.r, 2262.5);
    fillFace(m.FaceTab[kDownstreamFace], m.FaceRows[kDownstreamFace], u, 2000, xBaseDown,
             {circleRow(2262.5, down1.cx, down1.cz, down1.r), circleRow(2420, down1.cx, down1.cz, down1.r)},
             "downstream");
    (void)x2262;
    // Lines of centres: extrados centres 280 ft from the face at the base,
    // 620 ft at the crest; intrados centres 10 ft upstream of them at the
    // base and 25 ft at the crest.
    fillFace(m.FaceTab[kUpstreamLoC], m.FaceRows[kUpstreamLoC], u, 2000, 268,
             {slopeRow(2210, 0.72), slopeRow(2420, 0.95)}, "us LoC");
    fillFace(m.FaceTab[kDownstreamLoC], m.FaceRows[kDownstreamLoC], u, 2000, 258,
             {slopeRow(2210, 0.687), slopeRow(2420, 0.912)}, "ds LoC");
    copyRightSide(m);
    auto valley = [](double z) { return 80 + 440 * std::pow((z - 2000) / 420, 0.8); };
    std::vector<double> arches;
    for (int k = 0; k <= 8; ++k) arches.push_back(2000 + 52.5 * k);
    fillArches(m, u, arches, valley, valley);
    commonMaterials(m);
    m.Ec[u] = 4.0;
    m.Er[u] = 3.0;
    m.Rwe[u] = 2410;
    m.Twe[u] = 2040;
    m.GroutIndex = 0;
    m.WeightDistribution = true;
    return m;
}

// A two-centred dam of 100 m in an asymmetric valley: the left bank is
// flatter and its half of the dam has the longer radius; the rock moduli
// differ by bank and by elevation; a winter temperature drop and a linear
// difference through the thickness act on every arch.
CaseModel twoCentredDam()
{
    CaseModel m;
    const int u = kImperial;
    m.DamName[0] = "Two-centred asymmetric dam";
    m.NbCenter = 2;
    m.BaseElev = {1500, 457.2};
    m.TopElev = {1830, 557.78};
    m.Radius = {550, 167.64};
    m.RadiusR = {420, 128.02};

    const Row upCrest = fittedCircle(1610, -21, 1830, 0, 1610, true);
    fillFace(m.FaceTab[kUpstreamFace], m.FaceRows[kUpstreamFace], u, 1500, -10, {slopeRow(1610, -0.1), upCrest},
             "upstream");
    fillFace(m.FaceTab[kDownstreamFace], m.FaceRows[kDownstreamFace], u, 1500, 38,
             {slopeRow(1610, -0.15), slopeRow(1830, -0.025)}, "downstream");
    fillFace(m.FaceTab[kUpstreamLoC], m.FaceRows[kUpstreamLoC], u, 1500, 240,
             {slopeRow(1665, 0.8), slopeRow(1830, 1.079)}, "left us LoC");
    fillFace(m.FaceTab[kDownstreamLoC], m.FaceRows[kDownstreamLoC], u, 1500, 232,
             {slopeRow(1665, 0.75), slopeRow(1830, 1.068)}, "left ds LoC");
    fillFace(m.FaceTab[kRightUpstreamLoC], m.FaceRows[kRightUpstreamLoC], u, 1500, 190,
             {slopeRow(1665, 0.6), slopeRow(1830, 0.794)}, "right us LoC");
    fillFace(m.FaceTab[kRightDownstreamLoC], m.FaceRows[kRightDownstreamLoC], u, 1500, 184,
             {slopeRow(1665, 0.57), slopeRow(1830, 0.775)}, "right ds LoC");
    auto left = [](double z) { return 60 + 390 * std::pow((z - 1500) / 330, 0.7); };
    auto right = [](double z) { return 50 + 260 * std::pow((z - 1500) / 330, 0.9); };
    std::vector<double> arches;
    for (int k = 0; k <= 6; ++k) arches.push_back(1500 + 55 * k);
    fillArches(m, u, arches, left, right);

    commonMaterials(m);
    m.Ec[u] = 3.8;
    m.VariableModuli = true;
    // Rock moduli (E6 psi) from the lowest arch up: the left bank is weaker
    // and weathered near the surface.
    const double defL[] = {2.2, 2.0, 1.8, 1.6, 1.4, 1.2, 1.0};
    const double defR[] = {3.4, 3.2, 3.0, 2.8, 2.6, 2.4, 2.2};
    // Winter temperature drop (deg F) and linear difference through the
    // thickness, larger in the thinner upper arches.
    const double uni[] = {-6, -7, -8, -9, -11, -13, -15};
    const double lin[] = {4, 5, 6, 7, 8, 9, 10};
    for (int k = 0; k < m.NbArcs; ++k) {
        m.DefTab(u, 0, k) = f3(arches[k]);
        m.DefTab(u, 1, k) = formatF2(defL[k]);
        m.DefTab(u, 2, k) = formatF2(defR[k]);
        m.TempTab(u, 0, k) = f3(arches[k]);
        m.TempTab(u, 1, k) = formatF2(uni[k]);
        m.TempTab(u, 2, k) = formatF2(lin[k]);
    }
    m.ThUni = m.ThLin = true;
    m.Rwe[u] = 1825;
    m.Twe[u] = 1530;
    m.GroutIndex = 0;
    return m;
}

// A single-centred dam of 70 m entered in SI units with round values in
// metres. The imperial copy that the deck carries is derived from them with
// the program's own conversions and roundings.
CaseModel siDam()
{
    CaseModel m;
    const int si = kSI;
    m.DamName[0] = "Dam entered in SI units";
    m.NbCenter = 1;
    m.BaseElev[si] = 410;
    m.TopElev[si] = 480;
    m.Radius[si] = 180;
    m.RadiusR = m.Radius;
    fillFace(m.FaceTab[kUpstreamFace], m.FaceRows[kUpstreamFace], si, 410, -1.5,
             {slopeRow(440, -0.05), slopeRow(480, 0.075)}, "upstream");
    fillFace(m.FaceTab[kDownstreamFace], m.FaceRows[kDownstreamFace], si, 410, 12,
             {slopeRow(440, -0.2), slopeRow(480, -0.05)}, "downstream");
    fillFace(m.FaceTab[kUpstreamLoC], m.FaceRows[kUpstreamLoC], si, 410, 89, {slopeRow(480, 1.3)}, "us LoC");
    fillFace(m.FaceTab[kDownstreamLoC], m.FaceRows[kDownstreamLoC], si, 410, 86, {slopeRow(480, 1.3)},
             "ds LoC");
    copyRightSide(m);
    auto valley = [](double z) { return 30 + 110 * std::pow((z - 410) / 70, 0.8); };
    const std::vector<double> arches = {410, 424, 438, 452, 466, 480};
    fillArches(m, si, arches, valley, valley);
    m.Ec[si] = 25;
    m.Nuc = {0.2, 0.2};
    m.Wc[si] = 2400;
    m.Thec[si] = 10;
    m.Er[si] = 15;
    m.Nur = {0.25, 0.25};
    m.Rwe[si] = 478;
    m.Twe = m.BaseElev;
    m.GroutIndex = 0;
    // A uniform temperature drop (deg C), larger in the thinner upper arches.
    const double uni[] = {-3, -4, -5, -6, -7, -8};
    m.ThUni = true;
    for (int k = 0; k < m.NbArcs; ++k) {
        m.TempTab(si, 0, k) = m.ArcTab(si, 0, k);
        m.TempTab(si, 1, k) = formatGeneral(uni[k]);
    }
    return m;
}


// ---------------------------------------------------------------------------
// The family of dams of the engine's convergence study (tests/data/family):
// each member stresses one feature of the mesh or of the loads.

// A thick double-curvature dam, 300 ft high and 85 ft thick at the base:
// both faces are circle rows, the upstream face overhangs 25 ft upstream of
// the crest at elevation 1080, and the intrados centres lie upstream of the
// extrados centres (12 ft at the base, 30 ft at the crest) so that the arches
// thicken toward the abutments. Weight on independent cantilevers unless
// `weightSwitch`.
CaseModel familyThick(bool weightSwitch)
{
    CaseModel m;
    const int u = kImperial;
    m.DamName[0] = weightSwitch ? "Thick double curvature, weight switch on" : "Thick double curvature dam";
    m.NbCenter = 1;
    m.BaseElev = {900, 274.32};
    m.TopElev = {1200, 365.76};
    m.Radius = m.RadiusR = {550, 167.64};
    const Row lowUp = circleRow(1080, 575, 1080, 600);
    const Row highUp = fittedCircle(1080, -25, 1200, 0, 1080, true);
    const double xBaseUp = round3(circleAbscissa(lowUp.cx, lowUp.cz, lowUp.r, 900));
    fillFace(m.FaceTab[kUpstreamFace], m.FaceRows[kUpstreamFace], u, 900, xBaseUp, {lowUp, highUp}, "upstream");
    const double xBaseDown = xBaseUp + 85;
    const Row down = fittedCircle(900, xBaseDown, 1200, 18, 1150, true);
    fillFace(m.FaceTab[kDownstreamFace], m.FaceRows[kDownstreamFace], u, 900, xBaseDown,
             {circleRow(1050, down.cx, down.cz, down.r), circleRow(1200, down.cx, down.cz, down.r)}, "downstream");
    const double usBase = round3(xBaseUp + 250);
    fillFace(m.FaceTab[kUpstreamLoC], m.FaceRows[kUpstreamLoC], u, 900, usBase,
             {slopeRow(1050, 0.8), slopeRow(1200, round3((550 - usBase - 0.8 * 150) / 150))}, "us LoC");
    fillFace(m.FaceTab[kDownstreamLoC], m.FaceRows[kDownstreamLoC], u, 900, usBase - 12,
             {slopeRow(1050, 0.74), slopeRow(1200, round3((520 - (usBase - 12) - 0.74 * 150) / 150))}, "ds LoC");
    copyRightSide(m);
    auto valley = [](double z) { return 60 + 360 * std::pow((z - 900) / 300, 0.8); };
    fillArches(m, u, {900, 950, 1000, 1050, 1100, 1150, 1200}, valley, valley);
    commonMaterials(m);
    m.Ec[u] = 4.0;
    m.Er[u] = 3.0;
    m.Rwe[u] = 1195;
    m.Twe[u] = 930;
    m.GroutIndex = 0;
    m.WeightDistribution = weightSwitch;
    return m;
}

// A single-centred dam in an asymmetric valley: a steep left bank (23.6
// degrees at the crest) and a flat right bank (46 degrees).
CaseModel familyAsymmetric()
{
    CaseModel m;
    const int u = kImperial;
    m.DamName[0] = "Asymmetric valley dam";
    m.NbCenter = 1;
    m.BaseElev = {1000, 304.8};
    m.TopElev = {1200, 365.76};
    m.Radius = m.RadiusR = {500, 152.4};
    fillFace(m.FaceTab[kUpstreamFace], m.FaceRows[kUpstreamFace], u, 1000, 0, {slopeRow(1200, 0)}, "upstream");
    fillFace(m.FaceTab[kDownstreamFace], m.FaceRows[kDownstreamFace], u, 1000, 32, {slopeRow(1200, -0.1)},
             "downstream");
    fillFace(m.FaceTab[kUpstreamLoC], m.FaceRows[kUpstreamLoC], u, 1000, 500, {slopeRow(1200, 0)}, "us LoC");
    fillFace(m.FaceTab[kDownstreamLoC], m.FaceRows[kDownstreamLoC], u, 1000, 500, {slopeRow(1200, 0)}, "ds LoC");
    copyRightSide(m);
    fillArches(
        m, u, {1000, 1050, 1100, 1150, 1200}, [](double z) { return 40 + 0.8 * (z - 1000); },
        [](double z) { return 70 + 1.45 * (z - 1000); });
    commonMaterials(m);
    m.Rwe[u] = 1195;
    m.Twe = m.BaseElev;
    m.GroutIndex = 0;
    return m;
}

// A two-centred dam with unequal radii: 320 ft on the left, 520 ft on the
// right at the crest, the intrados centres 5 ft upstream of the extrados ones.
CaseModel familyTwoCentred()
{
    CaseModel m;
    const int u = kImperial;
    m.DamName[0] = "Two-centred dam, unequal radii";
    m.NbCenter = 2;
    m.BaseElev = {1000, 304.8};
    m.TopElev = {1250, 381};
    m.Radius = {320, 97.54};
    m.RadiusR = {520, 158.5};
    fillFace(m.FaceTab[kUpstreamFace], m.FaceRows[kUpstreamFace], u, 1000, 8, {slopeRow(1250, -0.032)},
             "upstream");
    fillFace(m.FaceTab[kDownstreamFace], m.FaceRows[kDownstreamFace], u, 1000, 50, {slopeRow(1250, -0.14)},
             "downstream");
    fillFace(m.FaceTab[kUpstreamLoC], m.FaceRows[kUpstreamLoC], u, 1000, 200, {slopeRow(1250, 0.48)}, "left us LoC");
    fillFace(m.FaceTab[kDownstreamLoC], m.FaceRows[kDownstreamLoC], u, 1000, 195, {slopeRow(1250, 0.48)},
             "left ds LoC");
    fillFace(m.FaceTab[kRightUpstreamLoC], m.FaceRows[kRightUpstreamLoC], u, 1000, 330, {slopeRow(1250, 0.76)},
             "right us LoC");
    fillFace(m.FaceTab[kRightDownstreamLoC], m.FaceRows[kRightDownstreamLoC], u, 1000, 325,
             {slopeRow(1250, 0.76)}, "right ds LoC");
    fillArches(
        m, u, {1000, 1050, 1100, 1150, 1200, 1250},
        [](double z) { return 50 + 180 * std::pow((z - 1000) / 250, 0.8); },
        [](double z) { return 60 + 320 * std::pow((z - 1000) / 250, 0.9); });
    commonMaterials(m);
    m.Rwe[u] = 1245;
    m.Twe = m.BaseElev;
    m.GroutIndex = 0;
    return m;
}

// A thin dam: 250 ft high, 16 ft thick at the base and 8 ft at the crest,
// concentric cylindrical arches of 450 ft radius.
CaseModel familyThin()
{
    CaseModel m;
    const int u = kImperial;
    m.DamName[0] = "Thin arch dam";
    m.NbCenter = 1;
    m.BaseElev = {1000, 304.8};
    m.TopElev = {1250, 381};
    m.Radius = m.RadiusR = {450, 137.16};
    fillFace(m.FaceTab[kUpstreamFace], m.FaceRows[kUpstreamFace], u, 1000, 0, {slopeRow(1250, 0)}, "upstream");
    fillFace(m.FaceTab[kDownstreamFace], m.FaceRows[kDownstreamFace], u, 1000, 16, {slopeRow(1250, -0.032)},
             "downstream");
    fillFace(m.FaceTab[kUpstreamLoC], m.FaceRows[kUpstreamLoC], u, 1000, 450, {slopeRow(1250, 0)}, "us LoC");
    fillFace(m.FaceTab[kDownstreamLoC], m.FaceRows[kDownstreamLoC], u, 1000, 450, {slopeRow(1250, 0)}, "ds LoC");
    copyRightSide(m);
    auto valley = [](double z) { return 50 + 1.2 * (z - 1000); };
    fillArches(m, u, {1000, 1050, 1100, 1150, 1200, 1250}, valley, valley);
    commonMaterials(m);
    m.Rwe[u] = 1245;
    m.Twe = m.BaseElev;
    m.GroutIndex = 0;
    return m;
}

// A double-curvature dam on soft rock: Er = Ec / 2 (4.0 and 2.0 E6 psi).
CaseModel familySoftRock()
{
    CaseModel m;
    const int u = kImperial;
    m.DamName[0] = "Dam on soft rock";
    m.NbCenter = 1;
    m.BaseElev = {1000, 304.8};
    m.TopElev = {1200, 365.76};
    m.Radius = m.RadiusR = {480, 146.3};
    fillFace(m.FaceTab[kUpstreamFace], m.FaceRows[kUpstreamFace], u, 1000, 15,
             {slopeRow(1120, -0.125), slopeRow(1200, 0)}, "upstream");
    fillFace(m.FaceTab[kDownstreamFace], m.FaceRows[kDownstreamFace], u, 1000, 55,
             {slopeRow(1120, -0.275), slopeRow(1200, -0.125)}, "downstream");
    fillFace(m.FaceTab[kUpstreamLoC], m.FaceRows[kUpstreamLoC], u, 1000, 420, {slopeRow(1200, 0.3)}, "us LoC");
    fillFace(m.FaceTab[kDownstreamLoC], m.FaceRows[kDownstreamLoC], u, 1000, 405, {slopeRow(1200, 0.35)}, "ds LoC");
    copyRightSide(m);
    auto valley = [](double z) { return 70 + 300 * std::pow((z - 1000) / 200, 0.85); };
    fillArches(m, u, {1000, 1050, 1100, 1150, 1200}, valley, valley);
    commonMaterials(m);
    m.Ec[u] = 4.0;
    m.Er[u] = 2.0;
    m.Rwe[u] = 1195;
    m.Twe = m.BaseElev;
    m.GroutIndex = 0;
    return m;
}

// A single-centred dam under water, weight and temperatures: a uniform drop
// from 8 degrees F at the base to 16 at the crest and a linear difference
// (upstream face minus downstream face) from 3 to 9 degrees F.
CaseModel familyTemperatures()
{
    CaseModel m;
    const int u = kImperial;
    m.DamName[0] = "Dam under temperature changes";
    m.NbCenter = 1;
    m.BaseElev = {1000, 304.8};
    m.TopElev = {1200, 365.76};
    m.Radius = m.RadiusR = {420, 128.02};
    fillFace(m.FaceTab[kUpstreamFace], m.FaceRows[kUpstreamFace], u, 1000, 5, {slopeRow(1200, -0.025)},
             "upstream");
    fillFace(m.FaceTab[kDownstreamFace], m.FaceRows[kDownstreamFace], u, 1000, 40, {slopeRow(1200, -0.14)},
             "downstream");
    fillFace(m.FaceTab[kUpstreamLoC], m.FaceRows[kUpstreamLoC], u, 1000, 380, {slopeRow(1200, 0.2)}, "us LoC");
    fillFace(m.FaceTab[kDownstreamLoC], m.FaceRows[kDownstreamLoC], u, 1000, 375, {slopeRow(1200, 0.225)},
             "ds LoC");
    copyRightSide(m);
    auto valley = [](double z) { return 60 + 260 * std::pow((z - 1000) / 200, 0.8); };
    const std::vector<double> arches = {1000, 1050, 1100, 1150, 1200};
    fillArches(m, u, arches, valley, valley);
    commonMaterials(m);
    const double uni[] = {-8, -10, -12, -14, -16};
    const double lin[] = {3, 4.5, 6, 7.5, 9};
    for (int k = 0; k < m.NbArcs; ++k) {
        m.TempTab(u, 0, k) = f3(arches[k]);
        m.TempTab(u, 1, k) = formatF2(uni[k]);
        m.TempTab(u, 2, k) = formatF2(lin[k]);
    }
    m.ThUni = m.ThLin = true;
    m.Rwe[u] = 1190;
    m.Twe = m.BaseElev;
    m.GroutIndex = 0;
    return m;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool family = argc == 3 && std::string(argv[1]) == "--family";
    if (argc != 2 && !family) {
        std::fprintf(stderr, "usage: velta_make_examples [--family] OUTDIR\n");
        return 2;
    }
    const std::string dir = std::string(argv[argc - 1]) + "/";
    struct Example {
        const char* file;
        CaseModel (*make)();
        int typed = kImperial;  // the unit system the case is described in
    };
    const Example examples[] = {
        {"simple.dat", simpleDam},
        {"double_curvature.dat", doubleCurvatureDam},
        {"two_centred.dat", twoCentredDam},
        {"si_units.dat", siDam, kSI},
    };
    const Example members[] = {
        {"thick_double_curvature.dat", [] { return familyThick(false); }},
        {"weight_switch_on.dat", [] { return familyThick(true); }},
        {"asymmetric_valley.dat", familyAsymmetric},
        {"two_centred_unequal.dat", familyTwoCentred},
        {"thin.dat", familyThin},
        {"soft_rock.dat", familySoftRock},
        {"temperatures.dat", familyTemperatures},
    };
    try {
        for (const auto& e : family ? std::vector<Example>(std::begin(members), std::end(members))
                                    : std::vector<Example>(std::begin(examples), std::end(examples))) {
            CaseModel m = e.make();
            for (UnitEditor editor : {UnitEditor::Geometry, UnitEditor::Materials, UnitEditor::Loads})
                refreshOtherUnitCopy(m, editor, e.typed);
            checkGeometry(m, e.file);
            writeFileAtomically(dir + e.file, composeDeck(m, 0, m.NbCenter));
            std::printf("%s\n", (dir + e.file).c_str());
        }
    } catch (const std::exception& ex) {
        std::fprintf(stderr, "velta_make_examples: %s\n", ex.what());
        return 1;
    }
    return 0;
}
