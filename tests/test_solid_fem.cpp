// The quadratic solid elements: rigid-body modes, patch tests on distorted
// meshes, consistent loads, stresses, supports and reactions.
#include <gtest/gtest.h>
#include <numbers>

#include <cmath>

#include "test_solid_support.h"

using namespace velta::engine::solid;
using velta::test::blockMesh;
using velta::test::concrete;

namespace {

// A block with curved edges and skewed cells: every mid-edge node off the
// straight line between its corners.
Vec3 distorted(double a, double b, double c)
{
    return {10 * a + 1.5 * std::sin(1.3 * b + 0.4 * c) + 0.8 * a * b,
            8 * b + 1.2 * std::cos(0.9 * a) - 0.5 * c * a,
            6 * c + 0.9 * std::sin(a + b) + 0.3 * a * a};
}

// The same block with straight edges and skewed cells.
Vec3 skewed(double a, double b, double c) { return {10 * a + 2 * b + c, 8 * b + a - 0.5 * c, 6 * c + 0.3 * a + 0.2 * b}; }

// The wedges' 9-point rule (CalculiX's) integrates the stiffness of a wedge
// with straight edges well enough for constant strains, not that of a
// curved one: its patch tests use the skewed block.
struct Kind {
    ElementType type;
    WedgeRule rule;
    std::string name;
    Vec3 (*map)(double, double, double);
};
const Kind kKinds[] = {{ElementType::Hex20, WedgeRule::Points21, "Hex20", distorted},
                       {ElementType::Wedge15, WedgeRule::Points21, "Wedge15 (21 points)", distorted},
                       {ElementType::Wedge15, WedgeRule::Points9, "Wedge15 (9 points)", skewed}};

// A linear displacement field and its constant strain.
const Eigen::Matrix3d kGrad = (Eigen::Matrix3d() << 1.0, 0.4, -0.3, -0.2, 0.7, 0.5, 0.6, 0.1, -0.9).finished() * 1e-4;
const Vec3 kShift(0.01, -0.02, 0.005);

Vec3 linearField(const Vec3& x) { return kGrad * x + kShift; }

Strain strainOf(const Eigen::Matrix3d& g)
{
    Strain e;
    e << g(0, 0), g(1, 1), g(2, 2), g(0, 1) + g(1, 0), g(1, 2) + g(2, 1), g(2, 0) + g(0, 2);
    return e;
}

} // namespace

TEST(SolidFem, RigidBodyMovesOfOneDistortedElementGiveNoForce)
{
    for (const auto& [t, rule, name, map] : kKinds) {
        SCOPED_TRACE(name);
        const Model m = blockMesh(1, 1, 1, map, t, concrete(), rule).model;
        const Eigen::SparseMatrix<double> k = assemble(m);
        const double scale = k.diagonal().cwiseAbs().maxCoeff();
        const Eigen::Matrix3d rotations[3] = {
            (Eigen::Matrix3d() << 0, -1, 0, 1, 0, 0, 0, 0, 0).finished(),
            (Eigen::Matrix3d() << 0, 0, 0, 0, 0, -1, 0, 1, 0).finished(),
            (Eigen::Matrix3d() << 0, 0, 1, 0, 0, 0, -1, 0, 0).finished()};
        for (int mode = 0; mode < 6; ++mode) {
            Eigen::VectorXd u(m.dofCount());
            for (size_t n = 0; n < m.nodes.size(); ++n)
                u.segment<3>(3 * n) = mode < 3 ? Vec3(Vec3::Unit(mode)) : Vec3(rotations[mode - 3] * m.nodes[n]);
            const double unit = mode < 3 ? 1.0 : 10.0; // rotations move the nodes by about 10
            EXPECT_LT((k * u).cwiseAbs().maxCoeff(), 1e-10 * scale * unit) << "mode " << mode;
        }
        // ... and the matrix is symmetric.
        EXPECT_LT((Eigen::MatrixXd(k) - Eigen::MatrixXd(k).transpose()).cwiseAbs().maxCoeff(), 1e-9 * scale);
    }
}

