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
    const int messagesBefore = batch.sink.count;
    ResultsReadOutcome read = LectureResultats(s, plt, argv[3], folder);
    if (!read.pltOpened || !read.outOpened) return 1;
    // Whatever the reader reported, or a .PLT without deflections or without
    // stresses (empty or cut short: the reader passes over a section that
    // runs to the end of the file), makes the export incomplete. It is still
    // written as the window would write it; the status says it is not whole.
    bool whole = batch.sink.count == messagesBefore;
    if (!tablesWhole(s, read, plt, "velta-cli export")) whole = false;

    if (si && s.model.UnitSystem != kSI) switchToSI(s);
    try {
        ExporterResults(s.model, s.results, argv[4]);
    } catch (const std::exception& e) {
        s.messages.error(e.what());
        return 1;
    }
    return whole ? 0 : 1;
}

}  // namespace velta::cli
