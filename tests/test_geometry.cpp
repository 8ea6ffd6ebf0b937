#include <gtest/gtest.h>
#include <numbers>

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/shell/Session.h"
#include "forms/GeometryForm.h"
#include "forms/GeometryMath.h"
#include "model/Numbers.h"

using namespace velta;

namespace {

using Row = std::vector<std::string>;
using Rows = std::vector<Row>;

void setGrid(GridState& g, const Rows& rows)
{
    g.setDataRows(static_cast<int>(rows.size()));
    g.clearCells();
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            g.cell(static_cast<int>(c), static_cast<int>(r) + 1) = rows[r][c];
}

Rows gridRows(const GridState& g)
{
    Rows out;
    for (int r = 1; r <= g.dataRows(); ++r) {
        Row row;
        for (int c = 0; c < g.columnCount(); ++c) row.push_back(g.cell(c, r));
        out.push_back(row);
    }
    return out;
}

// A table of the model, base first, in unit copy u.
void setTable(Tab3dim& tab, int u, const Rows& baseFirst)
{
    for (size_t r = 0; r < baseFirst.size(); ++r)
        for (size_t c = 0; c < baseFirst[r].size(); ++c)
            tab(u, static_cast<int>(c), static_cast<int>(r)) = baseFirst[r][c];
}

struct Fixture : ::testing::Test {
    ListSink sink;
    FixedPrompter prompter;
    Session s{sink, prompter};

    // The face grid shown is validated as the tab would be left.
    bool validate()
    {
        bool allow = true;
        FaceTabControlChanging(s, allow);
        return allow;
    }

