// velta-cli: the batch tool. It drives the same core as the desktop program;
// every message the window would show goes to stderr, one line each.
#include <cstdio>
#include <cstring>

#include "cli/CliCommands.h"

namespace {

void usage()
{
    std::fprintf(stderr,
                 "usage: velta-cli resave IN.dat OUT.dat\n"
                 "       velta-cli export CASE.dat RESULTS.PLT RESULTS.OUT OUT.csv [--si]\n"
                 "       velta-cli draw CASE.dat VIEW OUT.png [--results RESULTS.PLT RESULTS.OUT] [--si]\n"
                 "                 [--size WxH] [--values N] [--log OPS.txt]\n"
                 "       velta-cli run CASE.dat OUTDIR [--si] [--level N]\n"
                 "       velta-cli verify CASE.dat OUTDIR [--level N]\n"
                 "       velta-cli report CASE.dat OUT.pdf [--results RESULTS.PLT RESULTS.OUT] [--si]\n");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        usage();
        return 2;
    }
    const char* cmd = argv[1];
    // Subcommands see their own arguments: argv[0] is the command name.
    if (!std::strcmp(cmd, "resave")) return velta::cli::resave(argc - 1, argv + 1);
    if (!std::strcmp(cmd, "export")) return velta::cli::exportResults(argc - 1, argv + 1);
    if (!std::strcmp(cmd, "draw")) return velta::cli::draw(argc - 1, argv + 1);
    if (!std::strcmp(cmd, "run")) return velta::cli::run(argc - 1, argv + 1);
    if (!std::strcmp(cmd, "verify")) return velta::cli::verify(argc - 1, argv + 1);
    if (!std::strcmp(cmd, "report")) return velta::cli::report(argc - 1, argv + 1);
    usage();
    return 2;
}
