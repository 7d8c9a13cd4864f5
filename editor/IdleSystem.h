// The three system services the editor's throttled idle routine needs: the
// millisecond tick count, a short sleep and the dispatch of one pending paint
// message of the calling thread. platform() answers the real ones (on
// Windows GetTickCount, Sleep and PeekMessageW/DispatchMessageW for WM_PAINT;
// natively a steady clock, a thread sleep and nothing to dispatch). Tests give
// an editor a scripted clock instead, so the throttling can be checked
// without waiting.
#pragma once

#include <cstdint>

class IdleSystem {
public:
    virtual ~IdleSystem() = default;

    // Milliseconds since some fixed start; wraps around after 2^32 ms.
    virtual uint32_t tickCount() = 0;
    virtual void sleep(uint32_t milliseconds) = 0;
    // Removes one WM_PAINT waiting for the calling thread, if any, and
    // dispatches it to its window (which repaints at once).
    virtual void dispatchPendingPaint() = 0;

    // The process-wide real services; never null, never destroyed.
    static IdleSystem& platform();
};
