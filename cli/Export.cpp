// velta-cli export CASE.dat RESULTS.PLT RESULTS.OUT OUT.csv [--si]
#include <QFileInfo>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "cli/CliCommands.h"
#include "cli/CliSupport.h"
#include "solver/Export.h"
#include "solver/ResultsReader.h"

namespace velta::cli {

int exportResults(int argc, char** argv)
{
    const bool si = argc == 6 && !std::strcmp(argv[5], "--si");
    if (argc != 5 && !si) {
        std::fprintf(stderr, "usage: velta-cli export CASE.dat RESULTS.PLT RESULTS.OUT OUT.csv [--si]\n");
        return 2;
    }
    BatchSession batch;
    Session& s = batch.session;
    if (!openCase(s, argv[1])) return 1;

    // The folder named in the reader's messages: where the .PLT was looked for.
    const std::string plt = argv[2];
    const std::string folder = QFileInfo(QString::fromStdString(plt)).absolutePath().toStdString() + "/";
    ResultsReadOutcome read = LectureResultats(s, plt, argv[3], folder);
    if (!read.pltOpened || !read.outOpened) return 1;

    if (si && s.model.UnitSystem != kSI) switchToSI(s);
    try {
        ExporterResults(s, argv[4]);
    } catch (const std::exception& e) {
        s.messages.error(std::string("Cannot write ") + argv[4] + ": " + e.what());
        return 1;
    }
    return 0;
}

}  // namespace velta::cli
