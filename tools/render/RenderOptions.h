// The command line of tovra-render, parsed into one record.
//
//   tovra-render [--edition vesk|brin] [--set NAME_OR_INDEX=VALUE]...
//                [--rate HZ] [--block N] [--tail SECONDS]
//                [--format pcm16|pcm24|float] [--quiet] [INPUT] OUTPUT
//   tovra-render [--edition vesk|brin] --list
//
// Parsing checks only what the words themselves say (numbers, ranges, known
// choices); whether a parameter name exists is decided by the effect later.
#pragma once

#include <string>
#include <vector>

namespace render {

// The sample formats the tool reads and writes; Auto: keep the input's.
enum class SampleFormat { Auto, Pcm16, Pcm24, Float };

// One --set: the parameter as typed (a name such as "Decay.2" or an index)
// and its value, already a finite number.
struct ParameterSetting {
    std::string key;
    float value = 0.0f;
};

struct RenderOptions {
    std::string edition = "vesk";
    std::vector<ParameterSetting> settings;
    int rate = 0;                 // Hz; 0: the input's rate, or 44100
    int block = 512;              // frames per processReplacing call, 1..1048576
    double tailSeconds = 3.0;     // silence appended after the input, 0..3600
    SampleFormat format = SampleFormat::Auto;
    bool list = false;            // print the parameters and stop
    bool quiet = false;           // no progress display
    bool help = false;
    std::string input;            // empty: the built-in test signal
    std::string output;
};

// Fills options from argv[1..argc-1]. On a mistake returns false and sets
// error to a one-line message (without program name).
bool parseRenderOptions(int argc, const char* const* argv, RenderOptions& options,
                        std::string& error);

// The usage text printed by --help.
const char* renderUsage();

// A finite number written in full (no trailing characters); false otherwise.
bool parseNumber(const std::string& text, double& value);

}  // namespace render
