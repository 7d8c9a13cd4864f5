// The unit's per-sample algorithm, twice: processLiteral writes it out step
// by step as the definition; process computes the same bits faster.
#include <emmintrin.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "dsp/ReverbEngine.h"

namespace {

// Smoothing targets are kept within this range so that a wild setting can
// never make a step overflow to infinity (and the next step NaN). Real
// settings stay far below it (the largest is a pre-delay of a few million
// samples at the highest sample rate).
constexpr double kTargetLimit = 1.0e9;

inline double limitTarget(double t) {
    if (t > kTargetLimit) return kTargetLimit;
    if (t < -kTargetLimit) return -kTargetLimit;
    return t;
}

inline float limitTarget(float t) { return static_cast<float>(limitTarget(static_cast<double>(t))); }

// Band-limited samples below this magnitude keep every early reflection
// finite: an early output is at most about 2.6 times the largest sample its
// line holds.
constexpr float kLargeSignal = 1e37f;

}  // namespace

ReverbEngine::SmoothingSteps ReverbEngine::smoothingSteps(int frames) const {
    const float invN = static_cast<float>(1.0 / frames);
    const double invNd = invN;
    SmoothingSteps s;
    s.mix = (limitTarget(mix) - mixNow) * invN;
    s.bandwidthHz = static_cast<float>(
        (limitTarget(static_cast<double>(bandwidth * 18400.0f) + 100.0) - bandwidthHzNow) * invNd);
    s.dampingHz = static_cast<float>(
        (limitTarget(static_cast<double>(damping * 18400.0f) + 100.0) - dampingHzNow) * invNd);
    s.decay = static_cast<float>(
        (limitTarget(static_cast<double>(decay * 0.7995f) + 0.005) - decayNow) * invNd);
    s.preDelay = (limitTarget(sampleRate * 0.001f * preDelay * 260.0f) - preDelayNow) * invN;
    return s;
}

// The filters take the smoothed cutoffs and recompute their coefficients.
void ReverbEngine::updateCoefficients() {
    bandwidthFilter1.frequency = bandwidthHzNow;
    bandwidthFilter2.frequency = bandwidthHzNow;
    dampingFilter1.frequency = dampingHzNow;
    dampingFilter2.frequency = dampingHzNow;
    bandwidthFilter1.updateCoefficient();
    bandwidthFilter2.updateCoefficient();
    dampingFilter1.updateCoefficient();
    dampingFilter2.updateCoefficient();
}

