#include <gtest/gtest.h>

#include <optional>

#include "solver/ResultsReader.h"
#include "support/TestSupport.h"
#include "test_results_reader_files.h"

using namespace velta;
using namespace velta::test;

namespace {

const std::string kFolder = "/results/here/";
const std::string kPltMissing = "VELTA result file not found. Check VELTA.OUT file at /results/here/";
const std::string kDeflMsg = "Deflection results not found. Check VELTA.OUT file at /results/here/";
const std::string kStressMsg = "Principal stresses results not found. Check VELTA.OUT file at /results/here/";
const std::string kArchsMsg = "Geometric properties for archs not found in .out file";
const std::string kConsMsg = "Geometric properties for cantilevers not found in .out file";
const std::string kForcesMsg = "Forces results not found in .out file";

using Files = std::optional<std::string>;

struct Reader {
    ListSink sink;
    FixedPrompter prompter;
    Session s{sink, prompter};
    ResultsModel& r = s.results;
    MainWindowState& w = s.main;

    Reader() { sampleCase(s); }
    std::vector<std::string> read(const Files& plt, const Files& out)
    {
        sink.clear();
        readResults(s, plt ? &*plt : nullptr, out ? &*out : nullptr, kFolder);
        for (const auto& e : sink.entries) EXPECT_EQ(e.kind, MessageKind::Error);
        return sink.texts();
    }
    // Enabled states of the result controls, in a fixed order.
    struct Controls {
        bool defl, loads, stress, forces, geom3d, scale;
        bool operator==(const Controls&) const = default;
    };
    Controls controls() const
    {
        bool scale = w.PlusButton && w.MoinsButton && w.ValeurButton && w.ScaleLabel;
        EXPECT_EQ(scale, w.PlusButton || w.MoinsButton || w.ValeurButton || w.ScaleLabel) << "scale set as one";
        return {w.DeformeeButton, w.LoadButton, w.SiButton, w.FappuiButton, w.GeometrieButton3d, scale};
    }
};

std::string samplePlt() { return readFile(testData("results/VELTA0.PLT")); }
std::string sampleOut() { return readFile(testData("results/VELTA0.OUT")); }

std::string pltWithDeflections(std::initializer_list<std::string> lines)
{
    std::string body;
    for (const auto& l : lines) body += l + "\r\n";
    return deflTitle() + "\r\n" + body + deflEnd() + "\r\n" + stressTitle() + "\r\n" + stressEnd() + "\r\n";
}

std::string pltWithStresses(std::initializer_list<std::string> lines)
{
    std::string body;
    for (const auto& l : lines) body += l + "\r\n";
    return deflTitle() + "\r\n" + deflEnd() + "\r\n" + stressTitle() + "\r\n" + body + stressEnd() + "\r\n";
}

// An .OUT with the three arches of the sample case, no cantilever section
// and the given force rows.
std::string minimalOut(std::initializer_list<std::string> forceRows)
{
    return centresTitle() + "\r\n" + filler(rf::kCentres.linesBeforeRows()) + centresRow(1200, 1, 2, 3, 4) + "\r\n" +
           centresRow(1100, 1, 2, 3, 4) + "\r\n" + centresRow(1000, 1, 2, 3, 4) + "\r\n" + geomEnd() + "\r\n" +
           forcesTitle() + "\r\n" + filler(rf::kForces.linesBeforeRows()) + joinLines(forceRows) + pageStart() + "\r\n";
}

}  // namespace

