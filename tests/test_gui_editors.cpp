// The editor dialogs drive the core's editor functions: these tests type into
// the widgets, use the menus and buttons, and check the case model, the marks
// and the messages. The rules themselves are tested with the core.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <deque>
#include <memory>

#include "app/EditorMessages.h"
#include "app/GeometryDialog.h"
#include "app/LoadsDialog.h"
#include "app/MaterialDialog.h"
#include "model/Numbers.h"

using namespace velta;

namespace {

QApplication& app() { return *qobject_cast<QApplication*>(QCoreApplication::instance()); }

// Answers the input boxes in turn; nullopt acts as "cancel".
class ScriptedPrompter : public Prompter {
public:
    std::deque<std::optional<std::string>> replies;
    std::vector<std::string> asked;
    std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                       const std::string&) override
    {
        asked.push_back(title + "|" + prompt);
        if (replies.empty()) return std::nullopt;
        auto reply = replies.front();
        replies.pop_front();
        return reply;
    }
};

template <class T> T* child(QWidget* parent, const char* name)
{
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

QString cellText(QTableWidget* grid, int row, int col)
{
    QTableWidgetItem* it = grid->item(row, col);
    return it ? it->text() : QString();
}

// Types into a table cell as the user does: the cell's editor is opened,
// filled and committed by moving to another cell.
void typeCell(QTableWidget* grid, int row, int col, const QString& text)
{
    grid->setCurrentCell(row, col);
    grid->editItem(grid->item(row, col));
    // Closed editors linger until deleted later; the open one is visible.
    QLineEdit* editor = nullptr;
    for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible()) editor = e;
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    if (text.isEmpty())
        QTest::keyClick(editor, Qt::Key_Delete);
    else
        QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Tab);
}

void retype(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, text);
}

QStringList headers(QTableWidget* grid)
{
    QStringList out;
    for (int c = 0; c < grid->columnCount(); ++c) out << grid->horizontalHeaderItem(c)->text();
    return out;
}

QAction* action(QMenu* menu, const char* text)
{
    for (QAction* a : menu->actions())
        if (a->text() == QLatin1String(text)) return a;
    ADD_FAILURE() << text;
    return nullptr;
}

struct EditorFixture : ::testing::Test {
    ListSink sink;
    ScriptedPrompter prompter;
    Session s{sink, prompter};
    int redraws = 0;
    std::function<void()> redraw = [this] { ++redraws; };

    void SetUp() override { app(); }

    // A one-centre dam, 0 to 100 ft, axis radius 200 ft, committed: every
    // face table and line of centres is a straight two-row table, and three
    // arches at 0, 50 and 100 ft.
    void committedGeometry()
    {
        CaseModel& m = s.model;
        m.UnitSystem = kImperial;
        m.NbCenter = 1;
        m.TopElev = {100, 30.48};
        m.BaseElev = {0, 0};
        m.Radius = m.RadiusR = {200, 60.96};
        const char* base[] = {"0", "60", "100", "90", "100", "90"};
        const char* top[] = {"0", "10", "100", "100", "100", "100"};
        for (int t = 0; t < kFaceTabs; ++t) {
            m.FaceRows[t] = 1;
            m.FaceTab[t](kImperial, kColElevation, 0) = "0";
            m.FaceTab[t](kImperial, kColAbscissa, 0) = base[t];
            m.FaceTab[t](kImperial, kColElevation, 1) = "100";
            m.FaceTab[t](kImperial, kColAbscissa, 1) = top[t];
            const double slope = (parseNumber(top[t]) - parseNumber(base[t])) / 100.0;
            m.FaceTab[t](kImperial, kColSlope, 1) = formatF3(slope);
        }
        m.NbArcs = 3;
        const char* arcs[3][4] = {{"0", "1", "", ""}, {"50", "0", "40", "40"}, {"100", "0", "45", "45"}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c) m.ArcTab(kImperial, c, r) = arcs[r][c];
        s.main.GeometrieMenu = true;
    }
};

// --- Material properties ---------------------------------------------------

struct MaterialEditor : EditorFixture {
    void SetUp() override
    {
        EditorFixture::SetUp();
        committedGeometry();
        CaseModel& m = s.model;
        m.Ec = {3, 20.69};
        m.Nuc = {0.2, 0.2};
        m.Wc = {150, 2403};
        m.Thec = {5.5, 9.9};
        m.Er = {2, 13.79};
        m.Nur = {0.25, 0.25};
        const char* moduli[3] = {"1.5", "2.5", "3.5"};
        for (int r = 0; r < 3; ++r) {
            m.DefTab(kImperial, 0, r) = m.ArcTab(kImperial, 0, r);
            m.DefTab(kImperial, 1, r) = moduli[r];
            m.DefTab(kImperial, 2, r) = moduli[r];
        }
    }
};

