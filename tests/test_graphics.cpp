// Drawing surface, fits, rectangle zoom and the 2D geometry views, checked
// on the recording canvas's operation log.
#include <gtest/gtest.h>
#include <numbers>

#include <cmath>

#include "graphics/Graphique.h"
#include "model/Numbers.h"
#include "test_graphics_fixture.h"

using namespace velta;
using velta::test::DamFixture;
using velta::test::hasOp;
using velta::test::opsStarting;

TEST(RecordingCanvas, LogsEveryOperationInCallOrder)
{
    RecordingCanvas c(100, 50);
    c.setPenColor(kRed);
    c.setPenWidth(2);
    c.setPenStyle(PenStyle::Dash);
    c.moveTo(1, 2);
    c.lineTo(3, 4);
    c.lineTo(5, 6); // from the end of the previous segment
    c.textOut(10, 20, "abc");
    EXPECT_EQ(c.penX(), 10 + 3 * RecordingCanvas::kCharWidth);
    c.setPenStyle(PenStyle::Dot);
    c.lineTo(0, 0); // from the end of the text
    c.setBrushColor(kWhite);
    c.rectangle(0, 0, 100, 50);
    c.setBrushStyle(BrushStyle::Clear);
    c.rectangle(1, 1, 2, 2);
    c.drawFocusRect(5, 6, 7, 8);
    EXPECT_EQ(c.text(), "line 1 2 3 4 #FF0000 2 dash\n"
                        "line 3 4 5 6 #FF0000 2 dash\n"
                        "text 10 20 abc\n"
                        "line 31 20 0 0 #FF0000 2 dot\n"
                        "rect 0 0 100 50 #FF0000 #FFFFFF\n"
                        "rect 1 1 2 2 #FF0000 none\n"
                        "focusrect 5 6 7 8\n");
    // Characters, not bytes, make the width.
    EXPECT_EQ(c.textWidth("(°)"), 3 * RecordingCanvas::kCharWidth);
}

TEST(Scaling, PixelsRoundHalvesToEven)
{
    EXPECT_EQ(px(2.5), 2);
    EXPECT_EQ(px(3.5), 4);
    EXPECT_EQ(px(-2.5), -2);
    EXPECT_EQ(px(2.51), 3);
    // A mesh foundation point whose scaled elevation is exactly half a pixel.
    DamFixture f;
    f.s.view.ViewKind = kViewDeflection;
    f.s.draw.ViewScale = 1;
    f.s.draw.ViewOriginX = 0;
    f.s.draw.ViewOriginY = 100;
    f.s.model.ConsBaseElev[18] = 2.5;
    f.s.model.ConsBaseElev[19] = 3.5;
    RecordingCanvas c(200, 200);
    DrawDevelopedMesh(f.s, c);
    ASSERT_GE(c.ops.size(), 2u);
    EXPECT_EQ(c.ops[0].substr(0, c.ops[0].find(' ', 9)), "line 157 98");
    EXPECT_EQ(c.ops[1].substr(0, c.ops[1].find(' ', 9)), "line 105 96");
}

TEST(Scaling, ShortCrestIsFittedByHeight)
{
    DamFixture f; // crest length 314 ft, height 100 ft
    RecordingCanvas c(1000, 200);
    FitDevelopedView(f.s, c);
    EXPECT_DOUBLE_EQ(f.s.draw.ViewScale, 3.0 * 200 / (4 * 100));
    EXPECT_EQ(f.s.draw.ViewOriginX, 500);
    EXPECT_EQ(f.s.draw.ViewOriginY, 175);
    FitLowerHalf(f.s, c);
    EXPECT_DOUBLE_EQ(f.s.draw.ViewScale, 0.75);
    EXPECT_EQ(f.s.draw.ViewOriginY, 188); // 187.5 to even
    FitUpperHalf(f.s, c);
    EXPECT_DOUBLE_EQ(f.s.draw.ViewScale, 0.75);
    EXPECT_EQ(f.s.draw.ViewOriginY, 88); // 87.5 to even

    RecordingCanvas tall(400, 600); // fitted by the crest length
    FitDevelopedView(f.s, tall);
    EXPECT_NEAR(f.s.draw.ViewScale, 400 / 314.0 * 3 / 4, 1e-12);

    RecordingCanvas c3(1000, 600);
    Fit3DView(f.s, c3);
    const double scale = 1000 / 314.0 * 3 / 4;
    EXPECT_NEAR(f.s.draw.ViewScale, scale, 1e-12);
    EXPECT_EQ(f.s.draw.ViewOriginX, 500);
    EXPECT_EQ(f.s.draw.ViewOriginY, px(300 - 200 * std::cos(std::numbers::pi / 4) / 2 * scale));
    EXPECT_EQ(f.s.draw.ViewMidElevation, 50);
}

