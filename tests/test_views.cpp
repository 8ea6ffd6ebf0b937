// The result views: symbols of each plot, titles, extremes and legends, and
// the "Values", "+" and "-" controls.
#include <gtest/gtest.h>

#include "graphics/Graphique.h"
#include "model/Numbers.h"
#include "graphics/ResultViews.h"
#include "test_graphics_fixture.h"

using namespace velta;
using velta::test::DamFixture;
using velta::test::hasOp;
using velta::test::opsStarting;

namespace {

std::string centred(int originX, int y, const std::string& text)
{
    return "text " + std::to_string(originX - 2 * textLength(text)) + " " + std::to_string(y) + " " + text;
}

// One result point on the crown cantilever at elevation 0.
void crownPointOnly(DamFixture& f)
{
    f.s.results.reset();
    f.s.results.ResDeflCount[20] = 1;
    f.s.results.ResDeflElev[0][20][0] = 0;
    f.s.results.ResDeflElev[1][20][0] = 0;
    f.s.results.ResStressCount[20] = 1;
}

} // namespace

TEST(DeflectionView, SegmentLabelTitleAndExtremes)
{
    DamFixture f;
    crownPointOnly(f);
    f.s.results.ResDeflection[0][20][0] = -0.01;
    f.s.results.ResDeflection[1][20][0] = -0.01 * 0.3048;
    RecordingCanvas c(1000, 200); // scale 1.5, origin (500, 175)
    f.s.view.ValuesMode = 1;
    EXPECT_TRUE(DeformeeButtonClick(f.s, c));
    EXPECT_EQ(f.s.view.DeflScale, 500);
    // 5 px toward the lower left at 35 degrees, then its label in inches.
    const auto deflection = opsStarting(c.ops, "line 500 175 496 178");
    ASSERT_EQ(deflection.size(), 1u);
    EXPECT_EQ(deflection[0], "line 500 175 496 178 #FF0000 2 solid");
    EXPECT_TRUE(hasOp(c.ops, "text 500 175 -0.1200"));
    // Points beyond the count (0 here) stay out of the extremes.
    const std::vector<std::string> texts = {
        "text 500 175 -0.1200",
        centred(500, 10, "Developped downstream view of radial deflection (x500)"),
        centred(500, 30, "min: -0.1200 inches, max: -0.1200 inches"),
        centred(500, 190, "values <0 are deflection toward downstream"),
    };
    EXPECT_EQ(opsStarting(c.ops, "text"), texts);

    // SI: the same lines, the labels in millimetres.
    f.s.model.UnitSystem = kSI;
    RecordingCanvas si(1000, 200);
    EXPECT_TRUE(DeformeeButtonClick(f.s, si));
    EXPECT_EQ(opsStarting(si.ops, "line"), opsStarting(c.ops, "line"));
    EXPECT_TRUE(hasOp(si.ops, "text 500 175 -3.0"));
    EXPECT_TRUE(hasOp(si.ops, centred(500, 30, "min: -3.0480 mm, max: -3.0480 mm")));
}

TEST(StressView, CrossColoursLengthsAndLabels)
{
    struct Case {
        int mode;
        double s1, s2;
        std::vector<std::string> ops; // lower-half symbols at the crown node (500, 188)
    } cases[] = {
        {0, -100, 0, {"line 500 198 500 178 #0000FF 2 solid", "line 500 188 500 188 #0000FF 2 solid"}},
        {0, 100, 20, {"line 500 198 500 178 #FF0000 2 solid", "line 498 188 502 188 #FF0000 2 solid"}},
        {1, 100, 20, {"text 500 188 100.0", "line 500 198 500 178 #FF0000 2 solid"}},
        {2, 100, -20, {"text 500 188 -20.0", "line 498 188 502 188 #0000FF 2 solid"}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.mode);
        DamFixture f;
        crownPointOnly(f);
        auto& r = f.s.results;
        r.ResPrin1Down[0][20][0] = r.ResPrin1Down[1][20][0] = k.s1;
        r.ResPrin2Down[0][20][0] = r.ResPrin2Down[1][20][0] = k.s2;
        f.s.view.ValuesMode = k.mode;
        RecordingCanvas c(1000, 200);
        EXPECT_TRUE(SiButtonClick(f.s, c));
        EXPECT_DOUBLE_EQ(f.s.view.StressScale, 0.1);
        // Symbols follow the cleared image and the 11 dashed mesh lines of the lower half.
        ASSERT_GE(c.ops.size(), 12 + k.ops.size());
        EXPECT_EQ(std::vector<std::string>(c.ops.begin() + 12, c.ops.begin() + 12 + k.ops.size()), k.ops);
    }
}

