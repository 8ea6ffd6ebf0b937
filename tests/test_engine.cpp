#include <gtest/gtest.h>
#include <numbers>

#include <Eigen/Dense>
#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>

#include "engine/Engine.h"
#include "engine/Output.h"
#include "support/TestSupport.h"
#include "test_engine_support.h"

using namespace velta;
using namespace velta::engine;

namespace {


const NodeResult& at(const AnalysisResult& r, int slot, double z)
{
    for (const auto& c : r.cantilevers)
        if (c.slot == slot)
            for (const auto& p : c.points)
                if (std::abs(p.z - z) < 0.01) return p;
    throw std::runtime_error("no node at slot " + std::to_string(slot) + " z " + std::to_string(z));
}

EngineOptions level(int n, RockModel rock = RockModel::Vogt)
{
    EngineOptions o;
    o.level = n;
    o.rock = rock;
    return o;
}

std::vector<std::string> lines(const std::string& s)
{
    std::vector<std::string> out;
    std::istringstream in(s);
    std::string l;
    while (std::getline(in, l)) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        out.push_back(l);
    }
    return out;
}

// A field as the results reader cuts it: columns a-b, 1-based, trimmed.
std::string cut(const std::string& line, int a, int b)
{
    if (int(line.size()) < a) return "";
    std::string s = line.substr(a - 1, b - a + 1);
    const auto f = s.find_first_not_of(" \t"), l = s.find_last_not_of(" \t");
    return f == std::string::npos ? "" : s.substr(f, l - f + 1);
}

} // namespace

// The shared 3D references on their own terms (rigid rock on the abutment
// surfaces): T1's deflections at the crown within 1 %, elsewhere within 1 %
// of the largest; crown face stresses within 2 % of the largest hoop
// stress; T4 the same at the crown. The base row is a singular corner.
struct CrownStresses {
    double z, upV, upH, downV, downH;
};

void expectCrownStresses(const AnalysisResult& r, const std::vector<CrownStresses>& refs, double base)
{
    double largest = 0;
    for (const auto& c : refs) largest = std::max({largest, std::abs(c.upH), std::abs(c.downH)});
    for (const auto& c : refs) {
        if (std::abs(c.z - base) < 0.01) continue;
        const NodeResult& p = at(r, 20, c.z);
        EXPECT_NEAR(p.up.vertical, c.upV, 0.02 * largest) << c.z;
        EXPECT_NEAR(p.up.hoop, c.upH, 0.02 * largest) << c.z;
        EXPECT_NEAR(p.down.vertical, c.downV, 0.02 * largest) << c.z;
        EXPECT_NEAR(p.down.hoop, c.downH, 0.02 * largest) << c.z;
    }
}

TEST(EngineReferences, T1)
{
    const std::string dir = test::referenceDir();
    if (dir.empty()) GTEST_SKIP() << "the shared reference results are not beside the sources";
    const CaseModel m = test::readDeck(dir + "/T1.dat");
    const AnalysisResult r = analyse(m, level(1, RockModel::Rigid));
    const auto refs = test::readCsv(dir + "/T1-fe-deflections.csv");
    double largest = 0;
    for (const auto& row : refs) largest = std::max(largest, std::abs(row[3]));
    for (const auto& row : refs) {
        const int slot = int(row[0]);
        const double d = at(r, slot, row[2]).radial;
        const double tol = slot == 20 ? 0.01 * std::abs(row[3]) : 0.01 * largest;
        EXPECT_NEAR(d, row[3], std::max(tol, 1e-7)) << "slot " << slot << " at " << row[2];
    }
    expectCrownStresses(r, {{1200, 0.9, -600.2, -1.1, -536.2},
                            {1150, -146.9, -524.4, 156.3, -338.5},
                            {1100, 6.6, -338.7, 6.2, -151.8},
                            {1050, 425.8, -85.5, -411.3, -53.2}},
                        1000);
    // The water force reaches the rock.
    EXPECT_NEAR(r.applied.y(), 5.879e8, 0.001 * 5.879e8);
    EXPECT_NEAR((r.reaction - r.applied).norm(), 0, 1e-6 * r.applied.norm());
    EXPECT_LT(r.residual, 1e-8);
}

