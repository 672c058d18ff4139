// cmnw: the library's services from the shell.
#include <cstdio>
#include <memory>

#include "cli.h"
#include "completion.h"
#include "cmnw32.h"
#include "fields.h"

namespace cmnw::tool {
namespace {

std::function<int()> &ChosenAction() {
    static std::function<int()> action;
    return action;
}

}  // namespace

void OnRun(CLI::App *sub, std::function<int()> run) {
    sub->callback([sub, run = std::move(run)] {
        // A group's own callback must not replace the action of the leaf
        // below it.
        if (sub->get_subcommands().empty()) ChosenAction() = run;
    });
}

int RunChosenAction() { return ChosenAction() ? ChosenAction()() : kExitOk; }

std::string CommandPath(const CLI::App *sub) {
    std::string path;
    for (const CLI::App *a = sub; a != nullptr && a->get_parent() != nullptr; a = a->get_parent())
        path = path.empty() ? a->get_name() : a->get_name() + " " + path;
    return path;
}

int Report(const CLI::App *sub, int status, const std::string &message) {
    std::fprintf(stderr, "cmnw %s: %s\n", CommandPath(sub).c_str(), message.c_str());
    return status;
}

int CheckTexts(const CLI::App *sub, FieldDef def, const std::vector<std::string> &texts) {
    std::string error, out;
    if (!CompleteFieldDef(def, error)) return Report(sub, kExitUsage, error);
    FieldChecker checker(false);
    int status = kExitOk;
    for (const std::string &t : texts) {
        if (checker.Check(def, t, out, error)) std::printf("%s\n", out.c_str());
        else status = Report(sub, kExitFailed, "'" + t + "': " + error);
    }
    return status;
}

bool ReadAll(const std::string &path, std::string &out) {
    std::FILE *f = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    char chunk[1 << 16];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) out.append(chunk, n);
    const bool ok = std::ferror(f) == 0;
    if (f != stdin) std::fclose(f);
    return ok;
}

bool WriteAll(const std::string &bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
           std::fflush(stdout) == 0;
}

void AddLocaleOption(CLI::App *sub, std::string &locale) {
    sub->add_option("-l,--locale", locale, "locale name, e.g. USD or DEM (see cmnw locale list)");
}

bool ApplyLocale(const CLI::App *sub, const std::string &locale) {
    if (UseLocale(locale)) return true;
    Report(sub, kExitUsage, "unknown locale '" + locale + "' (see cmnw locale list)");
    return false;
}

}  // namespace cmnw::tool

int main(int argc, char **argv) {
    using namespace cmnw::tool;
    CLI::App app{"cmnw: the CMNW32 library's services from the shell.", "cmnw"};
    app.require_subcommand(1, 1);
    app.fallthrough(false);
    app.footer("Exit status: 0 success, 1 an invalid value or failed check, 2 bad usage or "
               "unreadable input.\nRun 'cmnw COMMAND --help' for the options of a command.");
    app.set_version_flag("--version", std::string("cmnw ") + UTLLibVersion()->version);
    AddFieldsCommand(app);
    AddDateTimeCommands(app);
    AddNumberCommands(app);
    AddLocaleCommands(app);
    AddCharsCommands(app);
    AddEncodeCommands(app);
    AddVersionCommands(app);
    AddSystemCommands(app);
    // Hidden: the completion script, written at build time into the package.
    app.add_option_function<std::string>(
           "--completion",
           [&app](const std::string &shell) {
               if (shell != "bash") throw CLI::ValidationError("--completion", "only bash");
               std::fputs(BashCompletion(app).c_str(), stdout);
               throw CLI::Success();
           })
        ->group("")
        ->trigger_on_parse();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &e) {
        const int status = app.exit(e);
        return status == 0 ? kExitOk : kExitUsage;
    }
    return RunChosenAction();
}
