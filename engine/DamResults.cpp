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
    if (a.weightSeparate) {
        const auto w = averagedStresses(a.weightModel, a.damElements, s.weight.u, nullptr);
        for (size_t n = 0; n < sigma.size(); ++n) sigma[n] += w[n];
    }

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
        // The arch's share by the ring formula: the hoop force over the
        // extrados radius is the radial load the arch carries per unit of
        // upstream face; the cantilever carries the rest.
        const Side side = beta < 0 ? kLeft : kRight;
        const double re = g.upCentre(side, z) - g.upFace(z);
        r.archLoad = -r.Nh / re / 1000;
        r.cantLoad = r.pressure - r.archLoad;
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
        for (int k = nb - 1; k >= 0; --k) {
            const double z = g.arches[k].z;
            if (z < cr.baseElev - 0.01) break;
            cr.points.push_back(nodeResult(cr.angle, z));
        }
        // At the foundation the rock takes the load directly: the water
        // pressure is shared in the proportion of the two actions, each
        // share kept between none and all of it.
        if (!cr.points.empty()) {
            NodeResult& foot = cr.points.back();
            const double total = foot.archLoad + foot.cantLoad;
            const double share = std::abs(total) > 1e-9 ? std::clamp(foot.archLoad / total, 0.0, 1.0) : 0.0;
            foot.archLoad = foot.pressure * share;
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
