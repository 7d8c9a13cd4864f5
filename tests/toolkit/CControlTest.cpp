#include "toolkit/CControl.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>

#include "tests/toolkit/ControlTestSupport.h"
#include "toolkit/ButtonState.h"
#include "toolkit/CAnimKnob.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CKnob.h"
#include "toolkit/COnOffButton.h"
#include "toolkit/CParamDisplay.h"

namespace toolkit::testing {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// The smallest concrete control: drawing only marks it clean.
class TestControl : public CControl {
public:
    using CControl::CControl;
    TestControl(const TestControl&) = default;

    void draw(CDrawContext*) override { setDirty(false); }
    CView* clone() const override { return new TestControl(*this); }
    float getDefaultValue() const override {
        return suppliedDefault ? *suppliedDefault : CControl::getDefaultValue();
    }

    std::optional<float> suppliedDefault;
};

struct DirtyCase {
    const char* name;
    std::function<void(TestControl&)> act;
    bool dirty;
    float oldValue;
};

TEST(CControlDirty, ValueAndFlagRules) {
    const DirtyCase cases[] = {
        {"constructed, never drawn", [](TestControl&) {}, true, -1.0f},
        {"drawn", [](TestControl& c) { c.draw(nullptr); }, false, 0.0f},
        {"0.3 written over a drawn 0.2",
         [](TestControl& c) {
             c.setValue(0.2f);
             c.draw(nullptr);
             c.setValue(0.3f);
         },
         true, 0.2f},
        {"0.3 written and drawn",
         [](TestControl& c) {
             c.setValue(0.3f);
             c.draw(nullptr);
         },
         false, 0.3f},
        {"the drawn value written again",
         [](TestControl& c) {
             c.draw(nullptr);
             c.setValue(0.0f);
         },
         false, 0.0f},
        {"marked dirty at exactly -1",
         [](TestControl& c) {
             c.setValue(-1.0f);
             c.setDirty(true);
         },
         true, 0.0f},
        {"marked dirty at 0.7",
         [](TestControl& c) {
             c.setValue(0.7f);
             c.draw(nullptr);
             c.setDirty(true);
         },
         true, -1.0f},
        {"marked clean at -1",
         [](TestControl& c) {
             c.setValue(-1.0f);
             c.setDirty(true);
             c.setDirty(false);
         },
         false, -1.0f},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        TestControl c(CRectangle(0, 0, 10, 10), nullptr, 0);
        k.act(c);
        EXPECT_EQ(c.isDirty(), k.dirty);
        EXPECT_EQ(c.getOldValue(), k.oldValue);
    }
}

TEST(CControlDirty, NaNValueAlwaysCountsAsChanged) {
    TestControl c(CRectangle(0, 0, 10, 10), nullptr, 0);
    c.setValue(kNaN);
    c.draw(nullptr);
    EXPECT_TRUE(c.isDirty());
}

TEST(CControlValue, SetValueStoresAsIsAndClampValueBounds) {
    struct Case {
        float min, max, written, clamped;
    };
    const Case cases[] = {
        {0.0f, 1.0f, 1.7f, 1.0f},  {0.0f, 1.0f, -0.5f, 0.0f}, {0.0f, 1.0f, 0.4f, 0.4f},
        {0.2f, 0.8f, 0.9f, 0.8f},  {0.2f, 0.8f, 0.1f, 0.2f},  {0.0f, 1.0f, 1.0f, 1.0f},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(::testing::Message() << k.written << " in " << k.min << ".." << k.max);
        TestControl c(CRectangle(0, 0, 10, 10), nullptr, 0);
        c.setMin(k.min);
        c.setMax(k.max);
        c.setValue(k.written);
        EXPECT_EQ(c.getValue(), k.written);
        c.clampValue();
        EXPECT_EQ(c.getValue(), k.clamped);
    }
    TestControl c(CRectangle(0, 0, 10, 10), nullptr, 0);
    c.setValue(kNaN);
    c.clampValue();
    EXPECT_TRUE(std::isnan(c.getValue()));
}

TEST(CControlConstruction, Defaults) {
    TestControl c(CRectangle(10, 20, 50, 40), nullptr, 7);
    EXPECT_EQ(c.getValue(), 0.0f);
    EXPECT_EQ(c.getMin(), 0.0f);
    EXPECT_EQ(c.getMax(), 1.0f);
    EXPECT_EQ(c.getDefaultValue(), 0.5f);
    EXPECT_EQ(c.getWheelStep(), 0.1f);
    EXPECT_EQ(c.getTag(), 7);
    EXPECT_FALSE(c.isTransparent());
    EXPECT_TRUE(c.isMouseEnabled());
    EXPECT_EQ(c.getBackOffset(), CPosition(0, 0));
    c.setBackOffsetToOrigin();
    EXPECT_EQ(c.getBackOffset(), CPosition(10, 20));
}

TEST(CControlConstruction, HoldsOneReferenceOnItsBackground) {
    auto* image = new CBitmap(4, 4);
    auto* c = new TestControl(CRectangle(0, 0, 4, 4), nullptr, 0, image);
    EXPECT_EQ(c->background(), image);
    EXPECT_EQ(image->referenceCount(), 2);
    c->release();
    EXPECT_EQ(image->referenceCount(), 1);
    image->release();
}

struct ResetCase {
    const char* name;
    int32_t buttons;
    float startValue;
    bool reset;
    float value;
    const char* log;
};

TEST(CControlDefaultReset, OnlyExactlyControlLeftClickResets) {
    const ResetCase cases[] = {
        {"Control+left", 0x22, 0.2f, true, 0.5f, "started|changed|ended"},
        {"Control+left at the default, clean", 0x22, 0.5f, true, 0.5f, "started|ended"},
        {"Shift added", 0x32, 0.2f, false, 0.2f, ""},
        {"double click added", 0x422, 0.2f, false, 0.2f, ""},
        {"right button added", 0x2A, 0.2f, false, 0.2f, ""},
        {"left alone", 0x02, 0.2f, false, 0.2f, ""},
        {"Control alone", 0x20, 0.2f, false, 0.2f, ""},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        EventLog log;
        RecordingListener listener(log);
        TestControl c(CRectangle(0, 0, 10, 10), &listener, 3);
        c.setValue(k.startValue);
        c.draw(nullptr);
        EXPECT_EQ(c.checkDefaultReset(k.buttons), k.reset);
        EXPECT_EQ(c.getValue(), k.value);
        EXPECT_EQ(log.take(), k.log);
    }
}

TEST(CControlDefaultReset, UsesTheDefaultTheControlSupplies) {
    EventLog log;
    RecordingListener listener(log);
    TestControl c(CRectangle(0, 0, 10, 10), &listener, 3);
    c.suppliedDefault = 0.25f;
    EXPECT_TRUE(c.checkDefaultReset(kButtonLeft | kModifierControl));
    EXPECT_EQ(c.getValue(), 0.25f);
}

using CControlInFrame = ControlFixture;

TEST_F(CControlInFrame, EditBracketReachesListenerAndEditorInMirrorOrder) {
    auto* c = add(new TestControl(CRectangle(10, 10, 20, 20), &listener, 7));
    c->beginEdit();
    EXPECT_EQ(log.take(), "started|begin 7");
    EXPECT_EQ(frame->getFocusView(), c);
    c->endEdit();
    EXPECT_EQ(log.take(), "end 7|ended");

    c->draw(nullptr);
    c->setValue(0.2f);
    c->draw(nullptr);
    EXPECT_TRUE(c->checkDefaultReset(kButtonLeft | kModifierControl));
    EXPECT_EQ(log.take(), "started|begin 7|changed|end 7|ended");
}

TEST_F(CControlInFrame, IdleTasksRunThroughTheFrameOnlyWhenAttached) {
    TestControl detached(CRectangle(0, 0, 10, 10), &listener, 1);
    detached.runIdleTasks();
    detached.beginEdit();
    detached.endEdit();
    EXPECT_EQ(log.take(), "started|ended");

    auto* c = add(new TestControl(CRectangle(0, 0, 10, 10), &listener, 1));
    c->runIdleTasks();
    EXPECT_EQ(log.take(), "idle");
}

TEST(CControlKinds, EachControlAnswersItsOwnNameAndItsBases) {
    CKnob knob(CRectangle(0, 0, 40, 40), nullptr, 0, nullptr);
    CAnimKnob anim(CRectangle(0, 0, 40, 40), nullptr, 0, 97, 40, nullptr);
    COnOffButton button(CRectangle(0, 0, 12, 22), nullptr, 0, nullptr);
    CParamDisplay display(CRectangle(0, 0, 40, 10));
    struct Case {
        const CView* view;
        const char* name;
        bool kind;
    };
    const Case cases[] = {
        {&knob, "CKnob", true},           {&knob, "CControl", true},
        {&knob, "CView", true},           {&knob, "CAnimKnob", false},
        {&anim, "CAnimKnob", true},       {&anim, "CKnob", true},
        {&anim, "CControl", true},        {&anim, "CViewContainer", false},
        {&button, "COnOffButton", true},  {&button, "CControl", true},
        {&button, "CKnob", false},        {&display, "CParamDisplay", true},
        {&display, "CControl", true},     {&display, "CView", true},
        {&display, "COnOffButton", false}, {&knob, "ckNOB", false},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(k.view->isKindOf(k.name), k.kind);
    }
}

}  // namespace
}  // namespace toolkit::testing
