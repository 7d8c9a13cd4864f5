// The unit's per-sample algorithm, twice: processLiteral writes it out step
// by step as the definition; process computes the same bits faster (see
// BlockRun), and processPair runs two units through a block side by side.
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

// The per-sample stages must be inlined into the block loops, so that a
// unit's running state stays in registers rather than behind a pointer.
#if defined(__GNUC__)
#define TOVRA_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define TOVRA_ALWAYS_INLINE inline
#endif

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
    TOVRA_ALWAYS_INLINE void updateLow() {
        const __m128d sum = _mm_add_pd(_mm_cvtps_pd(low), _mm_mul_pd(fd, _mm_cvtps_pd(band)));
        low = _mm_cvtpd_ps(_mm_add_pd(sum, _mm_set1_pd(1e-25)));
    }

    // Sub-steps 1 to 3 of a step with input v.
    TOVRA_ALWAYS_INLINE void subStep(__m128 v) {
        updateLow();
        band = _mm_add_ps(band, _mm_mul_ps(f, _mm_sub_ps(_mm_sub_ps(v, low), _mm_mul_ps(q, band))));
    }

    // Sub-step 4; the step's output is low.
    TOVRA_ALWAYS_INLINE void lastSubStep(__m128 v) {
        updateLow();
        high = _mm_sub_ps(_mm_sub_ps(v, low), _mm_mul_ps(q, band));
        band = _mm_add_ps(band, _mm_mul_ps(f, high));
    }
};

// The two floats at p in double precision. One instruction that reads
// memory: the compiler would load the pair into a register first and
// convert from there, which costs the processor an extra shuffle.
TOVRA_ALWAYS_INLINE __m128d widenPairAt(const float* p) {
#if defined(__GNUC__)
    __m128d r;
    __asm__("cvtps2pd %1, %0" : "=x"(r) : "m"(*reinterpret_cast<const float(*)[2]>(p)));
    return r;
#else
    return _mm_cvtps_pd(_mm_loadl_pi(_mm_setzero_ps(), reinterpret_cast<const __m64*>(p)));
#endif
}

// Steps filter pairs side by side, sub-step by sub-step: their chains are
// independent, and interleaving them in the instruction stream lets the
// processor work on all of them at once instead of on one after the other.
TOVRA_ALWAYS_INLINE void stepFilters(FilterPair& a, __m128 va, FilterPair& b, __m128 vb) {
    for (int i = 0; i < 3; ++i) {
        a.subStep(va);
        b.subStep(vb);
    }
    a.lastSubStep(va);
    b.lastSubStep(vb);
}

TOVRA_ALWAYS_INLINE void stepFilters(FilterPair& a, __m128 va, FilterPair& b, __m128 vb,
                                     FilterPair& c, __m128 vc, FilterPair& d, __m128 vd) {
    for (int i = 0; i < 3; ++i) {
        a.subStep(va);
        b.subStep(vb);
        c.subStep(vc);
        d.subStep(vd);
    }
    a.lastSubStep(va);
    b.lastSubStep(vb);
    c.lastSubStep(vc);
    d.lastSubStep(vd);
}

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

// One unit's state while it runs through a block, held in locals the
// compiler can keep in registers, and its per-sample work in two stages.
//
// Stage 1 (readSample) reads a sample's inputs, moves the smoothed values
// and steps the four filters: the unit's longest chain of dependent
// operations, which has to run sample after sample. Stage 2 does everything
// else and writes the outputs; it depends on the filters' outputs and on
// what the lines held before, never on the stage 2 work of the sample just
// before (the tank's cross-feedback is a delayed sample read from a line).
// So stage 2 can take kGroup consecutive samples at once, one sample per SSE
// lane (finishGroup): every line position of the group is then one vector
// load or store, and every operation is the scalar one in each lane. Where a
// group could see a line value written by another sample of the same group
// in a different order than sample by sample (a tap that reads fewer than
// kGroup samples behind its line's writes, as at very low sample rates), a
// segment's samples go one at a time (finishSample). The pre-delay, whose
// length may change from sample to sample, is one vector only while its four
// positions follow each other; otherwise its samples go one by one.
//
// processPair runs stage 1 of both units side by side, their filters in one
// interleaved stream, so the two chains overlap.
//
// The block runs in segments during which no index of a fixed-length line
// wraps, so that inside a segment every line position is a base pointer plus
// the sample's number in the segment. (The pre-delay's length changes from
// sample to sample; it keeps its own index.) startSegment may be told to run
// fewer samples than it allows, which is how two units share segments.
template <bool kLateOnly>
class ReverbEngine::BlockRun {
public:
    static constexpr int kGroup = 4;

