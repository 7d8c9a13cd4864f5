// vsthost info DLL: the effect's identity as a host sees it, then every
// parameter's name, display and value and the program name.
//
//   magic: 0x56737450
//   effect-name: ...        (effGetEffectName)
//   vendor: ...             (effGetVendorString)
//   product: ...            (effGetProductString)
//   vendor-version: N       vst-version: N
//   unique-id: 0xXXXXXXXX 'ABCD'
//   flags: 0xXX             inputs: N   outputs: N   programs: N   parameters: N
//   param.I.name: ...       param.I.display: ...     param.I.value: F
//   program-name: ...
//   close: 1
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "host/Opcodes.h"
#include "tools/vsthost/Commands.h"

namespace vsthost {
namespace {

// Generously larger than any text the protocol allows, so an effect that
// writes too much shows up in the text instead of corrupting memory.
constexpr size_t kTextBuffer = 256;

void printText(PluginHost& host, const char* key, VstInt32 opcode, VstInt32 index = 0) {
    char text[kTextBuffer];
    std::memset(text, 0, sizeof text);
    const VstIntPtr result = host.dispatch(opcode, index, 0, text);
    std::printf("%s: %s\n", key, printable(text, sizeof text).c_str());
    (void)result;
}

}  // namespace

int runInfoCommand(int argc, char** argv, const HostSettings& settings) {
    if (argc != 1) {
        std::fprintf(stderr, "usage: vsthost info DLL\n");
        return kExitUsage;
    }
    PluginHost host(settings);
    if (!host.load(argv[0])) return kExitFailed;
    AEffect* e = host.create();
    if (!e) return kExitNoEffect;
    host.dispatch(effOpen);

    std::printf("magic: 0x%08" PRIX32 "\n", static_cast<uint32_t>(e->magic));
    printText(host, "effect-name", effGetEffectName);
    printText(host, "vendor", effGetVendorString);
    printText(host, "product", effGetProductString);
    std::printf("vendor-version: %" PRIdPTR "\n", host.dispatch(effGetVendorVersion));
    std::printf("vst-version: %" PRIdPTR "\n", host.dispatch(effGetVstVersion));
    std::printf("unique-id: 0x%08" PRIX32 " %s\n", static_cast<uint32_t>(e->uniqueID),
                fourCharText(e->uniqueID).c_str());
    std::printf("flags: 0x%" PRIX32 "\n", static_cast<uint32_t>(e->flags));
    std::printf("inputs: %" PRId32 "\n", e->numInputs);
    std::printf("outputs: %" PRId32 "\n", e->numOutputs);
    std::printf("programs: %" PRId32 "\n", e->numPrograms);
    std::printf("parameters: %" PRId32 "\n", e->numParams);
    std::printf("initial-delay: %" PRId32 "\n", e->initialDelay);
    std::printf("version: %" PRId32 "\n", e->version);
    for (VstInt32 i = 0; i < e->numParams; ++i) {
        char key[32];
        std::snprintf(key, sizeof key, "param.%" PRId32 ".name", i);
        printText(host, key, effGetParamName, i);
        std::snprintf(key, sizeof key, "param.%" PRId32 ".display", i);
        printText(host, key, effGetParamDisplay, i);
        std::snprintf(key, sizeof key, "param.%" PRId32 ".label", i);
        printText(host, key, effGetParamLabel, i);
        std::printf("param.%" PRId32 ".value: %.9g\n", i,
                    static_cast<double>(e->getParameter(e, i)));
    }
    printText(host, "program-name", effGetProgramName);
    std::printf("program: %" PRIdPTR "\n", host.dispatch(effGetProgram));
    std::printf("close: %" PRIdPTR "\n", host.close());
    return kExitOk;
}

}  // namespace vsthost
