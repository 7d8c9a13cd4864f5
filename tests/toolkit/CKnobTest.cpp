#include "toolkit/CKnob.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "tests/toolkit/ControlTestSupport.h"
#include "toolkit/ButtonState.h"
#include "toolkit/CAnimKnob.h"
#include "toolkit/CBitmap.h"

namespace toolkit::testing {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t L = kButtonLeft;
constexpr int32_t S = kModifierShift;
constexpr int32_t A = kModifierAlt;

TEST(CKnobMap, DefaultCoefficients) {
    CKnob knob(CRectangle(0, 0, 40, 40), nullptr, 0, nullptr);
    EXPECT_FLOAT_EQ(knob.getStartAngle(), static_cast<float>(5.0 * kPi / 4.0));
    EXPECT_FLOAT_EQ(knob.getRangeAngle(), static_cast<float>(-3.0 * kPi / 2.0));
    EXPECT_FLOAT_EQ(knob.getHalfGapAngle(), static_cast<float>(kPi / 4.0));
    EXPECT_FLOAT_EQ(knob.getValuePerRadian(), -0.21220659f);
    EXPECT_FLOAT_EQ(knob.getValueAtAngleZero(), 5.0f / 6.0f);
    EXPECT_EQ(knob.getHandleInset(), 3);
    EXPECT_EQ(knob.getFineFactor(), 1.5f);
    EXPECT_TRUE(knob.acceptsFocus());
    EXPECT_TRUE(knob.isDirty());
}

TEST(CKnobMap, HandlePointsOfAFortyPixelKnob) {
    struct Case {
        float value;
        CPosition point;
    };
    const Case cases[] = {
        {0.0f, {6, 34}}, {0.25f, {2, 12}}, {0.5f, {20, 0}}, {0.75f, {38, 12}}, {1.0f, {34, 34}},
    };
    CKnob knob(CRectangle(100, 50, 140, 90), nullptr, 0, nullptr);
    knob.setHandleInset(0);
    CAnimKnob anim(CRectangle(0, 0, 40, 40), nullptr, 0, 97, 40, nullptr);
    for (const auto& k : cases) {
        SCOPED_TRACE(::testing::Message() << "value " << k.value);
        CPosition p;
        knob.setValue(k.value);
        knob.handlePointForValue(p);
        EXPECT_EQ(p, k.point);
        anim.setValue(k.value);
        anim.handlePointForValue(p);
        EXPECT_EQ(p, k.point);
    }
    // The inset pulls the pointer towards the centre.
    CPosition p;
    knob.setHandleInset(3);
    knob.setValue(0.5f);
    knob.handlePointForValue(p);
    EXPECT_EQ(p, CPosition(20, 3));
}

TEST(CKnobMap, ValueForPoint) {
    struct Case {
        const char* name;
        bool counterClockwise;
        CPosition point;
        float value;
    };
    const Case cases[] = {
        {"just left of straight down", false, {19, 39}, 0.0f},
        {"just right of straight down", false, {21, 39}, 1.0f},
        {"straight up", false, {20, 0}, 0.5f},
        {"left", false, {0, 20}, 1.0f / 6.0f},
        {"right", false, {40, 20}, 5.0f / 6.0f},
        {"far outside, lower left", false, {-500, 600}, 0.0f},
        {"mirrored map: straight up", true, {20, 0}, 0.5f},
        {"mirrored map: left", true, {0, 20}, 5.0f / 6.0f},
        {"mirrored map: just left of down", true, {19, 39}, 1.0f},
        {"mirrored map: just right of down", true, {21, 39}, 0.0f},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        CKnob knob(CRectangle(0, 0, 40, 40), nullptr, 0, nullptr);
        if (k.counterClockwise) {
            // Minimum at the lower right, sweeping counter-clockwise.
            knob.setStartAngle(static_cast<float>(-kPi / 4.0));
            knob.setRangeAngle(static_cast<float>(3.0 * kPi / 2.0));
        }
        EXPECT_NEAR(knob.valueForPoint(k.point), k.value, 1e-5);
    }
}

TEST(CKnobMap, AngleSettersRecomputeAndMarkDirtyRangeSettersDoNot) {
    CKnob knob(CRectangle(0, 0, 40, 40), nullptr, 0, nullptr);
    knob.setDirty(false);
    knob.setRangeAngle(static_cast<float>(-kPi));
    EXPECT_TRUE(knob.isDirty());
    EXPECT_FLOAT_EQ(knob.getHalfGapAngle(), static_cast<float>(kPi / 2.0));
    EXPECT_FLOAT_EQ(knob.getValuePerRadian(), static_cast<float>(-1.0 / kPi));

    knob.setDirty(false);
    knob.setStartAngle(static_cast<float>(kPi));
    EXPECT_TRUE(knob.isDirty());
    EXPECT_FLOAT_EQ(knob.getValueAtAngleZero(), 1.0f);

    knob.setMax(2.0f);
    EXPECT_FLOAT_EQ(knob.getValuePerRadian(), static_cast<float>(-1.0 / kPi));
}

TEST(CKnobSettings, WhichSettersMarkTheKnobDirty) {
    struct Case {
        const char* name;
        std::function<void(CKnob&)> set;
        bool dirty;
    };
    const Case cases[] = {
        {"handle colour", [](CKnob& k) { k.setHandleColor(kColorRed); }, true},
        {"handle shadow colour", [](CKnob& k) { k.setHandleShadowColor(kColorBlue); }, true},
        {"start angle", [](CKnob& k) { k.setStartAngle(1.0f); }, true},
        {"range angle", [](CKnob& k) { k.setRangeAngle(-1.0f); }, true},
        {"handle inset", [](CKnob& k) { k.setHandleInset(5); }, false},
        {"fine factor", [](CKnob& k) { k.setFineFactor(3.0f); }, false},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        CKnob knob(CRectangle(0, 0, 40, 40), nullptr, 0, nullptr);
        knob.setDirty(false);
        k.set(knob);
        EXPECT_EQ(knob.isDirty(), k.dirty);
    }
}

TEST(CKnobSettings, HandleImageSetsTheInsetAndHoldsOneReference) {
    CKnob knob(CRectangle(0, 0, 40, 40), nullptr, 0, nullptr);
    auto* narrow = new CBitmap(9, 9);
    auto* wide = new CBitmap(10, 4);
    knob.setDirty(false);
    knob.setHandleImage(narrow);
    EXPECT_EQ(knob.getHandleInset(), 7);  // trunc(4.5 + 2.5)
    EXPECT_FALSE(knob.isDirty());
    EXPECT_EQ(narrow->referenceCount(), 2);
    knob.setHandleImage(narrow);  // the image already held stays alive
    EXPECT_EQ(narrow->referenceCount(), 2);
    knob.setHandleImage(wide);
    EXPECT_EQ(knob.getHandleInset(), 7);  // trunc(5 + 2.5)
    EXPECT_EQ(narrow->referenceCount(), 1);
    knob.setHandleImage(nullptr);
    EXPECT_EQ(knob.getHandleInset(), 7);
    EXPECT_EQ(wide->referenceCount(), 1);
    narrow->release();
    wide->release();
}

TEST(CKnobSettings, CloneCopiesSettingsAndAResetGesture) {
    auto* handle = new CBitmap(6, 6);
    CKnob knob(CRectangle(10, 10, 50, 50), nullptr, 4, nullptr, CPosition(0, 80));
    knob.setHandleImage(handle);
    knob.setHandleColor(kColorCyan);
    knob.setFineFactor(2.0f);
    knob.setValue(0.3f);
    knob.setBackOffset(CPosition(5, 5));
    auto* copy = static_cast<CKnob*>(knob.clone());
    EXPECT_EQ(copy->getTag(), 4);
    EXPECT_EQ(copy->getValue(), 0.3f);
    EXPECT_EQ(copy->getHandleImage(), handle);
    EXPECT_EQ(handle->referenceCount(), 3);
    EXPECT_EQ(copy->getHandleColor(), kColorCyan);
    EXPECT_EQ(copy->getFineFactor(), 2.0f);
    EXPECT_EQ(copy->getBackgroundOffset(), CPosition(0, 80));
    EXPECT_EQ(copy->getBackOffset(), CPosition(0, 0));
    EXPECT_EQ(copy->getViewRect(), CRectangle(10, 10, 50, 50));
    copy->release();
    EXPECT_EQ(handle->referenceCount(), 2);
    handle->release();
}

// ---------------------------------------------------------------------------
// Scripted gestures through the frame. The knob sits at (100, 50, 140, 90)
// with tag 3; positions are frame coordinates.

enum class Act { Down, Move, Up };

struct Step {
    const char* label;
    Act act;
    CPosition where;
    int32_t buttons;
    float value;             // expected value after the step...
    bool followsPointer;     // ...or the pointer's own value (circular drags)
    const char* log;
    MouseResult result;
};

constexpr const char* kRepaint = "changed|invalidate 100,50,140,90";

class CKnobGesture : public ControlFixture {
protected:
    CKnob* makeKnob(float value) {
        knob = add(new CKnob(CRectangle(100, 50, 140, 90), &listener, 3, nullptr));
        knob->setValue(value);
        knob->setDirty(false);
        return knob;
    }