TEST_F(MaterialEditor, ShowingLoadsTheModelAndOkCommitsWhatWasTyped)
{
    TMateriauFiche dlg(s, redraw);
    dlg.show();
    auto* ec = child<QLineEdit>(&dlg, "EcEdit");
    auto* grid = child<QTableWidget>(&dlg, "DefStringGrid");
    EXPECT_EQ(ec->text(), "3");
    EXPECT_EQ(child<QLineEdit>(&dlg, "NurEdit")->text(), "0.25");
    EXPECT_EQ(child<QLabel>(&dlg, "WcUnitLabel")->text(), "pounds per cubit foot");
    EXPECT_EQ(child<QLabel>(&dlg, "ThecUnitLabel")->text(), "E-06 /°F");
    EXPECT_EQ(headers(grid),
              (QStringList{"Elevation (ft)", "Left modulus(E6 psi)", "Right modulus(E6 psi)"}));
    // One row per arch, top arch first; the elevations cannot be typed into.
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(cellText(grid, 0, 0), "100");
    EXPECT_EQ(cellText(grid, 2, 1), "1.5");
    EXPECT_FALSE(grid->item(0, 0)->flags() & Qt::ItemIsEditable);

    retype(ec, "4.0");
    retype(child<QLineEdit>(&dlg, "WcEdit"), "150");
    QTest::mouseClick(child<QPushButton>(&dlg, "OKButton"), Qt::LeftButton);
    EXPECT_TRUE(sink.entries.empty());
    EXPECT_DOUBLE_EQ(s.model.Ec[kImperial], 4.0);
    EXPECT_NEAR(s.model.Ec[kSI], 27.58, 1e-9);
    EXPECT_TRUE(s.main.MateriauxMenu);
    EXPECT_EQ(redraws, 1);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(MaterialEditor, ModulusKindSwitchesTheFieldAndTheTable)
{
    TMateriauFiche dlg(s, redraw);
    dlg.show();
    auto* er = child<QLineEdit>(&dlg, "EREdit");
    auto* grid = child<QTableWidget>(&dlg, "DefStringGrid");
    auto* kind = child<QButtonGroup>(&dlg, "DefRadioGroup");
    EXPECT_EQ(kind->button(0)->text(), "uniform deformation modulus of the rock");
    EXPECT_EQ(kind->button(1)->text(), "variable deformation moduli of the rock");
    const QColor grey = grid->palette().color(QPalette::Text);
    EXPECT_TRUE(er->isEnabled());
    EXPECT_FALSE(grid->isEnabled());

    QTest::mouseClick(kind->button(1), Qt::LeftButton);
    EXPECT_FALSE(er->isEnabled());
    EXPECT_TRUE(grid->isEnabled());
    EXPECT_NE(grid->palette().color(QPalette::Text), grey);

    typeCell(grid, 0, 1, "4.5");
    QTest::mouseClick(child<QPushButton>(&dlg, "OKButton"), Qt::LeftButton);
    EXPECT_TRUE(s.model.VariableModuli);
    EXPECT_EQ(s.model.DefTab(kImperial, 1, 2), "4.5");
    EXPECT_EQ(s.model.DefTab(kSI, 1, 2), "31.03");

    // The next showing comes back with the variable kind; "uniform" greys the
    // table again.
    dlg.show();
    EXPECT_TRUE(kind->button(1)->isChecked());
    QTest::mouseClick(kind->button(0), Qt::LeftButton);
    EXPECT_TRUE(er->isEnabled());
    EXPECT_EQ(grid->palette().color(QPalette::Text), grey);
}

TEST_F(MaterialEditor, FaultyFieldKeepsTheEditorOpenAndAnnulerClearsTheMark)
{
    s.main.MateriauxMenu = true;
    TMateriauFiche dlg(s, redraw);
    dlg.show();
    retype(child<QLineEdit>(&dlg, "NucEdit"), "x");
    QTest::mouseClick(child<QPushButton>(&dlg, "OKButton"), Qt::LeftButton);
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].kind, MessageKind::Error);
    EXPECT_EQ(sink.entries[0].text, "Erreur d'entrée des materiaux");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(s.main.MateriauxMenu);
    EXPECT_EQ(redraws, 1);

    QTest::mouseClick(child<QPushButton>(&dlg, "AnnulerButton"), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(s.main.MateriauxMenu);
    // The abandoned text is gone at the next showing.
    dlg.show();
    EXPECT_EQ(child<QLineEdit>(&dlg, "NucEdit")->text(), "0.2");
}

