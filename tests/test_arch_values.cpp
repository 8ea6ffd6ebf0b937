// The data stays what the user entered: per-arch values follow their arches
// through the geometry editor, the geometry commit keeps every arch and face
// table between the base and the top, values the analysis needs are asked
// for, and unusual values are put to the user.
#include <gtest/gtest.h>

#include "forms/DeckReader.h"
#include "deck/DeckWriter.h"
#include "forms/CaseChecks.h"
#include "forms/GeometryForm.h"
#include "forms/LoadsForm.h"
#include "forms/MaterialForm.h"
#include "model/Numbers.h"
#include "app/shell/SolverRun.h"
#include "support/TestSupport.h"

using namespace velta;

namespace {

// Records whether the engine would have been started.
class NoEngine : public ProcessRunner {
public:
    int starts = 0;
    bool start(const std::string&, const std::vector<std::string>&, const std::string&) override
    {
        ++starts;
        return false;
    }
    void wait() override {}
    void stop() override {}
    bool running() const override { return false; }
};

struct Case : ::testing::Test {
    ListSink sink;
    FixedPrompter prompter{std::string("1800")};
    Session s{sink, prompter};

    // The two-centred example, read as File > Open reads it; its arches are
    // 1500, 1555, ..., 1830 ft with a temperature and rock moduli each, and
    // variable moduli.
    void open(const std::string& name = "two_centred.dat")
    {
        test::TempDir dir;
        s.scratchDir = dir.path();
        s.main.tabs = {"calc_0"};
        s.main.tabIndex = 0;
        s.Initialisation();
        bool accepted = true;
        LectureDonnees(s, accepted, std::string(VELTA_SOURCE_DIR) + "/examples/" + name);
        ASSERT_TRUE(accepted && s.main.caseValidated()) << testing::PrintToString(sink.texts());
        GeometryFormActivate(s);
    }
    // The arch row (0 = lowest) whose elevation is z, or -1.
    int archRow(double z) const
    {
        for (int r = 0; r < s.model.NbArcs; ++r)
            if (parseNumber(s.model.ArcTab(kImperial, kArcElevation, r)) == z) return r;
        return -1;
    }
    // Uniform and linear temperature changes and left and right moduli of the
    // arch at z, imperial copy.
    std::vector<std::string> values(double z) const
    {
        const int r = archRow(z);
        if (r < 0) return {"no arch"};
        const CaseModel& m = s.model;
        return {m.TempTab(kImperial, 1, r), m.TempTab(kImperial, 2, r), m.DefTab(kImperial, 1, r),
                m.DefTab(kImperial, 2, r)};
    }
    void onArchRow(int row) { s.geo.ArcStringGrid.currentRow = row; }
};

using Strings = std::vector<std::string>;

}  // namespace

TEST_F(Case, InsertingAnArchKeepsEveryArchsValuesAndGivesTheNewOneEmptyCells)
{
    open();
    const Strings crest = {"-15.00", "10.00", "1.00", "2.20"}, below = values(1775);
    onArchRow(1);  // the crest, 1830 ft
    gridInsertBelow(s, GridKind::Arc);
    ASSERT_EQ(s.geo.ArcStringGrid.cell(kArcElevation, 2), "1800");
    s.geo.ArcStringGrid.cell(kArcCode, 2) = "0";
    s.geo.ArcStringGrid.cell(kArcPhiL, 2) = "54";
    s.geo.ArcStringGrid.cell(kArcPhiR, 2) = "46";
    ASSERT_TRUE(GeometryOKButtonClick(s)) << testing::PrintToString(sink.texts());

    EXPECT_EQ(s.model.NbArcs, 8);
    EXPECT_EQ(values(1830), crest);
    EXPECT_EQ(values(1775), below);
    EXPECT_EQ(values(1800), (Strings{"", "", "", ""}));
    EXPECT_EQ(values(1500), (Strings{"-6.00", "4.00", "2.20", "3.40"}));
    // The SI copy moved with them; the grout arch is still the crest.
    EXPECT_EQ(s.model.TempTab(kSI, 1, archRow(1830)), "-8.33");
    EXPECT_EQ(s.model.GroutIndex, 0);

    // The analysis needs the new arch's moduli: refused at the materials' OK
    // and at Run, naming the arch.
    EXPECT_EQ(missingArchValue(s.model),
              "The left rock modulus of the arch at elevation 1800 ft is empty: with variable deformation moduli "
              "of the rock, every arch needs a left and a right modulus.");
    NoEngine engine;
    sink.clear();
    EXPECT_FALSE(LancerCalcul(s, engine, {}));
    EXPECT_EQ(engine.starts, 0);
    ASSERT_EQ(sink.texts().size(), 1u);
    EXPECT_NE(sink.texts()[0].find("arch at elevation 1800 ft"), std::string::npos);

    MaterialFormActivate(s.model, s.mat);
    sink.clear();
    EXPECT_FALSE(MaterialOKButtonClick(s));
    ASSERT_EQ(sink.texts().size(), 1u);
    EXPECT_NE(sink.texts()[0].find("left rock modulus of the arch at elevation 1800 ft"), std::string::npos);
    s.mat.DefStringGrid.cell(1, 2) = "1.1";
    EXPECT_FALSE(MaterialOKButtonClick(s));
    EXPECT_NE(sink.texts().back().find("right rock modulus of the arch at elevation 1800 ft"), std::string::npos);
    s.mat.DefStringGrid.cell(2, 2) = "2.3";
    EXPECT_TRUE(MaterialOKButtonClick(s));
    EXPECT_EQ(values(1800), (Strings{"", "", "1.1", "2.3"}));
    EXPECT_EQ(values(1830), crest);
    EXPECT_EQ(missingArchValue(s.model), std::nullopt);

    // The loads editor shows the crest's temperatures on the crest's row.
    LoadsFormActivate(s.model, s.loads);
    EXPECT_EQ(s.loads.ThuniStringGrid.cell(1, 1), "-15.00");
    EXPECT_EQ(s.loads.ThuniStringGrid.cell(1, 2), "");
    EXPECT_TRUE(LoadsOKButtonClick(s));
    EXPECT_EQ(values(1830), crest);
}