    // A one-centre editor state, ready to commit: base 100, top 200, radius
    // 500; each line of centres is straight.
    void oneCentreEditor(int u = kImperial, const std::string& top = "200", const std::string& base = "100")
    {
        s.model.UnitSystem = u;
        s.geo.NbCenterEdit = 1;
        s.geo.TopDEdit = top;
        s.geo.BaseDEdit = base;
        s.geo.RadiusEdit = "500";
        s.geo.RadiusEditR = "";
        const double zb = parseNumber(base), zt = parseNumber(top);
        const double slope = 10 / (zt - zb);
        for (int t = 0; t < 4; ++t) {
            const std::string x0 = std::to_string(100 * t);
            setTable(s.model.FaceTabWork[t], u, {{base, x0}, {top, formatF3(100 * t + 10), formatF3(slope)}});
            s.model.FaceRowsWork[t] = 1;
        }
        setGrid(s.geo.ArcStringGrid, {{top, "0", "40", "40"}, {base, "1"}});
        s.geo.faceTabIndex = 0;
        FaceTabControlChange(s);
    }
};

// ---------------------------------------------------------------------------
// Face validation

struct CompletionCase {
    const char* name;
    Row top;           // the row above the base (base: 100, abscissa 100)
    const char* absc;  // abscissa after validation
    const char* slope;  // slope after validation
};

TEST_F(Fixture, FaceValidationCompletesEachKindOfRow)
{
    const CompletionCase cases[] = {
        {"point row", {"200", "110"}, "110", "0.100"},
        {"slope row, empty abscissa", {"200", "", "0.1"}, "110.000", "0.1"},
        {"slope row, typed within 0.01", {"200", "110.01", "0.1"}, "110.01", "0.1"},
        {"slope row, typed 0.01 below", {"200", "109.99", "0.1"}, "109.99", "0.1"},
        {"slope row, typed off by more", {"200", "110.011", "0.1"}, "110.000", "0.1"},
        {"slope row, typed far off", {"200", "150", "0.1"}, "110.000", "0.1"},
        {"circle, positive radius", {"200", "", "", "300", "200", "100"}, "200.000", ""},
        {"circle, negative radius", {"200", "", "", "300", "200", "-100"}, "400.000", ""},
        {"circle, typed within 0.01", {"200", "199.995", "", "300", "200", "100"}, "199.995", ""},
        {"circle below its centre", {"200", "", "", "0", "260", "100"}, "-80.000", ""},
    };
    for (const auto& c : cases) {
        sink.clear();
        Row top = c.top;
        top.resize(6);
        setGrid(s.geo.StructureStringGrid, {top, {"100", "100"}});
        s.geo.faceTabIndex = 1;
        ASSERT_TRUE(validate()) << c.name;
        EXPECT_TRUE(sink.entries.empty()) << c.name;
        EXPECT_EQ(s.geo.StructureStringGrid.cell(1, 1), c.absc) << c.name;
        EXPECT_EQ(s.geo.StructureStringGrid.cell(2, 1), c.slope) << c.name;
        // Stored base first.
        EXPECT_EQ(s.model.FaceRowsWork[1], 1);
        EXPECT_EQ(s.model.FaceTabWork[1](0, 0, 0), "100");
        EXPECT_EQ(s.model.FaceTabWork[1](0, 1, 1), c.absc) << c.name;
        EXPECT_EQ(s.model.FaceTabWork[1](0, 5, 1), top[5]) << c.name;
    }
}

TEST_F(Fixture, FaceValidationCompletesBottomUp)
{
    // Each row is completed from the row below, which was completed first.
    setGrid(s.geo.StructureStringGrid,
            {{"300", "", "0.2"}, {"200", "", "", "0", "200", "-20"}, {"150", "10"}, {"100", "0"}});
    ASSERT_TRUE(validate());
    EXPECT_EQ(gridRows(s.geo.StructureStringGrid), (Rows{{"300", "40.000", "0.2", "", "", ""},
                                                         {"200", "20.000", "", "0", "200", "-20"},
                                                         {"150", "10", "0.200", "", "", ""},
                                                         {"100", "0", "", "", "", ""}}));
    EXPECT_EQ(s.model.FaceRowsWork[0], 3);
    EXPECT_EQ(s.model.FaceTabWork[0](0, 1, 3), "40.000");
}

struct MessageCase {
    const char* name;
    Rows grid;  // top first
    std::vector<std::string> messages;
};

TEST_F(Fixture, FaceValidationMessages)
{
    const MessageCase cases[] = {
        {"value beside the base abscissa",
         {{"200", "110"}, {"100", "100", "0.1", "5"}},
         {"no values allowed except abscisse at the base"}},
        {"no base abscissa",
         {{"200", "110"}, {"100", ""}},
         {"Abscisse at the base should be defined", "'' is not a valid number"}},
        {"not a number, then the base message",
         {{"200", "1O0"}, {"100", ""}},
         {"data are not numbers", "Abscisse at the base should be defined", "'1O0' is not a valid number"}},
        {"empty row, then its missing abscissa",
         {{"200", "110"}, {"150"}, {"100", "100"}},
         {"elevation 150 is empty", "'' is not a valid number"}},
        {"slope and circle",
         {{"200", "", "0.1", "300", "200", "100"}, {"100", "100"}},
         {"elevation 200 has slope and circle data"}},
        {"incomplete circle",
         {{"200", "", "", "300", "", "100"}, {"100", "100"}},
         {"elevation 200 has incomplete circle data"}},
        {"abscissa beside part of a circle",
         {{"200", "110", "", "300", "200"}, {"100", "100"}},
         {"elevation 200 has incomplete circle data"}},
        {"only the first check failure is shown",
         {{"200", "", "", "300"}, {"150"}, {"100", "100", "1"}},
         {"no values allowed except abscisse at the base", "'' is not a valid number"}},
        {"circle that does not reach the row",
         {{"200", "", "", "0", "500", "10"}, {"100", "100"}},
         {"the circle does not reach elevation 200"}},
        {"point row at the elevation of the row below",
         {{"100", "110"}, {"100", "100"}},
         {"elevation 100 equals the elevation of the row below"}},
    };
    for (const auto& c : cases) {
        sink.clear();
        s.model.FaceTabWork[0] = Tab3dim{};
        s.model.FaceRowsWork[0] = 7;
        Rows grid = c.grid;
        for (auto& r : grid) r.resize(6);
        setGrid(s.geo.StructureStringGrid, grid);
        EXPECT_FALSE(validate()) << c.name;
        EXPECT_EQ(sink.texts(), c.messages) << c.name;
        for (const auto& e : sink.entries) EXPECT_EQ(e.kind, MessageKind::Error);
        EXPECT_EQ(s.model.FaceRowsWork[0], 7) << c.name << ": nothing is stored";
        EXPECT_EQ(s.model.FaceTabWork[0], Tab3dim{}) << c.name;
    }
}

TEST_F(Fixture, FaceValidationKeepsAnEarlierFailure)
{
    // The deck reader passes its acceptance flag: once false, the row
    // messages stay silent and nothing is stored, but cells are completed.
    setGrid(s.geo.StructureStringGrid, {{"200", "110", "", "", "", ""}, {"150"}, {"100", "100"}});
    s.geo.StructureStringGrid.cell(1, 2) = "105";
    bool allow = false;
    FaceTabControlChanging(s, allow);
    EXPECT_FALSE(allow);
    EXPECT_TRUE(sink.entries.empty());
    EXPECT_EQ(s.geo.StructureStringGrid.cell(2, 1), "0.100");
    EXPECT_EQ(s.model.FaceTabWork[0](0, 1, 0), "");
}

TEST_F(Fixture, ShorterTableForgetsTheRowsAboveItsTop)
{
    setTable(s.model.FaceTabWork[0], 1, {{"1"}, {"2"}, {"3", "9", "1"}});
    setGrid(s.geo.StructureStringGrid, {{"200", "110", "", "", "", ""}, {"100", "100"}});
    ASSERT_TRUE(validate());
    for (int u : {0, 1}) EXPECT_EQ(s.model.FaceTabWork[0](u, 0, 2), "");
    // Above the crest, the curve cannot be evaluated.
    EXPECT_THROW(AbscisseAtElevation(s.model.FaceTabWork[0], 0, 250), std::domain_error);
}

TEST_F(Fixture, TabChangeValidatesFirstAndLoadsTheNewTab)
{
    s.geo.TopDEdit = "210";
    s.geo.BaseDEdit = "90";
    setTable(s.model.FaceTabWork[1], 0, {{"95", "-5"}, {"150", "", "0.1"}, {"205", "7", "", "1", "2", "3"}});
    s.model.FaceRowsWork[1] = 2;

    setGrid(s.geo.StructureStringGrid, {{"210", ""}, {"90", "0"}});  // incomplete top row
    EXPECT_FALSE(selectFaceTab(s, 1));
    EXPECT_EQ(s.geo.faceTabIndex, 0);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"elevation 210 is empty", "'' is not a valid number"}));

    s.geo.StructureStringGrid.cell(1, 1) = "12";
    ASSERT_TRUE(selectFaceTab(s, 1));
    EXPECT_EQ(s.geo.faceTabIndex, 1);
    EXPECT_EQ(s.model.FaceTabWork[0](0, 2, 1), "0.100");
    // Top and base cells take the fields' text.
    EXPECT_EQ(gridRows(s.geo.StructureStringGrid), (Rows{{"210", "7", "", "1", "2", "3"},
                                                         {"150", "", "0.1", "", "", ""},
                                                         {"90", "-5", "", "", "", ""}}));
}

