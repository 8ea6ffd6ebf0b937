#include <gtest/gtest.h>
#include <numbers>

#include <cmath>
#include <set>

#include "engine/DamMesh.h"
#include "engine/solid/Fem.h"
#include "test_engine_support.h"

using namespace velta;
using namespace velta::engine;

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

DamMesh meshOf(const CaseModel& m, int level = 1)
{
    const DamGeometry g(m);
    return meshDam(g, readCase(m, g), meshLevel(level));
}

// Volume of the tetrahedron on a corner and three neighbours: positive for
// every corner of a well-formed, right-handed element.
bool cornersRightHanded(const DamMesh& d, const solid::Element& e)
{
    auto X = [&](int i) { return d.model.nodes[e.nodes[i]]; };
    auto vol = [&](int o, int a, int b, int c) { return (X(a) - X(o)).cross(X(b) - X(o)).dot(X(c) - X(o)); };
    if (e.type == solid::ElementType::Hex20) {
        const int nb[8][3] = {{1, 3, 4}, {2, 0, 5}, {3, 1, 6}, {0, 2, 7},
                              {7, 5, 0}, {4, 6, 1}, {5, 7, 2}, {6, 4, 3}};
        for (int c = 0; c < 8; ++c)
            if (!(vol(c, nb[c][0], nb[c][1], nb[c][2]) > 0)) return false;
        return true;
    }
    const int nb[6][3] = {{1, 2, 3}, {2, 0, 4}, {0, 1, 5}, {5, 4, 0}, {3, 5, 1}, {4, 3, 2}};
    for (int c = 0; c < 6; ++c)
        if (!(vol(c, nb[c][0], nb[c][1], nb[c][2]) > 0)) return false;
    return true;
}

} // namespace

// Every case of the tests meshes with right-handed elements, wedges only
// at the fans' feet, and faces whose node order gives the outward normal.
TEST(EngineMesh, EveryTestDamMeshesWithWellFormedElements)
{
    for (const CaseModel& m : {test::caseT1(), test::caseTwoCentres(), test::caseDoubleCurvature()}) {
        const DamMesh d = meshOf(m);
        SCOPED_TRACE(m.DamName[0]);
        for (size_t e = 0; e < d.model.elements.size(); ++e)
            ASSERT_TRUE(cornersRightHanded(d, d.model.elements[e])) << "element " << e;
        EXPECT_GT(d.wedges, 0);
        auto outward = [&](const DamFace& f, double sign) {
            const auto& n = f.face.nodes;
            const size_t c = n.size() == 8 ? 4 : 3;
            solid::Vec3 normal = (d.model.nodes[n[1]] - d.model.nodes[n[0]])
                                     .cross(d.model.nodes[n[c - 1]] - d.model.nodes[n[0]]);
            const NodeParam& p = d.param[n[0]];
            const double b = p.a * kDeg; // near enough to the ray for the sign
            const solid::Vec3 ray(std::sin(b), -std::cos(b), 0);
            return sign * normal.dot(ray) > 0;
        };
        for (const DamFace& f : d.upstream) ASSERT_TRUE(outward(f, 1));
        for (const DamFace& f : d.downstream) ASSERT_TRUE(outward(f, -1));
    }
}

// The reference dam's coarse mesh: its size, the report's grid on nodes at
// mid-thickness, a mirror-symmetric mesh of a symmetric dam, and the
// contact on the rays at the interpolated Phi.
TEST(EngineMesh, ReferenceDamGridAndAbutments)
{
    const CaseModel m = test::caseT1();
    const DamGeometry g(m);
    const DamMesh d = meshOf(m);
    EXPECT_GT(d.model.nodes.size(), 3000u);
    EXPECT_LT(d.model.nodes.size(), 6800u);
    for (int s = m.FirstCons; s <= m.LastCons; ++s)
        for (const ArchLevel& a : g.arches)
            if (a.z >= m.ConsBaseElev[s] - 0.01) {
                EXPECT_GE(d.nodeAt(m.ConsAngle[s], a.z, d.thicknessDivisions), 0) << s << " " << a.z;
            }
    std::set<std::tuple<long, long, long>> pts;
    for (const auto& x : d.model.nodes) pts.insert({std::lround(x.x() * 1e4), std::lround(x.y() * 1e4), std::lround(x.z() * 1e4)});
    for (const auto& x : d.model.nodes)
        ASSERT_TRUE(pts.count({std::lround(-x.x() * 1e4), std::lround(x.y() * 1e4), std::lround(x.z() * 1e4)}));
    // Foundation nodes on the ray at Phi interpolated linearly: 36 degrees
    // halfway between the arches at 1050 (30) and 1100 (42).
    EXPECT_NEAR(abutmentPhi(g, kRight, 1075), 36, 1e-12);
    int checked = 0;
    for (const FoundationFace& f : d.foundation)
        for (const auto& row : f.nodes)
            for (int n : row) {
                if (n < 0) continue;
                const solid::Vec3& x = d.model.nodes[n];
                const double phi = std::atan2(std::abs(x.x()), 500 - x.y()) / kDeg;
                ASSERT_NEAR(phi, abutmentPhi(g, f.side, x.z()), 1e-6) << x.transpose();
                ++checked;
            }
    EXPECT_GT(checked, 100);
}