TEST(ResultsReader, ReadsEverySectionOfTheSampleFiles)
{
    Reader t;
    EXPECT_TRUE(t.read(samplePlt(), sampleOut()).empty());
    EXPECT_EQ(t.controls(), (Reader::Controls{true, true, true, true, true, true}));
    const auto& r = t.r;

    // Deflections, both layers; points beyond the count keep their reset values.
    EXPECT_EQ(r.ResDeflCount[20], 3);
    EXPECT_EQ(r.ResDeflCount[22], 1);
    EXPECT_EQ(r.ResDeflCount[17], 0);
    EXPECT_DOUBLE_EQ(r.ResDeflElev[0][20][1], 1100);
    EXPECT_DOUBLE_EQ(r.ResConsLoad[0][20][1], 2.034);
    EXPECT_DOUBLE_EQ(r.ResDeflection[0][20][1], -0.016);
    EXPECT_DOUBLE_EQ(r.ResDeflElev[1][20][1], 1100 * 0.3048);
    EXPECT_DOUBLE_EQ(r.ResDeflection[1][20][1], -0.016 * 0.3048);
    EXPECT_DOUBLE_EQ(r.ResConsLoad[1][20][1], 2.034 * 47880.26);
    EXPECT_EQ(r.ResDeflElev[0][20][3], -1000.0);
    EXPECT_EQ(r.ResDeflElev[1][20][3], -1000.0);
    EXPECT_EQ(r.ResDeflElev[0][22][1], -1000.0);

    // Stresses: negated, ordered, angles by face and side.
    EXPECT_EQ(r.ResStressCount[21], 2);
    // Slot 21, point 1: upstream 300/100 -> -300/-100 in order; downstream
    // -45/310 -> 45/-310 swapped, 12 degrees + 90.
    EXPECT_DOUBLE_EQ(r.ResPrin1Up[0][21][1], -300);
    EXPECT_DOUBLE_EQ(r.ResPrin2Up[0][21][1], -100);
    EXPECT_DOUBLE_EQ(r.ResAngleUp[0][21][1], 0.5);
    EXPECT_DOUBLE_EQ(r.ResPrin1Down[0][21][1], -310);
    EXPECT_DOUBLE_EQ(r.ResPrin2Down[0][21][1], 45);
    EXPECT_DOUBLE_EQ(r.ResAngleDown[0][21][1], 102);
    // Slot 19, point 1: upstream 100/300 swapped, -0.5 - 90; downstream -12.
    EXPECT_DOUBLE_EQ(r.ResPrin1Up[0][19][1], -300);
    EXPECT_DOUBLE_EQ(r.ResPrin2Up[0][19][1], -100);
    EXPECT_DOUBLE_EQ(r.ResAngleUp[0][19][1], -90.5);
    EXPECT_DOUBLE_EQ(r.ResAngleDown[0][19][1], -12);
    EXPECT_DOUBLE_EQ(r.ResPrin1Up[1][19][1], -300 / 145.038);
    EXPECT_DOUBLE_EQ(r.ResPrin2Down[1][19][1], 45 / 145.038);
    EXPECT_DOUBLE_EQ(r.ResStressElev[1][19][1], 1100 * 0.3048);
    EXPECT_EQ(r.ResAngleUp[1][19][1], 0) << "angles have no SI layer";
    // Slot 20, point 2: zero downstream stresses give a zero angle.
    EXPECT_EQ(r.ResAngleDown[0][20][2], 0);
    EXPECT_NEAR(r.ResAngleUp[0][20][2], -(2 + 10 / 60.0) - 90, 1e-12);

    // Planes of centres; one centre: the right side is a copy.
    EXPECT_DOUBLE_EQ(r.ResCentresLeft[0][0], 1200);
    EXPECT_DOUBLE_EQ(r.ResCentresLeft[1][0], 10);
    EXPECT_DOUBLE_EQ(r.ResCentresLeft[4][2], 370);
    EXPECT_EQ(r.ResCentresRight, r.ResCentresLeft);

    // Cantilever sections.
    EXPECT_EQ(r.ResConsGeomCount[20], 3);
    EXPECT_EQ(r.ResConsGeomCount[18], 1);
    EXPECT_DOUBLE_EQ(r.ResConsGeom[0][20][2], 1000);
    EXPECT_DOUBLE_EQ(r.ResConsGeom[1][20][2], -9.5);
    EXPECT_DOUBLE_EQ(r.ResConsGeom[2][20][2], 40);
    EXPECT_DOUBLE_EQ(r.ResConsGeom[3][19][1], -31);

    // Forces, one row per slot in order.
    EXPECT_DOUBLE_EQ(r.ResAbutForce[0][18][0], 152000);
    EXPECT_DOUBLE_EQ(r.ResAbutForce[0][18][3], 45);
    EXPECT_DOUBLE_EQ(r.ResAbutForce[0][21][1], -14);
    EXPECT_DOUBLE_EQ(r.ResAbutForce[1][22][2], 97000 * 0.4535924 * 9.81);
    EXPECT_DOUBLE_EQ(r.ResAbutForce[1][22][3], 44.5);
}