// ---------------------------------------------------------------------------
// Curve evaluation and abutment angles

TEST(GeometryMath, AbscisseAtElevationNearTheBase)
{
    Tab3dim tab;
    setTable(tab, 0, {{"100", "10"}, {"200", "20", "0.1"}, {"300", "", "", "20", "300", "-100"}});
    EXPECT_DOUBLE_EQ(AbscisseAtElevation(tab, 0, 100.03), 10);  // within sqrt(0.001) of the base
    EXPECT_DOUBLE_EQ(AbscisseAtElevation(tab, 0, 99.97), 10);
    EXPECT_THROW(AbscisseAtElevation(tab, 0, 100.04), std::domain_error);  // rounds to the base row
    EXPECT_THROW(AbscisseAtElevation(tab, 0, 99.9), std::domain_error);   // below the base
    EXPECT_NEAR(AbscisseAtElevation(tab, 0, 100.06), 10.006, 1e-12);
    EXPECT_NEAR(AbscisseAtElevation(tab, 0, 200.04), 20.004, 1e-12);  // rounds to row 1 at 0.1
    EXPECT_NEAR(AbscisseAtElevation(tab, 0, 250), 20 + std::sqrt(100 * 100 - 50 * 50), 1e-9);
    EXPECT_NEAR(AbscisseAtElevation(tab, 0, 300), 120, 1e-12);
    EXPECT_THROW(AbscisseAtElevation(tab, 0, 300.1), std::domain_error);  // above the top
}

// A from phi by construction: the axis centre O at the origin, the crown
// towards +y, the arch centre C on the crown line at distance Zm from O and
// the abutment P where the ray from C at phi meets the axis circle.
double constructedA(double phiDeg, double Zm, double R)
{
    const double phi = phiDeg * std::numbers::pi / 180;
    const double rho =
        -Zm * std::cos(phi) + std::sqrt(Zm * Zm * std::cos(phi) * std::cos(phi) - Zm * Zm + R * R);
    const double px = rho * std::sin(phi), py = Zm + rho * std::cos(phi);
    return std::atan2(px, py) * 180 / std::numbers::pi;
}

TEST(GeometryMath, AngleConventions)
{
    struct Case {
        double phi, Zm, R;
    } cases[] = {{45, 350, 500}, {60, 100, 300}, {10, 0, 400}, {85, 299, 300}, {30, -50, 200}, {0, 200, 400}};
    for (const auto& c : cases) {
        const double A = PhitoA(c.phi, c.Zm, c.R);
        EXPECT_NEAR(A, constructedA(c.phi, c.Zm, c.R), 1e-9) << c.phi;
        EXPECT_NEAR(AToPhi(A, c.Zm, c.R), c.phi, 1e-9) << c.phi;
    }
    EXPECT_THROW(PhitoA(45, 100, 0), std::domain_error);
}

// ---------------------------------------------------------------------------
// The commit

struct ArchCase {
    const char* name;
    Rows arches;  // top first; base row last
    std::vector<std::string> messages;
    bool validated;
};