// Boundary nodes take a linear field; the interior nodes, found by the
// solution, must follow it and every stress must be the constant one.
TEST(SolidFem, PatchTestOnADistortedBlockIsExact)
{
    for (const auto& [t, rule, name, map] : kKinds) {
        for (bool orthotropic : {false, true}) {
            SCOPED_TRACE(name + (orthotropic ? " open joints" : ""));
            auto mesh = blockMesh(3, 2, 2, map, t, concrete(), rule);
            Model& m = mesh.model;
            if (orthotropic) {
                m.materials[0].hoopFactor = 0.05;
                for (Element& e : m.elements) e.hoop = Vec3(1, 0.3, 0).normalized();
            }
            Eigen::VectorXd ub = Eigen::VectorXd::Zero(m.dofCount());
            for (const auto& [ijk, n] : mesh.nodeAt) {
                const bool boundary =
                    ijk[0] == 0 || ijk[0] == 6 || ijk[1] == 0 || ijk[1] == 4 || ijk[2] == 0 || ijk[2] == 4;
                if (!boundary) continue;
                ub.segment<3>(3 * n) = linearField(m.nodes[n]);
                for (int d = 0; d < 3; ++d) m.fixedDofs.push_back(3 * n + d);
            }
            const Solver s(m);
            const Eigen::VectorXd f = -(s.stiffness() * ub);
            const Eigen::VectorXd u = s.solve(f) + ub;
            for (size_t n = 0; n < m.nodes.size(); ++n)
                EXPECT_LT((u.segment<3>(3 * n) - linearField(m.nodes[n])).norm(), 1e-13) << "node " << n;
            const Stress exact = elasticity(m.materials[0], m.elements[0].hoop) * strainOf(kGrad);
            const double tol = 1e-9 * exact.cwiseAbs().maxCoeff();
            for (int e = 0; e < int(m.elements.size()); ++e) {
                for (const Stress& sn : nodalStresses(m, e, u)) EXPECT_LT((sn - exact).cwiseAbs().maxCoeff(), tol);
                EXPECT_LT((stressAt(m, e, Vec3(0.2, 0.1, -0.7), u) - exact).cwiseAbs().maxCoeff(), tol);
            }
            // Reactions: the supports hold what the interior does not.
            const Eigen::VectorXd r = reactions(s, u, Eigen::VectorXd::Zero(m.dofCount()));
            EXPECT_LT(r.reshaped(3, m.nodes.size()).rowwise().sum().norm(), 1e-9 * r.cwiseAbs().maxCoeff());
        }
    }
}

TEST(SolidFem, OpenJointsSoftenOnlyTheHoopDirection)
{
    Material mat = concrete();
    mat.hoopFactor = 0.01;
    const Vec3 hoop = Vec3(1, 1, 0).normalized();
    const Eigen::Matrix<double, 6, 6> d = elasticity(mat, hoop), iso = elasticity(concrete(), hoop);
    // A uniaxial strain along hoop: stress along hoop f times the isotropic.
    Eigen::Matrix3d eh = hoop * hoop.transpose();
    const Stress sh = d * strainOf(eh), shIso = iso * strainOf(eh);
    auto normal = [](const Stress& s, const Vec3& n) {
        Eigen::Matrix3d t;
        t << s(0), s(3), s(5), s(3), s(1), s(4), s(5), s(4), s(2);
        return n.dot(t * n);
    };
    EXPECT_NEAR(normal(sh, hoop), 0.01 * normal(shIso, hoop), 1e-9 * normal(shIso, hoop));
    // A vertical strain is met with the full stiffness.
    const Eigen::Matrix3d ez = Vec3::UnitZ() * Vec3::UnitZ().transpose();
    EXPECT_NEAR(normal(d * strainOf(ez), Vec3::UnitZ()), normal(iso * strainOf(ez), Vec3::UnitZ()), 1e-3);
    using Solver6 = Eigen::SelfAdjointEigenSolver<Eigen::Matrix<double, 6, 6>>;
    EXPECT_GT(Solver6(d).eigenvalues().minCoeff(), 0);
}