TEST_F(MaterialEditor, ModulusCellThatIsNotANumberIsReportedAndTheEditorStays)
{
    TMateriauFiche dlg(s, redraw);
    dlg.show();
    QTest::mouseClick(child<QButtonGroup>(&dlg, "DefRadioGroup")->button(1), Qt::LeftButton);
    typeCell(child<QTableWidget>(&dlg, "DefStringGrid"), 1, 2, "abc");
    QTest::mouseClick(child<QPushButton>(&dlg, "OKButton"), Qt::LeftButton);
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].kind, MessageKind::Error);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(redraws, 0);
}

TEST_F(MaterialEditor, SiShowsTheSiCopyAndLabels)
{
    s.model.UnitSystem = kSI;
    TMateriauFiche dlg(s, redraw);
    dlg.show();
    EXPECT_EQ(child<QLineEdit>(&dlg, "EcEdit")->text(), "20.69");
    EXPECT_EQ(child<QLabel>(&dlg, "EcUnitLabel")->text(), "GPa");
    EXPECT_EQ(child<QLabel>(&dlg, "ErUnitLabel")->text(), "GPa");
    EXPECT_EQ(child<QLabel>(&dlg, "WcUnitLabel")->text(), "kg/m3");
    EXPECT_EQ(child<QLabel>(&dlg, "ThecUnitLabel")->text(), "E-06 /°C");
    EXPECT_EQ(headers(child<QTableWidget>(&dlg, "DefStringGrid")),
              (QStringList{"Elevation (m)", "Left modulus(GPa)", "Right modulus(GPa)"}));
}

// --- Loads -----------------------------------------------------------------

struct LoadsEditor : EditorFixture {
    void SetUp() override
    {
        EditorFixture::SetUp();
        committedGeometry();
        s.model.Rwe = {95, 28.96};
        s.model.Twe = {10, 3.05};
        s.model.GroutIndex = 0;
        s.model.ThUni = true;
    }
};

TEST_F(LoadsEditor, ShowingFillsTheListFieldsAndTables)
{
    TChargementFiche dlg(s, redraw);
    dlg.show();
    auto* grout = child<QComboBox>(&dlg, "GroutComboBox");
    ASSERT_EQ(grout->count(), 3);
    EXPECT_EQ(grout->itemText(0), "100");
    EXPECT_EQ(grout->itemText(2), "0");
    EXPECT_EQ(grout->currentIndex(), 0);
    EXPECT_EQ(child<QLineEdit>(&dlg, "RweEdit")->text(), "95");
    EXPECT_EQ(child<QLabel>(&dlg, "TweUnitLabel")->text(), "ft");
    EXPECT_FALSE(child<QLineEdit>(&dlg, "AccelerationEdit")->isEnabled());
    EXPECT_EQ(child<QLabel>(&dlg, "AccelerationUnitLabel")->text(), "g");
    auto* weight = child<QCheckBox>(&dlg, "WeightDistributionCheckBox");
    EXPECT_EQ(weight->text(), "Distribution of moment due to weight between arch and cantilver");
    EXPECT_EQ(weight->layoutDirection(), Qt::RightToLeft); // caption on the left
    auto* uni = child<QTableWidget>(&dlg, "ThuniStringGrid");
    auto* lin = child<QTableWidget>(&dlg, "ThlinStringGrid");
    EXPECT_EQ(headers(uni), (QStringList{"Elevation (ft)", "Uni temp(°F)"}));
    EXPECT_EQ(headers(lin), (QStringList{"Elevation (ft)", "Lin temp(°F)"}));
    EXPECT_EQ(cellText(lin, 0, 0), "100");
    EXPECT_TRUE(uni->isEnabled());
    EXPECT_FALSE(lin->isEnabled());

    QTest::mouseClick(child<QCheckBox>(&dlg, "thlinCheckBox"), Qt::LeftButton);
    EXPECT_TRUE(lin->isEnabled());
    QTest::mouseClick(child<QCheckBox>(&dlg, "thUniCheckBox"), Qt::LeftButton);
    EXPECT_FALSE(uni->isEnabled());
}

