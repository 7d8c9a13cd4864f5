#include "editor/AEffGUIEditor.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/editor/RecordingHost.h"
#include "toolkit/CFrame.h"
#include "toolkit/CView.h"

using namespace editor_test;
using toolkit::CFrame;
using toolkit::CRectangle;
using toolkit::CView;

namespace {

class ScriptedClock : public IdleSystem {
public:
    uint32_t tickCount() override { return now; }
    void sleep(uint32_t milliseconds) override {
        sleeps.push_back(milliseconds);
        now += milliseconds;
    }
    void dispatchPendingPaint() override { ++paints; }

    uint32_t now = 5000;
    std::vector<uint32_t> sleeps;
    int paints = 0;
};

class ProbeEditor : public AEffGUIEditor {
public:
    explicit ProbeEditor(AudioEffect* effect) : AEffGUIEditor(effect) {
        rect.bottom = 120;
        rect.right = 310;
    }
    void idle() override {
        ++idleCalls;
        AEffGUIEditor::idle();
    }
    int idleCalls = 0;
};

// A view whose key answers and drawing updates a test chooses and reads.
class ProbeView : public CView {
public:
    using CView::CView;
    int32_t keyDown(toolkit::VstKeyCode&) override { return keyAnswer; }
    int32_t keyUp(toolkit::VstKeyCode&) override { return keyAnswer; }
    void drawInRect(toolkit::CDrawContext* context, const CRectangle& update) override {
        updates.push_back(update);
        CView::drawInRect(context, update);
    }
    int32_t keyAnswer = -1;
    std::vector<CRectangle> updates;
};

struct EditorFixture : ::testing::Test {
    RecordingHost host;
    TestEffect effect{6};
    ProbeEditor* editor = new ProbeEditor(&effect);  // owned by the effect
    ScriptedClock clock;
    CountingFramePlatform* platform = nullptr;  // owned by the frame
    ProbeView* view = nullptr;

    void SetUp() override { editor->setIdleSystem(&clock); }
    void TearDown() override {
        delete editor->frame;
        editor->frame = nullptr;
    }

    void openFrame() {
        platform = new CountingFramePlatform;
        editor->frame = new CFrame(CRectangle(0, 0, 310, 120), nullptr, editor, platform);
        view = new ProbeView(CRectangle(0, 0, 310, 120));
        editor->frame->addChild(view);
        editor->frame->setDirty(false);
        platform->invalidated.clear();
    }

    int hostIdles() const {
        int n = 0;
        for (const HostRequest& r : host.requests) n += r.opcode == audioMasterIdle;
        return n;
    }
};

TEST_F(EditorFixture, RegistersWithTheEffectAndAnswersItsRectWhileClosed) {
    EXPECT_EQ(effect.getEditor(), editor);
    EXPECT_NE(effect.getEffectRecord()->flags & effFlagsHasEditor, 0);

    ERect* rect = nullptr;
    ASSERT_TRUE(editor->getRect(&rect));
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 120);
    EXPECT_EQ(rect->right, 310);
    EXPECT_FALSE(editor->getRect(nullptr));
}

TEST_F(EditorFixture, FirstIdleRunAfterConstructionIsImmediate) {
    editor->runIdleTasks();
    EXPECT_TRUE(clock.sleeps.empty());
    EXPECT_EQ(editor->idleCalls, 1);
    EXPECT_EQ(clock.paints, 1);
    EXPECT_EQ(hostIdles(), 1);
}

// Second call of the throttled idle routine, `after` ms after a run.
struct ThrottleCase {
    uint32_t after;
    bool sleeps;
    bool runs;
};

class ThrottleTest : public EditorFixture, public ::testing::WithParamInterface<ThrottleCase> {};

