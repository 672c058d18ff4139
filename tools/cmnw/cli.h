// The cmnw tool's command line: registration of the subcommand groups and
// the conventions they share.
#ifndef CMNW_TOOL_CLI_H
#define CMNW_TOOL_CLI_H

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

namespace cmnw::tool {

// Exit statuses: success, a value or check that failed, bad usage or input
// that could not be read.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Makes run the action of sub: it runs after the whole command line parsed,
// and its result is the exit status.
void OnRun(CLI::App *sub, std::function<int()> run);
int RunChosenAction();

// "cmnw <path>: <message>" on standard error; returns status.
int Report(const CLI::App *sub, int status, const std::string &message);

struct FieldDef;
// Checks each text as a value of def exactly as the fields job does, printing
// the canonical form or reporting the failure; the worst exit status.
int CheckTexts(const CLI::App *sub, FieldDef def, const std::vector<std::string> &texts);
// The full name of a subcommand ("date validate").
std::string CommandPath(const CLI::App *sub);

// Reads a whole file, or standard input for "-"; false when it cannot.
bool ReadAll(const std::string &path, std::string &out);
// Writes bytes to standard output; false when the stream fails.
bool WriteAll(const std::string &bytes);

// Adds the --locale option; the action calls ApplyLocale before its work.
void AddLocaleOption(CLI::App *sub, std::string &locale);
// Makes locale current (empty: leave the configured one); reports an
// unknown name and returns false.
bool ApplyLocale(const CLI::App *sub, const std::string &locale);

void AddFieldsCommand(CLI::App &app);
void AddDateTimeCommands(CLI::App &app);  // date, time, datetime
void AddNumberCommands(CLI::App &app);    // num, mask, barcode
void AddLocaleCommands(CLI::App &app);    // locale, paper
void AddCharsCommands(CLI::App &app);     // codepage, ebcdic, utf
void AddEncodeCommands(CLI::App &app);    // crc, base64, text
void AddSystemCommands(CLI::App &app);    // unique, filetype, trace, message, version
void AddVersionCommands(CLI::App &app);   // patches, versions, verinfo

}  // namespace cmnw::tool

#endif
