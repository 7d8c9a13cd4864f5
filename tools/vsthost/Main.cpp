// vsthost: a small VST 2.4 host for tests. See Commands.h for the command
// line. Global options come before the subcommand.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/vsthost/Commands.h"
// The editor subcommand needs a Windows window system; the native build has
// none.
#if defined(_WIN32) && __has_include("tools/vsthost/EditorCommand.h")
#include "tools/vsthost/EditorCommand.h"
#define VSTHOST_HAS_EDITOR 1
#endif

namespace {

using vsthost::HostSettings;

struct Command {
    const char* name;
    int (*run)(int argc, char** argv, const HostSettings& settings);
};

#ifdef VSTHOST_HAS_EDITOR
int runEditor(int argc, char** argv, const HostSettings&) {
    return vsthost::runEditorCommand(argc, argv);
}
#endif

const Command kCommands[] = {
    {"info", vsthost::runInfoCommand},
    {"render", vsthost::runRenderCommand},
    {"dispatch", vsthost::runDispatchCommand},
#ifdef VSTHOST_HAS_EDITOR
    {"editor", runEditor},
#endif
};

int usage() {
    std::fprintf(stderr, "usage: vsthost [--host-version N] [--quiet] COMMAND DLL ...\ncommands:");
    for (const Command& c : kCommands) std::fprintf(stderr, " %s", c.name);
    std::fprintf(stderr, "\n");
    return vsthost::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    HostSettings settings;
    int i = 1;
    for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
        const std::string option = argv[i];
        if (option == "--host-version" && i + 1 < argc) {
            char* end = nullptr;
            settings.version = static_cast<VstIntPtr>(std::strtoll(argv[++i], &end, 0));
            if (*end != '\0') return usage();
        } else if (option == "--quiet") {
            settings.logRequests = false;
        } else {
            return usage();
        }
    }
    if (i >= argc) return usage();
    for (const Command& c : kCommands)
        if (std::strcmp(argv[i], c.name) == 0) {
            const int status = c.run(argc - i - 1, argv + i + 1, settings);
            std::fflush(stdout);
            return status;
        }
    return usage();
}
