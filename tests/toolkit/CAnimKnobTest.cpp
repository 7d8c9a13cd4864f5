#include "toolkit/CAnimKnob.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "tests/toolkit/ControlTestSupport.h"
#include "toolkit/ButtonState.h"
#include "toolkit/CBitmap.h"

namespace toolkit::testing {
namespace {

TEST(CAnimKnobStrip, OffsetOfTheFrameShownForEachValue) {
    struct Case {
        float value;
        int32_t y;
    };
    const Case cases[] = {
        {0.5f, 1920},
        {0.999f, 3800},
        {1.0f, 3840},
        {-0.1f, 0},
        {0.0f, 0},
        {0.0104f, 0},   // 39.9 pixels into the strip: still frame 0
        {0.0105f, 40},  // 40.3: frame 1
        {0.25f, 960},
        {2.0f, 7680},   // beyond the last frame: as computed
        {std::numeric_limits<float>::quiet_NaN(), 0},
        {std::numeric_limits<float>::infinity(), INT32_MAX},
        {-std::numeric_limits<float>::infinity(), 0},
    };
    CAnimKnob knob(CRectangle(0, 0, 40, 40), nullptr, 0, 97, 40, nullptr);
    for (const auto& k : cases) {
        SCOPED_TRACE(::testing::Message() << "value " << k.value);
        knob.setValue(k.value);
        EXPECT_EQ(knob.stripOffsetForValue(), k.y);
    }
}

TEST(CAnimKnobStrip, StripWithoutFramesShowsItsTop) {
    for (int32_t height : {0, -40}) {
        SCOPED_TRACE(height);
        CAnimKnob knob(CRectangle(0, 0, 40, 40), nullptr, 0, 97, height, nullptr);
        knob.setValue(0.5f);
        EXPECT_EQ(knob.stripOffsetForValue(), 0);
    }
}

TEST(CAnimKnobStrip, FrameCountComesFromTheImageWhenThereIsOne) {
    struct Case {
        const char* name;
        int32_t imageHeight;  // 0: no image
        int32_t frameHeight;
        int32_t countPassed;
        int32_t count;
    };
    const Case cases[] = {
        {"strip of 97 frames", 3880, 40, 5, 97},
        {"frame height 0: count kept", 3880, 0, 5, 5},
        {"no image: count kept", 0, 40, 5, 5},
        {"quotient cut to 16 bits", 40000, 1, 5, -25536},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        CBitmap* image = k.imageHeight ? new CBitmap(1, k.imageHeight) : nullptr;
        CAnimKnob knob(CRectangle(0, 0, 40, 40), nullptr, 0, k.countPassed, k.frameHeight, image);
        EXPECT_EQ(knob.getFrameCount(), k.count);
        EXPECT_EQ(knob.getFrameHeight(), k.frameHeight);
        EXPECT_EQ(knob.getHandleInset(), 0);
        if (image) image->release();
    }
}

TEST(CAnimKnobStrip, FrameHeightChangesRecountTheStrip) {
    auto* image = new CBitmap(40, 3880);
    CAnimKnob knob(CRectangle(0, 0, 40, 40), nullptr, 0, 97, 40, image);
    image->release();
    knob.setFrameHeight(20);
    EXPECT_EQ(knob.getFrameCount(), 194);
    knob.setFrameHeight(0);
    EXPECT_EQ(knob.getFrameCount(), 194);

    CAnimKnob plain(CRectangle(0, 0, 40, 30), nullptr, 0, 7, 40, nullptr);
    plain.setFrameHeight(20);
    EXPECT_EQ(plain.getFrameCount(), 7);
    plain.autoComputeFrameHeight();
    EXPECT_EQ(plain.getFrameHeight(), 30);
    EXPECT_EQ(plain.getFrameCount(), 7);
}

TEST(CAnimKnobStrip, CloneRecountsAndForgetsTheLastDrawnPoint) {
    auto* image = new CBitmap(40, 3880);
    CAnimKnob knob(CRectangle(0, 0, 40, 40), nullptr, 2, 5, 40, image);
    image->release();
    knob.setValue(0.5f);
    knob.draw(nullptr);  // context unused: draws nothing, records the point
    EXPECT_EQ(knob.getLastDrawnPoint(), CPosition(20, 0));
    auto* copy = static_cast<CAnimKnob*>(knob.clone());
    EXPECT_EQ(copy->getFrameCount(), 97);
    EXPECT_EQ(copy->getFrameHeight(), 40);
    EXPECT_EQ(copy->getLastDrawnPoint(), CPosition(0, 0));
    EXPECT_EQ(copy->background(), image);
    EXPECT_TRUE(copy->isKindOf("CAnimKnob"));
    copy->release();
}

TEST(CAnimKnobDirty, OnlyAPointerMoveOfAWholePixelCounts) {
    struct Case {
        const char* name;
        float written;
        bool markDirty;
        bool dirty;
    };
    const Case cases[] = {
        {"same value", 0.5f, false, false},
        {"0.502: pointer still at (20, 0)", 0.502f, false, false},
        {"0.52: pointer moved", 0.52f, false, true},
        {"0.48: pointer moved", 0.48f, false, true},
        {"marked dirty", 0.5f, true, true},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        CAnimKnob knob(CRectangle(0, 0, 40, 40), nullptr, 0, 97, 40, nullptr);
        EXPECT_TRUE(knob.isDirty());  // never drawn
        knob.setValue(0.5f);
        knob.draw(nullptr);
        EXPECT_FALSE(knob.isDirty());
        knob.setValue(k.written);
        if (k.markDirty) knob.setDirty(true);
        EXPECT_EQ(knob.isDirty(), k.dirty);
    }
}

using CAnimKnobGesture = ControlFixture;

TEST_F(CAnimKnobGesture, ChangeBelowAPixelNotifiesButDoesNotRepaint) {
    auto* knob = add(new CAnimKnob(CRectangle(100, 50, 140, 90), &listener, 5, 97, 40, nullptr));
    knob->setValue(0.5f);
    EXPECT_EQ(frame->mouseDown(CPosition(120, 70), kButtonLeft), kMouseHandled);
    knob->draw(nullptr);  // the paint that follows the press
    EXPECT_EQ(log.take(), "started|begin 5");

    frame->mouseMoved(CPosition(121, 70), kButtonLeft);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.505f);
    EXPECT_EQ(log.take(), "changed");

    frame->mouseMoved(CPosition(122, 70), kButtonLeft);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.51f);
    EXPECT_EQ(log.take(), "changed|invalidate 100,50,140,90");

    frame->mouseUp(CPosition(122, 70), kButtonLeft);
    EXPECT_EQ(log.take(), "end 5|ended");
}

}  // namespace
}  // namespace toolkit::testing
