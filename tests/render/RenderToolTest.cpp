// tovra-render: its command line, its parameter names, and the program
// itself run on real files: every WAV format in and out, the test signal,
// and the errors that must stop it without leaving a partial file behind.
#include <dirent.h>
#include <sndfile.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tools/render/EffectHost.h"
#include "tools/render/RenderOptions.h"

namespace {

using render::RenderOptions;

bool parse(std::vector<const char*> words, RenderOptions& options, std::string& error) {
    words.insert(words.begin(), "tovra-render");
    return render::parseRenderOptions(static_cast<int>(words.size()), words.data(), options,
                                      error);
}

TEST(RenderOptions, AcceptsTheDocumentedForms) {
    RenderOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--edition", "brin", "--set", "Decay=0.25", "--set=3=1", "--rate=48000",
                       "--block", "64", "--tail", "0.5", "--format", "pcm16", "in.wav", "out.wav"},
                      o, error))
        << error;
    EXPECT_EQ(o.edition, "brin");
    ASSERT_EQ(o.settings.size(), 2u);
    EXPECT_EQ(o.settings[0].key, "Decay");
    EXPECT_EQ(o.settings[0].value, 0.25f);
    EXPECT_EQ(o.settings[1].key, "3");
    EXPECT_EQ(o.rate, 48000);
    EXPECT_EQ(o.block, 64);
    EXPECT_EQ(o.tailSeconds, 0.5);
    EXPECT_EQ(o.format, render::SampleFormat::Pcm16);
    EXPECT_EQ(o.input, "in.wav");
    EXPECT_EQ(o.output, "out.wav");

    RenderOptions defaults;
    ASSERT_TRUE(parse({"out.wav"}, defaults, error));
    EXPECT_EQ(defaults.edition, "vesk");
    EXPECT_TRUE(defaults.input.empty());
    EXPECT_EQ(defaults.tailSeconds, 3.0);
    EXPECT_EQ(defaults.block, 512);
}

TEST(RenderOptions, RejectsMistakesWithAMessage) {
    const std::vector<std::vector<const char*>> mistakes = {
        {},                                     // no output
        {"a.wav", "b.wav", "c.wav"},            // too many files
        {"--edition", "other", "o.wav"},        // unknown edition
        {"--set", "Decay=abc", "o.wav"},        // not a number
        {"--set", "Decay=", "o.wav"},           // no number
        {"--set", "Decay=nan", "o.wav"},        // not a finite number
        {"--set", "Decay=0.5x", "o.wav"},       // trailing characters
        {"--set", "=0.5", "o.wav"},             // no name
        {"--set", "Decay", "o.wav"},            // no value
        {"--rate", "0", "o.wav"},               // out of range
        {"--rate", "44100.5", "o.wav"},         // not whole
        {"--block", "0", "o.wav"},              //
        {"--tail", "-1", "o.wav"},              //
        {"--format", "pcm8", "o.wav"},          //
        {"--bogus", "o.wav"},                   // unknown option
        {"o.wav", "--rate"},                    // missing value
    };
    for (const auto& words : mistakes) {
        RenderOptions o;
        std::string error;
        std::string line;
        for (const char* w : words) line += std::string(w) + " ";
        EXPECT_FALSE(parse(words, o, error)) << line;
        EXPECT_FALSE(error.empty()) << line;
        EXPECT_EQ(error.find('\n'), std::string::npos) << line;
    }
}

