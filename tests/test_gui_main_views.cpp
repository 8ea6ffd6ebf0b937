// The main window's views on the drawing surface, its mouse gestures, its
// picture file and its layout when resized, offscreen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>

#include "app/MainWindow.h"
#include "forms/DeckReader.h"
#include "solver/ResultsReader.h"
#include "support/TestSupport.h"

using namespace velta;
using velta::test::TempDir;
using velta::test::testData;

namespace {

// The application of the test program, made by main() below so that it is
// gone before the program's static objects are destroyed.
QApplication& app()
{
    return *qApp;
}

class NoDialogs : public ShellDialogs {
public:
    std::optional<std::string> openFile() override { return std::nullopt; }
    std::optional<std::string> saveFile(const std::string&) override { return std::nullopt; }
    Answer askYesNoCancel(const std::string&) override { return Answer::No; }
};

int nonWhite(const QImage& img, QRgb only = 0)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y) & 0xFFFFFF;
            if (p != 0xFFFFFF && (only == 0 || p == only)) ++n;
        }
    return n;
}

struct ViewsWindow : ::testing::Test {
    QApplication& a = app();
    TempDir dir;
    ListSink sink;
    FixedPrompter prompter;
    Session s{sink, prompter};
    NoDialogs dialogs;
    TPrincipaleFiche w{s, dialogs};

    void SetUp() override
    {
        w.FormActivate(dir.path(), QSize(1024, 768));
        bool accepted = true;
        // The case of the sample results: three arches, cantilever slots 18 to 22.
        LectureDonnees(s, accepted, testData("decks/results_case.dat"));
        ASSERT_TRUE(accepted);
        w.syncFromState();
    }
    void readSampleResults()
    {
        LectureResultats(s, testData("results/VELTA0.PLT"), testData("results/results_case.OUT"), dir.path());
        w.syncFromState();
    }
    QPushButton* button(const char* name) { return w.findChild<QPushButton*>(QString::fromUtf8(name)); }
    const QImage& image() { return w.mainImage()->image(); }
    void mouse(QEvent::Type type, QPoint p, Qt::MouseButton b, Qt::MouseButtons held,
               Qt::KeyboardModifiers mods)
    {
        QMouseEvent e(type, QPointF(p), w.mainImage()->mapToGlobal(QPointF(p)), b, held, mods);
        QApplication::sendEvent(w.mainImage(), &e);
    }
};

TEST(MouseState, ModifiersAndButtonsMapToTheExactSet)
{
    struct Case {
        Qt::KeyboardModifiers mods;
        Qt::MouseButtons buttons;
        ShiftState expected;
    };
    const Case cases[] = {
        {Qt::NoModifier, Qt::NoButton, 0},
        {Qt::ControlModifier, Qt::LeftButton, ssCtrl | ssLeft},
        {Qt::ShiftModifier, Qt::LeftButton, ssShift | ssLeft},
        {Qt::ControlModifier | Qt::AltModifier, Qt::LeftButton, ssCtrl | ssAlt | ssLeft},
        {Qt::NoModifier, Qt::MiddleButton, ssMiddle},
        {Qt::NoModifier, Qt::RightButton | Qt::LeftButton, ssRight | ssLeft},
        // Modifiers the views do not know are left out.
        {Qt::MetaModifier | Qt::KeypadModifier, Qt::RightButton, ssRight},
    };
    for (const Case& c : cases) EXPECT_EQ(shiftStateOf(c.mods, c.buttons), c.expected);
    EXPECT_EQ(mouseButtonOf(Qt::LeftButton), MouseButton::Left);
    EXPECT_EQ(mouseButtonOf(Qt::RightButton), MouseButton::Right);
    EXPECT_EQ(mouseButtonOf(Qt::MiddleButton), MouseButton::Middle);
    EXPECT_FALSE(mouseButtonOf(Qt::BackButton).has_value());
}

TEST_F(ViewsWindow, ViewButtonsDrawIntoTheImage)
{
    ASSERT_TRUE(button("GeometrieButton")->isEnabled());
    button("GeometrieButton")->click();
    EXPECT_TRUE(sink.entries.empty()) << sink.texts().front();
    EXPECT_GT(nonWhite(image()), 500);
    EXPECT_TRUE(button("GeometrieButton")->isChecked());

    readSampleResults();
    ASSERT_TRUE(button("DeformeeButton")->isEnabled());
    button("DeformeeButton")->click();
    EXPECT_EQ(s.view.ViewKind, kViewDeflection);
    EXPECT_EQ(s.view.DeflScale, 500);
    EXPECT_GT(nonWhite(image(), 0xFF0000), 20) << "no deflection drawn in red";
    EXPECT_TRUE(button("DeformeeButton")->isChecked());
    EXPECT_FALSE(button("GeometrieButton")->isChecked());

    // "+" redraws with the larger scale; the pressed button stays.
    const QImage before = image().copy();
    button("PlusButton")->click();
    EXPECT_EQ(s.view.DeflScale, 550);
    EXPECT_NE(image(), before);
    EXPECT_TRUE(button("DeformeeButton")->isChecked());
    button("ValeurButton")->click();
    EXPECT_EQ(s.view.ValuesMode, 1);

    for (const char* name : {"SiButton", "FappuiButton", "LoadButton", "GeometrieButton3d"}) {
        button(name)->click();
        EXPECT_GT(nonWhite(image()), 500) << name;
        EXPECT_TRUE(button(name)->isChecked()) << name;
    }
    EXPECT_TRUE(sink.entries.empty()) << sink.texts().front();
    EXPECT_EQ(w.mainImage()->toolTip().count('\n'), 4);
}

