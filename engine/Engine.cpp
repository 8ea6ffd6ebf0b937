#include "engine/Engine.h"

#include <Eigen/Sparse>
#include <algorithm>
#include <cmath>

#include "engine/Mesh.h"
#include "engine/Rock.h"
#include "engine/Shell.h"
#include "model/Numbers.h"

namespace velta::engine {

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;
constexpr double kWater = 62.4;  // lb/ft3
constexpr double kPsf = 144.0;   // lb/ft2 per psi
constexpr double kNoHoop = 1e-6; // stiffness left across ungrouted joints
using SpMat = Eigen::SparseMatrix<double>;

void requireRange(double v, double lo, double hi, const std::string& what)
{
    if (!(v >= lo && v <= hi))
        throw EngineError(what + " " + formatGeneral(v) + " lies outside the range " + formatGeneral(lo) +
                          " to " + formatGeneral(hi));
}

// Linear interpolation by elevation among the arch levels where `value`
// gives a number (NaN where it does not); constant beyond the ends.
template <class F> double byElevation(const std::vector<ArchLevel>& arches, double z, F value)
{
    double zl = 0, vl = NAN;
    for (const ArchLevel& a : arches) {
        const double v = value(a);
        if (std::isnan(v)) continue;
        if (a.z >= z) {
            if (std::isnan(vl)) return v;
            return vl + (v - vl) * (z - zl) / (a.z - zl);
        }
        zl = a.z;
        vl = v;
    }
    return vl;
}

struct Solved {
    Eigen::VectorXd u;
    std::vector<std::array<double, 6>> N; // Nh, Nv, Nhv, Mh, Mv, Mhv per node
    std::vector<double> weight;           // area weights of the averages
    std::vector<Vec3> fArch, fCant;
    Vec3 applied = Vec3::Zero(), reaction = Vec3::Zero();
    Vec3 appliedM = Vec3::Zero(), reactionM = Vec3::Zero();
    double residual = 0;
};

class Model {
public:
    Model(const CaseModel& m, const EngineOptions& opt, AnalysisResult& out);

private:
    const CaseModel& m_;
    DamGeometry g_;
    Mesh mesh_;
    double E_, nu_, alpha_, wc_, rwe_, twe_, zGrout_;
    std::vector<ShellElement> shells_;
    std::vector<double> tn_; // thickness normal to the surface per node
    struct Spring {
        int node;
        Eigen::Matrix<double, 6, 6> K;
    };
    std::vector<Spring> springs_;
    std::vector<double> footLength_;
    std::vector<double> nodeRockE_;

