// Shell completion for the cmnw tool.
#ifndef CMNW_TOOL_COMPLETION_H
#define CMNW_TOOL_COMPLETION_H

#include <CLI/CLI.hpp>
#include <string>

namespace cmnw::tool {

// A bash script that completes cmnw's subcommands and options from app's
// command table (hidden commands and options left out); files are
// completed where no subcommand fits.
std::string BashCompletion(const CLI::App &app);

}  // namespace cmnw::tool

#endif
