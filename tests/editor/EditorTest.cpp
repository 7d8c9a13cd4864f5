// The editor of one edition (this file is compiled once per edition) on the
// native stand-ins: the recording drawing backend holds the three images, the
// stand-in window layer takes the scripted mouse input, and a recording host
// sees what the effect asks of it.
#include "editor/Editor.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/editor/RecordingHost.h"
#include "toolkit/CAnimKnob.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFontDesc.h"
#include "toolkit/CFrame.h"
#include "toolkit/COnOffButton.h"
#include "toolkit/CParamDisplay.h"
#include "toolkit/StandInFramePlatform.h"
#include "toolkit/platform/native/RasterBackend.h"

using namespace editor_test;
using namespace editor_layout;
using namespace toolkit;

namespace {

constexpr int32_t kStripFrames = 97;
constexpr uint32_t kBackground = 0xFF302838;
constexpr uint32_t kSwitchDown = 0xFF00FF00;  // upper half, value 0
constexpr uint32_t kSwitchUp = 0xFFFF0000;    // lower half, any other value

#if defined(TOVRA_EDITION_VESK) && TOVRA_EDITION_VESK
constexpr int32_t kWidth = 642;
constexpr int32_t kMix = 13;
#else
constexpr int32_t kWidth = 310;
constexpr int32_t kMix = 5;
#endif
constexpr int32_t kHeight = 120;

// Strip frame k is filled with a colour of its own, so a drawn knob tells
// which frame it shows.
uint32_t stripColour(int32_t frame) { return 0xFF000000u | 0x100u * static_cast<uint32_t>(frame + 1); }

CRectangle knobRect(int32_t left) { return CRectangle(left, kKnobTop, left + 40, kKnobTop + 40); }
CRectangle displayRect(int32_t left) {
    return CRectangle(left + 2, kDisplayTop, left + 42, kDisplayBottom);
}
CPosition centreOf(const CRectangle& r) {
    return CPosition((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

std::string twoDecimals(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%2.2f", static_cast<double>(v));
    return text;
}

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        RasterBackend& backend = RasterBackend::instance();
        backend.reset();
        backend.addImageResource(kBackgroundResource, RasterSurface(kWidth, kHeight, kBackground));
        RasterSurface strip(40, 40 * kStripFrames);
        for (int32_t y = 0; y < strip.height; ++y)
            for (int32_t x = 0; x < strip.width; ++x) strip.setPixel(x, y, stripColour(y / 40));
        backend.addImageResource(kKnobStripResource, strip);
        RasterSurface lever(12, 44, kSwitchDown);
        for (int32_t y = 22; y < 44; ++y)
            for (int32_t x = 0; x < 12; ++x) lever.setPixel(x, y, kSwitchUp);
        backend.addImageResource(kSwitchResource, lever);

        effect = new TestEffect(kParameterCount);
        editor = new Editor(effect);  // owned by the effect
        for (int32_t i = 0; i < kParameterCount; ++i) effect->setParameter(i, 0.5f);
    }
    void TearDown() override {
        delete effect;
        CFontDesc::dropStaticPlatformFonts();
        RasterBackend::instance().reset();
    }

    void open() {
        ASSERT_TRUE(editor->open(&parentWindow));
        ASSERT_NE(editor->frame, nullptr);
    }
    StandInFramePlatform& window() {
        return *static_cast<StandInFramePlatform*>(editor->frame->getPlatform());
    }
    // Draws the whole frame onto `screen`, leaving every control clean.
    void paint() {
        auto* context = new CDrawContext(editor->frame, &screen, nullptr);
        editor->frame->drawInRect(context, CRectangle(0, 0, kWidth, kHeight));
        context->release();
    }
    std::vector<std::string> textsDrawnBy(CView* view) {
        RasterBackend::instance().clearCalls();
        auto* context = new CDrawContext(editor->frame, &screen, nullptr);
        view->draw(context);
        context->release();
        std::vector<std::string> texts;
        for (const auto& call : RasterBackend::instance().callsOf(RasterBackend::Op::DrawString))
            texts.push_back(call.text);
        return texts;
    }
    // The strip frame a painted knob shows, -1 when its centre shows none.
    int32_t frameShownAt(const CRectangle& knob) {
        const uint32_t pixel = screen.pixel(knob.left + 20, knob.top + 20);
        for (int32_t k = 0; k < kStripFrames; ++k)
            if (pixel == stripColour(k)) return k;
        return -1;
    }
    const Placement& mixPlacement() {
        for (const Placement& p : kPlacements)
            if (p.parameter == kMix) return p;
        return kPlacements[0];
    }

    RecordingHost host;
    TestEffect* effect = nullptr;
    Editor* editor = nullptr;
    int parentWindow = 0;
    RasterSurface screen{kWidth, kHeight};
};

TEST_F(EditorTest, ReportsTheBackgroundSizeBeforeAnyOpen) {
    ERect* rect = nullptr;
    ASSERT_TRUE(editor->getRect(&rect));
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, kHeight);
    EXPECT_EQ(rect->right, kWidth);
    EXPECT_FALSE(editor->isOpen());
}

TEST_F(EditorTest, OpenBuildsTheLayoutInTableOrder) {
    open();
    EXPECT_TRUE(editor->isOpen());
    CFrame* frame = editor->frame;
    EXPECT_EQ(frame->getViewRect(), CRectangle(0, 0, kWidth, kHeight));
    int32_t child = 0;
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(p.parameter);
        if (p.kind == ControlKind::Knob) {
            CAnimKnob* knob = editor->knobFor(p.parameter);
            ASSERT_NE(knob, nullptr);
            EXPECT_EQ(frame->childAt(child++), knob);
            EXPECT_EQ(knob->getViewRect(), knobRect(p.left));
            EXPECT_EQ(knob->getTag(), p.parameter);
            EXPECT_EQ(knob->getListener(), editor);
            EXPECT_EQ(knob->getFrameCount(), kStripFrames);
            EXPECT_EQ(knob->getFrameHeight(), 40);
            EXPECT_EQ(knob->getHandleInset(), 0);
            EXPECT_FLOAT_EQ(knob->getDefaultValue(), 0.5f);
            EXPECT_FLOAT_EQ(knob->getWheelStep(), 0.1f);

            CParamDisplay* display = editor->displayFor(p.parameter);
            ASSERT_NE(display, nullptr);
            EXPECT_EQ(frame->childAt(child++), display);
            EXPECT_EQ(display->getViewRect(), displayRect(p.left));
            EXPECT_EQ(display->getFont(), kFontSize11);
            EXPECT_EQ(display->getFontColor(), kColorWhite);
            EXPECT_EQ(display->getBackColor(), kColorBlack);
            EXPECT_EQ(display->getFrameColor(), kColorWhite);
            EXPECT_TRUE(display->isTransparent());
            EXPECT_EQ(display->getListener(), nullptr);
            EXPECT_EQ(editor->switchFor(p.parameter), nullptr);
        } else {
            CControl* button = editor->switchFor(p.parameter);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(frame->childAt(child++), button);
            EXPECT_TRUE(button->isKindOf("COnOffButton"));
            EXPECT_EQ(button->getViewRect(), CRectangle(kSwitchLeft, kSwitchTop, kSwitchLeft + 12,
                                                         kSwitchTop + 22));
            EXPECT_EQ(button->getTag(), p.parameter);
            EXPECT_EQ(static_cast<COnOffButton*>(button)->getNotifyOrder(), kNotifyAfterIdle);
            EXPECT_EQ(editor->knobFor(p.parameter), nullptr);
            EXPECT_EQ(editor->displayFor(p.parameter), nullptr);
        }
    }
    EXPECT_EQ(frame->childCount(), child);
    EXPECT_EQ(AEffGUIEditor::knobMode(), 2);
}

