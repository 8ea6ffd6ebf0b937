#include <gtest/gtest.h>

#include <Eigen/Eigenvalues>
#include <algorithm>
#include <cmath>
#include <set>
#include <stdexcept>

#include "engine/DamAssembly.h"
#include "engine/DamSolution.h"
#include "engine/Engine.h"
#include "engine/solid/Fem.h"
#include "engine/Rock.h"
#include "engine/RockBlock.h"
#include "test_engine_support.h"

using namespace velta;
using namespace velta::engine;

// The table at its rows, between them, clamped beyond them, and scaled for
// the rock's Poisson's ratio.
TEST(Vogt, CoefficientsFromTheTable)
{
    const VogtCoefficients one = vogtCoefficients(1, 0.2), twenty = vogtCoefficients(20, 0.2);
    EXPECT_DOUBLE_EQ(one.k1, 4.32);
    EXPECT_DOUBLE_EQ(one.k5, 0.345);
    EXPECT_DOUBLE_EQ(twenty.k2, 2.16);
    EXPECT_DOUBLE_EQ(vogtCoefficients(40, 0.2).k4, twenty.k4);
    EXPECT_DOUBLE_EQ(vogtCoefficients(0.5, 0.2).k3, one.k3);
    EXPECT_NEAR(vogtCoefficients(2.5, 0.2).k2, 0.5 * (0.91 + 1.10), 1e-12);
    EXPECT_NEAR(vogtCoefficients(3, 0.3).k1, 5.04 * (1 - 0.09) / 0.96, 1e-12);
}

// One strip of foundation, on its own: its flexibility per foot is the
// published one: normal K2 / Er, shears K3 / Er, rocking K1 / (Er a^2),
// twist K4 / (Er a^2), and the shear across the thickness coupled to the
// rocking by K5 / (Er a) both ways.
TEST(Vogt, StripFlexibilityIsTheTables)
{
    const VogtCoefficients k = vogtCoefficients(3.7, 0.2);
    const double E = 2.9e8, a = 23.5, L = 1.7;
    const Eigen::Matrix<double, 6, 6> K = vogtSpring(k, E, a, L);
    EXPECT_TRUE(K.row(3).isZero() && K.col(3).isZero()) << "no spring about the axis across the thickness";
    EXPECT_LT((K - K.transpose()).norm(), 1e-9 * K.norm());
    const int kept[5] = {0, 1, 2, 4, 5};
    Eigen::Matrix<double, 5, 5> K5;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j) K5(i, j) = K(kept[i], kept[j]);
    const Eigen::Matrix<double, 5, 5> f = K5.inverse() * (E * L); // flexibility times Er per foot
    EXPECT_NEAR(f(0, 0), k.k3, 1e-9);
    EXPECT_NEAR(f(1, 1), k.k3, 1e-9);
    EXPECT_NEAR(f(2, 2), k.k2, 1e-9);
    EXPECT_NEAR(f(3, 3) * a * a, k.k1, 1e-9);
    EXPECT_NEAR(f(4, 4) * a * a, k.k4, 1e-9);
    EXPECT_NEAR(f(0, 3) * a, k.k5, 1e-9);
    EXPECT_NEAR(f(3, 0) * a, k.k5, 1e-9);
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            if (i != j && !((i == 0 && j == 3) || (i == 3 && j == 0))) {
                EXPECT_NEAR(f(i, j), 0, 1e-12) << i << j;
            }
}

// The springs over one strip of a real dam's contact, through the strip's
// own frame and its nodes: moved as a whole, the strip pushes back with
// stiffnesses in the ratios of the table (normal 1 / K2, along the line
// 1 / K3, across the thickness K1 / (K1 K3 - K5^2)), whatever its length
// and modulus.
TEST(Vogt, ContactStripMovedAsAWhole)
{
    const DamAssembly a = buildSolidModel(test::caseT1(), 1, RockModel::Vogt);
    ASSERT_FALSE(a.model.springs.empty());
    const VogtCoefficients k{a.vogt[0], a.vogt[1], a.vogt[2], a.vogt[3], a.vogt[4]};
    std::vector<double> expected = {1 / k.k2, 1 / k.k3, k.k1 / (k.k1 * k.k3 - k.k5 * k.k5)};
    std::sort(expected.begin(), expected.end());
    for (size_t s : {size_t(0), a.model.springs.size() / 3, a.model.springs.size() - 1}) {
        const solid::StiffnessBlock& b = a.model.springs[s];
        // Total force for a uniform translation: the sum of the 3 x 3 blocks.
        Eigen::Matrix3d T = Eigen::Matrix3d::Zero();
        for (size_t i = 0; i < b.dofs.size(); ++i)
            for (size_t j = 0; j < b.dofs.size(); ++j) T(b.dofs[i] % 3, b.dofs[j] % 3) += b.k(i, j);
        Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d> eig(T);
        const Eigen::Vector3d l = eig.eigenvalues();
        // The strip's frame turns a little along its length: 2 %.
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(l(i) / l(2), expected[i] / expected[2], 0.02) << s << " " << i;
    }
}

