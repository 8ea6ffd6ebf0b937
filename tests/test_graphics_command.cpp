// The draw command's options and views.
#include <gtest/gtest.h>

#include "graphics/DrawCommand.h"
#include "graphics/Graphique.h"
#include "graphics/ResultViews.h"
#include "test_graphics_fixture.h"

using namespace velta;

TEST(DrawCommand, Options)
{
    DrawOptions o;
    EXPECT_EQ(parseDrawOptions({"case.dat", "geometry", "out.png"}, o), "");
    EXPECT_EQ(o.width, 1024);
    EXPECT_EQ(o.height, 768);
    EXPECT_EQ(o.valuesMode, 0);
    EXPECT_FALSE(o.si);

    DrawOptions full;
    EXPECT_EQ(parseDrawOptions({"--si", "c.dat", "loads", "--results", "a.PLT", "a.OUT", "o.png", "--size",
                                "1920x1080", "--values", "2", "--log", "ops.txt"},
                               full),
              "");
    EXPECT_EQ(full.casePath, "c.dat");
    EXPECT_EQ(full.view, "loads");
    EXPECT_EQ(full.pngPath, "o.png");
    EXPECT_EQ(full.pltPath, "a.PLT");
    EXPECT_EQ(full.outPath, "a.OUT");
    EXPECT_EQ(full.logPath, "ops.txt");
    EXPECT_TRUE(full.si);
    EXPECT_EQ(full.width, 1920);
    EXPECT_EQ(full.height, 1080);
    EXPECT_EQ(full.valuesMode, 2);

    struct Case {
        std::vector<std::string> args;
        std::string error;
    } errors[] = {
        {{"c.dat", "geometry"}, "draw needs CASE.dat VIEW OUT.png"},
        {{"c.dat", "geometry", "o.png", "extra"}, "draw needs CASE.dat VIEW OUT.png"},
        {{"c.dat", "plan", "o.png"},
         "unknown view plan (geometry, 3d, deflection, stresses, forces, loads, contour-deflection, "
         "contour-stress-up or contour-stress-down)"},
        {{"c.dat", "3d", "o.png"}, "the 3d view needs --results"},
        {{"c.dat", "geometry", "o.png", "--results", "a.PLT"},
         "--results needs two files: RESULTS.PLT RESULTS.OUT"},
        {{"c.dat", "geometry", "o.png", "--size", "0x10"}, "--size needs WxH with W and H from 1 to 16384"},
        {{"c.dat", "geometry", "o.png", "--size", "100"}, "--size needs WxH with W and H from 1 to 16384"},
        {{"c.dat", "geometry", "o.png", "--size", "-5x10"}, "--size needs WxH with W and H from 1 to 16384"},
        {{"c.dat", "geometry", "o.png", "--values", "3"}, "--values needs 0, 1 or 2"},
        {{"c.dat", "geometry", "o.png", "--values"}, "--values needs 0, 1 or 2"},
        {{"c.dat", "geometry", "o.png", "--log"}, "--log needs a file"},
        {{"c.dat", "geometry", "o.png", "--zoom"}, "unknown option --zoom"},
    };
    for (const auto& k : errors) {
        DrawOptions e;
        EXPECT_EQ(parseDrawOptions(k.args, e), k.error);
    }
}

TEST(DrawCommand, EachViewIsDrawnAsItsButtonDrawsIt)
{
    struct Case {
        const char* view;
        bool (*button)(const ViewContext&, Canvas&);
    } cases[] = {
        {"geometry", &GeometrieButtonClick},  {"3d", &GeometrieButton3dClick},
        {"deflection", &DeformeeButtonClick}, {"stresses", &SiButtonClick},
        {"forces", &FappuiButtonClick},       {"loads", &LoadButtonClick},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.view);
        velta::test::DamFixture a, b;
        a.addResults();
        b.addResults();
        RecordingCanvas ca(800, 600), cb(800, 600);
        EXPECT_TRUE(drawNamedView(a.s, ca, k.view));
        k.button(b.s, cb);
        EXPECT_EQ(ca.ops, cb.ops);
    }
}

TEST(DrawCommand, ViewsAvailableByTheEnabledButtons)
{
    velta::test::DamFixture f;
    EXPECT_TRUE(viewAvailable(f.s, "geometry"));
    EXPECT_FALSE(viewAvailable(f.s, "3d"));
    f.s.main.GeometrieButton3d = true;
    f.s.main.LoadButton = true;
    EXPECT_TRUE(viewAvailable(f.s, "3d"));
    EXPECT_TRUE(viewAvailable(f.s, "loads"));
    EXPECT_FALSE(viewAvailable(f.s, "stresses"));
}