TEST_F(EditorTest, EveryControlStartsAtTheEffectsValue) {
    for (int32_t i = 0; i < kParameterCount; ++i) effect->setParameter(i, (i + 1) / 20.0f);
    open();
    paint();
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(p.parameter);
        const float v = (p.parameter + 1) / 20.0f;
        if (p.kind == ControlKind::Knob) {
            EXPECT_EQ(frameShownAt(knobRect(p.left)), static_cast<int32_t>(v * 96.0f));
            EXPECT_EQ(textsDrawnBy(editor->displayFor(p.parameter)),
                      std::vector<std::string>{twoDecimals(v)});
        } else {
            EXPECT_EQ(screen.pixel(kSwitchLeft + 6, kSwitchTop + 11), kSwitchUp);
        }
    }
}

TEST_F(EditorTest, HostAutomationRedrawsOnlyThatParametersControlsAtTheNextIdle) {
    open();
    paint();
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(p.parameter);
        window().invalidated.clear();
        effect->setParameter(p.parameter, 0.8f);  // the host's setParameter
        EXPECT_TRUE(window().invalidated.empty()) << "nothing is drawn before the idle pass";
        editor->idle();
        std::vector<CRectangle> expected;
        if (p.kind == ControlKind::Knob)
            expected = {knobRect(p.left), displayRect(p.left)};
        else
            expected = {CRectangle(kSwitchLeft, kSwitchTop, kSwitchLeft + 12, kSwitchTop + 22)};
        EXPECT_EQ(window().invalidated, expected);
        paint();
    }
}

