// cmnw locale, paper.
#include <cmath>
#include <cstdio>
#include <memory>

#include "cli.h"
#include "cmnw32.h"
#include "tool_text.h"

namespace cmnw::tool {
namespace {

std::string Icu(const std::string &name) {
    char id[UTL_ICU_ID_SIZE];
    UTLFMT2ICULocale(name.c_str(), id, sizeof id);
    return id;
}

void Row(const char *key, const std::string &value) {
    std::printf("%-18s %s\n", key, value.c_str());
}

std::string Joined(const char *first, size_t stride, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        if (i > 0) out += ", ";
        out += ToUtf8(first + i * stride);
    }
    return out;
}

int LocaleShow(const CLI::App *sub, const std::string &name) {
    if (!IsBuiltInLocale(name))
        return Report(sub, kExitUsage, "unknown locale '" + name + "' (see cmnw locale list)");
    LocaleSettings s;
    UTLGetLocaleSettings((" " + name).c_str(), &s);
    const PaperType *paper = UTLGetPaperType(s.paperSize);
    Row("name", name);
    Row("icuLocale", Icu(name));
    Row("decimalSep", ToUtf8(s.decimalSep));
    Row("thousandSep", "'" + ToUtf8(s.thousandSep) + "'");
    Row("currency", ToUtf8(s.currency));
    Row("currencyPlacement", ToUtf8(s.currencyPlacement));
    Row("crValue", ToUtf8(s.crValue));
    Row("dbValue", ToUtf8(s.dbValue));
    Row("drValue", ToUtf8(s.drValue));
    Row("validChars", ToUtf8(s.validChars));
    Row("yesText", ToUtf8(s.yesText));
    Row("noText", ToUtf8(s.noText));
    Row("amText", ToUtf8(s.amText));
    Row("pmText", ToUtf8(s.pmText));
    Row("monthName", Joined(s.monthName[0], sizeof s.monthName[0], 12));
    Row("monthAbbrev", Joined(s.monthAbbrev[0], sizeof s.monthAbbrev[0], 12));
    Row("dayName", Joined(s.dayName[0], sizeof s.dayName[0], 7));
    Row("dateFormat", std::to_string(s.dateFormat) + " (\"" +
                          std::string(1, static_cast<char>(s.dateFormat)) + "\")");
    Row("paperSize", std::to_string(s.paperSize) + (paper ? " (" + std::string(paper->name) + ")" : ""));
    Row("spellDict", s.spellDict ? s.spellDict : "");
    return kExitOk;
}

int LocaleList() {
    std::printf("%-5s %-6s %-3s %-3s %-6s %-3s %-5s %-5s %s\n", "name", "icu", "dec", "thou",
                "curr", "pos", "yes", "no", "date paper");
    for (const char *name : kBuiltInLocales) {
        LocaleSettings s;
        UTLGetLocaleSettings((std::string(" ") + name).c_str(), &s);
        std::printf("%-5s %-6s %-3s '%s'  %-6s %-3s %-5s %-5s %c    %d\n", name, Icu(name).c_str(),
                    s.decimalSep, ToUtf8(s.thousandSep).c_str(), ToUtf8(s.currency).c_str(),
                    s.currencyPlacement, ToUtf8(s.yesText).c_str(), ToUtf8(s.noText).c_str(),
                    static_cast<char>(s.dateFormat), s.paperSize);
    }
    return kExitOk;
}

double Millimetres(int32_t units) { return units * 25.4 / 2400.0; }

int PaperList() {
    std::printf("%-4s %-20s %8s %8s %9s\n", "id", "name", "width", "height", "(mm)");
    for (const PaperType *p = UTLGetPageSizesArray(); p->name[0] != '\0' || p->id != 0; ++p)
        std::printf("%-4d %-20s %8d %8d %4.0fx%.0f\n", p->id, p->name, p->width, p->height,
                    Millimetres(p->width), Millimetres(p->height));
    return kExitOk;
}

// A size in 1/2400 inch, or with a unit: "297mm", "11in", "8.5in".
bool ParseSize(const std::string &text, int32_t &units) {
    double scale = 1;
    std::string number = text;
    if (text.size() > 2 && text.compare(text.size() - 2, 2, "mm") == 0) scale = 2400 / 25.4;
    else if (text.size() > 2 && text.compare(text.size() - 2, 2, "in") == 0) scale = 2400;
    if (scale != 1) number = text.substr(0, text.size() - 2);
    char *end = nullptr;
    const double v = std::strtod(number.c_str(), &end);
    if (number.empty() || *end != '\0' || !(v > 0) || v * scale > 2147483647.0) return false;
    units = static_cast<int32_t>(std::lround(v * scale));
    return true;
}

int PaperClosest(const CLI::App *sub, const std::string &h, const std::string &w) {
    int32_t height = 0, width = 0, id = 0;
    if (!ParseSize(h, height) || !ParseSize(w, width))
        return Report(sub, kExitUsage, "sizes are positive numbers of 1/2400 inch, or with mm or in");
    if (UTLGetClosestPaperType(height, width, &id) != 0)
        return Report(sub, kExitFailed, "no paper holds a page of that size");
    const PaperType *p = UTLGetPaperType(id);
    std::printf("%d %s\n", id, p ? p->name : "");
    return kExitOk;
}

}  // namespace

void AddLocaleCommands(CLI::App &app) {
    CLI::App *g = app.add_subcommand("locale", "show the settings of locales");
    g->require_subcommand(1, 1);
    auto name = std::make_shared<std::string>();
    CLI::App *s = g->add_subcommand("show", "every field of a locale's settings record");
    s->add_option("NAME", *name, "locale name, e.g. DEM")->required();
    OnRun(s, [s, name] { return LocaleShow(s, *name); });
    s = g->add_subcommand("list", "the built-in locales and their main settings");
    OnRun(s, [] { return LocaleList(); });

    g = app.add_subcommand("paper", "the paper table");
    g->require_subcommand(1, 1);
    s = g->add_subcommand("list", "every paper: id, name, width and height (1/2400 inch, mm)");
    OnRun(s, [] { return PaperList(); });
    auto sizes = std::make_shared<std::vector<std::string>>();
    s = g->add_subcommand("closest", "the smallest paper a page fits on");
    s->add_option("SIZE", *sizes, "HEIGHT WIDTH in 1/2400 inch, or with mm or in")
        ->required()
        ->expected(2);
    OnRun(s, [s, sizes] { return PaperClosest(s, (*sizes)[0], (*sizes)[1]); });
}

}  // namespace cmnw::tool
