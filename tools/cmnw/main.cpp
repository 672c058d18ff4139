// cmnw: the library's services from the shell.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cmnw32.h"

namespace {

int Usage(FILE *out) {
    std::fputs(
        "usage: cmnw <command> [arguments]\n"
        "\n"
        "commands:\n"
        "  version          print the library version record\n"
        "  message N...     print the text of message number N\n"
        "  trace TEXT...    write a line to the trace log and print the trace file name\n",
        out);
    return out == stdout ? 0 : 2;
}

int Version() {
    const UTLVersionRec *v = UTLLibVersion();
    std::printf("CMNW32 %s (stamp 0x%08X, built %s %s)\n", v->version,
                static_cast<unsigned>(v->stamp), v->date, v->time);
    return 0;
}

int Message(int argc, char **argv) {
    if (argc < 1) return Usage(stderr);
    for (int i = 0; i < argc; ++i) {
        char *end = nullptr;
        long number = std::strtol(argv[i], &end, 10);
        if (end == argv[i] || *end != '\0') {
            std::fprintf(stderr, "cmnw message: not a number: %s\n", argv[i]);
            return 2;
        }
        std::printf("%ld: %s\n", number, UTLErrorMsg(static_cast<int32_t>(number)));
    }
    return 0;
}

int Trace(int argc, char **argv) {
    for (int i = 0; i < argc; ++i) {
        if (UTLLogTrace("%s", argv[i]) == nullptr) {
            std::fprintf(stderr, "cmnw trace: cannot open the trace file %s\n", UTLTraceName());
            return 1;
        }
    }
    std::printf("%s\n", UTLTraceName());
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) return Usage(stderr);
    const char *command = argv[1];
    if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0) return Usage(stdout);
    if (std::strcmp(command, "version") == 0 || std::strcmp(command, "--version") == 0) return Version();
    if (std::strcmp(command, "message") == 0) return Message(argc - 2, argv + 2);
    if (std::strcmp(command, "trace") == 0) return Trace(argc - 2, argv + 2);
    std::fprintf(stderr, "cmnw: unknown command '%s' (see cmnw --help)\n", command);
    return 2;
}