TEST(ResultsReader, TwoCentresReadTheRightPlaneFromItsOwnColumns)
{
    Reader t;
    t.s.geo.NbCenterEdit = 2;
    EXPECT_TRUE(t.read(samplePlt(), sampleOut()).empty());
    EXPECT_DOUBLE_EQ(t.r.ResCentresRight[0][1], 1100);
    EXPECT_DOUBLE_EQ(t.r.ResCentresRight[1][1], 9);
    EXPECT_DOUBLE_EQ(t.r.ResCentresRight[4][2], 380);

    // Without its title the right plane fails on its own.
    std::string out = sampleOut();
    out.replace(out.find("(FOR THE RIGHT"), 4, "(for");
    EXPECT_EQ(t.read(samplePlt(), out), std::vector<std::string>{kArchsMsg});
    EXPECT_EQ(t.controls(), (Reader::Controls{true, true, true, true, true, true}));
}

TEST(ResultsReader, ReadingTheSameFilesTwiceGivesTheSameModel)
{
    Reader t;
    t.read(samplePlt(), sampleOut());
    ResultsModel first = t.r;
    t.read(samplePlt(), sampleOut());
    EXPECT_TRUE(first == t.r);

    // A read of other files keeps nothing of the earlier one.
    t.read(pltWithDeflections({slotHeader("20"), deflPoint("1000.0", "1.0", "-0.01")}), std::nullopt);
    EXPECT_EQ(t.r.ResDeflCount[21], 0);
    EXPECT_EQ(t.r.ResStressCount[20], 0);
    EXPECT_EQ(t.r.ResDeflElev[0][21][0], -1000.0);
    EXPECT_EQ(t.r.ResConsGeomCount[20], 0);
    EXPECT_EQ(t.r.ResAbutForce[0][18][0], 0);
}

TEST(ResultsReader, FileLineEnds)
{
    // The file's last line is never taken as data when the block runs to the
    // end of the file, whatever the line ends.
    for (std::string eol : {"\r\n", "\n"}) {
        for (bool finalEol : {true, false}) {
            SCOPED_TRACE(testing::Message() << (eol == "\n" ? "LF" : "CRLF") << " final " << finalEol);
            Reader t;
            std::string plt = deflTitle() + eol + slotHeader("20") + eol + deflPoint("1000.0", "1.0", "-0.01") +
                              eol + deflPoint("1100.0", "2.0", "-0.02");
            if (finalEol) plt += eol;
            EXPECT_EQ(t.read(plt, std::nullopt).size(), 3u) << "the .OUT sections fail, not the .PLT ones";
            EXPECT_EQ(t.r.ResDeflCount[20], 1);
            EXPECT_EQ(t.r.ResDeflElev[0][20][1], -1000.0);
            EXPECT_TRUE(t.w.DeformeeButton);
        }
    }
}

