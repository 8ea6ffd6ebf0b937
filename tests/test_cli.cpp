// The batch tool's binaries end to end: export, draw and run on real decks,
// with a stand-in engine for run.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QLockFile>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>
#include <QProcess>
#include <QStringList>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "cli/CliSupport.h"
#include "model/Numbers.h"
#include "solver/Export.h"
#include "solver/ResultsReader.h"
#include "support/TestSupport.h"
#include "test_results_reader_files.h"

using namespace velta;
using namespace velta::test;
namespace fs = std::filesystem;

namespace {

const std::string kCli = std::string(VELTA_BIN_DIR) + "/velta-cli";
const std::string kEngine = std::string(VELTA_BIN_DIR) + "/VELTA_DOS.exe";
const std::string kNoSpace = ": No space left on device";
const char* const kViews[] = {"geometry", "3d", "deflection", "stresses", "forces", "loads"};

using CliRun = ProgramRun;

CliRun tool(const std::vector<std::string>& args)
{
    return runProgram(kCli, args);
}

std::string f2(double x)
{
    char b[32];
    std::snprintf(b, sizeof b, "%.2f", x);
    return b;
}

// Result files for every section of a case that has been opened: what a
// sound engine writes for it, with made-up but plausible values.
struct CompleteResults {
    std::string plt, out;
    explicit CompleteResults(const Session& s)
    {
        const CaseModel& m = s.model;
        const double top = m.TopElev[0];
        std::vector<double> arches;
        for (int i = 0; i < m.NbArcs; ++i) arches.push_back(parseNumber(m.ArcTab(0, 0, i)));
        auto above = [&](int slot) {
            std::vector<double> e;
            for (auto it = arches.rbegin(); it != arches.rend(); ++it)
                if (*it >= m.ConsBaseElev[slot] - 1e-6) e.push_back(*it);
            return e;
        };
        std::string defl, stress, geom, forces;
        for (int c = m.LastCons; c >= m.FirstCons; --c) {
            const double side = 1.0 + std::abs(c - 20);
            defl += slotHeader(std::to_string(c)) + "\r\n";
            stress += slotHeader(std::to_string(c)) + "\r\n";
            geom += geomTitle(std::to_string(c)) + "\r\n" + filler(rf::kCantileverGeometry.linesBeforeRows(), "") + "";
            for (double e : above(c)) {
                const double depth = (top - e) / 100.0;
                defl += deflPoint(f2(e), f2(2.0 * depth + 0.5), f2(-(1.0 - depth / 3.0) / side)) + "\r\n";
                stress += stressPoint(f2(e), f2(20 * side), f2(150 + 100 * depth), "5", "30",
                                      f2(30 + 10 * depth), f2(200 - 50 * depth), "10", "15") +
                          "\r\n";
                geom += geomRow(f2(e), f2(-2.0 * depth), f2(10 + 15 * depth), f2(m.ConsAngle[c])) + "\r\n";
            }
            geom += "\r\n";
        }
        for (int c = m.FirstCons; c <= m.LastCons; ++c)
            forces += forceRow(f2(m.ConsBaseElev[c]), "150000.", "12.5", "98000.", "45.0") + "\r\n";
        plt = " VELTA  compact tables\r\n\r\n" + deflTitle() + "\r\n" + defl + deflEnd() + "\r\n\r\n" +
              stressTitle() + "\r\n" + stress + stressEnd() + "\r\n";
        std::string centres;
        for (auto it = arches.rbegin(); it != arches.rend(); ++it) {
            const double t = 10 + 15 * (top - *it) / 100.0;
            centres += centresRow(*it, 0, 0, 500, 500 - t) + "\r\n";
        }
        out = "1                              VELTA  ARCH DAM ANALYSIS\r\n\r\n" + centresTitle() + "\r\n" +
              filler(rf::kCentres.linesBeforeRows(), "") + centres + "\r\n" + geom + geomEnd() + "\r\n\r\n" + forcesTitle() + "\r\n" +
              filler(rf::kForces.linesBeforeRows(), "") + forces + pageStart() + "\r\n   END OF REPORT\r\n";
    }
};

// T1 opened as the batch tool opens it, and complete results for it in `dir`.
struct T1WithResults {
    std::string deck = testData("decks/T1.dat");
    std::string plt, out;
    explicit T1WithResults(const TempDir& dir) : plt(dir.file("results.PLT")), out(dir.file("results.OUT"))
    {
        cli::BatchSession batch;
        EXPECT_TRUE(cli::openCase(batch.session, deck));
        const CompleteResults r(batch.session);
        writeFile(plt, r.plt);
        writeFile(out, r.out);
    }
};

// A program folder: a copy of velta-cli beside a stand-in engine, a shell
// script with the given body (none when empty).
struct ProgramFolder {
    TempDir dir;
    std::string cli = dir.file("velta-cli");
    explicit ProgramFolder(const std::string& engine)
    {
        fs::copy_file(kCli, cli);
        if (engine.empty()) return;
        writeFile(dir.file("VELTA_DOS.exe"), "#!/bin/sh\n" + engine);
        fs::permissions(dir.file("VELTA_DOS.exe"), fs::perms::owner_all);
    }
    CliRun run(const std::vector<std::string>& args) const
    {
        std::vector<std::string> a{"run"};
        a.insert(a.end(), args.begin(), args.end());
        return runProgram(cli, a);
    }
};

// An engine that records its argument and folder and writes the given
// result files as its outputs.
std::string copyingEngine(const std::string& plt, const std::string& out)
{
    return "echo \"$* $(pwd)\" > args.txt\necho \"${VELTA_LEVEL:-none}\" > level.txt\ncp '" + plt + "' \"$1.PLT\"\ncp '" +
           out + "' \"$1.OUT\"\n";
}

QImage image(const std::string& path)
{
    return QImage(QString::fromStdString(path));
}

// Every file of a folder, by name.
std::map<std::string, std::string> folderFiles(const std::string& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(dir)) files[e.path().filename().string()] = readFile(e.path());
    return files;
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(CliExport, RealCaseInBothUnitSystems)
{
    TempDir dir;
    const std::string deck = testData("decks/T1.dat");
    const std::string plt = testData("results/VELTA0.PLT"), out = testData("results/VELTA0.OUT");
    struct Case {
        std::vector<std::string> extra;
        int unitSystem;
        const char* lines;
    } cases[] = {
        {{},
         kImperial,
         "Radial Deflection in inches\r\n"
         "elevation "
         "(ft);console16;console17;console18;console19;console20;console21;console22;console23;console24;\r\n"
         "1200.000; ;  ; -0.0959;-0.1802;-0.2652;-0.1853;-0.0974; ;  ; \r\n"},
        {{"--si"},
         kSI,
         "Radial Deflection in mm\r\n"
         "elevation "
         "(m);console16;console17;console18;console19;console20;console21;console22;console23;console24;"
         "\r\n"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.unitSystem);
        std::vector<std::string> args{"export", deck, plt, out, dir.file("out.csv")};
        args.insert(args.end(), k.extra.begin(), k.extra.end());
        const CliRun r = tool(args);
        // The sample results were written for another layout of cantilevers:
        // the sections that do not fit T1 are reported, the export still
        // runs, and the status says it is not whole.
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "Geometric properties for archs not found in .out file\n"
                         "Forces results not found in .out file\n");
        const std::string csv = readFile(dir.file("out.csv"));
        EXPECT_NE(csv.find(k.lines), std::string::npos) << csv;

        // The same text as the export of the same files in this process.
        cli::BatchSession batch;
        ASSERT_TRUE(cli::openCase(batch.session, deck));
        LectureResultats(batch.session, plt, out, dir.path());
        if (k.unitSystem == kSI) cli::switchToSI(batch.session);
        EXPECT_EQ(csv, composeResultsExport(batch.session.model, batch.session.results));
    }
}

