#include "toolkit/CParamDisplay.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "toolkit/CDrawContext.h"
#include "toolkit/CFontDesc.h"

namespace toolkit::testing {
namespace {

std::string textOf(const CParamDisplay& display) {
    char buffer[kParamDisplayTextSize];
    return display.valueText(buffer);
}

TEST(CParamDisplayText, TwoDecimalsWithoutAConverter) {
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {0.123f, "0.12"}, {1.0f, "1.00"}, {12.5f, "12.50"}, {0.5f, "0.50"},
        {0.0f, "0.00"},   {-0.5f, "-0.50"}, {0.999f, "1.00"}, {0.004f, "0.00"},
    };
    CParamDisplay display(CRectangle(0, 0, 40, 10));
    for (const auto& k : cases) {
        SCOPED_TRACE(k.text);
        display.setValue(k.value);
        EXPECT_EQ(textOf(display), k.text);
    }
}

void writePercent(float value, char* text) {
    const int percent = static_cast<int>(value * 100.0f + 0.5f);
    std::strcpy(text, (std::to_string(percent) + "%").c_str());
}

void writeWithUnit(float value, char* text, void* data) {
    std::strcpy(text, (std::to_string(static_cast<int>(value * 10.0f)) + static_cast<const char*>(data)).c_str());
}

void writeNothing(float, char*) {}

TEST(CParamDisplayText, ConverterWithDataComesFirst) {
    static char unit[] = " ms";
    CParamDisplay display(CRectangle(0, 0, 40, 10));
    display.setValue(0.5f);
    display.setValueToText(writePercent);
    EXPECT_EQ(textOf(display), "50%");
    display.setValueToTextWithData(writeWithUnit, unit);
    EXPECT_EQ(textOf(display), "5 ms");
    display.setValueToTextWithData(nullptr, nullptr);
    EXPECT_EQ(textOf(display), "50%");
    display.setValueToText(writeNothing);
    EXPECT_EQ(textOf(display), "");  // the buffer starts empty
}

TEST(CParamDisplay, Defaults) {
    const int32_t fontReferences = kFontSize12->referenceCount();
    {
        CParamDisplay display(CRectangle(0, 0, 40, 10));
        EXPECT_EQ(display.getFont(), kFontSize12);
        EXPECT_EQ(kFontSize12->referenceCount(), fontReferences + 1);
        EXPECT_EQ(display.getFontColor(), kColorWhite);
        EXPECT_EQ(display.getBackColor(), kColorBlack);
        EXPECT_EQ(display.getFrameColor(), kColorBlack);
        EXPECT_EQ(display.getShadowColor(), kColorRed);
        EXPECT_EQ(display.getTextAlign(), kAlignCenter);
        EXPECT_EQ(display.getDisplayStyle(), 0);
        EXPECT_TRUE(display.getAntialias());
        EXPECT_EQ(display.getListener(), nullptr);
        EXPECT_EQ(display.getTag(), 0);
        EXPECT_EQ(display.background(), nullptr);
        EXPECT_TRUE(display.isDirty());
    }
    EXPECT_EQ(kFontSize12->referenceCount(), fontReferences);
}

TEST(CParamDisplay, WhichSettersMarkTheDisplayDirty) {
    struct Case {
        const char* name;
        std::function<void(CParamDisplay&)> set;
        bool dirty;
    };
    const Case cases[] = {
        {"same font colour", [](CParamDisplay& d) { d.setFontColor(kColorWhite); }, false},
        {"other font colour", [](CParamDisplay& d) { d.setFontColor(CRgba(255, 255, 255, 254)); }, true},
        {"same back colour", [](CParamDisplay& d) { d.setBackColor(kColorBlack); }, false},
        {"other back colour", [](CParamDisplay& d) { d.setBackColor(kColorGrey); }, true},
        {"same frame colour", [](CParamDisplay& d) { d.setFrameColor(kColorBlack); }, false},
        {"other frame colour", [](CParamDisplay& d) { d.setFrameColor(kColorWhite); }, true},
        {"same shadow colour", [](CParamDisplay& d) { d.setShadowColor(kColorRed); }, false},
        {"other shadow colour", [](CParamDisplay& d) { d.setShadowColor(kColorGreen); }, true},
        {"same alignment", [](CParamDisplay& d) { d.setTextAlign(kAlignCenter); }, false},
        {"other alignment", [](CParamDisplay& d) { d.setTextAlign(kAlignRight); }, true},
        {"same style", [](CParamDisplay& d) { d.setDisplayStyle(0); }, false},
        {"other style", [](CParamDisplay& d) { d.setDisplayStyle(kStyle3DIn); }, true},
        {"the same font again", [](CParamDisplay& d) { d.setFont(kFontSize12); }, true},
        {"another font", [](CParamDisplay& d) { d.setFont(kFontSize11); }, true},
        {"antialias", [](CParamDisplay& d) { d.setAntialias(false); }, false},
        {"converter", [](CParamDisplay& d) { d.setValueToText(writePercent); }, false},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        CParamDisplay display(CRectangle(0, 0, 40, 10));
        display.setDirty(false);
        k.set(display);
        EXPECT_EQ(display.isDirty(), k.dirty);
    }
}

TEST(CParamDisplay, FontReferencesFollowTheFontInUse) {
    const int32_t refs11 = kFontSize11->referenceCount();
    const int32_t refs12 = kFontSize12->referenceCount();
    auto* display = new CParamDisplay(CRectangle(0, 0, 40, 10));
    display->setFont(kFontSize11);
    EXPECT_EQ(kFontSize11->referenceCount(), refs11 + 1);
    EXPECT_EQ(kFontSize12->referenceCount(), refs12);
    display->setFont(kFontSize11);
    EXPECT_EQ(kFontSize11->referenceCount(), refs11 + 1);
    display->setFont(nullptr);  // refused: the display keeps a font to draw with
    EXPECT_EQ(display->getFont(), kFontSize11);

    auto* copy = static_cast<CParamDisplay*>(display->clone());
    EXPECT_EQ(copy->getFont(), kFontSize11);
    EXPECT_EQ(kFontSize11->referenceCount(), refs11 + 2);
    copy->release();
    display->release();
    EXPECT_EQ(kFontSize11->referenceCount(), refs11);
}

TEST(CParamDisplay, CloneCopiesEveryField) {
    static char unit[] = "u";
    CParamDisplay display(CRectangle(3, 4, 43, 14));
    display.setValueToTextWithData(writeWithUnit, unit);
    display.setTextAlign(kAlignLeft);
    display.setDisplayStyle(kStyleShadowText);
    display.setFontColor(kColorYellow);
    display.setBackColor(kColorBlue);
    display.setFrameColor(kColorCyan);
    display.setShadowColor(kColorMagenta);
    display.setAntialias(false);
    display.setTransparent(true);
    display.setValue(0.5f);
    auto* copy = static_cast<CParamDisplay*>(display.clone());
    EXPECT_EQ(textOf(*copy), "5u");
    EXPECT_EQ(copy->getTextAlign(), kAlignLeft);
    EXPECT_EQ(copy->getDisplayStyle(), kStyleShadowText);
    EXPECT_EQ(copy->getFontColor(), kColorYellow);
    EXPECT_EQ(copy->getBackColor(), kColorBlue);
    EXPECT_EQ(copy->getFrameColor(), kColorCyan);
    EXPECT_EQ(copy->getShadowColor(), kColorMagenta);
    EXPECT_FALSE(copy->getAntialias());
    EXPECT_TRUE(copy->isTransparent());
    EXPECT_EQ(copy->getViewRect(), CRectangle(3, 4, 43, 14));
    copy->release();
}

}  // namespace
}  // namespace toolkit::testing
