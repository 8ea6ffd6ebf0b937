#include "cli/CliCommands.h"
namespace velta::cli {
int report(int, char**) { return 2; }
}
