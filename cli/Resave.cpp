#include <cstdio>

#include "cli/CliCommands.h"

namespace velta::cli {

int resave(int, char**)
{
    std::fprintf(stderr, "velta-cli: this command is not available yet\n");
    return 1;
}

}  // namespace velta::cli