    void run(const Step* steps, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            const Step& s = steps[i];
            SCOPED_TRACE(s.label);
            MouseResult r = 0;
            switch (s.act) {
                case Act::Down: r = frame->mouseDown(s.where, s.buttons); break;
                case Act::Move: r = frame->mouseMoved(s.where, s.buttons); break;
                case Act::Up: r = frame->mouseUp(s.where, s.buttons); break;
            }
            EXPECT_EQ(r, s.result);
            const float expected =
                s.followsPointer
                    ? knob->valueForPoint(CPosition(s.where.x - 100, s.where.y - 50))
                    : s.value;
            EXPECT_NEAR(knob->getValue(), expected, 1e-5);
            EXPECT_EQ(log.take(), s.log);
        }
    }

    CKnob* knob = nullptr;
};

TEST_F(CKnobGesture, LinearDragWithoutShift) {
    makeKnob(0.5f);
    const Step steps[] = {
        {"press: nothing moves yet", Act::Down, {120, 70}, L, 0.5f, false, "started|begin 3", 1},
        {"10 right and 5 up: +15/200", Act::Move, {130, 65}, L, 0.575f, false, kRepaint, 1},
        {"same point again", Act::Move, {130, 65}, L, 0.575f, false, "", 1},
        {"moved without the left button", Act::Move, {135, 65}, 0, 0.575f, false, "", 1},
        {"far right: clamped", Act::Move, {250, 70}, L, 1.0f, false, kRepaint, 1},
        {"further right: still 1, no notification", Act::Move, {260, 70}, L, 1.0f, false, "", 1},
        {"back to +10: follows the displacement", Act::Move, {130, 70}, L, 0.55f, false, kRepaint, 1},
        {"release", Act::Up, {130, 70}, L, 0.55f, false, "end 3|ended", 1},
        {"moves after the release do not drag", Act::Move, {140, 70}, L, 0.55f, false, "", 1},
    };
    run(steps, std::size(steps));
}