TEST_F(LoadsEditor, OkCommitsTheChoicesAndTablesEvenWhenUnticked)
{
    TChargementFiche dlg(s, redraw);
    dlg.show();
    child<QComboBox>(&dlg, "GroutComboBox")->setCurrentIndex(2);
    retype(child<QLineEdit>(&dlg, "TweEdit"), "");
    typeCell(child<QTableWidget>(&dlg, "ThuniStringGrid"), 0, 1, "18");
    QTest::mouseClick(child<QCheckBox>(&dlg, "thUniCheckBox"), Qt::LeftButton); // untick: still stored
    QTest::mouseClick(child<QCheckBox>(&dlg, "WeightDistributionCheckBox"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(&dlg, "OKButton"), Qt::LeftButton);
    EXPECT_TRUE(sink.entries.empty());
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(s.main.ChargementMenu);
    EXPECT_EQ(redraws, 1);
    const CaseModel& m = s.model;
    EXPECT_EQ(m.GroutIndex, 2);
    EXPECT_FALSE(m.ThUni);
    EXPECT_TRUE(m.WeightDistribution);
    EXPECT_EQ(m.Twe[kImperial], 0.0); // blank tailwater: the base of the dam
    EXPECT_EQ(m.TempTab(kImperial, 1, 2), "18");
    EXPECT_EQ(m.TempTab(kSI, 1, 2), "10.00");

    dlg.show();
    EXPECT_EQ(child<QLineEdit>(&dlg, "TweEdit")->text(), "0");
    EXPECT_EQ(child<QComboBox>(&dlg, "GroutComboBox")->currentIndex(), 2);
}

TEST_F(LoadsEditor, FaultyWaterLevelKeepsTheEditorOpenAndAnnulerClearsTheMark)
{
    s.main.ChargementMenu = true;
    TChargementFiche dlg(s, redraw);
    dlg.show();
    retype(child<QLineEdit>(&dlg, "RweEdit"), "9O");
    QTest::mouseClick(child<QPushButton>(&dlg, "OKButton"), Qt::LeftButton);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Erreur d'entrée des chargements"});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(s.main.ChargementMenu);
    // Escape is the same as "Annuler".
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(s.main.ChargementMenu);
    EXPECT_EQ(s.model.Rwe[kImperial], 95.0);
}

// --- Geometry -------------------------------------------------------------

struct GeometryEditor : EditorFixture {
    void SetUp() override
    {
        EditorFixture::SetUp();
        committedGeometry();
        dlg = std::make_unique<TGeometrieFiche>(s, redraw);
        dlg->show();
        faceGrid = child<QTableWidget>(dlg.get(), "StructureStringGrid");
        arcGrid = child<QTableWidget>(dlg.get(), "ArcStringGrid");
        tabs = child<QTabBar>(dlg.get(), "FaceTabControl");
    }
    void clickTab(int index) { QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center()); }
    // Opens a table's right-click menu on a row (1 = top) as a right click
    // there does; the menu's items then carry their enabled states.
    QMenu* menuOn(QTableWidget* grid, const char* menuName, int row)
    {
        grid->setCurrentCell(row - 1, 1);
        auto* menu = child<QMenu>(dlg.get(), menuName);
        emit menu->aboutToShow();
        return menu;
    }
    QStringList elevations(QTableWidget* grid)
    {
        QStringList out;
        for (int r = 0; r < grid->rowCount(); ++r) out << cellText(grid, r, 0);
        return out;
    }

    std::unique_ptr<TGeometrieFiche> dlg;
    QTableWidget *faceGrid = nullptr, *arcGrid = nullptr;
    QTabBar* tabs = nullptr;
};

TEST_F(GeometryEditor, ShowingLoadsTheCommittedGeometry)
{
    EXPECT_EQ(dlg->windowTitle(), "Geometry");
    EXPECT_EQ(child<QSpinBox>(dlg.get(), "NbCenterEdit")->maximum(), 2);
    EXPECT_EQ(child<QLineEdit>(dlg.get(), "TopDEdit")->text(), "100");
    EXPECT_EQ(child<QLineEdit>(dlg.get(), "RadiusEdit")->text(), "200");
    EXPECT_EQ(child<QLabel>(dlg.get(), "BaseDUnitLabel")->text(), "ft");
    EXPECT_EQ(child<QLabel>(dlg.get(), "RadiusLabel")->text(), "Radius");
    EXPECT_TRUE(child<QLineEdit>(dlg.get(), "RadiusEditR")->isHidden());
    EXPECT_EQ(child<QLabel>(dlg.get(), "LayoutImage")->size(), QSize(130, 150));
    EXPECT_EQ(child<QGroupBox>(dlg.get(), "AngleRadioGroup")->title(), "definition of angles to abutement");
    EXPECT_TRUE(child<QPushButton>(dlg.get(), "OKButton")->isDefault());
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(3), "Downstream line of center");
    EXPECT_EQ(faceGrid->toolTip(), "Right Clic to insert, remove or change elevation");
    EXPECT_EQ(arcGrid->toolTip(), "Right click to inser or remove an arch");
    EXPECT_EQ(faceGrid->columnCount(), 6);
    EXPECT_EQ(faceGrid->horizontalHeaderItem(3)->text(), "Circle \ncenter abs (ft)");
    EXPECT_EQ(headers(arcGrid), (QStringList{"Elevation (ft)", "Procedure ctrl", "Phi L(°)", "Phi R(°)"}));
    // Top row first; the elevation column is fixed.
    EXPECT_EQ(elevations(faceGrid), (QStringList{"100", "0"}));
    EXPECT_EQ(cellText(faceGrid, 0, 2), "0.000");
    EXPECT_EQ(elevations(arcGrid), (QStringList{"100", "50", "0"}));
    EXPECT_EQ(cellText(arcGrid, 0, 2), "45");
    for (QTableWidget* grid : {faceGrid, arcGrid}) {
        EXPECT_FALSE(grid->item(0, 0)->flags() & Qt::ItemIsEditable);
        EXPECT_TRUE(grid->item(0, 1)->flags() & Qt::ItemIsEditable);
    }
}

