#include <cstdio>
#include <exception>

#include "cli/CliCommands.h"
#include "cli/CliSupport.h"
#include "deck/DeckWriter.h"
#include "forms/DeckReader.h"

namespace velta::cli {

// Opens IN.dat as File > Open does and writes the live case to OUT.dat.
// Only an accepted case is written.
int resave(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: velta-cli resave IN.dat OUT.dat\n");
        return 2;
    }
    BatchSession batch;
    Session& s = batch.session;
    if (!openCase(s, argv[1])) return 1;
    try {
        EnregistrerDonnees(s, argv[2]);
    } catch (const std::exception& e) {
        s.messages.error(e.what());
        return 1;
    }
    return 0;
}

} // namespace velta::cli