TEST_F(Fixture, ArchChecks)
{
    const ArchCase cases[] = {
        {"code 0 with zero angles", {{"200", "0", "0", "0"}, {"100", "1", "5", "5"}}, {}, true},
        {"code 2 with Phi L 0",
         {{"200", "2", "0", "30"}, {"100", "1"}},
         {"angle can not be lower than 0"},
         false},
        {"code 3 with Phi R 0",
         {{"200", "3", "30", "0"}, {"100", "1"}},
         {"angle can not be lower than 0"},
         false},
        {"code 0 with a negative angle",
         {{"200", "0", "30", "-1"}, {"100", "1"}},
         {"elevation 200: angle can not be lower than 0"},
         false},
        {"code 5 above an arch with angles",
         {{"200", "5", "", ""}, {"150", "0", "10", "10"}, {"100", "1"}},
         {},
         true},
        {"bottom not type 1",
         {{"200", "", "30", "30"}, {"100", "0"}},
         {"bottom elevation should be type 1"},
         false},
        {"no type", {{"200", "", "30", "30"}, {"100", "1"}}, {"elevation 200 has no type value"}, false},
        {"other code, no check", {{"200", "4", "-3", ""}, {"100", "1"}}, {}, true},
        {"code that is not an integer",
         {{"200", "2.5", "30", ""}, {"100", "1"}},
         {"Erreur d'entrée de la structure"},
         false},
        {"required angle empty",
         {{"200", "2", "", ""}, {"100", "1"}},
         {"Erreur d'entrée de la structure"},
         false},
        {"arch above the top of the dam",
         {{"250", "0", "30", "30"}, {"100", "1"}},
         {"The arch at elevation 250 ft lies above the top of the dam: the dam runs from its base at 100 ft "
          "to its top at 200 ft, and every arch must lie between them."},
         false},
    };
    for (const auto& c : cases) {
        sink.clear();
        oneCentreEditor();
        s.main.GeometrieMenu = true;
        setGrid(s.geo.ArcStringGrid, c.arches);
        EXPECT_EQ(LectureStructure(s), c.validated) << c.name;
        EXPECT_EQ(sink.texts(), c.messages) << c.name;
        EXPECT_EQ(s.main.GeometrieMenu, c.validated) << c.name;
        EXPECT_EQ(s.main.GeometrieButton, c.validated) << c.name;
    }
}

TEST_F(Fixture, ArchCodesClearTheUnusedAngles)
{
    oneCentreEditor();
    setGrid(s.geo.ArcStringGrid, {{"200", "2", "30", "25"},
                                  {"180", "3", "20", "15"},
                                  {"150", "0", "10", "10"},
                                  {"100", "1", "5", "5"}});
    ASSERT_TRUE(LectureStructure(s));
    EXPECT_EQ(
        gridRows(s.geo.ArcStringGrid),
        (Rows{
            {"200", "2", "30", ""}, {"180", "3", "", "15"}, {"150", "0", "10", "10"}, {"100", "1", "", ""}}));
    // Stored lowest first, in both unit copies.
    EXPECT_EQ(s.model.NbArcs, 4);
    EXPECT_EQ(s.model.ArcTab(0, kArcPhiR, 2), "15");
    EXPECT_EQ(s.model.ArcTab(1, kArcPhiR, 2), "15");
    EXPECT_EQ(s.model.ArcTab(1, kArcElevation, 3), "60.96");
}

TEST_F(Fixture, ConversionStopKeepsArchTableAndLayout)
{
    oneCentreEditor();
    ASSERT_TRUE(LectureStructure(s));
    const Tab3dim arcs = s.model.ArcTab;
    const auto angles = s.model.ConsAngle;
    setGrid(s.geo.ArcStringGrid, {{"200", "x", "30", ""}, {"150", "0", "1", "1"}, {"100", "1"}});
    s.geo.TopDEdit = "abc";
    EXPECT_FALSE(LectureStructure(s));
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"error with the general structure data",
                                                      "Erreur d'entrée de la structure"}));
    EXPECT_EQ(s.model.ArcTab, arcs);
    EXPECT_EQ(s.model.ConsAngle, angles);
    EXPECT_EQ(s.model.NbArcs, 3);              // written before the stop
    EXPECT_DOUBLE_EQ(s.model.TopElev[0], 200);  // the field that is not a number keeps its value
    EXPECT_FALSE(s.main.GeometrieMenu);
}

