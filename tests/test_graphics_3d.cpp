// The 3D wire frame and the mouse gestures of the main image.
#include <gtest/gtest.h>

#include <climits>

#include "graphics/Graphique.h"
#include "graphics/ResultViews.h"
#include "test_graphics_fixture.h"

using namespace velta;
using velta::test::DamFixture;
using velta::test::opsStarting;

namespace {

struct View3D : ::testing::Test {
    DamFixture f;
    RecordingCanvas c{1000, 600};
    std::vector<CursorShape> cursors;
    CursorHook hook = [this](CursorShape k) { cursors.push_back(k); };

    void SetUp() override
    {
        f.addResults();
        ASSERT_TRUE(GeometrieButton3dClick(f.s, c));
        c.ops.clear();
    }
    void drag(MouseButton b, ShiftState st, int x0, int y0, int x1, int y1)
    {
        MainImageMouseDown(f.s, c, b, st, x0, y0);
        MainImageMouseMove(f.s, c, st, x1, y1, hook);
        MainImageMouseUp(f.s, c, b, st & ~(ssLeft | ssRight | ssMiddle), x1, y1, hook);
    }
};

// Smallest and largest x of the segments drawn.
std::pair<int, int> xRange(const std::vector<std::string>& ops)
{
    int lo = INT_MAX, hi = INT_MIN;
    for (const auto& op : opsStarting(ops, "line")) {
        int x1, y1, x2, y2;
        std::sscanf(op.c_str(), "line %d %d %d %d", &x1, &y1, &x2, &y2);
        lo = std::min({lo, x1, x2});
        hi = std::max({hi, x1, x2});
    }
    return {lo, hi};
}

} // namespace

TEST_F(View3D, ButtonSetsInitialViewTextsAndHint)
{
    EXPECT_EQ(f.s.view.ViewKind, kView3D);
    EXPECT_EQ(f.s.draw.RotationX, 90);
    EXPECT_EQ(f.s.draw.RotationZ, 0);
    EXPECT_EQ(f.s.draw.RotationY, 0);
    EXPECT_EQ(textLength(f.s.main.MainImageHint), 161);
    f.s.view.ValuesMode = 1;
    f.s.model.UnitSystem = kSI;
    GeometrieButton3dClick(f.s, c);
    const auto texts = opsStarting(c.ops, "text");
    const std::string help = "Move:middle click   Rotation:Ctrl+left click   Zoom:Shift+left click   Zoom "
                             "window:right click toward right bottom   initial view:right click toward top";
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[texts.size() - 3], "text 428 20 3D view of the archs and cantilevers");
    EXPECT_EQ(texts[texts.size() - 2], "text " + std::to_string(500 - 2 * 52) +
                                           " 40 thickness at the top and base of the cantilevers (m)");
    EXPECT_EQ(texts.back(), "text " + std::to_string(500 - 2 * textLength(help)) + " 580 " + help);
    // Thickness labels in metres: 30 ft at the base of the crown section.
    EXPECT_NE(
        std::find_if(texts.begin(), texts.end(),
                     [](const std::string& t) { return t.size() > 5 && t.substr(t.size() - 5) == " 9.14"; }),
        texts.end());
}

TEST_F(View3D, InitialOrientationPlacesSidesAndElevations)
{
    // Arches out of the picture: only the cantilever sections remain,
    // whatever the arch codes.
    for (int k = 0; k < 3; ++k) f.s.model.ArcTab(0, kArcCode, k) = f.s.model.ArcTab(1, kArcCode, k) = "1";
    struct Case {
        int first, last; // the only inner slot is first + 1
        bool right;
    } cases[] = {{18, 20, true}, {20, 22, false}};
    for (const auto& k : cases) {
        f.s.model.FirstCons = k.first;
        f.s.model.LastCons = k.last;
        RecordingCanvas v(1000, 600);
        GeometrieButton3dClick(f.s, v);
        const auto [lo, hi] = xRange(v.ops);
        if (k.right)
            EXPECT_GT(lo, 500);
        else
            EXPECT_LT(hi, 500);
    }
    // The mid elevation (50 ft) at mid height, higher elevations higher.
    const ProjectedPoint mid = ProjectPoint(f.s, c, scalePoint(f.s, 0, 0, 50));
    const ProjectedPoint top = ProjectPoint(f.s, c, scalePoint(f.s, 0, 0, 100));
    EXPECT_NEAR(mid.y, 300, 1e-9);
    EXPECT_LT(top.y, mid.y);
}