void ReverbEngine::processLiteral(const float* const* inputs, float* const* outputs, int frames) {
    const SmoothingSteps steps = smoothingSteps(frames);
    const int largeSpan =
        (earlyLine1.length > earlyLine2.length ? earlyLine1.length : earlyLine2.length) + 2;

    const float* in1p = inputs[0];
    const float* in2p = inputs[1];
    float* out1p = outputs[0];
    float* out2p = outputs[1];

    for (int i = 0; i < frames; ++i) {
        const float in1 = in1p[i];
        const float in2 = in2p[i];

        mixNow += steps.mix;
        dampingHzNow += steps.dampingHz;
        preDelayNow += steps.preDelay;
        bandwidthHzNow += steps.bandwidthHz;
        decayNow += steps.decay;

        if (controlCounter >= controlInterval) {
            controlCounter = 0;
            updateCoefficients();
        }
        controlCounter += 1;

        preDelayLine.length = clampedLength(preDelayNow);

        double dd = static_cast<double>(decayNow) + 0.15;
        if (dd < 0.25) dd = 0.25;
        if (dd > 0.5) dd = 0.5;
        decayDiffusion2 = static_cast<float>(dd);
        tankAllpass2.gain = decayDiffusion2;
        tankAllpass4.gain = decayDiffusion2;
        tankAllpass1.gain = density;
        tankAllpass3.gain = density;

        const float x1 = bandwidthFilter1.step(in1);
        const float x2 = bandwidthFilter2.step(in2);
        const double x1d = x1;
        const double x2d = x2;
        if (!(std::fabs(x1) < kLargeSignal && std::fabs(x2) < kLargeSignal))
            earlyLinesLarge = largeSpan;

        float e1;
        {
            const double t1 = earlyLine1.tap(1), t2 = earlyLine1.tap(2), t3 = earlyLine1.tap(3),
                         t4 = earlyLine1.tap(4), t5 = earlyLine1.tap(5), t6 = earlyLine1.tap(6);
            const double y = earlyLine1.step(static_cast<float>(0.5 * x1d + 0.3 * x2d));
            e1 = static_cast<float>(y + 0.5 * (0.4 * x1d + 0.2 * x2d) + 0.6 * t1 + 0.4 * t2 +
                                    0.3 * (t3 + t4) + 0.1 * (t5 + t6));
        }
        float e2;
        {
            const double t1 = earlyLine2.tap(1), t2 = earlyLine2.tap(2), t3 = earlyLine2.tap(3),
                         t4 = earlyLine2.tap(4), t5 = earlyLine2.tap(5), t6 = earlyLine2.tap(6);
            const double y = earlyLine2.step(static_cast<float>(0.3 * x1d + 0.5 * x2d));
            e2 = static_cast<float>(y + 0.5 * (0.4 * x2d + 0.2 * x1d) + 0.6 * t1 + 0.4 * t2 +
                                    0.3 * (t3 + t4) + 0.1 * (t5 + t6));
        }

        const float p = preDelayLine.step(0.5f * (x1 + x2));
        const float d =
            inputDiffuser4.step(inputDiffuser3.step(inputDiffuser2.step(inputDiffuser1.step(p))));

        const float s1 = tankDelay1.step(tankAllpass1.step(d + feedback2));
        const float s2 = tankDelay2.step(tankAllpass2.step(dampingFilter1.step(s1)));
        const float s3 = tankDelay3.step(tankAllpass3.step(d + feedback1));
        const float s4 = tankDelay4.step(tankAllpass4.step(dampingFilter2.step(s3)));

        feedback2 = s4 * decayNow;
        feedback1 = s2 * decayNow;

        const float late1 = static_cast<float>(
            0.6 * tankDelay3.tap(2) + 0.6 * tankDelay3.tap(1) + 0.6 * tankDelay4.tap(1) -
            0.6 * tankAllpass4.tap(1) - 0.6 * tankDelay1.tap(1) - 0.6 * tankAllpass2.tap(1) -
            0.6 * tankDelay2.tap(1));
        const float late2 = static_cast<float>(
            0.6 * tankDelay1.tap(3) + 0.6 * tankDelay1.tap(2) + 0.6 * tankDelay2.tap(2) -
            0.6 * tankAllpass2.tap(2) - 0.6 * tankDelay3.tap(3) - 0.6 * tankAllpass4.tap(2) -
            0.6 * tankDelay4.tap(2));

        const float w1 = (1.0f - earlyMix) * e1 + earlyMix * late1;
        const float w2 = (1.0f - earlyMix) * e2 + earlyMix * late2;
        out1p[i] = gain * (in1 + mixNow * (w1 - in1));
        out2p[i] = gain * (in2 + mixNow * (w2 - in2));
        if (earlyLinesLarge > 0) --earlyLinesLarge;
    }
}

namespace {

// Two StateVariableFilters stepped side by side in the two low lanes of SSE
// registers. Every lane performs exactly the scalar filter's IEEE operations
// in the same order (SSE2 on both builds), so the bits are the scalar ones.
struct FilterPair {
    __m128 low, band, high, f, q;
    __m128d fd;

    void load(const StateVariableFilter& a, const StateVariableFilter& b) {
        low = _mm_setr_ps(a.low, b.low, 0.0f, 0.0f);
        band = _mm_setr_ps(a.band, b.band, 0.0f, 0.0f);
        high = _mm_setr_ps(a.high, b.high, 0.0f, 0.0f);
        q = _mm_setr_ps(a.damping, b.damping, 0.0f, 0.0f);
        setCoefficients(a.coefficient, b.coefficient);
    }

