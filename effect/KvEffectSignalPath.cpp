// KvEffect's block path: processReplacing.
//
// Per slice of at most kMaxBlock frames:
//   Vesk  dry copy; unit 1 straight into the outputs, or, while unit 2
//         runs, both units side by side (ReverbEngine::processPair), unit 1
//         into the scratch buffers and unit 2 into the outputs; unit 1's
//         high-pass, pans and the dry part; then unit 2's high-pass and pans,
//         plus unit 1's sum.
//           out = dryGain * in + wetGain * pan1 * hp1(unit1)
//                               + wetGain * pan2 * hp2(unit2)
//         "Stereo" feeds unit 1 the left input on both of its inputs and
//         unit 2 the right one.
//   Brin  dry copy; the unit straight into the outputs; its high-pass and
//         the mix:  out = dryGain * in + wetGain * hp(unit)
// The dry part is taken from the copy, so the host may process in place.
#include <cstring>

#include "effect/FloatingPointState.h"
#include "effect/KvEffect.h"
#include "effect/SignalPath.h"

inline namespace TOVRA_EDITION_NAMESPACE {

void KvEffect::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    if (sampleFrames <= 0 || !inputs || !outputs) return;
    float* in[2] = {inputs[0], inputs[1]};
    float* out[2] = {outputs[0], outputs[1]};
    if (!in[0] || !in[1] || !out[0] || !out[1]) return;

    ScopedEffectFloatState floatState;
    if (!hasHeapObjects()) {
        // Without its filters (no memory at construction) the effect has no
        // signal path: it passes its input through.
        for (int c = 0; c < 2; ++c)
            if (out[c] != in[c])
                std::memmove(out[c], in[c], static_cast<size_t>(sampleFrames) * sizeof(float));
        return;
    }

    // Slices of kMaxBlock frames: the same result as a host giving blocks of
    // that size.
    VstInt32 done = 0;
    while (done < sampleFrames) {
        const VstInt32 n = sampleFrames - done < kMaxBlock ? sampleFrames - done : kMaxBlock;
        float* sliceIn[2] = {in[0] + done, in[1] + done};
        float* sliceOut[2] = {out[0] + done, out[1] + done};
        processSlice(sliceIn, sliceOut, n);
        done += n;
    }
}

#if defined(TOVRA_EDITION_VESK) && TOVRA_EDITION_VESK

void KvEffect::processSlice(float** inputs, float** outputs, VstInt32 frames) {
    // Settings may change on another thread: read each once per slice.
    const bool runUnit2 = unit2Enabled;
    const bool split = stereoSplit;
    const bool highPass1 = highPass1Enabled;
    const bool highPass2 = highPass2Enabled;
    const float wet = wetGain;
    const float dry = dryGain;
    const float left1 = panLeft1, right1 = panRight1;
    const float left2 = panLeft2, right2 = panRight2;

    const bool clean0 = signal_path::copyInput(inputs[0], dryCopy[0], frames);
    const bool clean1 = signal_path::copyInput(inputs[1], dryCopy[1], frames);
    float* source[2] = {inputs[0], inputs[1]};
    if (!clean0 || !clean1) {
        for (int c = 0; c < 2; ++c) {
            signal_path::guardUnitInput(dryCopy[c], unitInputCopy[c], frames);
            source[c] = unitInputCopy[c];
        }
    }

    float* const dryParts[2] = {dryCopy[0], dryCopy[1]};

    unitInputs[0] = source[0];
    unitInputs[1] = split ? source[0] : source[1];
    if (!runUnit2) {
        unitOutputs[0] = outputs[0];
        unitOutputs[1] = outputs[1];
        unit1.process(unitInputs, unitOutputs, frames);
        signal_path::weightUnit(unitOutputs, unitOutputs, dryParts, dry, highPassLeft1,
                                highPassRight1, highPass1, wet, left1, right1, frames);
        return;
    }

    // Both units at once (the same bits as one after the other): unit 1
    // into the scratch buffers, unit 2 straight into the outputs, which may
    // be the inputs unit 1 reads; processPair reads every input sample
    // before it writes that sample of any output.
    unitOutputs[0] = unitScratch[0];
    unitOutputs[1] = unitScratch[1];
    const float* const unit2Inputs[2] = {split ? source[1] : source[0], source[1]};
    ReverbEngine::processPair(unit1, unitInputs, unitOutputs, unit2, unit2Inputs, outputs, frames);
    signal_path::weightUnit(unitOutputs, unitOutputs, dryParts, dry, highPassLeft1,
                            highPassRight1, highPass1, wet, left1, right1, frames);
    float* const unit1Parts[2] = {unitScratch[0], unitScratch[1]};
    signal_path::weightUnit(outputs, outputs, unit1Parts, 1.0f, highPassLeft2, highPassRight2,
                            highPass2, wet, left2, right2, frames);
}

#else  // Brin

void KvEffect::processSlice(float** inputs, float** outputs, VstInt32 frames) {
    const bool highPass = highPassEnabled;
    const float wet = wetGain;
    const float dry = dryGain;

    const bool clean0 = signal_path::copyInput(inputs[0], dryCopy[0], frames);
    const bool clean1 = signal_path::copyInput(inputs[1], dryCopy[1], frames);
    float* source[2] = {inputs[0], inputs[1]};
    if (!clean0 || !clean1) {
        for (int c = 0; c < 2; ++c) {
            signal_path::guardUnitInput(dryCopy[c], unitInputCopy[c], frames);
            source[c] = unitInputCopy[c];
        }
    }

    unit.process(source, outputs, frames);
    // dry * dryGain + unit * wetGain; the unit part's pan factor of 1 is
    // exact, and the sum is the same in either order.
    float* const dryParts[2] = {dryCopy[0], dryCopy[1]};
    signal_path::weightUnit(outputs, outputs, dryParts, dry, highPassLeft, highPassRight,
                            highPass, wet, 1.0f, 1.0f, frames);
}

#endif

}  // inline namespace TOVRA_EDITION_NAMESPACE
