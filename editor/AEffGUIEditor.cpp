#include "editor/AEffGUIEditor.h"

#include <utility>

#include "host/AudioEffect.h"
#include "host/AudioEffectX.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"

#ifdef _WIN32
#include <windows.h>
#include <ole2.h>
#endif

namespace {

// Shared by every editor of the library: the host sets it for all knobs.
int32_t processKnobMode = 0;

void initialiseOle() {
#ifdef _WIN32
    // Drag and drop needs OLE on the UI thread; the result (already
    // initialised, other apartment) does not change what the editor does.
    (void)OleInitialize(nullptr);
#endif
}

void uninitialiseOle() {
#ifdef _WIN32
    OleUninitialize();
#endif
}

}  // namespace

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect)
    : AEffEditor(effect), idleSystem(&IdleSystem::platform()) {
    frame = nullptr;
    inIdle = false;
    if (effect) effect->setEditor(this);
    nextIdleTime = idleSystem->tickCount();
    initialiseOle();
}

AEffGUIEditor::~AEffGUIEditor() {
    // A derived editor closes its frame itself; one still left here would
    // keep a window whose views call back into this dying object.
    delete frame;
    frame = nullptr;
    uninitialiseOle();
}

bool AEffGUIEditor::getRect(ERect** out) {
    if (!out) return false;
    *out = &rect;
    return true;
}

bool AEffGUIEditor::open(void* window) {
    parentWindow = window;
    return false;
}

void AEffGUIEditor::close() { parentWindow = nullptr; }

void AEffGUIEditor::idle() {
    if (!inIdle && frame) frame->idle();
}

bool AEffGUIEditor::onKeyDown(toolkit::VstKeyCode& key) {
    return frame && frame->keyDown(key) > 0;
}

bool AEffGUIEditor::onKeyUp(toolkit::VstKeyCode& key) {
    return frame && frame->keyUp(key) > 0;
}

bool AEffGUIEditor::onWheel(float /*distance*/) { return false; }

bool AEffGUIEditor::setKnobMode(int32_t mode) {
    processKnobMode = mode;
    return true;
}

void AEffGUIEditor::setParameter(int32_t /*index*/, float /*value*/) {}

void AEffGUIEditor::draw(ERect* region) {
    if (!frame) return;
    toolkit::CRectangle area = frame->getViewRect();
    if (region) {
        int32_t left = region->left, right = region->right;
        int32_t top = region->top, bottom = region->bottom;
        if (left > right) std::swap(left, right);
        if (top > bottom) std::swap(top, bottom);
        area = toolkit::CRectangle(left, top, right, bottom);
    }
    toolkit::CDrawContext* context = frame->makeDrawContext();
    frame->drawInRect(context, area);
    if (context) context->release();
}

void AEffGUIEditor::runIdleTasks() {
    uint32_t now = idleSystem->tickCount();
    if (now < nextIdleTime) {
        idleSystem->sleep(4);
        now += 4;
        if (now < nextIdleTime - 50) return;
    }
    idle();
    idleSystem->dispatchPendingPaint();
    nextIdleTime = now + 100;
    inIdle = true;
    if (effect) effect->hostIdle();
    inIdle = false;
}

int32_t AEffGUIEditor::getKnobMode() { return processKnobMode; }

int32_t AEffGUIEditor::knobMode() { return processKnobMode; }

void AEffGUIEditor::beginEdit(int32_t index) {
    if (auto* extended = dynamic_cast<AudioEffectX*>(effect)) extended->beginEdit(index);
}

void AEffGUIEditor::endEdit(int32_t index) {
    if (auto* extended = dynamic_cast<AudioEffectX*>(effect)) extended->endEdit(index);
}

void AEffGUIEditor::setIdleSystem(IdleSystem* system) {
    idleSystem = system ? system : &IdleSystem::platform();
    // Times of different clocks do not compare: start over from this one.
    nextIdleTime = idleSystem->tickCount();
}