TEST_F(GeometryEditor, TopAndBaseFieldsFollowIntoBothTablesAtEachKeystroke)
{
    auto* top = child<QLineEdit>(dlg.get(), "TopDEdit");
    top->selectAll();
    QTest::keyClicks(top, "12");
    EXPECT_EQ(cellText(faceGrid, 0, 0), "12");
    EXPECT_EQ(cellText(arcGrid, 0, 0), "12");
    QTest::keyClicks(top, "0");
    EXPECT_EQ(cellText(faceGrid, 0, 0), "120");
    EXPECT_EQ(cellText(arcGrid, 0, 0), "120");
    retype(child<QLineEdit>(dlg.get(), "BaseDEdit"), "-5");
    EXPECT_EQ(cellText(faceGrid, 1, 0), "-5");
    EXPECT_EQ(cellText(arcGrid, 2, 0), "-5");
}

TEST_F(GeometryEditor, CentreCountAddsAndRemovesTheRightHandTabsAndRadius)
{
    auto* spin = child<QSpinBox>(dlg.get(), "NbCenterEdit");
    auto* picture = child<QLabel>(dlg.get(), "LayoutImage");
    const qint64 onePicture = picture->pixmap().cacheKey();
    spin->setValue(2);
    ASSERT_EQ(tabs->count(), 6);
    EXPECT_EQ(tabs->tabText(2), "Left Us LoC");
    EXPECT_EQ(tabs->tabText(5), "Right Ds LoC");
    EXPECT_EQ(child<QLabel>(dlg.get(), "RadiusLabel")->text(), "Left Radius");
    EXPECT_FALSE(child<QLineEdit>(dlg.get(), "RadiusEditR")->isHidden());
    EXPECT_EQ(child<QLabel>(dlg.get(), "RadiusLabelR")->text(), " Right Radius");
    EXPECT_NE(picture->pixmap().cacheKey(), onePicture);
    EXPECT_EQ(picture->pixmap().size(), QSize(130, 150));

    // Leave the upstream face for the right downstream line of centres: a
    // tab is left only through the validation, which passes here.
    clickTab(5);
    EXPECT_EQ(tabs->currentIndex(), 5);
    spin->setValue(1);
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->currentIndex(), s.geo.faceTabIndex);
    EXPECT_EQ(tabs->tabText(2), "Upstream line of center");
    EXPECT_TRUE(child<QLineEdit>(dlg.get(), "RadiusEditR")->isHidden());
    EXPECT_EQ(child<QLabel>(dlg.get(), "RadiusLabel")->text(), "Radius");
    EXPECT_TRUE(sink.entries.empty());
}

TEST_F(GeometryEditor, LeavingAFaceTabIsRefusedWhileItsTableIsWrong)
{
    typeCell(faceGrid, 1, 1, ""); // base abscissa removed
    clickTab(1);
    // Completing the row above then fails on the missing abscissa.
    ASSERT_EQ(sink.entries.size(), 2u);
    EXPECT_EQ(sink.entries[0].text, "Abscisse at the base should be defined");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(s.geo.faceTabIndex, 0);

    sink.clear();
    typeCell(faceGrid, 1, 1, "12");
    clickTab(1);
    EXPECT_TRUE(sink.entries.empty());
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(cellText(faceGrid, 1, 1), "60"); // the downstream face
    // The edit of the upstream face lives on in its working table.
    clickTab(0);
    EXPECT_EQ(cellText(faceGrid, 1, 1), "12");
}

