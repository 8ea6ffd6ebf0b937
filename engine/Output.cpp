#include "engine/Output.h"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <sstream>

#include "model/Numbers.h"

namespace velta::engine {

namespace {

// A line built by columns (1-based, inclusive), ended by CR LF.
class Line {
public:
    // Right-aligns `text` so that it ends at column `end`.
    Line& at(int end, const std::string& text)
    {
        const int start = std::max(0, end - int(text.size()));
        if (s_.size() < start + text.size()) s_.resize(start + text.size(), ' ');
        s_.replace(start, text.size(), text);
        return *this;
    }
    // Places `text` from column `start`.
    Line& from(int start, const std::string& text)
    {
        if (int(s_.size()) < start - 1) s_.resize(start - 1, ' ');
        s_.resize(start - 1);
        s_ += text;
        return *this;
    }
    std::string str() const
    {
        std::string t = s_;
        while (!t.empty() && t.back() == ' ') t.pop_back();
        return t + "\r\n";
    }

private:
    std::string s_;
};

std::string text(const std::string& s)
{
    return Line().from(1, s).str();
}

std::string sideName(int slot)
{
    return slot == kCrownSlot ? "CROWN" : slot > kCrownSlot ? "LEFT" : "RIGHT";
}

// Angle of a principal direction in the files: from the vertical, positive
// when it leans toward the crown at the top (toward the right abutment on
// the crown cantilever).
double fileAngle(double angleTowardRight, int slot)
{
    return slot >= kCrownSlot ? angleTowardRight : -angleTowardRight;
}

// Numbers are written with std::to_chars, which never looks at the locale:
// the files read the same under any language setting.
std::string fixedText(double x, int decimals)
{
    char buf[512];
    const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string();
}

// Exponent form as "%.<decimals>E" writes it: 1.234E+05.
std::string exponentText(double x, int decimals)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, decimals);
    std::string t(buf, r.ptr);
    for (char& c : t)
        if (c == 'e') c = 'E';
    return t;
}

std::string padLeft(const std::string& t, int width)
{
    return int(t.size()) < width ? std::string(width - t.size(), ' ') + t : t;
}

} // namespace

std::string fitNumber(double x, int width, int decimals)
{
    if (!std::isfinite(x)) x = 0;
    if (width <= 0) return fixedText(x, decimals); // free width
    for (int d = decimals; d >= 0; --d) {
        const std::string t = fixedText(x, d);
        if (int(t.size()) <= width) return padLeft(t, width);
    }
    for (int p = std::max(0, width - 7); p >= 0; --p) {
        const std::string t = exponentText(x, p);
        if (int(t.size()) <= width) return padLeft(t, width);
    }
    return std::string(width, '*');
}

std::string degreesMinutes(double a)
{
    while (a > 90) a -= 180;
    while (a <= -90) a += 180;
    long minutes = std::lround(std::abs(a) * 60);
    if (a > 0 && minutes > 0 && minutes < 60) minutes += 180 * 60; // the same direction, read back exactly
    const long d = minutes / 60, m = minutes % 60;
    return padLeft(std::to_string(a < 0 && d > 0 ? -d : d), 3) + padLeft(std::to_string(m), 3);
}

