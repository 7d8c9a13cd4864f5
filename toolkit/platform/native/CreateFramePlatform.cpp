// The native build's window layer: the stand-in, which has no window system
// behind it (frames there are driven by tests).
#include "toolkit/StandInFramePlatform.h"

namespace toolkit {

FramePlatform* createFramePlatform() { return new StandInFramePlatform(); }

}  // namespace toolkit
