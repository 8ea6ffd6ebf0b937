// velta-cli report: the calculation report of every example, read back as
// text: pages, title block, tables, and the extremes, which must be those of
// the results export.
#include <gtest/gtest.h>

#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/Numbers.h"
#include "support/TestSupport.h"

using namespace velta;
using namespace velta::test;

namespace {

const std::string kCli = std::string(VELTA_BIN_DIR) + "/velta-cli";

using Ran = ProgramRun;

bool havePoppler()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

int pageCount(const std::string& pdf)
{
    const Ran r = runProgram("pdfinfo", {pdf});
    EXPECT_EQ(r.status, 0) << r.err;
    std::istringstream in(r.out);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("Pages:", 0) == 0) return std::stoi(line.substr(6));
    return 0;
}

std::string pdfText(const std::string& pdf)
{
    const Ran r = runProgram("pdftotext", {"-layout", pdf, "-"});
    EXPECT_EQ(r.status, 0) << r.err;
    // Ligatures a font may still use, back to their letters.
    QString t = QString::fromStdString(r.out);
    t.replace(QChar(0xFB01), QStringLiteral("fi")).replace(QChar(0xFB02), QStringLiteral("fl"));
    return t.toStdString();
}

// The smallest and largest value of one block of the export, by its title.
struct Range {
    double min = 1e300, max = -1e300;
};
Range csvBlock(const std::string& csv, const std::string& title)
{
    Range r;
    std::istringstream in(csv);
    std::string line;
    bool inBlock = false;
    int row = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!inBlock) {
            inBlock = line == title;
            continue;
        }
        if (line.empty()) break;
        if (row++ == 0) continue; // the header
        std::istringstream cells(line);
        std::string cell;
        for (int c = 0; std::getline(cells, cell, ';'); ++c) {
            if (c == 0 || trim(cell).empty()) continue;
            const double v = parseNumber(cell);
            r.min = std::min(r.min, v);
            r.max = std::max(r.max, v);
        }
    }
    EXPECT_TRUE(inBlock) << "no block " << title;
    return r;
}

struct Example {
    const char* name;
    bool si;
};

TEST(CliReport, EveryExampleReadsBackWithItsTitleBlockTablesAndExtremes)
{
    if (!havePoppler()) GTEST_SKIP() << "pdftotext and pdfinfo (poppler-utils) are not installed";
    const Example examples[] = {
        {"simple", false}, {"double_curvature", false}, {"two_centred", false}, {"si_units", true}, {"simple", true}};
    for (const Example& e : examples) {
        SCOPED_TRACE(std::string(e.name) + (e.si ? " in SI" : ""));
        TempDir dir;
        const std::string dat = std::string(VELTA_SOURCE_DIR) + "/examples/" + e.name + ".dat";
        std::vector<std::string> runArgs = {"run", dat, dir.path() + "run"};
        if (e.si) runArgs.push_back("--si");
        const Ran ran = runProgram(kCli, runArgs);
        ASSERT_EQ(ran.status, 0) << ran.err;

        const std::string pdf = dir.file("report.pdf");
        std::vector<std::string> args = {"report", dat, pdf, "--results", dir.path() + "run/VELTA0.PLT",
                                         dir.path() + "run/VELTA0.OUT"};
        if (e.si) args.push_back("--si");
        const Ran rep = runProgram(kCli, args);
        ASSERT_EQ(rep.status, 0) << rep.err;

        const int pages = pageCount(pdf);
        EXPECT_GE(pages, 6);
        const std::string text = pdfText(pdf);
        auto has = [&](const std::string& t) { EXPECT_NE(text.find(t), std::string::npos) << "missing: " << t; };
        // The title block on every page.
        for (int p = 1; p <= pages; ++p) has("Page " + std::to_string(p) + " of " + std::to_string(pages));
        size_t blocks = 0;
        for (size_t at = text.find("Case file: " + std::string(e.name) + ".dat"); at != std::string::npos;
             at = text.find("Case file: " + std::string(e.name) + ".dat", at + 1))
            ++blocks;
        EXPECT_EQ(blocks, static_cast<size_t>(pages));
        has("Calculation report - dam:");
        has("Program: VELTA ");
        has(e.si ? "Units: SI" : "Units: US customary");
        // The sections and tables.
        for (const char* t : {"Input as entered", "Upstream face", "Downstream face", "Arches, from the crest down",
                              "Materials", "Temperature changes per arch", "Method", "Equilibrium check",
                              "Crown cantilever", "Cantilever share", "Extremes", "Resultant forces on the abutments",
                              "Figures", "contours"})
            has(t);

        // The extremes, as the export gives them.
        const std::string csv = readFile(dir.path() + "run/results.csv");
        const std::string su = e.si ? "(MPa)" : "(Psi)";
        const int sd = e.si ? 4 : 1, dd = 4;
        const std::string stressUnit = e.si ? " MPa" : " psi", deflUnit = e.si ? " mm" : " inches";
        const Range defl = csvBlock(csv, e.si ? "Radial Deflection in mm" : "Radial Deflection in inches");
        has(formatFixed(defl.min, dd) + deflUnit);
        has(formatFixed(defl.max, dd) + deflUnit);
        has(formatFixed(csvBlock(csv, "First Principal stresses on upstream face " + su).min, sd) + stressUnit);
        has(formatFixed(csvBlock(csv, "Second Principal stresses on upstream face " + su).max, sd) + stressUnit);
        has(formatFixed(csvBlock(csv, "First Principal stresses on downstream face " + su).min, sd) + stressUnit);
        has(formatFixed(csvBlock(csv, "Second Principal stresses on downstream face " + su).max, sd) + stressUnit);
    }
}

