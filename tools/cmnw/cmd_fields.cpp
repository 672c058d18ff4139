// cmnw fields: the batch check and rewrite of CSV field data.
#include <cstdio>
#include <memory>

#include "cli.h"
#include "fields.h"

namespace cmnw::tool {
namespace {

struct FieldsOptions {
    std::string defs, input = "-", locale;
    bool header = false, latin1 = false, quiet = false;
};

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
    FieldsJobOptions options;
    options.header = o.header;
    options.latin1 = o.latin1;
    options.progress = !o.quiet;
    const FieldsJobResult r = RunFieldsJob(defs, in, stdout, stderr, options);
    if (in != stdin) std::fclose(in);
    if (r.readFailed) return Report(sub, kExitUsage, "cannot read " + o.input);
    if (r.writeFailed) return Report(sub, kExitUsage, "cannot write the output");
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
        "go to standard error as 'line:column: field NAME: message'.");
    sub->add_option("DEFS", o->defs, "field definition file")->required();
    sub->add_option("FILE", o->input, "CSV records (default: standard input)");
    AddLocaleOption(sub, o->locale);
    sub->add_flag("--header", o->header, "the first record names the columns; copied unchanged");
    sub->add_flag("--latin1", o->latin1, "values are ISO 8859-1 text, not UTF-8");
    sub->add_flag("-q,--quiet", o->quiet, "no progress line on a terminal");
    OnRun(sub, [sub, o] { return RunFields(sub, *o); });
}

}  // namespace cmnw::tool