    TOVRA_ALWAYS_INLINE BlockRun(ReverbEngine& unit, const float* const* inputs,
                                 float* const* outputs, int frames)
        : e(unit),
          steps(unit.smoothingSteps(frames)),
          in1p(inputs[0]),
          in2p(inputs[1]),
          out1p(outputs[0]),
          out2p(outputs[1]),
          // Settings that apply as stored, read once per block (the caller
          // chose kLateOnly from the same earlyMix).
          gainNow(unit.gain),
          earlyMixNow(kLateOnly ? 1.0f : unit.earlyMix),
          densityNow(unit.density) {
        // Filters: one pair band-limits the inputs, the other damps the tank.
        inputFilters.load(e.bandwidthFilter1, e.bandwidthFilter2);
        tankFilters.load(e.dampingFilter1, e.dampingFilter2);

        smoothed = _mm_setr_ps(e.preDelayNow, e.mixNow, e.bandwidthHzNow, e.dampingHzNow);
        smoothingStep = _mm_setr_ps(steps.preDelay, steps.mix, steps.bandwidthHz, steps.dampingHz);
        decayN = e.decayNow;
        fb1 = e.feedback1;
        fb2 = e.feedback2;
        diffusion = e.decayDiffusion2;
        counter = e.controlCounter;
        interval = e.controlInterval;
        large = e.earlyLinesLarge;

        // A smoothed value already at its target (its step too small to
        // move it) keeps its value through the block: the values derived
        // from it then need working out only once.
        steadyDecay = decayN + steps.decay == decayN;
        steadyMix = e.mixNow + steps.mix == e.mixNow;
        steadyPreDelay = e.preDelayNow + steps.preDelay == e.preDelayNow;
        steadyDiffusion = decayDiffusion(decayN);
        steadyPreDelayLength = clampedLength(e.preDelayNow);

        e1buf = e.earlyLine1.buffer.data();
        e2buf = e.earlyLine2.buffer.data();
        prebuf = e.preDelayLine.buffer.data();
        e1len = e.earlyLine1.length;
        e2len = e.earlyLine2.length;
        largeSpan = (e1len > e2len ? e1len : e2len) + 2;
        e1off = e.earlyLine1.offset;
        e2off = e.earlyLine2.offset;
        prei = e.preDelayLine.writeIndex;
        prelen = e.preDelayLine.length;
        ad1g = e.inputDiffuser1.gain;
        ad2g = e.inputDiffuser2.gain;
        ad3g = e.inputDiffuser3.gain;
        ad4g = e.inputDiffuser4.gain;

        early1 = {e.earlyLine1.index[0], e1len};
        early2 = {e.earlyLine2.index[0], e2len};
        ad1 = {e.inputDiffuser1.index, e.inputDiffuser1.length};
        ad2 = {e.inputDiffuser2.index, e.inputDiffuser2.length};
        ad3 = {e.inputDiffuser3.index, e.inputDiffuser3.length};
        ad4 = {e.inputDiffuser4.index, e.inputDiffuser4.length};
        ta1 = {e.tankAllpass1.index[0], e.tankAllpass1.length};
        ta2 = {e.tankAllpass2.index[0], e.tankAllpass2.length};
        ta3 = {e.tankAllpass3.index[0], e.tankAllpass3.length};
        ta4 = {e.tankAllpass4.index[0], e.tankAllpass4.length};
        td1 = {e.tankDelay1.index[0], e.tankDelay1.length};
        td2 = {e.tankDelay2.index[0], e.tankDelay2.length};
        td3 = {e.tankDelay3.index[0], e.tankDelay3.length};
        td4 = {e.tankDelay4.index[0], e.tankDelay4.length};
        // A Size change from another thread while a block runs can leave an
        // index at or beyond its new length; start such a line over rather
        // than step outside its buffer. (In any one thread indices stay below
        // their lengths and this changes nothing.)
        forEachCursor([](Cursor& c) {
            if (c.index < 0 || c.index >= c.length) c.index = 0;
        });
        if (prei < 0 || prei >= kLineCapacity) prei = 0;

        // An early tap that reads fewer than kGroup samples behind its
        // line's writes would, in a group, miss a sample of the same group.
        earlyTapsGroup = true;
        for (int k = 1; k <= MultiTapDelay::kTaps; ++k) {
            if (e1off[k] != 0 && e1off[k] > e1len - kGroup) earlyTapsGroup = false;
            if (e2off[k] != 0 && e2off[k] > e2len - kGroup) earlyTapsGroup = false;
        }
    }

    // Places the segment that starts `done` frames into the block and
    // answers how many samples it may run: at most `wanted`, at least 1.
    TOVRA_ALWAYS_INLINE int startSegment(int done, int wanted) {
        int room = wanted;
        auto limit = [&room](int r) {
            if (r < room) room = r;
        };
        forEachCursor([&limit](Cursor& c) { limit(untilWrap(c.index, c.length)); });

        // A tank tap's position in the segment's first sample. A tank tap is
        // read after its line's step, so it starts from the advanced index.
        // In a group all taps are read before the group writes the tank, which
        // is the same as reading each after its own sample's step unless the
        // tap trails the write position by less than a group (or reads it).
        bool tapsGroup = true;
        auto tankTap = [&limit, &tapsGroup](float* buffer, const Cursor& c, int offset) {
            const int j = safeTapAt(c.index + 1 >= c.length ? 0 : c.index + 1, offset, c.length);
            limit(untilWrap(j, c.length));
            const int lead = j - c.index;
            if (!(lead > 0 || lead <= -kGroup)) tapsGroup = false;
            return static_cast<const float*>(buffer + j);
        };
        t3b = tankTap(e.tankDelay3.buffer.data(), td3, e.tankDelay3.offset[2]);
        t3a = tankTap(e.tankDelay3.buffer.data(), td3, e.tankDelay3.offset[1]);
        t4a = tankTap(e.tankDelay4.buffer.data(), td4, e.tankDelay4.offset[1]);
        a4a = tankTap(e.tankAllpass4.buffer.data(), ta4, e.tankAllpass4.offset[1]);
        t1a = tankTap(e.tankDelay1.buffer.data(), td1, e.tankDelay1.offset[1]);
        a2a = tankTap(e.tankAllpass2.buffer.data(), ta2, e.tankAllpass2.offset[1]);
        t2a = tankTap(e.tankDelay2.buffer.data(), td2, e.tankDelay2.offset[1]);
        t1c = tankTap(e.tankDelay1.buffer.data(), td1, e.tankDelay1.offset[3]);
        t1b = tankTap(e.tankDelay1.buffer.data(), td1, e.tankDelay1.offset[2]);
        t2b = tankTap(e.tankDelay2.buffer.data(), td2, e.tankDelay2.offset[2]);
        a2b = tankTap(e.tankAllpass2.buffer.data(), ta2, e.tankAllpass2.offset[2]);
        t3c = tankTap(e.tankDelay3.buffer.data(), td3, e.tankDelay3.offset[3]);
        a4b = tankTap(e.tankAllpass4.buffer.data(), ta4, e.tankAllpass4.offset[2]);
        t4b = tankTap(e.tankDelay4.buffer.data(), td4, e.tankDelay4.offset[2]);
        groupsAllowed = tapsGroup && earlyTapsGroup;

        e1w = e1buf + early1.index;
        e2w = e2buf + early2.index;
        ad1w = e.inputDiffuser1.buffer.data() + ad1.index;
        ad2w = e.inputDiffuser2.buffer.data() + ad2.index;
        ad3w = e.inputDiffuser3.buffer.data() + ad3.index;
        ad4w = e.inputDiffuser4.buffer.data() + ad4.index;
        ta1w = e.tankAllpass1.buffer.data() + ta1.index;
        ta2w = e.tankAllpass2.buffer.data() + ta2.index;
        ta3w = e.tankAllpass3.buffer.data() + ta3.index;
        ta4w = e.tankAllpass4.buffer.data() + ta4.index;
        td1w = e.tankDelay1.buffer.data() + td1.index;
        td2w = e.tankDelay2.buffer.data() + td2.index;
        td3w = e.tankDelay3.buffer.data() + td3.index;
        td4w = e.tankDelay4.buffer.data() + td4.index;
        inA = in1p + done;
        inB = in2p + done;
        outA = out1p + done;
        outB = out2p + done;
        return room;
    }