TEST(ResultsReader, SecondBlockOfASlotReplacesTheFirst)
{
    Reader t;
    auto msgs = t.read(pltWithDeflections({slotHeader("20"), deflPoint("1200.0", "1.0", "-0.01"),
                                           deflPoint("1100.0", "2.0", "-0.02"), deflPoint("1000.0", "3.0", "-0.03"),
                                           slotHeader("20"), deflPoint("1150.0", "4.0", "-0.04")}),
                       sampleOut());
    EXPECT_TRUE(msgs.empty());
    EXPECT_EQ(t.r.ResDeflCount[20], 1);
    EXPECT_DOUBLE_EQ(t.r.ResDeflElev[0][20][0], 1150);
    EXPECT_DOUBLE_EQ(t.r.ResDeflection[1][20][0], -0.04 * 0.3048);
    // Nothing of the first block survives beyond the new count.
    for (int u : {0, 1}) {
        EXPECT_EQ(t.r.ResDeflElev[u][20][1], -1000.0);
        EXPECT_EQ(t.r.ResDeflection[u][20][2], 0);
    }

    // The same for stresses and cantilever sections.
    msgs = t.read(pltWithStresses({slotHeader("20"), stressPoint("1200.0", "10", "20", "1", "0", "10", "20", "1", "0"),
                                   stressPoint("1100.0", "10", "20", "1", "0", "10", "20", "1", "0"), slotHeader("20"),
                                   stressPoint("1150.0", "30", "40", "1", "0", "30", "40", "1", "0")}),
                  std::nullopt);
    EXPECT_EQ(msgs.size(), 3u);
    EXPECT_EQ(t.r.ResStressCount[20], 1);
    EXPECT_DOUBLE_EQ(t.r.ResStressElev[0][20][0], 1150);
    EXPECT_EQ(t.r.ResStressElev[0][20][1], 0);
    EXPECT_EQ(t.r.ResPrin1Up[0][20][1], 0);

    std::string out = sampleOut();
    std::string second = geomTitle("20") + "\r\n" + filler(rf::kCantileverGeometry.linesBeforeRows()) + geomRow("1150.0", "1.0", "2.0", "3.0") + "\r\n\r\n";
    out.insert(out.rfind('\n', out.find("GEOMETRIC PROPERTIES AT THE ABUTMENT")) + 1, second);
    EXPECT_TRUE(t.read(samplePlt(), out).empty());
    EXPECT_EQ(t.r.ResConsGeomCount[20], 1);
    EXPECT_DOUBLE_EQ(t.r.ResConsGeom[0][20][0], 1150);
    EXPECT_EQ(t.r.ResConsGeom[0][20][1], 0);
}

TEST(ResultsReader, StressAnglesFollowTheFaceAndTheSide)
{
    struct Case {
        const char* slot;
        const char *upDeg, *upMin, *downDeg, *downMin;
        double up, down;
    };
    // Stresses in order (no swap): 300 and 100 in the file give -300 and -100.
    const Case cases[] = {
        {"5", "0", "30", "0", "30", -0.5, 0.5},     {"25", "0", "30", "0", "30", 0.5, -0.5},
        {"19", "2", "30", "2", "30", 2.5, -2.5},    {"20", "2", "30", "2", "30", -2.5, 2.5},
        {"5", "-2", "30", "-2", "30", -2.5, 2.5},   {"25", "45", "0", "0", "0", -45, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "slot " << c.slot << " " << c.upDeg << " " << c.upMin);
        Reader t;
        t.s.model.FirstCons = 0;
        t.s.model.LastCons = 40;
        auto msgs = t.read(pltWithStresses({slotHeader(c.slot), stressPoint("1000.0", "300.0", "100.0", c.upDeg,
                                                                            c.upMin, "300.0", "100.0", c.downDeg,
                                                                            c.downMin)}),
                           std::nullopt);
        EXPECT_EQ(msgs.size(), 3u);
        int slot = std::stoi(c.slot);
        EXPECT_DOUBLE_EQ(t.r.ResAngleUp[0][slot][0], c.up);
        EXPECT_DOUBLE_EQ(t.r.ResAngleDown[0][slot][0], c.down);
        EXPECT_DOUBLE_EQ(t.r.ResPrin1Up[0][slot][0], -300);
        EXPECT_DOUBLE_EQ(t.r.ResPrin1Up[1][slot][0], -300 / 145.038);
    }
}

TEST(ResultsReader, ZeroStressesLeaveTheAngleUnread)
{
    Reader t;
    auto msgs = t.read(pltWithStresses({slotHeader("20"), stressPoint("1000.0", "0.0", "0.0", "ab", "cd", "50.0",
                                                                      "0.0", "1", "30")}),
                       sampleOut());
    EXPECT_TRUE(msgs.empty());
    EXPECT_EQ(t.r.ResAngleUp[0][20][0], 0);
    EXPECT_DOUBLE_EQ(t.r.ResAngleDown[0][20][0], 1.5);
    EXPECT_TRUE(t.w.SiButton);

    // With a non-zero stress the same text fails the section.
    msgs = t.read(pltWithStresses({slotHeader("20"), stressPoint("1000.0", "1.0", "0.0", "ab", "cd", "50.0", "0.0",
                                                                 "1", "30")}),
                  sampleOut());
    EXPECT_EQ(msgs, std::vector<std::string>{kStressMsg});
    EXPECT_FALSE(t.w.SiButton);
}

