#include "engine/DamResults.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <map>

#include "engine/solid/Fem.h"
#include "model/Numbers.h"

namespace velta::engine {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
using solid::Vec3;

Eigen::Matrix3d tensor(const solid::Stress& s)
{
    Eigen::Matrix3d t;
    t << s(0), s(3), s(5), s(3), s(1), s(4), s(5), s(4), s(2);
    return t;
}

// Nodal stresses averaged over the elements at each node, and the
// estimate of their error from the jumps between elements.
// Only the first `elements` (the dam's) count: the stresses of a rock
// block's elements are not mixed into the dam's at the contact.
std::vector<solid::Stress> averagedStresses(const solid::Model& m, size_t elements, const Eigen::VectorXd& u,
                                            double* error)
{
    const size_t nn = m.nodes.size();
    std::vector<solid::Stress> avg(nn, solid::Stress::Zero());
    std::vector<int> count(nn, 0);
    std::vector<std::vector<solid::Stress>> per(elements);
    for (size_t e = 0; e < elements; ++e) {
        per[e] = solid::nodalStresses(m, int(e), u);
        const solid::Element& el = m.elements[e];
        for (int i = 0; i < solid::nodeCount(el.type); ++i) {
            avg[el.nodes[i]] += per[e][i];
            ++count[el.nodes[i]];
        }
    }
    for (size_t n = 0; n < nn; ++n)
        if (count[n]) avg[n] /= count[n];
    if (error) {
        double jump = 0, norm = 0;
        for (size_t e = 0; e < elements; ++e) {
            const solid::Element& el = m.elements[e];
            for (int i = 0; i < solid::nodeCount(el.type); ++i) {
                jump += (per[e][i] - avg[el.nodes[i]]).squaredNorm();
                norm += avg[el.nodes[i]].squaredNorm();
            }
        }
        *error = norm > 0 ? std::sqrt(jump / norm) : 0;
    }
    return avg;
}

} // namespace

FaceStress faceStress(const solid::Stress& sigma, const Vec3& h, const Vec3& v)
{
    const Eigen::Matrix3d S = tensor(sigma) / kPsf;
    FaceStress fs;
    fs.hoop = h.dot(S * h);
    fs.vertical = S(2, 2);
    fs.slope = v.dot(S * v);
    const double tf = h.dot(S * v);
    // A shear that is round-off beside the normal stresses (the crown of a
    // symmetric dam) would flip the direction between +90 and -90.
    fs.shear = std::abs(tf) < 1e-9 * (std::abs(fs.hoop) + std::abs(fs.slope)) ? 0.0 : tf;
    const double c = 0.5 * (fs.hoop + fs.slope);
    const double rr = std::hypot(0.5 * (fs.hoop - fs.slope), fs.shear);
    fs.s1 = c - rr;
    fs.s2 = c + rr;
    // Direction of s1: components along the arch (h) and the face slope (v).
    double vh = fs.shear, vv = fs.s1 - fs.hoop;
    if (std::abs(fs.s1 - fs.slope) + std::abs(fs.shear) > std::abs(vh) + std::abs(vv)) {
        vh = fs.s1 - fs.slope;
        vv = fs.shear;
    }
    double ang = (std::abs(vh) + std::abs(vv) < 1e-12) ? 0.0 : std::atan2(vh, vv) / kDeg;
    while (ang > 90) ang -= 180;
    while (ang <= -90) ang += 180;
    fs.angle = ang;
    return fs;
}