    // True when the current segment may run its samples in groups.
    TOVRA_ALWAYS_INLINE bool groups() const { return groupsAllowed; }

    // What stage 1 of a sample hands to its stage 2.
    struct Sample {
        __m128 in;      // in1, in2
        __m128 x;       // band-limited inputs x1, x2
        __m128 damped;  // damping filter outputs
        float mix;      // mixNow
        float decay;    // decayNow
        int preDelayLength;
    };

    // Stage 1 of sample s of the segment: reads both inputs (nothing of this
    // sample is written yet), moves the smoothed values and steps the filters.
    TOVRA_ALWAYS_INLINE void readSample(int s, Sample& out) {
        prepareSample(s, out);
        stepFilters(inputFilters, out.in, tankFilters, tankIn);
        takeFilterOutputs(out);
    }

    // Stage 1 of this unit and of another beside it, their filters stepped
    // together.
    template <bool kOtherLateOnly>
    TOVRA_ALWAYS_INLINE void readSampleBeside(BlockRun<kOtherLateOnly>& other, int s, Sample& out,
                                              typename BlockRun<kOtherLateOnly>::Sample& otherOut) {
        prepareSample(s, out);
        other.prepareSample(s, otherOut);
        stepFilters(inputFilters, out.in, tankFilters, tankIn, other.inputFilters, otherOut.in,
                    other.tankFilters, other.tankIn);
        takeFilterOutputs(out);
        other.takeFilterOutputs(otherOut);
    }

    // Stage 2 of sample s: early reflections, pre-delay, diffusers, tank,
    // output mix; writes the sample's outputs.
    TOVRA_ALWAYS_INLINE void finishSample(int s, const Sample& sample) {
        const __m128 in = sample.in;
        const __m128 x = sample.x;
        const __m128 damped = sample.damped;
        const float decayNow = sample.decay;
        diffusion = decayDiffusion(decayNow);
        if (_mm_movemask_ps(_mm_cmplt_ps(_mm_and_ps(x, absMask()), _mm_set1_ps(kLargeSignal))) !=
            0xf)
            large = largeSpan;
        const float x1 = _mm_cvtss_f32(x);
        const float x2 = lane(x, 1);
        const __m128d xd = _mm_cvtps_pd(x);  // x1, x2 in double precision
        const float damped1 = _mm_cvtss_f32(damped);
        const float damped2 = lane(damped, 1);

        __m128 early = _mm_setzero_ps();  // e1, e2
        if (!kLateOnly) early = earlyReflections(s, xd);

        const float p = prebuf[prei];
        prebuf[prei] = 0.5f * (x1 + x2);
        prei = advance(prei, sample.preDelayLength);

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

        fb2 = s4 * decayNow;
        fb1 = s2 * decayNow;

        // late1 and late2 side by side, each term 0.6 times a tap in double
        // precision, summed left to right: three taps added, four subtracted.
        const __m128d k = _mm_set1_pd(0.6);
        auto term = [k, s](const float* tap1, const float* tap2) {
            return _mm_mul_pd(
                k, _mm_cvtps_pd(_mm_unpacklo_ps(_mm_load_ss(tap1 + s), _mm_load_ss(tap2 + s))));
        };
        __m128d sum = _mm_add_pd(term(t3b, t1c), term(t3a, t1b));
        sum = _mm_add_pd(sum, term(t4a, t2b));
        sum = _mm_sub_pd(sum, term(a4a, a2b));
        sum = _mm_sub_pd(sum, term(t1a, t3c));
        sum = _mm_sub_pd(sum, term(a2a, a4b));
        sum = _mm_sub_pd(sum, term(t2a, t4b));
        const __m128 late = _mm_cvtpd_ps(sum);  // late1, late2, 0, 0

        __m128 w;  // w1, w2
        if (kLateOnly) {
            // (1 - 1) * e + 1 * late is late for every finite e, except that
            // a late of -0 keeps its sign only when 0 * e is -0 too.
            if (large > 0 || (negativeZeros(late) & 3) != 0)
                w = weighEarlyAndLate(earlyReflections(s, xd), late);
            else
                w = late;
        } else {
            w = weighEarlyAndLate(early, late);
        }

        // The early lines take their inputs last: nothing else reads them.
        //   line 1: 0.5 x1 + 0.3 x2;  line 2: 0.3 x1 + 0.5 x2
        const __m128 earlyIn = _mm_cvtpd_ps(
            _mm_add_pd(_mm_mul_pd(_mm_unpacklo_pd(xd, xd), _mm_setr_pd(0.5, 0.3)),
                       _mm_mul_pd(_mm_unpackhi_pd(xd, xd), _mm_setr_pd(0.3, 0.5))));
        _mm_store_ss(e1w + s, earlyIn);
        _mm_store_ss(e2w + s, _mm_shuffle_ps(earlyIn, earlyIn, 1));
        if (large > 0) --large;

        // gain * (in + mixNow * (w - in)) for both channels.
        const __m128 out = _mm_mul_ps(
            _mm_set1_ps(gainNow),
            _mm_add_ps(in, _mm_mul_ps(_mm_set1_ps(sample.mix), _mm_sub_ps(w, in))));
        _mm_store_ss(outA + s, out);
        _mm_store_ss(outB + s, _mm_shuffle_ps(out, out, 1));
    }

