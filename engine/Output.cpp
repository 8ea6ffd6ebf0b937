#include "engine/Output.h"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <sstream>
#include <string_view>
#include <vector>

#include "model/Numbers.h"
#include "deck/ResultFormat.h"

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
    // A number in its column of the result file table.
    Line& num(const resultfile::Column& c, double x) { return at(c.end, fitNumber(x, c.width, c.decimals)); }
    // A text ending where the column ends.
    Line& cell(const resultfile::Column& c, const std::string& t) { return at(c.end, t); }
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

std::string title(const resultfile::Title& t)
{
    return Line().from(t.column, std::string(t.text)).str();
}

// The headings of a table placed on `l`; with `units`, the units instead.
template <size_t N>
Line& headings(Line& l, const std::array<resultfile::Column, N>& cols, bool units = false)
{
    for (const resultfile::Column& c : cols) {
        const std::string_view t = units ? c.unit : c.heading;
        if (!t.empty()) l.at(c.end, std::string(t));
    }
    return l;
}

// A table's title line (or `titleLine` in its place), its notes padded with
// blank lines to the table's note lines, its headings and the blank lines
// before its rows.
template <size_t N>
std::string tableHead(const resultfile::Table& t, std::vector<std::string_view> notes,
                      const std::array<resultfile::Column, N>& cols, const std::string& titleLine = {})
{
    std::string o = titleLine.empty() ? title(t.title) : titleLine;
    for (int k = 0; k < t.noteLines; ++k) o += text(k < int(notes.size()) ? std::string(notes[k]) : std::string());
    Line h;
    o += headings(h, cols).str();
    if (t.unitLine) {
        Line u;
        o += headings(u, cols, true).str();
    }
    for (int k = 0; k < t.blankAfterHeadings; ++k) o += text("");
    return o;
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
    namespace rf = resultfile;
    std::ostringstream o;
    o << text(std::string(rf::kPltBanner));
    o << text(std::string(rf::kDamPrefix) + m.DamName[0]);
    o << text(std::string(rf::kPltUnits));
    o << text("");
    o << title(rf::kDeflections);
    for (const CantileverResult& c : r.cantilevers) {
        Line l;
        l.from(1, std::string(rf::kCantileverLabel))
            .cell(rf::kPltSlot, std::to_string(c.slot))
            .from(rf::kPltSideColumn, sideName(c.slot))
            .from(rf::kPltAngleColumn, std::string(rf::kAnglePrefix) +
                                           fitNumber(c.angle, rf::kPltAngle.width, rf::kPltAngle.decimals));
        o << headings(l, rf::kDeflectionColumns).str();
        for (const NodeResult& p : c.points) {
            using enum rf::DeflectionColumn;
            const auto& col = rf::kDeflectionColumns;
            o << Line()
                     .num(col[kDeflElev], p.z)
                     .num(col[kDeflArchLoad], -p.archLoad)
                     .num(col[kDeflRadial], p.radial)
                     .num(col[kDeflTangential], p.tangential)
                     .num(col[kDeflVertical], p.vertical)
                     .str();
        }
    }
    o << title(rf::kArchDeflections);
    for (int k = int(r.arches.size()) - 1; k >= 1; --k) {
        const double z = r.arches[k].z;
        o << Line()
                 .from(2, std::string(rf::kArchLinePrefix) +
                              fitNumber(z, rf::kArchLineElevation.width, rf::kArchLineElevation.decimals) +
                              std::string(rf::kArchLineSuffix))
                 .str();
        for (const CantileverResult& c : r.cantilevers)
            for (const NodeResult& p : c.points)
                if (std::abs(p.z - z) < 0.01) {
                    using enum rf::ArchDeflectionColumn;
                    const auto& col = rf::kArchDeflectionColumns;
                    o << Line()
                             .from(3, std::string(rf::kArchRowLabel))
                             .cell(col[kArchDeflSlot], std::to_string(c.slot))
                             .num(col[kArchDeflAngle], c.angle)
                             .num(col[kArchDeflRadial], p.radial)
                             .str();
                }
    }
    o << title(rf::kStresses);
    for (const CantileverResult& c : r.cantilevers) {
        Line h;
        h.from(1, std::string(rf::kCantileverLabel)).cell(rf::kPltSlot, std::to_string(c.slot));
        o << headings(h, rf::kStressColumns).str();
        for (const NodeResult& p : c.points) {
            using enum rf::StressColumn;
            const auto& col = rf::kStressColumns;
            o << Line()
                     .num(col[kStressElev], p.z)
                     .num(col[kStressUp1], -p.up.s1)
                     .num(col[kStressUp2], -p.up.s2)
                     .cell(col[kStressUpAngle], degreesMinutes(fileAngle(p.up.angle, c.slot)))
                     .num(col[kStressDown1], -p.down.s1)
                     .num(col[kStressDown2], -p.down.s2)
                     .cell(col[kStressDownAngle], degreesMinutes(fileAngle(p.down.angle, c.slot)))
                     .str();
        }
    }
    auto archStresses = [&](const rf::Title& t, auto pick) {
        o << title(t);
        Line h;
        o << headings(h, rf::kArchStressColumns).str();
        for (int k = int(r.arches.size()) - 1; k >= 1; --k) {
            const double z = r.arches[k].z;
            const CantileverResult* c = pick(z);
            if (!c) continue;
            for (const NodeResult& p : c->points)
                if (std::abs(p.z - z) < 0.01) {
                    using enum rf::ArchStressColumn;
                    const auto& col = rf::kArchStressColumns;
                    o << Line()
                             .num(col[kArchStressElev], z)
                             .cell(col[kArchStressSlot], std::to_string(c->slot))
                             .num(col[kArchStressUpHoop], -p.up.hoop)
                             .num(col[kArchStressUpVert], -p.up.vertical)
                             .num(col[kArchStressDownHoop], -p.down.hoop)
                             .num(col[kArchStressDownVert], -p.down.vertical)
                             .str();
                }
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
    archStresses(rf::kLeftArchStresses, footAt(1));
    archStresses(rf::kCrownArchStresses, [&](double) -> const CantileverResult* {
        for (const CantileverResult& c : r.cantilevers)
            if (c.slot == kCrownSlot) return &c;
        return nullptr;
    });
    archStresses(rf::kRightArchStresses, footAt(-1));
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
    namespace rf = resultfile;
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
    {
        Line h;
        o << headings(h, rf::kArchColumns).str();
    }
    for (int k = nb - 1; k >= 0; --k) {
        const ArchLevel& a = r.arches[k];
        const auto& col = rf::kArchColumns;
        Line l;
        l.num(col[rf::kArchElev], a.z).cell(col[rf::kArchCode], std::to_string(a.code));
        if (a.has[0]) l.num(col[rf::kArchPhiL], a.phi[0]).num(col[rf::kArchAL], a.A[0]);
        if (a.has[1]) l.num(col[rf::kArchPhiR], a.phi[1]).num(col[rf::kArchAR], a.A[1]);
        l.num(col[rf::kArchUniform], a.tempUniform).num(col[rf::kArchLinear], a.tempLinear);
        if (m.VariableModuli) l.num(col[rf::kArchRockL], a.rockE[0]).num(col[rf::kArchRockR], a.rockE[1]);
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
    o << text(std::string(rf::kPageBreak));
    o << tableHead(rf::kCentres, {}, rf::kCentreColumns);
    for (int k = 0; k < nb; ++k) {
        const SectionRow& s = r.sections[k];
        const auto& col = rf::kCentreColumns;
        o << Line()
                 .num(col[rf::kCentreElev], s.z)
                 .num(col[rf::kCentreUpFace], s.upFace)
                 .num(col[rf::kCentreDownFace], s.downFace)
                 .num(col[rf::kCentreUpCentre], s.upCentre[0])
                 .num(col[rf::kCentreDownCentre], s.downCentre[0])
                 .num(col[rf::kCentreIntradosDist], m.Radius[0] - s.downCentre[0])
                 .num(col[rf::kCentreExtradosDist], m.Radius[0] - s.upCentre[0])
                 .num(col[rf::kCentreExtradosRadius], s.extradosR[0])
                 .num(col[rf::kCentreIntradosRadius], s.intradosR[0])
                 .str();
    }
    o << text("");
    if (two) {
        o << tableHead(rf::kRightCentres, {}, rf::kRightCentreColumns);
        for (int k = 0; k < nb; ++k) {
            const SectionRow& s = r.sections[k];
            const auto& col = rf::kRightCentreColumns;
            o << Line()
                     .num(col[0], s.z)
                     .num(col[1], m.RadiusR[0] - s.downCentre[1])
                     .num(col[2], m.RadiusR[0] - s.upCentre[1])
                     .num(col[3], s.extradosR[1])
                     .num(col[4], s.intradosR[1])
                     .str();
        }
        o << text("");
    }

    // Geometric properties of the cantilevers.
    for (size_t i = 0; i < r.cantilevers.size(); ++i) {
        const CantileverResult& c = r.cantilevers[i];
        o << text("");
        Line t;
        t.from(rf::kCantileverGeometry.title.column, std::string(rf::kCantileverGeometry.title.text))
            .cell(rf::kGeometrySlot, std::to_string(c.slot));
        o << tableHead(rf::kCantileverGeometry,
                       {"  " + sideName(c.slot) + " cantilever at the general-axis angle " + F(c.angle, 0, 2) +
                            " degrees, foundation at " + F(c.baseElev, 0, 2) + " ft.",
                        "  Sections along the radial line from the arch centre at angle PHI; the upstream offset is",
                        "  the distance of the upstream face upstream of the axis circle, the thickness is radial."},
                       rf::kGeometryColumns, t.str());
        for (const CantileverGeometryRow& g : r.cantileverGeometry[i]) {
            const auto& col = rf::kGeometryColumns;
            o << Line()
                     .num(col[rf::kGeomElev], g.z)
                     .num(col[rf::kGeomOffset], g.upstreamOffset)
                     .num(col[rf::kGeomThickness], g.thickness)
                     .num(col[rf::kGeomRadius], g.radius)
                     .num(col[rf::kGeomPhi], g.phi)
                     .str();
        }
        o << text("");
    }
    for (int side = 0; side < 2; ++side) {
        o << tableHead(side == 0 ? rf::kLeftAbutmentGeometry : rf::kRightAbutmentGeometry, {},
                       rf::kAbutmentGeometryColumns);
        for (size_t i = 0; i < r.cantilevers.size(); ++i) {
            const CantileverResult& c = r.cantilevers[i];
            if (side == 0 ? c.slot <= kCrownSlot : c.slot >= kCrownSlot) continue;
            const CantileverGeometryRow& g = r.cantileverGeometry[i].front();
            const auto& col = rf::kAbutmentGeometryColumns;
            o << Line()
                     .num(col[rf::kFootElev], g.z)
                     .cell(col[rf::kFootSlot], std::to_string(c.slot))
                     .num(col[rf::kFootPhi], g.phi)
                     .num(col[rf::kFootA], c.angle)
                     .num(col[rf::kFootThickness], g.thickness)
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
        {
            Line h;
            o << headings(h, rf::kNodeColumns).str();
        }
        for (const NodeResult& p : c.points) {
            const auto& col = rf::kNodeColumns;
            o << Line()
                     .num(col[rf::kNodeElev], p.z)
                     .num(col[rf::kNodeWater], p.pressure)
                     .num(col[rf::kNodeArch], p.archLoad)
                     .num(col[rf::kNodeCant], p.cantLoad)
                     .num(col[rf::kNodeRadial], p.radial)
                     .num(col[rf::kNodeTangential], p.tangential)
                     .num(col[rf::kNodeVertical], p.vertical)
                     .num(col[rf::kNodeThickness], p.thickness)
                     .str();
        }
        {
            Line h;
            o << headings(h, rf::kNodeStressColumns).str();
        }
        for (const NodeResult& p : c.points)
            for (int face = 0; face < 2; ++face) {
                const FaceStress& s = face == 0 ? p.up : p.down;
                const auto& col = rf::kNodeStressColumns;
                Line l;
                if (face == 0) l.num(col[rf::kFaceElev], p.z);
                o << l.cell(col[rf::kFaceName], face == 0 ? "UP" : "DN")
                         .num(col[rf::kFaceHoop], s.hoop)
                         .num(col[rf::kFaceVertical], s.vertical)
                         .num(col[rf::kFaceShear], s.shear)
                         .num(col[rf::kFaceS1], s.s1)
                         .num(col[rf::kFaceS2], s.s2)
                         .num(col[rf::kFaceAngle], s.angle)
                         .str();
            }
    }
    o << text("");

    // Forces on the abutments.
    o << text(std::string(rf::kPageBreak));
    o << tableHead(rf::kForces, {rf::kForceNotes.begin(), rf::kForceNotes.end()}, rf::kForceColumns);
    auto angle5 = [](double a) { return std::abs(a) < 99.95 ? fitNumber(a, 5, 1) : fitNumber(a, 5, 0); };
    for (const AbutmentResult& a : r.abutments) {
        const auto& col = rf::kForceColumns;
        o << Line()
                 .num(col[rf::kForceElev], a.z)
                 .cell(col[rf::kForceSlot], std::to_string(a.slot))
                 .from(col[rf::kForceSide].first(), sideName(a.slot))
                 .num(col[rf::kForce1], a.force1)
                 .cell(col[rf::kForceAngle1], angle5(a.angle1))
                 .num(col[rf::kForce2], a.force2)
                 .cell(col[rf::kForceAngle2], angle5(a.angle2))
                 .num(col[rf::kForceT], a.tangential)
                 .num(col[rf::kForceV], a.vertical)
                 .num(col[rf::kForceR], a.radial)
                 .num(col[rf::kForceMomentTangent], a.momentTangent)
                 .num(col[rf::kForceMomentRadial], a.momentRadial)
                 .num(col[rf::kForceMomentVertical], a.twist)
                 .str();
    }
    o << text(std::string(rf::kPageBreak));

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
