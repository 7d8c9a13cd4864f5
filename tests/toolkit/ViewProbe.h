// Test helpers for the view tree: views and containers that write every
// event they receive into a shared log as "name:event(x,y)" (coordinates as
// the view received them), answer what the test tells them to, and can run
// a hook inside a handler (to remove themselves, change focus, ...).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/CFrame.h"
#include "toolkit/CView.h"
#include "toolkit/CViewContainer.h"
#include "toolkit/EditorInterface.h"
#include "toolkit/Messages.h"
#include "toolkit/StandInFramePlatform.h"

namespace toolkit {

struct EventLog {
    std::vector<std::string> entries;

    void add(const std::string& name, const char* event, CPosition p) {
        entries.push_back(name + ":" + event + "(" + std::to_string(p.x) + "," +
                          std::to_string(p.y) + ")");
    }
    void add(const std::string& name, const char* event) { entries.push_back(name + ":" + event); }
    std::string joined() const {
        std::string out;
        for (const auto& e : entries) out += (out.empty() ? "" : " ") + e;
        return out;
    }
    void clear() { entries.clear(); }
};

class ProbeView : public CView {
public:
    using Hook = std::function<void(ProbeView&)>;

    ProbeView(std::string probeName, const CRectangle& r, EventLog& eventLog)
        : CView(r), name(std::move(probeName)), log(eventLog) {}
    ~ProbeView() override {
        if (destroyed) ++*destroyed;
    }

    MouseResult mouseDown(CPosition p, int32_t) override {
        log.add(name, "down", p);
        run(onMouseDown);
        return downResult;
    }
    MouseResult mouseUp(CPosition p, int32_t) override {
        log.add(name, "up", p);
        return kMouseHandled;
    }
    MouseResult mouseMoved(CPosition p, int32_t b) override {
        log.add(name, "moved", p);
        lastButtons = b;
        run(onMouseMoved);
        return moveResult;
    }
    MouseResult mouseEntered(CPosition p, int32_t) override {
        log.add(name, "entered", p);
        run(onMouseEntered);
        return kMouseHandled;
    }
    MouseResult mouseExited(CPosition p, int32_t) override {
        log.add(name, "exited", p);
        return kMouseHandled;
    }
    bool wheel(CPosition p, float distance, int32_t) override {
        log.add(name, ("wheel" + std::to_string(static_cast<int>(distance))).c_str(), p);
        return wheelResult;
    }
    int32_t keyDown(VstKeyCode&) override {
        log.add(name, "keyDown");
        return keyResult;
    }
    int32_t keyUp(VstKeyCode&) override {
        log.add(name, "keyUp");
        return keyResult;
    }
    void focusLost() override {
        log.add(name, "focusLost");
        run(onFocusLost);
    }
    void focusGained() override { log.add(name, "focusGained"); }
    void dragEnter(CDragContainer*, CPosition p) override {
        log.add(name, "dragEnter", p);
        run(onDragEnter);
    }
    void dragLeave(CDragContainer*, CPosition p) override { log.add(name, "dragLeave", p); }
    void dragMove(CDragContainer*, CPosition p) override { log.add(name, "dragMove", p); }
    bool drop(CDragContainer*, CPosition p) override {
        log.add(name, "drop", p);
        return dropResult;
    }

    std::string name;
    EventLog& log;
    MouseResult downResult = kMouseHandled;
    MouseResult moveResult = kMouseHandled;
    bool wheelResult = true;
    int32_t keyResult = -1;
    bool dropResult = false;
    int32_t lastButtons = -1;
    int* destroyed = nullptr;
    Hook onMouseDown, onMouseMoved, onMouseEntered, onFocusLost, onDragEnter;

private:
    void run(const Hook& hook) {
        if (hook) hook(*this);
    }
};

class ProbeContainer : public CViewContainer {
public:
    ProbeContainer(std::string probeName, const CRectangle& r, EventLog& eventLog)
        : CViewContainer(r), name(std::move(probeName)), log(eventLog) {}
    ~ProbeContainer() override {
        if (destroyed) ++*destroyed;
    }
    int32_t notify(CBaseObject* sender, const char* message) override {
        if (message == kMsgNewFocusView) log.add(name, "newFocus");
        if (message == kMsgOldFocusView) log.add(name, "oldFocus");
        return CViewContainer::notify(sender, message);
    }
    std::string name;
    EventLog& log;
    int* destroyed = nullptr;
};

// Records what the frame asks of its editor.
struct ProbeEditor : EditorInterface {
    void runIdleTasks() override { ++idleRuns; }
    int32_t getKnobMode() override { return knobMode; }
    void beginEdit(int32_t index) override { edits.push_back(index); }
    void endEdit(int32_t index) override { edits.push_back(-1 - index); }
    int idleRuns = 0;
    int32_t knobMode = 2;
    std::vector<int32_t> edits;
};

// A frame with a stand-in window, 200 x 100, and its event log.
struct FrameRig {
    explicit FrameRig(EditorInterface* editor = nullptr, CRectangle size = CRectangle(0, 0, 200, 100))
        : platform(new StandInFramePlatform()),
          frame(new CFrame(size, &hostWindowToken, editor, platform)) {}
    ~FrameRig() { delete frame; }
    FrameRig(const FrameRig&) = delete;
    FrameRig& operator=(const FrameRig&) = delete;

    // Adds a probe (the frame owns it afterwards, as the editor's views).
    ProbeView* probe(const std::string& name, CRectangle r, CViewContainer* into = nullptr) {
        auto* v = new ProbeView(name, r, log);
        (into ? into : static_cast<CViewContainer*>(frame))->addChild(v);
        return v;
    }
    ProbeContainer* container(const std::string& name, CRectangle r, CViewContainer* into = nullptr) {
        auto* c = new ProbeContainer(name, r, log);
        (into ? into : static_cast<CViewContainer*>(frame))->addChild(c);
        return c;
    }

    char hostWindowToken = 0;
    EventLog log;
    StandInFramePlatform* platform;
    CFrame* frame;
};

inline VstKeyCode key(uint8_t virt, uint8_t modifier = 0) {
    VstKeyCode k;
    k.virt = virt;
    k.modifier = modifier;
    return k;
}

}  // namespace toolkit
