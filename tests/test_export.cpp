#include <gtest/gtest.h>

#include <QFileInfo>
#include <filesystem>

#include "deck/DeckWriter.h"
#include "solver/Export.h"
#include "solver/ResultsReader.h"
#include "support/TestSupport.h"
#include "test_results_reader_files.h"

using namespace velta;
using namespace velta::test;

namespace {

struct Exporter {
    ListSink sink;
    FixedPrompter prompter;
    Session s{sink, prompter};
    CaseModel& m = s.model;
    ResultsModel& r = s.results;
    Exporter(int first, int last)
    {
        r.reset();
        m.FirstCons = first;
        m.LastCons = last;
    }
};

// Slots 19 to 21: slot 19 shorter than the crown, slot 21 longer.
void fillImperial(ResultsModel& r)
{
    r.ResDeflCount[19] = 1;
    r.ResDeflCount[20] = 3;
    r.ResDeflCount[21] = 4;
    r.ResDeflElev[0][20] = {1200, 1100, 1000};
    r.ResDeflElev[0][21] = {1200, 1100, 1000, 900};
    r.ResDeflection[0][19] = {-0.01};
    r.ResDeflection[0][20] = {-0.02, -0.015, 0};
    r.ResDeflection[0][21] = {-0.0101, -0.005, -0.001, 0.5};
    r.ResStressCount[19] = 1;
    r.ResStressCount[20] = 1;
    r.ResStressElev[0][20] = {1200.0004};
    r.ResPrin1Up[0][19] = {-123.456789};
    r.ResPrin1Up[0][20] = {250};
    r.ResPrin2Up[0][19] = {123456.789};
    r.ResPrin2Up[0][20] = {-5};
    r.ResPrin1Down[0][19] = {0.00001};
    r.ResPrin1Down[0][20] = {-1.5};
    r.ResPrin2Down[0][19] = {2};
    r.ResPrin2Down[0][20] = {3};
}

}  // namespace

TEST(ResultsExport, ImperialLayout)
{
    Exporter t(19, 21);
    fillImperial(t.r);
    const std::string header = "elevation (ft);console19;console20;console21;\r\n";
    EXPECT_EQ(composeResultsExport(t.m, t.r),
              "VELTA Results for quick analyses with spreadsheets\r\n"
              "\r\n"
              "Radial Deflection in inches\r\n" +
                  header +
                  "1200.000;-0.1200;-0.2400;-0.1212;\r\n"
                  "1100.000; ; -0.1800;-0.0600;\r\n"
                  "1000.000; ; 0.0000;-0.0120;\r\n"
                  "\r\n"
                  "First Principal stresses on upstream face (Psi)\r\n" +
                  header +
                  "1200.000;-123.4568;250.0000; ; \r\n"
                  "\r\n"
                  "Second Principal stresses on upstream face (Psi)\r\n" +
                  header +
                  "1200.000;123456.7900;-5.0000; ; \r\n"
                  "\r\n"
                  "First Principal stresses on downstream face (Psi)\r\n" +
                  header +
                  "1200.000;0.0000;-1.5000; ; \r\n"
                  "\r\n"
                  "Second Principal stresses on downstream face (Psi)\r\n" +
                  header +
                  "1200.000;2.0000;3.0000; ; \r\n"
                  "\r\n");
}

