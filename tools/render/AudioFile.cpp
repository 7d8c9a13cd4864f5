#include "tools/render/AudioFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace render {

namespace {

constexpr long long kChunkFrames = 4096;

std::string systemError() { return std::strerror(errno); }

// The temporary output file, removed if the program is interrupted.
char gPendingPath[4096];
volatile sig_atomic_t gHasPendingPath = 0;

extern "C" void removePendingAndExit(int sig) {
    if (gHasPendingPath) unlink(gPendingPath);
    signal(sig, SIG_DFL);
    raise(sig);
}

void setPendingPath(const std::string& path) {
    gHasPendingPath = 0;
    if (path.empty() || path.size() >= sizeof gPendingPath) return;
    std::memcpy(gPendingPath, path.c_str(), path.size() + 1);
    gHasPendingPath = 1;
    static bool installed = false;
    if (!installed) {
        installed = true;
        signal(SIGINT, removePendingAndExit);
        signal(SIGTERM, removePendingAndExit);
        signal(SIGHUP, removePendingAndExit);
    }
}

void clearPendingPath() { gHasPendingPath = 0; }

std::string directoryOf(const std::string& path) {
    std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
    std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// PCM samples arrive from libsndfile as 32-bit integers with the sample in the
// most significant bits, whatever the file's bit depth.
constexpr float kFromInt32 = 1.0f / 2147483648.0f;

int bitsOf(SampleFormat format) { return format == SampleFormat::Pcm16 ? 16 : 24; }

// ---------------------------------------------------------------- inputs

class WavInput : public AudioInput {
public:
    WavInput(SNDFILE* file, int channels) : file(file), channels(channels) {}
    ~WavInput() override { sf_close(file); }

    long long read(float* left, float* right, long long frames, std::string& error) override {
        long long done = 0;
        while (done < frames) {
            long long want = std::min(frames - done, kChunkFrames);
            sf_count_t got = 0;
            if (format == SampleFormat::Float) {
                floats.resize(static_cast<size_t>(want * channels));
                got = sf_readf_float(file, floats.data(), want);
                for (sf_count_t i = 0; i < got; ++i) {
                    left[done + i] = floats[static_cast<size_t>(i * channels)];
                    right[done + i] = floats[static_cast<size_t>(i * channels + channels - 1)];
                }
            } else {
                ints.resize(static_cast<size_t>(want * channels));
                got = sf_readf_int(file, ints.data(), want);
                for (sf_count_t i = 0; i < got; ++i) {
                    left[done + i] =
                        static_cast<float>(ints[static_cast<size_t>(i * channels)]) * kFromInt32;
                    right[done + i] =
                        static_cast<float>(ints[static_cast<size_t>(i * channels + channels - 1)]) *
                        kFromInt32;
                }
            }
            if (got < 0 || sf_error(file) != SF_ERR_NO_ERROR) {
                error = std::string("read error: ") + sf_strerror(file);
                return -1;
            }
            done += got;
            if (got < want) break;
        }
        return done;
    }

private:
    SNDFILE* file;
    int channels;
    std::vector<float> floats;
    std::vector<int> ints;
};

class RawInput : public AudioInput {
public:
    explicit RawInput(std::FILE* file) : file(file) {}
    ~RawInput() override { std::fclose(file); }

    long long read(float* left, float* right, long long frames, std::string& error) override {
        long long done = 0;
        while (done < frames) {
            long long want = std::min(frames - done, kChunkFrames);
            bytes.resize(static_cast<size_t>(want * 8));
            size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
            if (std::ferror(file)) {
                error = "read error: " + systemError();
                return -1;
            }
            if (got % 8 != 0) {
                error = "raw input does not hold whole stereo frames of 32-bit floats";
                return -1;
            }
            long long frameCount = static_cast<long long>(got / 8);
            for (long long i = 0; i < frameCount; ++i) {
                left[done + i] = decode(&bytes[static_cast<size_t>(i * 8)]);
                right[done + i] = decode(&bytes[static_cast<size_t>(i * 8 + 4)]);
            }
            done += frameCount;
            if (frameCount < want) break;
        }
        return done;
    }

private:
    static float decode(const unsigned char* p) {
        uint32_t bits = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                        static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }

    std::FILE* file;
    std::vector<unsigned char> bytes;
};

// ---------------------------------------------------------------- outputs

class WavOutput : public AudioOutput {
public:
    WavOutput(SNDFILE* file, SampleFormat format) : file(file), format(format) {}
    ~WavOutput() override {
        if (file) sf_close(file);
    }

    bool write(const float* left, const float* right, long long frames,
               std::string& error) override {
        long long done = 0;
        while (done < frames) {
            long long n = std::min(frames - done, kChunkFrames);
            sf_count_t written = 0;
            if (format == SampleFormat::Float) {
                floats.resize(static_cast<size_t>(n * 2));
                for (long long i = 0; i < n; ++i) {
                    floats[static_cast<size_t>(2 * i)] = left[done + i];
                    floats[static_cast<size_t>(2 * i + 1)] = right[done + i];
                }
                written = sf_writef_float(file, floats.data(), n);
            } else {
                ints.resize(static_cast<size_t>(n * 2));
                for (long long i = 0; i < n; ++i) {
                    ints[static_cast<size_t>(2 * i)] = quantise(left[done + i]);
                    ints[static_cast<size_t>(2 * i + 1)] = quantise(right[done + i]);
                }
                written = sf_writef_int(file, ints.data(), n);
            }
            if (written != n) {
                error = std::string("write error: ") + sf_strerror(file);
                return false;
            }
            done += n;
        }
        return true;
    }

protected:
    bool close(std::string& error) override {
        sf_write_sync(file);
        int rc = sf_close(file);
        file = nullptr;
        if (rc != 0) {
            error = std::string("write error: ") + sf_error_number(rc);
            return false;
        }
        return true;
    }

private:
    // Nearest step of the file's bit depth, limited to full scale; NaN is 0.
    int quantise(float x) {
        const int bits = bitsOf(format);
        const double scale = static_cast<double>(1 << (bits - 1));
        const double top = scale - 1.0;
        double v = static_cast<double>(x) * scale;
        if (!(v == v)) v = 0.0;
        if (v > top) {
            v = top;
            ++clippedSamples;
        } else if (v < -scale) {
            v = -scale;
            ++clippedSamples;
        }
        long q = std::lround(v);
        if (q > static_cast<long>(top)) q = static_cast<long>(top);
        return static_cast<int>(static_cast<uint32_t>(q) << (32 - bits));
    }

    SNDFILE* file;
    SampleFormat format;
    std::vector<float> floats;
    std::vector<int> ints;
};

class RawOutput : public AudioOutput {
public:
    explicit RawOutput(std::FILE* file) : file(file) {}
    ~RawOutput() override {
        if (file) std::fclose(file);
    }

    bool write(const float* left, const float* right, long long frames,
               std::string& error) override {
        bytes.resize(static_cast<size_t>(std::min(frames, kChunkFrames) * 8));
        long long done = 0;
        while (done < frames) {
            long long n = std::min(frames - done, kChunkFrames);
            for (long long i = 0; i < n; ++i) {
                encode(left[done + i], &bytes[static_cast<size_t>(i * 8)]);
                encode(right[done + i], &bytes[static_cast<size_t>(i * 8 + 4)]);
            }
            if (std::fwrite(bytes.data(), 1, static_cast<size_t>(n * 8), file) !=
                static_cast<size_t>(n * 8)) {
                error = "write error: " + systemError();
                return false;
            }
            done += n;
        }
        return true;
    }

protected:
    bool close(std::string& error) override {
        bool ok = std::fflush(file) == 0 && fsync(fileno(file)) == 0;
        if (std::fclose(file) != 0) ok = false;
        file = nullptr;
        if (!ok) error = "write error: " + systemError();
        return ok;
    }

private:
    static void encode(float v, unsigned char* p) {
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        p[0] = static_cast<unsigned char>(bits);
        p[1] = static_cast<unsigned char>(bits >> 8);
        p[2] = static_cast<unsigned char>(bits >> 16);
        p[3] = static_cast<unsigned char>(bits >> 24);
    }

    std::FILE* file;
    std::vector<unsigned char> bytes;
};

// Makes the temporary file next to path; -1 on failure.
int createTemporary(const std::string& path, std::string& temporary, std::string& error) {
    std::string dir = directoryOf(path);
    std::string base = baseNameOf(path);
    if (base.empty()) {
        error = "'" + path + "' is not a file name";
        return -1;
    }
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        error = "'" + path + "' is a folder";
        return -1;
    }
    std::vector<char> name(dir.size() + base.size() + 16);
    std::snprintf(name.data(), name.size(), "%s/.%s.XXXXXX", dir.c_str(), base.c_str());
    int fd = mkstemp(name.data());
    if (fd < 0) {
        error = "cannot write in '" + dir + "': " + systemError();
        return -1;
    }
    temporary = name.data();
    setPendingPath(temporary);
    // mkstemp makes the file private; give it the permissions of a new file.
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    return fd;
}

}  // namespace