    // Stage 2 of samples s to s + kGroup - 1 of the segment, whose stage 1
    // made g; only while groups() allows. The same steps as finishSample,
    // each on four samples at once, and the reads of a line before its
    // writes (see groups()).
    TOVRA_ALWAYS_INLINE void finishGroup(int s, const Sample (&g)[kGroup]) {
        __m128 x1, x2, damped1, damped2;
        transpose(g[0].x, g[1].x, g[2].x, g[3].x, x1, x2);
        transpose(g[0].damped, g[1].damped, g[2].damped, g[3].damped, damped1, damped2);
        const __m128 in1 = _mm_loadu_ps(inA + s);
        const __m128 in2 = _mm_loadu_ps(inB + s);
        const __m128 mix = steadyMix ? _mm_set1_ps(g[0].mix)
                                     : _mm_setr_ps(g[0].mix, g[1].mix, g[2].mix, g[3].mix);
        __m128 decay, diff;
        if (steadyDecay) {
            decay = _mm_set1_ps(g[0].decay);
            diff = _mm_set1_ps(steadyDiffusion);
            diffusion = steadyDiffusion;
        } else {
            decay = _mm_setr_ps(g[0].decay, g[1].decay, g[2].decay, g[3].decay);
            diff = decayDiffusion(decay);
            diffusion = lastLane(diff);
        }

        // Late reverberation: what the taps held before this group.
        const __m128 late1 = lateSum(t3b + s, t3a + s, t4a + s, a4a + s, t1a + s, a2a + s, t2a + s);
        const __m128 late2 = lateSum(t1c + s, t1b + s, t2b + s, a2b + s, t3c + s, a4b + s, t4b + s);

        // Bit k of largeBits: x1 or x2 of sample k is large.
        const __m128 limit = _mm_set1_ps(kLargeSignal);
        const int largeBits =
            _mm_movemask_ps(_mm_and_ps(_mm_cmplt_ps(_mm_and_ps(x1, absMask()), limit),
                                       _mm_cmplt_ps(_mm_and_ps(x2, absMask()), limit))) ^
            0xf;
        __m128 w1 = late1, w2 = late2;
        if (kLateOnly) {
            const int negativeZero = negativeZeros(late1) | negativeZeros(late2);
            if ((large | largeBits | negativeZero) != 0)
                weighLateOnlyOneByOne(s, g, largeBits, w1, w2);
            // Otherwise large stays 0: nothing to count down.
        } else {
            alignas(16) float e1[kGroup], e2[kGroup];
            for (int k = 0; k < kGroup; ++k) {
                if (largeBits & (1 << k)) large = largeSpan;
                const __m128 early = earlyReflections(s + k, _mm_cvtps_pd(g[k].x));
                e1[k] = _mm_cvtss_f32(early);
                e2[k] = lane(early, 1);
                if (large > 0) --large;
            }
            w1 = weighEarlyAndLate(_mm_load_ps(e1), late1);
            w2 = weighEarlyAndLate(_mm_load_ps(e2), late2);
        }

        // Pre-delay and input diffusers.
        const __m128 p = preDelayGroup(_mm_mul_ps(_mm_set1_ps(0.5f), _mm_add_ps(x1, x2)), g);
        __m128 d = allpassGroup(ad1w + s, ad1g, p);
        d = allpassGroup(ad2w + s, ad2g, d);
        d = allpassGroup(ad3w + s, ad3g, d);
        d = allpassGroup(ad4w + s, ad4g, d);

        // Tank. Each sample's feedback is the previous sample's delayed
        // output times its decay: the lines' old contents, known up front.
        const __m128 s2 = _mm_loadu_ps(td2w + s);
        const __m128 s4 = _mm_loadu_ps(td4w + s);
        const __m128 fb2Made = _mm_mul_ps(s4, decay);
        const __m128 fb1Made = _mm_mul_ps(s2, decay);
        const __m128 fb2Used = shiftIn(fb2Made, fb2);
        const __m128 fb1Used = shiftIn(fb1Made, fb1);
        fb2 = lastLane(fb2Made);
        fb1 = lastLane(fb1Made);
        const __m128 density = _mm_set1_ps(densityNow);
        {  // branch 1
            const __m128 v = _mm_add_ps(d, fb2Used);
            const __m128 y = _mm_sub_ps(_mm_loadu_ps(ta1w + s), _mm_mul_ps(density, v));
            _mm_storeu_ps(ta1w + s, _mm_add_ps(v, _mm_mul_ps(density, y)));
            _mm_storeu_ps(td1w + s, y);
            const __m128 y2 = _mm_sub_ps(_mm_loadu_ps(ta2w + s), _mm_mul_ps(diff, damped1));
            _mm_storeu_ps(ta2w + s, _mm_add_ps(damped1, _mm_mul_ps(diff, y2)));
            _mm_storeu_ps(td2w + s, y2);
        }
        {  // branch 2
            const __m128 v = _mm_add_ps(d, fb1Used);
            const __m128 y = _mm_sub_ps(_mm_loadu_ps(ta3w + s), _mm_mul_ps(density, v));
            _mm_storeu_ps(ta3w + s, _mm_add_ps(v, _mm_mul_ps(density, y)));
            _mm_storeu_ps(td3w + s, y);
            const __m128 y2 = _mm_sub_ps(_mm_loadu_ps(ta4w + s), _mm_mul_ps(diff, damped2));
            _mm_storeu_ps(ta4w + s, _mm_add_ps(damped2, _mm_mul_ps(diff, y2)));
            _mm_storeu_ps(td4w + s, y2);
        }

        // Early lines: 0.5 x1 + 0.3 x2 and 0.3 x1 + 0.5 x2 in double precision.
        {
            const __m128d x1lo = _mm_cvtps_pd(x1), x1hi = _mm_cvtps_pd(_mm_movehl_ps(x1, x1));
            const __m128d x2lo = _mm_cvtps_pd(x2), x2hi = _mm_cvtps_pd(_mm_movehl_ps(x2, x2));
            const __m128d a = _mm_set1_pd(0.5), b = _mm_set1_pd(0.3);
            _mm_storeu_ps(e1w + s, joinHalves(_mm_add_pd(_mm_mul_pd(a, x1lo), _mm_mul_pd(b, x2lo)),
                                              _mm_add_pd(_mm_mul_pd(a, x1hi), _mm_mul_pd(b, x2hi))));
            _mm_storeu_ps(e2w + s, joinHalves(_mm_add_pd(_mm_mul_pd(b, x1lo), _mm_mul_pd(a, x2lo)),
                                              _mm_add_pd(_mm_mul_pd(b, x1hi), _mm_mul_pd(a, x2hi))));
        }

        const __m128 gain = _mm_set1_ps(gainNow);
        _mm_storeu_ps(outA + s,
                      _mm_mul_ps(gain, _mm_add_ps(in1, _mm_mul_ps(mix, _mm_sub_ps(w1, in1)))));
        _mm_storeu_ps(outB + s,
                      _mm_mul_ps(gain, _mm_add_ps(in2, _mm_mul_ps(mix, _mm_sub_ps(w2, in2)))));
    }

