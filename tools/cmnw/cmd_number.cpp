#include "cli.h"
namespace cmnw::tool {
void AddNumberCommands(CLI::App &) {}
}
