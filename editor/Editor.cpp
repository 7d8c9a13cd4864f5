#include "editor/Editor.h"

#include "host/AudioEffect.h"
#include "toolkit/CAnimKnob.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CFontDesc.h"
#include "toolkit/CFrame.h"
#include "toolkit/COnOffButton.h"
#include "toolkit/CParamDisplay.h"
#include "toolkit/CRgba.h"

using namespace toolkit;

inline namespace TOVRA_EDITOR_EDITION {

using namespace editor_layout;

namespace {

bool isParameter(int32_t index) { return index >= 0 && index < Editor::kParameterCount; }

}  // namespace

Editor::Editor(AudioEffect* effect) : AEffGUIEditor(effect) {
    backgroundImage = new CBitmap(CResourceDescription(kBackgroundResource));
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<int16_t>(backgroundImage->height());
    rect.right = static_cast<int16_t>(backgroundImage->width());
}

Editor::~Editor() {
    close();
    if (backgroundImage) backgroundImage->release();
    backgroundImage = nullptr;
}

bool Editor::open(void* window) {
    // A host that opens twice without closing gets one editor, not a second
    // frame on top of a leaked first one.
    if (frame) close();
    parentWindow = window;

    const CRectangle size(0, 0, backgroundImage->width(), backgroundImage->height());
    frame = new CFrame(size, window, this);
    frame->setBackground(backgroundImage);

    knobImage = new CBitmap(CResourceDescription(kKnobStripResource));
    if (kHasSwitch) switchImage = new CBitmap(CResourceDescription(kSwitchResource));

    // A strip of square frames stacked top to bottom: its width is the knob
    // size and the frame height.
    const int32_t knobSize = knobImage->width();
    const int32_t frameCount = knobSize > 0 ? knobImage->height() / knobSize : 0;

    for (const Placement& placement : kPlacements) {
        const int32_t index = placement.parameter;
        const int32_t x = placement.left;
        if (placement.kind == ControlKind::Knob) {
            auto* knob = new CAnimKnob(CRectangle(x, kKnobTop, x + knobSize, kKnobTop + knobSize),
                                       this, index, frameCount, knobSize, knobImage,
                                       CPosition(0, 0));
            frame->addChild(knob);
            knobs[index] = knob;

            auto* display = new CParamDisplay(CRectangle(
                x + kDisplayInset, kDisplayTop, x + kDisplayInset + kDisplayWidth, kDisplayBottom));
            display->setFont(kFontSize11);
            display->setFontColor(kColorWhite);
            display->setBackColor(kColorBlack);
            display->setFrameColor(kColorWhite);
            display->setTransparent(true);
            frame->addChild(display);
            displays[index] = display;
        } else if (switchImage) {
            const int32_t width = switchImage->width();
            const int32_t height = switchImage->height() / 2;
            auto* button = new COnOffButton(
                CRectangle(x, kSwitchTop, x + width, kSwitchTop + height), this, index, switchImage);
            button->setNotifyOrder(kNotifyAfterIdle);
            frame->addChild(button);
            switches[index] = button;
        }
    }

    for (int32_t i = 0; i < kParameterCount; ++i)
        setParameter(i, effect ? effect->getParameter(i) : 0.0f);

    setKnobMode(2);

    // The knobs and the switch hold their own references from here on.
    knobImage->release();
    knobImage = nullptr;
    if (switchImage) switchImage->release();
    switchImage = nullptr;
    return true;
}

void Editor::close() {
    // Forget the controls before the frame destroys them, so a setParameter
    // racing with close never reaches a freed control through the arrays.
    CFrame* closing = frame;
    frame = nullptr;
    knobs.fill(nullptr);
    switches.fill(nullptr);
    displays.fill(nullptr);
    delete closing;
    parentWindow = nullptr;
}

void Editor::setParameter(int32_t index, float value) {
    if (!frame || !isParameter(index)) return;
    if (knobs[index]) knobs[index]->setValue(value);
    if (switches[index]) switches[index]->setValue(value);
    if (displays[index]) displays[index]->setValue(value);
}

void Editor::valueChanged(CControl* control) {
    if (!control || !effect) return;
    const int32_t tag = control->getTag();
    if (!isParameter(tag)) return;
    effect->setParameterAutomated(tag, control->getValue());
}

CAnimKnob* Editor::knobFor(int32_t index) const {
    return frame && isParameter(index) ? knobs[index] : nullptr;
}

CControl* Editor::switchFor(int32_t index) const {
    return frame && isParameter(index) ? switches[index] : nullptr;
}

CParamDisplay* Editor::displayFor(int32_t index) const {
    return frame && isParameter(index) ? displays[index] : nullptr;
}

}  // namespace TOVRA_EDITOR_EDITION