std::string composePlt(const CaseModel& m, const AnalysisResult& r)
{
    std::ostringstream o;
    o << text(" VELTA TRIAL-LOAD ANALYSIS WITH FULL ADJUSTMENT (RADIAL, TANGENTIAL, TWIST AND VERTICAL)");
    o << text(" DAM: " + m.DamName[0]);
    o << text(" UNITS: FEET, KIPS PER SQUARE FOOT, PSI (COMPRESSION POSITIVE)");
    o << text("");
    o << Line().from(5, "RADIAL ADJUSTMENT CANTILEVER DEFLECTIONS").str();
    for (const CantileverResult& c : r.cantilevers) {
        o << Line()
                 .from(1, "CANT. NO.")
                 .at(13, std::to_string(c.slot))
                 .from(15, sideName(c.slot))
                 .from(21, "A=" + fitNumber(c.angle, 7, 2))
                 .at(39, "ELEV FT")
                 .at(49, "-ARCH KSF")
                 .at(66, "RADIAL FT")
                 .at(79, "TANG. FT")
                 .at(92, "VERT. FT")
                 .str();
        for (const NodeResult& p : c.points)
            o << Line()
                     .at(39, fitNumber(p.z, 10, 2))
                     .at(49, fitNumber(-p.archLoad, 10, 4))
                     .at(66, fitNumber(p.radial, 12, 6))
                     .at(79, fitNumber(p.tangential, 12, 6))
                     .at(92, fitNumber(p.vertical, 12, 6))
                     .str();
    }
    o << Line().from(5, "RADIAL ADJUSTMENT, ARCH DEFLECTIONS").str();
    for (int k = int(r.arches.size()) - 1; k >= 1; --k) {
        const double z = r.arches[k].z;
        o << Line()
                 .from(2, "ARCH AT ELEVATION " + fitNumber(z, 9, 2) +
                              " FT: RADIAL DEFLECTIONS (FT) BY CANTILEVER")
                 .str();
        for (const CantileverResult& c : r.cantilevers)
            for (const NodeResult& p : c.points)
                if (std::abs(p.z - z) < 0.01)
                    o << Line()
                             .from(3, "CANT.")
                             .at(11, std::to_string(c.slot))
                             .at(22, fitNumber(c.angle, 9, 2))
                             .at(36, fitNumber(p.radial, 12, 6))
                             .str();
    }
    o << Line().from(4, "CANTILEVER PRINCIPAL STRESSES").str();
    for (const CantileverResult& c : r.cantilevers) {
        o << Line()
                 .from(1, "CANT. NO.")
                 .at(13, std::to_string(c.slot))
                 .at(22, "ELEV")
                 .at(32, "UP S1")
                 .at(42, "UP S2")
                 .at(52, "DEG MIN")
                 .at(78, "DOWN S1")
                 .at(88, "DOWN S2")
                 .at(98, "DEG MIN")
                 .str();
        for (const NodeResult& p : c.points) {
            Line l;
            l.at(22, fitNumber(p.z, 8, 2))
                .at(32, fitNumber(-p.up.s1, 8, 1))
                .at(42, fitNumber(-p.up.s2, 8, 1))
                .at(52, degreesMinutes(fileAngle(p.up.angle, c.slot)))
                .at(78, fitNumber(-p.down.s1, 8, 1))
                .at(88, fitNumber(-p.down.s2, 8, 1))
                .at(98, degreesMinutes(fileAngle(p.down.angle, c.slot)));
            o << l.str();
        }
    }
    auto archStresses = [&](const char* title, auto pick) {
        o << Line().from(5, title).str();
        o << Line()
                 .at(12, "ELEV")
                 .at(18, "SLOT")
                 .at(29, "UP HOOP")
                 .at(39, "UP VERT")
                 .at(49, "DN HOOP")
                 .at(59, "DN VERT")
                 .str();
        for (int k = int(r.arches.size()) - 1; k >= 1; --k) {
            const double z = r.arches[k].z;
            const CantileverResult* c = pick(z);
            if (!c) continue;
            for (const NodeResult& p : c->points)
                if (std::abs(p.z - z) < 0.01)
                    o << Line()
                             .at(12, fitNumber(z, 9, 2))
                             .at(18, std::to_string(c->slot))
                             .at(29, fitNumber(-p.up.hoop, 9, 1))
                             .at(39, fitNumber(-p.up.vertical, 9, 1))
                             .at(49, fitNumber(-p.down.hoop, 9, 1))
                             .at(59, fitNumber(-p.down.vertical, 9, 1))
                             .str();
        }
    };
    auto footAt = [&](int side) {
        return [&r, side](double z) -> const CantileverResult* {
            for (const CantileverResult& c : r.cantilevers)
                if ((side > 0 ? c.slot > kCrownSlot : c.slot < kCrownSlot) && std::abs(c.baseElev - z) < 0.01)
                    return &c;
            return nullptr;
        };
    };
    archStresses("PRINCIPAL ARCH STRESSES LEFT ABUTMENT", footAt(1));
    archStresses("ARCH STRESSES AT THE CROWN", [&](double) -> const CantileverResult* {
        for (const CantileverResult& c : r.cantilevers)
            if (c.slot == kCrownSlot) return &c;
        return nullptr;
    });
    archStresses("ARCH STRESSES AT THE RIGHT ABUTMENT", footAt(-1));
    return o.str();
}

std::string composeFailure(const std::string& caseName, const std::string& reason)
{
    std::ostringstream o;
    o << text(" ANALYSIS NOT DONE: " + reason);
    o << text("");
    o << text(" VELTA trial-load analysis of " + caseName);
    o << text(" The case could not be analysed, so this report holds no results.");
    return o.str();
}

