#include <gtest/gtest.h>

#include <sstream>

#include "app/shell/Session.h"
#include "deck/DeckFormat.h"
#include "deck/DeckWriter.h"
#include "forms/DeckReader.h"
#include "model/Numbers.h"
#include "support/TestSupport.h"

using namespace velta;

namespace {

std::vector<std::string> lines(const std::string& deck)
{
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < deck.size()) {
        size_t e = deck.find("\r\n", pos);
        EXPECT_NE(e, std::string::npos) << "every line ends with CR LF";
        if (e == std::string::npos) break;
        out.push_back(deck.substr(pos, e - pos));
        pos = e + 2;
    }
    return out;
}

// The example case whose cards the deck format documents.
CaseModel exampleCase()
{
    CaseModel m;
    m.DamName[0] = "Example dam";
    m.NbCenter = 1;
    m.TopElev = {1200, 365.76};
    m.BaseElev = {1000, 304.8};
    m.Radius = m.RadiusR = {500, 152.4};
    m.Ec = m.Er = {3, 20.69};
    m.Nuc = m.Nur = {0.2, 0.2};
    m.Thec = {5.6, 10.08};
    m.Wc = {150, 2403};
    m.Rwe = {1190, 362.71};
    m.Twe = {1000, 304.8};
    m.ThUni = true;
    auto& up = m.FaceTab[kUpstreamFace];
    up(0, 0, 0) = "1000";
    up(0, 1, 0) = "-20";
    up(0, 0, 1) = "1050";
    up(0, 2, 1) = "0.05";
    up(0, 1, 1) = "22.5";
    up(0, 0, 2) = "1100";
    up(0, 3, 2) = "-20";
    up(0, 4, 2) = "1100";
    up(0, 5, 2) = "500";
    up(0, 1, 2) = "0";
    m.FaceRows[kUpstreamFace] = 2;
    auto simple = [&](int t, const char* base, const char* crest) {
        auto& tab = m.FaceTab[t];
        tab(0, 0, 0) = "1000";
        tab(0, 1, 0) = base;
        tab(0, 0, 1) = "1200";
        tab(0, 1, 1) = crest;
        tab(0, 2, 1) = "0";
        m.FaceRows[t] = 1;
    };
    simple(kDownstreamFace, "35", "12");
    simple(kDownstreamLoC, "20", "5");
    simple(kUpstreamLoC, "0", "0");
    m.FaceTab[4] = m.FaceTab[2];
    m.FaceTab[5] = m.FaceTab[3];
    m.FaceRows[4] = m.FaceRows[2];
    m.FaceRows[5] = m.FaceRows[3];
    m.NbArcs = 2;
    m.ArcTab(0, 0, 0) = "1000";
    m.ArcTab(0, 1, 0) = "1";
    m.ArcTab(0, 0, 1) = "1100";
    m.ArcTab(0, 1, 1) = "2";
    m.ArcTab(0, 2, 1) = "45";
    m.ArcTab(0, 3, 1) = "50";
    m.TempTab(0, 1, 1) = "10";
    m.TempTab(0, 2, 1) = "5";
    m.DefTab(0, 1, 1) = "3";
    m.DefTab(0, 2, 1) = "3";
    m.GroutIndex = 1;
    return m;
}

}  // namespace

TEST(DeckWriter, WritesTheDocumentedExampleCards)
{
    const auto l = lines(composeDeck(exampleCase(), 0, 1));
    const std::vector<std::string> expected = {
        "MASTERIO  111011111",
        "1   0      Example dam",
        "2   0     011111101",
        "3   0     3010000000000    3.000 0.2005.600 150.000  3.000 0.200",
        "4   0      1000.000 1200.000 1190.000          1000.000",
        "3   1       20.000    35.000    480.000   500.000   500.000    -0.01",
        "5   1 1 1   1050.000       0.050",
        "5   1 1 2   1100.000                 -20.000    1100.000     500.000",
        "5   1 2 1   1200.000       0.000",
        "5   1 3 1   1200.000       0.000",
        "5   1 4 1   1200.000       0.000",
        "6   1         0.000     12.000    495.000    500.000",
        "7   11     1000.000",
        "7   12     1100.000   45.000 50.000               10.00 5.00 3.00 3.00",
        "1   2           1   1 11111    01",
        "1   4     00 00     100000000000          10  0               10100110000000",
        "1   3     000000000000000 0010000  00001 001100101010000 00    0",
        "1   5     1     1   11  1     0 000 0   000       2         11111  01",
        "1  10      1             1",
        "*ENDFILE",
    };
    EXPECT_EQ(l, expected);
}

