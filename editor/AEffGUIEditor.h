// The editor base that joins the host-facing AEffEditor and the toolkit-facing
// EditorInterface on top of a toolkit frame. The plug-in's Editor derives from
// it and creates the frame in open() and deletes it in close().
//
// Host side: getRect answers the editor's rectangle whether or not the editor
// is open; idle repaints dirty views (unless the editor is inside its own call
// of the host's idle); keys go to the frame; setKnobMode stores the
// process-wide knob mode.
//
// Toolkit side: the frame's controls reach runIdleTasks (the throttled idle
// routine below), the knob mode, and beginEdit/endEdit, which become the
// host's begin-edit and end-edit requests through the effect.
//
// Throttled idle routine, runIdleTasks(), with now = the tick count:
//   now >= nextIdleTime              run at once
//   nextIdleTime - 50 <= now + 4 < nextIdleTime   sleep 4 ms, then run
//   earlier than that                sleep 4 ms and return
// A run calls idle(), dispatches one pending paint message, sets
// nextIdleTime = now + 100 and calls the host's idle with inIdle set, so a host
// that answers with effEditIdle causes no nested repaint. The comparisons are
// unsigned 32-bit, like the system tick count they use. The first call after
// construction runs at once.
//
// Knob mode: one value for every editor of the library in the process, 0 at
// load; 2 drags knobs linearly, anything else circularly.
//
// OLE: each editor object holds one OLE initialisation of its thread from
// construction to destruction (Windows only; nothing natively).
#pragma once

#include <cstdint>

#include "editor/AEffEditor.h"
#include "editor/ERect.h"
#include "editor/IdleSystem.h"
#include "toolkit/EditorInterface.h"

class AEffGUIEditor : public AEffEditor, public toolkit::EditorInterface {
public:
    // Registers with the effect (setEditor, which sets its has-editor flag),
    // records the tick count and initialises OLE. effect may be null.
    explicit AEffGUIEditor(AudioEffect* effect);
    ~AEffGUIEditor() override;

    bool getRect(ERect** rect) override;
    bool open(void* window) override;
    void close() override;
    void idle() override;
    bool onKeyDown(toolkit::VstKeyCode& key) override;
    bool onKeyUp(toolkit::VstKeyCode& key) override;
    bool onWheel(float distance) override;
    bool setKnobMode(int32_t mode) override;

    // Writes a parameter value into the controls; nothing in the base.
    virtual void setParameter(int32_t index, float value);
    // Draws region (edges put in ascending order), or the whole frame when
    // region is null, through a fresh drawing context of the frame's window.
    virtual void draw(ERect* region);

    void runIdleTasks() override;
    int32_t getKnobMode() override;
    void beginEdit(int32_t index) override;
    void endEdit(int32_t index) override;

    // The process-wide knob mode as the knobs read it.
    static int32_t knobMode();

    // Replaces the tick count, sleep and paint dispatch used by
    // runIdleTasks (null restores the system's; not owned). The next run is
    // due at once, measured on the new clock.
    void setIdleSystem(IdleSystem* system);

protected:
    ERect rect{};
    uint32_t nextIdleTime = 0;
    bool inIdle = false;

private:
    IdleSystem* idleSystem;
};
