#include <gtest/gtest.h>

#include "app/shell/Session.h"
#include "forms/LoadsForm.h"
#include "forms/MaterialForm.h"
#include "model/Numbers.h"

using namespace velta;

namespace {

struct Fixture {
    ListSink sink;
    FixedPrompter prompter;
    Session s{sink, prompter};

    // Arches given from the lowest up, in the copy of unit system u.
    void arches(std::vector<std::string> elevations, int u = kImperial)
    {
        s.model.NbArcs = static_cast<int>(elevations.size());
        for (size_t r = 0; r < elevations.size(); ++r) s.model.ArcTab(u, kArcElevation, r) = elevations[r];
    }
    void materialFields(const char* ec, const char* nuc, const char* wc, const char* thec, const char* er,
                        const char* nur)
    {
        auto& f = s.mat;
        f.EcEdit = ec, f.NucEdit = nuc, f.WcEdit = wc, f.ThecEdit = thec, f.EREdit = er, f.NurEdit = nur;
    }
};

} // namespace

TEST(MaterialForm, CommitStoresTheTypedCopyAndDerivesTheOther)
{
    struct Case {
        int unit;
        const char *ec, *wc, *thec, *er;
        double ecOther, wcOther, thecOther, erOther;
    };
    const Case cases[] = {
        {kImperial, "4.0", "150", "5.5", "3", 27.58, 2403, 9.9, 20.69},
        {kSI, "27.58", "2403", "10", "20.69", 4.0, 150, 5.56, 3.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unit);
        Fixture f;
        f.s.model.UnitSystem = c.unit;
        f.arches({"1000", "1100"}, c.unit);
        MaterialFormActivate(f.s.model, f.s.mat); // builds the moduli table from the arches
        f.materialFields(c.ec, "0.2", c.wc, c.thec, c.er, "0.25");
        EXPECT_TRUE(LectureMateriau(f.s));
        EXPECT_TRUE(f.s.main.MateriauxMenu);
        EXPECT_TRUE(f.sink.entries.empty());
        const auto& m = f.s.model;
        const int o = 1 - c.unit;
        EXPECT_DOUBLE_EQ(m.Ec[c.unit], parseNumber(c.ec));
        EXPECT_NEAR(m.Ec[o], c.ecOther, 1e-9);
        EXPECT_NEAR(m.Wc[o], c.wcOther, 1e-9);
        EXPECT_NEAR(m.Thec[o], c.thecOther, 1e-9);
        EXPECT_NEAR(m.Er[o], c.erOther, 1e-9);
        EXPECT_EQ(m.Nuc[o], 0.2);
        EXPECT_EQ(m.Nur[o], 0.25);
        EXPECT_FALSE(m.VariableModuli);
    }
}

TEST(MaterialForm, ModuliTableIsStoredAsTypedAndConvertedWithItsFormats)
{
    Fixture f;
    f.arches({"100", "150", "200"});
    f.materialFields("3", "0.2", "150", "5.6", "3", "0.2");
    DefRadioGroupClick(f.s.mat, 1);
    auto& g = f.s.mat.DefStringGrid;
    g.setDataRows(3);
    // Top arch first.
    g.cell(0, 1) = "200", g.cell(1, 1) = "4", g.cell(2, 1) = "";
    g.cell(0, 2) = "150", g.cell(1, 2) = "3.5", g.cell(2, 2) = "3.25";
    g.cell(0, 3) = "100", g.cell(1, 3) = "3", g.cell(2, 3) = "3";
    ASSERT_TRUE(LectureMateriau(f.s));
    const auto& d = f.s.model.DefTab;
    EXPECT_EQ(d(kImperial, 0, 2), "200");
    EXPECT_EQ(d(kImperial, 2, 1), "3.25");
    EXPECT_EQ(d(kSI, 0, 0), "30.480"); // elevations with three decimals
    EXPECT_EQ(d(kSI, 1, 0), "20.69");  // moduli with two
    EXPECT_EQ(d(kSI, 1, 2), "27.58");
    EXPECT_EQ(d(kSI, 0, 2), "60.960");
    EXPECT_EQ(d(kSI, 2, 2), "");
    EXPECT_TRUE(f.s.model.VariableModuli);

    // A cell that is not a number fails the conversion after the commit. The
    // rows are refreshed from the lowest up: the row below the faulty cell
    // is converted, the row above keeps its old copy.
    g.cell(1, 2) = "3,5";
    g.cell(1, 3) = "2";
    g.cell(1, 1) = "6";
    g.cell(0, 1) = "210";
    f.s.main.MateriauxMenu = false;
    EXPECT_THROW(LectureMateriau(f.s), ConversionError);
    EXPECT_TRUE(f.s.main.MateriauxMenu);
    EXPECT_EQ(d(kImperial, 1, 1), "3,5");
    EXPECT_EQ(d(kSI, 1, 0), "13.79");
    EXPECT_EQ(d(kSI, 1, 2), "27.58");
    EXPECT_EQ(d(kSI, 0, 2), "60.960");
}

