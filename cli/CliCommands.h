#pragma once
// The batch tool's subcommands. Each returns the process exit status:
// 0 success, 1 failure, 2 usage error.

namespace velta::cli {

int resave(int argc, char** argv);  // velta-cli resave IN.dat OUT.dat
int exportResults(int argc, char** argv);  // velta-cli export CASE.dat RESULTS.PLT RESULTS.OUT OUT.csv [--si]
int draw(int argc, char** argv);    // velta-cli draw CASE.dat VIEW OUT.png [...]
int run(int argc, char** argv);     // velta-cli run CASE.dat OUTDIR [--si] [--level N]
int verify(int argc, char** argv);  // velta-cli verify CASE.dat OUTDIR [--level N]
int report(int argc, char** argv);  // velta-cli report CASE.dat OUT.pdf [--results PLT OUT] [--si]

}  // namespace velta::cli