TEST(EngineReferences, T4)
{
    const std::string dir = test::referenceDir();
    if (dir.empty()) GTEST_SKIP() << "the shared reference results are not beside the sources";
    const CaseModel m = test::readDeck(dir + "/T4.dat");
    const AnalysisResult r = analyse(m, level(1, RockModel::Rigid));
    std::vector<CrownStresses> stresses;
    for (const auto& row : test::readCsv(dir + "/T4-fe-crown.csv")) {
        if (std::abs(row[0] - 900) > 0.01) {
            EXPECT_NEAR(at(r, 20, row[0]).radial, row[1], 0.01 * std::abs(row[1])) << row[0];
        }
        stresses.push_back({row[0], row[2], row[3], row[4], row[5]});
    }
    expectCrownStresses(r, stresses, 900);
}

// The deck's own rock (Vogt, 100 times stiffer than the concrete) stays
// close to the rigid references.
TEST(EngineT1, StiffRockCloseToRigid)
{
    const AnalysisResult r = analyse(test::caseT1());
    EXPECT_NEAR(at(r, 20, 1200).radial, -0.120402, 0.03 * 0.120402);
    EXPECT_NEAR(at(r, 20, 1200).up.hoop, -600.2, 0.03 * 600.2);
    EXPECT_NEAR((r.reaction - r.applied).norm(), 0, 1e-6 * r.applied.norm());
}

TEST(EngineT1, SymmetricDamGivesSymmetricResults)
{
    const AnalysisResult r = analyse(test::caseT1(), level(1));
    double largest = 0;
    for (const auto& c : r.cantilevers)
        for (const auto& p : c.points) largest = std::max(largest, std::abs(p.radial));
    for (int d = 1; d <= 4; ++d)
        for (double z : {1100.0, 1150.0, 1200.0}) {
            if (z < r.layout.baseElev[20 + d]) continue;
            const NodeResult &l = at(r, 20 + d, z), &rt = at(r, 20 - d, z);
            EXPECT_NEAR(l.radial, rt.radial, 0.005 * largest) << d << " " << z;
            EXPECT_NEAR(l.tangential, -rt.tangential, 0.005 * largest) << d << " " << z;
            EXPECT_NEAR(l.up.hoop, rt.up.hoop, 5.0) << d << " " << z;
            EXPECT_NEAR(l.down.s1, rt.down.s1, 5.0) << d << " " << z;
            // Directions are lines: compare them modulo 180 degrees.
            const double da = std::remainder(l.up.angle + rt.up.angle, 180.0);
            EXPECT_NEAR(da, 0, 2.0) << d << " " << z;
        }
    for (size_t i = 0; i < r.abutments.size(); ++i) {
        const AbutmentResult &a = r.abutments[i], &b = r.abutments[r.abutments.size() - 1 - i];
        EXPECT_NEAR(a.force1, b.force1, 0.01 * a.force1 + 100);
        EXPECT_NEAR(a.angle2, b.angle2, 2.0);
    }
}

// Lines of centres away from the axis radius: every cantilever stands where
// the layout puts it, with a point on each arch from its foundation to the
// crest, the crest abutment's zero-height cantilever included.
TEST(EngineLayout, CantileversStandOnTheirSlots)
{
    const CaseModel m = test::caseDoubleCurvature();
    ASSERT_DOUBLE_EQ(m.ConsAngle[24], -50.39); // beyond the exact abutment, 50.3888
    const AnalysisResult r = analyse(m, level(1));
    ASSERT_EQ(int(r.cantilevers.size()), m.LastCons - m.FirstCons + 1);
    for (const CantileverResult& c : r.cantilevers) {
        EXPECT_EQ(c.angle, m.ConsAngle[c.slot]);
        EXPECT_EQ(c.baseElev, m.ConsBaseElev[c.slot]);
        int expected = 0;
        for (int k = 0; k < m.NbArcs; ++k) expected += r.arches[k].z >= c.baseElev - 0.01;
        ASSERT_EQ(int(c.points.size()), expected) << "slot " << c.slot;
        for (size_t k = 0; k < c.points.size(); ++k) {
            EXPECT_NEAR(c.points[k].a, c.angle, 1e-9) << "slot " << c.slot;
            EXPECT_EQ(c.points[k].z, r.arches[m.NbArcs - 1 - k].z) << "slot " << c.slot;
        }
        // At the foundation the rock takes the load: the water pressure is
        // shared, neither action carrying more than all of it.
        const NodeResult& foot = c.points.back();
        EXPECT_GE(foot.archLoad, 0) << "slot " << c.slot;
        EXPECT_GE(foot.cantLoad, 0) << "slot " << c.slot;
        EXPECT_NEAR(foot.archLoad + foot.cantLoad, foot.pressure, 1e-9) << "slot " << c.slot;
    }
    // The crest abutments carry the arch's thrust into the rock.
    for (int s : {m.FirstCons, m.LastCons}) {
        const AbutmentResult& a = r.abutments[s - m.FirstCons];
        EXPECT_EQ(a.z, 1200);
        EXPECT_GT(a.tangential, 0) << "slot " << s;
    }
    const AbutmentResult &left = r.abutments.back(), &right = r.abutments.front();
    // The weight on open joints is solved with little hoop stiffness, whose
    // round-off leaves the mirrored forces a few 1e-4 apart.
    EXPECT_NEAR(left.force1, right.force1, 2e-3 * left.force1);
    EXPECT_NEAR((r.reaction - r.applied).norm(), 0, 1e-6 * r.applied.norm());
    EXPECT_LT(at(r, 20, 1200).radial, 0);
}