TEST(StressView, UpstreamNodesAreMirroredAndOffsetsAreNot)
{
    DamFixture f;
    f.s.results.reset();
    auto& r = f.s.results;
    r.ResStressCount[19] = 1;
    r.ResStressElev[0][19][0] = 50;
    r.ResPrin1Up[0][19][0] = -100;
    r.ResAngleUp[0][19][0] = 90;
    r.ResPrin1Down[0][19][0] = -100;
    r.ResAngleDown[0][19][0] = 90;
    f.s.view.ValuesMode = 1;
    RecordingCanvas c(1000, 200);
    SiButtonClick(f.s, c);
    // Slot 19 at 78.5 px (to even: 78) right of the origin downstream, left upstream.
    const auto lines = opsStarting(c.ops, "line");
    EXPECT_TRUE(hasOp(lines, "line 568 150 588 150 #0000FF 2 solid")); // lower half, y 188 - 38
    EXPECT_TRUE(hasOp(lines, "line 412 50 432 50 #0000FF 2 solid"));   // upper half, y 88 - 38
}

TEST(StressView, ExtremesLinesByValuesMode)
{
    const std::string down0 = "-300.0 psi < PRIN 1 < -100.0 psi     50.0 psi < PRIN 2 < 50.0 psi";
    const std::string up1 = "-200.0 psi < PRIN 1 < -200.0 psi";
    const std::string up2 = "25.0 psi < PRIN 2 < 75.0 psi";
    struct Case {
        int mode, unit;
        std::string down, up;
    } cases[] = {
        {0, kImperial, down0, up1 + "     " + up2},
        {1, kImperial, "-300.0 psi < PRIN 1 < -100.0 psi", up1},
        {2, kImperial, "50.0 psi < PRIN 2 < 50.0 psi", up2},
        {2, kSI, "0.34 MPa < PRIN 2 < 0.34 MPa", "0.17 MPa < PRIN 2 < 0.52 MPa"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.mode);
        DamFixture f;
        f.addResults();
        f.s.view.ValuesMode = k.mode;
        f.s.model.UnitSystem = k.unit;
        RecordingCanvas c(1000, 200);
        EXPECT_TRUE(SiButtonClick(f.s, c));
        EXPECT_TRUE(hasOp(c.ops, centred(500, 100, "Developped downstream view of principal stresses")));
        EXPECT_TRUE(hasOp(c.ops, centred(500, 120, k.down)));
        EXPECT_TRUE(hasOp(c.ops, centred(500, 10, "Developped upstream view of principal stresses")));
        EXPECT_TRUE(hasOp(c.ops, centred(500, 30, k.up)));
        EXPECT_EQ(c.ops.back(),
                  centred(500, 190, "Compression (value <0) are in blue and tension (value >0) are in red"));
    }
}