TEST_F(GeometryEditor, RightClickCommandsInsertChangeAndRemoveRows)
{
    // Enabled items follow the row: none but "Insert below" on the top row,
    // nothing on the base row, copying only past the first tab.
    QMenu* menu = menuOn(faceGrid, "FacePopupMenu", 2);
    EXPECT_FALSE(action(menu, "Insert below")->isEnabled());
    EXPECT_FALSE(action(menu, "Remove")->isEnabled());
    EXPECT_FALSE(action(menu, "Copy elevations from prev. tab")->isEnabled());
    menu = menuOn(faceGrid, "FacePopupMenu", 1);
    EXPECT_TRUE(action(menu, "Insert below")->isEnabled());
    EXPECT_FALSE(action(menu, "Change elevation")->isEnabled());

    // Refused entries change nothing.
    prompter.replies = {"0", "100", "abc", std::nullopt};
    for (int i = 0; i < 4; ++i) action(menu, "Insert below")->trigger();
    EXPECT_EQ(elevations(faceGrid), (QStringList{"100", "0"}));
    EXPECT_EQ(sink.entries.size(), 4u);
    EXPECT_EQ(sink.entries[0].text, "Incorrect new elevation");
    EXPECT_EQ(sink.entries[1].text, "Incorrect new elevation");
    EXPECT_EQ(prompter.asked[0], "Insert elevation|Enter the new elevation");

    sink.clear();
    prompter.replies = {"60"};
    action(menu, "Insert below")->trigger();
    EXPECT_EQ(elevations(faceGrid), (QStringList{"100", "60", "0"}));
    EXPECT_EQ(cellText(faceGrid, 1, 1), "");

    menu = menuOn(faceGrid, "FacePopupMenu", 2);
    prompter.replies = {"70"};
    action(menu, "Change elevation")->trigger();
    EXPECT_EQ(elevations(faceGrid), (QStringList{"100", "70", "0"}));
    EXPECT_EQ(prompter.asked.back(), "Change elevation|Enter the modified elevation");
    action(menu, "Remove")->trigger();
    EXPECT_EQ(elevations(faceGrid), (QStringList{"100", "0"}));

    // The arch table has its own captions.
    menu = menuOn(arcGrid, "ArcPopupMenu", 2);
    prompter.replies = {"20"};
    action(menu, "Insert below")->trigger();
    EXPECT_EQ(elevations(arcGrid), (QStringList{"100", "50", "20", "0"}));
    EXPECT_EQ(prompter.asked.back(), "Insert Arch|Enter the new elevation");
    EXPECT_TRUE(sink.entries.empty());
}

TEST_F(GeometryEditor, InsertedArchLeavesEveryArchItsTemperaturesAndModuli)
{
    CaseModel& m = s.model;
    for (int r = 0; r < 3; ++r) {
        m.TempTab(kImperial, 1, r) = std::to_string(r + 1);
        m.DefTab(kImperial, 1, r) = m.DefTab(kImperial, 2, r) = std::to_string(r + 5);
    }
    m.VariableModuli = true;
    m.GroutIndex = 0;
    QMenu* menu = menuOn(arcGrid, "ArcPopupMenu", 1);
    prompter.replies = {"75"};
    action(menu, "Insert below")->trigger();
    ASSERT_EQ(elevations(arcGrid), (QStringList{"100", "75", "50", "0"}));
    typeCell(arcGrid, 1, 1, "0");
    typeCell(arcGrid, 1, 2, "42");
    typeCell(arcGrid, 1, 3, "42");
    QTest::mouseClick(child<QPushButton>(dlg.get(), "OKButton"), Qt::LeftButton);
    ASSERT_TRUE(sink.entries.empty()) << sink.texts()[0];
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(m.TempTab(kImperial, 1, 3), "3");  // the crest keeps its temperature
    EXPECT_EQ(m.TempTab(kImperial, 1, 2), "");   // the new arch has none
    EXPECT_EQ(m.TempTab(kImperial, 1, 1), "2");
    EXPECT_EQ(m.DefTab(kImperial, 1, 3), "7");
    EXPECT_EQ(m.GroutIndex, 0);

    // The loads editor shows them on their arches; the material editor asks
    // for the new arch's moduli before it closes.
    TChargementFiche loads(s, redraw);
    loads.show();
    auto* uni = child<QTableWidget>(&loads, "ThuniStringGrid");
    EXPECT_EQ(cellText(uni, 0, 1), "3");
    EXPECT_EQ(cellText(uni, 1, 1), "");
    EXPECT_EQ(cellText(uni, 2, 1), "2");
    TMateriauFiche mat(s, redraw);
    mat.show();
    QTest::mouseClick(child<QPushButton>(&mat, "OKButton"), Qt::LeftButton);
    EXPECT_TRUE(mat.isVisible());
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_NE(sink.entries[0].text.find("left rock modulus of the arch at elevation 75 ft is empty"),
              std::string::npos);
    auto* def = child<QTableWidget>(&mat, "DefStringGrid");
    typeCell(def, 1, 1, "4");
    typeCell(def, 1, 2, "4.5");
    QTest::mouseClick(child<QPushButton>(&mat, "OKButton"), Qt::LeftButton);
    EXPECT_FALSE(mat.isVisible());
    EXPECT_EQ(m.DefTab(kImperial, 2, 2), "4.5");
    EXPECT_EQ(m.DefTab(kImperial, 2, 3), "7");
}