TEST_F(EditorTest, ValuesOutsideTheParametersAndWhileClosedChangeNothing) {
    effect->setParameter(0, 0.25f);
    editor->setParameter(0, 0.9f);  // closed: ignored
    open();
    EXPECT_FLOAT_EQ(editor->knobFor(kPlacements[0].parameter)->getValue(),
                    effect->getParameter(kPlacements[0].parameter));
    paint();
    window().invalidated.clear();
    editor->setParameter(kParameterCount, 0.5f);
    editor->setParameter(20, 0.5f);
    editor->setParameter(-1, 0.5f);
    editor->idle();
    EXPECT_TRUE(window().invalidated.empty());
}

TEST_F(EditorTest, DraggingMixAutomatesItAtOneTwoHundredthPerPixel) {
    open();
    const CPosition start = centreOf(knobRect(mixPlacement().left));
    window().pressButton(start, kButtonLeft);
    for (int32_t d = 1; d <= 10; ++d)
        window().movePointer(CPosition(start.x, start.y - d), kButtonLeft);
    window().releaseButton(CPosition(start.x, start.y - 10), kButtonLeft);

    std::vector<std::string> expected{"begin-edit " + std::to_string(kMix)};
    for (int32_t d = 1; d <= 10; ++d) {
        char line[40];
        std::snprintf(line, sizeof line, "automate %d %.3f", kMix, 0.5 + d / 200.0);
        expected.push_back(line);
    }
    expected.push_back("end-edit " + std::to_string(kMix));
    EXPECT_EQ(host.lines(), expected);
    EXPECT_NEAR(effect->getParameter(kMix), 0.55f, 1e-6f);
    EXPECT_NEAR(editor->displayFor(kMix)->getValue(), 0.55f, 1e-6f);
}

TEST_F(EditorTest, ControlClickResetsToHalfAndTheWheelStepsATenth) {
    effect->setParameter(kMix, 0.8f);
    open();
    const CPosition centre = centreOf(knobRect(mixPlacement().left));
    window().pressButton(centre, kButtonLeft | kModifierControl);
    window().releaseButton(centre, kButtonLeft | kModifierControl);
    EXPECT_FLOAT_EQ(effect->getParameter(kMix), 0.5f);
    const std::string m = std::to_string(kMix);
    EXPECT_EQ(host.lines(), (std::vector<std::string>{"begin-edit " + m, "begin-edit " + m,
                                                      "automate " + m + " 0.500", "end-edit " + m,
                                                      "end-edit " + m}));
    host.clear();
    window().turnWheel(centre, 120);
    EXPECT_NEAR(effect->getParameter(kMix), 0.6f, 1e-6f);
    EXPECT_EQ(host.lines(), (std::vector<std::string>{"begin-edit " + m, "automate " + m + " 0.600",
                                                      "end-edit " + m}));
}