TEST_F(Case, RemovedAndMovedArchesTakeTheirValuesWithThem)
{
    open();
    const Strings at1610 = values(1610), at1720 = values(1720), at1830 = values(1830);
    onArchRow(4);  // 1665 ft
    gridRemove(s, GridKind::Arc);
    onArchRow(3);  // 1720 ft, moved to 1700 ft
    prompter = FixedPrompter(std::string("1700"));
    gridChangeElevation(s, GridKind::Arc);
    ASSERT_EQ(s.geo.ArcStringGrid.cell(kArcElevation, 3), "1700");
    ASSERT_TRUE(GeometryOKButtonClick(s)) << testing::PrintToString(sink.texts());
    EXPECT_EQ(s.model.NbArcs, 6);
    EXPECT_EQ(values(1610), at1610);
    EXPECT_EQ(values(1700), at1720);
    EXPECT_EQ(values(1720), Strings{"no arch"});
    EXPECT_EQ(values(1830), at1830);
    EXPECT_EQ(values(1665), Strings{"no arch"});
    // A new crest elevation is the same arch moved.
    s.geo.TopDEdit = "1835";
    TopDEditChange(s);
    for (int t = 1; t <= 5; ++t) ASSERT_TRUE(selectFaceTab(s, t));
    ASSERT_TRUE(GeometryOKButtonClick(s)) << testing::PrintToString(sink.texts());
    EXPECT_EQ(values(1835), at1830);
}

TEST_F(Case, RemovingTheGroutArchLeavesNoneAndIsRefusedUntilOneIsChosen)
{
    open();
    // The grout arch of the example is the crest; make it 1775 ft, then remove it.
    LoadsFormActivate(s.model, s.loads);
    s.loads.groutSelected = 1;
    ASSERT_TRUE(LoadsOKButtonClick(s));
    GeometryFormActivate(s);
    onArchRow(2);
    gridRemove(s, GridKind::Arc);
    ASSERT_TRUE(GeometryOKButtonClick(s));
    EXPECT_EQ(s.model.GroutIndex, -1);
    EXPECT_EQ(missingArchValue(s.model), noGroutArchText());
    LoadsFormActivate(s.model, s.loads);
    sink.clear();
    EXPECT_FALSE(LoadsOKButtonClick(s));
    EXPECT_EQ(sink.texts(), Strings{noGroutArchText()});
    s.loads.groutSelected = 0;
    EXPECT_TRUE(LoadsOKButtonClick(s));
    EXPECT_EQ(missingArchValue(s.model), std::nullopt);
}

