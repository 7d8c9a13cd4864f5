// The host-facing editor: what the effect's dispatcher calls when the host
// asks for the editor's size (effEditGetRect), opens or closes it
// (effEditOpen, effEditClose), gives it idle time (effEditIdle), passes keys
// (effEditKeyDown, effEditKeyUp) or sets the knob mode (effSetEditKnobMode).
//
// This base does as little as a window-less editor can: it remembers the
// host's window between open and close and answers false to everything
// else. AEffGUIEditor builds the real behaviour on a toolkit frame.
//
// The effect owns its editor and deletes it through the virtual destructor;
// the editor never owns the effect.
#pragma once

#include <cstdint>

#include "editor/ERect.h"
#include "toolkit/VstKeyCode.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect) : effect(effect) {}
    virtual ~AEffEditor() = default;

    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    virtual AudioEffect* getEffect() { return effect; }

    // Writes the address of the editor's rectangle into *rect and answers
    // true; the base has none, writes null (when rect is not null) and
    // answers false.
    virtual bool getRect(ERect** rect) {
        if (rect) *rect = nullptr;
        return false;
    }

    // window: the host's parent window (an HWND on Windows), may be null.
    virtual bool open(void* window) {
        parentWindow = window;
        return false;
    }
    virtual void close() { parentWindow = nullptr; }
    virtual bool isOpen() { return parentWindow != nullptr; }
    virtual void idle() {}

    virtual bool onKeyDown(toolkit::VstKeyCode& /*key*/) { return false; }
    virtual bool onKeyUp(toolkit::VstKeyCode& /*key*/) { return false; }
    virtual bool onWheel(float /*distance*/) { return false; }

    // mode 2 drags knobs linearly, any other value circularly.
    virtual bool setKnobMode(int32_t /*mode*/) { return false; }

protected:
    AudioEffect* effect = nullptr;
    void* parentWindow = nullptr;
};
