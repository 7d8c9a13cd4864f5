// vsthost render DLL --in FILE --out FILE [--rate R] [--block N] [--in-place]
//                    [--set INDEX=VALUE]...
//
// Runs raw audio through the effect like a host: effOpen, effSetSampleRate
// (R, default 44100), effSetBlockSize (N, default 512), the --set values in
// order through the record's setParameter, effMainsChanged 1, then
// processReplacing in blocks of N frames (the last one shorter), then
// effMainsChanged 0 and effClose. Files are little-endian 32-bit float
// stereo, interleaved (left, right, left, ...). --in-place hands the effect
// the same buffers for input and output.
//
//   frames: F     blocks: B     close: 1
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "host/Opcodes.h"
#include "tools/vsthost/Commands.h"

namespace vsthost {
namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: vsthost render DLL --in FILE --out FILE [--rate R] [--block N]"
                 " [--in-place] [--set INDEX=VALUE]...\n");
    return kExitUsage;
}

bool readFile(const std::string& path, std::vector<float>& samples) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::vector<char> bytes;
    char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    if (bytes.size() % (2 * sizeof(float)) != 0) return false;
    samples.resize(bytes.size() / sizeof(float));
    if (!bytes.empty()) std::memcpy(samples.data(), bytes.data(), bytes.size());
    return true;
}

bool writeFile(const std::string& path, const std::vector<float>& samples) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const size_t written = samples.empty() ? 0 : std::fwrite(samples.data(), sizeof(float), samples.size(), f);
    return std::fclose(f) == 0 && written == samples.size();
}

bool parseNumber(const char* text, double& out) {
    char* end = nullptr;
    out = std::strtod(text, &end);
    return end != text && *end == '\0';
}

}  // namespace

int runRenderCommand(int argc, char** argv, const HostSettings& settings) {
    std::string dllPath, inPath, outPath;
    double rate = 44100.0, block = 512.0;
    bool inPlace = false;
    std::vector<std::pair<VstInt32, float>> sets;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--in" && hasValue) {
            inPath = argv[++i];
        } else if (arg == "--out" && hasValue) {
            outPath = argv[++i];
        } else if (arg == "--rate" && hasValue) {
            if (!parseNumber(argv[++i], rate) || !(rate > 0.0)) return usage();
        } else if (arg == "--block" && hasValue) {
            if (!parseNumber(argv[++i], block) || block < 1.0 || block > 1048576.0) return usage();
        } else if (arg == "--in-place") {
            inPlace = true;
        } else if (arg == "--set" && hasValue) {
            const std::string assignment = argv[++i];
            const size_t eq = assignment.find('=');
            double index, value;
            if (eq == std::string::npos || !parseNumber(assignment.substr(0, eq).c_str(), index) ||
                !parseNumber(assignment.substr(eq + 1).c_str(), value))
                return usage();
            sets.emplace_back(static_cast<VstInt32>(index), static_cast<float>(value));
        } else if (dllPath.empty() && arg.rfind("--", 0) != 0) {
            dllPath = arg;
        } else {
            return usage();
        }
    }
    if (dllPath.empty() || inPath.empty() || outPath.empty()) return usage();

    std::vector<float> input;
    if (!readFile(inPath, input)) {
        std::printf("error: cannot read %s as float32 stereo\n", inPath.c_str());
        return kExitFailed;
    }
    const size_t frames = input.size() / 2;
    const VstInt32 blockFrames = static_cast<VstInt32>(block);

    PluginHost host(settings);
    if (!host.load(dllPath)) return kExitFailed;
    AEffect* e = host.create();
    if (!e) return kExitNoEffect;
    host.dispatch(effOpen);
    host.setSampleRate(static_cast<float>(rate));
    host.setBlockSize(blockFrames);
    for (const auto& s : sets) e->setParameter(e, s.first, s.second);
    host.dispatch(effMainsChanged, 0, 1);

    std::vector<float> inL(blockFrames), inR(blockFrames), outL(blockFrames), outR(blockFrames);
    std::vector<float> output(input.size());
    float* inputs[2] = {inL.data(), inR.data()};
    float* outputs[2] = {outL.data(), outR.data()};
    if (inPlace) {
        outputs[0] = inputs[0];
        outputs[1] = inputs[1];
    }
    size_t blocks = 0;
    for (size_t start = 0; start < frames; start += static_cast<size_t>(blockFrames)) {
        const size_t n = std::min(frames - start, static_cast<size_t>(blockFrames));
        for (size_t i = 0; i < n; ++i) {
            inL[i] = input[2 * (start + i)];
            inR[i] = input[2 * (start + i) + 1];
        }
        e->processReplacing(e, inputs, outputs, static_cast<VstInt32>(n));
        for (size_t i = 0; i < n; ++i) {
            output[2 * (start + i)] = outputs[0][i];
            output[2 * (start + i) + 1] = outputs[1][i];
        }
        ++blocks;
    }
    host.dispatch(effMainsChanged, 0, 0);
    std::printf("frames: %zu\n", frames);
    std::printf("blocks: %zu\n", blocks);
    std::printf("close: %" PRIdPTR "\n", host.close());

    if (!writeFile(outPath, output)) {
        std::printf("error: cannot write %s\n", outPath.c_str());
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace vsthost
