// The main window, splash screen and about box, offscreen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/About.h"
#include "app/Jpeg.h"
#include "app/MainWindow.h"
#include "app/Splash.h"
#include "support/TestSupport.h"

using namespace velta;
using velta::test::TempDir;

namespace {

QApplication& app() { return *qobject_cast<QApplication*>(QCoreApplication::instance()); }

class NoDialogs : public ShellDialogs {
public:
    std::optional<std::string> openFile() override { return std::nullopt; }
    std::optional<std::string> saveFile(const std::string&) override { return std::nullopt; }
    Answer askYesNoCancel(const std::string&) override
    {
        ++questions;
        return answer;
    }
    Answer answer = Answer::Cancel;
    int questions = 0;
};

struct MainWindowTest : ::testing::Test {
    QApplication& a = app();
    TempDir dir;
    ListSink sink;
    FixedPrompter prompter;
    Session s{sink, prompter};
    NoDialogs dialogs;
    TPrincipaleFiche w{s, dialogs};
    std::vector<QUrl> opened;
    bool viewer = true;

    void SetUp() override
    {
        w.openDocument = [this](const QUrl& u) {
            opened.push_back(u);
            return viewer;
        };
        w.FormActivate(dir.path(), QSize(1024, 768));
    }
    template <class T>
    T* find(const char* name)
    {
        T* t = w.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(t, nullptr) << name;
        return t;
    }
    QAction* action(const char* name) { return find<QAction>(name); }
};

TEST_F(MainWindowTest, WidgetsHaveTheirNamesCaptionsAndInitialStates)
{
    EXPECT_EQ(w.windowTitle(), "VELTA");
    const std::pair<const char*, const char*> buttons[] = {
        {"GeometrieButton", "2D Geometry"},         {"GeometrieButton3d", "3D Geometry"},
        {"DeformeeButton", "Radial deflection"},    {"SiButton", "Principal stresses"},
        {"FappuiButton", "Forces on abutment"},     {"LoadButton", "Arch/Cantilever loads"},
        {"PlusButton", "+"},                        {"MoinsButton", "-"},
        {"ValeurButton", "Values"},
    };
    for (auto [name, caption] : buttons) {
        auto* b = find<QPushButton>(name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), caption) << name;
        EXPECT_FALSE(b->isEnabled()) << name;
        EXPECT_FALSE(b->isChecked()) << name;
    }
    auto* label = find<QLabel>("ScaleLabel");
    EXPECT_EQ(label->text(), "Change scale of the results");
    EXPECT_FALSE(label->isEnabled());
    EXPECT_EQ(find<QTabBar>("TabControl")->count(), 0);
    EXPECT_NE(find<TMainImage>("MainImage"), nullptr);

    const std::pair<const char*, const char*> entries[] = {
        {"OuvrirMenu", "Open"},
        {"EnregistrerMenu", "Save"},
        {"EnregistrerSousMenu", "Save as"},
        {"QuitterMenu", "Exit"},
        {"UniteMenu", "Convert in IS unit"},
        {"GeometrieMenu", "Geometry"},
        {"MateriauxMenu", "Material properties"},
        {"ChargementMenu", "Loads"},
        {"LancerCalculMenu", "Run"},
        {"Resultsfilemenu", "Results files (imp. unit)"},
        {"ExportResultsMenu", "Export results (.csv)"},
        {"HowToUseMenu", "How to use Velta"},
        {"GuideMenu", "VELTA original user's guide"},
        {"HistoryMenu", "Trial-Load method and arch dam design"},
        {"GuidelinesMenu", "French guidelines for arch dams"},
        {"AProposMenu", "About this program"},
    };
    for (auto [name, caption] : entries) {
        QAction* a = action(name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), caption) << name;
    }
    for (const char* name : {"GeometrieMenu", "MateriauxMenu", "ChargementMenu"}) {
        EXPECT_TRUE(action(name)->isCheckable());
        EXPECT_FALSE(action(name)->isChecked());
    }
    EXPECT_FALSE(action("Resultsfilemenu")->isEnabled());
    EXPECT_FALSE(action("ExportResultsMenu")->isEnabled());
    QStringList menus;
    for (QAction* m : w.menuBar()->actions()) menus << m->text();
    EXPECT_EQ(menus, (QStringList{"File", "Data", "Analysis", "Help"}));
}

