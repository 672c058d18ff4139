#include "cli.h"
namespace cmnw::tool {
void AddCharsCommands(CLI::App &) {}
}