TEST(RenderParameters, NamesAsHostsShowThemWithUnitSuffixes) {
    std::string error;
    auto vesk = render::EffectHost::create("vesk", error);
    auto brin = render::EffectHost::create("brin", error);
    ASSERT_TRUE(vesk && brin);
    const struct {
        const render::EffectHost& host;
        const char* key;
        int index;
    } cases[] = {
        {*vesk, "First Lv", 0}, {*vesk, "firstlv", 0},  {*vesk, "first_lv", 0},
        {*vesk, "Decay.1", 2},  {*vesk, "Decay.2", 7},  {*vesk, "HIGHPASS.2", 9},
        {*vesk, "Pan 2", 11},   {*vesk, "13", 13},      {*vesk, "Mix", 13},
        {*vesk, "Mix.1", 13},   {*brin, "Decay", 1},    {*brin, "Level", 4},
        {*brin, "5", 5},        {*vesk, "Decay", -1},   {*vesk, "Decay.3", -1},
        {*vesk, "Decay.0", -1}, {*vesk, "14", -1},      {*brin, "6", -1},
        {*brin, "Pan 1", -1},   {*vesk, "Nothing", -1}, {*vesk, "", -1},
    };
    for (const auto& c : cases) {
        std::string message;
        EXPECT_EQ(c.host.resolveParameter(c.key, message), c.index) << c.key;
        EXPECT_EQ(message.empty(), c.index >= 0) << c.key << ": " << message;
    }
    EXPECT_EQ(vesk->parameterKey(2), "Decay.1");
    EXPECT_EQ(vesk->parameterKey(13), "Mix");
    EXPECT_EQ(brin->parameterKey(1), "Decay");
}

// ------------------------------------------------------- the program itself

struct ToolResult {
    int status;
    std::string errors;
};

class RenderTool : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tovra-render-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    std::string path(const std::string& name) const { return dir + "/" + name; }

    ToolResult run(const std::string& arguments) const {
        const std::string errFile = path("stderr.txt");
        const std::string cmd = std::string("'") + TOVRA_RENDER_TOOL + "' --quiet " + arguments +
                                " 2>'" + errFile + "' >/dev/null";
        const int rc = std::system(cmd.c_str());
        std::ifstream in(errFile);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::remove(errFile.c_str());
        return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, text};
    }

    // The names in the folder, leftovers of an interrupted write included.
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        DIR* d = opendir(dir.c_str());
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n != "." && n != "..") names.push_back(n);
        }
        closedir(d);
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string dir;
};

struct Wav {
    int rate = 0, channels = 0, format = 0;
    std::vector<int> ints;      // PCM samples, left-justified 32-bit
    std::vector<float> floats;  // float samples
    long long frames() const {
        return static_cast<long long>((ints.empty() ? floats.size() : ints.size()) /
                                      static_cast<size_t>(channels));
    }
};

