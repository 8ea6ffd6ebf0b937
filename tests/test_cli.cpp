// The batch tool's binaries end to end: export, draw and run on real decks,
// with a stand-in engine for run.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <cstdio>
#include <filesystem>
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
const char* const kViews[] = {"geometry", "3d", "deflection", "stresses", "forces", "loads"};

struct CliRun {
    int status = -1;
    std::string err;
};

// Runs a binary with a bounded time: the tests run it under sanitizers too.
CliRun runCli(const std::string& program, const std::vector<std::string>& args)
{
    QProcess p;
    QStringList list;
    for (const auto& a : args) list << QString::fromStdString(a);
    p.start(QString::fromStdString(program), list);
    if (!p.waitForFinished(300000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << program << " did not end";
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            p.readAllStandardError().toStdString()};
}

CliRun tool(const std::vector<std::string>& args)
{
    return runCli(kCli, args);
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
            geom += geomTitle(std::to_string(c)) + "\r\n" + filler(11, "") + "";
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
              filler(3, "") + centres + "\r\n" + geom + geomEnd() + "\r\n\r\n" + forcesTitle() + "\r\n" +
              filler(17, "") + forces + pageStart() + "\r\n   END OF REPORT\r\n";
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
        return runCli(cli, a);
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
        EXPECT_EQ(r.status, 0);
        // The sample results were written for another layout of cantilevers:
        // the sections that do not fit T1 are reported, the export still runs.
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
    EXPECT_EQ(r.err.rfind("VELTA result file not found. Check VELTA.OUT file at " + work.path() + "\n", 0),
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
        EXPECT_EQ(
            r.err.rfind("Error starting Calc!\nVELTA result file not found. Check VELTA.OUT file at ", 0), 0u)
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
        EXPECT_EQ(r.err, "velta-cli run: cannot write " + work.file("stresses.png") + "\n");
        for (const char* written : {"results.csv", "geometry.png", "3d.png", "loads.png"})
            EXPECT_TRUE(fs::is_regular_file(work.file(written))) << written;
    }
}

// The level reaches the engine as its second argument; without one the
// engine runs at its default, whatever the environment says.
TEST(CliRun, LevelGoesToTheEngine)
{
    TempDir data;
    const T1WithResults t1(data);
    const ProgramFolder program(copyingEngine(t1.plt, t1.out));
    qputenv("VELTA_LEVEL", "4");
    for (const auto& [extra, args] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{}, "VELTA0"}, {{"--level", "3", "--si"}, "VELTA0 3"}, {{"--si", "--level", "2"}, "VELTA0 2"}}) {
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
        {"run", deck, work.path(), "--si", "--si"},
    };
    for (const auto& args : usage) {
        const CliRun r = tool(args);
        EXPECT_EQ(r.status, 2) << args.size();
        EXPECT_EQ(r.err, "usage: velta-cli run CASE.dat OUTDIR [--si] [--level N]\n");
    }
    for (const char* level : {"0", "5", "1.5", "x"}) {
        const CliRun r = tool({"run", deck, work.path(), "--level", level});
        EXPECT_EQ(r.status, 2) << level;
        EXPECT_EQ(r.err, "velta-cli run: the level must be a whole number from 1 to 4\n");
    }
    const CliRun r = tool({"run", work.file("none.dat"), work.file("out")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot open file \"" + work.file("none.dat") + "\": No such file or directory\n");
    EXPECT_FALSE(fs::exists(work.file("out"))) << "nothing is made for a refused case";
}