namespace {

const NodeResult& crownAt(const AnalysisResult& r, double z)
{
    for (const auto& c : r.cantilevers)
        if (c.slot == kCrownSlot)
            for (const auto& p : c.points)
                if (std::abs(p.z - z) < 0.01) return p;
    throw std::runtime_error("no crown node at " + std::to_string(z));
}

} // namespace

// The block under each test dam and the double-curvature example (whose
// V-shaped foot and narrow valley once gave crossing layers at 2 H), at
// depths of one to three dam heights: every element right-handed at every
// integration point, the dam's contact faces covered (no face of the whole
// model with all its corners on the contact is left on its boundary), the
// block's nodes on the contact the dam's own, and its far faces held.
TEST(RockBlock, MeshIsSoundAndSharesTheContactNodes)
{
    const CaseModel example = test::readDeck(std::string(VELTA_SOURCE_DIR) + "/examples/double_curvature.dat");
    for (const CaseModel& m : {test::caseT1(), test::caseTwoCentres(), test::caseDoubleCurvature(), example})
        for (const double depth : {1.0, kRockBlockDepth, 3.0}) {
            SCOPED_TRACE(m.DamName[0] + ", depth " + std::to_string(depth) + " H");
            const DamGeometry g(m);
            DamCase c = readCase(m, g);
            c.rock = RockModel::Block;
            if (depth != kRockBlockDepth) c.rockBlockDepth = depth;
            const DamAssembly a = assembleDam(c, g, meshDam(g, c, meshLevel(1)));
            const int damNodes = int(a.mesh.model.nodes.size());
            ASSERT_GT(a.model.elements.size(), size_t(a.damElements));
            EXPECT_NO_THROW(solid::checkJacobians(a.model));
            const std::set<int> contact(a.contactNodes.begin(), a.contactNodes.end());
            std::set<int> shared;
            for (const solid::Element& el : a.rockPart.elements)
                for (int i = 0; i < solid::nodeCount(el.type); ++i)
                    if (el.nodes[i] < damNodes) shared.insert(el.nodes[i]);
            EXPECT_EQ(shared, contact) << "the block meets the dam at its contact nodes and nowhere else";
            int onContact = 0;
            for (const solid::BoundaryFace& f : solid::boundaryFaces(a.model)) {
                const size_t corners = f.face.nodes.size() == 8 ? 4 : 3;
                bool all = true;
                for (size_t i = 0; i < corners; ++i) all = all && contact.count(f.face.nodes[i]);
                onContact += all;
            }
            EXPECT_EQ(onContact, 0);
            // Held: the whole bottom and ends, none of the contact.
            EXPECT_FALSE(a.model.fixedDofs.empty());
            for (int d : a.model.fixedDofs) ASSERT_GE(d / 3, damNodes);
            EXPECT_NEAR(a.rockDepth, depth * (g.top - g.base), 1e-9 * g.top);
        }
}

// A block a thousand times stiffer than the concrete gives the rigid
// rock's crown deflections and hoop stresses.
TEST(RockBlock, NearRigidBlockGivesTheRigidResult)
{
    CaseModel m = test::caseT1();
    m.Er = {3000, 20685};
    EngineOptions rigid, block;
    rigid.rock = RockModel::Rigid;
    block.rock = RockModel::Block;
    const AnalysisResult r = analyse(m, rigid), b = analyse(m, block);
    for (double z : {1050.0, 1100.0, 1150.0, 1200.0}) {
        const NodeResult &pr = crownAt(r, z), &pb = crownAt(b, z);
        EXPECT_NEAR(pb.radial, pr.radial, 0.002 * std::abs(pr.radial)) << z;
        EXPECT_NEAR(pb.up.hoop, pr.up.hoop, 0.005 * 600) << z;
        EXPECT_NEAR(pb.down.hoop, pr.down.hoop, 0.005 * 600) << z;
    }
}

// The dam's forces on the block balance the loads (weight on independent
// cantilevers included), and the block's supports balance those forces.
TEST(RockBlock, Equilibrium)
{
    const DamAssembly a = buildSolidModel(test::caseTwoCentres(), 1, RockModel::Block);
    ASSERT_TRUE(a.weightSeparate);
    const DamSolution s = solveDam(a);
    for (const LoadSolution* l : {&s.main, &s.weight}) {
        Eigen::Vector3d applied = Eigen::Vector3d::Zero(), onBlock = Eigen::Vector3d::Zero(),
                        bySupports = Eigen::Vector3d::Zero();
        for (int n = 0; n < int(a.model.nodes.size()); ++n) applied += l->f.segment<3>(3 * n);
        for (int n : a.contactNodes) onBlock += l->rock.segment<3>(3 * n);
        EXPECT_LT((onBlock - applied).norm(), 1e-6 * applied.norm());
        const solid::Model& m = l == &s.main ? a.model : a.weightModel;
        const Eigen::VectorXd held = solid::assemble(m) * l->u - l->f;
        for (int d : m.fixedDofs) bySupports(d % 3) += held(d);
        EXPECT_LT((onBlock + bySupports).norm(), 1e-6 * onBlock.norm()) << "the supports hold the block";
    }
}