TEST(ForcesView, DirectionsSkippedFootAndSecondLine)
{
    DamFixture f;
    f.s.results.reset();
    auto& r = f.s.results;
    for (int i : {20, 21}) {
        r.ResStressCount[i] = 1;
        r.ResStressElev[0][i][0] = i == 20 ? 0 : 50;
        r.ResAbutForce[0][i][0] = r.ResAbutForce[1][i][0] = 100000;
    }
    f.s.view.ForceScale = 0.0001; // 10 px
    RecordingCanvas c(1000, 200); // upper half: scale 0.75, origin (500, 88)
    EXPECT_TRUE(FappuiButtonClick(f.s, c));
    const auto red = opsStarting(c.ops, "line");
    std::vector<std::string> forces;
    for (const auto& op : red)
        if (op.find("#FF0000 2") != std::string::npos) forces.push_back(op);
    // Slot 20 takes the right-side rule, slot 21 the left one; the
    // cantilevers without a stress point (18, 19, 22) are skipped.
    EXPECT_EQ(forces, (std::vector<std::string>{"line 500 88 510 88 #FF0000 2 solid",
                                                "line 422 50 412 50 #FF0000 2 solid"}));

    const std::string title = "Developped downstream view of the resultant of forces in the vertical plane "
                              "in the tangent direction";
    EXPECT_TRUE(hasOp(c.ops, centred(500, 10, title)));
    EXPECT_TRUE(hasOp(c.ops, "text 500 30 ")); // an empty second line in mode 0
    struct Case {
        int mode, unit;
        std::string line;
    } cases[] = {
        {1, kImperial, " Resultant forces in the vertical plan in the tangent direction (pounds)"},
        {1, kSI, " Resultant forces in the vertical plan in the tangent direction (N)"},
        {2, kImperial, " Angle measured from tangential toward downward (°)"},
    };
    for (const auto& k : cases) {
        f.s.view.ValuesMode = k.mode;
        f.s.model.UnitSystem = k.unit;
        RecordingCanvas v(1000, 200);
        FappuiButtonClick(f.s, v);
        EXPECT_TRUE(hasOp(v.ops, centred(500, 30, k.line))) << k.line;
    }
}

TEST(ForcesView, CantileverSectionsAreSpacedByEqualGaps)
{
    DamFixture f;
    f.s.results.reset();
    f.s.model.FirstCons = 19; // inner cantilevers 20 and 21
    auto& r = f.s.results;
    for (int b : {20, 21}) {
        r.ResConsGeomCount[b] = 2;
        r.ResConsGeom[0][b][0] = b == 20 ? 0 : 50;
        r.ResConsGeom[0][b][1] = 100;
        r.ResConsGeom[2][b][0] = r.ResConsGeom[2][b][1] = 20; // 20 ft wide, no offset
    }
    RecordingCanvas c(1000, 200);
    EXPECT_TRUE(FappuiButtonClick(f.s, c));
    EXPECT_DOUBLE_EQ(f.s.draw.ViewScale, 0.75);
    // Gaps of round((1000 - 2 x 20 x 0.75) / 3) = 323 px.
    const auto it = std::find(c.ops.begin(), c.ops.end(), "line 323 188 338 188 #000000 1 solid");
    ASSERT_NE(it, c.ops.end());
    const std::vector<std::string> first(it, it + 5);
    EXPECT_EQ(first, (std::vector<std::string>{
                         "line 323 188 338 188 #000000 1 solid", // base
                         "line 338 188 338 113 #000000 1 solid", // downstream face
                         "line 338 113 323 113 #000000 1 solid", // top
                         "line 323 113 323 188 #000000 1 solid", // upstream face
                         "line 330 188 330 188 #FF0000 2 solid", // force at the middle of the base
                     }));
    EXPECT_TRUE(hasOp(c.ops, "line 661 150 676 150 #000000 1 solid"));
}