// Consistent loads on a closed distorted body: a uniform pressure on every
// boundary face sums to nothing, a hydrostatic one to the buoyancy (volume
// times the pressure gradient), and the volume agrees with the body force.
TEST(SolidFem, PressureOnEveryCurvedFaceOfAClosedBody)
{
    for (const auto& [t, rule, name, map] : kKinds) {
        SCOPED_TRACE(name);
        const Model m = blockMesh(3, 2, 2, map, t, concrete(), rule).model;
        Eigen::VectorXd weight = Eigen::VectorXd::Zero(m.dofCount());
        addBodyForce(m, Vec3(0, 0, -1), weight);
        const double volume = -weight.reshaped(3, m.nodes.size()).rowwise().sum()(2);
        EXPECT_GT(volume, 0.9 * 30 * 16 * 12);

        const auto faces = boundaryFaces(m);
        EXPECT_EQ(int(faces.size()), t == ElementType::Hex20 ? 2 * (6 + 6 + 4) : 2 * (12 + 6 + 4));
        Eigen::VectorXd uniform = Eigen::VectorXd::Zero(m.dofCount()), hydro = uniform;
        const double gamma = 62.4, top = 20;
        for (const BoundaryFace& b : faces) {
            std::vector<double> p1(b.face.nodes.size(), 1000.0), ph;
            for (int n : b.face.nodes) ph.push_back(gamma * (top - m.nodes[n].z()));
            addFacePressure(m, b.face, p1, uniform);
            addFacePressure(m, b.face, ph, hydro);
        }
        const Vec3 su = uniform.reshaped(3, m.nodes.size()).rowwise().sum();
        const Vec3 sh = hydro.reshaped(3, m.nodes.size()).rowwise().sum();
        EXPECT_LT(su.norm(), 1e-9 * 1000 * 500);
        EXPECT_NEAR(sh.z(), gamma * volume, 1e-10 * gamma * volume);
        EXPECT_LT(std::hypot(sh.x(), sh.y()), 1e-10 * gamma * volume);
    }
}

// On the outer face of a half ring (curved quadratic faces), a uniform
// pressure sums to p times the projected area, 2 R h.
TEST(SolidFem, PressureOnAHalfRingSumsToTheProjectedArea)
{
    const double ri = 8, ro = 10, h = 3;
    auto ring = [&](double a, double b, double c) {
        const double th = std::numbers::pi * (6 - a) / 6, r = ri + (ro - ri) * b / 2;
        return Vec3(r * std::cos(th), r * std::sin(th), h * c);
    };
    for (const auto& [t, rule, name, map] : kKinds) {
        SCOPED_TRACE(name);
        const auto mesh = blockMesh(6, 2, 1, ring, t, concrete(), rule);
        ASSERT_NO_THROW(checkJacobians(mesh.model));
        Eigen::VectorXd f = Eigen::VectorXd::Zero(mesh.model.dofCount());
        for (const BoundaryFace& b : boundaryFaces(mesh.model)) {
            bool outer = true;
            for (int n : b.face.nodes) outer = outer && std::abs(mesh.model.nodes[n].head<2>().norm() - ro) < 1e-9;
            if (outer) addFacePressure(mesh.model, b.face, std::vector<double>(b.face.nodes.size(), 500.0), f);
        }
        const Vec3 sum = f.reshaped(3, mesh.model.nodes.size()).rowwise().sum();
        EXPECT_NEAR(sum.y(), -500 * 2 * ro * h, 1e-9 * 500 * 2 * ro * h);
        EXPECT_NEAR(sum.x(), 0, 1e-9 * 500 * 2 * ro * h);
        EXPECT_NEAR(sum.z(), 0, 1e-9 * 500 * 2 * ro * h);
    }
}

// A free thermal strain equal to the linear field's strain, with the
// boundary free but for a statically determinate support, gives no stress
// and that displacement.
TEST(SolidFem, FreeStrainsOfAnUnrestrainedBodyGiveNoStress)
{
    for (const auto& [t, rule, name, map] : kKinds) {
        SCOPED_TRACE(name);
        auto mesh = blockMesh(2, 2, 2, map, t, concrete(), rule);
        Model& m = mesh.model;
        const Eigen::Matrix3d sym = 0.5 * (kGrad + kGrad.transpose());
        for (Element& e : m.elements) e.freeStrain.assign(nodeCount(e.type), strainOf(sym));
        // Hold node 0 fully, node at (4,0,0) in y and z, (0,4,0) in z.
        const int a = mesh.nodeOf(0, 0, 0), b = mesh.nodeOf(4, 0, 0), c = mesh.nodeOf(0, 4, 0);
        m.fixedDofs = {3 * a, 3 * a + 1, 3 * a + 2, 3 * b + 1, 3 * b + 2, 3 * c + 2};
        Eigen::VectorXd f;
        assemble(m, &f);
        const Solver s(m);
        const Eigen::VectorXd u = s.solve(f);
        for (int e = 0; e < int(m.elements.size()); ++e)
            for (const Stress& sn : nodalStresses(m, e, u)) EXPECT_LT(sn.cwiseAbs().maxCoeff(), 1e-6);
        EXPECT_LT(reactions(s, u, f).cwiseAbs().maxCoeff(), 1e-6 * f.cwiseAbs().maxCoeff());
    }
}