TEST(DeckWriter, TwoCentresTailwaterAndRowNumbers)
{
    CaseModel m = exampleCase();
    m.DamName[3] = "";
    m.Twe = {1010, 0};
    m.WeightDistribution = true;
    m.VariableModuli = true;
    // Right-hand tables with their own, different, row counts.
    m.RadiusR = {600, 0};
    auto& rd = m.FaceTab[kRightDownstreamLoC];
    rd(0, 0, 0) = "1000";
    rd(0, 1, 0) = "30";
    for (int r = 1; r <= 10; ++r) {
        rd(0, 0, r) = formatGeneral(1000 + 20 * r);
        rd(0, 1, r) = "30";
        rd(0, 2, r) = "0";
    }
    m.FaceRows[kRightDownstreamLoC] = 10;
    const auto l = lines(composeDeck(m, 3, 2));
    EXPECT_EQ(l[1], "1   0      ");
    EXPECT_EQ(l[3], "3   0     3010010001100    3.000 0.2005.600 150.000  3.000 0.200");
    EXPECT_EQ(l[4], "4   0      1000.000 1200.000 1190.000 1010.000 1000.000");
    EXPECT_EQ(l[6], "4   1      570.000   600.000    600.000");
    std::vector<std::string> g5, g6;
    for (const auto& s : l) {
        if (s.rfind("5   1 5", 0) == 0) g5.push_back(s);
        if (s.rfind("5   1 6", 0) == 0) g6.push_back(s);
    }
    ASSERT_EQ(g5.size(), 10u);
    ASSERT_EQ(g6.size(), 1u);
    EXPECT_EQ(g5[9], "5   1 510   1200.000       0.000");
    const std::string crest = *std::find_if(l.begin(), l.end(), [](auto& s) { return s.rfind("6   1", 0) == 0; });
    EXPECT_EQ(crest, "6   1         0.000     12.000    495.000    500.000    570.000    600.000");
    EXPECT_EQ(l[l.size() - 4].back(), '1');  // weight switch in column 64
    EXPECT_EQ(l[l.size() - 4].size(), 64u);
}

TEST(DeckWriter, SingleCentreCrestCardEndsAtColumn52)
{
    const auto l = lines(composeDeck(exampleCase(), 0, 1));
    const auto crest = l[11];
    EXPECT_EQ(crest.size(), 52u);
    for (const auto& s : l) {
        EXPECT_NE(s.rfind("4   1", 0), 0u);
        EXPECT_NE(s.rfind("5   1 5", 0), 0u);
    }
}

TEST(DeckWriter, BadCellsRaiseConversionErrors)
{
    CaseModel m = exampleCase();
    m.FaceTab[kDownstreamFace](0, 1, 1) = "";
    EXPECT_THROW(composeDeck(m, 0, 1), ConversionError);
    m = exampleCase();
    m.GroutIndex = 5;
    EXPECT_THROW(composeDeck(m, 0, 1), ConversionError);
}

TEST(DeckWriter, AsksForTheNameOnceAndWritesIdenticalBytes)
{
    test::TempDir dir;
    ListSink sink;
    FixedPrompter prompter(std::string("Lac"));
    Session s(sink, prompter);
    s.model = exampleCase();
    s.model.DamName[0] = "";
    s.geo.NbCenterEdit = 1;
    EnregistrerDonnees(s, dir.file("a.dat"));
    EXPECT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0], "Dam / project name|Enter the name of the dam or study");
    s.model.UnitSystem = 1;  // the deck is always imperial
    EnregistrerDonnees(s, dir.file("b.dat"));
    EXPECT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(test::readFile(dir.file("a.dat")), test::readFile(dir.file("b.dat")));
    EXPECT_NE(test::readFile(dir.file("a.dat")).find("1   0      Lac\r\n"), std::string::npos);
}

TEST(DeckWriter, CancelledNameLeavesItEmptyAndAsksAgain)
{
    test::TempDir dir;
    ListSink sink;
    FixedPrompter prompter;  // cancels
    Session s(sink, prompter);
    s.model = exampleCase();
    s.model.DamName[0] = "";
    EnregistrerDonnees(s, dir.file("a.dat"));
    EnregistrerDonnees(s, dir.file("a.dat"));
    EXPECT_EQ(prompter.asked.size(), 2u);
    EXPECT_NE(test::readFile(dir.file("a.dat")).find("1   0      \r\n"), std::string::npos);
}

TEST(DeckWriter, FailedWriteKeepsThePreviousFile)
{
    test::TempDir dir;
    ListSink sink;
    FixedPrompter prompter;
    Session s(sink, prompter);
    s.model = exampleCase();
    const std::string path = dir.file("case.dat");
    test::writeFile(path, "previous good case");
    s.model.FaceTab[kDownstreamFace](0, 1, 1) = "oops";
    EXPECT_THROW(EnregistrerDonnees(s, path), ConversionError);
    EXPECT_EQ(test::readFile(path), "previous good case");
    EXPECT_THROW(EnregistrerDonnees(s, dir.file("missing/folder/case.dat")), std::exception);
}

TEST(DeckFormat, FieldsAreFoundByTheirColumns)
{
    using namespace deck;
    auto f = readFields("3   0     3010000000000    3.000 0.2005.600 150.000  3.000 0.200", optionsCard());
    ASSERT_EQ(f.size(), 6u);
    EXPECT_EQ(*f[kNuc], "0.200");
    EXPECT_EQ(*f[kThec], "5.600");
    EXPECT_EQ(*f[kNur], "0.200");
    // A linear temperature after a uniform one, and a wide rock modulus.
    auto a = readFields("7   10     1100.000   45.000 50.000              -10.00-12.3410.00 3.00", archCard());
    EXPECT_EQ(*a[kArchUniTemp], "-10.00");
    EXPECT_EQ(*a[kArchLinTemp], "-12.34");
    EXPECT_EQ(*a[kArchDefL], "10.00");
    EXPECT_EQ(*a[kArchDefR], "3.00");
    // Values typed short of their end column, and a blank field.
    auto e = readFields("4   0   1000       1200   1190                 1200", elevationsCard());
    EXPECT_EQ(*e[kBaseElev], "1000");
    EXPECT_EQ(*e[kTopElev], "1200");
    EXPECT_EQ(*e[kRwe], "1190");
    EXPECT_FALSE(e[kTwe].has_value());
    EXPECT_EQ(*e[kGroutElev], "1200");
    auto r = readFields("5   1 510   1200.000       0.000", rowCard());
    EXPECT_EQ(*r[kRowNumber], "10");
    EXPECT_EQ(*r[kRowElevation], "1200.000");
}