// The loads other than water: the weight on independent cantilevers, and
// a drop of temperature that shortens the arches.
TEST(EngineLoads, WeightAndTemperature)
{
    CaseModel m = test::caseT1();
    m.Wc = {150, 2403};
    m.Rwe = {900, 274.32}; // empty reservoir
    const AnalysisResult w = analyse(m, level(1));
    // Weight of the crown block above 1100 ft: thickness 25 ft at 1100, 10 ft at the crest.
    EXPECT_NEAR(at(w, 20, 1100).Nv, -150 * 100 * 17.5, 0.03 * 150 * 100 * 17.5);
    EXPECT_NEAR(at(w, 20, 1200).radial, 0, 1e-9); // independent blocks are not adjusted
    EXPECT_NEAR(w.reaction.z(), w.applied.z(), 1e-6 * std::abs(w.applied.z()));

    CaseModel t = test::caseT1();
    t.Rwe = {900, 274.32};
    t.ThUni = true;
    for (int k = 0; k < t.NbArcs; ++k) t.TempTab(0, 1, k) = "-20";
    const AnalysisResult c = analyse(t, level(1));
    EXPECT_LT(at(c, 20, 1200).radial, -0.005); // the arches shorten and the crown moves downstream
    EXPECT_GT(at(c, 20, 1100).Nh, 0);          // and pull: the arches are in tension
    EXPECT_GT(at(c, 21, 1200).Nh, 0);
}

TEST(EngineErrors, RefusesCasesItCannotAnalyse)
{
    struct Case {
        const char* what;
        std::function<void(CaseModel&)> spoil;
        const char* says;
    };
    const Case cases[] = {
        {"highest arch below the crest", [](CaseModel& m) { m.ArcTab(0, 0, 4) = "1190"; }, "crest"},
        {"unknown procedure code", [](CaseModel& m) { m.ArcTab(0, 1, 2) = "4"; }, "procedure code 4"},
        {"zero concrete modulus",
         [](CaseModel& m) {
             m.Ec = {0, 0};
         },
         "concrete modulus"},
        {"faces that cross",
         [](CaseModel& m) {
             test::straightFace(m, kDownstreamFace, {{1000, 40}, {1200, -5}});
         },
         "faces"},
        {"abutment that overhangs", [](CaseModel& m) { m.ArcTab(0, 2, 3) = "40"; }, "overhanging"},
        {"no top of grout", [](CaseModel& m) { m.GroutIndex = -1; }, "grout"},
    };
    for (const Case& c : cases) {
        CaseModel m = test::caseT1();
        c.spoil(m);
        try {
            analyse(m, level(1));
            ADD_FAILURE() << c.what << ": analysed";
        } catch (const EngineError& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << c.what << ": " << e.what();
        }
    }
}