TEST(MaterialForm, VariableModuliKeepOrTakeTheUniformModulus)
{
    Fixture f;
    f.arches({"100", "200"});
    f.s.model.Er = {2.5, 17.24};
    f.materialFields("3", "0.2", "150", "5.6", "", "0.2");
    DefRadioGroupClick(f.s.mat, 1);
    ASSERT_TRUE(LectureMateriau(f.s));
    // Empty uniform field: Er and its other copy are left alone.
    EXPECT_EQ(f.s.model.Er[kImperial], 2.5);
    EXPECT_EQ(f.s.model.Er[kSI], 17.24);

    // A number in the disabled field is kept, so a deck's modulus survives.
    f.s.mat.EREdit = "4";
    ASSERT_TRUE(LectureMateriau(f.s));
    EXPECT_EQ(f.s.model.Er[kImperial], 4);
    EXPECT_NEAR(f.s.model.Er[kSI], 27.58, 1e-9);

    // Text that is no number in the disabled field is not an error.
    f.s.mat.EREdit = "n/a";
    EXPECT_TRUE(LectureMateriau(f.s));
    EXPECT_EQ(f.s.model.Er[kImperial], 4);
    EXPECT_TRUE(f.sink.entries.empty());
}

TEST(MaterialForm, FaultyFieldStopsTheCommitButKeepsWhatWasRead)
{
    Fixture f;
    f.arches({"100", "200"});
    f.s.model.Wc = {145, 2322.9};
    f.s.model.Thec = {5, 9};
    f.s.main.MateriauxMenu = true;
    f.materialFields("4", "0.15", "heavy", "5.5", "3", "0.2");
    f.s.mat.DefStringGrid.setDataRows(2);
    f.s.mat.DefStringGrid.cell(1, 1) = "9";
    EXPECT_FALSE(LectureMateriau(f.s));
    EXPECT_EQ(f.sink.texts(), std::vector<std::string>{"Erreur d'entrée des materiaux"});
    EXPECT_EQ(f.sink.entries[0].kind, MessageKind::Error);
    EXPECT_TRUE(f.s.main.MateriauxMenu); // stays as it was
    const auto& m = f.s.model;
    EXPECT_EQ(m.Ec[kImperial], 4);
    EXPECT_NEAR(m.Ec[kSI], 27.58, 1e-9); // still converted
    EXPECT_EQ(m.Nuc[kImperial], 0.15);
    EXPECT_EQ(m.Wc[kImperial], 145);
    EXPECT_EQ(m.Thec[kImperial], 5);
    EXPECT_EQ(m.DefTab(kImperial, 1, 1), ""); // the table is not stored

    // A faulty uniform modulus fails too; with variable moduli it is ignored.
    f.sink.clear();
    f.materialFields("4", "0.15", "150", "5.5", "x", "0.2");
    f.s.main.MateriauxMenu = false;
    EXPECT_FALSE(LectureMateriau(f.s));
    EXPECT_FALSE(f.s.main.MateriauxMenu);
    EXPECT_EQ(f.sink.texts().size(), 1u);
}

