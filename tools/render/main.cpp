// tovra-render: runs a WAV file (or the built-in test signal) through the
// Tovra effect of either edition and writes the result, with a reverb tail.
// See RenderOptions.h for the command line, AudioFile.h for the files.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/render/AudioFile.h"
#include "tools/render/EffectHost.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/TestSignal.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kRenderError = 1;

int fail(int code, const std::string& message) {
    std::fprintf(stderr, "tovra-render: error: %s\n", message.c_str());
    return code;
}

void listParameters(const render::EffectHost& host) {
    std::printf("%s: %d parameters\n", host.effectName().c_str(), host.parameterCount());
    std::printf("  %-5s %-12s %-10s %-9s %s\n", "index", "--set name", "host name", "default",
                "display");
    for (int i = 0; i < host.parameterCount(); ++i) {
        std::printf("  %-5d %-12s %-10s %-9g %s\n", i, host.parameterKey(i).c_str(),
                    ("\"" + host.parameterName(i) + "\"").c_str(), host.parameterValue(i),
                    host.parameterDisplay(i).c_str());
    }
}

// A one-line percentage on a terminal, for renders long enough to wait for.
class Progress {
public:
    Progress(bool enabled, long long total) : enabled(enabled && total > 0), total(total) {}
    void update(long long done) {
        if (!enabled) return;
        const int percent = static_cast<int>(done * 100 / total);
        if (percent == shown) return;
        shown = percent;
        std::fprintf(stderr, "\rtovra-render: %3d%%", percent);
        std::fflush(stderr);
    }
    void finish() {
        if (enabled && shown >= 0) std::fprintf(stderr, "\r                  \r");
    }

private:
    bool enabled;
    long long total;
    int shown = -1;
};

}  // namespace

int main(int argc, char** argv) {
    render::RenderOptions options;
    std::string error;
    if (!render::parseRenderOptions(argc, argv, options, error)) return fail(kUsageError, error);
    if (options.help) {
        std::fputs(render::renderUsage(), stdout);
        return 0;
    }

    std::unique_ptr<render::EffectHost> host = render::EffectHost::create(options.edition, error);
    if (!host) return fail(kRenderError, error);
    if (options.list) {
        listParameters(*host);
        return 0;
    }

    std::vector<int> indices;
    for (const render::ParameterSetting& s : options.settings) {
        const int index = host->resolveParameter(s.key, error);
        if (index < 0) return fail(kUsageError, error);
        indices.push_back(index);
    }

    // The input: a file or the test signal.
    std::unique_ptr<render::AudioInput> input;
    if (!options.input.empty()) {
        if (render::sameFile(options.input, options.output))
            return fail(kUsageError, "OUTPUT '" + options.output +
                                         "' is the INPUT file; choose another name");
        input = render::openAudioInput(options.input, error);
        if (!input) return fail(kRenderError, error);
    } else {
        input = render::openTestSignal(options.rate > 0 ? options.rate : 44100);
    }

    int rate = options.rate > 0 ? options.rate : (input->rate > 0 ? input->rate : 44100);
    render::SampleFormat format = options.format;
    if (format == render::SampleFormat::Auto) format = input->format;

    std::unique_ptr<render::AudioOutput> output =
        render::openAudioOutput(options.output, rate, format, error);
    if (!output) return fail(kRenderError, error);

    host->prepare(static_cast<float>(rate), options.block);
    for (size_t i = 0; i < indices.size(); ++i)
        host->setParameter(indices[i], options.settings[i].value);
    host->resume();

    // Input and tail as one stream, cut into blocks of options.block frames
    // (the last may be shorter), as a host would deliver them.
    const long long tailFrames =
        static_cast<long long>(std::floor(options.tailSeconds * rate + 0.5));
    const size_t block = static_cast<size_t>(options.block);
    std::vector<float> inL(block), inR(block), outL(block), outR(block);
    float* ins[2] = {inL.data(), inR.data()};
    float* outs[2] = {outL.data(), outR.data()};

    const long long total = input->totalFrames >= 0 ? input->totalFrames + tailFrames : -1;
    Progress progress(!options.quiet && isatty(STDERR_FILENO) && total > 10LL * rate, total);

    bool inputDone = false;
    long long tailLeft = tailFrames;
    long long written = 0;
    for (;;) {
        long long n = 0;
        if (!inputDone) {
            n = input->read(inL.data(), inR.data(), static_cast<long long>(block), error);
            if (n < 0) {
                progress.finish();
                return fail(kRenderError, "'" + options.input + "': " + error);
            }
            if (n < static_cast<long long>(block)) inputDone = true;
        }
        while (n < static_cast<long long>(block) && tailLeft > 0) {
            inL[static_cast<size_t>(n)] = 0.0f;
            inR[static_cast<size_t>(n)] = 0.0f;
            ++n;
            --tailLeft;
        }
        if (n == 0) break;
        host->process(ins, outs, static_cast<int>(n));
        if (!output->write(outL.data(), outR.data(), n, error)) {
            progress.finish();
            return fail(kRenderError, "'" + options.output + "': " + error);
        }
        written += n;
        if (total > 0) progress.update(written);
    }
    progress.finish();

    if (!output->commit(error)) return fail(kRenderError, error);
    if (output->clippedSamples > 0)
        std::fprintf(stderr,
                     "tovra-render: warning: %lld samples went beyond full scale and were "
                     "limited; a float output keeps them\n",
                     output->clippedSamples);
    return 0;
}
