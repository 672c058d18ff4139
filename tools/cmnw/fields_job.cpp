// The fields job: every record of a CSV stream checked and rewritten.
#include <unistd.h>

#include <chrono>
#include <string>

#include "csv.h"
#include "fields.h"

namespace cmnw::tool {
namespace {

// A progress line on a terminal, redrawn at most twice a second once the
// job has run for a second.
class Progress {
public:
    explicit Progress(std::FILE *out, bool on) : out_(out), on_(on) {}
    ~Progress() {
        if (shown_) std::fputs("\r\033[K", out_);
    }
    void Update(long records, long invalid) {
        if (!on_ || (records & 4095) != 0) return;
        const auto now = Clock::now();
        if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(500))
            return;
        last_ = now;
        shown_ = true;
        std::fprintf(out_, "\rcmnw fields: %ld records, %ld invalid values", records, invalid);
        std::fflush(out_);
    }

private:
    using Clock = std::chrono::steady_clock;
    std::FILE *out_;
    bool on_, shown_ = false;
    Clock::time_point start_ = Clock::now(), last_{};
};

}  // namespace

FieldsJobResult RunFieldsJob(const std::vector<FieldDef> &defs, std::FILE *in, std::FILE *out,
                             std::FILE *errors, const FieldsJobOptions &options) {
    FieldsJobResult result;
    CsvReader reader(in);
    CsvWriter writer(out);
    FieldChecker checker(options.latin1);
    Progress progress(errors, options.progress && isatty(fileno(errors)) != 0);
    std::vector<std::string_view> fields;
    std::string value, message;
    bool first = true;
    while (reader.Next(fields)) {
        if (first) writer.SetCrLf(reader.EndedWithCrLf());
        if (first && options.header) {
            first = false;
            for (std::string_view f : fields) writer.Field(f);
            writer.EndRecord();
            continue;
        }
        first = false;
        ++result.records;
        if (reader.Malformed()) {
            ++result.invalid;
            std::fprintf(errors, "%ld:1: misplaced or unclosed quote in the record\n", reader.Line());
        }
        if (fields.size() != defs.size()) {
            ++result.invalid;
            std::fprintf(errors, "%ld:%zu: %zu fields in the record, expected %zu\n", reader.Line(),
                         std::min(fields.size(), defs.size()) + 1, fields.size(), defs.size());
            for (std::string_view f : fields) writer.Field(f);
            writer.EndRecord();
            continue;
        }
        for (size_t i = 0; i < fields.size(); ++i) {
            if (!checker.Check(defs[i], fields[i], value, message)) {
                ++result.invalid;
                std::fprintf(errors, "%ld:%zu: field %s: %s\n", reader.Line(), i + 1,
                             defs[i].name.c_str(), message.c_str());
            }
            writer.Field(value);
        }
        writer.EndRecord();
        progress.Update(result.records, result.invalid);
    }
    result.readFailed = reader.ReadFailed();
    result.writeFailed = !writer.Flush();
    return result;
}

}  // namespace cmnw::tool
