#include "engine/DamAssembly.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

#include "engine/Rock.h"
#include "engine/RockBlock.h"
#include "engine/solid/Fem.h"
#include "model/Numbers.h"

namespace velta::engine {

namespace {

using solid::Vec3;

const double kGauss3[3] = {-std::sqrt(0.6), 0.0, std::sqrt(0.6)};
const double kWeight3[3] = {5.0 / 9, 8.0 / 9, 5.0 / 9};

using contact::kAcross;
using contact::kAlong;

struct StripPoint {
    Vec3 X, dXdxi, dXdeta;
    double w; // weight across (eta)
    std::vector<std::pair<int, double>> N; // node, shape value
};

// Vogt's springs over one strip of the contact: the strip's translation,
// rocking and twist at each point along it (means and first moments of the
// nodal displacements across the thickness) held by the stiffness per foot.
solid::StiffnessBlock vogtBlock(const solid::Model& model, const FoundationFace& f, const VogtCoefficients& vk,
                                double E, double& length, double& widthArea)
{
    std::vector<int> nodes;
    for (const auto& row : f.nodes)
        for (int n : row)
            if (n >= 0 && std::find(nodes.begin(), nodes.end(), n) == nodes.end()) nodes.push_back(n);
    const int nn = int(nodes.size());
    auto local = [&](int n) { return int(std::find(nodes.begin(), nodes.end(), n) - nodes.begin()); };
    Eigen::MatrixXd K = Eigen::MatrixXd::Zero(3 * nn, 3 * nn);
    // Centroid of the elements, to tell the side of the dam.
    Vec3 inside = Vec3::Zero();
    int count = 0;
    for (int e : f.elements)
        for (int i = 0; i < solid::nodeCount(model.elements[e].type); ++i, ++count)
            inside += model.nodes[model.elements[e].nodes[i]];
    inside /= count;
    const int layers = int(f.nodes[0].size() - 1) / 2;
    length = widthArea = 0;
    for (int g = 0; g < 3; ++g) {
        const double xi = kGauss3[g];
        std::vector<StripPoint> pts;
        for (int l = 0; l < layers; ++l)
            for (int h = 0; h < 3; ++h) {
                double N[8], dx[8], dy[8];
                contact::quad8(xi, kGauss3[h], N, dx, dy);
                StripPoint p{Vec3::Zero(), Vec3::Zero(), Vec3::Zero(), kWeight3[h], {}};
                for (int i = 0; i < 8; ++i) {
                    const int n = f.nodes[kAlong[i]][2 * l + kAcross[i]];
                    const Vec3& x = model.nodes[n];
                    p.X += N[i] * x;
                    p.dXdxi += dx[i] * x;
                    p.dXdeta += dy[i] * x;
                    p.N.push_back({local(n), N[i]});
                }
                pts.push_back(p);
            }
        // Frame: 1 along the foundation, 2 normal to the rock into the dam,
        // 0 across the thickness.
        double a = 0;
        Vec3 centre = Vec3::Zero(), along = Vec3::Zero(), across = Vec3::Zero();
        for (const StripPoint& p : pts) {
            const double ds = p.w * p.dXdeta.norm();
            a += ds;
            centre += ds * p.X;
            along += ds * p.dXdxi;
            across += ds * p.dXdeta;
        }
        centre /= a;
        const double dl = along.norm() / a; // ft per unit xi at mid-thickness
        const Vec3 e1 = along.normalized();
        Vec3 e2 = e1.cross(across).normalized();
        if (e2.dot(inside - centre) < 0) e2 = -e2;
        const Vec3 e0 = e1.cross(e2);
        length += kWeight3[g] * dl;
        widthArea += kWeight3[g] * dl * a;
        double I = 0;
        for (const StripPoint& p : pts) {
            const double s = (p.X - centre).dot(e0);
            I += p.w * p.dXdeta.norm() * s * s;
        }
        // q = B u: translations (means), rotation about 0 (none), rocking
        // about 1 and twist about 2.
        Eigen::MatrixXd B = Eigen::MatrixXd::Zero(6, 3 * nn);
        for (const StripPoint& p : pts) {
            const double ds = p.w * p.dXdeta.norm();
            const double s = (p.X - centre).dot(e0);
            for (const auto& [n, Nv] : p.N)
                for (int d = 0; d < 3; ++d) {
                    B(0, 3 * n + d) += ds * Nv * e0(d) / a;
                    B(1, 3 * n + d) += ds * Nv * e1(d) / a;
                    B(2, 3 * n + d) += ds * Nv * e2(d) / a;
                    B(4, 3 * n + d) -= ds * Nv * s * e2(d) / I;
                    B(5, 3 * n + d) += ds * Nv * s * e1(d) / I;
                }
        }
        const Eigen::Matrix<double, 6, 6> k = vogtSpring(vk, E, a, 1.0);
        K += (kWeight3[g] * dl) * B.transpose() * k * B;
    }
    solid::StiffnessBlock b;
    for (int n : nodes)
        for (int d = 0; d < 3; ++d) b.dofs.push_back(3 * n + d);
    b.k = K;
    return b;
}

} // namespace

DamAssembly assembleDam(const DamCase& c, const DamGeometry& g, DamMesh mesh)
{
    DamAssembly out;
    out.rock = c.rock;
    solid::Model base = mesh.model;
    solid::Material grouted;
    grouted.E = c.E;
    grouted.nu = c.nu;
    grouted.alpha = c.alpha;
    grouted.unitWeight = c.unitWeight;
    solid::Material open = grouted;
    open.hoopFactor = kOpenJoint;
    base.materials = {grouted, open};

    // Rock.
    std::set<int> contact;
    for (const FoundationFace& f : mesh.foundation)
        for (const auto& row : f.nodes)
            for (int n : row)
                if (n >= 0) contact.insert(n);
    out.contactNodes.assign(contact.begin(), contact.end());
    if (contact.empty()) throw EngineError("the dam has no foundation contact");
    out.damElements = int(base.elements.size());
    if (c.rock == RockModel::Rigid) {
        for (int n : contact)
            for (int d = 0; d < 3; ++d) base.fixedDofs.push_back(3 * n + d);
    } else if (c.rock == RockModel::Block) {
        // The rock's own elastic constants, the modulus of each element by
        // the elevation of its contact face; no weight, no temperature.
        const double H = g.top - g.base;
        double radius = std::numeric_limits<double>::infinity();
        for (const ArchLevel& al : g.arches)
            for (int sd = 0; sd < 2; ++sd) radius = std::min(radius, g.upCentre(Side(sd), al.z) - g.upFace(al.z));
        const RockBlock block = meshRockBlock(mesh, (c.rockBlockDepth > 0 ? c.rockBlockDepth : kRockBlockDepth) * H,
                                              std::min(kRockBlockReach * H, 0.5 * radius), kRockBlockFirstLayer * H);
        out.rockDepth = block.depth;
        out.rockReach = block.reach;
        std::map<double, int> materialOf;
        base.nodes.insert(base.nodes.end(), block.nodes.begin(), block.nodes.end());
        for (size_t e = 0; e < block.elements.size(); ++e) {
            solid::Element el = block.elements[e];
            const double E = rockModulus(c, g, block.elementSide[e], block.elementZ[e]);
            auto [it, added] = materialOf.try_emplace(E, int(base.materials.size()));
            if (added) {
                solid::Material rock;
                rock.E = E;
                rock.nu = c.rockNu;
                base.materials.push_back(rock);
            }
            el.material = it->second;
            base.elements.push_back(el);
        }
        for (int n : block.farNodes)
            for (int d = 0; d < 3; ++d) base.fixedDofs.push_back(3 * n + d);
        out.rockPart = base;
        out.rockPart.elements.erase(out.rockPart.elements.begin(), out.rockPart.elements.begin() + out.damElements);
        out.rockPart.fixedDofs.clear();
    } else {
        // b/a from the whole contact, then the springs of each strip.
        double length = 0, widthArea = 0;
        const VogtCoefficients unit{1, 1, 1, 1, 1};
        for (const FoundationFace& f : mesh.foundation) {
            double l, w;
            vogtBlock(base, f, unit, 1, l, w);
            length += l;
            widthArea += w;
        }
        if (!(length > 0)) throw EngineError("the dam has no foundation contact");
        out.bOverA = length / (widthArea / length);
        const VogtCoefficients vk = vogtCoefficients(out.bOverA, c.rockNu);
        out.vogt[0] = vk.k1;
        out.vogt[1] = vk.k2;
        out.vogt[2] = vk.k3;
        out.vogt[3] = vk.k4;
        out.vogt[4] = vk.k5;
        for (const FoundationFace& f : mesh.foundation) {
            double zc = 0;
            int n = 0;
            for (int id : f.nodes[1])
                if (id >= 0) {
                    zc += mesh.param[id].z;
                    ++n;
                }
            double l, w;
            base.springs.push_back(vogtBlock(base, f, vk, rockModulus(c, g, f.side, zc / n), l, w));
        }
    }

    // Loads on the adjusted structure.
    out.model = base;
    solid::Model& m = out.model;
    const int ndof = m.dofCount();
    out.load = Eigen::VectorXd::Zero(ndof);
    bool thermal = false;
    for (int e = 0; e < out.damElements; ++e) {
        solid::Element& el = m.elements[e];
        const double zc = 0.5 * (mesh.rows[mesh.elementLayer[e]] + mesh.rows[mesh.elementLayer[e] + 1]);
        el.material = zc > c.grout + 1e-6 ? 1 : 0;
        // Temperatures act along the arches only: a free hoop strain,
        // uniform plus linear through the thickness.
        const Vec3& h = el.hoop;
        const int nc = solid::nodeCount(el.type);
        std::vector<solid::Strain> eps(nc, solid::Strain::Zero());
        bool any = false;
        for (int i = 0; i < nc; ++i) {
            const NodeParam& p = mesh.param[el.nodes[i]];
            const double T = tempUniformAt(g, p.z) + tempLinearAt(g, p.z) * (0.5 - p.t);
            if (T == 0) continue;
            any = true;
            const double e0 = c.alpha * T;
            eps[i] << e0 * h.x() * h.x(), e0 * h.y() * h.y(), 0, 2 * e0 * h.x() * h.y(), 0, 0;
        }
        if (any && c.alpha > 0) {
            el.freeStrain = eps;
            thermal = true;
        }
    }
    auto water = [&](const std::vector<DamFace>& faces, double level, Eigen::VectorXd& f) {
        for (const DamFace& face : faces) {
            std::vector<double> p;
            bool wet = false;
            for (int n : face.face.nodes) {
                p.push_back(kWater * std::max(0.0, level - mesh.param[n].z));
                wet = wet || p.back() > 0;
            }
            if (wet) solid::addFacePressure(m, face.face, p, f);
        }
    };
    water(mesh.upstream, c.reservoir, out.load);
    water(mesh.downstream, c.tailwater, out.load);
    if (thermal) {
        out.load += solid::freeStrainLoads(m);
    }
    if (c.unitWeight > 0) {
        // The dam's weight only: the rock carries none.
        Eigen::VectorXd w = Eigen::VectorXd::Zero(ndof);
        solid::Model dam = m;
        dam.elements.resize(out.damElements);
        solid::addBodyForce(dam, Vec3(0, 0, -c.unitWeight), w);
        if (c.weightAdjusted) {
            out.load += w;
        } else {
            out.weightSeparate = true;
            out.weightModel = base;
            for (int e = 0; e < out.damElements; ++e) out.weightModel.elements[e].material = 1;
            out.weightLoad = w;
        }
    }
    out.mesh = std::move(mesh);
    return out;
}

DamAssembly buildSolidModel(const CaseModel& m, int level, RockModel rock)
{
    const DamGeometry g(m);
    DamCase c = readCase(m, g);
    c.rock = rock;
    return assembleDam(c, g, meshDam(g, c, meshLevel(level)));
}

} // namespace velta::engine
