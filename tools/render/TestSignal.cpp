#include "tools/render/TestSignal.h"

#include <cstdint>

#include "dsp/DetMath.h"

namespace render {

namespace {

constexpr double kPi = 3.14159265358979323846;

// xorshift32: a fixed, portable sequence.
struct NoiseSource {
    uint32_t state = 0x1234567u;
    // Uniform in -1..1.
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state) / 2147483648.0 - 1.0;
    }
};

// 0 before start, rising over fade seconds, 1, falling over fade seconds
// to 0 at end.
double envelope(double t, double start, double end, double fade) {
    if (t < start || t >= end) return 0.0;
    if (t < start + fade) return (t - start) / fade;
    if (t > end - fade) return (end - t) / fade;
    return 1.0;
}

class TestSignalInput : public AudioInput {
public:
    explicit TestSignalInput(int rate) {
        makeTestSignal(rate, left, right);
        this->rate = rate;
        totalFrames = static_cast<long long>(left.size());
        format = SampleFormat::Pcm24;
    }

    long long read(float* l, float* r, long long frames, std::string&) override {
        long long n = 0;
        while (n < frames && position < left.size()) {
            l[n] = left[position];
            r[n] = right[position];
            ++n;
            ++position;
        }
        return n;
    }

private:
    std::vector<float> left, right;
    size_t position = 0;
};

}  // namespace

void makeTestSignal(int rate, std::vector<float>& left, std::vector<float>& right) {
    const double fs = static_cast<double>(rate);
    const long long frames = static_cast<long long>(4.0 * fs);
    left.assign(static_cast<size_t>(frames), 0.0f);
    right.assign(static_cast<size_t>(frames), 0.0f);

    // Clicks: single-sample impulses.
    const struct {
        double time;
        float left, right;
    } clicks[] = {{0.0, 0.5f, 0.5f}, {0.25, 0.5f, 0.0f}, {0.5, 0.0f, 0.5f}, {0.75, 0.5f, 0.5f}};
    for (const auto& c : clicks) {
        const long long i = static_cast<long long>(c.time * fs);
        if (i < frames) {
            left[static_cast<size_t>(i)] = c.left;
            right[static_cast<size_t>(i)] = c.right;
        }
    }

    NoiseSource noise;
    const double chord[] = {220.0, 261.6255653, 329.6275569, 440.0};
    for (long long i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / fs;
        double l = 0.0, r = 0.0;
        const double burst = envelope(t, 1.0, 1.5, 0.005);
        if (burst > 0.0) {
            l += 0.3 * burst * noise.next();
            r += 0.3 * burst * noise.next();
        }
        double swell = envelope(t, 2.0, 3.5, 0.01);
        if (swell > 0.0) {
            // A gentle fall after the attack, to silence at 3.5 s.
            swell *= (3.5 - t) / 1.5;
            for (int k = 0; k < 4; ++k) {
                const double s = detmath::sin(2.0 * kPi * chord[k] * t);
                // The lower notes lean left, the upper right.
                l += 0.12 * swell * s * (1.0 - 0.2 * k);
                r += 0.12 * swell * s * (0.4 + 0.2 * k);
            }
        }
        left[static_cast<size_t>(i)] += static_cast<float>(l);
        right[static_cast<size_t>(i)] += static_cast<float>(r);
    }
}

std::unique_ptr<AudioInput> openTestSignal(int rate) {
    return std::make_unique<TestSignalInput>(rate);
}

}  // namespace render
