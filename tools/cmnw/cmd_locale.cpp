#include "cli.h"
namespace cmnw::tool {
void AddLocaleCommands(CLI::App &) {}
}
