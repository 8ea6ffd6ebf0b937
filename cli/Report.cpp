// velta-cli report CASE.dat OUT.pdf [--results RESULTS.PLT RESULTS.OUT] [--si]:
// the calculation report of a case as a PDF. Without result files the case
// is first analysed as `velta-cli run` does, in a temporary folder.
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "cli/CliSupport.h"
#include "app/shell/Report.h"
#include "solver/ResultsReader.h"

namespace velta::cli {

namespace {

void say(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

std::string readText(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray b = f.readAll();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

const char* const kUsage = "usage: velta-cli report CASE.dat OUT.pdf [--results RESULTS.PLT RESULTS.OUT] [--si]";

} // namespace

int report(int argc, char** argv)
{
    std::vector<std::string> positional;
    std::string plt, out;
    bool si = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--si") {
            si = true;
        } else if (a == "--results") {
            if (i + 2 >= argc) {
                say(kUsage);
                return 2;
            }
            plt = argv[++i];
            out = argv[++i];
        } else if (a.rfind("--", 0) == 0) {
            say("velta-cli report: unknown option " + a);
            return 2;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) {
        say(kUsage);
        return 2;
    }
    const std::string casePath = positional[0], pdfPath = positional[1];

    std::unique_ptr<QGuiApplication> app;
    if (!ensureGuiApplication(argv, "velta-cli report", app)) return 1;

    // No results given: the analysis as `velta-cli run` does it.
    QTemporaryDir scratch;
    if (plt.empty()) {
        if (!scratch.isValid()) {
            say("velta-cli report: cannot make a temporary folder");
            return 1;
        }
        const std::string dir = scratch.path().toStdString();
        std::string a0 = "run", a1 = casePath, a2 = dir;
        std::vector<char*> runArgs = {a0.data(), a1.data(), a2.data()};
        if (run(static_cast<int>(runArgs.size()), runArgs.data()) != 0) {
            say("velta-cli report: the analysis did not give whole results; no report written");
            return 1;
        }
        plt = dir + "/VELTA0.PLT";
        out = dir + "/VELTA0.OUT";
    }

    BatchSession batch;
    Session& s = batch.session;
    if (!openCase(s, casePath)) return 1;
    const std::string folder = QFileInfo(QString::fromStdString(plt)).absolutePath().toStdString() + "/";
    const ResultsReadOutcome read = LectureResultats(s, plt, out, folder);
    if (!read.pltOpened || !read.outOpened) return 1;
    if (si && s.model.UnitSystem != kSI) switchToSI(s);

    ReportSources src;
    src.caseFile = QFileInfo(QString::fromStdString(casePath)).fileName().toStdString();
    src.outText = readText(out);
    src.when = QDateTime::currentDateTime();
    try {
        writeReport(s, src, pdfPath);
    } catch (const std::exception& e) {
        s.messages.error("Cannot write " + pdfPath + ": " + e.what());
        return 1;
    }
    return 0;
}

} // namespace velta::cli
