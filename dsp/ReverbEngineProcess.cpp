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

// Tap indices follow index[0] at a fixed lead; the loop keeps only index[0]
// and puts the others back at the end of the block.
template <class Line>
void storeTaps(Line& line, int i0) {
    line.index[0] = i0;
    for (int k = 1; k < static_cast<int>(sizeof line.index / sizeof line.index[0]); ++k)
        line.index[k] = tapAt(i0, line.offset[k], line.length);
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

    const float* in1p = inputs[0];
    const float* in2p = inputs[1];
    float* out1p = outputs[0];
    float* out2p = outputs[1];

    // Settings that apply as stored, read once per block.
    const float gainNow = gain;
    const float earlyMixNow = earlyMix;
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
    float* const ad1buf = inputDiffuser1.buffer.data();
    float* const ad2buf = inputDiffuser2.buffer.data();
    float* const ad3buf = inputDiffuser3.buffer.data();
    float* const ad4buf = inputDiffuser4.buffer.data();
    float* const ta1buf = tankAllpass1.buffer.data();
    float* const ta2buf = tankAllpass2.buffer.data();
    float* const ta3buf = tankAllpass3.buffer.data();
    float* const ta4buf = tankAllpass4.buffer.data();
    float* const td1buf = tankDelay1.buffer.data();
    float* const td2buf = tankDelay2.buffer.data();
    float* const td3buf = tankDelay3.buffer.data();
    float* const td4buf = tankDelay4.buffer.data();

    int e1i = earlyLine1.index[0], e2i = earlyLine2.index[0];
    const int e1len = earlyLine1.length, e2len = earlyLine2.length;
    const int largeSpan = (e1len > e2len ? e1len : e2len) + 2;
    int prei = preDelayLine.writeIndex, prelen = preDelayLine.length;
    int ad1i = inputDiffuser1.index, ad2i = inputDiffuser2.index, ad3i = inputDiffuser3.index,
        ad4i = inputDiffuser4.index;
    const int ad1len = inputDiffuser1.length, ad2len = inputDiffuser2.length,
              ad3len = inputDiffuser3.length, ad4len = inputDiffuser4.length;
    const float ad1g = inputDiffuser1.gain, ad2g = inputDiffuser2.gain,
                ad3g = inputDiffuser3.gain, ad4g = inputDiffuser4.gain;
    int ta1i = tankAllpass1.index[0], ta2i = tankAllpass2.index[0], ta3i = tankAllpass3.index[0],
        ta4i = tankAllpass4.index[0];
    const int ta1len = tankAllpass1.length, ta2len = tankAllpass2.length,
              ta3len = tankAllpass3.length, ta4len = tankAllpass4.length;
    int td1i = tankDelay1.index[0], td2i = tankDelay2.index[0], td3i = tankDelay3.index[0],
        td4i = tankDelay4.index[0];
    const int td1len = tankDelay1.length, td2len = tankDelay2.length,
              td3len = tankDelay3.length, td4len = tankDelay4.length;

    const int* const e1off = earlyLine1.offset;
    const int* const e2off = earlyLine2.offset;
    const int ta2off1 = tankAllpass2.offset[1], ta2off2 = tankAllpass2.offset[2];
    const int ta4off1 = tankAllpass4.offset[1], ta4off2 = tankAllpass4.offset[2];
    const int td1off1 = tankDelay1.offset[1], td1off2 = tankDelay1.offset[2],
              td1off3 = tankDelay1.offset[3];
    const int td2off1 = tankDelay2.offset[1], td2off2 = tankDelay2.offset[2];
    const int td3off1 = tankDelay3.offset[1], td3off2 = tankDelay3.offset[2],
              td3off3 = tankDelay3.offset[3];
    const int td4off1 = tankDelay4.offset[1], td4off2 = tankDelay4.offset[2];

    // Early reflection outputs from the lines' taps, read before the lines
    // take this sample's input.
    auto earlyReflections = [&](double x1d, double x2d, float& e1, float& e2) {
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

    for (int i = 0; i < frames; ++i) {
        const float in1 = in1p[i];
        const float in2 = in2p[i];

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
            inputFilters.setCoefficients(bandwidthFilter1.coefficient, bandwidthFilter2.coefficient);
            tankFilters.setCoefficients(dampingFilter1.coefficient, dampingFilter2.coefficient);
        }
        counter += 1;

        prelen = clampedLength(preDelayN);

        double dd = static_cast<double>(decayN) + 0.15;
        if (dd < 0.25) dd = 0.25;
        if (dd > 0.5) dd = 0.5;
        diffusion = static_cast<float>(dd);

        // All four filters at once: the damping filters' inputs are the tank
        // delays' outputs, which are known before anything of this sample
        // is written.
        const __m128 x = inputFilters.step(_mm_setr_ps(in1, in2, 0.0f, 0.0f));
        const __m128 damped = tankFilters.step(_mm_setr_ps(td1buf[td1i], td3buf[td3i], 0.0f, 0.0f));
        if (_mm_movemask_ps(_mm_cmplt_ps(_mm_and_ps(x, absMask), largeSignal)) != 0xf)
            large = largeSpan;
        alignas(16) float xs[4], ds[4];
        _mm_store_ps(xs, x);
        _mm_store_ps(ds, damped);
        const float x1 = xs[0], x2 = xs[1];
        const float damped1 = ds[0], damped2 = ds[1];
        const double x1d = x1, x2d = x2;

        float e1 = 0.0f, e2 = 0.0f;
        if (!kLateOnly) earlyReflections(x1d, x2d, e1, e2);

        const float p = prebuf[prei];
        prebuf[prei] = 0.5f * (x1 + x2);
        prei = advance(prei, prelen);

        float d;
        {
            float y = ad1buf[ad1i] - ad1g * p;
            ad1buf[ad1i] = p + ad1g * y;
            ad1i = advance(ad1i, ad1len);
            float v = y;
            y = ad2buf[ad2i] - ad2g * v;
            ad2buf[ad2i] = v + ad2g * y;
            ad2i = advance(ad2i, ad2len);
            v = y;
            y = ad3buf[ad3i] - ad3g * v;
            ad3buf[ad3i] = v + ad3g * y;
            ad3i = advance(ad3i, ad3len);
            v = y;
            y = ad4buf[ad4i] - ad4g * v;
            ad4buf[ad4i] = v + ad4g * y;
            ad4i = advance(ad4i, ad4len);
            d = y;
        }

        float s2, s4;
        {  // branch 1: all-pass, delay (output read at the start), damping, all-pass, delay
            const float v = d + fb2;
            const float y = ta1buf[ta1i] - densityNow * v;
            ta1buf[ta1i] = v + densityNow * y;
            ta1i = advance(ta1i, ta1len);
            td1buf[td1i] = y;
            td1i = advance(td1i, td1len);

            const float y2 = ta2buf[ta2i] - diffusion * damped1;
            ta2buf[ta2i] = damped1 + diffusion * y2;
            ta2i = advance(ta2i, ta2len);
            s2 = td2buf[td2i];
            td2buf[td2i] = y2;
            td2i = advance(td2i, td2len);
        }
        {  // branch 2
            const float v = d + fb1;
            const float y = ta3buf[ta3i] - densityNow * v;
            ta3buf[ta3i] = v + densityNow * y;
            ta3i = advance(ta3i, ta3len);
            td3buf[td3i] = y;
            td3i = advance(td3i, td3len);

            const float y2 = ta4buf[ta4i] - diffusion * damped2;
            ta4buf[ta4i] = damped2 + diffusion * y2;
            ta4i = advance(ta4i, ta4len);
            s4 = td4buf[td4i];
            td4buf[td4i] = y2;
            td4i = advance(td4i, td4len);
        }

        fb2 = s4 * decayN;
        fb1 = s2 * decayN;

        const float late1 = static_cast<float>(
            0.6 * td3buf[tapAt(td3i, td3off2, td3len)] + 0.6 * td3buf[tapAt(td3i, td3off1, td3len)] +
            0.6 * td4buf[tapAt(td4i, td4off1, td4len)] - 0.6 * ta4buf[tapAt(ta4i, ta4off1, ta4len)] -
            0.6 * td1buf[tapAt(td1i, td1off1, td1len)] - 0.6 * ta2buf[tapAt(ta2i, ta2off1, ta2len)] -
            0.6 * td2buf[tapAt(td2i, td2off1, td2len)]);
        const float late2 = static_cast<float>(
            0.6 * td1buf[tapAt(td1i, td1off3, td1len)] + 0.6 * td1buf[tapAt(td1i, td1off2, td1len)] +
            0.6 * td2buf[tapAt(td2i, td2off2, td2len)] - 0.6 * ta2buf[tapAt(ta2i, ta2off2, ta2len)] -
            0.6 * td3buf[tapAt(td3i, td3off3, td3len)] - 0.6 * ta4buf[tapAt(ta4i, ta4off2, ta4len)] -
            0.6 * td4buf[tapAt(td4i, td4off2, td4len)]);

        float w1, w2;
        if (kLateOnly) {
            // (1 - 1) * e + 1 * late is late for every finite e, except that
            // a late of -0 keeps its sign only when 0 * e is -0 as well.
            if (large > 0 || isNegativeZero(late1) || isNegativeZero(late2)) {
                earlyReflections(x1d, x2d, e1, e2);
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
        e1buf[e1i] = static_cast<float>(0.5 * x1d + 0.3 * x2d);
        e1i = advance(e1i, e1len);
        e2buf[e2i] = static_cast<float>(0.3 * x1d + 0.5 * x2d);
        e2i = advance(e2i, e2len);
        if (large > 0) --large;

        out1p[i] = gainNow * (in1 + mixN * (w1 - in1));
        out2p[i] = gainNow * (in2 + mixN * (w2 - in2));
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

    storeTaps(earlyLine1, e1i);
    storeTaps(earlyLine2, e2i);
    preDelayLine.writeIndex = prei;
    preDelayLine.length = prelen;
    inputDiffuser1.index = ad1i;
    inputDiffuser2.index = ad2i;
    inputDiffuser3.index = ad3i;
    inputDiffuser4.index = ad4i;
    storeTaps(tankAllpass1, ta1i);
    storeTaps(tankAllpass2, ta2i);
    storeTaps(tankAllpass3, ta3i);
    storeTaps(tankAllpass4, ta4i);
    storeTaps(tankDelay1, td1i);
    storeTaps(tankDelay2, td2i);
    storeTaps(tankDelay3, td3i);
    storeTaps(tankDelay4, td4i);
}
