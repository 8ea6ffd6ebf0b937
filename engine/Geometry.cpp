#include "engine/Geometry.h"

#include <cmath>
#include <numbers>

#include "model/Numbers.h"

namespace velta::engine {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

double cellNumber(const Tab3dim& tab, int col, int row, const std::string& what)
{
    const std::string& text = tab(kImperial, col, row);
    try {
        return parseNumber(text);
    } catch (const std::exception&) {
        throw EngineError(what + ": \"" + text + "\" is not a number");
    }
}

void requireRange(double v, double lo, double hi, const std::string& what)
{
    if (!(v >= lo && v <= hi) || !std::isfinite(v))
        throw EngineError(what + " " + formatGeneral(v) + " lies outside the range " + formatGeneral(lo) +
                          " to " + formatGeneral(hi));
}

} // namespace

DamGeometry::DamGeometry(const CaseModel& m) : face_(m.FaceTab)
{
    nbCenter = m.NbCenter;
    if (nbCenter != 1 && nbCenter != 2) throw EngineError("the number of centres must be 1 or 2");
    top = m.TopElev[kImperial];
    base = m.BaseElev[kImperial];
    if (!(top > base + 1.0)) throw EngineError("the crest must lie above the base of the dam");
    radius[kLeft] = m.Radius[kImperial];
    radius[kRight] = nbCenter == 2 ? m.RadiusR[kImperial] : m.Radius[kImperial];
    requireRange(radius[kLeft], 1, 1e5, "the axis radius (ft)");
    requireRange(radius[kRight], 1, 1e5, "the right axis radius (ft)");
    if (nbCenter == 1) {
        face_[kRightUpstreamLoC] = face_[kUpstreamLoC];
        face_[kRightDownstreamLoC] = face_[kDownstreamLoC];
    }

    // Materials that the geometry needs alongside it are checked by the analysis.
    if (m.NbArcs < 2 || m.NbArcs > kMaxArcs) throw EngineError("the dam needs between 2 and 11 arches");
    for (int r = 0; r < m.NbArcs; ++r) {
        ArchLevel a;
        const std::string name = "arch " + std::to_string(r + 1);
        a.z = cellNumber(m.ArcTab, kArcElevation, r, name + " elevation");
        const std::string code = m.ArcTab(kImperial, kArcCode, r);
        try {
            const double c = parseNumber(code);
            if (c != std::floor(c)) throw EngineError("");
            a.code = static_cast<int>(c);
        } catch (const std::exception&) {
            throw EngineError("the procedure code of the arch at " + formatGeneral(a.z) +
                              " ft is not an integer");
        }
        for (int s = 0; s < 2; ++s) {
            const int col = s == kLeft ? kArcPhiL : kArcPhiR;
            if (r == 0 || m.ArcTab(kImperial, col, r).empty()) continue;
            a.has[s] = true;
            a.phi[s] = cellNumber(m.ArcTab, col, r, name + (s == kLeft ? " left angle" : " right angle"));
            if (!(a.phi[s] > 0.01 && a.phi[s] < 89))
                throw EngineError("the " + std::string(s == kLeft ? "left" : "right") +
                                  " abutment angle of the arch at " + formatGeneral(a.z) +
                                  " ft must lie between 0 and 89 degrees");
        }
        if (m.ThUni && !m.TempTab(kImperial, 1, r).empty())
            a.tempUniform = cellNumber(m.TempTab, 1, r, name + " uniform temperature change");
        if (m.ThLin && !m.TempTab(kImperial, 2, r).empty())
            a.tempLinear = cellNumber(m.TempTab, 2, r, name + " linear temperature change");
        if (m.VariableModuli)
            for (int s = 0; s < 2; ++s)
                if (!m.DefTab(kImperial, 1 + s, r).empty())
                    a.rockE[s] = cellNumber(m.DefTab, 1 + s, r, name + " rock modulus");
        arches.push_back(a);
    }
    // Elevations as the arch table gives them, which the cantilever layout uses.
    std::vector<double> zTable;
    for (const ArchLevel& a : arches) zTable.push_back(a.z);
    if (std::abs(arches.front().z - base) > 0.01)
        throw EngineError("the lowest arch must lie at the base of the dam");
    if (std::abs(arches.back().z - top) > 0.01) throw EngineError("the highest arch must lie at the crest");
    arches.front().z = base;
    arches.back().z = top;
    if (arches.front().code != 1) throw EngineError("the lowest arch must have procedure code 1");
    for (size_t k = 1; k < arches.size(); ++k) {
        const ArchLevel& a = arches[k];
        if (a.z <= arches[k - 1].z + 0.5)
            throw EngineError("the arch elevations must increase upward by at least 0.5 ft (arch at " +
                              formatGeneral(a.z) + " ft)");
        if (a.code != 0 && a.code != 2 && a.code != 3 && a.code != 5)
            throw EngineError("procedure code " + std::to_string(a.code) + " of the arch at " +
                              formatGeneral(a.z) + " ft is not one the analysis knows (0, 2, 3 or 5)");
    }

    // Abutment angles at the general axis centre, and the foundation lines.
    for (int s = 0; s < 2; ++s) {
        foundation_[s].push_back({base, 0.0});
        for (size_t k = 1; k < arches.size(); ++k) {
            ArchLevel& a = arches[k];
            if (!a.has[s]) continue;
            const double zm = radius[s] - upCentre(Side(s), zTable[k]);
            // The abutment is where the cantilever slot of this arch stands:
            // the program's layout rounds its angle to two decimals, and the
            // foundation line passes through exactly that point (a shift of
            // at most 0.005 degree) so that the slot's cantilever has a node
            // on every arch from its foundation up, the crest included.
            try {
                a.A[s] = round2(PhitoA(a.phi[s], zm, radius[s]));
            } catch (const std::exception&) {
                throw EngineError("the abutment of the arch at " + formatGeneral(a.z) +
                                  " ft does not reach the axis circle");
            }
            if (a.A[s] < foundation_[s].back().second - 1e-9)
                throw EngineError(std::string("the ") + (s == kLeft ? "left" : "right") +
                                  " abutment angle decreases upward at " + formatGeneral(a.z) +
                                  " ft: overhanging abutments cannot be analysed");
            foundation_[s].push_back({a.z, a.A[s]});
        }
        if (foundation_[s].size() < 2)
            throw EngineError(std::string("no arch has a ") + (s == kLeft ? "left" : "right") +
                              " abutment angle");
        if (foundation_[s].back().first < top) foundation_[s].push_back({top, foundation_[s].back().second});
    }

    // Every arch must close: positive radii and thickness at the crown and
    // at both abutments.
    for (const ArchLevel& a : arches) {
        if (a.z == base) continue;
        for (double b : {-phiOfA(kLeft, -foundationA(kLeft, a.z), a.z), 0.0,
                         phiOfA(kRight, foundationA(kRight, a.z), a.z)})
            section(b, a.z);
    }
}