    // Moves every line on past the n samples the segment ran.
    TOVRA_ALWAYS_INLINE void endSegment(int n) {
        forEachCursor([n](Cursor& c) { c.index = skipAhead(c.index, n, c.length); });
    }

    // Puts the state back into the unit at the end of the block.
    TOVRA_ALWAYS_INLINE void finish() {
        inputFilters.store(e.bandwidthFilter1, e.bandwidthFilter2);
        tankFilters.store(e.dampingFilter1, e.dampingFilter2);
        e.preDelayNow = lane(smoothed, kPreDelayLane);
        e.mixNow = lane(smoothed, kMixLane);
        e.bandwidthHzNow = lane(smoothed, kBandwidthLane);
        e.dampingHzNow = lane(smoothed, kDampingLane);
        e.decayNow = decayN;
        e.feedback1 = fb1;
        e.feedback2 = fb2;
        e.decayDiffusion2 = diffusion;
        e.tankAllpass2.gain = e.tankAllpass4.gain = diffusion;
        e.tankAllpass1.gain = e.tankAllpass3.gain = densityNow;
        e.controlCounter = counter;
        e.earlyLinesLarge = large;

        storeTaps(e.earlyLine1, early1.index);
        storeTaps(e.earlyLine2, early2.index);
        e.preDelayLine.writeIndex = prei;
        e.preDelayLine.length = prelen;
        e.inputDiffuser1.index = ad1.index;
        e.inputDiffuser2.index = ad2.index;
        e.inputDiffuser3.index = ad3.index;
        e.inputDiffuser4.index = ad4.index;
        storeTaps(e.tankAllpass1, ta1.index);
        storeTaps(e.tankAllpass2, ta2.index);
        storeTaps(e.tankAllpass3, ta3.index);
        storeTaps(e.tankAllpass4, ta4.index);
        storeTaps(e.tankDelay1, td1.index);
        storeTaps(e.tankDelay2, td2.index);
        storeTaps(e.tankDelay3, td3.index);
        storeTaps(e.tankDelay4, td4.index);
    }

private:
    template <bool>
    friend class ReverbEngine::BlockRun;

    // A line's write index and its length.
    struct Cursor {
        int index;
        int length;
    };

    // f(cursor) for every line's cursor, written out: a loop over the
    // cursors' addresses would keep them (and the whole run) in memory.
    template <class F>
    TOVRA_ALWAYS_INLINE void forEachCursor(F f) {
        f(early1);
        f(early2);
        f(ad1);
        f(ad2);
        f(ad3);
        f(ad4);
        f(ta1);
        f(ta2);
        f(ta3);
        f(ta4);
        f(td1);
        f(td2);
        f(td3);
        f(td4);
    }