TEST_F(MainWindowTest, LayoutFollowsTheScreenSize)
{
    EXPECT_EQ(find<TMainImage>("MainImage")->geometry(), QRect(185, 20, 809, 678));
    EXPECT_EQ(find<QTabBar>("TabControl")->geometry(), QRect(185, 0, 809, 20));
    const std::pair<const char*, int> tops[] = {
        {"GeometrieButton", 20}, {"GeometrieButton3d", 80}, {"DeformeeButton", 170},
        {"SiButton", 230},       {"FappuiButton", 290},     {"LoadButton", 350},
    };
    for (auto [name, top] : tops) EXPECT_EQ(find<QPushButton>(name)->geometry(), QRect(20, top, 145, 50)) << name;
    EXPECT_EQ(find<QLabel>("ScaleLabel")->geometry().topLeft(), QPoint(20, 440));
    auto* plus = find<QPushButton>("PlusButton");
    auto* minus = find<QPushButton>("MoinsButton");
    EXPECT_EQ(plus->geometry().topLeft(), QPoint(20, 460));
    EXPECT_EQ(minus->geometry().top(), 460);
    EXPECT_EQ(minus->geometry().left() + minus->width(), 165);
    EXPECT_EQ(find<QPushButton>("ValeurButton")->geometry(), QRect(20, 520, 145, 50));
    EXPECT_EQ(w.mainImage()->image().size(), QSize(809, 678));
    EXPECT_EQ(w.mainImage()->image().pixelColor(400, 300), QColor(Qt::white));

    w.layoutFor(QSize(1280, 1024));
    EXPECT_EQ(find<TMainImage>("MainImage")->geometry(), QRect(185, 20, 1065, 934));
}

TEST_F(MainWindowTest, StartUpResetsTheSessionOnce)
{
    EXPECT_EQ(s.model.ProgramDir, dir.path());
    EXPECT_EQ(s.model.CaseFile[20], "VELTA");
    EXPECT_EQ(s.view.DeflScale, 0);
    s.view.ForceScale = 0.5;
    velta::test::writeFile(s.scratchFile(4, ".PLT"), "x");
    w.FormActivate(dir.path(), QSize(800, 600));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(s.scratchFile(4, ".PLT"))));
    EXPECT_EQ(s.view.ForceScale, 0.5);
}

TEST_F(MainWindowTest, LoadsNeedsTheGeometryMark)
{
    action("ChargementMenu")->trigger();
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Geometry is not yet correctly described"});
    EXPECT_EQ(sink.entries[0].kind, MessageKind::Error);
    // Triggering a checkable entry does not set its mark: the session does.
    EXPECT_FALSE(action("ChargementMenu")->isChecked());
}

TEST_F(MainWindowTest, WindowShowsWhatTheSessionDecides)
{
    s.main.GeometrieMenu = s.main.ChargementMenu = true;
    s.main.GeometrieButton = s.main.PlusButton = true;
    s.main.tabs = {"calc_0", "calc_1"};
    s.main.tabIndex = 1;
    s.main.caption = "/data/dam.dat";
    w.syncFromState();
    EXPECT_EQ(w.windowTitle(), "dam.dat");
    EXPECT_TRUE(action("GeometrieMenu")->isChecked());
    EXPECT_FALSE(action("MateriauxMenu")->isChecked());
    EXPECT_TRUE(find<QPushButton>("GeometrieButton")->isEnabled());
    EXPECT_TRUE(find<QPushButton>("PlusButton")->isEnabled());
    auto* bar = find<QTabBar>("TabControl");
    EXPECT_EQ(bar->count(), 2);
    EXPECT_EQ(bar->currentIndex(), 1);
    EXPECT_EQ(bar->tabText(0), "calc_0");

    action("UniteMenu")->trigger();
    EXPECT_EQ(action("UniteMenu")->text(), "&Convert in imp. unit");
    EXPECT_EQ(s.model.UnitSystem, 1);
    action("UniteMenu")->trigger();
    EXPECT_EQ(action("UniteMenu")->text(), "&Convert in IS unit");
}