TEST_F(CKnobGesture, LinearDragWithShiftFromTheStart) {
    makeKnob(0.5f);
    const Step steps[] = {
        {"press with Shift", Act::Down, {120, 70}, L | S, 0.5f, false, "modifier|started|begin 3", 1},
        {"15 pixels: +15/300", Act::Move, {130, 65}, L | S, 0.55f, false, kRepaint, 1},
        {"release", Act::Up, {130, 65}, L | S, 0.55f, false, "end 3|ended", 1},
    };
    run(steps, std::size(steps));
}

TEST_F(CKnobGesture, ShiftPressedAndReleasedMidDragOnlyChangesTheSpeed) {
    makeKnob(0.5f);
    const Step steps[] = {
        {"press", Act::Down, {120, 70}, L, 0.5f, false, "started|begin 3", 1},
        {"+10 at 1/200", Act::Move, {130, 70}, L, 0.55f, false, kRepaint, 1},
        {"Shift pressed at +11: whole 11 still at 1/200", Act::Move, {131, 70}, L | S, 0.555f, false,
         kRepaint, 1},
        {"+3 more at 1/300", Act::Move, {134, 70}, L | S, 0.565f, false, kRepaint, 1},
        {"Shift released at +15: that pixel still at 1/300", Act::Move, {135, 70}, L,
         0.565f + 1.0f / 300.0f, false, kRepaint, 1},
        {"+1 more at 1/200", Act::Move, {136, 70}, L, 0.565f + 1.0f / 300.0f + 1.0f / 200.0f, false,
         kRepaint, 1},
        {"release", Act::Up, {136, 70}, L, 0.565f + 1.0f / 300.0f + 1.0f / 200.0f, false,
         "end 3|ended", 1},
    };
    run(steps, std::size(steps));
}