// The export is written whatever was read, and its status is 1 whenever the
// reader reported something or the .PLT gave no deflection and no stress.
TEST(CliExport, StatusTellsWhetherTheResultsWereWhole)
{
    TempDir dir;
    const T1WithResults t1(dir);
    const std::string plt = readFile(t1.plt), csv = dir.file("out.csv");
    const std::string noStress = plt.substr(0, plt.find(stressTitle()));
    struct Case {
        const char* what;
        std::string plt;
        int status;
        const char* message; // empty: no message at all
    } cases[] = {
        {"complete", plt, 0, ""},
        {"empty .PLT", "", 1, "case.PLT holds neither deflections nor stresses\n"},
        {"truncated .PLT", plt.substr(0, plt.size() * 3 / 4), 1,
         "case.PLT ends before the end of its deflection and stress tables: it is cut short\n"},
        {"no stresses", noStress, 1, "case.PLT holds no principal stresses\n"},
        {"sections without a point", deflTitle() + "\r\n" + deflEnd() + "\r\n\r\n" + stressTitle() + "\r\n" +
             stressEnd() + "\r\n",
         1, "case.PLT holds neither deflections nor stresses\n"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        writeFile(dir.file("case.PLT"), k.plt);
        std::filesystem::remove(csv);
        const CliRun r = tool({"export", t1.deck, dir.file("case.PLT"), t1.out, csv});
        EXPECT_EQ(r.status, k.status);
        if (*k.message) EXPECT_NE(r.err.find(k.message), std::string::npos) << r.err;
        else EXPECT_EQ(r.err, "");
        EXPECT_EQ(readFile(csv).rfind("VELTA Results for quick analyses with spreadsheets\r\n", 0), 0u);
    }
}

TEST(CliDraw, EachViewWithItsLog)
{
    TempDir dir;
    const T1WithResults t1(dir);
    struct Case {
        const char* view;
        const char* firstOp; // after the white fill of the whole picture
        const char* title;   // empty: the first operation is the title
    } cases[] = {
        {"geometry", "text 388 10 Us / Ds face of the crown cantilever - Us / Ds Line of centers", ""},
        {"3d", "line 812 304 819 304 #000000 1 solid", "text 440 20 3D view of the archs and cantilevers"},
        {"deflection", "line 896 304 896 304 #000000 1 dash",
         "text 404 38 Developped downstream view of radial deflection (x500)"},
        {"stresses", "line 896 496 896 496 #000000 1 dash",
         "text 420 10 Developped upstream view of principal stresses"},
        {"forces", "line 896 112 896 112 #000000 1 dash",
         "text 312 38 Developped downstream view of the resultant of forces in the vertical plane in the "
         "tangent "
         "direction"},
        {"loads", "line 896 304 896 304 #000000 1 dash", "text 458 38 Archs and cantilevers loads"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.view);
        const std::string png = dir.file(std::string(k.view) + ".png"), log = dir.file("ops.txt");
        const CliRun r = tool({"draw", t1.deck, k.view, png, "--results", t1.plt, t1.out, "--log", log});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        std::istringstream ops(readFile(log));
        std::string line;
        std::vector<std::string> lines;
        while (std::getline(ops, line)) lines.push_back(line);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[0], "rect 0 0 1024 768 #000000 #FFFFFF");
        EXPECT_EQ(lines[1], k.firstOp);
        if (*k.title) {
            EXPECT_NE(std::find(lines.begin(), lines.end(), k.title), lines.end());
        }
        const QImage picture = image(png);
        EXPECT_EQ(picture.size(), QSize(1024, 768));
    }
}