TEST(MaterialForm, ShowingReloadsLabelsFieldsAndTable)
{
    Fixture f;
    auto& m = f.s.model;
    m.UnitSystem = kSI;
    f.arches({"30.48", "45.72", "60.96", "76.2", "91.44"}, kSI);
    m.Ec = {3, 20.69};
    m.Wc = {150, 2403};
    m.Thec = {5.6, 10.08};
    m.Er = {3, 20.69};
    m.Nuc = m.Nur = {0.2, 0.2};
    m.VariableModuli = true;
    for (int r = 0; r < 5; ++r) m.DefTab(kSI, 1, r) = "1" + std::to_string(r);
    MaterialFormActivate(f.s.model, f.s.mat);
    const auto& st = f.s.mat;
    EXPECT_EQ(st.modulusUnit, "GPa");
    EXPECT_EQ(st.weightUnit, "kg/m3");
    EXPECT_EQ(st.thermalUnit, "E-06 /°C");
    EXPECT_EQ(st.EcEdit, "20.69");
    EXPECT_EQ(st.WcEdit, "2403");
    EXPECT_EQ(st.ThecEdit, "10.08");
    EXPECT_EQ(st.DefRadioGroup, 1);
    EXPECT_FALSE(st.erEnabled);
    const auto& g = st.DefStringGrid;
    EXPECT_EQ(g.cell(0, 0), "Elevation (m)");
    EXPECT_EQ(g.cell(1, 0), "Left modulus(GPa)");
    EXPECT_EQ(g.cell(2, 0), "Right modulus(GPa)");
    ASSERT_EQ(g.dataRows(), 5);
    EXPECT_EQ(g.cell(0, 1), "91.44"); // top arch first
    EXPECT_EQ(g.cell(1, 1), "14");
    EXPECT_EQ(g.cell(0, 5), "30.48");

    m.UnitSystem = kImperial;
    m.VariableModuli = false;
    MaterialFormActivate(f.s.model, f.s.mat);
    EXPECT_EQ(st.modulusUnit, "E6 psi");
    EXPECT_EQ(st.weightUnit, "pounds per cubit foot");
    EXPECT_EQ(st.thermalUnit, "E-06 /°F");
    EXPECT_EQ(g.cell(1, 0), "Left modulus(E6 psi)");
    EXPECT_EQ(g.cell(2, 0), "Right modulus(E6 psi)");
    EXPECT_EQ(st.DefRadioGroup, 0);
    EXPECT_TRUE(st.erEnabled);

    f.s.main.MateriauxMenu = true;
    MaterialAnnulerButtonClick(f.s);
    EXPECT_FALSE(f.s.main.MateriauxMenu);
}