// Levels refine every direction.
TEST(EngineMesh, LevelsRefine)
{
    const CaseModel m = test::caseTwoCentres();
    const DamMesh a = meshOf(m, 1), b = meshOf(m, 2);
    EXPECT_GT(b.model.nodes.size(), 4 * a.model.nodes.size());
    EXPECT_EQ(b.thicknessDivisions, 6);
    EXPECT_THROW(meshLevel(0), EngineError);
}

// Patch test on real dam meshes: a uniform pressure on every face of the
// dam's body is met by the uniform stress -p and the linear displacement
// field of a pure dilatation. Curved 20-node bricks and 15-node wedges of
// the meshes must reproduce both to rounding. The body is held against
// rigid motion only: one node fully, a second across the line joining
// them, a third across their plane; the exact field needs no force there.
TEST(EngineMesh, UniformPressureOnEveryFaceIsReproducedExactly)
{
    for (const CaseModel& c : {test::caseT1(), test::caseTwoCentres()}) {
        const DamMesh d = meshOf(c);
        solid::Model m = d.model;
        const double E = 3.0e6 * 144, nu = 0.2, p = 1000;
        m.materials = {solid::Material{E, nu, 0, 0, 1}};
        for (solid::Element& e : m.elements) {
            e.material = 0;
            e.freeStrain.clear();
        }
        m.springs.clear();
        m.fixedDofs.clear();

        Eigen::VectorXd f = Eigen::VectorXd::Zero(m.dofCount());
        for (const solid::BoundaryFace& bf : solid::boundaryFaces(m))
            solid::addFacePressure(m, bf.face, std::vector<double>(bf.face.nodes.size(), p), f);

        const int nn = int(m.nodes.size());
        const int a = 0;
        int b = 0, cN = 0;
        for (int n = 0; n < nn; ++n)
            if ((m.nodes[n] - m.nodes[a]).norm() > (m.nodes[b] - m.nodes[a]).norm()) b = n;
        const Vec3 e1 = (m.nodes[b] - m.nodes[a]).normalized();
        auto offLine = [&](int n) { return (m.nodes[n] - m.nodes[a]).cross(e1).norm(); };
        for (int n = 0; n < nn; ++n)
            if (offLine(n) > offLine(cN)) cN = n;
        const Vec3 normal = (m.nodes[b] - m.nodes[a]).cross(m.nodes[cN] - m.nodes[a]).normalized();
        const double k = E * 100;
        m.fixedDofs = {3 * a, 3 * a + 1, 3 * a + 2};
        auto hold = [&](int node, const Eigen::Matrix3d& dirs) {
            m.springs.push_back({{3 * node, 3 * node + 1, 3 * node + 2}, k * dirs});
        };
        hold(b, Eigen::Matrix3d::Identity() - e1 * e1.transpose());
        hold(cN, normal * normal.transpose());

        const solid::Solver solver(m);
        const Eigen::VectorXd u = solver.solve(f);

        const double strain = -p * (1 - 2 * nu) / E;
        double uMax = 0, uErr = 0;
        for (int n = 0; n < nn; ++n) {
            const Vec3 exact = strain * (m.nodes[n] - m.nodes[a]);
            uMax = std::max(uMax, exact.norm());
            uErr = std::max(uErr, (u.segment<3>(3 * n) - exact).norm());
        }
        EXPECT_LT(uErr, 1e-9 * uMax) << "displacements";

        double sErr = 0;
        for (int e = 0; e < int(m.elements.size()); ++e)
            for (const solid::Stress& s : solid::nodalStresses(m, e, u))
                for (int i = 0; i < 6; ++i) sErr = std::max(sErr, std::abs(s(i) - (i < 3 ? -p : 0.0)));
        EXPECT_LT(sErr, 1e-7 * p) << "stresses";
    }
}
