#include "tools/render/RenderOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace render {

bool parseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(begin, &end);
    if (end == begin || *end != '\0' || errno == ERANGE || !std::isfinite(v)) return false;
    value = v;
    return true;
}

namespace {

bool parseWhole(const std::string& text, long long lo, long long hi, long long& value) {
    if (text.empty()) return false;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(begin, &end, 10);
    if (end == begin || *end != '\0' || errno == ERANGE || v < lo || v > hi) return false;
    value = v;
    return true;
}

}  // namespace

const char* renderUsage() {
    return "usage: tovra-render [options] [INPUT] OUTPUT\n"
           "       tovra-render [--edition vesk|brin] --list\n"
           "\n"
           "Runs audio through the Tovra effect and writes the result.\n"
           "INPUT and OUTPUT are WAV files (16- or 24-bit PCM or 32-bit float; mono input\n"
           "feeds both channels) or, with the extension .f32, raw little-endian 32-bit\n"
           "float stereo, interleaved. Without INPUT a built-in test signal is rendered.\n"
           "\n"
           "  --edition vesk|brin     the edition (default vesk)\n"
           "  --set NAME=VALUE        set a parameter by name or index before rendering;\n"
           "                          names shared by both units take a unit suffix,\n"
           "                          e.g. Decay.2 (repeatable)\n"
           "  --rate HZ               run the effect at HZ and write HZ (default: the\n"
           "                          input's rate, 44100 otherwise); no resampling\n"
           "  --block N               frames per processing call (default 512)\n"
           "  --tail SECONDS          silence appended to let the reverb ring (default 3)\n"
           "  --format pcm16|pcm24|float\n"
           "                          WAV sample format of OUTPUT (default: the input's;\n"
           "                          24-bit for the test signal, float for raw input)\n"
           "  --list                  print the edition's parameters and defaults\n"
           "  --quiet                 no progress display\n"
           "  --help                  this text\n";
}

bool parseRenderOptions(int argc, const char* const* argv, RenderOptions& options,
                        std::string& error) {
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        std::string value;
        bool hasInlineValue = false;
        // --option=value is the same as --option value.
        if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
            std::string::size_type eq = word.find('=');
            if (eq != std::string::npos) {
                value = word.substr(eq + 1);
                word = word.substr(0, eq);
                hasInlineValue = true;
            }
        }
        auto takeValue = [&](std::string& out) {
            if (hasInlineValue) {
                out = value;
                return true;
            }
            if (i + 1 >= argc) {
                error = "option " + word + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };

        if (word == "--help" || word == "-h") {
            options.help = true;
        } else if (word == "--list") {
            options.list = true;
        } else if (word == "--quiet" || word == "-q") {
            options.quiet = true;
        } else if (word == "--edition") {
            std::string v;
            if (!takeValue(v)) return false;
            if (v != "vesk" && v != "brin") {
                error = "unknown edition '" + v + "' (use vesk or brin)";
                return false;
            }
            options.edition = v;
        } else if (word == "--set") {
            std::string v;
            if (!takeValue(v)) return false;
            std::string::size_type eq = v.rfind('=');
            if (eq == std::string::npos || eq == 0) {
                error = "--set needs NAME=VALUE, got '" + v + "'";
                return false;
            }
            ParameterSetting s;
            s.key = v.substr(0, eq);
            double number = 0.0;
            if (!parseNumber(v.substr(eq + 1), number)) {
                error = "value of " + s.key + " is not a number: '" + v.substr(eq + 1) + "'";
                return false;
            }
            s.value = static_cast<float>(number);
            options.settings.push_back(s);
        } else if (word == "--rate") {
            std::string v;
            long long n = 0;
            if (!takeValue(v)) return false;
            if (!parseWhole(v, 1, 1000000, n)) {
                error = "--rate needs a whole number of Hz from 1 to 1000000, got '" + v + "'";
                return false;
            }
            options.rate = static_cast<int>(n);
        } else if (word == "--block") {
            std::string v;
            long long n = 0;
            if (!takeValue(v)) return false;
            if (!parseWhole(v, 1, 1048576, n)) {
                error = "--block needs a whole number of frames from 1 to 1048576, got '" + v +
                        "'";
                return false;
            }
            options.block = static_cast<int>(n);
        } else if (word == "--tail") {
            std::string v;
            double s = 0.0;
            if (!takeValue(v)) return false;
            if (!parseNumber(v, s) || s < 0.0 || s > 3600.0) {
                error = "--tail needs seconds from 0 to 3600, got '" + v + "'";
                return false;
            }
            options.tailSeconds = s;
        } else if (word == "--format") {
            std::string v;
            if (!takeValue(v)) return false;
            if (v == "pcm16") {
                options.format = SampleFormat::Pcm16;
            } else if (v == "pcm24") {
                options.format = SampleFormat::Pcm24;
            } else if (v == "float") {
                options.format = SampleFormat::Float;
            } else {
                error = "unknown format '" + v + "' (use pcm16, pcm24 or float)";
                return false;
            }
        } else if (word.size() > 1 && word[0] == '-' && word != "-") {
            error = "unknown option " + word;
            return false;
        } else {
            files.push_back(word);
        }
    }

    if (options.help || options.list) {
        if (!files.empty() && options.list) {
            error = "--list takes no files";
            return false;
        }
        return true;
    }
    if (files.empty()) {
        error = "missing OUTPUT file (see --help)";
        return false;
    }
    if (files.size() > 2) {
        error = "too many files: give at most INPUT and OUTPUT";
        return false;
    }
    if (files.size() == 2) options.input = files[0];
    options.output = files.back();
    return true;
}

}  // namespace render