TEST(Scaling, FitWithoutExtentRefusesAndViewReportsIt)
{
    struct Case {
        const char* name;
        void (*spoil)(CaseModel&);
        const char* message;
    } cases[] = {
        {"zero height", [](CaseModel& m) { m.TopElev[0] = m.BaseElev[0]; },
         "Drawing stopped: the dam height is zero"},
        {"zero crest", [](CaseModel& m) { m.ArcTab(0, kArcPhiL, 2) = m.ArcTab(0, kArcPhiR, 2) = "0"; },
         "Drawing stopped: the developed crest length is zero"},
        {"no arch", [](CaseModel& m) { m.NbArcs = 0; }, "Drawing stopped: the dam has no arch at the crest"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        DamFixture f;
        k.spoil(f.s.model);
        f.s.draw.ViewScale = 7;
        RecordingCanvas c(1000, 200);
        EXPECT_THROW(FitDevelopedView(f.s, c), DrawingError);
        EXPECT_EQ(f.s.draw.ViewScale, 7); // the mapping is left as it was
        f.s.view.ViewKind = kViewLoads;
        f.s.main.GeometrieMenu = true;
        c.ops.clear();
        EXPECT_FALSE(GeometrieButtonClick(f.s, c));
        // Without a height nothing but the cleared image; without a crest
        // arch the crown section is drawn, the developed view is not.
        if (std::string(k.name) == "zero height")
            EXPECT_EQ(c.ops, std::vector<std::string>{"rect 0 0 1000 200 #000000 #FFFFFF"});
        else
            EXPECT_TRUE(opsStarting(c.ops, "text 100 100 50").empty());
        ASSERT_EQ(f.sink.texts().size(), 1u);
        EXPECT_EQ(f.sink.texts()[0], k.message);
    }
}

TEST(Scaling, ZoomToRectangle)
{
    RecordingCanvas c(1000, 200);
    // Zero width: the height fits and the centre lands at the image centre.
    int ox = 500, oy = 175;
    double s = 1.5;
    const double u = (300 - ox) / s, v = (oy - 100) / s; // world centre of the rectangle
    ZoomToRectangle(c, 300, 300, 50, 150, ox, oy, s);
    EXPECT_DOUBLE_EQ(s, 200 * 1.5 / 100);
    EXPECT_EQ(ox + px(s * u), 500);
    EXPECT_EQ(oy - px(s * v), 100);
    // Successive zooms compound.
    ZoomToRectangle(c, 450, 550, 50, 150, ox, oy, s);
    EXPECT_DOUBLE_EQ(s, 6);
    // A wide rectangle fits its width.
    ox = 500, oy = 175, s = 1.5;
    ZoomToRectangle(c, 0, 500, 0, 10, ox, oy, s);
    EXPECT_DOUBLE_EQ(s, 1000 * 1.5 / 500);
    EXPECT_EQ(ox, 1000);
    // A rectangle without height changes nothing.
    ZoomToRectangle(c, 0, 500, 10, 10, ox, oy, s);
    EXPECT_DOUBLE_EQ(s, 3);
}

TEST(CrownSection, MappingLegendAndLeaders)
{
    DamFixture f;
    RecordingCanvas c(600, 400);
    DrawCrownSection(f.s, c);
    EXPECT_DOUBLE_EQ(f.s.draw.ViewScale, 1.5); // (H / 2) / height x 3 / 4 < W / Rmax x 2 / 3
    EXPECT_EQ(f.s.draw.ViewOriginX, 150);
    EXPECT_EQ(f.s.draw.ViewOriginY, 175);
    const std::string legend = "Us / Ds face of the crown cantilever - Us / Ds Line of centers";
    const std::vector<std::string> expectedStart = {
        "text " + std::to_string(300 - 2 * static_cast<int>(legend.size())) + " 10 " + legend,
        "text 100 175 0",
        "line 107 175 150 175 #000000 1 dot",  // from the end of the base label to the base
        "line 150 175 150 25 #0000FF 1 solid", // upstream face
        "line 150 25 100 25 #000000 1 dot",    // leader of the top label
        "text 100 25 100",
        "line 195 175 165 25 #000000 1 solid", // downstream face
        "line 450 175 450 25 #000000 1 solid", // downstream line of centres
        "line 450 175 450 25 #0000FF 1 solid", // upstream line of centres
    };
    EXPECT_EQ(c.ops, expectedStart);
    EXPECT_EQ(c.pen().color, kBlack);
    EXPECT_EQ(c.pen().style, PenStyle::Solid);
    EXPECT_EQ(c.pen().width, 1);
}

TEST(CrownSection, CircleRowIsDrawnInTenChords)
{
    struct Case {
        const char* radius;
        int endX; // screen x of the top: a -+ 100 ft, mapped
    } cases[] = {{"100", 150 + px(1.5 * -50)}, {"-100", 150 + px(1.5 * 150)}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.radius);
        DamFixture f;
        // Base at abscissa 50, elevation 0; top row a circle centred at
        // (50, 100), at the row's elevation.
        Tab3dim& t = f.s.model.FaceTab[kUpstreamFace];
        t(0, kColAbscissa, 0) = "50";
        t(0, kColSlope, 1) = "";
        t(0, kColCircleX, 1) = "50";
        t(0, kColCircleZ, 1) = "100";
        t(0, kColCircleRadius, 1) = k.radius;
        RecordingCanvas c(600, 400);
        DrawCrownSection(f.s, c);
        const auto face = opsStarting(c.ops, "line");
        std::vector<std::string> blue;
        for (const auto& op : face)
            if (op.find("#0000FF 1 solid") != std::string::npos) blue.push_back(op);
        ASSERT_EQ(blue.size(), 11u); // 10 chords, then the upstream line of centres
        EXPECT_NE(blue[9].find(" " + std::to_string(k.endX) + " 25 #0000FF"), std::string::npos) << blue[9];
        EXPECT_EQ(blue[0].rfind("line 225 175 ", 0), 0u) << blue[0];
    }
}