TEST_F(ViewsWindow, MouseGesturesTurnMoveAndZoomThe3DView)
{
    readSampleResults();
    button("GeometrieButton3d")->click();
    ASSERT_EQ(s.view.ViewKind, kView3D);
    const int rotationZ = s.draw.RotationZ, rotationX = s.draw.RotationX;

    // Ctrl + left: 30 pixels right, 10 up.
    mouse(QEvent::MouseButtonPress, {200, 200}, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    mouse(QEvent::MouseMove, {230, 190}, Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
    mouse(QEvent::MouseButtonRelease, {230, 190}, Qt::LeftButton, Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(s.draw.RotationZ, rotationZ + 30);
    EXPECT_EQ(s.draw.RotationX, rotationX + 10);

    // An extra Alt disables the gesture.
    mouse(QEvent::MouseButtonPress, {200, 200}, Qt::LeftButton, Qt::LeftButton,
          Qt::ControlModifier | Qt::AltModifier);
    mouse(QEvent::MouseMove, {260, 200}, Qt::NoButton, Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier);
    mouse(QEvent::MouseButtonRelease, {260, 200}, Qt::LeftButton, Qt::NoButton,
          Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(s.draw.RotationZ, rotationZ + 30);

    // Middle: moves, with the move cursor while dragging.
    const int panX = s.draw.PanX;
    mouse(QEvent::MouseButtonPress, {100, 100}, Qt::MiddleButton, Qt::MiddleButton, Qt::NoModifier);
    mouse(QEvent::MouseMove, {140, 120}, Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
    EXPECT_EQ(w.mainImage()->cursor().shape(), Qt::SizeAllCursor);
    mouse(QEvent::MouseButtonRelease, {140, 120}, Qt::MiddleButton, Qt::NoButton, Qt::NoModifier);
    EXPECT_EQ(w.mainImage()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(s.draw.PanX, panX + 40);

    // Shift + left down by 50 pixels: 5 pixels per foot larger.
    const double scale = s.draw.ViewScale;
    mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    mouse(QEvent::MouseMove, {100, 150}, Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    mouse(QEvent::MouseButtonRelease, {100, 150}, Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_NEAR(s.draw.ViewScale, scale + 5, 1e-9);
    EXPECT_GT(nonWhite(image()), 100);
    EXPECT_TRUE(sink.entries.empty()) << sink.texts().front();
}

TEST_F(ViewsWindow, SavePictureWritesTheImageShown)
{
    button("GeometrieButton")->click();
    std::optional<QString> answer = QString::fromStdString(dir.file("view.png"));
    SaveDialogRequest asked;
    w.askSaveFile = [&](const SaveDialogRequest& r) {
        asked = r;
        return answer;
    };
    QAction* save = w.findChild<QAction*>("SavePictureMenu");
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->text(), "Save picture");
    save->trigger();
    EXPECT_EQ(asked.defaultSuffix, "png");
    const QImage back(QString::fromStdString(dir.file("view.png")));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image().convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(sink.entries.empty());

    answer = QString::fromStdString(dir.file("no/such/folder/view.png"));
    save->trigger();
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].kind, MessageKind::Error);
}

TEST_F(ViewsWindow, ResizedWindowKeepsTheLayoutRulesAndRedrawsTheView)
{
    w.show();
    button("GeometrieButton")->click();
    const QImage cropped = image().copy(0, 0, 685, 610);
    w.resize(900, 700);
    QApplication::processEvents();
    EXPECT_EQ(w.mainImage()->geometry(), QRect(185, 20, 900 - 185 - 30, 700 - 20 - 70));
    ASSERT_EQ(image().size(), QSize(685, 610));
    // The view is fitted to the new size, as its button draws it there.
    const QImage redrawn = image().copy();
    EXPECT_NE(redrawn, cropped);
    w.redrawView();
    EXPECT_EQ(image(), redrawn);
    EXPECT_TRUE(sink.entries.empty());
}

} // namespace
