#include "editor/IdleSystem.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#include <thread>
#endif

namespace {

#ifdef _WIN32

// The message record receiving the fetched paint message is one process-wide
// value, as every editor of the library runs on the host's one UI thread.
MSG idleMessage{};

class PlatformIdleSystem final : public IdleSystem {
public:
    uint32_t tickCount() override { return GetTickCount(); }
    void sleep(uint32_t milliseconds) override { Sleep(milliseconds); }
    void dispatchPendingPaint() override {
        if (PeekMessageW(&idleMessage, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            DispatchMessageW(&idleMessage);
    }
};

#else

class PlatformIdleSystem final : public IdleSystem {
public:
    uint32_t tickCount() override {
        using namespace std::chrono;
        return static_cast<uint32_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void sleep(uint32_t milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    // No native window system: there is never a paint message waiting.
    void dispatchPendingPaint() override {}
};

#endif

}  // namespace

IdleSystem& IdleSystem::platform() {
    static PlatformIdleSystem system;
    return system;
}