// The files as the program's results reader cuts them.
TEST(EngineFiles, ColumnsTheResultsReaderCuts)
{
    const CaseModel m = test::caseTwoCentres();
    const AnalysisResult r = analyse(m, level(1));
    const auto plt = lines(composePlt(m, r));
    const auto out = lines(composeOut(m, r));

    // Deflections: the title, a header per cantilever, points from the crest down.
    size_t i = 0;
    while (i < plt.size() && cut(plt[i], 5, 44) != "RADIAL ADJUSTMENT CANTILEVER DEFLECTIONS") ++i;
    ASSERT_LT(i, plt.size());
    int slot = -1, k = 0, blocks = 0;
    for (++i; i < plt.size() && cut(plt[i], 5, 39) != "RADIAL ADJUSTMENT, ARCH DEFLECTIONS"; ++i) {
        if (!cut(plt[i], 10, 13).empty()) {
            slot = std::stoi(cut(plt[i], 10, 13));
            k = 0;
            ++blocks;
            continue;
        }
        const CantileverResult& c = r.cantilevers[slot - r.layout.first];
        ASSERT_LT(k, int(c.points.size()));
        EXPECT_DOUBLE_EQ(std::stod(cut(plt[i], 30, 39)), r.arches[r.arches.size() - 1 - k].z);
        EXPECT_NEAR(std::stod(cut(plt[i], 40, 49)), -c.points[k].archLoad, 1e-4);
        EXPECT_NEAR(std::stod(cut(plt[i], 55, 66)), c.points[k].radial, 1e-6);
        ++k;
    }
    EXPECT_EQ(blocks, r.layout.last - r.layout.first + 1);
    ASSERT_LT(i, plt.size());
    // Principal stresses, compression positive, with their directions.
    while (i < plt.size() && cut(plt[i], 4, 32) != "CANTILEVER PRINCIPAL STRESSES") ++i;
    ASSERT_LT(i, plt.size());
    int points = 0;
    for (++i; i < plt.size() && cut(plt[i], 5, 41) != "PRINCIPAL ARCH STRESSES LEFT ABUTMENT"; ++i) {
        if (!cut(plt[i], 10, 13).empty()) {
            slot = std::stoi(cut(plt[i], 10, 13));
            k = 0;
            continue;
        }
        const NodeResult& p = r.cantilevers[slot - r.layout.first].points[k++];
        EXPECT_NEAR(std::stod(cut(plt[i], 15, 22)), p.z, 0.005);
        EXPECT_NEAR(-std::stod(cut(plt[i], 25, 32)), p.up.s1, 0.051);
        EXPECT_NEAR(-std::stod(cut(plt[i], 81, 88)), p.down.s2, 0.051);
        const int d = std::stoi(cut(plt[i], 93, 95)), mn = std::stoi(cut(plt[i], 96, 98));
        double a = d > 0 ? d + mn / 60.0 : d - mn / 60.0;
        if (slot < 20) a = -a;
        EXPECT_NEAR(std::remainder(a - p.down.angle, 180.0), 0, 0.02);
        ++points;
    }
    EXPECT_GT(points, 40);
    EXPECT_LT(i, plt.size());

    // Planes of centres, left and right.
    auto find = [&](int a, int b, const std::string& title) {
        for (size_t j = 0; j < out.size(); ++j)
            if (cut(out[j], a, b) == title) return j;
        return out.size();
    };
    size_t c = find(50, 79, "PLANE OF CENTERS DATA");
    ASSERT_LT(c + 3 + r.arches.size(), out.size());
    for (size_t a = 0; a < r.arches.size(); ++a) {
        const std::string& l = out[c + 4 + a];
        EXPECT_DOUBLE_EQ(std::stod(cut(l, 5, 14)), r.arches[a].z);
        EXPECT_NEAR(std::stod(cut(l, 75, 84)), m.Radius[0] - r.sections[a].upCentre[0], 0.001);
        EXPECT_NEAR(std::stod(cut(l, 89, 98)), r.sections[a].extradosR[0], 0.001);
    }
    c = find(
        10, 119,
        "PLANE OF CENTERS DATA (FOR THE RIGHT SIDE PLANE, OR OUTER PLANE, IF 3 CENTERED GEOMETRY IS USED)");
    ASSERT_LT(c + 3 + r.arches.size(), out.size());
    EXPECT_NEAR(std::stod(cut(out[c + 4 + 10], 85, 94)), r.sections[10].intradosR[1], 0.001);

    // Cantilever sections: a block per slot, rows from the base up.
    int geomBlocks = 0;
    size_t j = 0;
    for (; j < out.size() && cut(out[j], 1, 90) != "GEOMETRIC PROPERTIES AT THE ABUTMENT ON THE LEFT SIDE";
         ++j) {
        if (cut(out[j], 1, 81) != "GEOMETRIC PROPERTIES FOR CANTILEVER NUMBER") continue;
        const int s = std::stoi(cut(out[j], 82, 83));
        const auto& rows = r.cantileverGeometry[s - r.layout.first];
        size_t n = 0;
        for (j += 12; !cut(out[j], 3, 8).empty(); ++j, ++n) {
            EXPECT_NEAR(std::stod(cut(out[j], 2, 8)), rows[n].z, 0.005);
            EXPECT_NEAR(std::stod(cut(out[j], 23, 32)), rows[n].thickness, 0.001);
            EXPECT_NEAR(std::stod(cut(out[j], 46, 52)), rows[n].phi, 0.001);
        }
        EXPECT_EQ(n, rows.size());
        EXPECT_LE(n, 21u);
        ++geomBlocks;
    }
    EXPECT_EQ(geomBlocks, r.layout.last - r.layout.first + 1);
    EXPECT_LT(j, out.size());

    // Abutment forces: rows in slot order, matched by foundation elevation.
    c = find(1, 90, "RESOLUTION OF FORCES AND MOMENTS ON ABUTMENTS");
    ASSERT_LT(c, out.size());
    int s = r.layout.first;
    for (j = c + 18; j < out.size() && cut(out[j], 1, 1) != "1"; ++j, ++s) {
        ASSERT_LE(s, r.layout.last);
        EXPECT_NEAR(std::stod(cut(out[j], 2, 9)), r.layout.baseElev[s], 0.005);
        const AbutmentResult& a = r.abutments[s - r.layout.first];
        EXPECT_NEAR(std::stod(cut(out[j], 32, 41)), a.force1, 0.5);
        EXPECT_NEAR(std::stod(cut(out[j], 45, 49)), a.angle1, 0.5);
        EXPECT_NEAR(std::stod(cut(out[j], 52, 61)), a.force2, 0.5);
        EXPECT_NEAR(std::stod(cut(out[j], 65, 69)), a.angle2, 0.5);
    }
    EXPECT_EQ(s, r.layout.last + 1);
}

