// The element library against CalculiX on the same meshes: identical element
// types and loads must give the same displacements to within the rounding of
// ccx's printed results.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/solid/Calculix.h"
#include "engine/DamAssembly.h"
#include "test_engine_support.h"
#include "test_solid_support.h"

using namespace velta::engine::solid;
using velta::test::blockMesh;
using velta::test::concrete;

namespace {

struct Case {
    const char* name;
    ElementType type;
    double hoopFactor;
    bool springs;
};

// A thick ring sector with wavy faces, held on its end at theta = 0, on
// springs at the other end, under a pressure on its outer face and its
// weight.
Model ringSector(const Case& c, Eigen::VectorXd& f)
{
    auto map = [](double a, double b, double z) {
        const double th = 0.9 * (3 - a) / 3, r = 80 + 12 * b / 2 + 1.5 * std::sin(2 * a + z);
        return Vec3(r * std::cos(th), r * std::sin(th), 20 * z + 2 * std::cos(a + b));
    };
    Material mat = concrete();
    mat.hoopFactor = c.hoopFactor;
    auto mesh = blockMesh(3, 2, 2, map, c.type, mat, WedgeRule::Points9);
    Model& m = mesh.model;
    for (Element& e : m.elements) {
        const Vec3 centre = m.nodes[e.nodes[0]];
        e.hoop = Vec3(-centre.y(), centre.x(), 0).normalized();
    }
    std::vector<int> far;
    for (const auto& [ijk, n] : mesh.nodeAt) {
        if (ijk[0] == 6)
            for (int d = 0; d < 3; ++d) m.fixedDofs.push_back(3 * n + d);
        if (ijk[0] == 0) far.push_back(n);
    }
    if (c.springs) {
        // Ground springs and two-node couplings at the free end, and a
        // general block over three dofs of different nodes.
        for (size_t i = 0; i < far.size(); ++i) {
            StiffnessBlock b;
            b.dofs = {3 * far[i] + 1};
            b.k = Eigen::MatrixXd::Constant(1, 1, 2e7);
            m.springs.push_back(b);
        }
        StiffnessBlock pair;
        pair.dofs = {3 * far[0], 3 * far[1]};
        pair.k = (Eigen::MatrixXd(2, 2) << 5e8, -5e8, -5e8, 5e8).finished();
        m.springs.push_back(pair);
        StiffnessBlock general;
        general.dofs = {3 * far[2], 3 * far[3] + 1, 3 * far[4] + 2};
        general.k = (Eigen::MatrixXd(3, 3) << 4e8, 1e8, -5e7, 1e8, 3e8, 2e7, -5e7, 2e7, 2e8).finished();
        m.springs.push_back(general);
    }
    f = Eigen::VectorXd::Zero(m.dofCount());
    addBodyForce(m, Vec3(0, 0, -150), f);
    for (const BoundaryFace& b : boundaryFaces(m)) {
        // The faces at b = 2 (outer): side 3 of the hexahedra, side 4 of
        // the second wedge of each cell.
        if (b.side != 3 && !(c.type == ElementType::Wedge15 && b.side == 4)) continue;
        bool outer = true;
        for (int n : b.face.nodes) outer = outer && m.nodes[n].head<2>().norm() > 85;
        if (!outer) continue;
        std::vector<double> p;
        for (int n : b.face.nodes) p.push_back(62.4 * (60 - m.nodes[n].z()));
        addFacePressure(m, b.face, p, f);
    }
    return m;
}

} // namespace

TEST(Calculix, SameDisplacementsOnACurvedRingSector)
{
    const std::string ccx = findCalculix();
    if (ccx.empty()) GTEST_SKIP() << "CalculiX (ccx) not installed";
    const Case cases[] = {
        {"Hex20", ElementType::Hex20, 1, false},
        {"Wedge15", ElementType::Wedge15, 1, false},
        {"Hex20 springs", ElementType::Hex20, 1, true},
        {"Wedge15 open joints", ElementType::Wedge15, 0.1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Eigen::VectorXd f;
        const Model m = ringSector(c, f);
        const Eigen::VectorXd u = Solver(m).solve(f);
        const CalculixResult r = runCalculix(m, f, ccx);
        const DisplacementComparison cmp = compareDisplacements(u, r.u);
        std::printf("%s: largest %.6g, max difference %.3g (%.2e of the largest), ccx %.3f s\n", c.name, cmp.largest,
                    cmp.maxDifference, cmp.relative(), r.seconds);
        EXPECT_LT(cmp.relative(), 1e-6) << "worst node " << cmp.worstNode + 1;
    }
}

// Small dams at the coarsest level, every model the engine solves for them:
// T1 under water with its joints open above the top of grout (at 1150 ft),
// on rigid abutments and on Vogt's springs; the double-curvature test dam
// (water, weight on independent cantilevers) on the meshed rock block, both
// the adjusted structure and the weight's model with every joint open.
TEST(Calculix, SameDisplacementsOnSmallDams)
{
    using velta::engine::RockModel;
    const std::string ccx = findCalculix();
    if (ccx.empty()) GTEST_SKIP() << "CalculiX (ccx) not installed";
    velta::CaseModel t1 = velta::test::caseT1();
    t1.GroutIndex = 1;
    const velta::CaseModel doubleCurvature = velta::test::caseDoubleCurvature();
    struct Dam {
        const char* name;
        const velta::CaseModel* model;
        RockModel rock;
        int models; // the adjusted structure, and the weight's when it is separate
    };
    const Dam dams[] = {
        {"T1, rigid rock", &t1, RockModel::Rigid, 1},
        {"T1, Vogt's springs", &t1, RockModel::Vogt, 1},
        {"double curvature, rock block", &doubleCurvature, RockModel::Block, 2},
    };
    for (const Dam& d : dams) {
        velta::engine::DamAssembly a = velta::engine::buildSolidModel(*d.model, 1, d.rock);
        ASSERT_EQ(a.weightSeparate ? 2 : 1, d.models) << d.name;
        int open = 0;
        for (int e = 0; e < a.damElements; ++e) open += a.model.materials[a.model.elements[e].material].hoopFactor < 1;
        if (d.model == &t1) {
            EXPECT_GT(open, 0) << "joints open above the top of grout";
        }
        for (int k = 0; k < d.models; ++k) {
            SCOPED_TRACE(std::string(d.name) + (k ? ", weight's model" : ", adjusted structure"));
            Model& m = k ? a.weightModel : a.model;
            const Eigen::VectorXd& f = k ? a.weightLoad : a.load;
            m.wedgeRule = WedgeRule::Points9;
            const Eigen::VectorXd u = Solver(m).solve(f);
            const CalculixResult r = runCalculix(m, f, ccx);
            const DisplacementComparison cmp = compareDisplacements(u, r.u);
            std::printf("%s%s: %zu nodes, %zu elements, largest %.6g ft, max difference %.3g (%.2e of the largest), "
                        "ccx %.2f s\n",
                        d.name, k ? ", weight" : "", m.nodes.size(), m.elements.size(), cmp.largest, cmp.maxDifference,
                        cmp.relative(), r.seconds);
            EXPECT_GT(cmp.largest, 0);
            EXPECT_LT(cmp.relative(), 1e-6) << "worst node " << cmp.worstNode + 1;
        }
    }
}