TEST(LoadView, PolylinesLabelsAndSkippedLevels)
{
    DamFixture f;
    f.s.model.LastCons = 23; // inner cantilevers 19..22
    f.s.model.ConsAngle[23] = -50;
    f.s.model.ConsBaseElev[23] = 100;
    f.s.results.reset();
    auto& r = f.s.results;
    // Points at 50 and 100 ft; the crown adds a level at 75 ft that matches no arch.
    for (int i = 18; i <= 23; ++i) {
        const double z[] = {50, 100, 75};
        const int n = i == 20 ? 3 : 2;
        r.ResDeflCount[i] = n;
        for (int k = 0; k < n; ++k) {
            r.ResDeflElev[0][i][k] = z[k];
            r.ResDeflElev[1][i][k] = z[k] * 0.3048;
            r.ResConsLoad[0][i][k] = -1;
            r.ResConsLoad[1][i][k] = -47880.26;
        }
    }
    // At 50 ft slot 19 has no point (the start of the run), at 100 ft slot
    // 21 has none (inside the run).
    r.ResDeflElev[0][19][0] = kNoElevation;
    r.ResDeflElev[0][21][1] = kNoElevation;
    f.s.view.ValuesMode = 1;
    RecordingCanvas c(1000, 200);
    EXPECT_TRUE(LoadButtonClick(f.s, c));
    EXPECT_DOUBLE_EQ(f.s.view.LoadScale, 5);
    std::vector<std::string> red;
    for (const auto& op : c.ops)
        if (op.find("#FF0000") != std::string::npos) red.push_back(op);
    // w = -1: tips 5 px down-left of the nodes, shifted 2 px right.
    const std::vector<std::string> expected = {
        // 50 ft: the run starts at slot 20 and goes on to 21 and 22.
        "line 498 103 502 100 #FF0000 2 solid",
        "line 498 103 341 103 #FF0000 2 solid",
        "line 341 103 345 100 #FF0000 2 solid",
        "line 341 103 262 103 #FF0000 2 solid",
        "line 262 103 266 100 #FF0000 2 solid",
        // 100 ft: slots 19 and 20, then from 20's tip straight to 22's.
        "line 655 28 659 25 #FF0000 2 solid",
        "line 655 28 498 28 #FF0000 2 solid",
        "line 498 28 502 25 #FF0000 2 solid",
        "line 498 28 262 28 #FF0000 2 solid",
        "line 262 28 266 25 #FF0000 2 solid",
    };
    EXPECT_EQ(red, expected);
    // Blue cantilever diagram of the crown at 50 ft: pressure 2.498 ksf
    // less the cantilever load of 1 ksf, a tip 7.5 px down-left, 2 px left of the node.
    EXPECT_TRUE(hasOp(c.ops, "line 492 104 498 100 #0000FF 2 solid"));
    // Percentages only below the reservoir (90 ft): none at 100 ft (y 25).
    int below = 0;
    for (const auto& t : opsStarting(c.ops, "text")) {
        if (t.back() != '%') continue;
        EXPECT_EQ(t.find(" 25 "), std::string::npos) << t;
        ++below;
    }
    EXPECT_GT(below, 0);
    EXPECT_TRUE(hasOp(c.ops, centred(500, 10, "Archs and cantilevers loads")));
    EXPECT_TRUE(
        hasOp(c.ops, centred(500, 30, "percentages of the hydrostatic load taken by the cantilevers")));
    EXPECT_EQ(c.ops.back(), centred(500, 190, "Cantilever loads are in blue and arch loads are in red"));
}

TEST(LoadView, LevelsMatchingNoArchRowAreSkipped)
{
    DamFixture f;
    f.s.results.reset();
    auto& r = f.s.results;
    for (int i = 19; i <= 21; ++i) {
        r.ResDeflCount[i] = 1;
        r.ResDeflElev[0][i][0] = 60; // no arch at 60 ft
    }
    RecordingCanvas c(1000, 200);
    EXPECT_TRUE(LoadButtonClick(f.s, c));
    for (const auto& op : c.ops) EXPECT_EQ(op.find("#FF0000"), std::string::npos) << op;
}

TEST(ScaleButtons, DeflectionFactorRoundsToEvenAndStalls)
{
    DamFixture f;
    f.addResults();
    RecordingCanvas c(1000, 200);
    DeformeeButtonClick(f.s, c);
    std::vector<int> seq;
    for (int k = 0; k < 60; ++k) {
        MoinsButtonClick(f.s, c);
        seq.push_back(f.s.view.DeflScale);
    }
    EXPECT_EQ(std::vector<int>(seq.begin(), seq.begin() + 4), (std::vector<int>{455, 414, 376, 342}));
    EXPECT_EQ(seq.back(), 5);
    c.ops.clear();
    PlusButtonClick(f.s, c);
    EXPECT_EQ(f.s.view.DeflScale, 6);
    EXPECT_TRUE(hasOp(c.ops, centred(500, 10, "Developped downstream view of radial deflection (x6)")));
    for (int start : {1, 2, 3, 4}) {
        f.s.view.DeflScale = start;
        PlusButtonClick(f.s, c);
        EXPECT_EQ(f.s.view.DeflScale, start);
    }
}

