#include "toolkit/COnOffButton.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/toolkit/ControlTestSupport.h"
#include "toolkit/ButtonState.h"

namespace toolkit::testing {
namespace {

class COnOffButtonClick : public ControlFixture {
protected:
    COnOffButton* makeButton(CControlListener* l = nullptr) {
        button = add(new COnOffButton(CRectangle(254, 67, 266, 89), l ? l : &listener, 12, nullptr));
        return button;
    }

    COnOffButton* button = nullptr;
};

TEST_F(COnOffButtonClick, LeftClickToggles) {
    struct Case {
        float start;
        float toggled;
    };
    const Case cases[] = {
        {0.3f, 1.0f},  {1.0f, 0.0f},  {-1.0f, 0.0f}, {0.0f, 1.0f},
        {0.5f, 1.0f},  {2.5f, 0.0f},  {-0.9f, 1.0f}, {std::numeric_limits<float>::quiet_NaN(), 0.0f},
    };
    makeButton();
    for (const auto& k : cases) {
        SCOPED_TRACE(::testing::Message() << "from " << k.start);
        button->setValue(k.start);
        EXPECT_EQ(button->mouseDown(CPosition(256, 70), kButtonLeft), kMouseHandledNoTracking);
        EXPECT_EQ(button->getValue(), k.toggled);
        log.take();
    }
}

TEST_F(COnOffButtonClick, OtherButtonsAreNotHandled) {
    makeButton()->setValue(0.0f);
    for (int32_t buttons : {int32_t{kButtonRight}, int32_t{kButtonMiddle}, int32_t{0}}) {
        SCOPED_TRACE(buttons);
        EXPECT_EQ(button->mouseDown(CPosition(256, 70), buttons), kMouseNotHandled);
        EXPECT_EQ(button->getValue(), 0.0f);
        EXPECT_EQ(log.take(), "");
    }
}

TEST_F(COnOffButtonClick, NotifyOrderPlacesTheGestureAroundTheIdleTasks) {
    struct Case {
        int32_t order;
        const char* log;
    };
    const Case cases[] = {
        {kNotifyAfterIdle, "invalidate 254,67,266,89|idle|started|begin 12|changed|end 12|ended"},
        {kNotifyBeforeIdle, "invalidate 254,67,266,89|started|begin 12|changed|end 12|ended|idle"},
        {2, "invalidate 254,67,266,89|idle"},
        {-1, "invalidate 254,67,266,89|idle"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.order);
        makeButton()->setNotifyOrder(k.order);
        EXPECT_EQ(button->getNotifyOrder(), k.order);
        button->setValue(0.0f);
        listener.notifiedValues.clear();
        // Through the frame: the click is answered without tracking, so the
        // release reaches no view.
        EXPECT_EQ(frame->mouseDown(CPosition(256, 70), kButtonLeft), kMouseHandledNoTracking);
        EXPECT_EQ(frame->mouseUp(CPosition(256, 70), kButtonLeft), kMouseNotHandled);
        EXPECT_EQ(button->getValue(), 1.0f);
        EXPECT_EQ(log.take(), k.log);
        if (k.order == kNotifyAfterIdle || k.order == kNotifyBeforeIdle) {
            EXPECT_EQ(listener.notifiedValues, std::vector<float>{1.0f});
        } else {
            EXPECT_TRUE(listener.notifiedValues.empty());
        }
        frame->removeChild(button, true);
        log.take();
    }
}

TEST_F(COnOffButtonClick, EveryClickNotifiesEvenWithoutAVisibleChange) {
    makeButton()->setValue(0.0f);
    button->mouseDown(CPosition(256, 70), kButtonLeft);
    button->mouseDown(CPosition(256, 70), kButtonLeft);
    button->mouseDown(CPosition(256, 70), kButtonLeft);
    EXPECT_EQ(listener.notifiedValues, (std::vector<float>{1.0f, 0.0f, 1.0f}));
}

TEST_F(COnOffButtonClick, EditorClosedByTheHostDuringTheIdleTasks) {
    makeButton()->setValue(0.0f);
    // A host that closes the editor when asked for idle time: the frame and
    // with it the button's owner go away in the middle of the click.
    editor.onIdle = [this] {
        delete frame;
        frame = nullptr;
        editor.frame = nullptr;
    };
    EXPECT_EQ(button->mouseDown(CPosition(256, 70), kButtonLeft), kMouseHandledNoTracking);
    EXPECT_EQ(log.take(), "invalidate 254,67,266,89|idle|started|changed|ended");
    EXPECT_EQ(listener.notifiedValues, std::vector<float>{1.0f});
}

TEST(COnOffButton, CloneKeepsTheNotifyOrder) {
    COnOffButton button(CRectangle(0, 0, 12, 22), nullptr, 12, nullptr);
    button.setNotifyOrder(kNotifyBeforeIdle);
    button.setValue(1.0f);
    auto* copy = static_cast<COnOffButton*>(button.clone());
    EXPECT_EQ(copy->getNotifyOrder(), kNotifyBeforeIdle);
    EXPECT_EQ(copy->getTag(), 12);
    EXPECT_EQ(copy->getValue(), 1.0f);
    copy->release();
}

}  // namespace
}  // namespace toolkit::testing