TEST_F(Fixture, TwoCentreCantileverLayout)
{
    s.model.UnitSystem = kImperial;
    s.geo.NbCenterEdit = 2;
    s.geo.TopDEdit = "300";
    s.geo.BaseDEdit = "100";
    s.geo.RadiusEdit = "500";
    s.geo.RadiusEditR = "400";
    for (int t = 0; t < 6; ++t) {
        s.model.FaceRowsWork[t] = 1;
        setTable(s.model.FaceTabWork[t], 0, {{"100", "0"}, {"300", "20", "0.1"}});
    }
    // Left upstream line of centres x = 100 + (z - 100) / 2; right x = 50 + (z - 100) / 2.
    setTable(s.model.FaceTabWork[2], 0, {{"100", "100"}, {"300", "200", "0.5"}});
    setTable(s.model.FaceTabWork[4], 0, {{"100", "50"}, {"300", "150", "0.5"}});
    setGrid(s.geo.ArcStringGrid,
            {{"300", "0", "50", "40"}, {"250", "2", "48", ""}, {"200", "0", "45", "35"}, {"100", "1"}});
    ASSERT_TRUE(LectureStructure(s)) << ::testing::PrintToString(sink.texts());

    const CaseModel& m = s.model;
    EXPECT_EQ(m.FirstCons, 18);
    EXPECT_EQ(m.LastCons, 23);
    auto xl = [](double z) { return 100 + (z - 100) / 2; };
    auto xr = [](double z) { return 50 + (z - 100) / 2; };
    struct Slot {
        int slot;
        double z, phi, R, x;
    } slots[] = {{21, 200, -45, 500, xl(200)},
                 {22, 250, -48, 500, xl(250)},
                 {23, 300, -50, 500, xl(300)},
                 {19, 200, 35, 400, xr(200)},
                 {18, 300, 40, 400, xr(300)}};
    for (const auto& e : slots) {
        const double a = std::copysign(constructedA(std::fabs(e.phi), e.R - e.x, e.R), e.phi);
        EXPECT_NEAR(m.ConsAngle[e.slot], a, 0.005 + 1e-9) << e.slot;
        EXPECT_DOUBLE_EQ(m.ConsAngle[e.slot], std::round(m.ConsAngle[e.slot] * 100) / 100) << e.slot;
        EXPECT_DOUBLE_EQ(m.ConsBaseElev[e.slot], e.z) << e.slot;
    }
    EXPECT_EQ(m.ConsAngle[20], 0);
    EXPECT_DOUBLE_EQ(m.ConsBaseElev[20], 100);
    for (int k : {0, 17, 24, 40}) {
        EXPECT_EQ(m.ConsAngle[k], 0);
        EXPECT_EQ(m.ConsBaseElev[k], kNoElevation);
    }
    EXPECT_DOUBLE_EQ(m.RadiusR[0], 400);
    EXPECT_DOUBLE_EQ(m.RadiusR[1], 121.92);
}

TEST_F(Fixture, CommitInSIKeepsFeetForTheImperialCopy)
{
    oneCentreEditor(kSI, "300", "100");
    setGrid(s.geo.ArcStringGrid, {{"300", "0", "40", "40"}, {"200", "0", "30", "30"}, {"100", "1"}});
    ASSERT_TRUE(LectureStructure(s)) << ::testing::PrintToString(sink.texts());
    const CaseModel& m = s.model;
    EXPECT_DOUBLE_EQ(m.TopElev[1], 300);
    EXPECT_DOUBLE_EQ(m.TopElev[0], 984.25);
    EXPECT_DOUBLE_EQ(m.BaseElev[0], 328.08);
    EXPECT_DOUBLE_EQ(m.Radius[0], 1640.42);
    // Cantilever foundations are in feet whatever the unit system.
    EXPECT_DOUBLE_EQ(m.ConsBaseElev[20], 328.08);
    EXPECT_DOUBLE_EQ(m.ConsBaseElev[21], 656.17);
    EXPECT_DOUBLE_EQ(m.ConsBaseElev[22], 984.25);
    EXPECT_DOUBLE_EQ(m.ConsBaseElev[18], 984.25);
    // Tables: lengths in F2, slopes copied.
    EXPECT_EQ(m.FaceTab[1](0, 0, 1), "984.25");
    EXPECT_EQ(m.FaceTab[1](0, 1, 1), "360.89");
    EXPECT_EQ(m.FaceTab[1](0, 2, 1), "0.050");
    EXPECT_EQ(m.ArcTab(0, kArcElevation, 2), "984.25");
    EXPECT_EQ(m.ArcTab(0, kArcPhiL, 1), "30");
}

TEST_F(Fixture, SingleCentreRightSideIsTheLeftSide)
{
    oneCentreEditor();
    s.geo.RadiusEditR = "999";
    setTable(s.model.FaceTabWork[4], 0, {{"1", "2"}, {"3", "4", "5"}, {"6", "7", "8"}});
    s.model.FaceRowsWork[4] = 2;
    s.model.FaceRowsWork[5] = 0;
    ASSERT_TRUE(LectureStructure(s));
    const CaseModel& m = s.model;
    EXPECT_EQ(m.FaceTab[4], m.FaceTab[2]);
    EXPECT_EQ(m.FaceTab[5], m.FaceTab[3]);
    EXPECT_EQ(m.FaceRows[4], m.FaceRows[2]);
    EXPECT_EQ(m.FaceRows[5], m.FaceRows[3]);
    EXPECT_EQ(m.RadiusR, m.Radius);
    // Symmetric abutments.
    EXPECT_EQ(m.FirstCons, 19);
    EXPECT_EQ(m.LastCons, 21);
    EXPECT_DOUBLE_EQ(m.ConsAngle[19], -m.ConsAngle[21]);
}

// ---------------------------------------------------------------------------
// The editor