double DamGeometry::curve(int t, double z) const
{
    auto it = cache_.find(z);
    if (it == cache_.end()) {
        std::array<double, kFaceTabs> v;
        v.fill(NAN);
        it = cache_.emplace(z, v).first;
    }
    double& slot = it->second[t];
    if (!std::isnan(slot)) return slot;
    try {
        return slot = AbscisseAtElevation(face_[t], kImperial, z);
    } catch (const std::exception& e) {
        static const char* names[] = {"upstream face",
                                      "downstream face",
                                      "upstream line of centres",
                                      "downstream line of centres",
                                      "right upstream line of centres",
                                      "right downstream line of centres"};
        throw EngineError(std::string("the ") + names[t] + " cannot be evaluated at " + formatGeneral(z) +
                          " ft (" + e.what() + ")");
    }
}

double DamGeometry::upFace(double z) const
{
    return curve(kUpstreamFace, z);
}
double DamGeometry::downFace(double z) const
{
    return curve(kDownstreamFace, z);
}
double DamGeometry::upCentre(Side s, double z) const
{
    return curve(s == kLeft ? kUpstreamLoC : kRightUpstreamLoC, z);
}
double DamGeometry::downCentre(Side s, double z) const
{
    return curve(s == kLeft ? kDownstreamLoC : kRightDownstreamLoC, z);
}

double DamGeometry::phiOfA(Side s, double A, double z) const
{
    if (A == 0) return 0;
    try {
        return AToPhi(A, radius[s] - upCentre(s, z), radius[s]);
    } catch (const std::exception&) {
        throw EngineError("the angle " + formatGeneral(A) + " degrees has no point on the arch at " +
                          formatGeneral(z) + " ft");
    }
}

double DamGeometry::betaOfA(double a, double z) const
{
    return a < 0 ? -phiOfA(kLeft, -a, z) : phiOfA(kRight, a, z);
}

SectionPoint DamGeometry::section(double beta, double z) const
{
    const Side s = beta < 0 ? kLeft : kRight;
    const double cu = upCentre(s, z), cd = downCentre(s, z);
    const double re = cu - upFace(z), ri = cd - downFace(z);
    if (!(re > 0) || !(ri > 0))
        throw EngineError("the arch at " + formatGeneral(z) +
                          " ft has no positive radius: its faces and centres do not close");
    const double b = beta * kDeg;
    const double delta = cu - cd;
    const double under = ri * ri - delta * delta * std::sin(b) * std::sin(b);
    if (under < 0)
        throw EngineError("the intrados of the arch at " + formatGeneral(z) +
                          " ft does not reach its abutment");
    const double rhoI = delta * std::cos(b) + std::sqrt(under);
    SectionPoint p;
    p.ray = Vec3(std::sin(b), -std::cos(b), 0);
    const Vec3 c(0, cu, z);
    p.extrados = c + re * p.ray;
    p.intrados = c + rhoI * p.ray;
    p.thickness = re - rhoI;
    if (!(p.thickness > 0.05))
        throw EngineError("the arch at " + formatGeneral(z) + " ft has no thickness at " + formatF2(beta) +
                          " degrees: its faces cross");
    p.mid = 0.5 * (p.extrados + p.intrados);
    return p;
}

SectionPoint DamGeometry::sectionAtA(double a, double z) const
{
    return section(betaOfA(a, z), z);
}

double DamGeometry::foundationA(Side s, double z) const
{
    const auto& f = foundation_[s];
    double A = f.back().second;
    if (z <= f.front().first) {
        A = f.front().second;
    } else {
        for (size_t k = 1; k < f.size(); ++k) {
            if (z <= f[k].first) {
                const double t = (z - f[k - 1].first) / (f[k].first - f[k - 1].first);
                A = f[k - 1].second + t * (f[k].second - f[k - 1].second);
                break;
            }
        }
    }
    return s == kLeft ? -A : A;
}

} // namespace velta::engine