TEST_F(GeometryEditor, InsertBelowStopsAtElevenRows)
{
    QMenu* menu = nullptr;
    for (int i = 0; i < 9; ++i) {
        menu = menuOn(faceGrid, "FacePopupMenu", 1);
        ASSERT_TRUE(action(menu, "Insert below")->isEnabled()) << i;
        prompter.replies = {std::to_string(10 * (i + 1))};
        action(menu, "Insert below")->trigger();
    }
    ASSERT_EQ(faceGrid->rowCount(), 11);
    menu = menuOn(faceGrid, "FacePopupMenu", 1);
    EXPECT_FALSE(action(menu, "Insert below")->isEnabled());
    prompter.replies = {"95"};
    action(menu, "Insert below")->trigger(); // a disabled item does nothing
    EXPECT_EQ(faceGrid->rowCount(), 11);
    EXPECT_TRUE(sink.entries.empty());
}

TEST_F(GeometryEditor, CopyElevationsFromThePreviousTab)
{
    menuOn(faceGrid, "FacePopupMenu", 1);
    prompter.replies = {"50"};
    action(child<QMenu>(dlg.get(), "FacePopupMenu"), "Insert below")->trigger();
    typeCell(faceGrid, 1, 1, "7");
    clickTab(1);
    ASSERT_EQ(tabs->currentIndex(), 1);
    QMenu* menu = menuOn(faceGrid, "FacePopupMenu", 1);
    ASSERT_TRUE(action(menu, "Copy elevations from prev. tab")->isEnabled());
    action(menu, "Copy elevations from prev. tab")->trigger();
    EXPECT_EQ(elevations(faceGrid), (QStringList{"100", "50", "0"}));
    EXPECT_EQ(cellText(faceGrid, 0, 1), "10"); // other cells stay
}

TEST_F(GeometryEditor, AngleConventionSwitchesBackAndForth)
{
    auto* group = child<QGroupBox>(dlg.get(), "AngleRadioGroup");
    auto radios = group->findChildren<QRadioButton*>();
    ASSERT_EQ(radios.size(), 2);
    QRadioButton* phi = radios[0]->text().contains("Phi") ? radios[0] : radios[1];
    QRadioButton* a = phi == radios[0] ? radios[1] : radios[0];
    EXPECT_EQ(a->text(), "from general axis center (A)");

    QTest::mouseClick(a, Qt::LeftButton);
    EXPECT_TRUE(sink.entries.empty());
    EXPECT_EQ(headers(arcGrid).mid(2), (QStringList{"A L(°)", "A R(°)"}));
    EXPECT_EQ(tabs->currentIndex(), 2); // the line of centres was validated
    const double aTop = cellText(arcGrid, 0, 2).toDouble();
    EXPECT_GT(aTop, 0.0);
    EXPECT_LT(aTop, 45.0);

    QTest::mouseClick(phi, Qt::LeftButton);
    EXPECT_EQ(headers(arcGrid).mid(2), (QStringList{"Phi L(°)", "Phi R(°)"}));
    EXPECT_NEAR(cellText(arcGrid, 0, 2).toDouble(), 45.0, 0.02);
    EXPECT_NEAR(cellText(arcGrid, 1, 3).toDouble(), 40.0, 0.02);
}

TEST_F(GeometryEditor, AngleSwitchRefusedByAWrongLineOfCentresKeepsPhi)
{
    clickTab(2);
    typeCell(faceGrid, 1, 1, "");
    auto* group = child<QGroupBox>(dlg.get(), "AngleRadioGroup");
    for (QRadioButton* b : group->findChildren<QRadioButton*>())
        if (b->text().contains("(A)")) QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_FALSE(sink.entries.empty());
    EXPECT_EQ(s.geo.AngleRadioGroup, 0);
    for (QRadioButton* b : group->findChildren<QRadioButton*>())
        EXPECT_EQ(b->isChecked(), b->text().contains("Phi"));
    EXPECT_EQ(headers(arcGrid).mid(2), (QStringList{"Phi L(°)", "Phi R(°)"}));
}

TEST_F(GeometryEditor, OkCommitsRedrawsAndCloses)
{
    s.main.GeometrieMenu = false;
    s.main.DeformeeButton = true;
    retype(child<QLineEdit>(dlg.get(), "RadiusEdit"), "250");
    typeCell(arcGrid, 1, 2, "35");
    // Commit from the A convention: the model still receives Phi angles.
    for (QRadioButton* b : child<QGroupBox>(dlg.get(), "AngleRadioGroup")->findChildren<QRadioButton*>())
        if (b->text().contains("(A)")) QTest::mouseClick(b, Qt::LeftButton);
    ASSERT_EQ(s.geo.AngleRadioGroup, 1);
    QTest::mouseClick(child<QPushButton>(dlg.get(), "OKButton"), Qt::LeftButton);
    EXPECT_TRUE(sink.entries.empty());
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(redraws, 1);
    EXPECT_TRUE(s.main.GeometrieMenu);
    EXPECT_FALSE(s.main.DeformeeButton);
    EXPECT_EQ(s.model.Radius[kImperial], 250.0);
    EXPECT_NEAR(parseNumber(s.model.ArcTab(kImperial, kArcPhiL, 1)), 35.0, 0.02);
}