TEST_F(Fixture, ShowingLoadsFieldsGridsAndHeaders)
{
    oneCentreEditor(kSI, "300", "100");
    ASSERT_TRUE(LectureStructure(s));
    s.model.UnitSystem = kImperial;
    s.geo.faceTabIndex = 1;
    s.geo.TopDEdit = s.geo.BaseDEdit = "junk";
    GeometryFormActivate(s);
    EXPECT_EQ(s.geo.unitLabel, "ft");
    EXPECT_EQ(s.geo.TopDEdit, "984.25");
    EXPECT_EQ(s.geo.RadiusEdit, "1640.42");
    EXPECT_EQ(gridRows(s.geo.StructureStringGrid),
              (Rows{{"984.25", "360.89", "0.050", "", "", ""}, {"328.08", "328.08", "", "", "", ""}}));
    EXPECT_EQ(gridRows(s.geo.ArcStringGrid), (Rows{{"984.25", "0", "40", "40"}, {"328.08", "1", "", ""}}));
    EXPECT_EQ(s.geo.StructureStringGrid.cell(3, 0), "Circle \ncenter abs (ft)");
    EXPECT_EQ(s.geo.ArcStringGrid.cell(2, 0), "Phi L(°)");

    s.model.UnitSystem = kSI;
    GeometryFormActivate(s);
    EXPECT_EQ(s.geo.unitLabel, "m");
    EXPECT_EQ(s.geo.StructureStringGrid.cell(1, 0), "abscisse (m)");
    EXPECT_EQ(s.geo.StructureStringGrid.cell(3, 0), "Circle \n\rcenter abs (m)");
    EXPECT_EQ(s.geo.StructureStringGrid.cell(5, 0), "Circle  rad (m)");
    EXPECT_EQ(s.geo.ArcStringGrid.cell(0, 0), "Elevation (m)");

    // Typing a new top updates the first row of both grids.
    s.geo.TopDEdit = "31";
    TopDEditChange(s);
    EXPECT_EQ(s.geo.StructureStringGrid.cell(0, 1), "31");
    EXPECT_EQ(s.geo.ArcStringGrid.cell(0, 1), "31");
    s.geo.BaseDEdit = "9";
    BaseDEditChange(s);
    EXPECT_EQ(s.geo.StructureStringGrid.cell(0, 2), "9");
    EXPECT_EQ(s.geo.ArcStringGrid.cell(0, 2), "9");
}

TEST_F(Fixture, CentreCountRule)
{
    auto& geo = s.geo;
    geo.NbCenterEdit = 2;
    NbCenterEditChange(s);
    EXPECT_EQ(geo.faceTabs, (std::vector<std::string>{"Upstream face", "Downstream face", "Left Us LoC",
                                                      "Left Ds Loc", "Right Us LoC", "Right Ds LoC"}));
    EXPECT_TRUE(geo.rightRadiusVisible);
    EXPECT_EQ(geo.RadiusLabel, "Left Radius");
    EXPECT_EQ(geo.layoutPicture, 1);
    // Shown again with two centres: the existing right tab is renamed.
    NbCenterEditChange(s);
    EXPECT_EQ(geo.faceTabs[5], "Right Ds Loc");

    // Back to one centre while a right-hand tab is selected.
    s.model.FaceRowsWork[3] = 0;
    setTable(s.model.FaceTabWork[3], 0, {{"", "42"}});
    geo.faceTabIndex = 5;
    geo.NbCenterEdit = 1;
    NbCenterEditChange(s);
    EXPECT_EQ(geo.faceTabs,
              (std::vector<std::string>{"Upstream face", "Downstream face", "Upstream line of center",
                                        "Downstream line of center"}));
    EXPECT_FALSE(geo.rightRadiusVisible);
    EXPECT_EQ(geo.RadiusLabel, "Radius");
    EXPECT_EQ(geo.layoutPicture, 0);
    EXPECT_EQ(geo.faceTabIndex, 3);
    EXPECT_EQ(geo.StructureStringGrid.cell(1, 1), "42");
}

TEST_F(Fixture, AngleSwitchRoundTrip)
{
    oneCentreEditor();
    setGrid(s.geo.ArcStringGrid,
            {{"200", "0", "40", "12.34"}, {"150", "2", "89.5", ""}, {"120", "3", "", "0.5"}, {"100", "1"}});
    setGrid(s.geo.StructureStringGrid, {{"200", "15", "", "", "", ""}, {"100", "5"}});  // tab 0, edited
    ASSERT_TRUE(AngleRadioGroupClick(s, 1));
    EXPECT_EQ(s.geo.faceTabIndex, 2);
    EXPECT_EQ(s.model.FaceTabWork[0](0, 1, 1), "15");  // the edits of the tab left were kept
    EXPECT_EQ(s.geo.ArcStringGrid.cell(2, 0), "A L(°)");
    EXPECT_EQ(s.geo.ArcStringGrid.cell(3, 0), "A R(°)");
    // Line of centres x = 200 + (z - 100) / 10, radius 500.
    const double A = PhitoA(40, 500 - 210, 500);
    EXPECT_EQ(s.geo.ArcStringGrid.cell(2, 1), formatGeneral(round2(A)));
    EXPECT_EQ(s.geo.ArcStringGrid.cell(3, 4), "");

    ASSERT_TRUE(AngleRadioGroupClick(s, 0));
    EXPECT_EQ(s.geo.ArcStringGrid.cell(2, 0), "Phi L(°)");
    const double phis[][3] = {{1, 2, 40}, {1, 3, 12.34}, {2, 2, 89.5}, {3, 3, 0.5}};
    for (const auto& p : phis)
        EXPECT_NEAR(parseNumber(s.geo.ArcStringGrid.cell(int(p[1]), int(p[0]))), p[2], 0.011) << p[2];
    EXPECT_TRUE(sink.entries.empty());
}