    void setCoefficients(float a, float b) {
        f = _mm_setr_ps(a, b, 0.0f, 0.0f);
        fd = _mm_cvtps_pd(f);
    }

    void store(StateVariableFilter& a, StateVariableFilter& b) const {
        alignas(16) float l[4], bd[4], h[4];
        _mm_store_ps(l, low);
        _mm_store_ps(bd, band);
        _mm_store_ps(h, high);
        a.low = l[0];
        b.low = l[1];
        a.band = bd[0];
        b.band = bd[1];
        a.high = h[0];
        b.high = h[1];
    }

    // low = low + f * band + 1e-25 in double precision, rounded to float.
    void updateLow() {
        const __m128d sum = _mm_add_pd(_mm_cvtps_pd(low), _mm_mul_pd(fd, _mm_cvtps_pd(band)));
        low = _mm_cvtpd_ps(_mm_add_pd(sum, _mm_set1_pd(1e-25)));
    }

    __m128 step(__m128 v) {
        for (int i = 0; i < 3; ++i) {
            updateLow();
            band = _mm_add_ps(band, _mm_mul_ps(f, _mm_sub_ps(_mm_sub_ps(v, low), _mm_mul_ps(q, band))));
        }
        updateLow();
        high = _mm_sub_ps(_mm_sub_ps(v, low), _mm_mul_ps(q, band));
        band = _mm_add_ps(band, _mm_mul_ps(f, high));
        return low;
    }
};

inline bool isNegativeZero(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits == 0x80000000u;
}

inline int advance(int i, int length) { return i + 1 >= length ? 0 : i + 1; }

// Position of a tap that leads index i by offset (offset < length, or both 0).
inline int tapAt(int i, int offset, int length) {
    const int j = i + offset;
    return j >= length ? j - length : j;
}

// The same for a tap whose offset may not fit the length (a Size change from
// another thread can pair a new offset with an old length): such a tap reads
// at the index itself, inside the line.
inline int safeTapAt(int i, int offset, int length) {
    return offset >= 0 && offset < length ? tapAt(i, offset, length) : i;
}

// Samples an index can advance before it wraps (at least 1: an index of a
// line with length 0 or 1 stays 0 and must be looked at every sample).
inline int untilWrap(int i, int length) { return length - i > 1 ? length - i : 1; }

// Moves an index on by n samples, n no more than untilWrap allowed.
inline int skipAhead(int i, int n, int length) {
    const int j = i + n;
    return j >= length ? 0 : j;
}

// Tap indices follow index[0] at a fixed lead; the loop keeps only index[0]
// and puts the others back at the end of the block.
template <class Line>
void storeTaps(Line& line, int i0) {
    line.index[0] = i0;
    for (int k = 1; k < static_cast<int>(sizeof line.index / sizeof line.index[0]); ++k)
        line.index[k] = safeTapAt(i0, line.offset[k], line.length);
}

}  // namespace

void ReverbEngine::process(const float* const* inputs, float* const* outputs, int frames) {
    if (frames <= 0) return;
    if (earlyMix == 1.0f)
        processBlock<true>(inputs, outputs, frames);
    else
        processBlock<false>(inputs, outputs, frames);
}

