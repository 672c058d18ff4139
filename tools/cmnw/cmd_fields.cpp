// cmnw fields: the batch check and rewrite of CSV field data.
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "cli.h"
#include "fields.h"

namespace cmnw::tool {
namespace {

struct FieldsOptions {
    std::string defs, input = "-", locale, errorsFormat = "text", errors;
    bool header = false, latin1 = false, quiet = false;
    int jobs = 0;
};

int OnlineCpus() {
    const long n = sysconf(_SC_NPROCESSORS_ONLN);
    return n < 1 ? 1 : n > 256 ? 256 : static_cast<int>(n);
}

int RunFields(const CLI::App *sub, const FieldsOptions &o) {
    std::FILE *defsFile = std::fopen(o.defs.c_str(), "rb");
    if (defsFile == nullptr) return Report(sub, kExitUsage, "cannot open " + o.defs);
    std::vector<FieldDef> defs;
    std::string error;
    const bool defsOk = ReadFieldDefs(defsFile, o.defs, defs, error);
    std::fclose(defsFile);
    if (!defsOk) return Report(sub, kExitUsage, error);
    if (!ApplyLocale(sub, o.locale)) return kExitUsage;

    std::FILE *in = o.input == "-" ? stdin : std::fopen(o.input.c_str(), "rb");
    if (in == nullptr) return Report(sub, kExitUsage, "cannot open " + o.input);
    std::FILE *errors = o.errors.empty() ? stderr : std::fopen(o.errors.c_str(), "wb");
    if (errors == nullptr) {
        if (in != stdin) std::fclose(in);
        return Report(sub, kExitUsage, "cannot create " + o.errors);
    }
    FieldsJobOptions options;
    options.header = o.header;
    options.latin1 = o.latin1;
    options.progress = !o.quiet;
    options.json = o.errorsFormat == "json";
    options.jobs = o.jobs > 0 ? o.jobs : OnlineCpus();
    FieldsJobResult r = RunFieldsJob(defs, in, stdout, errors, options);
    if (in != stdin) std::fclose(in);
    if (errors != stderr && std::fclose(errors) != 0) r.writeFailed = true;
    if (r.readFailed) return Report(sub, kExitUsage, "cannot read " + o.input);
    if (r.writeFailed) return Report(sub, kExitUsage, "cannot write the output or the report");
    return r.invalid > 0 ? kExitFailed : kExitOk;
}

}  // namespace

void AddFieldsCommand(CLI::App &app) {
    auto o = std::make_shared<FieldsOptions>();
    CLI::App *sub = app.add_subcommand(
        "fields", "check and rewrite CSV field data under field definitions");
    sub->footer(
        "Checks every value of FILE (CSV, one column per field; standard input when absent "
        "or '-') against the field definitions of DEFS and writes the records with each value "
        "in its canonical form. DEFS is CSV: name,type,format[,length] per field; type is a "
        "field type code (n numeric picture, d date descriptor, T time descriptor, C custom "
        "mask, B bar type letter, y yes/no, x X a A k K i I m M t text kinds). Invalid values "
        "go to standard error (or the --errors file) as 'line:column: field NAME: message', or "
        "with --errors-format json as one JSON object per line: "
        "{\"line\":8,\"column\":4,\"field\":\"joined\",\"value\":\"13/45/05\",\"message\":\"...\"} "
        "(\"field\":null and no \"value\" for a record of the wrong width). Records are checked "
        "on --jobs threads and written in input order.");
    sub->add_option("DEFS", o->defs, "field definition file")->required();
    sub->add_option("FILE", o->input, "CSV records (default: standard input)");
    AddLocaleOption(sub, o->locale);
    sub->add_flag("--header", o->header, "the first record names the columns; copied unchanged");
    sub->add_flag("--latin1", o->latin1, "values are ISO 8859-1 text, not UTF-8");
    sub->add_flag("-q,--quiet", o->quiet, "no progress line on a terminal");
    sub->add_option("--errors-format", o->errorsFormat, "reports as text (default) or json lines")
        ->check(CLI::IsMember({"text", "json"}));
    sub->add_option("--errors", o->errors, "write the reports to FILE instead of standard error");
    sub->add_option("-j,--jobs", o->jobs, "threads checking records (default: online CPUs)")
        ->check(CLI::Range(1, 256));
    OnRun(sub, [sub, o] { return RunFields(sub, *o); });
}

}  // namespace cmnw::tool