TEST_F(Fixture, AngleSwitchRefusedLeavesEverything)
{
    oneCentreEditor();
    setGrid(s.geo.ArcStringGrid, {{"200", "0", "40", "12"}, {"100", "1"}});
    writeGeometryGridHeaders(s);
    // A tab that does not validate refuses the switch.
    setGrid(s.geo.StructureStringGrid, {{"200", "", "", "", "", ""}, {"100", "5"}});
    EXPECT_FALSE(AngleRadioGroupClick(s, 1));
    EXPECT_EQ(s.geo.AngleRadioGroup, 0);
    EXPECT_EQ(s.geo.faceTabIndex, 0);
    // A radius that is not a number: reported, nothing converted.
    sink.clear();
    s.geo.StructureStringGrid.cell(1, 1) = "15";
    s.geo.RadiusEdit = "5OO";
    EXPECT_FALSE(AngleRadioGroupClick(s, 1));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"'5OO' is not a valid number"});
    EXPECT_EQ(s.geo.AngleRadioGroup, 0);
    EXPECT_EQ(gridRows(s.geo.ArcStringGrid), (Rows{{"200", "0", "40", "12"}, {"100", "1", "", ""}}));
    EXPECT_EQ(s.geo.ArcStringGrid.cell(2, 0), "Phi L(°)");
}

TEST_F(Fixture, OKCommitsInPhiAndDisablesResults)
{
    oneCentreEditor();
    s.main.DeformeeButton = s.main.PlusButton = s.main.ScaleLabel = s.main.GeometrieButton3d = true;
    ASSERT_TRUE(AngleRadioGroupClick(s, 1));
    ASSERT_TRUE(GeometryOKButtonClick(s));
    EXPECT_EQ(s.geo.AngleRadioGroup, 0);
    EXPECT_NEAR(parseNumber(s.model.ArcTab(0, kArcPhiL, 1)), 40, 0.011);
    EXPECT_TRUE(s.main.GeometrieMenu);
    EXPECT_TRUE(s.main.GeometrieButton);
    EXPECT_FALSE(s.main.DeformeeButton || s.main.PlusButton || s.main.ScaleLabel || s.main.GeometrieButton3d);

    // A failed commit still disables them; a failed validation commits nothing.
    s.main.DeformeeButton = true;
    setGrid(s.geo.ArcStringGrid, {{"200", "2", "0", ""}, {"100", "1"}});
    EXPECT_FALSE(GeometryOKButtonClick(s));
    EXPECT_FALSE(s.main.DeformeeButton);
    EXPECT_FALSE(s.main.GeometrieMenu);

    s.main.DeformeeButton = true;
    s.model.NbArcs = 0;
    setGrid(s.geo.StructureStringGrid, {{"200", "", "", "", "", ""}, {"100", "5"}});
    EXPECT_FALSE(GeometryOKButtonClick(s));
    EXPECT_TRUE(s.main.DeformeeButton);
    EXPECT_EQ(s.model.NbArcs, 0);
}

TEST_F(Fixture, AnnulerRestoresFieldsAndClearsTheMark)
{
    oneCentreEditor();
    ASSERT_TRUE(LectureStructure(s));
    GeometryFormActivate(s);
    ASSERT_TRUE(AngleRadioGroupClick(s, 1));
    s.geo.NbCenterEdit = 2;
    NbCenterEditChange(s);
    s.geo.TopDEdit = "1";
    s.geo.RadiusEditR = "7";
    GeometryAnnulerButtonClick(s);
    EXPECT_EQ(s.geo.NbCenterEdit, 1);
    EXPECT_EQ(s.geo.faceTabs.size(), 4u);
    EXPECT_EQ(s.geo.TopDEdit, "200");
    EXPECT_EQ(s.geo.RadiusEditR, "500");
    EXPECT_EQ(s.geo.AngleRadioGroup, 0);
    EXPECT_EQ(s.geo.ArcStringGrid.cell(2, 1), "40");
    EXPECT_FALSE(s.main.GeometrieMenu);
}

// ---------------------------------------------------------------------------
// Right-click menus

TEST_F(Fixture, MenuEnabledRules)
{
    GridState& g = s.geo.StructureStringGrid;
    g.setDataRows(10);
    for (int r = 1; r <= 10; ++r) {
        g.currentRow = r;
        const auto items = gridMenuItems(s, GridKind::Face);
        EXPECT_EQ(items.insertBelow, r != 10) << r;
        EXPECT_EQ(items.changeElevation, r != 1 && r != 10) << r;
        EXPECT_EQ(items.remove, r != 1 && r != 10) << r;
        EXPECT_FALSE(items.copyFromPrevTab);
    }
    g.setDataRows(11);
    g.currentRow = 5;
    EXPECT_FALSE(gridMenuItems(s, GridKind::Face).insertBelow);
    s.geo.faceTabIndex = 1;
    EXPECT_TRUE(gridMenuItems(s, GridKind::Face).copyFromPrevTab);
    EXPECT_FALSE(gridMenuItems(s, GridKind::Arc).copyFromPrevTab);
    s.geo.ArcStringGrid.setDataRows(2);
    s.geo.ArcStringGrid.currentRow = 1;
    const auto arc = gridMenuItems(s, GridKind::Arc);
    EXPECT_TRUE(arc.insertBelow);
    EXPECT_FALSE(arc.changeElevation || arc.remove);
}