bool isRawPath(const std::string& path) {
    if (path.size() < 4) return false;
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".f32";
}

std::unique_ptr<AudioInput> openAudioInput(const std::string& path, std::string& error) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        error = "cannot read '" + path + "': " + systemError();
        return nullptr;
    }
    if (S_ISDIR(st.st_mode)) {
        error = "cannot read '" + path + "': it is a folder";
        return nullptr;
    }
    if (access(path.c_str(), R_OK) != 0) {
        error = "cannot read '" + path + "': " + systemError();
        return nullptr;
    }

    if (isRawPath(path)) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (!f) {
            error = "cannot read '" + path + "': " + systemError();
            return nullptr;
        }
        if (st.st_size % 8 != 0) {
            std::fclose(f);
            error = "'" + path + "' does not hold whole stereo frames of 32-bit floats";
            return nullptr;
        }
        auto input = std::make_unique<RawInput>(f);
        input->rate = 0;
        input->totalFrames = static_cast<long long>(st.st_size / 8);
        input->format = SampleFormat::Float;
        return input;
    }

    SF_INFO info;
    std::memset(&info, 0, sizeof info);
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        error = "cannot read '" + path + "': unsupported format (" + sf_strerror(nullptr) +
                "); WAV files of 16- or 24-bit PCM or 32-bit float are supported";
        return nullptr;
    }
    const int major = info.format & SF_FORMAT_TYPEMASK;
    const int sub = info.format & SF_FORMAT_SUBMASK;
    SampleFormat format = SampleFormat::Auto;
    if (sub == SF_FORMAT_PCM_16) format = SampleFormat::Pcm16;
    if (sub == SF_FORMAT_PCM_24) format = SampleFormat::Pcm24;
    if (sub == SF_FORMAT_FLOAT) format = SampleFormat::Float;
    if ((major != SF_FORMAT_WAV && major != SF_FORMAT_WAVEX) ||
        format == SampleFormat::Auto) {
        sf_close(file);
        error = "'" + path +
                "': unsupported format; WAV files of 16- or 24-bit PCM or 32-bit float are "
                "supported";
        return nullptr;
    }
    if (info.channels != 1 && info.channels != 2) {
        sf_close(file);
        error = "'" + path + "': unsupported format: " + std::to_string(info.channels) +
                " channels (mono or stereo only)";
        return nullptr;
    }
    if (info.samplerate <= 0) {
        sf_close(file);
        error = "'" + path + "': unsupported format: sample rate " +
                std::to_string(info.samplerate);
        return nullptr;
    }
    auto input = std::make_unique<WavInput>(file, info.channels);
    input->rate = info.samplerate;
    input->totalFrames = static_cast<long long>(info.frames);
    input->format = format;
    return input;
}