TEST_F(CKnobGesture, FineFactorSetsTheShiftSpeed) {
    makeKnob(0.5f)->setFineFactor(2.0f);
    const Step steps[] = {
        {"press with Shift", Act::Down, {120, 70}, L | S, 0.5f, false, "modifier|started|begin 3", 1},
        {"+20 at 1/400", Act::Move, {140, 70}, L | S, 0.55f, false, kRepaint, 1},
        {"release", Act::Up, {140, 70}, L | S, 0.55f, false, "end 3|ended", 1},
    };
    run(steps, std::size(steps));
}

TEST_F(CKnobGesture, CircularDragPinsAtTheMaximumAcrossTheDeadWedge) {
    editor.knobMode = 0;
    makeKnob(0.5f);
    const Step steps[] = {
        {"press at about 0.9: jumps there", Act::Down, {134, 75}, L, 0.0f, true,
         "started|begin 3|changed|invalidate 100,50,140,90", 1},
        {"right half of the wedge: 1.0 accepted", Act::Move, {122, 88}, L, 1.0f, false, kRepaint, 1},
        {"left half of the wedge: pinned", Act::Move, {118, 88}, L, 1.0f, false, "", 1},
        {"left side: pinned", Act::Move, {102, 75}, L, 1.0f, false, "", 1},
        {"just below 0.5: pinned", Act::Move, {118, 52}, L, 1.0f, false, "", 1},
        {"just above 0.5: follows again", Act::Move, {122, 52}, L, 0.0f, true, kRepaint, 1},
        {"back at about 0.9", Act::Move, {134, 75}, L, 0.0f, true, kRepaint, 1},
        {"release", Act::Up, {134, 75}, L, 0.0f, true, "end 3|ended", 1},
    };
    run(steps, std::size(steps));
    EXPECT_NEAR(knob->getValue(), 0.9f, 0.01f);
}

TEST_F(CKnobGesture, CircularDragPinsAtTheMinimumAcrossTheDeadWedge) {
    editor.knobMode = 0;
    makeKnob(0.5f);
    const Step steps[] = {
        {"press at about 0.1", Act::Down, {102, 75}, L, 0.0f, true,
         "started|begin 3|changed|invalidate 100,50,140,90", 1},
        {"left half of the wedge: 0 accepted", Act::Move, {118, 88}, L, 0.0f, false, kRepaint, 1},
        {"right half of the wedge: pinned", Act::Move, {122, 88}, L, 0.0f, false, "", 1},
        {"right side: pinned", Act::Move, {138, 75}, L, 0.0f, false, "", 1},
        {"just above 0.5: pinned", Act::Move, {122, 52}, L, 0.0f, false, "", 1},
        {"just below 0.5: follows again", Act::Move, {118, 52}, L, 0.0f, true, kRepaint, 1},
        {"release", Act::Up, {118, 52}, L, 0.0f, true, "end 3|ended", 1},
    };
    run(steps, std::size(steps));
}

TEST_F(CKnobGesture, ControlClickResetsToTheDefaultAsOneNestedGesture) {
    makeKnob(0.2f);
    const Step steps[] = {
        {"Control+left", Act::Down, {120, 70}, L | kModifierControl, 0.5f, false,
         "modifier|started|begin 3|started|begin 3|changed|end 3|ended|end 3|ended",
         kMouseHandledNoTracking},
        {"no drag follows", Act::Move, {140, 60}, L, 0.5f, false, "", 1},
        {"the release reaches no view", Act::Up, {140, 60}, L, 0.5f, false, "", kMouseNotHandled},
    };
    run(steps, std::size(steps));
}