TEST_P(ThrottleTest, SecondCall) {
    const ThrottleCase c = GetParam();
    editor->runIdleTasks();
    clock.now += c.after;
    clock.sleeps.clear();
    editor->idleCalls = 0;
    clock.paints = 0;
    host.clear();

    editor->runIdleTasks();

    EXPECT_EQ(clock.sleeps, c.sleeps ? std::vector<uint32_t>{4} : std::vector<uint32_t>{});
    EXPECT_EQ(editor->idleCalls, c.runs ? 1 : 0);
    EXPECT_EQ(clock.paints, c.runs ? 1 : 0);
    EXPECT_EQ(hostIdles(), c.runs ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Throttle, ThrottleTest,
                         ::testing::Values(ThrottleCase{0, true, false},
                                           ThrottleCase{45, true, false},   // 49 < 100 - 50
                                           ThrottleCase{46, true, true},    // at most 54 ms early
                                           ThrottleCase{60, true, true},
                                           ThrottleCase{99, true, true},
                                           ThrottleCase{100, false, true},
                                           ThrottleCase{250, false, true}));

TEST_F(EditorFixture, RunAfterSleepingSchedulesFromTheWokenTime) {
    editor->runIdleTasks();           // at 5000, next due 5100
    clock.now += 60;                  // 5060: sleeps to 5064, runs, next due 5164
    editor->runIdleTasks();
    clock.now = 5164 - 55;            // 55 ms early: only sleeps
    editor->idleCalls = 0;
    editor->runIdleTasks();
    EXPECT_EQ(editor->idleCalls, 0);
    clock.now = 5164;
    clock.sleeps.clear();
    editor->runIdleTasks();
    EXPECT_TRUE(clock.sleeps.empty());
    EXPECT_EQ(editor->idleCalls, 1);
}

TEST_F(EditorFixture, HostAnsweringIdleWithEditorIdleCausesNoNestedRepaint) {
    openFrame();
    view->setDirty(true);
    host.onIdle = [this] {
        view->setDirty(true);
        editor->idle();  // the host's effEditIdle from inside its idle request
    };
    editor->runIdleTasks();
    EXPECT_EQ(platform->invalidated.size(), 1u) << "only the routine's own idle repaints";

    host.onIdle = nullptr;
    editor->idle();
    EXPECT_EQ(platform->invalidated.size(), 2u) << "outside the host's idle, idle repaints again";
}

TEST_F(EditorFixture, IdleWithoutFrameDoesNothing) {
    editor->idle();
    editor->draw(nullptr);
    toolkit::VstKeyCode key;
    EXPECT_FALSE(editor->onKeyDown(key));
    EXPECT_FALSE(editor->onKeyUp(key));
}

TEST_F(EditorFixture, KeysAreHandledWhenTheFrameAnswersAboveZero) {
    openFrame();
    view->setAcceptsFocus(true);
    editor->frame->setFocusView(view);
    struct Case {
        int32_t viewAnswer;
        bool handled;
    };
    for (const Case c : {Case{-1, false}, Case{0, false}, Case{1, true}, Case{5, true}}) {
        SCOPED_TRACE(c.viewAnswer);
        view->keyAnswer = c.viewAnswer;
        toolkit::VstKeyCode key;
        key.virt = 13;
        EXPECT_EQ(editor->onKeyDown(key), c.handled);
        EXPECT_EQ(editor->onKeyUp(key), c.handled);
    }
    EXPECT_FALSE(editor->onWheel(1.0f));
}

TEST_F(EditorFixture, DrawPutsRegionEdgesInOrderOrDrawsTheWholeFrame) {
    openFrame();
    ERect inverted;
    inverted.top = 30;
    inverted.left = 20;
    inverted.bottom = 10;
    inverted.right = 5;
    editor->draw(&inverted);
    editor->draw(nullptr);
    ASSERT_EQ(view->updates.size(), 2u);
    EXPECT_EQ(view->updates[0], CRectangle(5, 10, 20, 30));
    EXPECT_EQ(view->updates[1], CRectangle(0, 0, 310, 120));
}

TEST_F(EditorFixture, EditGesturesReachTheHost) {
    editor->beginEdit(7);
    editor->endEdit(7);
    EXPECT_EQ(host.lines(), (std::vector<std::string>{"begin-edit 7", "end-edit 7"}));
}

TEST_F(EditorFixture, KnobModeIsSharedByEveryEditorOfTheLibrary) {
    TestEffect otherEffect{6};
    auto* other = new ProbeEditor(&otherEffect);
    EXPECT_TRUE(editor->setKnobMode(1));
    EXPECT_EQ(other->getKnobMode(), 1);
    EXPECT_EQ(AEffGUIEditor::knobMode(), 1);
    EXPECT_TRUE(other->setKnobMode(2));
    EXPECT_EQ(editor->getKnobMode(), 2);
    editor->setKnobMode(0);
}

}  // namespace