TEST(CrownSection, WaterMarksAndTheirConditions)
{
    struct Case {
        const char* name;
        bool loads;
        double twe;
        int viewKind;
        bool rwe, tweMark;
    } cases[] = {
        {"loads not validated", false, 20, kView2D, false, false},
        {"both", true, 20, kView2D, true, true},
        {"tailwater at the base", true, 0, kView2D, true, false},
        {"not the geometry view", true, 20, kViewDeflection, false, false},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        DamFixture f;
        // Upstream face bulging upstream: a circle through (0, 0) and (0, 100)
        // whose chord point at mid height reaches abscissa -50.
        Tab3dim& t = f.s.model.FaceTab[kUpstreamFace];
        t(0, kColSlope, 1) = "";
        t(0, kColCircleX, 1) = "0";
        t(0, kColCircleZ, 1) = "50";
        t(0, kColCircleRadius, 1) = "50";
        f.s.main.ChargementMenu = k.loads;
        f.s.model.Twe[0] = k.twe;
        f.s.view.ViewKind = k.viewKind;
        RecordingCanvas c(600, 400);
        DrawCrownSection(f.s, c);
        // RWE 90 ft: y = 175 - 135; from the smallest abscissa (-50 ft) 100 px left.
        EXPECT_EQ(hasOp(c.ops, "line 75 40 -25 40 #0000FF 1 dot"), k.rwe);
        EXPECT_EQ(hasOp(c.ops, "text -25 40 RWE 90"), k.rwe);
        // TWE 20 ft: from the largest downstream abscissa (30 ft) 50 px right.
        EXPECT_EQ(hasOp(c.ops, "line 195 145 245 145 #0000FF 1 dot"), k.tweMark);
        EXPECT_EQ(hasOp(c.ops, "text 245 145 TWE 20"), k.tweMark);
    }
}

TEST(CrownSection, TwoCentresAddTheDottedRightLinesOfCentres)
{
    DamFixture f;
    RecordingCanvas one(600, 400);
    DrawCrownSection(f.s, one);
    f.s.geo.NbCenterEdit = 2;
    f.setFace(kRightUpstreamLoC, {{0, 180}, {100, 180}});
    f.setFace(kRightDownstreamLoC, {{0, 190}, {100, 190}});
    RecordingCanvas two(600, 400);
    DrawCrownSection(f.s, two);
    ASSERT_EQ(two.ops.size(), one.ops.size() + 2);
    EXPECT_EQ(two.ops[two.ops.size() - 2], "line 435 175 435 25 #000000 1 dot");
    EXPECT_EQ(two.ops.back(), "line 420 175 420 25 #0000FF 1 dot");
    EXPECT_NE(two.ops[0].find("(dot line) "), std::string::npos);
    EXPECT_EQ(two.pen().style, PenStyle::Solid);
}

