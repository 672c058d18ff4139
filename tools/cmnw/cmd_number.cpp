// cmnw num, mask, barcode.
#include <cstdio>
#include <memory>

#include "cli.h"
#include "cmnw32.h"
#include "fields.h"
#include "tool_text.h"

namespace cmnw::tool {
namespace {

struct NumberOptions {
    std::string format, locale;
    std::vector<std::string> texts;
    bool reverse = false;
};
using Options = std::shared_ptr<NumberOptions>;

// Each text checked as a value of a field of type code with format text,
// exactly as the fields job checks it.
int CheckAsField(const CLI::App *sub, char type, const NumberOptions &o) {
    if (!ApplyLocale(sub, o.locale)) return kExitUsage;
    FieldDef def;
    def.type = type;
    def.format = o.format;
    return CheckTexts(sub, def, o.texts);
}

std::string LocaleArg(const std::string &locale) { return locale.empty() ? "" : " " + locale; }

int NumDeformat(const CLI::App *sub, const NumberOptions &o) {
    if (!o.locale.empty() && !IsBuiltInLocale(o.locale))
        return Report(sub, kExitUsage, "unknown locale '" + o.locale + "'");
    const std::string arg = LocaleArg(o.locale);
    for (const std::string &t : o.texts) {
        char text[FMT_NUM_PICTURE_MAX * 2 + 8];
        std::string in = t;
        Utf8ToLatin(in);
        CopyText(text, sizeof text, in);
        FMTDeformatNum(text, arg.empty() ? nullptr : arg.c_str());
        std::printf("%s\n", text);
    }
    return kExitOk;
}

int NumConvert(const CLI::App *sub, const NumberOptions &o) {
    if (!o.locale.empty() && !IsBuiltInLocale(o.locale))
        return Report(sub, kExitUsage, "unknown locale '" + o.locale + "'");
    const std::string arg = LocaleArg(o.locale.empty() ? UTLGetLocale() : o.locale);
    for (const std::string &t : o.texts) {
        char in[128], out[128] = {};
        std::string text = t;
        Utf8ToLatin(text);
        CopyText(in, sizeof in, text);
        if (o.reverse) FMTUnconvertNumFormat(in, arg.c_str(), FMT_NUM_PICTURE_MAX, out);
        else FMTConvertNumFormat(in, arg.c_str(), 100, out);
        std::printf("%s\n", ToUtf8(out).c_str());
    }
    return kExitOk;
}

int NumCheck(const CLI::App *sub, const NumberOptions &o) {
    int status = kExitOk;
    for (const std::string &t : o.texts) {
        char picture[128];
        CopyText(picture, sizeof picture, t);
        switch (FMTValidNumericFormat(picture)) {
            case 0: std::printf("%s: valid\n", t.c_str()); break;
            case 1: status = Report(sub, kExitFailed, "'" + t + "' is longer than 32 characters"); break;
            default: status = Report(sub, kExitFailed, "'" + t + "' is not a valid picture"); break;
        }
    }
    return status;
}

int MaskRemove(const CLI::App *sub, const NumberOptions &o) {
    int status = kExitOk;
    for (const std::string &t : o.texts) {
        char out[FMT_MASK_TEXT_MAX + 1];
        std::string in = t;
        Utf8ToLatin(in);
        if (FMTDefmtString(in.c_str(), out, FMT_MASK_TEXT_MAX, o.format.c_str()) != 0)
            status = Report(sub, kExitFailed, "'" + t + "' does not show the mask " + o.format);
        else std::printf("%s\n", ToUtf8(out).c_str());
    }
    return status;
}

int MaskPicture(const CLI::App *sub, const NumberOptions &o) {
    const std::string picture = FMTFormatString('C', o.format.c_str());
    if (picture.empty() && !o.format.empty())
        return Report(sub, kExitFailed, "'" + o.format + "' is not a valid mask");
    std::printf("%s\n", picture.c_str());
    return kExitOk;
}

CLI::App *Leaf(CLI::App *group, const char *name, const char *help, const Options &o,
               std::function<int(const CLI::App *, const NumberOptions &)> run) {
    CLI::App *sub = group->add_subcommand(name, help);
    OnRun(sub, [sub, o, run] { return run(sub, *o); });
    return sub;
}

void AddNum(CLI::App &app) {
    CLI::App *g = app.add_subcommand("num", "format and read numbers under numeric pictures");
    g->require_subcommand(1, 1);
    auto o = std::make_shared<NumberOptions>();
    CLI::App *s = Leaf(g, "format", "fit plain numbers into a picture, in a locale's presentation",
                       o, [](auto *sub, auto &x) { return CheckAsField(sub, 'n', x); });
    s->add_option("PICTURE", o->format, "numeric picture, e.g. 'ZZZ,ZZ9.99-'")->required();
    s->add_option("VALUE", o->texts, "plain numbers, e.g. -1234.5")->required();
    AddLocaleOption(s, o->locale);
    s = Leaf(g, "deformat", "the plain number a formatted number shows", o, NumDeformat);
    s->add_option("TEXT", o->texts, "formatted numbers")->required();
    AddLocaleOption(s, o->locale);
    s = Leaf(g, "convert", "a canonical picture in a locale's presentation", o, NumConvert);
    s->add_option("PICTURE", o->texts, "pictures")->required();
    AddLocaleOption(s, o->locale);
    s->add_flag("-r,--reverse", o->reverse, "from the locale's presentation to the canonical picture");
    s = Leaf(g, "check", "check canonical pictures", o, NumCheck);
    s->add_option("PICTURE", o->texts, "pictures")->required();
}

void AddMask(CLI::App &app) {
    CLI::App *g = app.add_subcommand("mask", "apply and remove custom field masks");
    g->require_subcommand(1, 1);
    auto o = std::make_shared<NumberOptions>();
    CLI::App *s = Leaf(g, "apply", "apply a mask to raw texts", o,
                       [](auto *sub, auto &x) { return CheckAsField(sub, 'C', x); });
    s->add_option("MASK", o->format, "custom mask, e.g. '3,-,2,-'")->required();
    s->add_option("TEXT", o->texts, "raw texts")->required();
    s = Leaf(g, "remove", "take a mask off masked texts", o, MaskRemove);
    s->add_option("MASK", o->format, "custom mask")->required();
    s->add_option("TEXT", o->texts, "masked texts")->required();
    s = Leaf(g, "picture", "the display picture of a mask", o, MaskPicture);
    s->add_option("MASK", o->format, "custom mask")->required();
}

void AddBarcode(CLI::App &app) {
    CLI::App *g = app.add_subcommand("barcode", "check bar code data");
    g->require_subcommand(1, 1);
    auto o = std::make_shared<NumberOptions>();
    CLI::App *s = Leaf(g, "check", "check data against a bar type; print it as the type takes it",
                       o, [](auto *sub, auto &x) { return CheckAsField(sub, 'B', x); });
    s->add_option("TYPE", o->format, "bar type letter (A-Z, 1, 4)")->required();
    s->add_option("DATA", o->texts, "bar code data")->required();
}

}  // namespace

void AddNumberCommands(CLI::App &app) {
    AddNum(app);
    AddMask(app);
    AddBarcode(app);
}

}  // namespace cmnw::tool
