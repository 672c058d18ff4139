// The cmnw fields job on arbitrary bytes: field definitions from the input
// up to its first NUL (the built-in set when they do not read), CSV records
// from the rest, through the whole pipeline of the tool.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "../tools/cmnw/csv.cpp"
#include "../tools/cmnw/fields.cpp"
#include "../tools/cmnw/fields_job.cpp"
#include "../tools/cmnw/tool_text.cpp"

namespace {

std::vector<cmnw::tool::FieldDef> BuiltInDefs() {
    const char *rows[][3] = {{"n", "n", "$ZZZ,ZZ9.99CR"}, {"d", "d", "4"}, {"t", "T", "2:"},
                             {"c", "C", "3,-,2,-"},       {"b", "B", "A"}, {"e", "B", "L"},
                             {"y", "y", ""},              {"i", "I", ""},  {"m", "m", ""}};
    std::vector<cmnw::tool::FieldDef> defs;
    for (auto &r : rows) {
        cmnw::tool::FieldDef d;
        d.name = r[0];
        d.type = r[1][0];
        d.format = r[2];
        std::string error;
        cmnw::tool::CompleteFieldDef(d, error);
        defs.push_back(d);
    }
    return defs;
}

std::FILE *Open(std::string &bytes) {
    if (bytes.empty()) bytes = "\n";
    return fmemopen(bytes.data(), bytes.size(), "r");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const auto builtIn = BuiltInDefs();
    static std::FILE *sink = std::fopen("/dev/null", "w");
    static const bool ready = cmnw::tool::UseLocale("DEM");
    (void)ready;
    const std::string input(reinterpret_cast<const char *>(data), size);
    const size_t nul = input.find('\0');
    std::string defsText = nul == std::string::npos ? "" : input.substr(0, nul);
    std::string records = nul == std::string::npos ? input : input.substr(nul + 1);

    std::vector<cmnw::tool::FieldDef> defs;
    std::string error;
    std::FILE *defsFile = Open(defsText);
    if (defsFile == nullptr || !cmnw::tool::ReadFieldDefs(defsFile, "defs", defs, error))
        defs = builtIn;
    if (defsFile != nullptr) std::fclose(defsFile);

    std::FILE *in = Open(records);
    if (in == nullptr) return 0;
    cmnw::tool::FieldsJobOptions options;
    options.header = size % 2 == 1;
    cmnw::tool::RunFieldsJob(defs, in, sink, sink, options);
    std::fclose(in);
    return 0;
}