TEST(DevelopedMesh, GeometryViewLabelsArchesWithCodeZeroOnly)
{
    DamFixture f;
    f.s.view.ViewKind = kView2D;
    RecordingCanvas c(1000, 200);
    FitDevelopedView(f.s, c); // scale 1.5, origin (500, 175)
    setPen(c, kBlack, 1, PenStyle::Solid);
    DrawDevelopedMesh(f.s, c);
    const std::vector<std::string> expected = {
        // Cantilevers 18..22 from their foundation to the crest.
        "line 736 25 736 25 #000000 1 solid",
        "line 657 100 657 25 #000000 1 solid",
        "line 500 175 500 25 #000000 1 solid",
        "line 343 100 343 25 #000000 1 solid",
        "line 264 25 264 25 #000000 1 solid",
        // Foundation line.
        "line 736 25 657 100 #000000 1 solid",
        "line 657 100 500 175 #000000 1 solid",
        "line 500 175 343 100 #000000 1 solid",
        "line 343 100 264 25 #000000 1 solid",
        // Crest arch (235.5 px each side rounds to 236), then the arch at 50.
        "text 100 25 100",
        "line 100 25 736 25 #000000 1 dot",
        "line 736 25 264 25 #000000 1 solid",
        "text 100 100 50",
        "line 100 100 657 100 #000000 1 dot",
        "line 657 100 343 100 #000000 1 solid",
    };
    EXPECT_EQ(c.ops, expected); // the arch at 0 ft has code 1: not drawn
}

TEST(DevelopedMesh, OnlyTheExactCodeZeroIsDrawn)
{
    for (const char* code : {"0 ", "00", " 0", ""}) {
        SCOPED_TRACE(code);
        DamFixture f;
        f.s.view.ViewKind = kViewDeflection;
        f.setArc(1, "50", "15.24", code, "30", "30");
        f.setArc(2, "100", "30.48", code, "45", "45");
        RecordingCanvas c(1000, 200);
        FitDevelopedView(f.s, c);
        DrawDevelopedMesh(f.s, c);
        EXPECT_EQ(c.ops.size(), 9u); // cantilevers and foundation only
    }
}

TEST(DevelopedMesh, ResultViewsAreUnlabelledAndUpstreamViewIsMirrored)
{
    DamFixture f;
    f.s.view.ViewKind = kViewStresses;
    RecordingCanvas c(1000, 200);
    FitDevelopedView(f.s, c);
    setPen(c, kBlack, 1, PenStyle::Dash);
    DrawDevelopedMesh(f.s, c);
    EXPECT_TRUE(opsStarting(c.ops, "text").empty());
    for (const auto& op : c.ops) EXPECT_NE(op.find("dash"), std::string::npos) << op;
    EXPECT_EQ(c.ops.back(), "line 657 100 343 100 #000000 1 dash");

    RecordingCanvas up(1000, 200);
    f.s.view.ViewKind = kView2D; // never labelled, whatever the view
    DrawMeshFromUpstream(f.s, up);
    EXPECT_TRUE(opsStarting(up.ops, "text").empty());
    EXPECT_EQ(up.ops[0], "line 264 25 264 25 #000000 1 solid");
    EXPECT_EQ(up.ops.back(), "line 343 100 657 100 #000000 1 solid");
}

TEST(GeometryView, TitleAndFailuresThatStopTheDrawing)
{
    DamFixture f;
    f.s.main.ChargementMenu = true;
    RecordingCanvas c(1000, 400);
    EXPECT_TRUE(GeometrieButtonClick(f.s, c));
    EXPECT_EQ(f.s.view.ViewKind, kView2D);
    const std::string title = "Developped downstream view of the archs and cantilevers";
    EXPECT_EQ(c.ops.back(),
              "text " + std::to_string(500 - 2 * static_cast<int>(title.size())) + " 200 " + title);
    EXPECT_TRUE(f.sink.texts().empty());

    struct Case {
        const char* name;
        void (*spoil)(CaseModel&);
        const char* message;
    } cases[] = {
        {"arch elevation not a number", [](CaseModel& m) { m.ArcTab(0, kArcElevation, 1) = "5O"; },
         "Drawing stopped: '5O' is not a valid number"},
        {"circle that does not reach",
         [](CaseModel& m) {
             m.FaceTab[kUpstreamFace](0, kColCircleX, 1) = "0";
             m.FaceTab[kUpstreamFace](0, kColCircleZ, 1) = "100";
             m.FaceTab[kUpstreamFace](0, kColCircleRadius, 1) = "10";
         },
         nullptr},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        DamFixture g;
        k.spoil(g.s.model);
        RecordingCanvas c2(1000, 400);
        EXPECT_FALSE(GeometrieButtonClick(g.s, c2));
        ASSERT_EQ(g.sink.texts().size(), 1u);
        if (k.message) {
            EXPECT_EQ(g.sink.texts()[0], k.message);
        }
        EXPECT_EQ(g.sink.texts()[0].rfind("Drawing stopped: ", 0), 0u);
        EXPECT_FALSE(c2.ops.empty()); // what was drawn before stays
    }
}