Wav readWav(const std::string& p) {
    Wav w;
    SF_INFO info{};
    SNDFILE* f = sf_open(p.c_str(), SFM_READ, &info);
    if (!f) return w;
    w.rate = info.samplerate;
    w.channels = info.channels;
    w.format = info.format;
    const size_t n = static_cast<size_t>(info.frames * info.channels);
    if ((info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_FLOAT) {
        w.floats.resize(n);
        sf_readf_float(f, w.floats.data(), info.frames);
    } else {
        w.ints.resize(n);
        sf_readf_int(f, w.ints.data(), info.frames);
    }
    sf_close(f);
    return w;
}

void writeWav(const std::string& p, int format, int channels, const std::vector<int>& ints,
              const std::vector<float>& floats, int rate = 48000) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* f = sf_open(p.c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    if (!floats.empty())
        sf_writef_float(f, floats.data(), static_cast<sf_count_t>(floats.size()) / channels);
    else
        sf_writef_int(f, ints.data(), static_cast<sf_count_t>(ints.size()) / channels);
    sf_close(f);
}

// Every PCM step of the depth, full scale included, at varied positions.
std::vector<int> pcmRamp(int bits, size_t count) {
    std::vector<int> v(count);
    const long long top = (1LL << (bits - 1)) - 1;
    for (size_t i = 0; i < count; ++i) {
        long long q = static_cast<long long>((i * 2654435761u) % (2 * top + 2)) - top - 1;
        if (i == 0) q = top;
        if (i == 1) q = -top - 1;
        v[i] = static_cast<int>(static_cast<uint32_t>(q) << (32 - bits));
    }
    return v;
}

// With Mix at 0 the effect gives the dry input exactly, so a file comes out
// as it went in: same format, rate and samples (mono on both channels).
TEST_F(RenderTool, EveryFormatRoundTripsThroughTheDryPath) {
    const struct {
        const char* label;
        int format;
        int channels;
        int bits;  // 0: float
    } cases[] = {
        {"16-bit", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 16},
        {"24-bit", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, 24},
        {"float", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 0},
        {"mono 16-bit", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 16},
        {"mono float", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const size_t samples = 6000 * static_cast<size_t>(c.channels);
        std::vector<int> ints;
        std::vector<float> floats;
        if (c.bits) {
            ints = pcmRamp(c.bits, samples);
        } else {
            for (size_t i = 0; i < samples; ++i)
                floats.push_back(static_cast<float>(static_cast<int>(i % 401) - 200) / 150.0f);
        }
        writeWav(path("in.wav"), c.format, c.channels, ints, floats);
        const ToolResult r = run("--set Mix=0 --tail 0 '" + path("in.wav") + "' '" + path("out.wav") + "'");
        ASSERT_EQ(r.status, 0) << r.errors;
        const Wav out = readWav(path("out.wav"));
        EXPECT_EQ(out.rate, 48000);
        EXPECT_EQ(out.channels, 2);
        EXPECT_EQ(out.format, c.format);
        ASSERT_EQ(out.frames(), 6000);
        for (size_t i = 0; i < 6000; ++i) {
            for (int ch = 0; ch < 2; ++ch) {
                const size_t from = i * static_cast<size_t>(c.channels) +
                                    static_cast<size_t>(c.channels == 2 ? ch : 0);
                if (c.bits) {
                    ASSERT_EQ(out.ints[2 * i + static_cast<size_t>(ch)], ints[from]) << i;
                } else {
                    ASSERT_EQ(out.floats[2 * i + static_cast<size_t>(ch)], floats[from]) << i;
                }
            }
        }
        // The reverb itself, with its tail appended.
        const ToolResult wet = run("--tail 0.5 '" + path("in.wav") + "' '" + path("wet.wav") + "'");
        ASSERT_EQ(wet.status, 0) << wet.errors;
        EXPECT_EQ(readWav(path("wet.wav")).frames(), 6000 + 24000);
    }
}

TEST_F(RenderTool, TestSignalAndFormatChoice) {
    ToolResult r = run("'" + path("signal.wav") + "'");
    ASSERT_EQ(r.status, 0) << r.errors;
    Wav w = readWav(path("signal.wav"));
    EXPECT_EQ(w.rate, 44100);
    EXPECT_EQ(w.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
    EXPECT_EQ(w.frames(), 7 * 44100);  // 4 s of signal, 3 s of tail

    r = run("--edition brin --rate 32000 --tail 1 --format float '" + path("brin.wav") + "'");
    ASSERT_EQ(r.status, 0) << r.errors;
    w = readWav(path("brin.wav"));
    EXPECT_EQ(w.rate, 32000);
    EXPECT_EQ(w.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_EQ(w.frames(), 5 * 32000);

    // The same command renders the same bytes.
    ASSERT_EQ(run("--tail 0 '" + path("a.f32") + "'").status, 0);
    ASSERT_EQ(run("--tail 0 '" + path("b.f32") + "'").status, 0);
    EXPECT_EQ(std::system(("cmp -s '" + path("a.f32") + "' '" + path("b.f32") + "'").c_str()), 0);
    struct stat st;
    ASSERT_EQ(stat(path("a.f32").c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 4 * 44100 * 8);
}

// Each error: a non-zero exit, one line that says what went wrong, and no
// output file (an existing one stays as it was), nor a temporary one.
TEST_F(RenderTool, ErrorsStopWithoutTouchingTheOutput) {
    writeWav(path("in.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, pcmRamp(16, 2000), {});
    writeWav(path("eight.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, pcmRamp(8, 1000), {});
    writeWav(path("three.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 3, pcmRamp(16, 3000), {});
    writeWav(path("sound.aiff"), SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 2, pcmRamp(16, 2000), {});
    { std::ofstream(path("text.wav")) << "not a sound file\n"; }
    { std::ofstream(path("odd.f32")) << "12345"; }
    symlink(path("in.wav").c_str(), path("link.wav").c_str());
    { std::ofstream(path("keep.wav")) << "previous result"; }

    const struct {
        const char* label;
        std::string arguments;
        const char* says;
    } cases[] = {
        {"missing input", "'" + path("none.wav") + "' '" + path("keep.wav") + "'", "cannot read"},
        {"folder as input", "'" + dir + "' '" + path("keep.wav") + "'", "folder"},
        {"not a sound file", "'" + path("text.wav") + "' '" + path("keep.wav") + "'",
         "unsupported format"},
        {"8-bit WAV", "'" + path("eight.wav") + "' '" + path("keep.wav") + "'",
         "unsupported format"},
        {"three channels", "'" + path("three.wav") + "' '" + path("keep.wav") + "'",
         "channels"},
        {"AIFF", "'" + path("sound.aiff") + "' '" + path("keep.wav") + "'", "unsupported format"},
        {"raw of broken frames", "'" + path("odd.f32") + "' '" + path("keep.wav") + "'",
         "whole stereo frames"},
        {"unknown parameter", "--set Size=1 '" + path("in.wav") + "' '" + path("keep.wav") + "'",
         "unknown parameter"},
        {"ambiguous name", "--set Decay=1 '" + path("in.wav") + "' '" + path("keep.wav") + "'",
         "Decay.2"},
        {"index beyond the table",
         "--edition brin --set 6=1 '" + path("in.wav") + "' '" + path("keep.wav") + "'",
         "unknown parameter"},
        {"value not a number",
         "--set Mix=half '" + path("in.wav") + "' '" + path("keep.wav") + "'", "not a number"},
        {"output is the input", "'" + path("in.wav") + "' '" + path("in.wav") + "'",
         "is the INPUT"},
        {"output is the input by another path",
         "'" + path("in.wav") + "' '" + dir + "/./../" + dir.substr(dir.rfind('/') + 1) +
             "/in.wav'",
         "is the INPUT"},
        {"output is a link to the input", "'" + path("in.wav") + "' '" + path("link.wav") + "'",
         "is the INPUT"},
        {"output in a missing folder",
         "'" + path("in.wav") + "' '" + path("no/such/out.wav") + "'", "cannot write"},
    };
    const std::vector<std::string> before = files();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const ToolResult r = run(c.arguments);
        EXPECT_NE(r.status, 0);
        EXPECT_NE(r.errors.find("tovra-render: error: "), std::string::npos) << r.errors;
        EXPECT_NE(r.errors.find(c.says), std::string::npos) << r.errors;
        EXPECT_EQ(std::count(r.errors.begin(), r.errors.end(), '\n'), 1) << r.errors;
        EXPECT_EQ(files(), before);
        std::ifstream keep(path("keep.wav"));
        std::string content;
        std::getline(keep, content);
        EXPECT_EQ(content, "previous result");
    }
    const Wav in = readWav(path("in.wav"));
    EXPECT_EQ(in.frames(), 1000);
}

// Interrupted half way, the tool leaves the old output as it was and no
// temporary file.
TEST_F(RenderTool, AnInterruptedRenderLeavesNoPartialFile) {
    { std::ofstream(path("out.wav")) << "previous result"; }
    const std::vector<std::string> before = files();
    const std::string out = path("out.wav");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        execl(TOVRA_RENDER_TOOL, TOVRA_RENDER_TOOL, "--quiet", "--tail", "3000", out.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    // Wait until it is writing (its temporary file exists), then stop it.
    for (int i = 0; i < 500 && files().size() == before.size(); ++i) usleep(10000);
    EXPECT_GT(files().size(), before.size()) << "the tool never started writing";
    kill(child, SIGINT);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(files(), before);
    std::ifstream keep(out);
    std::string content;
    std::getline(keep, content);
    EXPECT_EQ(content, "previous result");
}

}  // namespace
