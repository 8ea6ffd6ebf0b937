// Contour views: the triangulation of the developed grid, the bands and
// contour lines of marching triangles on a linear field, and the colour
// scale's extremes.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "graphics/Contours.h"
#include "graphics/Graphique.h"
#include "graphics/ResultViews.h"
#include "test_graphics_fixture.h"

namespace velta {
namespace {

double field(double x, double z)
{
    return 0.3 * x - 2.0 * z + 5.0;
}

double area(const std::vector<WorldPoint>& p)
{
    double a = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const WorldPoint& u = p[i];
        const WorldPoint& v = p[(i + 1) % p.size()];
        a += u.x * v.z - v.x * u.z;
    }
    return std::abs(a) / 2;
}

double area(const FieldNode& a, const FieldNode& b, const FieldNode& c)
{
    return std::abs((b.x - a.x) * (c.z - a.z) - (c.x - a.x) * (b.z - a.z)) / 2;
}

// Columns of a valley: shorter cantilevers toward the banks, with points
// that do not line up across columns.
std::vector<std::vector<FieldNode>> valley()
{
    std::vector<std::vector<FieldNode>> cols;
    const int depth[] = {1, 3, 5, 4, 2};
    for (int c = 0; c < 5; ++c) {
        std::vector<FieldNode> col;
        for (int k = 0; k < depth[c]; ++k) {
            const double x = 40.0 * c, z = 100 - k * (c == 3 ? 27.0 : 20.0);
            col.push_back({x, z, field(x, z), c});
        }
        cols.push_back(col);
    }
    return cols;
}

TEST(ContourTriangulation, CoversTheGridWithoutOverlap)
{
    const ContourField f = triangulateColumns(valley());
    ASSERT_EQ(f.nodes.size(), 15u);
    // Each strip between two columns of m and n nodes has m + n - 2 triangles.
    EXPECT_EQ(f.triangles.size(), (1 + 3 - 2) + (3 + 5 - 2) + (5 + 4 - 2) + (4 + 2 - 2) + 0u);
    // The triangles fill the polygon of the grid's outline exactly: their
    // areas add up to the outline's area.
    double sum = 0;
    for (const auto& t : f.triangles) {
        const double a = area(f.nodes[t[0]], f.nodes[t[1]], f.nodes[t[2]]);
        EXPECT_GT(a, 0);
        sum += a;
    }
    std::vector<WorldPoint> outline;
    const auto cols = valley();
    for (const auto& c : cols) outline.push_back({c.front().x, c.front().z});
    for (auto c = cols.rbegin(); c != cols.rend(); ++c) outline.push_back({c->back().x, c->back().z});
    EXPECT_NEAR(sum, area(outline), 1e-9);
}

TEST(ContourTriangulation, EmptyColumnBreaksTheStrip)
{
    auto cols = valley();
    cols[2].clear();
    const ContourField f = triangulateColumns(cols);
    EXPECT_EQ(f.triangles.size(), (1 + 3 - 2) + (4 + 2 - 2) + 0u);
}

TEST(MarchingTriangles, LevelsCrossWhereTheLinearFieldSays)
{
    const ContourField f = triangulateColumns(valley());
    const ContourScale sc = contourScale(f, ColourScale::Kind::Diverging);
    ASSERT_GE(sc.levels.size(), 5u);
    int segments = 0;
    for (double level : sc.levels) {
        for (const auto& t : f.triangles) {
            WorldPoint p, q;
            const FieldNode &a = f.nodes[t[0]], &b = f.nodes[t[1]], &c = f.nodes[t[2]];
            const bool crosses = std::min({a.v, b.v, c.v}) < level && level < std::max({a.v, b.v, c.v});
            ASSERT_EQ(isoSegment(a, b, c, level, p, q), crosses);
            if (!crosses) continue;
            ++segments;
            EXPECT_NEAR(field(p.x, p.z), level, 1e-9);
            EXPECT_NEAR(field(q.x, q.z), level, 1e-9);
        }
    }
    EXPECT_GT(segments, 10);
}

TEST(MarchingTriangles, BandsSplitEachTriangleWithoutGapOrOverlap)
{
    const ContourField f = triangulateColumns(valley());
    const ContourScale sc = contourScale(f, ColourScale::Kind::Sequential);
    std::vector<double> edges{sc.min};
    edges.insert(edges.end(), sc.levels.begin(), sc.levels.end());
    edges.push_back(sc.max);
    for (const auto& t : f.triangles) {
        const FieldNode &a = f.nodes[t[0]], &b = f.nodes[t[1]], &c = f.nodes[t[2]];
        double sum = 0;
        for (size_t k = 0; k + 1 < edges.size(); ++k) {
            const auto poly = bandPolygon(a, b, c, edges[k], edges[k + 1]);
            sum += poly.size() >= 3 ? area(poly) : 0;
            // Every corner of a band lies inside the band's values.
            for (const WorldPoint& p : poly) {
                EXPECT_GE(field(p.x, p.z), edges[k] - 1e-9);
                EXPECT_LE(field(p.x, p.z), edges[k + 1] + 1e-9);
            }
        }
        EXPECT_NEAR(sum, area(a, b, c), 1e-9);
    }
}

TEST(ContourScale, EndsAtTheExtremesOfTheData)
{
    const ContourField f = triangulateColumns(valley());
    double lo = 1e300, hi = -1e300;
    for (const auto& n : f.nodes) {
        lo = std::min(lo, n.v);
        hi = std::max(hi, n.v);
    }
    const ContourScale sc = contourScale(f, ColourScale::Kind::Sequential);
    EXPECT_EQ(sc.min, lo);
    EXPECT_EQ(sc.max, hi);
    EXPECT_EQ(f.nodes[f.minNode()].v, lo);
    EXPECT_EQ(f.nodes[f.maxNode()].v, hi);
    for (double l : sc.levels) {
        EXPECT_GT(l, lo);
        EXPECT_LT(l, hi);
    }
}

TEST(ContourLevels, RoundStepsAndZeroExactly)
{
    const auto l = contourLevels(-697.8, 227.9, 10);
    ASSERT_FALSE(l.empty());
    EXPECT_DOUBLE_EQ(l[1] - l[0], 100.0);
    EXPECT_NE(std::find(l.begin(), l.end(), 0.0), l.end());
    EXPECT_TRUE(contourLevels(3, 3).empty());
    EXPECT_TRUE(contourLevels(5, 3).empty());
}

TEST(ColourMaps, DivergingIsWhiteAtZeroBlueForCompressionRedForTension)
{
    ColourScale sc{ColourScale::Kind::Diverging, -100, 50};
    const Color zero = sc.colour(0), comp = sc.colour(-100), tens = sc.colour(100);
    EXPECT_EQ(zero, 0xF7F7F7u);
    EXPECT_GT(comp & 0xFF, (comp >> 16) & 0xFF);          // more blue than red
    EXPECT_GT((tens >> 16) & 0xFF, tens & 0xFF);           // more red than blue
    EXPECT_EQ(viridis(0), 0x440154u);
    EXPECT_EQ(viridis(1), 0xFDE725u);
}

// The deflection contours of the fixture dam, drawn: the scale bar names the
// extremes of the results in the units shown, and the field follows the
// unit switch.
TEST(ContourView, DrawsTheExtremesOfTheResultsInTheUnitsShown)
{
    test::DamFixture d;
    d.addResults();
    d.s.main.DeformeeButton = d.s.main.SiButton = true;
    RecordingCanvas c(800, 600);
    ASSERT_TRUE(ContourDeflectionClick(d.s, c));
    EXPECT_EQ(d.s.view.ViewKind, kViewContourDeflection);
    const std::string ops = c.text();
    // Deflections -0.01 to -0.03 ft: -0.36 to -0.12 inches.
    EXPECT_NE(ops.find("max -0.1200"), std::string::npos) << ops;
    EXPECT_NE(ops.find("min -0.3600"), std::string::npos);
    EXPECT_NE(ops.find("poly "), std::string::npos);

    d.s.model.UnitSystem = kSI;
    RecordingCanvas si(800, 600);
    ASSERT_TRUE(redrawCurrentView(d.s, si));
    EXPECT_NE(si.text().find("min -9.14 mm"), std::string::npos) << si.text();
}

TEST(ContourView, ButtonFollowsTheViewOnScreen)
{
    test::DamFixture d;
    d.s.main.DeformeeButton = d.s.main.SiButton = true;
    EXPECT_EQ(contourViewAfter(d.s, kViewDeflection), kViewContourDeflection);
    EXPECT_EQ(contourViewAfter(d.s, kViewStresses), kViewContourStressDown);
    EXPECT_EQ(contourViewAfter(d.s, kViewContourStressDown), kViewContourStressUp);
    EXPECT_EQ(contourViewAfter(d.s, kViewContourStressUp), kViewContourStressDown);
    EXPECT_EQ(contourViewAfter(d.s, kView3D), kViewContourDeflection);
    d.s.main.DeformeeButton = false;
    EXPECT_EQ(contourViewAfter(d.s, kView2D), kViewContourStressDown);
    d.s.main.SiButton = false;
    EXPECT_EQ(contourViewAfter(d.s, kViewStresses), -1);
}

} // namespace
} // namespace velta
