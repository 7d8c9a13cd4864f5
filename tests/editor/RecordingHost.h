// Test doubles for the editor tests: a host callback that records the
// requests an effect makes (automate, begin-edit, end-edit, idle), a small
// effect that stores its parameters and mirrors them into its editor the way
// the plug-in's effect does, and a window layer that needs no window system.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "editor/AEffGUIEditor.h"
#include "host/AudioEffectX.h"
#include "toolkit/FramePlatform.h"

namespace editor_test {

struct HostRequest {
    int32_t opcode;
    int32_t index;
    float value;
};

// One host per test: install() makes it the target of callback().
class RecordingHost {
public:
    RecordingHost() { current = this; }
    ~RecordingHost() { current = nullptr; }

    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt);

    // Requests other than the version query, in order.
    std::vector<HostRequest> requests;
    // Called for each audioMasterIdle, after it was recorded.
    std::function<void()> onIdle;

    // "automate 13 0.505", "begin-edit 13", "end-edit 13", "idle".
    std::vector<std::string> lines() const;
    void clear() { requests.clear(); }

private:
    static RecordingHost* current;
};

// Stores parameters and writes each change into the editor, as the plug-in
// effect does.
class TestEffect : public AudioEffectX {
public:
    explicit TestEffect(int32_t numParams);

    void processReplacing(float**, float**, VstInt32) override {}
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;

    AEffGUIEditor* guiEditor() { return static_cast<AEffGUIEditor*>(editor); }

private:
    std::vector<float> values;
};

// A window layer without windows: counts invalidations and answers the
// queries with neutral values.
class CountingFramePlatform : public toolkit::FramePlatform {
public:
    void initialiseDragService() override {}
    void uninitialiseDragService() override {}
    void createWindow(toolkit::PlatformWindow parent) override { parentHandle = parent; }
    void destroyWindow() override {}
    toolkit::PlatformWindow window() const override { return nullptr; }
    toolkit::PlatformWindow parentWindow() const override { return parentHandle; }
    void invalidateRect(const toolkit::CRectangle& rect) override { invalidated.push_back(rect); }
    void requestMouseLeave() override {}
    uint32_t ticks() override { return 0; }
    bool hostWindowPosition(int32_t& x, int32_t& y) override {
        x = y = 0;
        return true;
    }
    bool hostWindowRect(toolkit::CRectangle& rect) override {
        rect = toolkit::CRectangle();
        return true;
    }
    bool mouseLocation(toolkit::CPosition& where) override {
        where = toolkit::CPosition();
        return true;
    }
    int32_t mouseButtons() override { return 0; }
    void setCursor(toolkit::CursorType) override {}
    void restoreCursor() override {}
    bool resizeWindowChain(int32_t, int32_t) override { return false; }
    void releaseBackBuffer() override {}
    bool registerDropTarget() override { return true; }
    void revokeDropTarget() override {}
    toolkit::CDrawContext* makeDrawContext() override;

    std::vector<toolkit::CRectangle> invalidated;

private:
    toolkit::PlatformWindow parentHandle = nullptr;
};

}  // namespace editor_test