TEST(LoadsForm, CommitConvertsLevelsAndTemperatures)
{
    struct Case {
        int unit;
        const char *rwe, *temp, *elev;
        double rweOther;
        const char *tempOther, *elevOther;
    };
    const Case cases[] = {
        {kImperial, "100", "18", "100", 30.48, "10.00", "30.480"},
        {kSI, "30.48", "-9", "30.48", 100, "-16.20", "100.000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unit);
        Fixture f;
        auto& m = f.s.model;
        m.UnitSystem = c.unit;
        m.BaseElev = {90, 27.43};
        f.arches({c.elev, "200"}, c.unit);
        LoadsFormActivate(f.s.model, f.s.loads);
        auto& st = f.s.loads;
        st.RweEdit = c.rwe;
        st.TweEdit = "";
        st.ThuniStringGrid.cell(1, 2) = c.temp;
        st.ThlinStringGrid.cell(1, 2) = "4.5";
        st.groutSelected = 1;
        ASSERT_TRUE(LectureChargement(f.s));
        EXPECT_TRUE(f.s.main.ChargementMenu);
        const int o = 1 - c.unit;
        EXPECT_NEAR(m.Rwe[o], c.rweOther, 1e-9);
        // A blank tailwater is the base of the dam.
        EXPECT_EQ(m.Twe[c.unit], m.BaseElev[c.unit]);
        EXPECT_EQ(m.TempTab(c.unit, 1, 0), c.temp);
        EXPECT_EQ(m.TempTab(o, 1, 0), c.tempOther);
        EXPECT_EQ(m.TempTab(o, 0, 0), c.elevOther);
        EXPECT_EQ(m.TempTab(o, 1, 1), "");
        EXPECT_EQ(m.GroutIndex, 1);

        LoadsFormActivate(f.s.model, f.s.loads);
        EXPECT_EQ(st.TweEdit, formatGeneral(m.BaseElev[c.unit]));
    }
}

TEST(LoadsForm, ShowingFillsGroutListTablesAndHeaders)
{
    Fixture f;
    auto& m = f.s.model;
    f.arches({"1000", "1050", "1100", "1150"});
    m.GroutIndex = 0;
    m.Rwe = {1140.5, 347.63};
    m.Twe = {1010, 307.85};
    m.ThUni = false;
    m.ThLin = true;
    m.WeightDistribution = true;
    for (int r = 0; r < 4; ++r) m.TempTab(kImperial, 1, r) = std::to_string(r);
    LoadsFormActivate(f.s.model, f.s.loads);
    auto& st = f.s.loads;
    EXPECT_EQ(st.GroutComboBox, (std::vector<std::string>{"1150", "1100", "1050", "1000"}));
    EXPECT_EQ(st.groutSelected, 0);
    EXPECT_EQ(st.unitLabel, "ft");
    EXPECT_EQ(st.RweEdit, "1140.5");
    EXPECT_EQ(st.TweEdit, "1010");
    EXPECT_FALSE(st.thUniCheckBox);
    EXPECT_TRUE(st.thlinCheckBox);
    EXPECT_TRUE(st.WeightDistributionCheckBox);
    EXPECT_EQ(st.ThuniStringGrid.cell(0, 0), "Elevation (ft)");
    EXPECT_EQ(st.ThuniStringGrid.cell(1, 0), "Uni temp(°F)");
    EXPECT_EQ(st.ThlinStringGrid.cell(1, 0), "Lin temp(°F)");
    EXPECT_EQ(st.ThuniStringGrid.cell(0, 1), "1150");
    EXPECT_EQ(st.ThuniStringGrid.cell(1, 1), "3");

    // Choosing the lowest arch; the unticked uniform table is stored all the same.
    st.groutSelected = 3;
    st.ThuniStringGrid.cell(1, 4) = "7";
    ASSERT_TRUE(LectureChargement(f.s));
    EXPECT_EQ(m.GroutIndex, 3);
    EXPECT_EQ(m.TempTab(kImperial, 1, 0), "7");
    EXPECT_EQ(m.Twe[kImperial], 1010);

    m.UnitSystem = kSI;
    LoadsFormActivate(f.s.model, f.s.loads);
    EXPECT_EQ(st.unitLabel, "m");
    EXPECT_EQ(st.ThuniStringGrid.cell(0, 0), "Elevation (m)");
    EXPECT_EQ(st.ThuniStringGrid.cell(1, 0), "Uni temp(°C)");
    EXPECT_EQ(st.ThlinStringGrid.cell(1, 0), "Lin temp(°C)");

    f.s.main.ChargementMenu = true;
    LoadsAnnulerButtonClick(f.s);
    EXPECT_FALSE(f.s.main.ChargementMenu);
}

TEST(LoadsForm, FaultyWaterLevelStopsTheCommit)
{
    for (const auto& [rwe, twe] : {std::pair{"high", "1000"}, std::pair{"1190", "low"}}) {
        Fixture f;
        auto& m = f.s.model;
        f.arches({"1000", "1200"});
        m.Rwe = {1, 0.3};
        m.Twe = {2, 0.61};
        m.GroutIndex = 0;
        LoadsFormActivate(f.s.model, f.s.loads);
        f.s.loads.RweEdit = rwe;
        f.s.loads.TweEdit = twe;
        f.s.loads.groutSelected = 1;
        f.s.loads.ThuniStringGrid.cell(1, 1) = "5";
        EXPECT_FALSE(LectureChargement(f.s));
        EXPECT_EQ(f.sink.texts(), std::vector<std::string>{"Erreur d'entrée des chargements"});
        EXPECT_FALSE(f.s.main.ChargementMenu);
        EXPECT_EQ(m.GroutIndex, 0);
        EXPECT_EQ(m.TempTab(kImperial, 1, 1), "");
        EXPECT_EQ(m.Twe[kImperial], 2);
    }
}