TEST_F(View3D, ArchesWithCodeOtherThanZeroAreNotDrawn)
{
    const size_t all = opsStarting((GeometrieButton3dClick(f.s, c), c.ops), "line").size();
    c.ops.clear();
    f.s.model.ArcTab(0, kArcCode, 1) = f.s.model.ArcTab(1, kArcCode, 1) = "0 ";
    GeometrieButton3dClick(f.s, c);
    EXPECT_EQ(opsStarting(c.ops, "line").size(), all - 42); // 21 chords and 21 lines per arch
}

TEST_F(View3D, CtrlDragRotatesOneDegreePerPixel)
{
    drag(MouseButton::Left, ssCtrl | ssLeft, 100, 100, 190, 100);
    EXPECT_EQ(f.s.draw.RotationZ, 90);
    EXPECT_EQ(f.s.draw.RotationX, 90);
    // Turned by 90 degrees about the vertical: the transverse axis is seen end-on.
    const ProjectedPoint p = ProjectPoint(f.s, c, SpacePoint{500 + 100, 300, 0});
    EXPECT_NEAR(p.x, 500, 1e-9);
    drag(MouseButton::Left, ssCtrl | ssLeft, 100, 190, 100, 100);
    EXPECT_EQ(f.s.draw.RotationX, 180);
    // An extra Alt disables the gesture.
    drag(MouseButton::Left, ssCtrl | ssAlt | ssLeft, 100, 100, 150, 100);
    EXPECT_EQ(f.s.draw.RotationZ, 90);
}

TEST_F(View3D, MiddleDragPansWithTheMoveCursor)
{
    drag(MouseButton::Middle, ssMiddle, 100, 100, 130, 80);
    EXPECT_EQ(f.s.draw.PanX, 30);
    EXPECT_EQ(f.s.draw.PanY, -20);
    EXPECT_EQ(cursors, (std::vector<CursorShape>{CursorShape::Move, CursorShape::Arrow}));
}

TEST_F(View3D, ShiftDragZoomHasAFloorOfOne)
{
    const double s0 = f.s.draw.ViewScale;
    drag(MouseButton::Left, ssShift | ssLeft, 100, 100, 100, 110);
    EXPECT_DOUBLE_EQ(f.s.draw.ViewScale, s0 + 1);
    f.s.draw.ViewScale = s0;
    drag(MouseButton::Left, ssShift | ssLeft, 100, 100, 100, 85); // |s0 - 1.5| <= 1
    EXPECT_DOUBLE_EQ(f.s.draw.ViewScale, 1);
    f.s.draw.ViewScale = s0;
    drag(MouseButton::Left, ssShift | ssLeft, 100, 300, 100, 100); // below -1: its absolute value
    EXPECT_DOUBLE_EQ(f.s.draw.ViewScale, std::abs(s0 - 20));
}

TEST_F(View3D, RightButtonGestures)
{
    const DrawState initial = f.s.draw;
    // Rubber band: the previous rectangle is erased, the new one drawn.
    MainImageMouseDown(f.s, c, MouseButton::Right, ssRight, 400, 200);
    MainImageMouseMove(f.s, c, ssRight, 600, 300);
    EXPECT_EQ(c.ops, (std::vector<std::string>{"focusrect 400 200 400 200", "focusrect 400 200 600 300"}));
    MainImageMouseUp(f.s, c, MouseButton::Right, 0, 600, 300);
    EXPECT_DOUBLE_EQ(f.s.draw.ViewScale, initial.ViewScale * 1000 / 200); // zoom window, width limits

    // Toward the top: the initial view again.
    drag(MouseButton::Left, ssCtrl | ssLeft, 100, 100, 150, 120);
    drag(MouseButton::Right, ssRight, 500, 300, 520, 250);
    EXPECT_EQ(f.s.draw.ViewScale, initial.ViewScale);
    EXPECT_EQ(f.s.draw.ViewOriginY, initial.ViewOriginY);
    EXPECT_EQ(f.s.draw.RotationX, 90);
    EXPECT_EQ(f.s.draw.RotationZ, 0);

    // A horizontal drag does not zoom; a click redraws the view unchanged.
    const auto before = (c.ops.clear(), GeometrieButton3dClick(f.s, c), c.ops);
    c.ops.clear();
    drag(MouseButton::Right, ssRight, 400, 200, 600, 200);
    EXPECT_EQ(f.s.draw.ViewScale, initial.ViewScale);
    c.ops.clear();
    MainImageMouseDown(f.s, c, MouseButton::Right, ssRight, 300, 300);
    MainImageMouseUp(f.s, c, MouseButton::Right, 0, 300, 300);
    EXPECT_EQ(c.ops.size(), before.size() - 2); // the same wire frame, without the title and help
    EXPECT_EQ(opsStarting(c.ops, "line"), opsStarting(before, "line"));
}