// The same prism meshed with hexahedra and with wedges: under its weight,
// standing on its base, both give the same top settlement (1D column:
// w = gamma H^2 / 2E for a laterally free column with nu = 0).
TEST(SolidFem, HexahedraAndWedgesAgreeOnAColumnUnderItsWeight)
{
    Material mat = concrete();
    mat.nu = 0;
    const double H = 40, gamma = 150;
    for (const auto& [t, rule, name, map] : kKinds) {
        SCOPED_TRACE(name);
        auto mesh = blockMesh(2, 2, 4, [&](double a, double b, double c) { return Vec3(3 * a, 2 * b, 10 * c); }, t,
                              mat, rule);
        Model& m = mesh.model;
        for (const auto& [ijk, n] : mesh.nodeAt)
            if (ijk[2] == 0) {
                m.fixedDofs.push_back(3 * n + 2);
                if (ijk[0] == 0) m.fixedDofs.push_back(3 * n);
                if (ijk[1] == 0) m.fixedDofs.push_back(3 * n + 1);
            }
        Eigen::VectorXd f = Eigen::VectorXd::Zero(m.dofCount());
        addBodyForce(m, Vec3(0, 0, -gamma), f);
        const Eigen::VectorXd u = Solver(m).solve(f);
        const double expected = -gamma * H * H / (2 * mat.E);
        for (const auto& [ijk, n] : mesh.nodeAt) {
            if (ijk[2] == 8) {
                EXPECT_NEAR(u[3 * n + 2], expected, 1e-12 * std::abs(expected));
            }
        }
        const Stress s = stressAt(m, 0, Vec3(0.3, 0.3, -1), u);
        EXPECT_NEAR(s(2), -gamma * H, 1e-9 * gamma * H);
    }
}

TEST(SolidFem, RefusesFoldedElementsAndUnsupportedModels)
{
    for (const auto& [t, rule, name, map] : kKinds) {
        SCOPED_TRACE(name);
        Model m = blockMesh(2, 1, 1, map, t, concrete(), rule).model;
        EXPECT_NO_THROW(checkJacobians(m));
        // No support: the stiffness is singular.
        EXPECT_THROW(Solver{m}, std::runtime_error);
        // The last element turned inside out (top and bottom swapped).
        Element& e = m.elements.back();
        const int half = t == ElementType::Hex20 ? 4 : 3;
        for (int i = 0; i < half; ++i) std::swap(e.nodes[i], e.nodes[i + half]);
        const int mid = t == ElementType::Hex20 ? 8 : 6;
        for (int i = 0; i < half; ++i) std::swap(e.nodes[mid + i], e.nodes[mid + half + i]);
        try {
            checkJacobians(m);
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& err) {
            EXPECT_NE(std::string(err.what()).find("element " + std::to_string(m.elements.size())),
                      std::string::npos)
                << err.what();
        }
    }
}