    // Stage 1 up to the filter steps: their inputs in out.in and tankIn.
    TOVRA_ALWAYS_INLINE void prepareSample(int s, Sample& out) {
        out.in = _mm_unpacklo_ps(_mm_load_ss(inA + s), _mm_load_ss(inB + s));

        smoothed = _mm_add_ps(smoothed, smoothingStep);
        decayN += steps.decay;

        if (counter >= interval) {
            counter = 0;
            e.bandwidthHzNow = lane(smoothed, kBandwidthLane);
            e.dampingHzNow = lane(smoothed, kDampingLane);
            e.updateCoefficients();
            inputFilters.setCoefficients(e.bandwidthFilter1.coefficient,
                                         e.bandwidthFilter2.coefficient);
            tankFilters.setCoefficients(e.dampingFilter1.coefficient, e.dampingFilter2.coefficient);
        }
        counter += 1;

        prelen = steadyPreDelay ? steadyPreDelayLength
                                : clampedLength(_mm_cvtss_f32(smoothed));  // kPreDelayLane

        out.mix = lane(smoothed, kMixLane);
        out.decay = decayN;
        out.preDelayLength = prelen;

        // The damping filters' inputs are the tank delays' outputs, known
        // before anything of this sample is written.
        tankIn = _mm_unpacklo_ps(_mm_load_ss(td1w + s), _mm_load_ss(td3w + s));
    }

    TOVRA_ALWAYS_INLINE void takeFilterOutputs(Sample& out) {
        out.x = inputFilters.low;
        out.damped = tankFilters.low;
    }

    // decayDiffusion2 from decayNow: decayNow + 0.15 in double precision,
    // limited to 0.25..0.5 (a NaN stays NaN).
    TOVRA_ALWAYS_INLINE static float decayDiffusion(float decayNow) {
        double dd = static_cast<double>(decayNow) + 0.15;
        if (dd < 0.25) dd = 0.25;
        if (dd > 0.5) dd = 0.5;
        return static_cast<float>(dd);
    }

    // The same for four samples. max(0.25, v) is 0.25 where 0.25 > v and v
    // otherwise (NaN included), min(0.5, v) likewise: the scalar tests.
    TOVRA_ALWAYS_INLINE static __m128 decayDiffusion(__m128 decayNow) {
        auto limit = [](__m128d v) {
            v = _mm_add_pd(v, _mm_set1_pd(0.15));
            return _mm_min_pd(_mm_set1_pd(0.5), _mm_max_pd(_mm_set1_pd(0.25), v));
        };
        return joinHalves(limit(_mm_cvtps_pd(decayNow)),
                          limit(_mm_cvtps_pd(_mm_movehl_ps(decayNow, decayNow))));
    }

    // Four floats from two pairs of doubles, each rounded.
    TOVRA_ALWAYS_INLINE static __m128 joinHalves(__m128d lo, __m128d hi) {
        return _mm_movelh_ps(_mm_cvtpd_ps(lo), _mm_cvtpd_ps(hi));
    }

    // 0.6 * (a + b + c - d - f - g - h), the taps of four samples, each term
    // 0.6 times the tap in double precision, summed left to right.
    TOVRA_ALWAYS_INLINE static __m128 lateSum(const float* a, const float* b, const float* c,
                                              const float* d, const float* f, const float* g,
                                              const float* h) {
        const __m128d k = _mm_set1_pd(0.6);
        auto half = [k](const float* p) { return _mm_mul_pd(k, widenPairAt(p)); };
        auto sum = [&half](const float* a, const float* b, const float* c, const float* d,
                           const float* f, const float* g, const float* h) {
            __m128d t = _mm_add_pd(half(a), half(b));
            t = _mm_add_pd(t, half(c));
            t = _mm_sub_pd(t, half(d));
            t = _mm_sub_pd(t, half(f));
            t = _mm_sub_pd(t, half(g));
            return _mm_sub_pd(t, half(h));
        };
        return joinHalves(sum(a, b, c, d, f, g, h),
                          sum(a + 2, b + 2, c + 2, d + 2, f + 2, g + 2, h + 2));
    }

    // An all-pass step of four samples at buffer[0..3]: y = buffer - gain *
    // v, buffer = v + gain * y.
    TOVRA_ALWAYS_INLINE static __m128 allpassGroup(float* buffer, float gain, __m128 v) {
        const __m128 g = _mm_set1_ps(gain);
        const __m128 y = _mm_sub_ps(_mm_loadu_ps(buffer), _mm_mul_ps(g, v));
        _mm_storeu_ps(buffer, _mm_add_ps(v, _mm_mul_ps(g, y)));
        return y;
    }

    // The pre-delay for a group: takes the four inputs, answers the four
    // outputs. The length may change from sample to sample; while the four
    // positions follow each other without a wrap they are one vector, and
    // while the line is one sample long (pre-delay 0) each sample takes the
    // one before.
    TOVRA_ALWAYS_INLINE __m128 preDelayGroup(__m128 input, const Sample (&g)[kGroup]) {
        int at[kGroup];
        at[0] = prei;
        for (int k = 1; k < kGroup; ++k) at[k] = advance(at[k - 1], g[k - 1].preDelayLength);
        const int next = advance(at[kGroup - 1], g[kGroup - 1].preDelayLength);
        __m128 p;
        if (at[kGroup - 1] == at[0] + kGroup - 1) {
            p = _mm_loadu_ps(prebuf + at[0]);
            _mm_storeu_ps(prebuf + at[0], input);
        } else if ((at[0] | at[1] | at[2] | at[3]) == 0) {
            p = shiftIn(input, prebuf[0]);
            prebuf[0] = lastLane(input);
        } else {
            alignas(16) float in[kGroup], out[kGroup];
            _mm_store_ps(in, input);
            for (int k = 0; k < kGroup; ++k) {
                out[k] = prebuf[at[k]];
                prebuf[at[k]] = in[k];
            }
            p = _mm_load_ps(out);
        }
        prei = next;
        return p;
    }