AudioOutput::~AudioOutput() {
    if (!committed && !temporaryPath.empty()) {
        unlink(temporaryPath.c_str());
        clearPendingPath();
    }
}

bool AudioOutput::commit(std::string& error) {
    if (!close(error)) return false;
    if (std::rename(temporaryPath.c_str(), finalPath.c_str()) != 0) {
        error = "cannot write '" + finalPath + "': " + systemError();
        return false;
    }
    committed = true;
    clearPendingPath();
    return true;
}

std::unique_ptr<AudioOutput> openAudioOutput(const std::string& path, int rate,
                                             SampleFormat format, std::string& error) {
    std::string temporary;
    int fd = createTemporary(path, temporary, error);
    if (fd < 0) return nullptr;

    std::unique_ptr<AudioOutput> output;
    if (isRawPath(path)) {
        std::FILE* f = fdopen(fd, "wb");
        if (!f) {
            error = "cannot write '" + path + "': " + systemError();
            close(fd);
            unlink(temporary.c_str());
            clearPendingPath();
            return nullptr;
        }
        output = std::make_unique<RawOutput>(f);
    } else {
        if (format == SampleFormat::Auto) format = SampleFormat::Float;
        SF_INFO info;
        std::memset(&info, 0, sizeof info);
        info.samplerate = rate;
        info.channels = 2;
        int sub = format == SampleFormat::Pcm16   ? SF_FORMAT_PCM_16
                  : format == SampleFormat::Pcm24 ? SF_FORMAT_PCM_24
                                                  : SF_FORMAT_FLOAT;
        info.format = SF_FORMAT_WAV | sub;
        SNDFILE* file = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
        if (!file) {
            error = "cannot write '" + path + "': " + sf_strerror(nullptr);
            close(fd);
            unlink(temporary.c_str());
            clearPendingPath();
            return nullptr;
        }
        output = std::make_unique<WavOutput>(file, format);
    }
    output->finalPath = path;
    output->temporaryPath = temporary;
    return output;
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    if (stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    // b does not exist yet: compare where it would be created with a.
    char* ra = realpath(a.c_str(), nullptr);
    if (!ra) return false;
    std::string resolvedA = ra;
    std::free(ra);
    char* rd = realpath(directoryOf(b).c_str(), nullptr);
    if (!rd) return false;
    std::string resolvedB = std::string(rd) + "/" + baseNameOf(b);
    std::free(rd);
    return resolvedA == resolvedB;
}

}  // namespace render