// A thick ring under external pressure in plane strain (every node held
// axially), a quarter with its symmetry planes, against Lame's solution:
// radial displacement and hoop stress at both faces.
TEST(SolidFemClosedForm, ThickRingUnderExternalPressureFollowsLame)
{
    const double ri = 10, ro = 15, p = 1000, E = 4.32e8, nu = 0.2;
    auto ring = [&](double a, double b, double c) {
        const double th = 0.5 * std::numbers::pi * (6 - a) / 6, r = ri + (ro - ri) * b / 3;
        return Vec3(r * std::cos(th), r * std::sin(th), 2 * c);
    };
    const double A = -p * ro * ro / (ro * ro - ri * ri), B = A * ri * ri;
    auto ur = [&](double r) { return (1 + nu) / E * ((1 - 2 * nu) * A * r + B / r); };
    auto hoop = [&](double r) { return A + B / (r * r); };
    for (const auto& [t, rule, name, map] : kKinds) {
        SCOPED_TRACE(name);
        Material mat = concrete();
        mat.nu = nu;
        auto mesh = blockMesh(6, 3, 1, ring, t, mat, rule);
        Model& m = mesh.model;
        for (const auto& [ijk, n] : mesh.nodeAt) {
            m.fixedDofs.push_back(3 * n + 2);
            if (ijk[0] == 12) m.fixedDofs.push_back(3 * n + 1); // theta = 0
            if (ijk[0] == 0) m.fixedDofs.push_back(3 * n);      // theta = 90 deg
        }
        Eigen::VectorXd f = Eigen::VectorXd::Zero(m.dofCount());
        for (const BoundaryFace& b : boundaryFaces(m)) {
            bool outer = true;
            for (int n : b.face.nodes) outer = outer && std::abs(m.nodes[n].head<2>().norm() - ro) < 1e-9;
            if (outer) addFacePressure(m, b.face, std::vector<double>(b.face.nodes.size(), p), f);
        }
        const Eigen::VectorXd u = Solver(m).solve(f);
        double worstU = 0, worstS = 0;
        for (int e = 0; e < int(m.elements.size()); ++e) {
            const std::vector<Stress> s = nodalStresses(m, e, u);
            for (int i = 0; i < nodeCount(t); ++i) {
                const Vec3 x = m.nodes[m.elements[e].nodes[i]];
                const double r = x.head<2>().norm();
                const bool face = std::abs(r - ri) < 1e-9 || std::abs(r - ro) < 1e-9;
                if (!face) continue;
                const Vec3 er(x.x() / r, x.y() / r, 0), et(-er.y(), er.x(), 0);
                const double urNum = u.segment<3>(3 * m.elements[e].nodes[i]).dot(er);
                worstU = std::max(worstU, std::abs(urNum / ur(r) - 1));
                Eigen::Matrix3d sig;
                sig << s[i](0), s[i](3), s[i](5), s[i](3), s[i](1), s[i](4), s[i](5), s[i](4), s[i](2);
                worstS = std::max(worstS, std::abs(et.dot(sig * et) / hoop(r) - 1));
            }
        }
        std::printf("%s: radial displacement within %.2e, hoop stress within %.2e of Lame\n", name.c_str(), worstU,
                    worstS);
        // 15-degree quadratic arcs and 3 elements through the thickness
        // (measured: displacements 1.2e-5 with hexahedra, 3e-4 with wedges;
        // hoop stresses extrapolated to the faces 1.1 to 1.3 %, where the
        // 1/r^2 variation is steepest).
        EXPECT_LT(worstU, t == ElementType::Hex20 ? 5e-5 : 5e-4);
        EXPECT_LT(worstS, 2e-2);
    }
}

// A cantilever clamped at x = 0 with a shear load P at its free end,
// against the deflection of a Timoshenko beam: P L^3 / 3EI + P L / (k G A),
// k = 5/6 (nu = 0 so that the clamp holds no Poisson contraction).
TEST(SolidFemClosedForm, CantileverWithShearFollowsTimoshenko)
{
    const double L = 5, h = 1, w = 0.5, P = 1000, E = 4.32e8;
    const double I = w * h * h * h / 12, G = E / 2, kGA = 5.0 / 6 * G * w * h;
    const double expected = P * L * L * L / (3 * E * I) + P * L / kGA;
    for (const auto& [t, rule, name, map] : kKinds) {
        SCOPED_TRACE(name);
        Material mat = concrete();
        mat.E = E;
        mat.nu = 0;
        auto mesh = blockMesh(10, 1, 2, [&](double a, double b, double c) { return Vec3(a * L / 10, b * w, c * h / 2); },
                              t, mat, rule);
        Model& m = mesh.model;
        Eigen::VectorXd f = Eigen::VectorXd::Zero(m.dofCount());
        // The end load as a uniform shear traction on the end face: on each
        // 8-node face, -1/12 of its share at the corners, 1/3 at mid-edges.
        for (const BoundaryFace& b : boundaryFaces(m)) {
            bool end = true;
            for (int n : b.face.nodes) end = end && std::abs(m.nodes[n].x() - L) < 1e-12;
            if (!end) continue;
            const double share = P / 2; // two faces over the depth
            for (size_t i = 0; i < b.face.nodes.size(); ++i)
                f[3 * b.face.nodes[i] + 2] += share * (i < 4 ? -1.0 / 12 : 1.0 / 3);
        }
        for (const auto& [ijk, n] : mesh.nodeAt)
            if (ijk[0] == 0)
                for (int d = 0; d < 3; ++d) m.fixedDofs.push_back(3 * n + d);
        const Eigen::VectorXd u = Solver(m).solve(f);
        const double tip = u[3 * mesh.nodeOf(20, 1, 2) + 2];
        const double error = tip / expected - 1;
        std::printf("%s: tip deflection %.6e, Timoshenko %.6e (%+.2f %%)\n", name.c_str(), tip, expected,
                    100 * error);
        // The clamp also holds the section's warping, a little stiffer than
        // the beam's root (measured -0.07 % for every element kind).
        EXPECT_LT(std::abs(error), 2e-3);
    }
}
