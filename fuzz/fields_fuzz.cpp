// The cmnw fields job on arbitrary bytes: field definitions from the input
// up to its first NUL (the built-in set when they do not read), CSV records
// from the rest, through the whole pipeline of the tool; the same job read in
// blocks of a few bytes must give the same output, reports and counts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

    cmnw::tool::FieldsJobOptions options;
    options.header = size % 2 == 1;
    options.json = size % 3 == 1;
    std::string results[2][2];
    long counts[2] = {};
    for (int run = 0; run < 2; ++run) {
        std::FILE *in = Open(records);
        char *bytes[2] = {};
        size_t length[2] = {};
        std::FILE *out = open_memstream(&bytes[0], &length[0]);
        std::FILE *errors = open_memstream(&bytes[1], &length[1]);
        if (in == nullptr || out == nullptr || errors == nullptr) std::abort();
        const auto r = cmnw::tool::RunFieldsJob(defs, in, out, errors, options);
        std::fclose(in);
        std::fclose(out);
        std::fclose(errors);
        for (int i = 0; i < 2; ++i) {
            results[run][i].assign(bytes[i], length[i]);
            std::free(bytes[i]);
        }
        counts[run] = r.records * 1000003 + r.invalid;
        options.blockSize = 1 + size % 61;
    }
    if (results[0][0] != results[1][0] || results[0][1] != results[1][1] || counts[0] != counts[1])
        std::abort();
    return 0;
}