TEST_F(MainWindowTest, ViewButtonsFormOneGroupThatMayBeAllUp)
{
    std::vector<int> drawn;
    w.hooks.drawView = [&](int k) { drawn.push_back(k); };
    s.main.GeometrieButton = s.main.SiButton = true;
    w.syncFromState();
    auto* geo = find<QPushButton>("GeometrieButton");
    auto* si = find<QPushButton>("SiButton");
    geo->click();
    EXPECT_TRUE(geo->isChecked());
    si->click();
    EXPECT_TRUE(si->isChecked());
    EXPECT_FALSE(geo->isChecked());
    si->click();
    EXPECT_FALSE(si->isChecked());
    EXPECT_EQ(s.main.viewButtonDown, -1);
    EXPECT_EQ(drawn, (std::vector<int>{kView2D, kViewStresses, kViewStresses}));
}

TEST_F(MainWindowTest, HelpEntriesOpenTheirDocumentsOrSayWhyNot)
{
    const char* files[] = {"How_to_use_Velta.pdf", "VELTA_guide_1997.PDF", "Trial_load_method_history.pdf"};
    // A missing document is named in a message.
    action("HowToUseMenu")->trigger();
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(sink.texts(), std::vector<std::string>{"The document " + dir.file(files[0]) + " is missing."});
    sink.clear();

    for (const char* f : files) velta::test::writeFile(dir.file(f), "%PDF");
    for (const char* name : {"HowToUseMenu", "GuideMenu", "HistoryMenu", "GuidelinesMenu"}) action(name)->trigger();
    ASSERT_EQ(opened.size(), 4u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(opened[i], QUrl::fromLocalFile(QString::fromStdString(dir.file(files[i]))));
    EXPECT_EQ(opened[3].scheme(), "https");
    EXPECT_TRUE(sink.entries.empty());

    // No viewer could be started: the message names the document.
    viewer = false;
    action("GuideMenu")->trigger();
    action("GuidelinesMenu")->trigger();
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{
                                "No viewer could be started for " + dir.file(files[1]) + ".",
                                std::string("No viewer could be started for ") + TPrincipaleFiche::kGuidelinesUrl + "."}));
}

TEST_F(MainWindowTest, CloseBoxAsksTheExitQuestionForAModifiedCase)
{
    w.show();
    s.main.caseModified[0] = true;
    dialogs.answer = Answer::Cancel;
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    dialogs.answer = Answer::No;
    EXPECT_TRUE(w.close());
    EXPECT_EQ(dialogs.questions, 2);
    // Nothing to save: the window closes without a question.
    s.main.caseModified[0] = false;
    w.show();
    EXPECT_TRUE(w.close());
    EXPECT_EQ(dialogs.questions, 2);
}

TEST_F(MainWindowTest, TabPopupRules)
{
    s.main.tabs = {"calc_0"};
    s.main.tabIndex = 0;
    w.tabPopupMenuPopup();
    EXPECT_FALSE(action("tabDupliquermenu")->isEnabled());
    EXPECT_FALSE(action("TabFermerMenu")->isEnabled());
    EXPECT_TRUE(action("Renommer1")->isEnabled());
    s.main.GeometrieMenu = s.main.MateriauxMenu = s.main.ChargementMenu = true;
    s.main.tabs.push_back("calc_1");
    w.tabPopupMenuPopup();
    for (const char* name : {"tabDupliquermenu", "tabEnregistrerMenu", "tabEnregistrerSousMenu", "TabFermerMenu"})
        EXPECT_TRUE(action(name)->isEnabled()) << name;
}

