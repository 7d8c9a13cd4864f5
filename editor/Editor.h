// The plug-in's own editor, one class for both editions. The effect creates it
// at its construction; it lives as long as the effect.
//
// open(window) builds a frame in the host's window with the edition's
// background, one film-strip knob with a value display under it for every
// knob parameter and, in Vesk, the "Stereo" switch (layout: EditorLayout.h).
// close() deletes the frame and everything in it; open may follow close any
// number of times and builds new controls each time. An open while already
// open closes the old frame first.
//
// Binding, in both directions:
//   effect -> editor  setParameter(index, value) writes the value into the
//                     knob, switch and display of that index; they redraw at
//                     the next idle pass. Ignored while closed or for an index
//                     outside the edition's parameters.
//   editor -> effect  valueChanged(control) calls setParameterAutomated(tag,
//                     value), which sets the parameter (and so the controls)
//                     and tells the host. Tags outside the parameters are
//                     ignored.
// The begin and end of a gesture reach the host through the frame and the
// editor base, not through the listener.
//
// setParameter may run on any host thread: it only stores values into
// controls while the frame exists.
#pragma once

#include <array>
#include <cstdint>

#include "editor/AEffGUIEditor.h"
#include "editor/EditorLayout.h"
#include "toolkit/CControlListener.h"

namespace toolkit {
class CAnimKnob;
class CBitmap;
class CControl;
class CParamDisplay;
}  // namespace toolkit

inline namespace TOVRA_EDITOR_EDITION {

class Editor : public AEffGUIEditor, public toolkit::CControlListener {
public:
    static constexpr int32_t kParameterCount = editor_layout::kParameterCount;

    explicit Editor(AudioEffect* effect);
    // Closes the editor first if the host left it open, so no window or view
    // outlives the editor it calls back into.
    ~Editor() override;

    bool open(void* window) override;
    void close() override;
    void setParameter(int32_t index, float value) override;

    void valueChanged(toolkit::CControl* control) override;

    // The controls of a parameter while the editor is open (null where the
    // parameter has none, or for an index outside the parameters).
    toolkit::CAnimKnob* knobFor(int32_t index) const;
    toolkit::CControl* switchFor(int32_t index) const;
    toolkit::CParamDisplay* displayFor(int32_t index) const;

private:
    std::array<toolkit::CAnimKnob*, kParameterCount> knobs{};
    std::array<toolkit::CControl*, kParameterCount> switches{};
    std::array<toolkit::CParamDisplay*, kParameterCount> displays{};
    toolkit::CBitmap* backgroundImage = nullptr;
    toolkit::CBitmap* knobImage = nullptr;
    toolkit::CBitmap* switchImage = nullptr;
};

}  // namespace TOVRA_EDITOR_EDITION
