// What the controls draw, read from the native recording backend.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "tests/toolkit/ControlDrawingSupport.h"
#include "toolkit/platform/native/RasterBackend.h"
#include "toolkit/CAnimKnob.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CFontDesc.h"
#include "toolkit/CKnob.h"
#include "toolkit/COnOffButton.h"
#include "toolkit/CParamDisplay.h"

namespace toolkit::testing {
namespace {

using Drawn = std::vector<std::string>;

class ControlDrawing : public ::testing::Test {
protected:
    DrawingFixture drawing;
};

TEST_F(ControlDrawing, KnobDrawsItsBackgroundThenAPointerOfTwoLines) {
    auto* image = new CBitmap(40, 400);
    CKnob knob(CRectangle(100, 50, 140, 90), nullptr, 0, image, CPosition(0, 80));
    image->release();
    knob.setValue(0.5f);  // pointer at (20, 3) with the default inset, centre (20, 20)
    knob.draw(drawing.context);
    EXPECT_EQ(drawing.drawn(), (Drawn{
                                   "image 100,50 40x40 from 0,80",
                                   "line 119,53-119,70 FF7F7F7F",
                                   "line 120,52-120,69 FFFFFFFF",
                               }));
    EXPECT_FALSE(knob.isDirty());
}

TEST_F(ControlDrawing, KnobDrawsItsHandleImageCentredOnThePointer) {
    auto* handle = new CBitmap(6, 8);
    CKnob knob(CRectangle(100, 50, 140, 90), nullptr, 0, nullptr);
    knob.setHandleImage(handle);  // inset trunc(3 + 2.5) = 5
    handle->release();
    knob.setValue(0.5f);          // pointer at (20, 5)
    knob.draw(drawing.context);
    EXPECT_EQ(drawing.drawn(), (Drawn{"image 117,51 6x8 from 0,0"}));
}

TEST_F(ControlDrawing, AnimKnobDrawsTheFrameOfItsValue) {
    struct Case {
        float value;
        const char* drawn;
    };
    const Case cases[] = {
        {0.5f, "image 100,50 40x40 from 0,1920"},
        {0.999f, "image 100,50 40x40 from 0,3800"},
        {1.0f, "image 100,50 40x40 from 0,3840"},
        {-0.1f, "image 100,50 40x40 from 0,0"},
    };
    auto* strip = new CBitmap(40, 3880);
    CAnimKnob knob(CRectangle(100, 50, 140, 90), nullptr, 0, 97, 40, strip);
    strip->release();
    for (bool transparent : {false, true}) {
        knob.setTransparent(transparent);
        for (const auto& k : cases) {
            SCOPED_TRACE(::testing::Message() << k.value << (transparent ? " transparent" : ""));
            drawing.startRecording();
            knob.setValue(k.value);
            knob.draw(drawing.context);
            EXPECT_EQ(drawing.drawn(), (Drawn{k.drawn}));
            EXPECT_FALSE(knob.isDirty());
        }
    }
}

TEST_F(ControlDrawing, ButtonDrawsTheUpperHalfOnlyForZero) {
    struct Case {
        float value;
        const char* drawn;
    };
    const Case cases[] = {
        {0.0f, "image 254,67 12x22 from 0,0"},
        {-0.0f, "image 254,67 12x22 from 0,0"},
        {1.0f, "image 254,67 12x22 from 0,22"},
        {0.3f, "image 254,67 12x22 from 0,22"},
        {-2.0f, "image 254,67 12x22 from 0,22"},
        {std::numeric_limits<float>::quiet_NaN(), "image 254,67 12x22 from 0,22"},
    };
    auto* image = new CBitmap(12, 44);
    COnOffButton button(CRectangle(254, 67, 266, 89), nullptr, 12, image);
    image->release();
    for (const auto& k : cases) {
        SCOPED_TRACE(k.value);
        drawing.startRecording();
        button.setValue(k.value);
        button.draw(drawing.context);
        EXPECT_EQ(drawing.drawn(), (Drawn{k.drawn}));
    }
    CControl* c = &button;
    c->setValue(1.0f);
    c->draw(drawing.context);
    EXPECT_EQ(c->getOldValue(), 1.0f);
    EXPECT_FALSE(c->isDirty());
}

// Display at (10, 10, 50, 30): font white, back blue, frame red, shadow green.
CParamDisplay* makeDisplay(int32_t style, bool transparent) {
    auto* d = new CParamDisplay(CRectangle(10, 10, 50, 30));
    d->setFont(kFontSize11);
    d->setFontColor(kColorWhite);
    d->setBackColor(kColorBlue);
    d->setFrameColor(kColorRed);
    d->setShadowColor(kColorGreen);
    d->setDisplayStyle(style);
    d->setTransparent(transparent);
    d->setValue(0.5f);
    return d;
}

TEST_F(ControlDrawing, DisplayStyles) {
    const std::string fill = "fill 10,10 40x20";
    const std::string outline = "rect 10,10 39x19 FFFF0000";
    const std::string text = "text 0.50 FFFFFFFF";
    const Drawn sunken = {"line 10,30-10,11 FF0000FF", "line 10,11-49,11 FF0000FF",
                          "line 49,11-49,30 FFFF0000", "line 49,30-10,30 FFFF0000"};
    const Drawn raised = {"line 10,30-10,11 FFFF0000", "line 10,11-49,11 FFFF0000",
                          "line 49,11-49,30 FF0000FF", "line 49,30-10,30 FF0000FF"};
    auto join = [](Drawn a, const Drawn& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    struct Case {
        const char* name;
        int32_t style;
        bool transparent;
        Drawn drawn;
    };
    const Case cases[] = {
        {"opaque", 0, false, {fill, outline, text}},
        {"opaque, no frame", kStyleNoFrame, false, {fill, text}},
        {"opaque, 3-D in", kStyle3DIn, false, join(join({fill}, sunken), {text})},
        {"opaque, 3-D out", kStyle3DOut, false, join(join({fill}, raised), {text})},
        {"opaque, no text", kStyleNoText, false, {fill, outline}},
        {"transparent", 0, true, {text}},
        {"transparent, 3-D in", kStyle3DIn, true, join(sunken, {text})},
        {"transparent, shadow", kStyleShadowText, true, {"text 0.50 FF00FF00", text}},
        {"no draw", kStyleNoDraw, false, {}},
        {"no draw, 3-D in", kStyleNoDraw | kStyle3DIn, false, {}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        CParamDisplay* d = makeDisplay(k.style, k.transparent);
        drawing.startRecording();
        d->draw(drawing.context);
        EXPECT_EQ(drawing.drawnWithoutClips(), k.drawn);
        EXPECT_FALSE(d->isDirty());
        d->release();
    }
}

TEST_F(ControlDrawing, DisplayFillCoversTheViewAndTheBorderItsEdges) {
    CParamDisplay* d = makeDisplay(kStyle3DIn | kStyleNoText, false);
    drawing.surface.fill(0);
    d->draw(drawing.context);
    const RasterSurface& s = drawing.surface;
    EXPECT_EQ(s.pixel(30, 20), 0xFF0000FFu);  // inside: back colour
    EXPECT_EQ(s.pixel(49, 20), 0xFFFF0000u);  // right edge: frame colour
    EXPECT_EQ(s.pixel(30, 30), 0xFFFF0000u);  // bottom line, just below the fill
    EXPECT_EQ(s.pixel(9, 20), 0u);            // nothing outside
    EXPECT_EQ(s.pixel(30, 9), 0u);
    EXPECT_EQ(s.count(0xFF0000FFu, CRectangle(10, 10, 50, 30)) +
                  s.count(0xFFFF0000u, CRectangle(10, 10, 50, 30)),
              40 * 20);
    d->release();
}

TEST_F(ControlDrawing, DisplayDrawsItsImageAtTheBackOffsetAndBorderOverIt) {
    CParamDisplay* d = makeDisplay(kStyle3DIn | kStyleNoText, false);
    auto* image = new CBitmap(100, 100);
    d->setBackground(image);
    d->setBackOffset(CPosition(5, 6));
    d->draw(drawing.context);
    Drawn drawn = drawing.drawnWithoutClips();
    ASSERT_EQ(drawn.size(), 5u);
    EXPECT_EQ(drawn[0], "image 10,10 40x20 from 5,6");  // no fill over an image
    EXPECT_EQ(drawn[1], "line 10,30-10,11 FF0000FF");

    // An alternative image takes the place of the display's own.
    auto* other = new CBitmap(100, 100);
    drawing.startRecording();
    d->drawText(drawing.context, nullptr, other);
    auto images = RasterBackend::instance().callsOf(RasterBackend::Op::DrawImage);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].object, other->platformBitmap());
    other->release();
    image->release();
    d->release();
}

TEST_F(ControlDrawing, DisplayTextIsPlacedAsTheContextPlacesTextInTheView) {
    for (int32_t align : {kAlignLeft, kAlignCenter, kAlignRight}) {
        SCOPED_TRACE(align);
        CParamDisplay* d = makeDisplay(0, true);
        d->setTextAlign(align);
        drawing.startRecording();
        d->draw(drawing.context);
        const std::vector<CPosition> drawnAt = DrawingFixture::textPositions();
        ASSERT_EQ(drawnAt.size(), 1u);
        EXPECT_EQ(drawing.context->font(), kFontSize11);

        // The same text placed by a fresh context in the view rectangle.
        RasterSurface other(300, 200);
        auto* reference = new CDrawContext(nullptr, &other, nullptr);
        reference->setFont(kFontSize11);
        RasterBackend::instance().clearCalls();
        reference->drawStringInRect("0.50", CRectangle(10, 10, 50, 30), align, true);
        const std::vector<CPosition> expected = DrawingFixture::textPositions();
        reference->release();
        ASSERT_EQ(expected.size(), 1u);
        EXPECT_EQ(drawnAt[0], expected[0]);
        if (align == kAlignLeft) {
            EXPECT_EQ(drawnAt[0].x, 10);
        }
        d->release();
    }
}

TEST_F(ControlDrawing, DisplayShadowIsOnePixelRightAndDown) {
    CParamDisplay* d = makeDisplay(kStyleShadowText, true);
    d->draw(drawing.context);
    const std::vector<CPosition> at = DrawingFixture::textPositions();
    ASSERT_EQ(at.size(), 2u);
    EXPECT_EQ(at[0].x, at[1].x + 1);
    EXPECT_EQ(at[0].y, at[1].y + 1);
    d->release();
}

TEST_F(ControlDrawing, DisplayClipsItsTextToTheViewAndRestoresTheClip) {
    drawing.context->setClipRect(CRectangle(0, 0, 30, 30));
    CParamDisplay* d = makeDisplay(0, true);
    drawing.startRecording();
    d->draw(drawing.context);
    auto clips = RasterBackend::instance().callsOf(RasterBackend::Op::SetClip);
    ASSERT_GE(clips.size(), 2u);
    EXPECT_EQ(clips.front().args, (std::vector<double>{10, 10, 20, 20}));
    EXPECT_EQ(clips.back().args, (std::vector<double>{0, 0, 30, 30}));
    EXPECT_EQ(drawing.context->clipRect(), CRectangle(0, 0, 30, 30));
    d->release();
}

void writeNothing(float, char*) {}
void writePercent(float value, char* text) {
    std::strcpy(text, (std::to_string(static_cast<int>(value * 100.0f + 0.5f)) + "%").c_str());
}

TEST_F(ControlDrawing, DisplayShowsTheConverterTextAndTheAntialiasSetting) {
    CParamDisplay* d = makeDisplay(0, true);
    d->setValueToText(writePercent);
    d->setAntialias(false);
    d->draw(drawing.context);
    EXPECT_EQ(drawing.drawnWithoutClips(), (Drawn{"text 50% FFFFFFFF"}));
    auto hints = RasterBackend::instance().callsOf(RasterBackend::Op::SetTextAntialias);
    ASSERT_FALSE(hints.empty());
    EXPECT_EQ(hints.back().args[0], 0.0);

    d->setValueToText(writeNothing);
    drawing.startRecording();
    d->draw(drawing.context);
    EXPECT_EQ(drawing.drawnWithoutClips(), Drawn{});
    d->release();
}

}  // namespace
}  // namespace toolkit::testing