TEST_F(Case, GeometryCommitKeepsArchesAndFaceTablesBetweenBaseAndTop)
{
    struct Change {
        const char *top, *base;
        const char* message;  // the start of the one message, or empty when it commits
    };
    const Change changes[] = {
        // A crest below an arch: the deck saved from it could not be read back.
        {"1770", "1500", "The arch at elevation 1775.000 ft lies above the top of the dam: the dam runs from its "
                         "base at 1500 ft to its top at 1770 ft"},
        {"1830", "1560", "The arch at elevation 1555.000 ft lies below the base of the dam"},
        {"1400", "1500", "The top of the dam (1400 ft) must be above its base (1500 ft)."},
        // Only the tab shown took the new top: the others still end at 1830.
        {"1850", "1500", "The face table \"Downstream face\" runs from 1500 ft to 1830 ft but the dam runs from "
                         "its base at 1500 ft to its top at 1850 ft"},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.top);
        sink.clear();
        open();
        s.geo.TopDEdit = c.top;
        TopDEditChange(s);
        s.geo.BaseDEdit = c.base;
        BaseDEditChange(s);
        EXPECT_FALSE(GeometryOKButtonClick(s));
        ASSERT_EQ(sink.texts().size(), 1u) << testing::PrintToString(sink.texts());
        EXPECT_EQ(sink.texts()[0].rfind(c.message, 0), 0u) << sink.texts()[0];
        EXPECT_FALSE(s.main.GeometrieMenu);
    }
    // Each face tab shown takes the new top: the geometry commits, and the
    // deck written from it reads back to the same case.
    for (int t = 1; t <= 5; ++t) ASSERT_TRUE(selectFaceTab(s, t));
    ASSERT_TRUE(GeometryOKButtonClick(s)) << testing::PrintToString(sink.texts());
    s.main.MateriauxMenu = s.main.ChargementMenu = true;
    const std::string deck = composeDeck(s.model, 0, s.geo.NbCenterEdit);
    ListSink sink2;
    FixedPrompter prompter2;
    Session back(sink2, prompter2);
    back.main.tabs = {"calc_0"};
    back.main.tabIndex = 0;
    back.Initialisation();
    bool accepted = true;
    LectureDonneesBytes(back, accepted, deck);
    EXPECT_TRUE(accepted && back.main.caseValidated()) << testing::PrintToString(sink2.texts());
    EXPECT_EQ(back.model.TopElev[kImperial], 1850);
    EXPECT_EQ(composeDeck(back.model, 0, back.geo.NbCenterEdit), deck);
}

TEST_F(Case, UnusualValuesAreWarningsTheUserMayAcceptAtTheEditorsOkOnly)
{
    open("simple.dat");
    MaterialFormActivate(s.model, s.mat);
    s.mat.EcEdit = "0";
    s.mat.NucEdit = "0.6";
    s.mat.WcEdit = "-150";
    s.mat.NurEdit = "-0.1";
    s.mat.EREdit = "2";
    prompter.confirmReply = false;  // go back to the form
    EXPECT_FALSE(MaterialOKButtonClick(s));
    ASSERT_EQ(prompter.confirmations.size(), 1u);
    EXPECT_EQ(prompter.confirmations[0],
              "Material properties|These values are unusual:\n\n"
              "The modulus of elasticity of concrete is 0 E6 psi: it should be greater than 0.\n"
              "The Poisson's ratio for concrete is 0.6: it should lie between 0 and 0.5.\n"
              "The unit weight of concrete is -150 pounds per cubit foot: it should be greater than 0.\n"
              "The Poisson's ratio for rock is -0.1: it should lie between 0 and 0.5.\n\nKeep them?");
    EXPECT_NE(s.model.Ec[kImperial], 0);
    prompter.confirmReply = true;
    EXPECT_TRUE(MaterialOKButtonClick(s));
    EXPECT_EQ(s.model.Ec[kImperial], 0);
    EXPECT_TRUE(sink.entries.empty());

    LoadsFormActivate(s.model, s.loads);
    const double top = s.model.TopElev[kImperial];
    s.loads.RweEdit = formatGeneral(top + 10);
    s.loads.TweEdit = formatGeneral(top + 20);
    prompter.confirmations.clear();
    prompter.confirmReply = false;
    EXPECT_FALSE(LoadsOKButtonClick(s));
    ASSERT_EQ(prompter.confirmations.size(), 1u);
    EXPECT_NE(prompter.confirmations[0].find("The reservoir water elevation " + formatGeneral(top + 10) +
                                             " ft is above the top of the dam (" + formatGeneral(top) + " ft)"),
              std::string::npos);
    EXPECT_NE(prompter.confirmations[0].find("The tailwater water elevation"), std::string::npos);
    prompter.confirmReply = true;
    EXPECT_TRUE(LoadsOKButtonClick(s));
    EXPECT_EQ(s.model.Rwe[kImperial], top + 10);

    // Usual values ask nothing; reading a deck with unusual ones asks nothing.
    prompter.confirmations.clear();
    s.loads.RweEdit = formatGeneral(top);
    s.loads.TweEdit = "";
    EXPECT_TRUE(LoadsOKButtonClick(s));
    s.main.MateriauxMenu = s.main.ChargementMenu = true;
    s.loads.RweEdit = formatGeneral(top + 10);
    ASSERT_TRUE(LectureChargement(s));
    const std::string deck = composeDeck(s.model, 0, s.geo.NbCenterEdit);
    bool accepted = true;
    s.Initialisation();
    LectureDonneesBytes(s, accepted, deck);
    EXPECT_TRUE(accepted && s.main.caseValidated());
    EXPECT_TRUE(prompter.confirmations.empty());
}