TEST(ResultsReader, PrincipalStressesAreOrderedWithTheirAngles)
{
    Reader t;
    t.read(pltWithStresses({slotHeader("20"), stressPoint("1000.0", "100.0", "300.0", "10", "0", "100.0", "300.0",
                                                          "10", "0")}),
           std::nullopt);
    EXPECT_DOUBLE_EQ(t.r.ResPrin1Up[0][20][0], -300);
    EXPECT_DOUBLE_EQ(t.r.ResPrin2Up[0][20][0], -100);
    EXPECT_DOUBLE_EQ(t.r.ResAngleUp[0][20][0], -10 - 90);
    EXPECT_DOUBLE_EQ(t.r.ResPrin1Down[0][20][0], -300);
    EXPECT_DOUBLE_EQ(t.r.ResPrin2Down[0][20][0], -100);
    EXPECT_DOUBLE_EQ(t.r.ResAngleDown[0][20][0], 10 + 90);
    EXPECT_DOUBLE_EQ(t.r.ResPrin2Up[1][20][0], -100 / 145.038);
}

TEST(ResultsReader, UnitConversions)
{
    Reader t;
    const std::string plt = joinLines({deflTitle(), slotHeader("20"), deflPoint("1.0", "1.0", "1.0"), deflEnd(),
                                       stressTitle(), slotHeader("20"),
                                       stressPoint("1.0", "-145.038", "-145.038", "1", "0", "0", "0", "", ""),
                                       stressEnd()});
    auto msgs = t.read(plt,
                       minimalOut({forceRow("1000.00", "1000.", "10.0", "1000.", "20.0")}));
    EXPECT_TRUE(msgs.empty());
    EXPECT_DOUBLE_EQ(t.r.ResDeflElev[1][20][0], 0.3048);
    EXPECT_DOUBLE_EQ(t.r.ResDeflection[1][20][0], 0.3048);
    EXPECT_DOUBLE_EQ(t.r.ResConsLoad[1][20][0], 47880.26);
    EXPECT_DOUBLE_EQ(t.r.ResStressElev[1][20][0], 0.3048);
    EXPECT_DOUBLE_EQ(t.r.ResPrin1Up[1][20][0], 1.0);
    EXPECT_DOUBLE_EQ(t.r.ResPrin2Up[1][20][0], 1.0);
    EXPECT_NEAR(t.r.ResAbutForce[1][20][0], 4449.741444, 1e-9);
    EXPECT_NEAR(t.r.ResAbutForce[1][20][2], 4449.741444, 1e-9);
    EXPECT_DOUBLE_EQ(t.r.ResAbutForce[1][20][1], 10);
    EXPECT_DOUBLE_EQ(t.r.ResAbutForce[1][20][3], 20);
}

TEST(ResultsReader, ForceRowsMatchSlotsByFoundationElevation)
{
    // One row at 1100.00 ft; slot 18 stands at the given elevation, slot 22
    // at 1100 ft, the slots between elsewhere.
    struct Case {
        double base18;
        int slot;  // the slot that gets the row
    };
    const Case cases[] = {
        {1100.0316, 18}, {1099.9684, 18}, {1100.0317, 22}, {1099.9683, 22}, {1100.0, 18},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.base18);
        Reader t;
        t.s.model.ConsBaseElev[18] = c.base18;
        auto msgs = t.read(samplePlt(), minimalOut({forceRow("1100.00", "5000.", "1.0", "6000.", "2.0")}));
        EXPECT_TRUE(msgs.empty());
        for (int s = 18; s <= 22; ++s) EXPECT_EQ(t.r.ResAbutForce[0][s][0], s == c.slot ? 5000 : 0) << s;
    }
}

