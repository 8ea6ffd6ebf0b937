// The split of the water load between the arches and the cantilevers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/Engine.h"
#include "test_engine_support.h"

using namespace velta;
using namespace velta::engine;

namespace {

double largestPressure(const AnalysisResult& r)
{
    double p = 0;
    for (const CantileverResult& c : r.cantilevers)
        for (const NodeResult& n : c.points) p = std::max(p, n.pressure);
    return p;
}

} // namespace

// With every vertical joint open the arches carry nothing: each cantilever
// takes the water on its own face, so its load is the pressure. Checked two
// arches or more above the foot: lower down the element columns fan out
// over the narrowing valley and are no longer bounded by radial planes.
TEST(EngineLoadSplit, OpenJointsLeaveEverythingToTheCantilevers)
{
    CaseModel m = test::caseT1();
    m.GroutIndex = m.NbArcs - 1; // the top of grout at the base: no joint is grouted
    const AnalysisResult r = analyse(m);
    const double pmax = largestPressure(r);
    int checked = 0;
    for (const CantileverResult& c : r.cantilevers)
        for (size_t k = 0; k + 2 < c.points.size(); ++k) {
            const NodeResult& n = c.points[k];
            EXPECT_NEAR(n.cantLoad, n.pressure, 0.02 * pmax) << "slot " << c.slot << " at " << n.z;
            EXPECT_NEAR(n.archLoad, 0, 0.02 * pmax) << "slot " << c.slot << " at " << n.z;
            ++checked;
        }
    EXPECT_GE(checked, 9);
}

// Grouted dams: the cantilever's load (from its shear) and the arch's two
// parts (hoop force over the extrados radius, and the change of its radial
// shear along the arch) balance the water on every point above the feet.
// The ring formula alone, the arch's hoop force without its shear, leaves
// a large part of the load unaccounted for near the base, which the test
// also shows.
TEST(EngineLoadSplit, ArchAndCantileverLoadsBalanceTheWater)
{
    struct Case {
        const char* name;
        CaseModel model;
    };
    const Case cases[] = {{"T1", test::caseT1()}, {"double curvature", test::caseDoubleCurvature()}};
    for (const Case& cs : cases) {
        const AnalysisResult r = analyse(cs.model);
        const double pmax = largestPressure(r);
        double worst = 0, worstRing = 0;
        for (const CantileverResult& c : r.cantilevers)
            for (size_t k = 0; k + 1 < c.points.size(); ++k) {
                const NodeResult& n = c.points[k];
                EXPECT_NEAR(n.archLoad + n.cantLoad, n.pressure, 1e-12) << cs.name;
                worst = std::max(worst, std::abs(n.cantLoad + n.archRing + n.archShear - n.pressure));
                worstRing = std::max(worstRing, std::abs(n.cantLoad + n.archRing - n.pressure));
            }
        EXPECT_LT(worst, 0.15 * pmax) << cs.name;
        EXPECT_GT(worstRing, 0.2 * pmax) << cs.name;
    }
}

// The crest is free: near it the cantilevers pull back on the arches
// (negative load), lower down they carry a good part of the water, and at
// the foot the rock takes the water directly, shared between the two.
TEST(EngineLoadSplit, CrownOfT1)
{
    const AnalysisResult r = analyse(test::caseT1());
    const CantileverResult* crown = nullptr;
    for (const CantileverResult& c : r.cantilevers)
        if (c.angle == 0) crown = &c;
    ASSERT_NE(crown, nullptr);
    const std::vector<NodeResult>& p = crown->points;
    ASSERT_EQ(p.size(), 5u);
    EXPECT_LT(p[0].cantLoad, 0);                                     // 1200, no water
    EXPECT_GT(p[0].archLoad, 0);
    EXPECT_GT(p[2].cantLoad, 0.4 * p[2].pressure);                   // 1100
    EXPECT_GT(p[3].cantLoad, 0.4 * p[3].pressure);                   // 1050
    EXPECT_GE(p[4].cantLoad, 0);                                     // the foot
    EXPECT_GE(p[4].archLoad, 0);
}