TEST_F(GeometryEditor, OkWithAFailedCommitRedrawsAndStaysOpen)
{
    typeCell(arcGrid, 2, 1, "0"); // the lowest arch must be of type 1
    QTest::mouseClick(child<QPushButton>(dlg.get(), "OKButton"), Qt::LeftButton);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"bottom elevation should be type 1"});
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(s.main.GeometrieMenu);
    EXPECT_EQ(redraws, 1);
}

TEST_F(GeometryEditor, OkWithAWrongFaceTableDoesNothingMore)
{
    typeCell(faceGrid, 1, 2, "0.5"); // no slope allowed on the base row
    QTest::mouseClick(child<QPushButton>(dlg.get(), "OKButton"), Qt::LeftButton);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"no values allowed except abscisse at the base"});
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(s.main.GeometrieMenu);
    EXPECT_EQ(redraws, 0);
}

TEST_F(GeometryEditor, AnnulerRestoresTheFieldsAndTheNextShowingTheTables)
{
    child<QSpinBox>(dlg.get(), "NbCenterEdit")->setValue(2);
    retype(child<QLineEdit>(dlg.get(), "TopDEdit"), "130");
    typeCell(faceGrid, 0, 1, "8");
    QTest::mouseClick(child<QPushButton>(dlg.get(), "AnnulerButton"), Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_FALSE(s.main.GeometrieMenu);
    EXPECT_EQ(redraws, 0);
    EXPECT_EQ(s.model.TopElev[kImperial], 100.0);

    dlg->show();
    EXPECT_EQ(child<QSpinBox>(dlg.get(), "NbCenterEdit")->value(), 1);
    EXPECT_EQ(tabs->count(), 4);
    EXPECT_EQ(child<QLineEdit>(dlg.get(), "TopDEdit")->text(), "100");
    EXPECT_EQ(cellText(faceGrid, 0, 1), "0");
}

TEST_F(GeometryEditor, SiShowsMetresInLabelsAndHeaders)
{
    dlg->hide();
    s.model.UnitSystem = kSI;
    dlg->show();
    EXPECT_EQ(child<QLabel>(dlg.get(), "TopDUnitLabel")->text(), "m");
    EXPECT_EQ(child<QLineEdit>(dlg.get(), "TopDEdit")->text(), "30.48");
    EXPECT_EQ(faceGrid->horizontalHeaderItem(1)->text(), "abscisse (m)");
    // The header's carriage return is not shown.
    EXPECT_EQ(faceGrid->horizontalHeaderItem(3)->text(), "Circle \ncenter abs (m)");
    EXPECT_EQ(arcGrid->horizontalHeaderItem(0)->text(), "Elevation (m)");
}

// --- Message boxes and input boxes ---------------------------------------

TEST(EditorBoxes, MessagesAreModalBoxesWithTheirIconAndOk)
{
    app();
    MessageBoxSink sink;
    for (auto [kind, icon] : {std::pair{MessageKind::Error, QMessageBox::Critical},
                              std::pair{MessageKind::Warning, QMessageBox::Warning}}) {
        QString text;
        QMessageBox::Icon shown = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            text = box->text();
            shown = box->icon();
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
            box->button(QMessageBox::Ok)->click();
        });
        sink.show(kind, "Incorrect new elevation");
        EXPECT_EQ(text, "Incorrect new elevation");
        EXPECT_EQ(shown, icon);
    }
}

TEST(EditorBoxes, UnusualValuesAreAWarningWithYesAndNo)
{
    app();
    InputBoxPrompter prompter;
    for (auto button : {QMessageBox::Yes, QMessageBox::No}) {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), "Loads");
            EXPECT_EQ(box->icon(), QMessageBox::Warning);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            box->button(button)->click();
        });
        EXPECT_EQ(prompter.confirm("Loads", "This value is unusual"), button == QMessageBox::Yes);
    }
}

TEST(EditorBoxes, InputBoxGivesTheTextOrNothingOnCancel)
{
    app();
    InputBoxPrompter prompter;
    for (bool accept : {true, false}) {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), "Insert elevation");
            EXPECT_EQ(box->labelText(), "Enter the new elevation");
            box->setTextValue("42.5");
            accept ? box->accept() : box->reject();
        });
        const auto reply = prompter.askText("Insert elevation", "Enter the new elevation", "");
        if (accept)
            EXPECT_EQ(reply, std::optional<std::string>("42.5"));
        else
            EXPECT_EQ(reply, std::nullopt);
    }
}

} // namespace