TEST_F(EditorTest, ClickingTheSwitchSetsStereoAfterRepainting) {
    if (!kHasSwitch) GTEST_SKIP() << "this edition has no switch";
    open();
    const CPosition centre(kSwitchLeft + 6, kSwitchTop + 11);
    window().pressButton(centre, kButtonLeft);
    window().releaseButton(centre, kButtonLeft);
    EXPECT_FLOAT_EQ(effect->getParameter(12), 1.0f);
    EXPECT_EQ(host.lines(), (std::vector<std::string>{"idle", "begin-edit 12", "automate 12 1.000",
                                                      "end-edit 12"}));
}

TEST_F(EditorTest, HostSwitchValueShowsTheLeverWithoutTouchingKnobs) {
    if (!kHasSwitch) GTEST_SKIP() << "this edition has no switch";
    open();
    paint();
    effect->setParameter(12, 0.3f);
    for (const Placement& p : kPlacements) {
        if (p.kind == ControlKind::Knob) {
            EXPECT_FALSE(editor->knobFor(p.parameter)->isDirty());
        }
    }
    paint();
    EXPECT_EQ(screen.pixel(kSwitchLeft + 6, kSwitchTop + 11), kSwitchUp);
}

TEST_F(EditorTest, ReopeningBuildsNewControlsInLinearKnobMode) {
    open();
    editor->close();
    EXPECT_EQ(editor->frame, nullptr);
    EXPECT_FALSE(editor->isOpen());
    EXPECT_EQ(editor->knobFor(kMix), nullptr);
    editor->setKnobMode(1);
    effect->setParameter(kMix, 0.2f);  // while closed
    open();
    EXPECT_EQ(AEffGUIEditor::knobMode(), 2);
    EXPECT_FLOAT_EQ(editor->knobFor(kMix)->getValue(), 0.2f);
    // Linear: pressing does not jump to the pointer's angle; moving 10 px up adds 0.05.
    const CRectangle knob = knobRect(mixPlacement().left);
    window().pressButton(CPosition(knob.left + 20, knob.top), kButtonLeft);
    EXPECT_FLOAT_EQ(effect->getParameter(kMix), 0.2f);
    window().movePointer(CPosition(knob.left + 20, knob.top - 10), kButtonLeft);
    window().releaseButton(CPosition(knob.left + 20, knob.top - 10), kButtonLeft);
    EXPECT_NEAR(effect->getParameter(kMix), 0.25f, 1e-6f);
}

TEST_F(EditorTest, OpeningAnOpenEditorReplacesItsFrame) {
    open();
    const int32_t liveWithOneFrame = RasterBackend::instance().liveObjects();
    open();
    EXPECT_EQ(RasterBackend::instance().liveObjects(), liveWithOneFrame)
        << "the first frame's images are gone";
    EXPECT_EQ(editor->frame->childCount(),
              static_cast<int32_t>(2 * kPlacements.size()) - (kHasSwitch ? 1 : 0));
}

TEST_F(EditorTest, ForeignTagsAreIgnored) {
    open();
    COnOffButton stray(CRectangle(0, 0, 1, 1), editor, kParameterCount, nullptr);
    stray.setValue(1.0f);
    editor->valueChanged(&stray);
    stray.setTag(-1);
    editor->valueChanged(&stray);
    EXPECT_TRUE(host.requests.empty());
}

TEST_F(EditorTest, OpenAndCloseManyTimesAndDestroyWhileOpen) {
    for (int i = 0; i < 50; ++i) {
        open();
        editor->idle();
        editor->close();
    }
    open();
    // The effect (and with it the editor) dies while the editor is open: the
    // frame goes first, so nothing is left that calls back into the editor.
    delete effect;
    effect = nullptr;
    EXPECT_EQ(RasterBackend::instance().isRunning(), false);
}

}  // namespace