TEST(EngineFiles, NumbersKeepToTheirColumns)
{
    EXPECT_EQ(fitNumber(-0.1204021, 12, 6), "   -0.120402");
    EXPECT_EQ(fitNumber(123456789.0, 10, 0), " 123456789");
    EXPECT_EQ(fitNumber(-12345678901.0, 10, 0).size(), 10u);
    EXPECT_EQ(fitNumber(-12345.67, 8, 1), "-12345.7");
    // Degrees and minutes read back as d + m/60 (d > 0) or d - m/60.
    EXPECT_EQ(degreesMinutes(45.5), " 45 30");
    EXPECT_EQ(degreesMinutes(-45.5), "-45 30");
    EXPECT_EQ(degreesMinutes(-0.5), "  0 30");
    EXPECT_EQ(degreesMinutes(0.5), "180 30"); // the same direction as 0.5 degrees
    EXPECT_EQ(degreesMinutes(100), "-80  0");
}

// The program refuses a case it cannot analyse with a reason, a failure
// status and no table of results.
TEST(EngineProgram, FailsClearlyWithoutResults)
{
    test::TempDir dir;
    test::writeFile(dir.file("VELTA3.PLT"), "stale results\r\n");
    const std::string cmd = "cd " + dir.path() + " && " + VELTA_BIN_DIR + "/VELTA_DOS.exe VELTA3 2>/dev/null";
    EXPECT_NE(std::system(cmd.c_str()), 0);
    EXPECT_NE(test::readFile(dir.file("VELTA3.OUT")).find("ANALYSIS NOT DONE"), std::string::npos);
    std::ifstream plt(dir.file("VELTA3.PLT"));
    EXPECT_FALSE(plt.good());
}

#include "solver/ResultsReader.h"