template <bool kLateOnly>
void ReverbEngine::processBlock(const float* const* inputs, float* const* outputs, int frames) {
    const SmoothingSteps steps = smoothingSteps(frames);

    const float* const in1p = inputs[0];
    const float* const in2p = inputs[1];
    float* const out1p = outputs[0];
    float* const out2p = outputs[1];

    // Settings that apply as stored, read once per block (process chose
    // kLateOnly from the same earlyMix).
    const float gainNow = gain;
    const float earlyMixNow = kLateOnly ? 1.0f : earlyMix;
    const float densityNow = density;

    // Filters: one pair band-limits the inputs, the other damps the tank.
    FilterPair inputFilters, tankFilters;
    inputFilters.load(bandwidthFilter1, bandwidthFilter2);
    tankFilters.load(dampingFilter1, dampingFilter2);

    float mixN = mixNow, dampingN = dampingHzNow, preDelayN = preDelayNow,
          bandwidthN = bandwidthHzNow, decayN = decayNow;
    float fb1 = feedback1, fb2 = feedback2;
    float diffusion = decayDiffusion2;
    int counter = controlCounter;
    const int interval = controlInterval;
    int large = earlyLinesLarge;

    float* const e1buf = earlyLine1.buffer.data();
    float* const e2buf = earlyLine2.buffer.data();
    float* const prebuf = preDelayLine.buffer.data();
    const int e1len = earlyLine1.length, e2len = earlyLine2.length;
    const int largeSpan = (e1len > e2len ? e1len : e2len) + 2;
    const int* const e1off = earlyLine1.offset;
    const int* const e2off = earlyLine2.offset;
    int prei = preDelayLine.writeIndex, prelen = preDelayLine.length;
    const float ad1g = inputDiffuser1.gain, ad2g = inputDiffuser2.gain,
                ad3g = inputDiffuser3.gain, ad4g = inputDiffuser4.gain;

    // Each line's write index, and where each tank tap reads in the first
    // sample of a segment. A tank tap is read after its line's step, so it
    // starts from the advanced write index.
    struct Cursor {
        int index;
        int length;
    };
    Cursor early1{earlyLine1.index[0], e1len}, early2{earlyLine2.index[0], e2len};
    Cursor ad1{inputDiffuser1.index, inputDiffuser1.length},
        ad2{inputDiffuser2.index, inputDiffuser2.length},
        ad3{inputDiffuser3.index, inputDiffuser3.length},
        ad4{inputDiffuser4.index, inputDiffuser4.length};
    Cursor ta1{tankAllpass1.index[0], tankAllpass1.length},
        ta2{tankAllpass2.index[0], tankAllpass2.length},
        ta3{tankAllpass3.index[0], tankAllpass3.length},
        ta4{tankAllpass4.index[0], tankAllpass4.length};
    Cursor td1{tankDelay1.index[0], tankDelay1.length}, td2{tankDelay2.index[0], tankDelay2.length},
        td3{tankDelay3.index[0], tankDelay3.length}, td4{tankDelay4.index[0], tankDelay4.length};
    // A Size change from another thread while a block runs can leave an
    // index at or beyond its new length; start such a line over rather than
    // step outside its buffer. (In any one thread indices stay below their
    // lengths and this changes nothing.)
    for (Cursor* c : {&early1, &early2, &ad1, &ad2, &ad3, &ad4, &ta1, &ta2, &ta3, &ta4, &td1, &td2,
                      &td3, &td4})
        if (c->index < 0 || c->index >= c->length) c->index = 0;
    if (prei < 0 || prei >= kLineCapacity) prei = 0;

    // Early reflection outputs from the lines' taps, read before the lines
    // take this sample's input; e1i and e2i are the lines' write indices.
    auto earlyReflections = [&](int e1i, int e2i, double x1d, double x2d, float& e1, float& e2) {
        {
            const double t1 = e1buf[tapAt(e1i, e1off[1], e1len)];
            const double t2 = e1buf[tapAt(e1i, e1off[2], e1len)];
            const double t3 = e1buf[tapAt(e1i, e1off[3], e1len)];
            const double t4 = e1buf[tapAt(e1i, e1off[4], e1len)];
            const double t5 = e1buf[tapAt(e1i, e1off[5], e1len)];
            const double t6 = e1buf[tapAt(e1i, e1off[6], e1len)];
            const double y = e1buf[e1i];
            e1 = static_cast<float>(y + 0.5 * (0.4 * x1d + 0.2 * x2d) + 0.6 * t1 + 0.4 * t2 +
                                    0.3 * (t3 + t4) + 0.1 * (t5 + t6));
        }
        {
            const double t1 = e2buf[tapAt(e2i, e2off[1], e2len)];
            const double t2 = e2buf[tapAt(e2i, e2off[2], e2len)];
            const double t3 = e2buf[tapAt(e2i, e2off[3], e2len)];
            const double t4 = e2buf[tapAt(e2i, e2off[4], e2len)];
            const double t5 = e2buf[tapAt(e2i, e2off[5], e2len)];
            const double t6 = e2buf[tapAt(e2i, e2off[6], e2len)];
            const double y = e2buf[e2i];
            e2 = static_cast<float>(y + 0.5 * (0.4 * x2d + 0.2 * x1d) + 0.6 * t1 + 0.4 * t2 +
                                    0.3 * (t3 + t4) + 0.1 * (t5 + t6));
        }
    };

    const __m128 absMask = _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff));
    const __m128 largeSignal = _mm_set1_ps(kLargeSignal);

    // The block runs in segments during which no index of a fixed-length
    // line wraps, so that inside a segment every line position is a base
    // pointer plus the sample's number in the segment. (The pre-delay's
    // length changes from sample to sample; it keeps its own index.)
    for (int done = 0; done < frames;) {
        struct TapStart {
            const float* pointer;
            int room;
        };
        // A tank tap's position in the segment's first sample.
        auto tankTap = [](float* buffer, const Cursor& c, int offset) {
            const int j = safeTapAt(c.index + 1 >= c.length ? 0 : c.index + 1, offset, c.length);
            return TapStart{buffer + j, untilWrap(j, c.length)};
        };
        const TapStart t3b = tankTap(tankDelay3.buffer.data(), td3, tankDelay3.offset[2]);
        const TapStart t3a = tankTap(tankDelay3.buffer.data(), td3, tankDelay3.offset[1]);
        const TapStart t4a = tankTap(tankDelay4.buffer.data(), td4, tankDelay4.offset[1]);
        const TapStart a4a = tankTap(tankAllpass4.buffer.data(), ta4, tankAllpass4.offset[1]);
        const TapStart t1a = tankTap(tankDelay1.buffer.data(), td1, tankDelay1.offset[1]);
        const TapStart a2a = tankTap(tankAllpass2.buffer.data(), ta2, tankAllpass2.offset[1]);
        const TapStart t2a = tankTap(tankDelay2.buffer.data(), td2, tankDelay2.offset[1]);
        const TapStart t1c = tankTap(tankDelay1.buffer.data(), td1, tankDelay1.offset[3]);
        const TapStart t1b = tankTap(tankDelay1.buffer.data(), td1, tankDelay1.offset[2]);
        const TapStart t2b = tankTap(tankDelay2.buffer.data(), td2, tankDelay2.offset[2]);
        const TapStart a2b = tankTap(tankAllpass2.buffer.data(), ta2, tankAllpass2.offset[2]);
        const TapStart t3c = tankTap(tankDelay3.buffer.data(), td3, tankDelay3.offset[3]);
        const TapStart a4b = tankTap(tankAllpass4.buffer.data(), ta4, tankAllpass4.offset[2]);
        const TapStart t4b = tankTap(tankDelay4.buffer.data(), td4, tankDelay4.offset[2]);

        int n = frames - done;
        auto limit = [&n](int room) {
            if (room < n) n = room;
        };
        for (const Cursor* c : {&early1, &early2, &ad1, &ad2, &ad3, &ad4, &ta1, &ta2, &ta3, &ta4,
                                &td1, &td2, &td3, &td4})
            limit(untilWrap(c->index, c->length));
        for (const TapStart* t : {&t3b, &t3a, &t4a, &a4a, &t1a, &a2a, &t2a, &t1c, &t1b, &t2b, &a2b,
                                  &t3c, &a4b, &t4b})
            limit(t->room);

        float* const e1w = e1buf + early1.index;
        float* const e2w = e2buf + early2.index;
        float* const ad1w = inputDiffuser1.buffer.data() + ad1.index;
        float* const ad2w = inputDiffuser2.buffer.data() + ad2.index;
        float* const ad3w = inputDiffuser3.buffer.data() + ad3.index;
        float* const ad4w = inputDiffuser4.buffer.data() + ad4.index;
        float* const ta1w = tankAllpass1.buffer.data() + ta1.index;
        float* const ta2w = tankAllpass2.buffer.data() + ta2.index;
        float* const ta3w = tankAllpass3.buffer.data() + ta3.index;
        float* const ta4w = tankAllpass4.buffer.data() + ta4.index;
        float* const td1w = tankDelay1.buffer.data() + td1.index;
        float* const td2w = tankDelay2.buffer.data() + td2.index;
        float* const td3w = tankDelay3.buffer.data() + td3.index;
        float* const td4w = tankDelay4.buffer.data() + td4.index;
        const float* const inA = in1p + done;
        const float* const inB = in2p + done;
        float* const outA = out1p + done;
        float* const outB = out2p + done;

        for (int s = 0; s < n; ++s) {
            const float in1 = inA[s];
            const float in2 = inB[s];

            mixN += steps.mix;
            dampingN += steps.dampingHz;
            preDelayN += steps.preDelay;
            bandwidthN += steps.bandwidthHz;
            decayN += steps.decay;

            if (counter >= interval) {
                counter = 0;
                bandwidthHzNow = bandwidthN;
                dampingHzNow = dampingN;
                updateCoefficients();
                inputFilters.setCoefficients(bandwidthFilter1.coefficient,
                                             bandwidthFilter2.coefficient);
                tankFilters.setCoefficients(dampingFilter1.coefficient, dampingFilter2.coefficient);
            }
            counter += 1;

            prelen = clampedLength(preDelayN);

            double dd = static_cast<double>(decayN) + 0.15;
            if (dd < 0.25) dd = 0.25;
            if (dd > 0.5) dd = 0.5;
            diffusion = static_cast<float>(dd);

            // All four filters at once: the damping filters' inputs are the
            // tank delays' outputs, which are known before anything of this
            // sample is written.
            const __m128 x = inputFilters.step(_mm_setr_ps(in1, in2, 0.0f, 0.0f));
            const __m128 damped = tankFilters.step(_mm_setr_ps(td1w[s], td3w[s], 0.0f, 0.0f));
            if (_mm_movemask_ps(_mm_cmplt_ps(_mm_and_ps(x, absMask), largeSignal)) != 0xf)
                large = largeSpan;
            alignas(16) float xs[4], ds[4];
            _mm_store_ps(xs, x);
            _mm_store_ps(ds, damped);
            const float x1 = xs[0], x2 = xs[1];
            const float damped1 = ds[0], damped2 = ds[1];
            const double x1d = x1, x2d = x2;

            float e1 = 0.0f, e2 = 0.0f;
            if (!kLateOnly) earlyReflections(early1.index + s, early2.index + s, x1d, x2d, e1, e2);

            const float p = prebuf[prei];
            prebuf[prei] = 0.5f * (x1 + x2);
            prei = advance(prei, prelen);

            float d;
            {
                float y = ad1w[s] - ad1g * p;
                ad1w[s] = p + ad1g * y;
                float v = y;
                y = ad2w[s] - ad2g * v;
                ad2w[s] = v + ad2g * y;
                v = y;
                y = ad3w[s] - ad3g * v;
                ad3w[s] = v + ad3g * y;
                v = y;
                y = ad4w[s] - ad4g * v;
                ad4w[s] = v + ad4g * y;
                d = y;
            }

            float s2, s4;
            {  // branch 1: all-pass, delay, damping, all-pass, delay
                const float v = d + fb2;
                const float y = ta1w[s] - densityNow * v;
                ta1w[s] = v + densityNow * y;
                td1w[s] = y;
                const float y2 = ta2w[s] - diffusion * damped1;
                ta2w[s] = damped1 + diffusion * y2;
                s2 = td2w[s];
                td2w[s] = y2;
            }
            {  // branch 2
                const float v = d + fb1;
                const float y = ta3w[s] - densityNow * v;
                ta3w[s] = v + densityNow * y;
                td3w[s] = y;
                const float y2 = ta4w[s] - diffusion * damped2;
                ta4w[s] = damped2 + diffusion * y2;
                s4 = td4w[s];
                td4w[s] = y2;
            }

            fb2 = s4 * decayN;
            fb1 = s2 * decayN;

            const float late1 = static_cast<float>(
                0.6 * t3b.pointer[s] + 0.6 * t3a.pointer[s] + 0.6 * t4a.pointer[s] -
                0.6 * a4a.pointer[s] - 0.6 * t1a.pointer[s] - 0.6 * a2a.pointer[s] -
                0.6 * t2a.pointer[s]);
            const float late2 = static_cast<float>(
                0.6 * t1c.pointer[s] + 0.6 * t1b.pointer[s] + 0.6 * t2b.pointer[s] -
                0.6 * a2b.pointer[s] - 0.6 * t3c.pointer[s] - 0.6 * a4b.pointer[s] -
                0.6 * t4b.pointer[s]);

            float w1, w2;
            if (kLateOnly) {
                // (1 - 1) * e + 1 * late is late for every finite e, except
                // that a late of -0 keeps its sign only when 0 * e is -0 too.
                if (large > 0 || isNegativeZero(late1) || isNegativeZero(late2)) {
                    earlyReflections(early1.index + s, early2.index + s, x1d, x2d, e1, e2);
                    w1 = (1.0f - earlyMixNow) * e1 + earlyMixNow * late1;
                    w2 = (1.0f - earlyMixNow) * e2 + earlyMixNow * late2;
                } else {
                    w1 = late1;
                    w2 = late2;
                }
            } else {
                w1 = (1.0f - earlyMixNow) * e1 + earlyMixNow * late1;
                w2 = (1.0f - earlyMixNow) * e2 + earlyMixNow * late2;
            }

            // The early lines take their inputs last: nothing else reads them.
            e1w[s] = static_cast<float>(0.5 * x1d + 0.3 * x2d);
            e2w[s] = static_cast<float>(0.3 * x1d + 0.5 * x2d);
            if (large > 0) --large;

            outA[s] = gainNow * (in1 + mixN * (w1 - in1));
            outB[s] = gainNow * (in2 + mixN * (w2 - in2));
        }

        for (Cursor* c : {&early1, &early2, &ad1, &ad2, &ad3, &ad4, &ta1, &ta2, &ta3, &ta4, &td1,
                          &td2, &td3, &td4})
            c->index = skipAhead(c->index, n, c->length);
        done += n;
    }

    inputFilters.store(bandwidthFilter1, bandwidthFilter2);
    tankFilters.store(dampingFilter1, dampingFilter2);
    mixNow = mixN;
    dampingHzNow = dampingN;
    preDelayNow = preDelayN;
    bandwidthHzNow = bandwidthN;
    decayNow = decayN;
    feedback1 = fb1;
    feedback2 = fb2;
    decayDiffusion2 = diffusion;
    tankAllpass2.gain = tankAllpass4.gain = diffusion;
    tankAllpass1.gain = tankAllpass3.gain = densityNow;
    controlCounter = counter;
    earlyLinesLarge = large;

    storeTaps(earlyLine1, early1.index);
    storeTaps(earlyLine2, early2.index);
    preDelayLine.writeIndex = prei;
    preDelayLine.length = prelen;
    inputDiffuser1.index = ad1.index;
    inputDiffuser2.index = ad2.index;
    inputDiffuser3.index = ad3.index;
    inputDiffuser4.index = ad4.index;
    storeTaps(tankAllpass1, ta1.index);
    storeTaps(tankAllpass2, ta2.index);
    storeTaps(tankAllpass3, ta3.index);
    storeTaps(tankAllpass4, ta4.index);
    storeTaps(tankDelay1, td1.index);
    storeTaps(tankDelay2, td2.index);
    storeTaps(tankDelay3, td3.index);
    storeTaps(tankDelay4, td4.index);
}