AnalysisResult presentResults(const DamGeometry& g, const DamCase& c, const CantileverLayout& layout,
                              const DamAssembly& a, const DamSolution& s)
{
    AnalysisResult out;
    const DamMesh& mesh = a.mesh;
    const solid::Model& model = a.model;
    const int nT = mesh.thicknessDivisions;
    const int nb = int(g.arches.size());
    out.layout = layout;
    out.arches = g.arches;
    out.groutElev = c.grout;
    out.nodes = int(model.nodes.size());
    out.elements = int(model.elements.size());
    out.equations = s.equations;
    out.level = mesh.level.level;
    out.wedges = mesh.wedges;
    out.thicknessDivisions = nT;
    out.rock = a.rock;
    out.bOverA = a.bOverA;
    out.rockDepth = a.rockDepth;
    out.rockReach = a.rockReach;
    for (int k = 0; k < 5; ++k) out.vogt[k] = a.vogt[k];
    out.weightSeparate = a.weightSeparate;
    out.residual = s.main.residual;
    out.weightResidual = s.weight.residual;

    // Stresses: the adjusted structure's and, when separate, the weight's
    // on the independent cantilevers.
    std::vector<solid::Stress> sigma = averagedStresses(model, a.damElements, s.main.u, &out.stressError);
    std::vector<solid::Stress> adjustedOnly;
    if (a.weightSeparate) {
        adjustedOnly = sigma;
        const auto w = averagedStresses(a.weightModel, a.damElements, s.weight.u, nullptr);
        for (size_t n = 0; n < sigma.size(); ++n) sigma[n] += w[n];
    }
    // The load split is of the adjusted structure's loads: the weight on
    // independent cantilevers is not among them.
    const std::vector<solid::Stress>& adjusted = a.weightSeparate ? adjustedOnly : sigma;

    // Columns of element corners at each layer row (signed angles,
    // increasing): the arch cuts beside a grid point are taken there.
    std::map<long long, std::vector<double>> cornerColumns;
    for (const auto& [key, id] : mesh.index)
        if (std::get<2>(key) == 1) cornerColumns[std::get<0>(key)].push_back(mesh.param[id].a);
    for (auto& [z, v] : cornerColumns) std::sort(v.begin(), v.end());

    // Through the thickness on the ray at signed angle aCol and elevation
    // z (a layer row), with r the distance from the extrados centre: the
    // cantilever's radial shear on the horizontal cut per unit width of
    // upstream face, (1/Re) integral of tau_rz r dr, and the arch cut's hoop
    // force and radial shear, integrals of sigma_hh and tau_hr. Simpson on
    // each division. False where the column has no node.
    struct ThroughCut {
        double Q = 0, N = 0, V = 0, beta = 0, re = 0;
    };
    auto throughCut = [&](double aCol, double z, ThroughCut& t) {
        t = ThroughCut();
        t.beta = g.betaOfA(aCol, z);
        const SectionPoint sec = g.section(t.beta, z);
        const Vec3 h(std::cos(t.beta * kDeg), std::sin(t.beta * kDeg), 0);
        t.re = g.upCentre(t.beta < 0 ? kLeft : kRight, z) - g.upFace(z);
        const double dt = sec.thickness / nT;
        for (int k = 0; k <= 2 * nT; ++k) {
            const int id = mesh.nodeAt(aCol, z, k);
            if (id < 0) return false;
            const double w = dt / 6 * ((k == 0 || k == 2 * nT) ? 1 : (k % 2 ? 4 : 2));
            const double r = t.re - sec.thickness * double(k) / (2 * nT);
            const Eigen::Matrix3d S = tensor(adjusted[id]);
            t.Q += w * sec.ray.dot(S.col(2)) * r;
            t.N += w * h.dot(S * h);
            t.V += w * h.dot(S * sec.ray);
        }
        t.Q /= t.re;
        return true;
    };
    // Derivative at x of the parabola through three points.
    auto slope3 = [](const double* zs, const double* qs, double x) {
        double d = 0;
        for (int j = 0; j < 3; ++j) {
            double term = 0;
            for (int m = 0; m < 3; ++m) {
                if (m == j) continue;
                double prod = 1;
                for (int l = 0; l < 3; ++l)
                    if (l != j && l != m) prod *= x - zs[l];
                term += prod;
            }
            double den = 1;
            for (int l = 0; l < 3; ++l)
                if (l != j) den *= zs[j] - zs[l];
            d += qs[j] * term / den;
        }
        return d;
    };
    // The loads carried at a grid point, from the radial equilibrium of a
    // piece of the dam between two horizontal and two radial cuts, per unit
    // of upstream face: the water pressure equals the cantilever's load
    // dQ/dz plus the arch's, which is N / Re (the ring formula) plus
    // (1 / Re) dV/dtheta (its radial shear changing along the arch). The
    // cantilever's load is taken from its shear, the arch's is the rest;
    // the two parts of the arch's are kept as a check of the split.
    // The cantilever's shear Q on every layer row of its column, from its
    // foundation up (rows where the column has no node left out).
    struct ShearProfile {
        std::vector<double> z, q;
        // Index of the row at elevation zr, or -1.
        int row(double zr) const
        {
            for (size_t i = 0; i < z.size(); ++i)
                if (std::abs(z[i] - zr) <= 1e-6) return int(i);
            return -1;
        }
    };
    auto shearProfile = [&](double aCol, double baseElev) {
        ShearProfile prof;
        for (double z : mesh.rows) {
            if (z < baseElev - 0.01) continue;
            ThroughCut t;
            if (throughCut(aCol, z, t)) {
                prof.z.push_back(z);
                prof.q.push_back(t.Q);
            }
        }
        return prof;
    };
    auto loadSplit = [&](NodeResult& r, const ShearProfile& prof) {
        double cant = 0;
        const int n = int(prof.z.size());
        const int i = prof.row(r.z);
        if (i >= 0 && n >= 3) {
            const int first = std::clamp(i - 1, 0, n - 3);
            cant = slope3(&prof.z[first], &prof.q[first], r.z);
        } else if (i >= 0 && n == 2) {
            cant = (prof.q[1] - prof.q[0]) / (prof.z[1] - prof.z[0]);
        }
        r.cantLoad = cant / 1000;
        r.archLoad = r.pressure - r.cantLoad;
        ThroughCut here;
        if (!throughCut(r.a, r.z, here)) return;
        r.archRing = -here.N / here.re / 1000;
        // The arch's shear gradient from the corner columns on either side
        // (one side at an abutment).
        const auto col = cornerColumns.find(std::llround(r.z * 1e5));
        if (col == cornerColumns.end()) return;
        const std::vector<double>& v = col->second;
        const auto it = std::lower_bound(v.begin(), v.end(), r.a - 1e-9);
        ThroughCut lo, hi;
        const bool hasLo = it != v.begin() && throughCut(*(it - 1), r.z, lo);
        const bool hasHi = it != v.end() && it + 1 != v.end() && throughCut(*(it + 1), r.z, hi);
        const ThroughCut& p0 = hasLo ? lo : here;
        const ThroughCut& p1 = hasHi ? hi : here;
        if ((hasLo || hasHi) && p1.beta != p0.beta)
            r.archShear = (p1.V - p0.V) / ((p1.beta - p0.beta) * kDeg) / here.re / 1000;
    };

    // Equilibrium.
    auto addBalance = [&](const LoadSolution& ls) {
        if (ls.u.size() == 0) return;
        for (size_t n = 0; n < model.nodes.size(); ++n) {
            const Vec3 F = ls.f.segment<3>(3 * n), R = ls.rock.segment<3>(3 * n);
            out.applied += F;
            out.reaction += R;
            out.appliedMoment += model.nodes[n].cross(F).z();
            out.reactionMoment += model.nodes[n].cross(R).z();
        }
    };
    addBalance(s.main);
    addBalance(s.weight);

    auto nodeResult = [&](double aSlot, double z) {
        NodeResult r;
        r.z = z;
        r.a = aSlot;
        const double beta = g.betaOfA(aSlot, z);
        r.phi = beta;
        const SectionPoint sec = g.section(beta, z);
        const Vec3 ray = sec.ray, h(std::cos(beta * kDeg), std::sin(beta * kDeg), 0);
        std::vector<int> ids(2 * nT + 1);
        for (int k = 0; k <= 2 * nT; ++k) {
            ids[k] = mesh.nodeAt(aSlot, z, k);
            if (ids[k] < 0)
                throw EngineError("the cantilever at " + formatF2(aSlot) + " degrees has no node at " +
                                  formatGeneral(z) + " ft");
        }
        const Vec3 u = s.main.u.segment<3>(3 * ids[nT]);
        r.radial = u.dot(ray);
        r.tangential = u.dot(h);
        r.vertical = u.z();
        r.thickness = sec.thickness;
        const double pu = kWater * std::max(0.0, c.reservoir - z);
        const double pd = kWater * std::max(0.0, c.tailwater - z);
        r.pressure = (pu - pd) / 1000;
        // Resultants through the thickness (Simpson on each division), lever
        // arms from mid-thickness, positive toward upstream.
        const double dt = sec.thickness / nT;
        for (int k = 0; k <= 2 * nT; ++k) {
            const double w = dt / 6 * ((k == 0 || k == 2 * nT) ? 1 : (k % 2 ? 4 : 2));
            const double lever = sec.thickness * (0.5 - double(k) / (2 * nT));
            const Eigen::Matrix3d S = tensor(sigma[ids[k]]);
            const double shh = h.dot(S * h), szz = S(2, 2), shz = h.dot(S.col(2));
            r.Nh += w * shh;
            r.Mh += w * shh * lever;
            r.Nv += w * szz;
            r.Mv += w * szz * lever;
            r.Nhv += w * shz;
            r.Mhv += w * shz * lever;
        }
        // Face stresses: the faces' directions in the vertical section.
        const double z0 = std::max(g.base, z - 0.5), z1 = std::min(g.top, z + 0.5);
        const SectionPoint s0 = g.section(beta, z0), s1 = g.section(beta, z1);
        const Vec3 vUp = (s1.extrados - s0.extrados).normalized();
        const Vec3 vDown = (s1.intrados - s0.intrados).normalized();
        r.up = faceStress(sigma[ids[0]], h, vUp);
        r.down = faceStress(sigma[ids[2 * nT]], h, vDown);
        return r;
    };

    // Length of a contact strip along its mid-thickness line. The strip's
    // middle row has nodes only at the element corners through the
    // thickness, so with an odd number of divisions the mid-thickness line
    // is the mean of the two corner lines beside it.
    auto lineLength = [&](const FoundationFace& f, int j) {
        const Vec3 p0 = model.nodes[f.nodes[0][j]], p1 = model.nodes[f.nodes[1][j]],
                   p2 = model.nodes[f.nodes[2][j]];
        double L = 0;
        const double gp[3] = {-std::sqrt(0.6), 0, std::sqrt(0.6)}, gw[3] = {5.0 / 9, 8.0 / 9, 5.0 / 9};
        for (int i = 0; i < 3; ++i) {
            const double x = gp[i];
            L += gw[i] * ((x - 0.5) * p0 - 2 * x * p1 + (x + 0.5) * p2).norm();
        }
        return L;
    };
    auto stripLength = [&](const FoundationFace& f) {
        return nT % 2 == 0 ? lineLength(f, nT) : 0.5 * (lineLength(f, nT - 1) + lineLength(f, nT + 1));
    };

    for (int slot = layout.first; slot <= layout.last; ++slot) {
        CantileverResult cr;
        cr.slot = slot;
        cr.angle = layout.angle[slot];
        cr.baseElev = layout.baseElev[slot];
        const ShearProfile profile = shearProfile(cr.angle, cr.baseElev);
        for (int k = nb - 1; k >= 0; --k) {
            const double z = g.arches[k].z;
            if (z < cr.baseElev - 0.01) break;
            cr.points.push_back(nodeResult(cr.angle, z));
            loadSplit(cr.points.back(), profile);
        }
        // At the foundation the rock takes the load directly, and the
        // cantilever's shear at the corner with the rock is no measure of
        // its load there: the pressure is shared as the lowest interval
        // between arches shares it on average (the change of the
        // cantilever's shear over the interval against the mean pressure),
        // each share kept between none and all of it.
        if (!cr.points.empty()) {
            NodeResult& foot = cr.points.back();
            double archShare = 0;
            if (cr.points.size() >= 2) {
                const NodeResult& above = cr.points[cr.points.size() - 2];
                // The interval starts at the first layer a quarter of the
                // way up, the same on every level of refinement: the nodes
                // on the foundation sit on the corners with the rock.
                const auto row = std::lower_bound(mesh.rows.begin(), mesh.rows.end(),
                                                  foot.z + 0.25 * (above.z - foot.z) - 1e-6);
                const double z0 = row != mesh.rows.end() && *row < above.z - 1e-6 ? *row : foot.z;
                const double meanP = kWater / 1000 *
                                     (std::max(0.0, c.reservoir - 0.5 * (z0 + above.z)) -
                                      std::max(0.0, c.tailwater - 0.5 * (z0 + above.z)));
                const int i0 = profile.row(z0), i1 = profile.row(above.z);
                if (meanP > 1e-9 && i0 >= 0 && i1 >= 0) {
                    const double meanCant = (profile.q[i1] - profile.q[i0]) / (above.z - z0) / 1000;
                    archShare = std::clamp(1 - meanCant / meanP, 0.0, 1.0);
                }
            }
            foot.archLoad = foot.pressure * archShare;
            foot.cantLoad = foot.pressure - foot.archLoad;
        }
        out.cantilevers.push_back(cr);

        // Cross-sections of the cantilever, from its foundation up.
        std::vector<double> zs;
        for (int k = 0; k < nb; ++k)
            if (g.arches[k].z >= cr.baseElev - 0.01) {
                if (!zs.empty()) zs.push_back(0.5 * (zs.back() + g.arches[k].z));
                zs.push_back(g.arches[k].z);
            }
        std::vector<CantileverGeometryRow> rows;
        const Side side = cr.angle < 0 ? kLeft : kRight;
        for (double z : zs) {
            CantileverGeometryRow row;
            row.z = z;
            row.phi = g.phiOfA(side, std::abs(cr.angle), z);
            const SectionPoint p = g.section(cr.angle < 0 ? -row.phi : row.phi, z);
            row.thickness = p.thickness;
            const double R = g.radius[side];
            const Vec3 axisCentre(0, R, z);
            row.radius = (p.mid - axisCentre).norm();
            row.upstreamOffset = (p.extrados - axisCentre).norm() - R;
            rows.push_back(row);
        }
        out.cantileverGeometry.push_back(rows);

        // Forces on the rock per foot of foundation at the slot's foot: the
        // reactions of the contact strips on either side of it, the far
        // rows at half weight, over the strips' length.
        AbutmentResult ab;
        ab.slot = slot;
        ab.z = cr.baseElev;
        const int station = mesh.nodeAt(cr.angle, cr.baseElev, nT);
        std::map<int, double> weight;
        double L = 0;
        const bool crownFoot = slot == kCrownSlot;
        for (const FoundationFace& f : mesh.foundation) {
            if (!crownFoot && f.side != side) continue;
            int near = -1;
            if (f.nodes[0][nT] == station) near = 0;
            if (f.nodes[2][nT] == station) near = 2;
            if (near < 0) continue;
            L += stripLength(f);
            for (int r = 0; r < 3; ++r)
                for (int n : f.nodes[r]) {
                    if (n < 0) continue;
                    const double w = r == 2 - near ? 0.5 : 1.0;
                    auto it = weight.find(n);
                    if (it == weight.end() || it->second < w) weight[n] = w;
                }
        }
        Vec3 F = Vec3::Zero(), M = Vec3::Zero();
        const Vec3 centre = station >= 0 ? model.nodes[station] : Vec3::Zero();
        for (const auto& [n, w] : weight) {
            Vec3 R = s.main.rock.segment<3>(3 * n);
            if (a.weightSeparate) R += s.weight.rock.segment<3>(3 * n);
            F += w * R;
            M += w * (model.nodes[n] - centre).cross(R);
        }
        if (L > 0) {
            F /= L;
            M /= L;
        }
        const double beta = g.betaOfA(cr.angle, cr.baseElev);
        Vec3 tOut(std::cos(beta * kDeg), std::sin(beta * kDeg), 0);
        if (slot > kCrownSlot) tOut = -tOut;
        const Vec3 down(0, 0, -1);
        const Vec3 radial = -g.section(beta, cr.baseElev).ray;
        ab.tangential = F.dot(tOut);
        ab.vertical = F.dot(down);
        ab.radial = F.dot(radial);
        ab.momentTangent = M.dot(tOut);
        ab.momentRadial = M.dot(radial);
        ab.twist = M.z();
        ab.force1 = std::hypot(ab.tangential, ab.vertical);
        ab.angle1 = std::atan2(ab.vertical, ab.tangential) / kDeg;
        ab.force2 = std::hypot(ab.radial, ab.vertical);
        ab.angle2 = std::atan2(ab.vertical, ab.radial) / kDeg;
        ab.rockE = rockModulus(c, g, side, cr.baseElev) / (1e6 * kPsf);
        out.abutments.push_back(ab);
    }

    // Sections at the arch levels.
    for (const ArchLevel& al : g.arches) {
        SectionRow row;
        row.z = al.z;
        row.upFace = g.upFace(al.z);
        row.downFace = g.downFace(al.z);
        for (int sd = 0; sd < 2; ++sd) {
            row.upCentre[sd] = g.upCentre(Side(sd), al.z);
            row.downCentre[sd] = g.downCentre(Side(sd), al.z);
            row.extradosR[sd] = row.upCentre[sd] - row.upFace;
            row.intradosR[sd] = row.downCentre[sd] - row.downFace;
        }
        row.crownThickness = row.downFace - row.upFace;
        out.sections.push_back(row);
    }
    return out;
}

} // namespace velta::engine