TEST(Mouse, DeflectionViewZoomsCompoundsAndResets)
{
    DamFixture f;
    f.addResults();
    RecordingCanvas c(1000, 200);
    DeformeeButtonClick(f.s, c);
    const double s0 = f.s.draw.ViewScale;
    // A click without movement does nothing.
    c.ops.clear();
    MainImageMouseDown(f.s, c, MouseButton::Right, ssRight, 300, 50);
    MainImageMouseUp(f.s, c, MouseButton::Right, 0, 300, 50);
    EXPECT_TRUE(c.ops.empty());
    // Two zoom windows compound; no titles are written.
    for (int k = 1; k <= 2; ++k) {
        c.ops.clear();
        MainImageMouseDown(f.s, c, MouseButton::Right, ssRight, 450, 50);
        MainImageMouseMove(f.s, c, ssRight, 550, 150);
        MainImageMouseUp(f.s, c, MouseButton::Right, 0, 550, 150);
        EXPECT_DOUBLE_EQ(f.s.draw.ViewScale, s0 * (k == 1 ? 2 : 4));
        EXPECT_TRUE(opsStarting(c.ops, "text").empty());
    }
    // Toward the left: the view as its button draws it.
    f.s.draw.RotationZ = 30;
    MainImageMouseDown(f.s, c, MouseButton::Right, ssRight, 450, 50);
    MainImageMouseMove(f.s, c, ssRight, 400, 150);
    MainImageMouseUp(f.s, c, MouseButton::Right, 0, 400, 150);
    EXPECT_DOUBLE_EQ(f.s.draw.ViewScale, s0);
    EXPECT_EQ(f.s.draw.RotationZ, 0);
}

TEST(Mouse, StressViewZoomNeverCompounds)
{
    DamFixture f;
    f.addResults();
    RecordingCanvas c(1000, 200);
    SiButtonClick(f.s, c);
    std::vector<std::string> first;
    for (int k = 0; k < 2; ++k) {
        c.ops.clear();
        MainImageMouseDown(f.s, c, MouseButton::Right, ssRight, 450, 50);
        MainImageMouseMove(f.s, c, ssRight, 550, 150);
        MainImageMouseUp(f.s, c, MouseButton::Right, 0, 550, 150);
        EXPECT_DOUBLE_EQ(f.s.draw.ViewScale, 0.75 * 2);
        if (k == 0) first = c.ops;
    }
    EXPECT_EQ(std::vector<std::string>(c.ops.begin() + 2, c.ops.end()),
              std::vector<std::string>(first.begin() + 2, first.end()));
}

TEST(Mouse, OtherViewsIgnoreTheMouse)
{
    DamFixture f;
    f.addResults();
    RecordingCanvas c(1000, 200);
    FappuiButtonClick(f.s, c);
    const DrawState d = f.s.draw;
    c.ops.clear();
    MainImageMouseDown(f.s, c, MouseButton::Right, ssRight, 10, 10);
    MainImageMouseMove(f.s, c, ssRight, 50, 50);
    MainImageMouseUp(f.s, c, MouseButton::Right, 0, 50, 50);
    EXPECT_TRUE(c.ops.empty());
    EXPECT_EQ(f.s.draw.DragStartX, d.DragStartX);
}