// The run leaves in OUTDIR the deck given to the engine, the engine's files,
// the export and the pictures, the same as export and draw make of them.
TEST(CliRun, EngineFilesExportAndPictures)
{
    TempDir data;
    const T1WithResults t1(data);
    const ProgramFolder program(copyingEngine(t1.plt, t1.out));
    for (const bool si : {false, true}) {
        SCOPED_TRACE(si);
        TempDir work;
        const std::string outDir = work.file(si ? "si/a/b" : "us/a/b"); // made when missing
        std::vector<std::string> args{t1.deck, outDir};
        if (si) args.push_back("--si");
        const CliRun r = program.run(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        const std::string dir = outDir + "/";
        EXPECT_EQ(readFile(dir + "args.txt"), "VELTA0 " + outDir + "\n") << "slot 0, run in OUTDIR";
        EXPECT_EQ(readFile(dir + "VELTA0.DAT"), readFile(t1.deck));
        EXPECT_EQ(readFile(dir + "VELTA0.PLT"), readFile(t1.plt));

        std::vector<std::string> exportArgs{"export", t1.deck, t1.plt, t1.out, work.file("expected.csv")};
        if (si) exportArgs.push_back("--si");
        ASSERT_EQ(tool(exportArgs).status, 0);
        EXPECT_EQ(readFile(dir + "results.csv"), readFile(work.file("expected.csv")));

        for (const char* view : kViews) {
            SCOPED_TRACE(view);
            const std::string expected = work.file(std::string("expected_") + view + ".png");
            std::vector<std::string> drawArgs{"draw", t1.deck, view, expected, "--results", t1.plt, t1.out};
            if (si) drawArgs.push_back("--si");
            ASSERT_EQ(tool(drawArgs).status, 0);
            const QImage got = image(dir + view + ".png");
            EXPECT_FALSE(got.isNull());
            EXPECT_TRUE(got == image(expected));
        }
    }
}

TEST(CliRun, EngineThatWritesNothing)
{
    const ProgramFolder program("exit 0\n");
    TempDir work;
    const std::string deck = testData("decks/T1.dat");
    // Outputs of an earlier run must not pass for this run's.
    for (const char* stale : {"VELTA0.OUT", "VELTA0.PLT", "results.csv", "deflection.png"})
        writeFile(work.file(stale), "old");
    const CliRun r = program.run({deck, work.path()});
    EXPECT_EQ(r.status, 1);
    // One message says what is missing and where.
    const std::string folder = work.path().substr(0, work.path().size() - 1);
    EXPECT_EQ(r.err.rfind("The analysis gave no results: the engine wrote no VELTA0.PLT and no VELTA0.OUT in " +
                              folder + "\n",
                          0),
              0u)
        << r.err;
    EXPECT_NE(
        r.err.find("\nvelta-cli run: no results to export or draw: results.csv and the result views are "
                   "not written\n"),
        std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("Error starting Calc!"), std::string::npos);
    EXPECT_TRUE(fs::exists(work.file("VELTA0.DAT")));
    EXPECT_FALSE(image(work.file("geometry.png")).isNull()) << "the geometry needs no results";
    for (const char* gone : {"VELTA0.OUT", "VELTA0.PLT", "results.csv", "deflection.png", "3d.png"})
        EXPECT_FALSE(fs::exists(work.file(gone))) << gone;
}

TEST(CliRun, EngineMissingOrOutputsThatCannotBeWritten)
{
    TempDir data;
    const T1WithResults t1(data);
    {
        const ProgramFolder noEngine("");
        TempDir work;
        const CliRun r = noEngine.run({t1.deck, work.path()});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.rfind("Error starting Calc!\nvelta-cli run: no results to export or draw", 0), 0u)
            << r.err;
    }
    const ProgramFolder program(copyingEngine(t1.plt, t1.out));
    {
        TempDir work;
        writeFile(work.file("file"), "");
        const CliRun r = program.run({t1.deck, work.file("file")});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "velta-cli run: cannot make the folder " + work.file("file") + "\n");
    }
    {
        // One picture cannot be written: it is named, the others are written.
        TempDir work;
        fs::create_directory(work.file("stresses.png"));
        const CliRun r = program.run({t1.deck, work.path()});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.rfind("velta-cli run: Cannot write " + work.file("stresses.png") + ": ", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        for (const char* written : {"results.csv", "geometry.png", "3d.png", "loads.png"})
            EXPECT_TRUE(fs::is_regular_file(work.file(written))) << written;
    }
}