TEST(GeometryMenus, InsertAndChangeElevation)
{
    struct Case {
        const char* name;
        GridKind grid;
        bool insert;
        int row;
        std::optional<std::string> reply;
        std::vector<std::string> messages;
        std::vector<std::string> elevations;  // afterwards
    } cases[] = {
        {"insert", GridKind::Face, true, 1, "250", {}, {"300", "250", "200", "100"}},
        {"insert into the arches", GridKind::Arc, true, 2, "150.5", {}, {"300", "200", "150.5", "100"}},
        {"insert at the row below",
         GridKind::Face,
         true,
         2,
         "100",
         {"Incorrect new elevation"},
         {"300", "200", "100"}},
        {"insert above the row",
         GridKind::Face,
         true,
         2,
         "201",
         {"Incorrect new elevation"},
         {"300", "200", "100"}},
        {"insert not a number",
         GridKind::Face,
         true,
         1,
         "2OO",
         {"'2OO' is not a valid number"},
         {"300", "200", "100"}},
        {"insert cancelled",
         GridKind::Arc,
         true,
         1,
         std::nullopt,
         {"'' is not a valid number"},
         {"300", "200", "100"}},
        {"change", GridKind::Face, false, 2, "299.9", {}, {"300", "299.9", "100"}},
        {"change to the row above",
         GridKind::Arc,
         false,
         2,
         "300",
         {"Incorrect new elevation"},
         {"300", "200", "100"}},
        {"change to the row below",
         GridKind::Face,
         false,
         2,
         "100",
         {"Incorrect new elevation"},
         {"300", "200", "100"}},
        {"change empty", GridKind::Face, false, 2, "", {"'' is not a valid number"}, {"300", "200", "100"}},
    };
    for (const auto& c : cases) {
        ListSink sink;
        FixedPrompter prompter(c.reply);
        Session s(sink, prompter);
        GridState& g = c.grid == GridKind::Face ? s.geo.StructureStringGrid : s.geo.ArcStringGrid;
        setGrid(g, {{"300", "1", "2", "3"}, {"200", "4", "5", "6"}, {"100", "7", "8", "9"}});
        g.currentRow = c.row;
        if (c.insert)
            gridInsertBelow(s, c.grid);
        else
            gridChangeElevation(s, c.grid);
        EXPECT_EQ(sink.texts(), c.messages) << c.name;
        std::vector<std::string> elevations;
        for (int r = 1; r <= g.dataRows(); ++r) elevations.push_back(g.cell(0, r));
        EXPECT_EQ(elevations, c.elevations) << c.name;
        if (c.insert && c.messages.empty()) {
            EXPECT_EQ(g.cell(1, c.row + 1), "") << c.name;
            EXPECT_EQ(g.cell(1, c.row + 2), c.row == 1 ? "4" : "7") << c.name;
        }
        const bool face = c.grid == GridKind::Face;
        const std::string asked =
            c.insert ? std::string(face ? "Insert elevation" : "Insert Arch") + "|Enter the new elevation"
                     : std::string(face ? "Change elevation" : "Change arch elevation") +
                           "|Enter the modified elevation";
        EXPECT_EQ(prompter.asked, std::vector<std::string>{asked}) << c.name;
    }
}

TEST_F(Fixture, RemoveAndCopyElevations)
{
    GridState& g = s.geo.StructureStringGrid;
    setGrid(g, {{"300", "a"}, {"200", "b"}, {"100", "c"}});
    g.currentRow = 3;
    gridRemove(s, GridKind::Face);  // disabled on the base row
    EXPECT_EQ(g.dataRows(), 3);
    g.currentRow = 2;
    gridRemove(s, GridKind::Face);
    EXPECT_EQ(gridRows(g), (Rows{{"300", "a", "", "", "", ""}, {"100", "c", "", "", "", ""}}));

    // The downstream face takes the upstream face's elevations and row count.
    setTable(s.model.FaceTabWork[0], 0, {{"100"}, {"180"}, {"250"}, {"300"}});
    s.model.FaceRowsWork[0] = 3;
    s.geo.faceTabIndex = 1;
    faceCopyElevationsFromPrevTab(s);
    EXPECT_EQ(gridRows(g), (Rows{{"300", "a", "", "", "", ""},
                                 {"250", "c", "", "", "", ""},
                                 {"180", "", "", "", "", ""},
                                 {"100", "", "", "", "", ""}}));
}

}  // namespace