TEST(ResultsReader, ForceRowThreeSlotsAfterTheCursor)
{
    Reader t;
    auto msgs = t.read(samplePlt(), minimalOut({forceRow("1100.00", "1.", "1.0", "2.", "2.0"),
                                                forceRow("1100.00", "3.", "3.0", "4.", "4.0")}));
    EXPECT_TRUE(msgs.empty());
    EXPECT_EQ(t.r.ResAbutForce[0][18][0], 1);
    EXPECT_EQ(t.r.ResAbutForce[0][19][0], 0);
    EXPECT_EQ(t.r.ResAbutForce[0][20][0], 0);
    EXPECT_EQ(t.r.ResAbutForce[0][21][0], 0);
    EXPECT_EQ(t.r.ResAbutForce[0][22][0], 3);
    EXPECT_DOUBLE_EQ(t.r.ResAbutForce[1][22][0], 3 * 0.4535924 * 9.81);
}

TEST(ResultsReader, ForceRowPastTheLastSlotFailsKeepingEarlierRows)
{
    Reader t;
    t.s.model.ConsBaseElev[23] = 1040;  // stale, beyond the last used slot
    auto msgs = t.read(samplePlt(), minimalOut({forceRow("1040.00", "1.", "1.0", "2.", "2.0"),
                                                forceRow("1040.00", "3.", "3.0", "4.", "4.0"),
                                                forceRow("1040.00", "5.", "5.0", "6.", "6.0")}));
    EXPECT_EQ(msgs, std::vector<std::string>{kForcesMsg});
    EXPECT_EQ(t.r.ResAbutForce[0][19][0], 1);
    EXPECT_EQ(t.r.ResAbutForce[1][21][1], 3);
    EXPECT_EQ(t.r.ResAbutForce[0][23][0], 0);
    EXPECT_EQ(t.controls(), (Reader::Controls{true, true, true, false, true, false}));
}

TEST(ResultsReader, RightPlaneIsCopiedEvenWhenTheLeftOneFailsPartWay)
{
    Reader t;
    std::string out = centresTitle() + "\r\n" + filler(rf::kCentres.linesBeforeRows()) + centresRow(1200, 1, 2, 3, 4) + "\r\n" +
                      centresRow(1100, 5, 6, 7, 8) + "\r\n" + Card{}.put(5, 14, "1000.0").text + "\r\n";
    // Stale values from an earlier tab in rows beyond this case's arches.
    t.r.ResCentresRight[0][3] = 77;
    auto msgs = t.read(samplePlt(), out);
    EXPECT_EQ(msgs[0], kArchsMsg);
    EXPECT_DOUBLE_EQ(t.r.ResCentresLeft[4][1], 8);
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 3; ++i) EXPECT_EQ(t.r.ResCentresRight[j][i], t.r.ResCentresLeft[j][i]);
    EXPECT_EQ(t.r.ResCentresRight[0][3], 77) << "the right plane is never reset";
}