    // The weights of a late-only group where some sample needs the early
    // reflections after all (see finishSample), one sample at a time.
    TOVRA_ALWAYS_INLINE void weighLateOnlyOneByOne(int s, const Sample (&g)[kGroup],
                                                   int largeBits, __m128& w1, __m128& w2) {
        alignas(16) float late1[kGroup], late2[kGroup];
        _mm_store_ps(late1, w1);
        _mm_store_ps(late2, w2);
        for (int k = 0; k < kGroup; ++k) {
            if (largeBits & (1 << k)) large = largeSpan;
            if (large > 0 || isNegativeZero(late1[k]) || isNegativeZero(late2[k])) {
                const __m128 w = weighEarlyAndLate(earlyReflections(s + k, _mm_cvtps_pd(g[k].x)),
                                                   _mm_setr_ps(late1[k], late2[k], 0.0f, 0.0f));
                late1[k] = _mm_cvtss_f32(w);
                late2[k] = lane(w, 1);
            }
            if (large > 0) --large;
        }
        w1 = _mm_load_ps(late1);
        w2 = _mm_load_ps(late2);
    }

    // The four samples' (x1, x2) pairs as x1 of each and x2 of each.
    TOVRA_ALWAYS_INLINE static void transpose(__m128 s0, __m128 s1, __m128 s2, __m128 s3,
                                              __m128& first, __m128& second) {
        const __m128 a = _mm_unpacklo_ps(s0, s1);  // s0[0] s1[0] s0[1] s1[1]
        const __m128 b = _mm_unpacklo_ps(s2, s3);
        first = _mm_movelh_ps(a, b);
        second = _mm_movehl_ps(b, a);
    }

    // (carried, v[0], v[1], v[2]): each sample takes what the one before made.
    TOVRA_ALWAYS_INLINE static __m128 shiftIn(__m128 v, float carried) {
        return _mm_move_ss(_mm_shuffle_ps(v, v, _MM_SHUFFLE(2, 1, 0, 0)), _mm_set_ss(carried));
    }

    TOVRA_ALWAYS_INLINE static float lastLane(__m128 v) {
        return _mm_cvtss_f32(_mm_shuffle_ps(v, v, _MM_SHUFFLE(3, 3, 3, 3)));
    }

    // Bit k set where lane k is -0.
    TOVRA_ALWAYS_INLINE static int negativeZeros(__m128 v) {
        const __m128i negativeZero = _mm_set1_epi32(static_cast<int>(0x80000000u));
        return _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(_mm_castps_si128(v), negativeZero)));
    }

    TOVRA_ALWAYS_INLINE static __m128 absMask() {
        return _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff));
    }

    // Lane k (0..3) of v.
    TOVRA_ALWAYS_INLINE static float lane(__m128 v, int k) {
        alignas(16) float f[4];
        _mm_store_ps(f, v);
        return f[k];
    }

    // Early reflection outputs e1, e2 of sample s of the segment from the
    // lines' taps, read before the lines take this sample's input; xd holds
    // the band-limited inputs x1, x2 in double precision.
    TOVRA_ALWAYS_INLINE __m128 earlyReflections(int s, __m128d xd) const {
        const double x1d = _mm_cvtsd_f64(xd);
        const double x2d = _mm_cvtsd_f64(_mm_unpackhi_pd(xd, xd));
        const float e1 = earlyReflection(e1buf, early1.index + s, e1off, e1len, x1d, x2d);
        const float e2 = earlyReflection(e2buf, early2.index + s, e2off, e2len, x2d, x1d);
        return _mm_setr_ps(e1, e2, 0.0f, 0.0f);
    }

    // One early line's output at index i: its delayed sample, its own input
    // xOwn and the other channel's xOther, and its six taps, in double.
    static TOVRA_ALWAYS_INLINE float earlyReflection(const float* buf, int i, const int* off,
                                                     int len, double xOwn, double xOther) {
        const double t1 = buf[tapAt(i, off[1], len)];
        const double t2 = buf[tapAt(i, off[2], len)];
        const double t3 = buf[tapAt(i, off[3], len)];
        const double t4 = buf[tapAt(i, off[4], len)];
        const double t5 = buf[tapAt(i, off[5], len)];
        const double t6 = buf[tapAt(i, off[6], len)];
        const double y = buf[i];
        return static_cast<float>(y + 0.5 * (0.4 * xOwn + 0.2 * xOther) + 0.6 * t1 + 0.4 * t2 +
                                  0.3 * (t3 + t4) + 0.1 * (t5 + t6));
    }

    // (1 - earlyMix) * early + earlyMix * late, lane by lane.
    TOVRA_ALWAYS_INLINE __m128 weighEarlyAndLate(__m128 early, __m128 late) const {
        return _mm_add_ps(_mm_mul_ps(_mm_set1_ps(1.0f - earlyMixNow), early),
                          _mm_mul_ps(_mm_set1_ps(earlyMixNow), late));
    }

    // Lanes of the smoothed values that move together.
    static constexpr int kPreDelayLane = 0;
    static constexpr int kMixLane = 1;
    static constexpr int kBandwidthLane = 2;
    static constexpr int kDampingLane = 3;

    ReverbEngine& e;
    const SmoothingSteps steps;
    const float* const in1p;
    const float* const in2p;
    float* const out1p;
    float* const out2p;
    const float gainNow;
    const float earlyMixNow;
    const float densityNow;

    FilterPair inputFilters, tankFilters;
    // preDelayNow, mixNow, bandwidthHzNow and dampingHzNow (the k...Lane
    // constants), and their steps for the block; decayNow on its own.
    __m128 smoothed, smoothingStep;
    float decayN;
    float fb1, fb2;
    float diffusion;  // decayDiffusion2 of the last sample through stage 2
    int counter, interval, large;

    float* e1buf;
    float* e2buf;
    float* prebuf;
    int e1len, e2len, largeSpan;
    const int* e1off;
    const int* e2off;
    int prei, prelen;
    bool steadyDecay, steadyMix, steadyPreDelay;
    float steadyDiffusion;
    int steadyPreDelayLength;
    float ad1g, ad2g, ad3g, ad4g;
    bool earlyTapsGroup;

    Cursor early1, early2, ad1, ad2, ad3, ad4, ta1, ta2, ta3, ta4, td1, td2, td3, td4;

    // The segment: where each line is written and each tank tap read in its
    // first sample, and the segment's part of the inputs and outputs.
    const float *t3b, *t3a, *t4a, *a4a, *t1a, *a2a, *t2a, *t1c, *t1b, *t2b, *a2b, *t3c, *a4b, *t4b;
    float *e1w, *e2w, *ad1w, *ad2w, *ad3w, *ad4w, *ta1w, *ta2w, *ta3w, *ta4w, *td1w, *td2w, *td3w,
        *td4w;
    const float* inA;
    const float* inB;
    float* outA;
    float* outB;
    bool groupsAllowed;

    // The damping filters' inputs of the sample in stage 1.
    __m128 tankIn;
};