TEST(SplashAndAbout, SizesTextsAndTimer)
{
    app();
    TMotdePasseFiche splash(nullptr, QString::fromUtf8(VELTA_BIN_DIR "/VELTA_splash.jpg"));
    EXPECT_EQ(splash.size(), QSize(699, 225));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash.timer()->interval(), 2000);
    EXPECT_TRUE(splash.timer()->isSingleShot());
    EXPECT_NE(splash.findChild<QLabel*>("Label1"), nullptr);
    EXPECT_EQ(splash.findChild<QLabel*>("Label1")->text(), "The software should only be used for educational purposes");
    EXPECT_FALSE(splash.findChild<QLabel*>("Image1")->pixmap().isNull());
    // The timer ends the modal loop by itself.
    EXPECT_EQ(splash.exec(), QDialog::Accepted);

    TAProposFiche about(nullptr, QString::fromUtf8(VELTA_BIN_DIR "/VELTA_about.jpg"));
    EXPECT_EQ(about.size(), QSize(580, 370));
    EXPECT_EQ(about.findChild<QLabel*>("Warning")->text(),
              "WARNING :  This program should only be used for educational purposes");
    EXPECT_EQ(about.findChild<QLabel*>("Disclaimer")->text().count('\n'), 1);
    EXPECT_FALSE(about.findChild<QLabel*>("ProgramIcon")->pixmap().isNull());
    EXPECT_EQ(about.findChild<QPushButton*>("OKButton")->text(), "OK");
}

TEST(Jpeg, RoundTripAndRefusalOfOtherFiles)
{
    app();
    TempDir dir;
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(QColor(200, 40, 60));
    ASSERT_TRUE(encodeJpeg(img, dir.file("a.jpg")));
    const QImage back = decodeJpeg(dir.file("a.jpg"));
    ASSERT_EQ(back.size(), QSize(40, 30));
    const QColor c = back.pixelColor(20, 15);
    EXPECT_NEAR(c.red(), 200, 8);
    EXPECT_NEAR(c.green(), 40, 8);
    EXPECT_NEAR(c.blue(), 60, 8);

    // Not a JPEG, a missing file, a truncated header: a null image, no exit.
    velta::test::writeFile(dir.file("b.jpg"), "not a picture");
    const std::string bytes = velta::test::readFile(dir.file("a.jpg"));
    velta::test::writeFile(dir.file("c.jpg"), bytes.substr(0, 20));
    EXPECT_TRUE(decodeJpeg(dir.file("b.jpg")).isNull());
    EXPECT_TRUE(decodeJpeg(dir.file("missing.jpg")).isNull());
    EXPECT_TRUE(decodeJpeg(dir.file("c.jpg")).isNull());
    EXPECT_FALSE(encodeJpeg(img, dir.file("no/such/d.jpg")));
}

TEST(Jpeg, WriteOnAFullDiskKeepsThePreviousPicture)
{
    app();
    velta::test::SmallFileSystem disk(1024);
    if (!disk.mounted()) GTEST_SKIP() << "mounting a small file system is not allowed here";
    const std::string path = disk.file("splash.jpg");
    QImage small(8, 8, QImage::Format_RGB32);
    small.fill(QColor(10, 120, 200));
    ASSERT_TRUE(encodeJpeg(small, path));
    const std::string good = velta::test::readFile(path);
    auto listing = [&] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(disk.path())) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    };
    disk.fill();
    const auto before = listing();

    QImage big(400, 400, QImage::Format_RGB32);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x) big.setPixel(x, y, qRgb(x * 7, y * 13, x ^ y));  // compresses poorly
    EXPECT_FALSE(encodeJpeg(big, path));
    EXPECT_EQ(velta::test::readFile(path), good);
    EXPECT_EQ(listing(), before) << "no temporary file is left";

    disk.release(700 * 1024);
    ASSERT_TRUE(encodeJpeg(big, path));
    EXPECT_EQ(decodeJpeg(path).size(), QSize(400, 400));
}

}  // namespace