// The program's results reader finds every section of both files, with no
// message, and reads back what the analysis found.
TEST(EngineFiles, TheResultsReaderReadsThemBack)
{
    for (CaseModel m : {test::caseT1(), test::caseTwoCentres()}) {
        ListSink sink;
        FixedPrompter prompter;
        Session s(sink, prompter);
        s.model = m;
        s.geo.NbCenterEdit = m.NbCenter;
        const AnalysisResult r = analyse(m, level(1));
        const std::string plt = composePlt(m, r), out = composeOut(m, r);
        const ResultsReadOutcome o = readResults(s, &plt, &out, "/tmp/");
        EXPECT_TRUE(o.pltOpened && o.outOpened);
        EXPECT_TRUE(sink.entries.empty()) << sink.texts().front();
        const ResultsModel& res = s.results;
        for (const CantileverResult& c : r.cantilevers) {
            ASSERT_EQ(res.ResDeflCount[c.slot], int(c.points.size()));
            ASSERT_EQ(res.ResStressCount[c.slot], int(c.points.size()));
            for (size_t k = 0; k < c.points.size(); ++k) {
                const NodeResult& p = c.points[k];
                EXPECT_NEAR(res.ResDeflection[0][c.slot][k], p.radial, 1e-6);
                EXPECT_NEAR(res.ResDeflElev[0][c.slot][k], r.arches[r.arches.size() - 1 - k].z, 1e-9);
                EXPECT_NEAR(res.ResPrin1Up[0][c.slot][k], p.up.s1, 0.051);
                EXPECT_NEAR(res.ResPrin2Down[0][c.slot][k], p.down.s2, 0.051);
                if (p.up.s1 != 0 || p.up.s2 != 0) {
                    EXPECT_NEAR(std::remainder(res.ResAngleUp[0][c.slot][k] + p.up.angle, 180.0), 0, 0.02)
                        << c.slot << " " << k;
                }
                EXPECT_NEAR(std::remainder(res.ResAngleDown[0][c.slot][k] - p.down.angle, 180.0), 0, 0.02)
                    << c.slot << " " << k;
            }
            const AbutmentResult& a = r.abutments[c.slot - r.layout.first];
            EXPECT_NEAR(res.ResAbutForce[0][c.slot][0], a.force1, 0.5);
            EXPECT_NEAR(res.ResAbutForce[0][c.slot][3], a.angle2, 0.5);
            EXPECT_GT(res.ResConsGeomCount[c.slot], 0);
        }
        for (size_t k = 0; k < r.arches.size(); ++k)
            EXPECT_NEAR(res.ResCentresRight[3][k], r.sections[k].extradosR[1], 0.001);
        EXPECT_TRUE(s.main.DeformeeButton && s.main.SiButton && s.main.FappuiButton &&
                    s.main.GeometrieButton3d);
    }
}

// The whole program on the reference deck: read by the program's own deck
// reader, analysed, both files written.
TEST(EngineProgram, AnalysesTheReferenceDeck)
{
    test::TempDir dir;
    const char* deck = "MASTERIO  111011111\r\n"
                       "1   0      T1 cylinder test dam\r\n"
                       "2   0     011111101\r\n"
                       "3   0     3000000000000    3.000 0.2005.600   0.000300.000 0.200\r\n"
                       "4   0      1000.000 1200.000 1200.000          1200.000\r\n"
                       "3   1        0.000    40.000      0.000     0.000   500.000    -0.01\r\n"
                       "5   1 1 1   1200.000       0.000\r\n"
                       "5   1 2 1   1200.000      -0.150\r\n"
                       "5   1 3 1   1200.000       0.000\r\n"
                       "5   1 4 1   1200.000       0.000\r\n"
                       "6   1         0.000     10.000      0.000      0.000\r\n"
                       "7   11     1000.000\r\n"
                       "7   10     1050.000   30.000 30.000\r\n"
                       "7   10     1100.000   42.000 42.000\r\n"
                       "7   10     1150.000   50.000 50.000\r\n"
                       "7   10     1200.000   55.000 55.000\r\n"
                       "1   2           1   1 11111    01\r\n"
                       "1   4     00 00     100000000000          10  0               10100110000000\r\n"
                       "1   3     000000000000000 0010000  00001 001100101010000 00    0\r\n"
                       "1   5     1     1   11  1     0 000 0   000       2         11111  01\r\n"
                       "1  10      1             1\r\n"
                       "*ENDFILE\r\n";
    test::writeFile(dir.file("VELTA1.DAT"), deck);
    const std::string cmd = "cd " + dir.path() + " && " + VELTA_BIN_DIR + "/VELTA_DOS.exe VELTA1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const auto plt = lines(test::readFile(dir.file("VELTA1.PLT")));
    bool crown = false;
    for (size_t i = 0; i + 1 < plt.size(); ++i)
        if (cut(plt[i], 10, 13) == "20" && cut(plt[i], 4, 32) != "CANTILEVER PRINCIPAL STRESSES") {
            EXPECT_NEAR(std::stod(cut(plt[i + 1], 55, 66)), -0.1204, 0.15 * 0.1204);
            crown = true;
            break;
        }
    EXPECT_TRUE(crown);
    EXPECT_NE(test::readFile(dir.file("VELTA1.OUT")).find("RESOLUTION OF FORCES AND MOMENTS ON ABUTMENTS"),
              std::string::npos);
}