void ReverbEngine::process(const float* const* inputs, float* const* outputs, int frames) {
    if (frames <= 0) return;
    if (earlyMix == 1.0f)
        processBlock<true>(inputs, outputs, frames);
    else
        processBlock<false>(inputs, outputs, frames);
}

template <bool kLateOnly>
void ReverbEngine::processBlock(const float* const* inputs, float* const* outputs, int frames) {
    using Run = BlockRun<kLateOnly>;
    constexpr int kGroup = Run::kGroup;
    Run run(*this, inputs, outputs, frames);
    for (int done = 0; done < frames;) {
        const int n = run.startSegment(done, frames - done);
        int s = 0;
        if (run.groups()) {
            for (; s + kGroup <= n; s += kGroup) {
                typename Run::Sample g[kGroup];
                run.readSample(s, g[0]);
                run.readSample(s + 1, g[1]);
                run.readSample(s + 2, g[2]);
                run.readSample(s + 3, g[3]);
                run.finishGroup(s, g);
            }
        }
        for (; s < n; ++s) {
            typename Run::Sample one;
            run.readSample(s, one);
            run.finishSample(s, one);
        }
        run.endSegment(n);
        done += n;
    }
    run.finish();
}

void ReverbEngine::processPair(ReverbEngine& a, const float* const* inputsA,
                               float* const* outputsA, ReverbEngine& b,
                               const float* const* inputsB, float* const* outputsB, int frames) {
    if (frames <= 0) return;
    if (&a == &b) {
        // One unit cannot run beside itself: two blocks, one after the other.
        a.process(inputsA, outputsA, frames);
        b.process(inputsB, outputsB, frames);
        return;
    }
    const bool lateA = a.earlyMix == 1.0f;
    const bool lateB = b.earlyMix == 1.0f;
    if (lateA && lateB)
        processPairBlock<true, true>(a, inputsA, outputsA, b, inputsB, outputsB, frames);
    else if (lateA)
        processPairBlock<true, false>(a, inputsA, outputsA, b, inputsB, outputsB, frames);
    else if (lateB)
        processPairBlock<false, true>(a, inputsA, outputsA, b, inputsB, outputsB, frames);
    else
        processPairBlock<false, false>(a, inputsA, outputsA, b, inputsB, outputsB, frames);
}

template <bool kLateOnlyA, bool kLateOnlyB>
void ReverbEngine::processPairBlock(ReverbEngine& a, const float* const* inputsA,
                                    float* const* outputsA, ReverbEngine& b,
                                    const float* const* inputsB, float* const* outputsB,
                                    int frames) {
    using RunA = BlockRun<kLateOnlyA>;
    using RunB = BlockRun<kLateOnlyB>;
    constexpr int kGroup = RunA::kGroup;
    RunA runA(a, inputsA, outputsA, frames);
    RunB runB(b, inputsB, outputsB, frames);
    for (int done = 0; done < frames;) {
        // A shared segment: as long as both units allow.
        const int n = runB.startSegment(done, runA.startSegment(done, frames - done));
        int s = 0;
        if (runA.groups() && runB.groups()) {
            for (; s + kGroup <= n; s += kGroup) {
                typename RunA::Sample ga[kGroup];
                typename RunB::Sample gb[kGroup];
                runA.readSampleBeside(runB, s, ga[0], gb[0]);
                runA.readSampleBeside(runB, s + 1, ga[1], gb[1]);
                runA.readSampleBeside(runB, s + 2, ga[2], gb[2]);
                runA.readSampleBeside(runB, s + 3, ga[3], gb[3]);
                runA.finishGroup(s, ga);
                runB.finishGroup(s, gb);
            }
        }
        for (; s < n; ++s) {
            typename RunA::Sample oneA;
            typename RunB::Sample oneB;
            runA.readSampleBeside(runB, s, oneA, oneB);
            runA.finishSample(s, oneA);
            runB.finishSample(s, oneB);
        }
        runA.endSegment(n);
        runB.endSegment(n);
        done += n;
    }
    runA.finish();
    runB.finish();
}