TEST_F(CKnobGesture, DragModeFollowsKnobModeAndAlt) {
    struct Case {
        const char* name;
        int32_t mode;
        int32_t buttons;
        bool circular;
    };
    const Case cases[] = {
        {"mode 2: linear", 2, L, false},         {"mode 2 + Alt: circular", 2, L | A, true},
        {"mode 0: circular", 0, L, true},        {"mode 0 + Alt: linear", 0, L | A, false},
        {"mode 1: circular", 1, L, true},        {"mode 1 + Alt: linear", 1, L | A, false},
        {"mode 2, Shift: linear", 2, L | S, false},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        editor.knobMode = k.mode;
        CKnob* kn = makeKnob(0.1f);
        // The top of the knob is 0.5 on the circle.
        EXPECT_EQ(frame->mouseDown(CPosition(120, 50), k.buttons), kMouseHandled);
        EXPECT_NEAR(kn->getValue(), k.circular ? 0.5f : 0.1f, 1e-5);
        frame->mouseUp(CPosition(120, 50), k.buttons);
        frame->removeChild(kn, true);
        log.take();
    }
}

TEST_F(CKnobGesture, PressWithoutTheLeftButtonChangesNothing) {
    editor.knobMode = 0;
    makeKnob(0.1f);
    const Step steps[] = {
        {"right button", Act::Down, {120, 50}, kButtonRight, 0.1f, false, "modifier|started|begin 3", 1},
        {"moving", Act::Move, {130, 50}, kButtonRight, 0.1f, false, "", 1},
        {"release", Act::Up, {130, 50}, kButtonRight, 0.1f, false, "end 3|ended", 1},
    };
    run(steps, std::size(steps));
}

TEST_F(CKnobGesture, WheelSteps) {
    struct Case {
        const char* name;
        float start;
        float distance;
        int32_t buttons;
        float value;
        const char* log;
    };
    const char* notified = "started|begin 3|changed|end 3|ended";
    const Case cases[] = {
        {"+1 at 0.95: clamped", 0.95f, 1.0f, 0, 1.0f, notified},
        {"+1 with Shift at 0.95", 0.95f, 1.0f, S, 0.96f, notified},
        {"-2 at 0.5", 0.5f, -2.0f, 0, 0.3f, notified},
        {"-1 at 0.05: clamped", 0.05f, -1.0f, 0, 0.0f, notified},
        {"+1 at the maximum: nothing to report", 1.0f, 1.0f, 0, 1.0f, ""},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        CKnob* kn = makeKnob(k.start);
        EXPECT_TRUE(frame->wheel(CPosition(120, 70), k.distance, k.buttons));
        EXPECT_NEAR(kn->getValue(), k.value, 1e-6);
        EXPECT_EQ(log.take(), k.log);
        frame->removeChild(kn, true);
        log.take();
    }
}

TEST_F(CKnobGesture, WheelIgnoredWhileTheMouseIsDisabled) {
    makeKnob(0.5f);
    knob->setMouseEnabled(false);
    EXPECT_FALSE(knob->wheel(CPosition(120, 70), 1.0f, 0));
    EXPECT_EQ(knob->getValue(), 0.5f);
    EXPECT_EQ(log.take(), "");
}

TEST_F(CKnobGesture, ArrowKeysStepTheFocusedKnob) {
    struct Case {
        const char* name;
        uint8_t virt;
        uint8_t modifier;
        float start;
        int32_t answer;
        float value;
        const char* log;
    };
    const char* notified = "started|begin 3|changed|end 3|ended";
    const Case cases[] = {
        {"up", kVirtualKeyUp, 0, 0.5f, 1, 0.6f, notified},
        {"right", kVirtualKeyRight, 0, 0.5f, 1, 0.6f, notified},
        {"left", kVirtualKeyLeft, 0, 0.5f, 1, 0.4f, notified},
        {"down", kVirtualKeyDown, 0, 0.5f, 1, 0.4f, notified},
        {"up with Shift", kVirtualKeyUp, 1, 0.5f, 1, 0.51f, notified},
        {"up at the maximum", kVirtualKeyUp, 0, 1.0f, 1, 1.0f, ""},
        {"virtual key 15: not handled", 15, 0, 0.5f, -1, 0.5f, ""},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        CKnob* kn = makeKnob(k.start);
        frame->setFocusView(kn);
        kn->setDirty(false);
        log.take();
        VstKeyCode key;
        key.virt = k.virt;
        key.modifier = k.modifier;
        EXPECT_EQ(frame->keyDown(key), k.answer);
        EXPECT_NEAR(kn->getValue(), k.value, 1e-6);
        EXPECT_EQ(log.take(), k.log);
        frame->removeChild(kn, true);
        log.take();
    }
}

}  // namespace
}  // namespace toolkit::testing