// The level reaches the engine as its second argument and the rock model
// after it; without them the engine runs at its defaults, whatever the
// environment says.
TEST(CliRun, LevelGoesToTheEngine)
{
    TempDir data;
    const T1WithResults t1(data);
    const ProgramFolder program(copyingEngine(t1.plt, t1.out));
    qputenv("VELTA_LEVEL", "4");
    for (const auto& [extra, args] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{}, "VELTA0"},
             {{"--level", "3", "--si"}, "VELTA0 3"},
             {{"--si", "--level", "2"}, "VELTA0 2"},
             {{"--rock", "block"}, "VELTA0 --rock block"},
             {{"--rock", "rigid", "--level", "2"}, "VELTA0 2 --rock rigid"}}) {
        TempDir work;
        const std::string out = work.file("out");
        std::vector<std::string> a{t1.deck, out};
        a.insert(a.end(), extra.begin(), extra.end());
        const CliRun r = program.run(a);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(readFile(out + "/args.txt"), args + " " + out + "\n");
        EXPECT_EQ(readFile(out + "/level.txt"), "none\n");
    }
    qunsetenv("VELTA_LEVEL");
}

// The real engine, given the rock model by the batch tool, says in its
// report which rock it analysed.
TEST(CliRun, RockModelReachesTheEngine)
{
    TempDir work;
    const CliRun r = tool({"run", testData("decks/T1.dat"), work.path(), "--rock", "block"});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string out = readFile(work.file("VELTA0.OUT"));
    EXPECT_TRUE(contains(out, " Rock as an elastic block under the contact, 400.0 ft deep")) << out.substr(0, 3000);
    EXPECT_FALSE(contains(out, "Vogt's coefficients"));
}

