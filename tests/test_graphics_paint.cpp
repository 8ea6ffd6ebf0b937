// The painting canvas on a QImage: pixel-exact thin lines, texts, the
// inverting focus rectangle, and every view painted without a failure.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include "graphics/Graphique.h"
#include "graphics/PaintingCanvas.h"
#include "graphics/ResultViews.h"
#include "test_graphics_fixture.h"

using namespace velta;

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_graphics_paint";
        static char* argv[] = {name, nullptr};
        app_ = new QGuiApplication(argc, argv);
    }
    void TearDown() override { delete app_; }

private:
    QGuiApplication* app_ = nullptr;
};

[[maybe_unused]] auto* const env = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

QRgb at(const QImage& img, int x, int y)
{
    return img.pixel(x, y) & 0xFFFFFF;
}

} // namespace

TEST(PaintingCanvas, ThinLinesLeaveTheirEndPointUnpainted)
{
    QImage img(20, 10, QImage::Format_RGB32);
    img.fill(Qt::white);
    PaintingCanvas c(img);
    c.setPenColor(kRed);
    c.moveTo(2, 3);
    c.lineTo(6, 3);
    for (int x = 2; x < 6; ++x) EXPECT_EQ(at(img, x, 3), 0xFF0000u) << x;
    EXPECT_EQ(at(img, 6, 3), 0xFFFFFFu);
    EXPECT_EQ(at(img, 2, 2), 0xFFFFFFu); // one pixel wide, no antialiasing
    // Dotted: three on, three off.
    c.setPenStyle(PenStyle::Dot);
    c.moveTo(0, 5);
    c.lineTo(12, 5);
    const QRgb expected[] = {0xFF0000, 0xFF0000, 0xFF0000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFF0000};
    for (int x = 0; x < 7; ++x) EXPECT_EQ(at(img, x, 5), expected[x]) << x;
    // Far outside the image: nothing painted, no long walk.
    c.moveTo(-2000000000, 5);
    c.lineTo(2000000000, 6);
}

TEST(PaintingCanvas, RectangleTextAndFocusRectangle)
{
    QImage img(200, 60, QImage::Format_RGB32);
    img.fill(Qt::red);
    PaintingCanvas c(img);
    velta::test::DamFixture f;
    ClearImage(f.s, c);
    EXPECT_EQ(at(img, 0, 0), 0x000000u);    // outlined with the pen
    EXPECT_EQ(at(img, 199, 59), 0x000000u); // right and bottom edges included in the outline
    EXPECT_EQ(at(img, 100, 30), 0xFFFFFFu); // filled white

    const QImage before = img.copy();
    c.drawFocusRect(10, 10, 50, 40);
    EXPECT_NE(img, before);
    c.drawFocusRect(50, 40, 10, 10); // the same rectangle, corners swapped
    EXPECT_EQ(img, before);

    c.textOut(5, 5, "Values");
    EXPECT_EQ(c.penX(), 5 + c.textWidth("Values"));
    EXPECT_GT(c.textWidth("Values"), 0);
    bool ink = false;
    for (int y = 5; y < 25; ++y)
        for (int x = 5; x < 5 + c.textWidth("Values"); ++x) ink = ink || at(img, x, y) == 0;
    EXPECT_TRUE(ink);
}

TEST(PaintingCanvas, EveryViewPaintsAndLogsLikeTheRecordingCanvas)
{
    using Show = bool (*)(const ViewContext&, Canvas&);
    const Show views[] = {&GeometrieButtonClick, &GeometrieButton3dClick, &DeformeeButtonClick,
                          &SiButtonClick,        &FappuiButtonClick,      &LoadButtonClick};
    for (Show show : views) {
        for (int mode = 0; mode < 3; ++mode) {
            velta::test::DamFixture f;
            f.addResults();
            f.s.main.ChargementMenu = true;
            f.s.view.ValuesMode = mode;
            QImage img(640, 480, QImage::Format_RGB32);
            PaintingCanvas c(img);
            std::vector<std::string> log;
            c.setLog(&log);
            EXPECT_TRUE(show(f.s, c));
            EXPECT_TRUE(f.sink.texts().empty());
            // Positions after a text differ with the font, the segments drawn do not.
            velta::test::DamFixture g;
            g.addResults();
            g.s.main.ChargementMenu = true;
            g.s.view.ValuesMode = mode;
            RecordingCanvas r(640, 480);
            show(g.s, r);
            EXPECT_EQ(log.size(), r.ops.size());
            // Something besides white was painted.
            bool drawn = false;
            for (int y = 1; y < 479 && !drawn; ++y)
                for (int x = 1; x < 639 && !drawn; ++x) drawn = at(img, x, y) != 0xFFFFFF;
            EXPECT_TRUE(drawn);
        }
    }
    // The mouse on the painted 3D view.
    velta::test::DamFixture f;
    f.addResults();
    QImage img(640, 480, QImage::Format_RGB32);
    PaintingCanvas c(img);
    GeometrieButton3dClick(f.s, c);
    MainImageMouseDown(f.s, c, MouseButton::Left, ssCtrl | ssLeft, 10, 10);
    for (int k = 1; k < 50; ++k) MainImageMouseMove(f.s, c, ssCtrl | ssLeft, 10 + 3 * k, 10 + 2 * k);
    MainImageMouseUp(f.s, c, MouseButton::Left, ssCtrl, 160, 110);
    EXPECT_TRUE(f.sink.texts().empty());
}
