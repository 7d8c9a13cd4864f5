// EditorInterface: what a frame asks of the editor that created it. Every
// operation has a neutral default here; the editor base implements them.
// `frame` is the frame the editor shows, null while the editor is closed; the
// editor owns it and deletes it directly.
#pragma once

#include <cstdint>

namespace toolkit {

class CFrame;

class EditorInterface {
public:
    // The editor's throttled idle routine.
    virtual void runIdleTasks() {}
    // Drag mode of the knobs: 2 linear, anything else circular.
    virtual int32_t getKnobMode() { return 0; }
    // Bracket one user gesture on parameter `index`.
    virtual void beginEdit(int32_t index) { (void)index; }
    virtual void endEdit(int32_t index) { (void)index; }
    virtual ~EditorInterface() = default;

    CFrame* frame = nullptr;
};

}  // namespace toolkit