TEST(CliRun, UsageAndRefusedCase)
{
    TempDir work;
    const std::string deck = testData("decks/T1.dat");
    const std::vector<std::vector<std::string>> usage = {
        {"run"},
        {"run", deck},
        {"run", deck, work.path(), "--metric"},
        {"run", deck, work.path(), "--si", "x"},
        {"run", deck, "--si"},
        {"run", deck, work.path(), "--level"},
        {"run", deck, work.path(), "--level", "2", "--level", "2"},
        {"run", deck, work.path(), "--rock"},
        {"run", deck, work.path(), "--rock", "block", "--rock", "vogt"},
        {"run", deck, work.path(), "--si", "--si"},
    };
    for (const auto& args : usage) {
        const CliRun r = tool(args);
        EXPECT_EQ(r.status, 2) << args.size();
        EXPECT_EQ(r.err, "usage: velta-cli run CASE.dat OUTDIR [--si] [--level N] [--rock vogt|block|rigid]\n");
    }
    for (const char* level : {"0", "5", "1.5", "x"}) {
        const CliRun r = tool({"run", deck, work.path(), "--level", level});
        EXPECT_EQ(r.status, 2) << level;
        EXPECT_EQ(r.err, "velta-cli run: the level must be a whole number from 1 to 4\n");
    }
    for (const char* rock : {"Block", "springs", ""}) {
        const CliRun r = tool({"run", deck, work.path(), "--rock", rock});
        EXPECT_EQ(r.status, 2) << rock;
        EXPECT_EQ(r.err, "velta-cli run: the rock model must be vogt, block or rigid\n");
    }
    const CliRun r = tool({"run", work.file("none.dat"), work.file("out")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot open file \"" + work.file("none.dat") + "\": No such file or directory\n");
    EXPECT_FALSE(fs::exists(work.file("out"))) << "nothing is made for a refused case";
}

// verify compares every model the engine solves: on a dam whose weight is
// carried by independent cantilevers, the adjusted structure and the
// weight's model, each with its own rows and its own largest difference.
TEST(CliVerify, EveryModelOfTheCaseHasItsRows)
{
    const QString ccx = QProcessEnvironment::systemEnvironment().value("VELTA_CCX");
    if (ccx.isEmpty() && QStandardPaths::findExecutable("ccx").isEmpty()) GTEST_SKIP() << "CalculiX (ccx) not installed";
    TempDir work;
    const CliRun r = tool({"verify", testData("family/thick_double_curvature.dat"), work.path(), "--rock", "rigid"});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string summary = readFile(work.file("verify-summary.csv"));
    std::istringstream lines(summary);
    std::string line;
    std::vector<std::string> rows;
    while (std::getline(lines, line)) rows.push_back(line);
    ASSERT_EQ(rows.size(), 3u) << summary;
    EXPECT_EQ(rows[1].rfind("adjusted,rigid,", 0), 0u) << rows[1];
    EXPECT_EQ(rows[2].rfind("weight,rigid,", 0), 0u) << rows[2];
    for (int k = 1; k <= 2; ++k) EXPECT_TRUE(contains(rows[k], ",yes,")) << rows[k];
    const std::string table = readFile(work.file("verify.csv"));
    EXPECT_TRUE(contains(table, "\nadjusted,rigid,1,"));
    EXPECT_TRUE(contains(table, "\nweight,rigid,1,"));
    EXPECT_TRUE(fs::exists(work.file("adjusted_rigid.inp")));
    EXPECT_TRUE(fs::exists(work.file("weight_rigid.inp")));

    const std::string deck = testData("decks/T1.dat");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"verify", deck, work.path(), "--rock"},
             {"verify", deck, work.path(), "--rock", "vogt", "--rock", "block"},
             {"verify", deck, work.path(), "--level", "1", "--level", "1"},
             {"verify", deck, "--rock", "vogt"}}) {
        const CliRun u = tool(args);
        EXPECT_EQ(u.status, 2) << args.size();
        EXPECT_EQ(u.err, "usage: velta-cli verify CASE.dat OUTDIR [--level N] [--rock vogt|block|rigid|all]\n");
    }
    const CliRun bad = tool({"verify", deck, work.path(), "--rock", "springs"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "velta-cli verify: the rock model must be vogt, block, rigid or all\n");
}

