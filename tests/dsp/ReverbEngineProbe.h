// Access to a ReverbEngine's members for tests: member pointers that the
// tests read through (engine.*ReverbEngineProbe::tankDelay1) and, to stage
// odd states, write through; and the unit's plain per-sample reference loop,
// which the optimised process must match bit for bit.
#pragma once

#include "dsp/ReverbEngine.h"

struct ReverbEngineProbe {
    static constexpr auto bandwidthFilter1 = &ReverbEngine::bandwidthFilter1;
    static constexpr auto bandwidthFilter2 = &ReverbEngine::bandwidthFilter2;
    static constexpr auto earlyLine1 = &ReverbEngine::earlyLine1;
    static constexpr auto earlyLine2 = &ReverbEngine::earlyLine2;
    static constexpr auto preDelayLine = &ReverbEngine::preDelayLine;
    static constexpr auto inputDiffuser1 = &ReverbEngine::inputDiffuser1;
    static constexpr auto inputDiffuser2 = &ReverbEngine::inputDiffuser2;
    static constexpr auto inputDiffuser3 = &ReverbEngine::inputDiffuser3;
    static constexpr auto inputDiffuser4 = &ReverbEngine::inputDiffuser4;
    static constexpr auto tankAllpass1 = &ReverbEngine::tankAllpass1;
    static constexpr auto tankAllpass2 = &ReverbEngine::tankAllpass2;
    static constexpr auto tankAllpass3 = &ReverbEngine::tankAllpass3;
    static constexpr auto tankAllpass4 = &ReverbEngine::tankAllpass4;
    static constexpr auto tankDelay1 = &ReverbEngine::tankDelay1;
    static constexpr auto tankDelay2 = &ReverbEngine::tankDelay2;
    static constexpr auto tankDelay3 = &ReverbEngine::tankDelay3;
    static constexpr auto tankDelay4 = &ReverbEngine::tankDelay4;
    static constexpr auto dampingFilter1 = &ReverbEngine::dampingFilter1;
    static constexpr auto dampingFilter2 = &ReverbEngine::dampingFilter2;

    static constexpr auto size = &ReverbEngine::size;
    static constexpr auto mixNow = &ReverbEngine::mixNow;
    static constexpr auto bandwidthHzNow = &ReverbEngine::bandwidthHzNow;
    static constexpr auto dampingHzNow = &ReverbEngine::dampingHzNow;
    static constexpr auto preDelayNow = &ReverbEngine::preDelayNow;
    static constexpr auto decayNow = &ReverbEngine::decayNow;
    static constexpr auto decayDiffusion2 = &ReverbEngine::decayDiffusion2;
    static constexpr auto feedback1 = &ReverbEngine::feedback1;
    static constexpr auto feedback2 = &ReverbEngine::feedback2;
    static constexpr auto controlCounter = &ReverbEngine::controlCounter;

    static void processReference(ReverbEngine& e, const float* const* in, float* const* out,
                                 int frames) {
        if (frames > 0) e.processLiteral(in, out, frames);
    }
};