TEST(ScaleButtons, OtherViewsMultiplyTheirMagnification)
{
    DamFixture f;
    f.addResults();
    RecordingCanvas c(1000, 200);
    SiButtonClick(f.s, c);
    const auto before = opsStarting(c.ops, "line");
    c.ops.clear();
    PlusButtonClick(f.s, c);
    EXPECT_NEAR(f.s.view.StressScale, 0.11, 1e-12);
    EXPECT_NE(opsStarting(c.ops, "line"), before); // longer crosses
    FappuiButtonClick(f.s, c);
    MoinsButtonClick(f.s, c);
    EXPECT_NEAR(f.s.view.ForceScale, 0.00001 / 1.1, 1e-18);
    LoadButtonClick(f.s, c);
    PlusButtonClick(f.s, c);
    EXPECT_NEAR(f.s.view.LoadScale, 5.5, 1e-12);
    // In the geometry views the buttons do nothing.
    for (auto show : {&GeometrieButtonClick, &GeometrieButton3dClick}) {
        show(f.s, c);
        const ViewState v = f.s.view;
        c.ops.clear();
        PlusButtonClick(f.s, c);
        MoinsButtonClick(f.s, c);
        EXPECT_TRUE(c.ops.empty());
        EXPECT_EQ(f.s.view.DeflScale, v.DeflScale);
        EXPECT_EQ(f.s.view.StressScale, v.StressScale);
        EXPECT_EQ(f.s.view.LoadScale, v.LoadScale);
    }
}

TEST(ValuesButton, CyclesByView)
{
    struct Case {
        bool (*show)(const ViewContext&, Canvas&);
        std::vector<int> from, to;
    } cases[] = {
        {&DeformeeButtonClick, {0, 1, 2}, {1, 0, 1}}, {&SiButtonClick, {0, 1, 2}, {1, 2, 0}},
        {&FappuiButtonClick, {0, 1, 2}, {1, 2, 0}},   {&GeometrieButton3dClick, {0, 1, 2}, {1, 0, 1}},
        {&LoadButtonClick, {0, 1, 2}, {1, 0, 1}},     {&GeometrieButtonClick, {0, 1, 2}, {0, 1, 2}},
    };
    for (const auto& k : cases) {
        for (size_t i = 0; i < k.from.size(); ++i) {
            DamFixture f;
            f.addResults();
            RecordingCanvas c(1000, 200);
            k.show(f.s, c);
            const int view = f.s.view.ViewKind;
            f.s.view.ValuesMode = k.from[i];
            c.ops.clear();
            ValeurButtonClick(f.s, c);
            SCOPED_TRACE(view);
            EXPECT_EQ(f.s.view.ValuesMode, k.to[i]);
            EXPECT_EQ(f.s.view.ViewKind, view);
            EXPECT_EQ(c.ops.empty(), view == kView2D); // redrawn, except the 2D view
        }
    }
}

TEST(ValuesButton, ThreePressesReturnToTheFirstPicture)
{
    DamFixture f;
    f.addResults();
    RecordingCanvas c(1000, 200);
    SiButtonClick(f.s, c);
    const auto first = c.ops;
    for (int k = 0; k < 3; ++k) {
        c.ops.clear();
        ValeurButtonClick(f.s, c);
    }
    EXPECT_EQ(c.ops, first);
}

TEST(ResultViews, UnitSystemChangesLabelsOnly)
{
    for (auto show : {&DeformeeButtonClick, &SiButtonClick, &FappuiButtonClick, &LoadButtonClick}) {
        DamFixture f;
        f.addResults();
        f.s.view.ValuesMode = 1;
        RecordingCanvas us(1000, 400), si(1000, 400);
        show(f.s, us);
        f.s.model.UnitSystem = kSI;
        show(f.s, si);
        EXPECT_EQ(opsStarting(us.ops, "line"), opsStarting(si.ops, "line"));
        if (show != &LoadButtonClick) { // percentages read the same in both
            EXPECT_NE(opsStarting(us.ops, "text"), opsStarting(si.ops, "text"));
        }
    }
}