    Vec3 facePoint(int face, double a, double z) const
    {
        const SectionPoint p = g_.sectionAtA(a, z);
        return face == 0 ? p.extrados : face == 1 ? p.intrados : p.mid;
    }
    // Derivatives of a face with respect to a (per degree) and z.
    void faceTangents(int face, double a, double z, Vec3& Sa, Vec3& Sz) const;
    void buildShells(bool weightModel, bool noHoopAnywhere);
    void buildSprings(AnalysisResult& out);
    Eigen::VectorXd loads(bool water, bool weight, bool temperature);
    Solved solve(const Eigen::VectorXd& f);
};

void Model::faceTangents(int face, double a, double z, Vec3& Sa, Vec3& Sz) const
{
    const double ha = 1e-4;
    Sa = (facePoint(face, a + ha, z) - facePoint(face, a - ha, z)) / (2 * ha);
    const double z1 = std::min(z + 1e-3, g_.top), z0 = std::max(z - 1e-3, g_.base);
    Sz = (facePoint(face, a, z1) - facePoint(face, a, z0)) / (z1 - z0);
}

Model::Model(const CaseModel& m, const EngineOptions& opt, AnalysisResult& out) : m_(m), g_(m)
{
    E_ = m.Ec[kImperial];
    nu_ = m.Nuc[kImperial];
    requireRange(E_, 0.01, 100, "the concrete modulus (E6 psi)");
    requireRange(nu_, 0, 0.49, "the concrete's Poisson's ratio");
    requireRange(m.Wc[kImperial], 0, 500, "the unit weight of concrete (lb/ft3)");
    requireRange(m.Thec[kImperial], 0, 100, "the thermal expansion coefficient (E-06 per deg F)");
    requireRange(m.Nur[kImperial], 0, 0.49, "the rock's Poisson's ratio");
    if (!m.VariableModuli) requireRange(m.Er[kImperial], 0.001, 1e5, "the rock modulus (E6 psi)");
    E_ *= 1e6 * kPsf;
    alpha_ = m.Thec[kImperial] * 1e-6;
    wc_ = m.Wc[kImperial];
    rwe_ = m.Rwe[kImperial];
    twe_ = m.Twe[kImperial] > g_.base ? m.Twe[kImperial] : g_.base;
    const int nb = m.NbArcs;
    if (m.GroutIndex < 0 || m.GroutIndex >= nb) throw EngineError("no arch is chosen as the top of grout");
    zGrout_ = g_.arches[nb - 1 - m.GroutIndex].z;

    CantileverLayout layout;
    try {
        layout =
            computeCantileverLayout(m.ArcTab, nb, kImperial, m.FaceTab[kUpstreamLoC],
                                    m.NbCenter == 2 ? m.FaceTab[kRightUpstreamLoC] : m.FaceTab[kUpstreamLoC],
                                    g_.radius[kLeft], g_.radius[kRight]);
    } catch (const std::exception& e) {
        throw EngineError(std::string("the cantilevers cannot be placed: ") + e.what());
    }
    if (layout.first < 0 || layout.last >= kConsSlots) throw EngineError("too many cantilevers");
    out.layout = layout;
    out.arches = g_.arches;
    out.groutElev = zGrout_;

    const double h = opt.cellSize > 0 ? opt.cellSize : (g_.top - g_.base) / std::max(2, opt.heightDivisions);
    out.cellSize = h;
    mesh_ = buildMesh(g_, layout, h);
    out.nodes = int(mesh_.nodes.size());
    out.elements = int(mesh_.elements.size());
    out.equations = 6 * out.nodes;

    buildSprings(out);

    // The external loads on the adjusted structure, and the weight.
    const bool weightAdjusted = m.WeightDistribution;
    buildShells(false, false);
    Eigen::VectorXd f = loads(true, weightAdjusted && wc_ > 0, true);
    Solved main = solve(f);
    Solved weight;
    out.weightSeparate = !weightAdjusted && wc_ > 0;
    if (out.weightSeparate) {
        buildShells(true, true);
        weight = solve(loads(false, true, false));
        out.weightResidual = weight.residual;
        buildShells(false, false);
    }
    out.applied = main.applied + weight.applied;
    out.reaction = main.reaction + weight.reaction;
    out.appliedMoment = (main.appliedM + weight.appliedM).z();
    out.reactionMoment = (main.reactionM + weight.reactionM).z();
    out.residual = main.residual;

    // Areas of the upstream face that each node stands for.
    const int nn = out.nodes;
    std::vector<double> area(nn, 0.0);
    for (size_t e = 0; e < mesh_.elements.size(); ++e) {
        const auto a = shells_[e].nodeAreas();
        for (int i = 0; i < 4; ++i) area[mesh_.elements[e].n[i]] += a[i];
    }

    auto nodeResult = [&](int n) {
        const MeshNode& node = mesh_.nodes[n];
        NodeResult r;
        r.z = node.z;
        r.a = node.a;
        const double beta = g_.betaOfA(node.a, node.z);
        r.phi = beta;
        const Vec3 ray = node.sec.ray;
        const Vec3 tang(std::cos(beta * kDeg), std::sin(beta * kDeg), 0);
        const Vec3 u = main.u.segment<3>(6 * n);
        r.radial = u.dot(ray);
        r.tangential = u.dot(tang);
        r.vertical = u.z();
        r.thickness = node.sec.thickness;
        const double pu = kWater * std::max(0.0, rwe_ - node.z);
        const double pd = kWater * std::max(0.0, twe_ - node.z);
        r.pressure = (pu - pd) / 1000;
        Vec3 Sa, Sz, Ma, Mz;
        faceTangents(0, node.a, node.z, Sa, Sz);
        faceTangents(2, node.a, node.z, Ma, Mz);
        const double ratio = Sa.cross(Sz).norm() / std::max(1e-12, Ma.cross(Mz).norm());
        const double faceArea = area[n] * ratio;
        r.archLoad = main.fArch[n].dot(-ray) / faceArea / 1000;
        r.cantLoad = main.fCant[n].dot(-ray) / faceArea / 1000;
        if (node.foundation) {
            // The rock takes the node's load directly: share the water
            // pressure in the proportion of the two actions. Where they push
            // opposite ways their sum is small and the ratio meaningless, so
            // the share is kept between none and all of the pressure.
            const double total = r.archLoad + r.cantLoad;
            const double share =
                std::abs(total) > 1e-9 ? std::clamp(r.archLoad / total, 0.0, 1.0) : 0.0;
            r.archLoad = r.pressure * share;
            r.cantLoad = r.pressure - r.archLoad;
        }
        std::array<double, 6> R = main.N[n];
        if (out.weightSeparate)
            for (int k = 0; k < 6; ++k) R[k] += weight.N[n][k];
        r.Nh = R[0];
        r.Nv = R[1];
        r.Nhv = R[2];
        r.Mh = R[3];
        r.Mv = R[4];
        r.Mhv = R[5];
        // Face stresses: the shell's values on each face, then turned from
        // the mid-surface's slope to the face's own, where the face carries
        // its water pressure and no shear.
        const double t = tn_[n];
        const double z0 = std::max(g_.base, node.z - 0.5), z1 = std::min(g_.top, node.z + 0.5);
        const SectionPoint s0 = g_.section(beta, z0), s1 = g_.section(beta, z1);
        auto tilt = [&](const Vec3& p0, const Vec3& p1) { return std::atan2((p1 - p0).dot(ray), z1 - z0); };
        const double psiMid = tilt(s0.mid, s1.mid);
        for (int face = 0; face < 2; ++face) {
            const double sign = face == 0 ? 1 : -1;
            const double psiFace =
                face == 0 ? tilt(s0.extrados, s1.extrados) : tilt(s0.intrados, s1.intrados);
            const double p = face == 0 ? pu : pd;
            const double sh = R[0] / t + sign * 6 * R[3] / (t * t);
            const double sm = R[1] / t + sign * 6 * R[4] / (t * t);
            const double tau = R[2] / t + sign * 6 * R[5] / (t * t);
            const double d = psiFace - psiMid;
            const double c2 = std::cos(d) * std::cos(d);
            const double sf = (sm + p * std::sin(d) * std::sin(d)) / c2;
            const double tf = tau / std::cos(d);
            FaceStress& fs = face == 0 ? r.up : r.down;
            fs.hoop = sh / kPsf;
            fs.slope = sf / kPsf;
            // A shear that is round-off beside the normal stresses (the crown of
            // a symmetric dam) would flip the direction between +90 and -90.
            fs.shear = std::abs(tf) < 1e-9 * (std::abs(sh) + std::abs(sf)) ? 0.0 : tf / kPsf;
            fs.vertical =
                (sf * std::cos(psiFace) * std::cos(psiFace) - p * std::sin(psiFace) * std::sin(psiFace)) /
                kPsf;
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
        }
        return r;
    };

    for (int s = layout.first; s <= layout.last; ++s) {
        CantileverResult c;
        c.slot = s;
        c.angle = layout.angle[s];
        c.baseElev = layout.baseElev[s];
        const int col = mesh_.slotCol[s];
        for (int k = nb - 1; k >= 0; --k) {
            const double z = g_.arches[k].z;
            if (z < c.baseElev - 0.01) break;
            const int n = mesh_.node(col, mesh_.archRow[k]);
            if (n < 0)
                throw EngineError("the cantilever at " + formatF2(c.angle) + " degrees leaves the dam at " +
                                  formatGeneral(z) + " ft");
            c.points.push_back(nodeResult(n));
        }
        out.cantilevers.push_back(c);

        // Cross-sections of the cantilever, from its foundation up: the
        // arch levels and the midpoints between them.
        std::vector<double> zs;
        for (int k = 0; k < nb; ++k)
            if (g_.arches[k].z >= c.baseElev - 0.01) {
                if (!zs.empty()) zs.push_back(0.5 * (zs.back() + g_.arches[k].z));
                zs.push_back(g_.arches[k].z);
            }
        std::vector<CantileverGeometryRow> rows;
        const Side side = c.angle < 0 ? kLeft : kRight;
        for (double z : zs) {
            CantileverGeometryRow row;
            row.z = z;
            row.phi = g_.phiOfA(side, std::abs(c.angle), z);
            const SectionPoint p = g_.section(c.angle < 0 ? -row.phi : row.phi, z);
            row.thickness = p.thickness;
            const double R = g_.radius[side];
            const Vec3 axisCentre(0, R, z);
            row.radius = (p.mid - axisCentre).norm();
            row.upstreamOffset = (p.extrados - axisCentre).norm() - R;
            rows.push_back(row);
        }
        out.cantileverGeometry.push_back(rows);

        // Forces on the rock under the cantilever's foundation node.
        AbutmentResult ab;
        ab.slot = s;
        ab.z = c.baseElev;
        int kFoot = 0;
        for (int k = 0; k < nb; ++k)
            if (std::abs(g_.arches[k].z - c.baseElev) < 0.01) kFoot = k;
        const int n = mesh_.node(col, mesh_.archRow[kFoot]);
        Eigen::Matrix<double, 6, 1> F = Eigen::Matrix<double, 6, 1>::Zero();
        for (const Spring& sp : springs_)
            if (sp.node == n) {
                F += sp.K * main.u.segment<6>(6 * n);
                if (out.weightSeparate) F += sp.K * weight.u.segment<6>(6 * n);
            }
        const double L = std::max(1e-9, footLength_[n]);
        const MeshNode& node = mesh_.nodes[n];
        const double beta = g_.betaOfA(node.a, node.z);
        Vec3 tOut(std::cos(beta * kDeg), std::sin(beta * kDeg), 0);
        if (s > kCrownSlot) tOut = -tOut;
        const Vec3 down(0, 0, -1);
        const Vec3 radial = -node.sec.ray;
        const Vec3 force = F.head<3>() / L, moment = F.tail<3>() / L;
        ab.tangential = force.dot(tOut);
        ab.vertical = force.dot(down);
        ab.radial = force.dot(radial);
        ab.momentTangent = moment.dot(tOut);
        ab.momentRadial = moment.dot(radial);
        ab.twist = moment.z();
        ab.force1 = std::hypot(ab.tangential, ab.vertical);
        ab.angle1 = std::atan2(ab.vertical, ab.tangential) / kDeg;
        ab.force2 = std::hypot(ab.radial, ab.vertical);
        ab.angle2 = std::atan2(ab.vertical, ab.radial) / kDeg;
        ab.rockE = nodeRockE_[n] / (1e6 * kPsf);
        out.abutments.push_back(ab);
    }

    // Sections at the arch levels.
    for (const ArchLevel& a : g_.arches) {
        SectionRow row;
        row.z = a.z;
        row.upFace = g_.upFace(a.z);
        row.downFace = g_.downFace(a.z);
        for (int s = 0; s < 2; ++s) {
            row.upCentre[s] = g_.upCentre(Side(s), a.z);
            row.downCentre[s] = g_.downCentre(Side(s), a.z);
            row.extradosR[s] = row.upCentre[s] - row.upFace;
            row.intradosR[s] = row.downCentre[s] - row.downFace;
        }
        row.crownThickness = row.downFace - row.upFace;
        out.sections.push_back(row);
    }
}

void Model::buildShells(bool weightModel, bool noHoopAnywhere)
{
    const size_t ne = mesh_.elements.size();
    shells_.assign(ne, ShellElement{});
    tn_.assign(mesh_.nodes.size(), 0.0);
    std::vector<double> tw(mesh_.nodes.size(), 0.0);
    for (size_t e = 0; e < ne; ++e) {
        ShellElement& s = shells_[e];
        const MeshElement& me = mesh_.elements[e];
        s.triangle = me.triangle;
        s.E = E_;
        s.nu = nu_;
        double zc = 0;
        for (int i = 0; i < 4; ++i) {
            s.X[i] = mesh_.nodes[me.n[i]].sec.mid;
            zc += 0.25 * mesh_.nodes[me.n[i]].z;
        }
        s.setup();
        if (s.area <= 1e-9)
            throw EngineError("the mesh has a cell of no area near " + formatGeneral(zc) + " ft");
        s.hoop = (noHoopAnywhere || zc > zGrout_ + 1e-6) ? kNoHoop : 1.0;
        const Vec3 n = s.R.row(2);
        for (int i = 0; i < 4; ++i) {
            const MeshNode& node = mesh_.nodes[me.n[i]];
            s.thick[i] = node.sec.thickness * std::abs(n.dot(node.sec.ray));
            if (!weightModel) {
                const double tu =
                    byElevation(g_.arches, node.z, [](const ArchLevel& a) { return a.tempUniform; });
                const double tl =
                    byElevation(g_.arches, node.z, [](const ArchLevel& a) { return a.tempLinear; });
                s.eps0[i] = alpha_ * tu;
                s.kap0[i] = alpha_ * tl / s.thick[i];
            }
        }
        for (int i = 0; i < (s.triangle ? 3 : 4); ++i) {
            tn_[me.n[i]] += s.thick[i] * s.area;
            tw[me.n[i]] += s.area;
        }
    }
    for (size_t i = 0; i < tn_.size(); ++i)
        tn_[i] = tw[i] > 0 ? tn_[i] / tw[i] : mesh_.nodes[i].sec.thickness;
}

void Model::buildSprings(AnalysisResult& out)
{
    const int nn = int(mesh_.nodes.size());
    footLength_.assign(nn, 0.0);
    nodeRockE_.assign(nn, 0.0);
    // Length and mean width of the whole contact, for b/a.
    double length = 0, widthArea = 0;
    for (int s = 0; s < 2; ++s) {
        const auto& path = mesh_.foundationPath[s];
        for (size_t k = 0; k + 1 < path.size(); ++k) {
            const MeshNode &p = mesh_.nodes[path[k]], &q = mesh_.nodes[path[k + 1]];
            const double l = (q.sec.mid - p.sec.mid).norm();
            length += l;
            widthArea += l * 0.5 * (p.sec.thickness + q.sec.thickness);
        }
    }
    if (!(length > 0)) throw EngineError("the dam has no foundation contact");
    out.bOverA = length / (widthArea / length);
    const VogtCoefficients vk = vogtCoefficients(out.bOverA, m_.Nur[kImperial]);
    out.vogt[0] = vk.k1;
    out.vogt[1] = vk.k2;
    out.vogt[2] = vk.k3;
    out.vogt[3] = vk.k4;
    out.vogt[4] = vk.k5;

    springs_.clear();
    for (int s = 0; s < 2; ++s) {
        const auto& path = mesh_.foundationPath[s];
        const int np = int(path.size());
        for (int k = 0; k < np; ++k) {
            const int n = path[k];
            if (k > 0 && path[k - 1] == n) continue;
            const MeshNode& node = mesh_.nodes[n];
            const Vec3 prev = mesh_.nodes[path[std::max(0, k - 1)]].sec.mid;
            const Vec3 next = mesh_.nodes[path[std::min(np - 1, k + 1)]].sec.mid;
            const double L = 0.5 * ((node.sec.mid - prev).norm() + (next - node.sec.mid).norm());
            if (L <= 1e-9) continue;
            footLength_[n] += L;
            // Rock modulus: uniform, or by elevation along this side.
            double Er = m_.Er[kImperial];
            if (m_.VariableModuli) {
                Er = byElevation(g_.arches, node.z,
                                 [&](const ArchLevel& a) { return a.rockE[s] > 0 ? a.rockE[s] : NAN; });
                if (std::isnan(Er))
                    throw EngineError(std::string("no rock modulus is given on the ") +
                                      (s == kLeft ? "left" : "right") + " side");
                requireRange(Er, 0.001, 1e5, "the rock modulus (E6 psi) at " + formatGeneral(node.z) + " ft");
            }
            Er *= 1e6 * kPsf;
            nodeRockE_[n] = nodeRockE_[n] > 0 ? 0.5 * (nodeRockE_[n] + Er) : Er;
            // Frame: across the thickness, along the foundation, into the dam.
            Vec3 Sa, Sz;
            faceTangents(2, node.a, node.z, Sa, Sz);
            Vec3 normal = Sa.cross(Sz).normalized();
            Vec3 along = next - prev;
            if (along.norm() < 1e-9) along = Sz;
            along.normalize();
            Vec3 into = normal.cross(along).normalized();
            const Vec3 inward = s == kLeft ? Sa : Vec3(-Sa);
            if (into.dot(inward) < 0) into = -into;
            const Vec3 x = (normal - normal.dot(into) * into).normalized();
            const Vec3 y = into.cross(x);
            Eigen::Matrix3d Q;
            Q.row(0) = x;
            Q.row(1) = y;
            Q.row(2) = into;
            Eigen::Matrix<double, 6, 6> T = Eigen::Matrix<double, 6, 6>::Zero();
            T.block<3, 3>(0, 0) = Q;
            T.block<3, 3>(3, 3) = Q;
            const auto Kl = vogtSpring(vk, Er, node.sec.thickness, L);
            springs_.push_back({n, T.transpose() * Kl * T});
        }
    }
}

Eigen::VectorXd Model::loads(bool water, bool weight, bool temperature)
{
    const int nn = int(mesh_.nodes.size());
    Eigen::VectorXd f = Eigen::VectorXd::Zero(6 * nn);
    const double kG = 1.0 / std::sqrt(3.0);
    const double rn[4] = {-1, 1, 1, -1}, sn[4] = {-1, -1, 1, 1};
    for (size_t e = 0; e < mesh_.elements.size(); ++e) {
        const MeshElement& me = mesh_.elements[e];
        const ShellElement& sh = shells_[e];
        if (temperature) {
            Vec24 f0 = Vec24::Zero();
            sh.stiffness(f0);
            for (int i = 0; i < 4; ++i) f.segment<6>(6 * me.n[i]) += f0.segment<6>(6 * i);
        }
        if (!water && !weight) continue;
        for (double r : {-kG, kG})
            for (double s : {-kG, kG}) {
                double N[4], dr[4], ds[4];
                double a = 0, z = 0, ar = 0, as = 0, zr = 0, zs = 0, t = 0;
                for (int i = 0; i < 4; ++i) {
                    N[i] = 0.25 * (1 + r * rn[i]) * (1 + s * sn[i]);
                    dr[i] = 0.25 * rn[i] * (1 + s * sn[i]);
                    ds[i] = 0.25 * sn[i] * (1 + r * rn[i]);
                    const MeshNode& nd = mesh_.nodes[me.n[i]];
                    a += N[i] * nd.a;
                    z += N[i] * nd.z;
                    ar += dr[i] * nd.a;
                    as += ds[i] * nd.a;
                    zr += dr[i] * nd.z;
                    zs += ds[i] * nd.z;
                    t += N[i] * sh.thick[i];
                }
                const double det = std::abs(ar * zs - as * zr);
                if (det <= 0) continue;
                Vec3 F = Vec3::Zero(), Mo = Vec3::Zero();
                const Vec3 mid = facePoint(2, a, z);
                if (water) {
                    if (rwe_ > z) {
                        Vec3 Sa, Sz;
                        faceTangents(0, a, z, Sa, Sz);
                        const Vec3 Fu = -kWater * (rwe_ - z) * Sa.cross(Sz);
                        F += Fu;
                        Mo += (facePoint(0, a, z) - mid).cross(Fu);
                    }
                    if (twe_ > z) {
                        Vec3 Sa, Sz;
                        faceTangents(1, a, z, Sa, Sz);
                        const Vec3 Fd = kWater * (twe_ - z) * Sa.cross(Sz);
                        F += Fd;
                        Mo += (facePoint(1, a, z) - mid).cross(Fd);
                    }
                }
                if (weight) {
                    Vec3 Ma, Mz;
                    faceTangents(2, a, z, Ma, Mz);
                    F += Vec3(0, 0, -wc_ * t * Ma.cross(Mz).norm());
                }
                for (int i = 0; i < 4; ++i) {
                    f.segment<3>(6 * me.n[i]) += N[i] * det * F;
                    f.segment<3>(6 * me.n[i] + 3) += N[i] * det * Mo;
                }
            }
    }
    return f;
}

Solved Model::solve(const Eigen::VectorXd& f)
{
    const int nn = int(mesh_.nodes.size());
    const int ndof = 6 * nn;
    std::vector<Eigen::Triplet<double>> trip;
    trip.reserve(mesh_.elements.size() * 576 + springs_.size() * 36);
    for (size_t e = 0; e < mesh_.elements.size(); ++e) {
        Vec24 dummy = Vec24::Zero();
        const Mat24 K = shells_[e].stiffness(dummy);
        const auto& n = mesh_.elements[e].n;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                for (int a = 0; a < 6; ++a)
                    for (int b = 0; b < 6; ++b)
                        trip.emplace_back(6 * n[i] + a, 6 * n[j] + b, K(6 * i + a, 6 * j + b));
    }
    for (const Spring& s : springs_)
        for (int a = 0; a < 6; ++a)
            for (int b = 0; b < 6; ++b) trip.emplace_back(6 * s.node + a, 6 * s.node + b, s.K(a, b));
    SpMat K(ndof, ndof);
    K.setFromTriplets(trip.begin(), trip.end());
    for (const auto& t : trip)
        if (!std::isfinite(t.value())) throw EngineError("the geometry gives cells that cannot be computed");
    if (!f.allFinite()) throw EngineError("the loads cannot be computed on this geometry");
    Eigen::SimplicialLDLT<SpMat> ldlt(K);
    if (ldlt.info() != Eigen::Success)
        throw EngineError("the system of equations is singular: the dam is not held");
    Solved out;
    out.u = ldlt.solve(f);
    if (ldlt.info() != Eigen::Success || !out.u.allFinite())
        throw EngineError("the system of equations is singular: the dam is not held");
    const double fn = f.norm();
    out.residual = fn > 0 ? (K * out.u - f).norm() / fn : 0;
    if (out.residual > 1e-6) throw EngineError("the system of equations is too ill-conditioned to be solved");
    const double D = ldlt.vectorD().minCoeff();
    if (!(D > 0)) throw EngineError("the system of equations is singular: the dam is not held");

    // Loads and reactions.
    for (int n = 0; n < nn; ++n) {
        const Vec3 F = f.segment<3>(6 * n), Mo = f.segment<3>(6 * n + 3);
        out.applied += F;
        out.appliedM += mesh_.nodes[n].sec.mid.cross(F) + Mo;
    }
    for (const Spring& s : springs_) {
        const Eigen::Matrix<double, 6, 1> R = s.K * out.u.segment<6>(6 * s.node);
        out.reaction += R.head<3>();
        out.reactionM += mesh_.nodes[s.node].sec.mid.cross(Vec3(R.head<3>())) + R.tail<3>();
    }
    // Resultants averaged at the nodes, and the split of the internal forces.
    out.N.assign(nn, {0, 0, 0, 0, 0, 0});
    out.weight.assign(nn, 0.0);
    out.fArch.assign(nn, Vec3::Zero());
    out.fCant.assign(nn, Vec3::Zero());
    for (size_t e = 0; e < mesh_.elements.size(); ++e) {
        const auto& n = mesh_.elements[e].n;
        Vec24 ue;
        for (int i = 0; i < 4; ++i) ue.segment<6>(6 * i) = out.u.segment<6>(6 * n[i]);
        std::array<Resultants, 4> at;
        Vec24 fa, fc;
        shells_[e].recover(ue, at, fa, fc);
        const int count = shells_[e].triangle ? 3 : 4;
        for (int i = 0; i < 4; ++i) {
            out.fArch[n[i]] += fa.segment<3>(6 * i);
            out.fCant[n[i]] += fc.segment<3>(6 * i);
        }
        for (int i = 0; i < count; ++i) {
            const double w = shells_[e].area;
            const Resultants& q = at[i];
            const double v[6] = {q.N[0], q.N[1], q.N[2], q.M[0], q.M[1], q.M[2]};
            for (int k = 0; k < 6; ++k) out.N[n[i]][k] += w * v[k];
            out.weight[n[i]] += w;
        }
    }
    for (int n = 0; n < nn; ++n)
        if (out.weight[n] > 0)
            for (double& v : out.N[n]) v /= out.weight[n];
    return out;
}

} // namespace

AnalysisResult analyse(const CaseModel& m, const EngineOptions& options)
{
    AnalysisResult out;
    Model model(m, options, out);
    return out;
}

} // namespace velta::engine
