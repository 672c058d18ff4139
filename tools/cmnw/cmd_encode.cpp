#include "cli.h"
namespace cmnw::tool {
void AddEncodeCommands(CLI::App &) {}
}