// On a full disk no command replaces a good file with a bad one: the write
// fails, the file stays byte for byte, and the message names it.
TEST(CliFullDisk, EachWrittenFileKeepsThePreviousOne)
{
    SmallFileSystem disk(256);
    if (!disk.mounted()) GTEST_SKIP() << "mounting a small file system is not allowed here";
    TempDir data;
    const T1WithResults t1(data);
    struct Case {
        const char* name;
        std::vector<std::string> args; // the target is appended
        std::string prefix;            // of the message before the file's name
    } cases[] = {
        {"deck.dat", {"resave", t1.deck}, "Cannot write "},
        {"results.csv", {"export", t1.deck, t1.plt, t1.out}, "Cannot write "},
        {"view.png", {"draw", t1.deck, "3d", "--results", t1.plt, t1.out, "--log", disk.file("ops.txt")},
         "velta-cli draw: Cannot write "},
    };
    for (const auto& k : cases) writeFile(disk.file(k.name), std::string("good ") + k.name);
    disk.fill();
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        std::vector<std::string> args = k.args;
        if (args[0] == "draw") args.insert(args.begin() + 3, disk.file(k.name));
        else args.push_back(disk.file(k.name));
        const CliRun r = tool(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(contains(r.err, k.prefix + (args[0] == "draw" ? disk.file("ops.txt") : disk.file(k.name)) +
                                        kNoSpace + "\n"))
            << r.err;
        EXPECT_EQ(readFile(disk.file(k.name)), std::string("good ") + k.name);
    }
    EXPECT_FALSE(fs::exists(disk.file("ops.txt")));

    // The engine fills the disk after writing its files: neither the export
    // nor a picture is left empty or cut short, and each is named.
    const ProgramFolder program(copyingEngine(t1.plt, t1.out) + "cat /dev/zero > filler 2>/dev/null\n");
    const std::string out = disk.file("run/");
    disk.release(256 * 1024);
    const CliRun r = program.run({t1.deck, out});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "Cannot write " + out + "results.csv" + kNoSpace + "\n")) << r.err;
    for (const char* view : kViews) {
        EXPECT_TRUE(contains(r.err, "velta-cli run: Cannot write " + out + view + ".png" + kNoSpace + "\n"))
            << r.err;
        EXPECT_FALSE(fs::exists(out + view + ".png")) << view;
    }
    EXPECT_FALSE(fs::exists(out + "results.csv"));
}