TEST(CliReport, RunsTheAnalysisWhenNoResultsAreGiven)
{
    if (!havePoppler()) GTEST_SKIP() << "pdftotext and pdfinfo (poppler-utils) are not installed";
    TempDir dir;
    const std::string dat = std::string(VELTA_SOURCE_DIR) + "/examples/simple.dat";
    const Ran rep = runProgram(kCli, {"report", dat, dir.file("own.pdf")});
    ASSERT_EQ(rep.status, 0) << rep.err;
    const std::string text = pdfText(dir.file("own.pdf"));
    EXPECT_NE(text.find("Equilibrium check"), std::string::npos);
    EXPECT_NE(text.find("Crown cantilever"), std::string::npos);
}

TEST(CliReport, UsageAndAReportThatCannotBeWritten)
{
    TempDir dir;
    const std::string dat = std::string(VELTA_SOURCE_DIR) + "/examples/simple.dat";
    EXPECT_EQ(runProgram(kCli, {"report", dat}).status, 2);
    EXPECT_EQ(runProgram(kCli, {"report", dat, dir.file("a.pdf"), "--results", "x.PLT"}).status, 2);
    EXPECT_EQ(runProgram(kCli, {"report", dat, dir.file("a.pdf"), "--pages"}).status, 2);

    // A folder in the way of the file: nothing is written, an earlier report
    // stays whole.
    const Ran ran = runProgram(kCli, {"run", dat, dir.path() + "run"});
    ASSERT_EQ(ran.status, 0) << ran.err;
    writeFile(dir.file("blocker"), "not a folder");
    const Ran bad = runProgram(kCli, {"report", dat, dir.file("blocker") + "/r.pdf", "--results",
                                   dir.path() + "run/VELTA0.PLT", dir.path() + "run/VELTA0.OUT"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("Cannot write"), std::string::npos) << bad.err;
    // Results that are missing: no report.
    const Ran none = runProgram(kCli, {"report", dat, dir.file("n.pdf"), "--results", dir.file("no.PLT"),
                                    dir.file("no.OUT")});
    EXPECT_EQ(none.status, 1);
    EXPECT_FALSE(std::ifstream(dir.file("n.pdf")).good());
}

} // namespace
