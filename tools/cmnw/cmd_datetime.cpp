// cmnw date, time, datetime.
#include <cstdio>
#include <memory>

#include "cli.h"
#include "cmnw32.h"
#include "fields.h"
#include "tool_text.h"

namespace cmnw::tool {
namespace {

struct DateTimeOptions {
    std::string format, from, to, locale, unit;
    std::vector<std::string> texts;
    int days = 0, months = 0, years = 0;
    long seconds = 0, minutes = 0, hours = 0;
};
using Options = std::shared_ptr<DateTimeOptions>;

// The descriptor given, or the stored default of its kind.
std::string Descriptor(const std::string &given, bool date) {
    if (!given.empty()) return given;
    char d[32];
    if (date) FMTDefDateFormat(d, 'G');
    else FMTDefTimeFormat(d, 'G');
    return d;
}

// Validates each text as a field of type code under the descriptor.
int Validate(const CLI::App *sub, char type, const DateTimeOptions &o) {
    if (!ApplyLocale(sub, o.locale)) return kExitUsage;
    FieldDef def;
    def.type = type;
    def.format = Descriptor(o.format, type == 'd');
    return CheckTexts(sub, def, o.texts);
}

int Picture(const CLI::App *sub, bool date, const std::vector<std::string> &descriptors) {
    for (const std::string &d : descriptors) {
        char out[128];
        const int rc = date ? FMTDateFormatString(d.c_str(), out, sizeof out)
                            : FMTTimeFormatString(d.c_str(), out, sizeof out);
        if (rc != 0) return Report(sub, kExitFailed, "no picture for '" + d + "'");
        std::printf("%s\n", ToUtf8(out).c_str());
    }
    return kExitOk;
}

int DateConvert(const CLI::App *sub, const DateTimeOptions &o) {
    if (!ApplyLocale(sub, o.locale)) return kExitUsage;
    int status = kExitOk;
    for (const std::string &t : o.texts) {
        char out[64] = {};
        std::string in = t;
        Utf8ToLatin(in);
        if (FMTDate2Date(in.c_str(), o.from.c_str(), out, o.to.c_str()) != 0)
            status = Report(sub, kExitFailed, "'" + t + "' is not a date under " + o.from);
        else std::printf("%s\n", ToUtf8(out).c_str());
    }
    return status;
}

int DateAdd(const CLI::App *sub, const DateTimeOptions &o) {
    if (!ApplyLocale(sub, o.locale)) return kExitUsage;
    const std::string d = Descriptor(o.format, true);
    int status = kExitOk;
    for (const std::string &t : o.texts) {
        char text[64];
        std::string in = t;
        Utf8ToLatin(in);
        CopyText(text, sizeof text, in);
        if (FMTDateAdd(text, d.c_str(), o.days, o.months, o.years) != 0)
            status = Report(sub, kExitFailed, "'" + t + "' is not a date under " + d);
        else std::printf("%s\n", ToUtf8(text).c_str());
    }
    return status;
}

int DateDiff(const CLI::App *sub, const DateTimeOptions &o) {
    if (!ApplyLocale(sub, o.locale)) return kExitUsage;
    const std::string d = Descriptor(o.format, true);
    const char *a = o.texts[0].c_str(), *b = o.texts[1].c_str();
    const int n = o.unit == "months"  ? FMTDiffMonths(a, d.c_str(), b, d.c_str())
                  : o.unit == "years" ? FMTDiffYears(a, d.c_str(), b, d.c_str())
                                      : FMTDiffDays(a, d.c_str(), b, d.c_str());
    if (n < 0) return Report(sub, kExitFailed, "both texts must be dates under " + d);
    std::printf("%d\n", n);
    return kExitOk;
}

int DateToday(const DateTimeOptions &o) {
    char out[64];
    FMTDate(out, Descriptor(o.format, true).c_str());
    std::printf("%s\n", ToUtf8(out).c_str());
    return kExitOk;
}

int TimeConvert(const CLI::App *sub, const DateTimeOptions &o) {
    int status = kExitOk;
    for (const std::string &t : o.texts) {
        char out[40] = {};
        if (FMTTime2Time(t.c_str(), o.from.c_str(), out, o.to.c_str()) != 0)
            status = Report(sub, kExitFailed, "'" + t + "' is not a time under " + o.from);
        else std::printf("%s\n", out);
    }
    return status;
}

// Adds an amount of any size: the total is taken modulo a day and handed to
// the library as one carry of each field at most.
int TimeAdd(const CLI::App *sub, const DateTimeOptions &o) {
    const std::string d = Descriptor(o.format, false);
    long total = (o.hours % 24) * 3600 + (o.minutes % 1440) * 60 + o.seconds % 86400;
    total = ((total % 86400) + 86400) % 86400;
    int status = kExitOk;
    for (const std::string &t : o.texts) {
        char text[40];
        CopyText(text, 12, t);
        if (FMTTimeAdd(text, d.c_str(), static_cast<int>(total % 60),
                       static_cast<int>(total / 60 % 60), static_cast<int>(total / 3600)) != 0)
            status = Report(sub, kExitFailed, "'" + t + "' is not a time under " + d);
        else std::printf("%s\n", text);
    }
    return status;
}

int TimeDiff(const CLI::App *sub, const DateTimeOptions &o) {
    const std::string d = Descriptor(o.format, false);
    const char *a = o.texts[0].c_str(), *b = o.texts[1].c_str();
    const int n = o.unit == "minutes" ? FMTDiffMinutes(a, d.c_str(), b, d.c_str())
                  : o.unit == "hours" ? FMTDiffHours(a, d.c_str(), b, d.c_str())
                                      : FMTDiffSeconds(a, d.c_str(), b, d.c_str());
    if (n < 0) return Report(sub, kExitFailed, "both texts must be times under " + d);
    std::printf("%d\n", n);
    return kExitOk;
}

int TimeNow(const DateTimeOptions &o) {
    char out[40];
    FMTTime(out, Descriptor(o.format, false).c_str());
    std::printf("%s\n", out);
    return kExitOk;
}

bool IsBinaryForm(const std::string &form) {
    return UTLstricmp(form.c_str(), "S1") == 0 || UTLstricmp(form.c_str(), "S2") == 0;
}

int DateTimeConvert(const CLI::App *sub, const DateTimeOptions &o) {
    if (IsBinaryForm(o.from) || IsBinaryForm(o.to))
        return Report(sub, kExitUsage, "the record forms S1 and S2 are not texts");
    int status = kExitOk;
    for (const std::string &t : o.texts) {
        char out[80] = {};
        std::string in = t;
        Utf8ToLatin(in);
        if (FMTDateTime2DateTime(in.c_str(), o.from.c_str(), out, o.to.c_str()) != 0)
            status = Report(sub, kExitFailed, "'" + t + "' is not a date and time in " + o.from);
        else std::printf("%s\n", ToUtf8(out).c_str());
    }
    return status;
}

CLI::App *Leaf(CLI::App *group, const char *name, const char *help, const Options &o,
               std::function<int(const CLI::App *, const DateTimeOptions &)> run) {
    CLI::App *sub = group->add_subcommand(name, help);
    OnRun(sub, [sub, o, run] { return run(sub, *o); });
    return sub;
}

void AddFormat(CLI::App *sub, const Options &o, const char *what) {
    sub->add_option("-f,--format", o->format, std::string(what) + " descriptor (default: the stored default)");
}

void AddDate(CLI::App &app) {
    CLI::App *g = app.add_subcommand("date", "validate, convert, add, diff and picture dates");
    g->require_subcommand(1, 1);
    auto o = std::make_shared<DateTimeOptions>();
    CLI::App *s = Leaf(g, "validate", "check dates and print them in canonical form", o,
                       [](auto *sub, auto &x) { return Validate(sub, 'd', x); });
    AddFormat(s, o, "date");
    AddLocaleOption(s, o->locale);
    s->add_option("TEXT", o->texts, "dates")->required();
    s = Leaf(g, "convert", "convert dates from one descriptor to another (X: hextime)", o, DateConvert);
    s->add_option("-f,--from", o->from, "descriptor of the input")->required();
    s->add_option("-t,--to", o->to, "descriptor of the output")->required();
    AddLocaleOption(s, o->locale);
    s->add_option("TEXT", o->texts, "dates")->required();
    s = Leaf(g, "add", "add days, months and years to dates", o, DateAdd);
    AddFormat(s, o, "date");
    AddLocaleOption(s, o->locale);
    s->add_option("--days", o->days, "days to add (may be negative)");
    s->add_option("--months", o->months, "months to add");
    s->add_option("--years", o->years, "years to add");
    s->add_option("TEXT", o->texts, "dates")->required();
    s = Leaf(g, "diff", "the distance between two dates", o, DateDiff);
    AddFormat(s, o, "date");
    AddLocaleOption(s, o->locale);
    s->add_option("-u,--unit", o->unit, "days, months or years")
        ->check(CLI::IsMember({"days", "months", "years"}));
    s->add_option("TEXT", o->texts, "two dates")->required()->expected(2);
    s = Leaf(g, "picture", "the picture of date descriptors", o,
             [](auto *sub, auto &x) { return Picture(sub, true, x.texts); });
    s->add_option("DESCRIPTOR", o->texts, "date descriptors")->required();
    s = Leaf(g, "today", "today's date", o, [](auto *, auto &x) { return DateToday(x); });
    AddFormat(s, o, "date");
}

void AddTime(CLI::App &app) {
    CLI::App *g = app.add_subcommand("time", "validate, convert, add, diff and picture times");
    g->require_subcommand(1, 1);
    auto o = std::make_shared<DateTimeOptions>();
    CLI::App *s = Leaf(g, "validate", "check times and print them in canonical form", o,
                       [](auto *sub, auto &x) { return Validate(sub, 'T', x); });
    AddFormat(s, o, "time");
    s->add_option("TEXT", o->texts, "times")->required();
    s = Leaf(g, "convert", "convert times from one descriptor to another (X: hextime)", o, TimeConvert);
    s->add_option("-f,--from", o->from, "descriptor of the input")->required();
    s->add_option("-t,--to", o->to, "descriptor of the output")->required();
    s->add_option("TEXT", o->texts, "times")->required();
    s = Leaf(g, "add", "add hours, minutes and seconds to times (wrapping at midnight)", o, TimeAdd);
    AddFormat(s, o, "time");
    s->add_option("--hours", o->hours, "hours to add (may be negative)");
    s->add_option("--minutes", o->minutes, "minutes to add");
    s->add_option("--seconds", o->seconds, "seconds to add");
    s->add_option("TEXT", o->texts, "times")->required();
    s = Leaf(g, "diff", "the distance between two times of day", o, TimeDiff);
    AddFormat(s, o, "time");
    s->add_option("-u,--unit", o->unit, "seconds, minutes or hours")
        ->check(CLI::IsMember({"seconds", "minutes", "hours"}));
    s->add_option("TEXT", o->texts, "two times")->required()->expected(2);
    s = Leaf(g, "picture", "the picture of time descriptors", o,
             [](auto *sub, auto &x) { return Picture(sub, false, x.texts); });
    s->add_option("DESCRIPTOR", o->texts, "time descriptors")->required();
    s = Leaf(g, "now", "the current time", o, [](auto *, auto &x) { return TimeNow(x); });
    AddFormat(s, o, "time");
}

}  // namespace

void AddDateTimeCommands(CLI::App &app) {
    AddDate(app);
    AddTime(app);
    CLI::App *g = app.add_subcommand("datetime", "convert combined dates and times");
    g->require_subcommand(1, 1);
    auto o = std::make_shared<DateTimeOptions>();
    CLI::App *s = Leaf(g, "convert",
                       "convert between hextime (X), DB2 timestamps and combined descriptors "
                       "such as '1/4% 1:'", o, DateTimeConvert);
    s->add_option("-f,--from", o->from, "form of the input")->required();
    s->add_option("-t,--to", o->to, "form of the output")->required();
    s->add_option("TEXT", o->texts, "dates and times")->required();
}

}  // namespace cmnw::tool