TEST(ResultsReader, EachFailingSectionHasItsMessageAndControls)
{
    using C = Reader::Controls;
    const std::string plt = samplePlt(), out = sampleOut();
    auto without = [](std::string text, const std::string& title) {
        text.replace(text.find(title), title.size(), std::string(title.size(), '*'));
        return text;
    };
    auto replaced = [](std::string text, const std::string& from, const std::string& to) {
        size_t p = text.find(from);
        EXPECT_NE(p, std::string::npos) << from;
        return text.replace(p, from.size(), to);
    };
    const std::string someDeflLine = deflPoint("1100.00", "2.034", "-0.01600");
    const std::string someStressLine = stressPoint("1100.0", "80.0", "420.0", "3", "20", "60.0", "390.0", "7", "45");
    const std::string someGeomRow = geomRow("1100.0", "-4.000", "24.000", "0.00");
    struct Case {
        const char* name;
        Files plt, out;
        std::vector<std::string> messages;
        C controls;
    };
    const Case cases[] = {
        {"no files", std::nullopt, std::nullopt,
         {kPltMissing, kDeflMsg, kStressMsg, kArchsMsg, kConsMsg, kForcesMsg},
         {false, false, false, false, false, false}},
        // The .OUT is still read when the .PLT cannot be opened.
        {"no .PLT", std::nullopt, out, {kPltMissing, kDeflMsg, kStressMsg}, {false, false, false, true, true, true}},
        {"no .OUT", plt, std::nullopt, {kArchsMsg, kConsMsg, kForcesMsg}, {true, true, true, false, false, false}},
        // Section B goes on after the line where A failed.
        {"bad deflection", replaced(plt, someDeflLine, deflPoint("1100.00", "2,034", "-0.01600")), out, {kDeflMsg},
         {false, false, true, true, true, true}},
        {"slot 41", replaced(plt, slotHeader("22"), slotHeader("41")), out, {kDeflMsg},
         {false, false, true, true, true, true}},
        {"slot -1", replaced(plt, slotHeader("22"), slotHeader("-1")), out, {kDeflMsg},
         {false, false, true, true, true, true}},
        {"point before any slot", replaced(plt, slotHeader("22"), ""), out, {kDeflMsg},
         {false, false, true, true, true, true}},
        {"bad stress", replaced(plt, someStressLine, stressPoint("1100.0", "80.0", "", "3", "20", "60", "390", "7",
                                                                  "45")),
         out, {kStressMsg}, {true, true, false, true, true, true}},
        // A missing .PLT title is no failure.
        {"no deflection title", without(plt, "RADIAL ADJUSTMENT CANTILEVER DEFLECTIONS"), out, {},
         {true, true, true, true, true, true}},
        {"no stress title", without(plt, "CANTILEVER PRINCIPAL STRESSES"), out, {},
         {true, true, true, true, true, true}},
        {"no centres title", plt, without(out, "  PLANE OF CENTERS DATA\r\n"), {kArchsMsg},
         {true, true, true, true, true, true}},
        {"bad geometry row", plt, replaced(out, someGeomRow, geomRow("1100.0", "x", "24.000", "0.00")), {kConsMsg},
         {true, true, true, true, false, true}},
        {"geometry slot 99", plt, replaced(out, geomTitle("22", 1), geomTitle("99", 1)), {kConsMsg},
         {true, true, true, true, false, true}},
        // A missing end title of the cantilever sections is no failure.
        {"no geometry end", plt, without(out, "GEOMETRIC PROPERTIES AT THE ABUTMENT"), {},
         {true, true, true, true, true, true}},
        {"no forces title", plt, without(out, "RESOLUTION OF FORCES"), {kForcesMsg},
         {true, true, true, false, true, false}},
        // The last section to set the scale controls decides them.
        {"forces fail after stresses", replaced(plt, someStressLine, "x"),
         without(out, "RESOLUTION OF FORCES"), {kStressMsg, kForcesMsg}, {true, true, false, false, true, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reader t;
        EXPECT_EQ(t.read(c.plt, c.out), c.messages);
        EXPECT_EQ(t.controls(), c.controls);
    }
}

TEST(ResultsReader, FailedSectionsKeepWhatTheyRead)
{
    Reader t;
    // Twelve points in one block: the eleven first stay, the section fails.
    std::string plt = deflTitle() + "\r\n" + slotHeader("20") + "\r\n";
    for (int k = 0; k < 12; ++k) plt += deflPoint(std::to_string(1000 + k), "1.0", "-0.5") + "\r\n";
    plt += deflEnd() + "\r\n";
    // Twenty-two rows in one section block.
    std::string out = geomTitle("20") + "\r\n" + filler(rf::kCantileverGeometry.linesBeforeRows());
    for (int k = 0; k < 22; ++k) out += geomRow(std::to_string(1000 + k), "1.0", "2.0", "3.0") + "\r\n";
    out += "\r\n" + geomEnd() + "\r\n";
    auto msgs = t.read(plt, out);
    EXPECT_EQ(msgs, (std::vector<std::string>{kDeflMsg, kArchsMsg, kConsMsg, kForcesMsg}));
    EXPECT_EQ(t.r.ResDeflCount[20], 11);
    EXPECT_DOUBLE_EQ(t.r.ResDeflElev[0][20][10], 1010);
    EXPECT_EQ(t.r.ResDeflElev[1][20][0], -1000.0) << "no SI layer after a failure";
    EXPECT_EQ(t.r.ResConsGeomCount[20], 21);
    EXPECT_DOUBLE_EQ(t.r.ResConsGeom[0][20][20], 1020);
    EXPECT_FALSE(t.w.DeformeeButton);

    // A line that fails part-way stores none of its values.
    t.read(pltWithDeflections({slotHeader("20"), deflPoint("1000.0", "1.0", "-0.5"), deflPoint("1100.0", "2.0", "?")}),
           sampleOut());
    EXPECT_EQ(t.r.ResDeflCount[20], 1);
    EXPECT_EQ(t.r.ResDeflElev[0][20][1], -1000.0);
    EXPECT_EQ(t.r.ResConsLoad[0][20][1], 0);
}

TEST(ResultsReader, DamagedFilesGiveSectionMessagesOnly)
{
    const std::string plt = samplePlt(), out = sampleOut();
    std::string crOnly = plt;
    for (auto& ch : crOnly)
        if (ch == '\n') ch = '\r';
    std::string nulls = plt;
    for (size_t i = 40; i < nulls.size(); i += 7) nulls[i] = '\0';
    const std::string cases[] = {
        "",
        std::string(1, '\0'),
        crOnly,
        nulls,
        std::string(1 << 20, 'x'),
        plt.substr(0, plt.size() / 2),
        std::string(200000, '\n'),
        deflTitle() + "\r\n" + slotHeader("20") + std::string(100000, ' ') + "9\r\n",
    };
    for (const auto& bytes : cases) {
        Reader t;
        auto msgs = t.read(bytes, bytes);
        for (const auto& m : msgs) EXPECT_TRUE(m.find("not found") != std::string::npos) << m;
        EXPECT_FALSE(t.w.FappuiButton);
        for (int c = 0; c < kConsSlots; ++c) {
            EXPECT_LE(t.r.ResDeflCount[c], kResultPoints);
            EXPECT_LE(t.r.ResConsGeomCount[c], kGeomRows);
        }
    }
}

TEST(ResultsReader, ReadsTheCurrentTabsScratchFiles)
{
    TempDir dir;
    Reader t;
    t.s.model.ProgramDir = dir.path();
    t.s.main.tabs = {"calc_0", "calc_1", "calc_2", "calc_3"};
    t.s.main.tabIndex = 3;
    writeFile(dir.file("VELTA3.PLT"), samplePlt());
    writeFile(dir.file("VELTA3.OUT"), sampleOut());
    LectureResultats(t.s);
    EXPECT_TRUE(t.sink.entries.empty());
    EXPECT_EQ(t.r.ResDeflCount[20], 3);
    EXPECT_TRUE(t.w.FappuiButton);

    // The messages name the folder where the files were looked for.
    t.s.main.tabIndex = 2;
    t.sink.clear();
    LectureResultats(t.s);
    ASSERT_FALSE(t.sink.entries.empty());
    EXPECT_EQ(t.sink.entries[0].text, "VELTA result file not found. Check VELTA.OUT file at " + dir.path());
    TempDir scratch;
    t.s.scratchDir = scratch.path();
    t.s.main.tabIndex = 3;
    t.sink.clear();
    LectureResultats(t.s);
    ASSERT_FALSE(t.sink.entries.empty());
    EXPECT_EQ(t.sink.entries[0].text, "VELTA result file not found. Check VELTA.OUT file at " + scratch.path());
    EXPECT_EQ(t.r.ResDeflCount[20], 0);

    // Explicit paths; a folder is not a file that can be read.
    auto outcome = LectureResultats(t.s, dir.file("VELTA3.PLT"), dir.path(), kFolder);
    EXPECT_TRUE(outcome.pltOpened);
    EXPECT_FALSE(outcome.outOpened);
    EXPECT_EQ(t.r.ResDeflCount[20], 3);
}
