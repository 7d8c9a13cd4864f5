// The built-in test signal: about four seconds that show what the reverb
// does, then silence (the tool appends the tail):
//   0.0 s  clicks: both channels, left, right, both, a quarter second apart
//   1.0 s  a half-second burst of stereo noise
//   2.0 s  a chord (A minor with the octave) for 1.5 s, fading out
//   3.5 s  silence up to 4 s
// Made from integer noise and deterministic sines, so every build and every
// run produces the same samples for the same rate.
#pragma once

#include <vector>

#include "tools/render/AudioFile.h"

namespace render {

// The whole signal at rate Hz, one vector per channel.
void makeTestSignal(int rate, std::vector<float>& left, std::vector<float>& right);

// The signal as an input.
std::unique_ptr<AudioInput> openTestSignal(int rate);

}  // namespace render