std::string composeOut(const CaseModel& m, const AnalysisResult& r)
{
    std::ostringstream o;
    const int nb = int(r.arches.size());
    const bool two = m.NbCenter == 2;
    auto F = [](double x, int w, int d) { return fitNumber(x, w, d); };
    o << text("1VELTA TRIAL-LOAD ANALYSIS OF ARCH DAMS WITH FULL ADJUSTMENT");
    o << text(" DAM: " + m.DamName[0]);
    o << text(
        " Units: feet, pounds, kips per square foot (ksf), psi. Deflections negative toward downstream.");
    o << text("");
    o << text(" INPUT AS UNDERSTOOD");
    o << text(" -------------------");
    o << text(" Centres: " + std::to_string(m.NbCenter) + "   crest " + F(m.TopElev[0], 0, 2) +
              " ft   base " + F(m.BaseElev[0], 0, 2) + " ft   axis radius " + F(m.Radius[0], 0, 2) + " ft" +
              (two ? "   right axis radius " + F(m.RadiusR[0], 0, 2) + " ft" : ""));
    o << text(" Concrete: E " + F(m.Ec[0], 0, 3) + " E6 psi, Poisson " + F(m.Nuc[0], 0, 3) +
              ", unit weight " + F(m.Wc[0], 0, 2) + " lb/ft3, expansion " + F(m.Thec[0], 0, 3) + " E-06/F");
    o << text(
        " Rock: " +
        (m.VariableModuli ? std::string("moduli by arch (below)") : "E " + F(m.Er[0], 0, 3) + " E6 psi") +
        ", Poisson " + F(m.Nur[0], 0, 3));
    o << text(" Reservoir " + F(m.Rwe[0], 0, 2) + " ft   tailwater " +
              (m.Twe[0] > m.BaseElev[0] ? F(m.Twe[0], 0, 2) + " ft" : std::string("none")) +
              "   top of grout " + F(r.groutElev, 0, 2) + " ft   weight moment " +
              (m.WeightDistribution ? "distributed between arches and cantilevers"
                                    : "carried by the cantilevers alone"));
    o << text("");
    o << Line()
             .at(12, "ARCH ELEV")
             .at(18, "CODE")
             .at(28, "PHI L")
             .at(38, "PHI R")
             .at(48, "A L")
             .at(58, "A R")
             .at(70, "UNIF. T F")
             .at(82, "LIN. T F")
             .at(94, "ROCK E L")
             .at(106, "ROCK E R")
             .str();
    for (int k = nb - 1; k >= 0; --k) {
        const ArchLevel& a = r.arches[k];
        Line l;
        l.at(12, F(a.z, 10, 2)).at(18, std::to_string(a.code));
        if (a.has[0]) l.at(28, F(a.phi[0], 9, 3)).at(48, F(a.A[0], 9, 3));
        if (a.has[1]) l.at(38, F(a.phi[1], 9, 3)).at(58, F(a.A[1], 9, 3));
        l.at(70, F(a.tempUniform, 10, 2)).at(82, F(a.tempLinear, 10, 2));
        if (m.VariableModuli) l.at(94, F(a.rockE[0], 10, 3)).at(106, F(a.rockE[1], 10, 3));
        o << l.str();
    }
    o << text("");
    o << text(" ANALYSIS");
    o << text(" Three-dimensional model of the dam's body: 20-node hexahedra and 15-node wedges (quadratic),");
    o << text(" Gauss quadrature, consistent water loads, sparse Cholesky solution; results on the arch levels");
    o << text(" and the cantilever slots, arch and cantilever forces integrated through the thickness.");
    o << text(" Mesh level " + std::to_string(r.level) + ": " + std::to_string(r.nodes) + " nodes, " +
              std::to_string(r.elements) + " elements (" + std::to_string(r.wedges) + " wedges), " +
              std::to_string(r.thicknessDivisions) + " through the thickness, " + std::to_string(r.equations) +
              " equations.");
    // An indicator, not a bound: the root mean square of the jumps between
    // the elements' own nodal stresses and their averages at the nodes, over
    // the root mean square of the averaged stresses, every element node of
    // the adjusted structure counted. It halves roughly with each level and
    // is largest at the corners with the rock.
    o << text(" Convergence indicator: RMS jump of the elements' nodal stresses about their nodal");
    o << text(" averages / RMS stress = " + F(100 * r.stressError, 0, 2) +
              " % (all nodes; not an error bound; the finer levels");
    o << text(" of the mesh show the convergence of the results themselves).");
    if (r.rock == RockModel::Rigid)
        o << text(" Rock rigid: the contact with the rock is held.");
    else if (r.rock == RockModel::Block)
        o << text(" Rock as an elastic block under the contact, " + F(r.rockDepth, 0, 1) + " ft deep, reaching " +
                  F(r.rockReach, 0, 1) + " ft beyond the faces,")
          << text(" held on its far faces; no weight in the rock, no water on the reservoir bottom.");
    else
        o << text(" Rock by Vogt's coefficients over the contact: b/a " + F(r.bOverA, 0, 2) + "  K1 " +
                  F(r.vogt[0], 0, 3) + "  K2 " + F(r.vogt[1], 0, 3) + "  K3 " + F(r.vogt[2], 0, 3) + "  K4 " +
                  F(r.vogt[3], 0, 3) + "  K5 " + F(r.vogt[4], 0, 3));
    o << text("");

    // Planes of centres.
    o << text("1");
    o << Line().from(50, "PLANE OF CENTERS DATA").str();
    o << Line()
             .at(14, "ELEVATION")
             .at(24, "UP FACE")
             .at(34, "DOWN FACE")
             .at(44, "UP CENTRE")
             .at(54, "DN CENTRE")
             .at(70, "INTRADOS")
             .at(84, "EXTRADOS")
             .at(98, "EXTRADOS")
             .at(112, "INTRADOS")
             .str();
    o << Line()
             .at(14, "FT")
             .at(24, "ABSCISSA")
             .at(34, "ABSCISSA")
             .at(44, "ABSCISSA")
             .at(54, "ABSCISSA")
             .at(70, "CTR DIST")
             .at(84, "CTR DIST")
             .at(98, "RADIUS")
             .at(112, "RADIUS")
             .str();
    o << text("");
    for (int k = 0; k < nb; ++k) {
        const SectionRow& s = r.sections[k];
        o << Line()
                 .at(14, F(s.z, 10, 2))
                 .at(24, F(s.upFace, 10, 2))
                 .at(34, F(s.downFace, 10, 2))
                 .at(44, F(s.upCentre[0], 10, 2))
                 .at(54, F(s.downCentre[0], 10, 2))
                 .at(70, F(m.Radius[0] - s.downCentre[0], 10, 3))
                 .at(84, F(m.Radius[0] - s.upCentre[0], 10, 3))
                 .at(98, F(s.extradosR[0], 10, 3))
                 .at(112, F(s.intradosR[0], 10, 3))
                 .str();
    }
    o << text("");
    if (two) {
        o << Line()
                 .from(10, "PLANE OF CENTERS DATA (FOR THE RIGHT SIDE PLANE, OR OUTER PLANE, IF 3 CENTERED "
                           "GEOMETRY IS USED)")
                 .str();
        o << Line()
                 .at(35, "ELEVATION")
                 .at(49, "INTRADOS")
                 .at(64, "EXTRADOS")
                 .at(79, "EXTRADOS")
                 .at(94, "INTRADOS")
                 .str();
        o << Line()
                 .at(35, "FT")
                 .at(49, "CTR DIST")
                 .at(64, "CTR DIST")
                 .at(79, "RADIUS")
                 .at(94, "RADIUS")
                 .str();
        o << text("");
        for (int k = 0; k < nb; ++k) {
            const SectionRow& s = r.sections[k];
            o << Line()
                     .at(35, F(s.z, 10, 2))
                     .at(49, F(m.RadiusR[0] - s.downCentre[1], 10, 3))
                     .at(64, F(m.RadiusR[0] - s.upCentre[1], 10, 3))
                     .at(79, F(s.extradosR[1], 10, 3))
                     .at(94, F(s.intradosR[1], 10, 3))
                     .str();
        }
        o << text("");
    }

    // Geometric properties of the cantilevers.
    for (size_t i = 0; i < r.cantilevers.size(); ++i) {
        const CantileverResult& c = r.cantilevers[i];
        o << text("");
        o << Line()
                 .from(2, "GEOMETRIC PROPERTIES FOR CANTILEVER NUMBER")
                 .at(83, std::to_string(c.slot))
                 .str();
        o << text("  " + sideName(c.slot) + " cantilever at the general-axis angle " + F(c.angle, 0, 2) +
                  " degrees, foundation at " + F(c.baseElev, 0, 2) + " ft.");
        o << text(
            "  Sections along the radial line from the arch centre at angle PHI; the upstream offset is");
        o << text(
            "  the distance of the upstream face upstream of the axis circle, the thickness is radial.");
        for (int k = 0; k < 5; ++k) o << text("");
        o << Line()
                 .at(8, "ELEV")
                 .at(21, "UP OFFSET")
                 .at(32, "THICKNESS")
                 .at(44, "MID RADIUS")
                 .at(52, "PHI")
                 .str();
        o << Line().at(8, "FT").at(21, "FT").at(32, "FT").at(44, "FT").at(52, "DEG").str();
        o << text("");
        for (const CantileverGeometryRow& g : r.cantileverGeometry[i])
            o << Line()
                     .at(8, F(g.z, 7, 2))
                     .at(21, F(g.upstreamOffset, 10, 3))
                     .at(32, F(g.thickness, 10, 3))
                     .at(44, F(g.radius, 11, 2))
                     .at(52, F(g.phi, 7, 3))
                     .str();
        o << text("");
    }
    for (int side = 0; side < 2; ++side) {
        o << Line()
                 .from(2, side == 0 ? "GEOMETRIC PROPERTIES AT THE ABUTMENT ON THE LEFT SIDE"
                                    : "GEOMETRIC PROPERTIES AT THE ABUTMENT ON THE RIGHT SIDE")
                 .str();
        o << Line()
                 .at(12, "ELEV FT")
                 .at(20, "SLOT")
                 .at(32, "PHI DEG")
                 .at(44, "A DEG")
                 .at(58, "THICKNESS FT")
                 .str();
        for (size_t i = 0; i < r.cantilevers.size(); ++i) {
            const CantileverResult& c = r.cantilevers[i];
            if (side == 0 ? c.slot <= kCrownSlot : c.slot >= kCrownSlot) continue;
            const CantileverGeometryRow& g = r.cantileverGeometry[i].front();
            o << Line()
                     .at(12, F(g.z, 10, 2))
                     .at(20, std::to_string(c.slot))
                     .at(32, F(g.phi, 10, 3))
                     .at(44, F(c.angle, 10, 2))
                     .at(58, F(g.thickness, 12, 3))
                     .str();
        }
        o << text("");
    }

    // Results at the nodes.
    o << text("1LOADS, DEFLECTIONS AND STRESSES AT THE NODES OF THE ARCHES AND CANTILEVERS");
    o << text(" Loads: water pressure and the parts of the radial load carried by the arch and by the "
              "cantilever, ksf,");
    o << text(" positive downstream. Deflections in ft: radial (negative downstream), tangential (toward the "
              "right");
    o << text(" abutment), vertical. Stresses in psi, tension positive: hoop and vertical normal stresses, "
              "shear on the");
    o << text(" face, principal stresses S1 <= S2 and the direction of S1 from the vertical, positive toward "
              "the right");
    o << text(" abutment.");
    for (const CantileverResult& c : r.cantilevers) {
        o << text("");
        o << text(" CANTILEVER " + std::to_string(c.slot) + " (" + sideName(c.slot) +
                  ", A = " + F(c.angle, 0, 2) + " deg, foundation " + F(c.baseElev, 0, 2) + " ft)");
        o << Line()
                 .at(10, "ELEV")
                 .at(20, "WATER")
                 .at(30, "ARCH")
                 .at(40, "CANT.")
                 .at(52, "RADIAL")
                 .at(64, "TANG.")
                 .at(76, "VERT.")
                 .at(86, "THICK.")
                 .str();
        for (const NodeResult& p : c.points)
            o << Line()
                     .at(10, F(p.z, 9, 2))
                     .at(20, F(p.pressure, 9, 4))
                     .at(30, F(p.archLoad, 9, 4))
                     .at(40, F(p.cantLoad, 9, 4))
                     .at(52, F(p.radial, 11, 6))
                     .at(64, F(p.tangential, 11, 6))
                     .at(76, F(p.vertical, 11, 6))
                     .at(86, F(p.thickness, 9, 2))
                     .str();
        o << Line()
                 .at(10, "ELEV")
                 .at(14, "FACE")
                 .at(24, "HOOP")
                 .at(34, "VERTICAL")
                 .at(44, "SHEAR")
                 .at(54, "S1")
                 .at(64, "S2")
                 .at(74, "ANGLE")
                 .str();
        for (const NodeResult& p : c.points)
            for (int face = 0; face < 2; ++face) {
                const FaceStress& s = face == 0 ? p.up : p.down;
                o << Line()
                         .at(10, face == 0 ? F(p.z, 9, 2) : std::string())
                         .at(14, face == 0 ? "UP" : "DN")
                         .at(24, F(s.hoop, 9, 1))
                         .at(34, F(s.vertical, 9, 1))
                         .at(44, F(s.shear, 9, 1))
                         .at(54, F(s.s1, 9, 1))
                         .at(64, F(s.s2, 9, 1))
                         .at(74, F(s.angle, 9, 2))
                         .str();
            }
    }
    o << text("");

    // Forces on the abutments.
    o << text("1");
    o << Line().from(2, "RESOLUTION OF FORCES AND MOMENTS ON ABUTMENTS").str();
    const char* head[17] = {
        " Forces and moments that the dam puts on the rock under the foundation node of each cantilever, per",
        " foot of foundation line. FORCE 1 is the resultant in the vertical plane tangent to the arch, its",
        " angle measured from the tangent (pointing toward the abutment) downward; FORCE 2 is the resultant "
        "in",
        " the radial vertical plane, its angle measured from the downstream horizontal downward.",
        " Components: T tangential toward the abutment, V downward, R downstream (lb/ft); moments about the",
        " tangent, about the radial line and about the vertical (ft-lb/ft).",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
    };
    for (int k = 0; k < 15; ++k) o << text(head[k]);
    o << Line()
             .at(9, "ELEV")
             .at(15, "SLOT")
             .at(22, "SIDE")
             .at(41, "FORCE 1")
             .at(49, "ANG1")
             .at(61, "FORCE 2")
             .at(69, "ANG2")
             .at(82, "T")
             .at(94, "V")
             .at(106, "R")
             .at(119, "M TANG")
             .at(132, "M RAD")
             .at(145, "M VERT")
             .str();
    o << Line()
             .at(9, "FT")
             .at(41, "LB/FT")
             .at(49, "DEG")
             .at(61, "LB/FT")
             .at(69, "DEG")
             .at(82, "LB/FT")
             .at(94, "LB/FT")
             .at(106, "LB/FT")
             .at(119, "FT-LB/FT")
             .at(132, "FT-LB/FT")
             .at(145, "FT-LB/FT")
             .str();
    auto angle5 = [](double a) { return std::abs(a) < 99.95 ? fitNumber(a, 5, 1) : fitNumber(a, 5, 0); };
    for (const AbutmentResult& a : r.abutments)
        o << Line()
                 .at(9, fitNumber(a.z, 8, 2))
                 .at(15, std::to_string(a.slot))
                 .from(17, sideName(a.slot))
                 .at(41, fitNumber(a.force1, 10, 0))
                 .at(49, angle5(a.angle1))
                 .at(61, fitNumber(a.force2, 10, 0))
                 .at(69, angle5(a.angle2))
                 .at(82, fitNumber(a.tangential, 12, 0))
                 .at(94, fitNumber(a.vertical, 12, 0))
                 .at(106, fitNumber(a.radial, 12, 0))
                 .at(119, fitNumber(a.momentTangent, 13, 0))
                 .at(132, fitNumber(a.momentRadial, 13, 0))
                 .at(145, fitNumber(a.twist, 13, 0))
                 .str();
    o << text("1");

    // Equilibrium.
    o << text(" EQUILIBRIUM");
    o << text(" Applied loads (lb):     X " + F(r.applied.x(), 0, 1) + "   Y " + F(r.applied.y(), 0, 1) +
              "   Z " + F(r.applied.z(), 0, 1));
    o << text(" Rock reactions (lb):    X " + F(r.reaction.x(), 0, 1) + "   Y " + F(r.reaction.y(), 0, 1) +
              "   Z " + F(r.reaction.z(), 0, 1));
    const double an = r.applied.norm();
    auto e3 = [](double x) {
        std::string t = exponentText(x, 3);
        for (char& c : t)
            if (c == 'E') c = 'e';
        return t;
    };
    o << text(" Out of balance: " + e3(an > 0 ? (r.applied - r.reaction).norm() / an : 0.0) +
              " of the applied load; residual of the equations " + e3(r.residual));
    if (r.weightSeparate)
        o << text(" Weight on the independent cantilevers: residual of the equations " + e3(r.weightResidual));
    o << text(" END OF REPORT");
    return o.str();
}

} // namespace velta::engine