TEST(ResultsExport, SiLayerAndUnits)
{
    Exporter t(20, 20);
    t.m.UnitSystem = kSI;
    t.r.ResDeflCount[20] = 1;
    t.r.ResDeflElev[0][20][0] = 1200;
    t.r.ResDeflElev[1][20][0] = 365.76;
    t.r.ResDeflection[0][20][0] = -0.0033;
    t.r.ResDeflection[1][20][0] = -0.001;
    t.r.ResStressCount[20] = 1;
    t.r.ResStressElev[1][20][0] = 304.8;
    t.r.ResPrin1Up[1][20][0] = -1.2345678;
    t.r.ResPrin2Down[1][20][0] = 100000000.0;
    const std::string text = composeResultsExport(t.m, t.r);
    for (const char* line : {"\r\nRadial Deflection in mm\r\nelevation (m);console20;\r\n365.760;-1.0000;\r\n\r\n",
                             "\r\nFirst Principal stresses on upstream face (MPa)\r\nelevation (m);console20;\r\n"
                             "304.800;-1.2346;\r\n\r\n",
                             "\r\nSecond Principal stresses on upstream face (MPa)\r\n",
                             "\r\nFirst Principal stresses on downstream face (MPa)\r\n",
                             "\r\nSecond Principal stresses on downstream face (MPa)\r\nelevation (m);console20;\r\n"
                             "304.800;1.0000000E+08;\r\n\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_EQ(text.find("Psi"), std::string::npos);
}

TEST(ResultsExport, EmptyCrownGivesTitlesAndHeadersOnly)
{
    Exporter t(19, 21);
    fillImperial(t.r);
    t.r.ResDeflCount[20] = 0;
    t.r.ResStressCount[20] = 0;
    const std::string header = "elevation (ft);console19;console20;console21;\r\n";
    EXPECT_EQ(composeResultsExport(t.m, t.r), "VELTA Results for quick analyses with spreadsheets\r\n\r\n"
                                              "Radial Deflection in inches\r\n" +
                                                  header +
                                                  "\r\n"
                                                  "First Principal stresses on upstream face (Psi)\r\n" +
                                                  header +
                                                  "\r\n"
                                                  "Second Principal stresses on upstream face (Psi)\r\n" +
                                                  header +
                                                  "\r\n"
                                                  "First Principal stresses on downstream face (Psi)\r\n" +
                                                  header +
                                                  "\r\n"
                                                  "Second Principal stresses on downstream face (Psi)\r\n" +
                                                  header + "\r\n");
}

TEST(ResultsExport, ReplacesAnExistingFileAndLeavesNoHalfFile)
{
    TempDir dir;
    Exporter t(19, 21);
    fillImperial(t.r);
    const std::string path = dir.file("results.csv");
    writeFile(path, std::string(100000, 'x'));
    ExporterResults(t.s.model, t.s.results, path);
    EXPECT_EQ(readFile(path), composeResultsExport(t.m, t.r));
    t.r.ResDeflCount[20] = 0;
    ExporterResults(t.s.model, t.s.results, path);
    EXPECT_EQ(readFile(path), composeResultsExport(t.m, t.r));

    // A file that cannot be written raises the system's message and leaves
    // nothing behind.
    const std::string missing = dir.file("no/such/folder/results.csv");
    try {
        ExporterResults(t.s.model, t.s.results, missing);
        FAIL() << "no error";
    } catch (const FileWriteError& e) {
        EXPECT_STRNE(e.what(), "");
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_THROW(ExporterResults(t.s.model, t.s.results, dir.path()), FileWriteError);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary left";
}

// The export command's path: result files read for the case, then written in
// the unit system asked for.
TEST(ResultsExport, ReadThenExportInSi)
{
    TempDir dir;
    Exporter t(18, 22);
    sampleCase(t.s);
    auto outcome = LectureResultats(t.s, testData("results/VELTA0.PLT"), testData("results/VELTA0.OUT"), dir.path());
    EXPECT_TRUE(outcome.pltOpened && outcome.outOpened);
    EXPECT_TRUE(t.sink.entries.empty());
    t.m.UnitSystem = kSI;
    ExporterResults(t.s.model, t.s.results, dir.file("out.csv"));
    const std::string text = readFile(dir.file("out.csv"));
    EXPECT_NE(text.find("Radial Deflection in mm\r\nelevation (m);console18;console19;console20;console21;console22;"
                        "\r\n365.760;-2.4354;-4.5781;-6.7361;-4.7061;-2.4750;\r\n335.280; ; -2.9718;-4.8768;-3.0175; ; "
                        "\r\n304.800; ;  ; 0.0000; ;  ; \r\n\r\n"),
              std::string::npos)
        << text;
}

namespace {

ProgramRun runCli(const QStringList& args)
{
    std::vector<std::string> list;
    for (const QString& a : args) list.push_back(a.toStdString());
    return runProgram(std::string(VELTA_BIN_DIR) + "/velta-cli", list);
}

}  // namespace

TEST(ExportCommand, UsageAndRefusedCase)
{
    TempDir dir;
    const QString csv = QString::fromStdString(dir.file("out.csv"));
    const QString plt = QString::fromStdString(testData("results/VELTA0.PLT"));
    const QString out = QString::fromStdString(testData("results/VELTA0.OUT"));
    EXPECT_EQ(runCli({"export"}).status, 2);
    EXPECT_EQ(runCli({"export", "a.dat", plt, out}).status, 2);
    EXPECT_EQ(runCli({"export", "a.dat", plt, out, csv, "--metric"}).status, 2);
    EXPECT_EQ(runCli({"export", "a.dat", plt, out, csv, "--si", "x"}).status, 2);
    // A case that cannot be opened writes nothing.
    ProgramRun r = runCli({"export", QString::fromStdString(dir.file("missing.dat")), plt, out, csv});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.empty());
    EXPECT_FALSE(QFileInfo::exists(csv));
}
