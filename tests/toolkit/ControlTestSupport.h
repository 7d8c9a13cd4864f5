// Shared pieces of the control tests: one event log that the listener, the
// editor interface and the frame's window layer all write to, so a test can
// assert the order in which a gesture reaches each of them, and a fixture
// with a frame (no native window) that the tests drive with scripted input.
//
// Log entries:
//   listener   "started", "changed", "ended", "modifier"
//   editor     "begin <tag>", "end <tag>", "idle"
//   window     "invalidate <left>,<top>,<right>,<bottom>"
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/CControl.h"
#include "toolkit/CControlListener.h"
#include "toolkit/CFrame.h"
#include "toolkit/EditorInterface.h"
#include "toolkit/FramePlatform.h"

namespace toolkit::testing {

class EventLog {
public:
    void add(const std::string& entry) { entries.push_back(entry); }
    // Everything logged since the last take, joined with '|', then forgotten.
    std::string take() {
        std::string out;
        for (const auto& e : entries) {
            if (!out.empty()) out += '|';
            out += e;
        }
        entries.clear();
        return out;
    }

private:
    std::vector<std::string> entries;
};

class RecordingListener : public CControlListener {
public:
    explicit RecordingListener(EventLog& l) : log(l) {}

    void valueChanged(CControl* control) override {
        log.add("changed");
        notifiedValues.push_back(control->getValue());
    }
    int32_t modifierClicked(CControl*, int32_t) override {
        log.add("modifier");
        return modifierAnswer;
    }
    void editStarted(CControl*) override { log.add("started"); }
    void editEnded(CControl*) override { log.add("ended"); }

    int32_t modifierAnswer = 0;
    std::vector<float> notifiedValues;

private:
    EventLog& log;
};

class RecordingEditor : public EditorInterface {
public:
    explicit RecordingEditor(EventLog& l) : log(l) {}

    void runIdleTasks() override {
        log.add("idle");
        if (onIdle) onIdle();
    }
    int32_t getKnobMode() override { return knobMode; }
    void beginEdit(int32_t index) override { log.add("begin " + std::to_string(index)); }
    void endEdit(int32_t index) override { log.add("end " + std::to_string(index)); }

    int32_t knobMode = 2;
    std::function<void()> onIdle;

private:
    EventLog& log;
};

// The window layer of a frame without a window: it only logs the repaint
// requests.
class LoggingFramePlatform : public FramePlatform {
public:
    explicit LoggingFramePlatform(EventLog& l) : log(l) {}

    void initialiseDragService() override {}
    void uninitialiseDragService() override {}
    void createWindow(PlatformWindow) override {}
    void destroyWindow() override {}
    PlatformWindow window() const override { return nullptr; }
    PlatformWindow parentWindow() const override { return nullptr; }
    void invalidateRect(const CRectangle& r) override {
        log.add("invalidate " + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                std::to_string(r.right) + "," + std::to_string(r.bottom));
    }
    void requestMouseLeave() override {}
    uint32_t ticks() override { return 0; }
    bool hostWindowPosition(int32_t&, int32_t&) override { return false; }
    bool hostWindowRect(CRectangle&) override { return false; }
    bool mouseLocation(CPosition&) override { return false; }
    int32_t mouseButtons() override { return 0; }
    void setCursor(CursorType) override {}
    void restoreCursor() override {}
    bool resizeWindowChain(int32_t, int32_t) override { return false; }
    void releaseBackBuffer() override {}
    bool registerDropTarget() override { return false; }
    void revokeDropTarget() override {}
    CDrawContext* makeDrawContext() override { return nullptr; }

private:
    EventLog& log;
};

// A frame of 300 x 200 whose editor and listener log into `log`.
class ControlFixture : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new CFrame(CRectangle(0, 0, 300, 200), nullptr, &editor,
                           new LoggingFramePlatform(log));
        editor.frame = frame;
        log.take();
    }
    void TearDown() override {
        delete frame;
        editor.frame = nullptr;
    }

    // Adds the control to the frame (which owns it from then on) and
    // forgets what the adding logged.
    template <class Control>
    Control* add(Control* control) {
        frame->addChild(control);
        log.take();
        return control;
    }

    EventLog log;
    RecordingListener listener{log};
    RecordingEditor editor{log};
    CFrame* frame = nullptr;
};

}  // namespace toolkit::testing
