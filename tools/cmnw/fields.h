// The fields job: field definitions, the check and rewrite of one value by
// the library's validation functions, and the batch run over a CSV stream.
#ifndef CMNW_TOOL_FIELDS_H
#define CMNW_TOOL_FIELDS_H

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cmnw32/locale.h"

namespace cmnw::tool {

// One field of a definition file: name, field type code (as FMTTypeString
// knows them), format text (numeric picture, date or time descriptor,
// custom mask, bar type letter) and the most characters a value may have
// (0: no limit beyond the type's own).
struct FieldDef {
    std::string name;
    char type = 'x';
    std::string format;
    int maxLength = 0;
    std::string picture;  // what a person reads in messages: "MM/DD/YYYY"
};

// Reads a definition file: CSV records "name,type,format[,length]"; records
// whose name begins with "#" are comments. Returns false with a message
// ("defs.csv:3: unknown field type 'Q'") in error.
bool ReadFieldDefs(std::FILE *in, std::string_view fileName, std::vector<FieldDef> &defs,
                   std::string &error);

// Checks a definition (type code, format) and fills in its picture. Returns
// false with a message in error.
bool CompleteFieldDef(FieldDef &def, std::string &error);

// Checks and rewrites values. Makes locale (empty: the configured one) the
// current locale and the host locale for month names. Values are UTF-8 text
// unless latin1 is set; the library sees them in code page 1252.
class FieldChecker {
public:
    explicit FieldChecker(bool latin1) : latin1_(latin1) {}

    // Writes the canonical form of value into out and returns true; returns
    // false with a message for a person in message (out holds value).
    bool Check(const FieldDef &def, std::string_view value, std::string &out,
               std::string &message);

private:
    bool CheckNumber(const FieldDef &def, std::string &message);
    bool CheckDate(const FieldDef &def, std::string &message);
    bool CheckTime(const FieldDef &def, std::string &message);
    bool CheckMask(const FieldDef &def, std::string &message);
    bool CheckYesNo(std::string &message);
    bool CheckBarcode(const FieldDef &def, std::string &message);
    bool CheckText(const FieldDef &def, std::string &message);

    bool latin1_;
    std::string work_;  // the value in code page 1252, rewritten in place
    std::string scratch_;
    LocaleSettings settings_{};  // of the current locale, read at first need
    bool haveSettings_ = false;
};

// Makes name the current locale (and host locale); false when it is not a
// built-in locale name.
bool UseLocale(const std::string &name);

struct FieldsJobOptions {
    bool header = false;    // first record names the columns: copied as it is
    bool latin1 = false;    // values are ISO 8859-1, not UTF-8
    bool progress = false;  // progress line on standard error when it is a terminal
    bool json = false;      // reports as JSON lines, not text
    int jobs = 1;           // threads checking records
    size_t blockSize = 0;   // bytes read at a time (0: a small first block, then 1 MiB)
};

struct FieldsJobResult {
    long records = 0;
    long invalid = 0;  // values (and records of the wrong width) reported
    bool readFailed = false;
    bool writeFailed = false;
};

// Reads CSV records from in, writes the rewritten records to out and one
// report per invalid value to errors: "line:column: field NAME: message"
// (record-level: "line:column: message"), or with json a JSON object per
// line: {"line":8,"column":4,"field":"joined","value":"13/45/05",
// "message":"..."}, with "field":null and no "value" for a record-level
// report. Values in JSON are the input's bytes as UTF-8. The output, the
// reports and the result are the same for any number of jobs.
FieldsJobResult RunFieldsJob(const std::vector<FieldDef> &defs, std::FILE *in, std::FILE *out,
                             std::FILE *errors, const FieldsJobOptions &options);

}  // namespace cmnw::tool

#endif