// The engine's own files on a full disk and in a folder it cannot write.
TEST(EngineFullDisk, NoTablesWithoutRoomAndNoStaleResults)
{
    SmallFileSystem disk(256);
    if (!disk.mounted()) GTEST_SKIP() << "mounting a small file system is not allowed here";
    const std::string deck = std::string(VELTA_SOURCE_DIR) + "/examples/simple.dat";
    TempDir roomy;
    fs::copy_file(deck, roomy.file("VELTA0.DAT"));
    ASSERT_EQ(runProgram(kEngine, {"VELTA0"}, roomy.path()).status, 0);
    const auto outSize = static_cast<long>(fs::file_size(roomy.file("VELTA0.OUT")));
    ASSERT_GT(fs::file_size(roomy.file("VELTA0.PLT")), 4096u) << "the tables must not fit in the page left";

    // Room for the report, not for the tables.
    fs::copy_file(deck, disk.file("VELTA0.DAT"));
    disk.fill();
    disk.release(outSize + 4096);
    CliRun r = runProgram(kEngine, {"VELTA0"}, disk.path());
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(contains(r.err, "Cannot write " + disk.file("VELTA0.PLT") + kNoSpace)) << r.err;
    EXPECT_FALSE(fs::exists(disk.file("VELTA0.PLT")));

    // A folder that will not let the previous results go is refused before
    // anything is analysed.
    writeFile(disk.file("VELTA0.PLT"), "old");
    ASSERT_TRUE(disk.makeReadOnly());
    r = runProgram(kEngine, {"VELTA0"}, disk.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "VELTA_DOS.exe: the previous results " + disk.file("VELTA0.OUT") +
                                    " cannot be removed: Read-only file system; nothing analysed\n"))
        << r.err;
}

// Two runs into one folder: the second waits for the first, and refuses
// with a message when the folder stays taken.
TEST(CliRun, OneRunAtATimeInAFolder)
{
    TempDir data;
    const T1WithResults t1(data);
    const ProgramFolder program(copyingEngine(t1.plt, t1.out));
    TempDir work;
    QLockFile other(QString::fromStdString(work.file("velta-run.lock")));
    other.setStaleLockTime(0);
    ASSERT_TRUE(other.tryLock(0));
    CliRun r = program.run({t1.deck, work.path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "velta-cli run: the folder " + work.path() + " is in use by another run (lock file " +
                         work.file("velta-run.lock") + "); nothing was written\n");
    EXPECT_FALSE(fs::exists(work.file("VELTA0.DAT")));

    QProcess second;
    second.start(QString::fromStdString(program.cli),
                 {"run", QString::fromStdString(t1.deck), QString::fromStdString(work.path())});
    ASSERT_TRUE(second.waitForStarted());
    QThread::msleep(1000);
    EXPECT_EQ(second.state(), QProcess::Running) << "the second run waits";
    other.unlock();
    ASSERT_TRUE(second.waitForFinished(300000));
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    EXPECT_EQ(readFile(work.file("VELTA0.PLT")), readFile(t1.plt));
    EXPECT_FALSE(fs::exists(work.file("velta-run.lock")));
}

// Under a language whose decimal separator is a comma, the engine and the
// batch tool write the same bytes as under the C locale.
TEST(CommaLocale, EngineAndRunWriteTheSameFiles)
{
    const std::string comma = commaLocale();
    if (comma.empty()) GTEST_SKIP() << "no comma-decimal locale is installed";
    const std::string deck = std::string(VELTA_SOURCE_DIR) + "/examples/simple.dat";
    TempDir c, local;
    for (const auto* dir : {&c, &local}) fs::copy_file(deck, dir->file("VELTA0.DAT"));
    ASSERT_EQ(runProgram(kEngine, {"VELTA0"}, c.path(), "C").status, 0);
    ASSERT_EQ(runProgram(kEngine, {"VELTA0"}, local.path(), comma).status, 0);
    EXPECT_EQ(folderFiles(local.path()), folderFiles(c.path()));
    EXPECT_TRUE(contains(readFile(c.file("VELTA0.PLT")), "1200.00"));

    TempDir runs;
    const CliRun inC = runProgram(kCli, {"run", deck, runs.file("c")}, {}, "C");
    const CliRun inComma = runProgram(kCli, {"run", deck, runs.file("comma")}, {}, comma);
    EXPECT_EQ(inC.status, 0) << inC.err;
    EXPECT_EQ(inComma.status, 0) << inComma.err;
    const auto expected = folderFiles(runs.file("c"));
    EXPECT_EQ(expected.size(), 10u); // deck, report, tables, export and six pictures
    EXPECT_TRUE(folderFiles(runs.file("comma")) == expected);
}
