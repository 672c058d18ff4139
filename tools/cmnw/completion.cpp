// The bash completion script of cmnw, written from the command table itself
// so that it names exactly the commands and options the tool accepts.
#include "completion.h"

#include <string>

namespace cmnw::tool {
namespace {

bool Visible(const CLI::App *sub) { return !sub->get_group().empty(); }

// Every visible option name of app, long and short, with its dashes.
std::string OptionWords(const CLI::App &app) {
    std::string words;
    auto add = [&](const std::string &w) { words += (words.empty() ? "" : " ") + w; };
    for (const CLI::Option *o : app.get_options()) {
        if (o->get_group().empty() || o->get_positional()) continue;
        for (const std::string &s : o->get_snames()) add("-" + s);
        for (const std::string &l : o->get_lnames()) add("--" + l);
    }
    return words;
}

void AddCases(const CLI::App &app, const std::string &path, std::string &subs, std::string &opts) {
    std::string names;
    for (const CLI::App *sub : app.get_subcommands(Visible))
        names += (names.empty() ? "" : " ") + sub->get_name();
    if (!names.empty()) subs += "        '" + path + "') echo '" + names + "' ;;\n";
    opts += "        '" + path + "') echo '" + OptionWords(app) + "' ;;\n";
    for (const CLI::App *sub : app.get_subcommands(Visible))
        AddCases(*sub, path.empty() ? sub->get_name() : path + " " + sub->get_name(), subs, opts);
}

}  // namespace

std::string BashCompletion(const CLI::App &app) {
    std::string subs, opts;
    AddCases(app, "", subs, opts);
    return "# bash completion for cmnw (written by cmnw --completion bash)\n"
           "_cmnw_subcommands() {\n    case $1 in\n" + subs + "    esac\n}\n"
           "_cmnw_options() {\n    case $1 in\n" + opts + "    esac\n}\n"
           "_cmnw() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} path='' word i\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        word=${COMP_WORDS[i]}\n"
           "        case \" $(_cmnw_subcommands \"$path\") \" in\n"
           "            *\" $word \"*) path=${path:+$path }$word ;;\n"
           "        esac\n"
           "    done\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$(_cmnw_options \"$path\")\" -- \"$cur\"))\n"
           "    else\n"
           "        COMPREPLY=($(compgen -W \"$(_cmnw_subcommands \"$path\")\" -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "complete -o default -F _cmnw cmnw\n";
}

}  // namespace cmnw::tool
