#include "toolkit/CFontDesc.h"

#include <gtest/gtest.h>

#include "tests/toolkit/RasterFixture.h"
#include "toolkit/CDrawContext.h"

namespace toolkit {
namespace {

class CFontDescTest : public RasterFixture {};

TEST_F(CFontDescTest, StaticTableHoldsTheEightDescriptors) {
    struct Row {
        CFontDesc* font;
        const char* name;
        int32_t size;
    };
    const Row rows[] = {
        {kDefaultFont, "Arial", 12}, {kFontSize18, "Arial", 18}, {kFontSize14, "Arial", 14},
        {kFontSize12, "Arial", 12},  {kFontSize11, "Arial", 11}, {kFontSize10, "Arial", 10},
        {kFontSize9, "Arial", 9},    {kSymbolFont, "Symbol", 13},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        SCOPED_TRACE(r.size);
        EXPECT_STREQ(r.font->name(), r.name);
        EXPECT_EQ(r.font->size(), r.size);
        EXPECT_EQ(r.font->style(), 0);
        EXPECT_GE(r.font->referenceCount(), 1);
    }
    EXPECT_NE(kDefaultFont, kFontSize12);
}

TEST_F(CFontDescTest, StaticDescriptorSurvivesAnUnbalancedRelease) {
    ASSERT_EQ(kSymbolFont->referenceCount(), 1);
    kSymbolFont->release();
    EXPECT_EQ(kSymbolFont->referenceCount(), 1);
    EXPECT_STREQ(kSymbolFont->name(), "Symbol");
    kSymbolFont->retain();
    kSymbolFont->release();
    EXPECT_EQ(kSymbolFont->referenceCount(), 1);
}

TEST_F(CFontDescTest, StyleBitsMapToOneFaceTheLastSetWinning) {
    struct Row {
        int32_t style;
        FontStyle face;
    };
    const Row rows[] = {
        {0, FontStyle::Regular},
        {kStyleBold, FontStyle::Bold},
        {kStyleItalic, FontStyle::Italic},
        {kStyleBold | kStyleItalic, FontStyle::Italic},
        {kStyleUnderline, FontStyle::Underline},
        {kStyleBold | kStyleUnderline, FontStyle::Underline},
        {kStyleBold | kStyleItalic | kStyleUnderline, FontStyle::Underline},
        {0x8, FontStyle::Regular},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.style);
        EXPECT_EQ(CFontDesc::platformStyle(r.style), r.face);
        CFontDesc font("Arial", 12, r.style);
        backend().clearCalls();
        ASSERT_NE(font.platformFont(), nullptr);
        const auto created = backend().callsOf(Op::CreateFont);
        ASSERT_EQ(created.size(), 1u);
        EXPECT_EQ(created[0].text, "Arial");
        EXPECT_EQ(created[0].args, (std::vector<double>{12, double(static_cast<int32_t>(r.face))}));
    }
}

TEST_F(CFontDescTest, PlatformFontIsMadeOnceAndDroppedWhenTheNameChanges) {
    CFontDesc* font = new CFontDesc("Arial", 14, 0);
    gfx::Font* first = font->platformFont();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(font->platformFont(), first);
    EXPECT_EQ(backend().countOf(Op::CreateFont), 1u);

    font->setName("Arial");  // same bytes: nothing happens
    EXPECT_TRUE(font->hasPlatformFont());
    EXPECT_EQ(backend().countOf(Op::DeleteFont), 0u);

    font->setName("Symbol");
    EXPECT_FALSE(font->hasPlatformFont());
    EXPECT_STREQ(font->name(), "Symbol");
    EXPECT_EQ(backend().countOf(Op::DeleteFont), 1u);
    ASSERT_NE(font->platformFont(), nullptr);
    EXPECT_EQ(backend().callsOf(Op::CreateFont).back().text, "Symbol");

    font->release();  // deletes its platform font with it
    EXPECT_EQ(backend().countOf(Op::DeleteFont), 2u);
}

TEST_F(CFontDescTest, UnknownFamilyFallsBackAndNoFamilyMeansNoText) {
    CFontDesc unknown("No Such Family", 12, 0);
    ASSERT_NE(unknown.platformFont(), nullptr);

    backend().setGenericFamilyAvailable(false);
    CFontDesc none("No Such Family", 12, 0);
    EXPECT_EQ(none.platformFont(), nullptr);

    RasterSurface surface(40, 20);
    CDrawContext ctx(nullptr, &surface, nullptr);
    ctx.setFont(&none);
    ctx.setFontColor(kColorRed);
    EXPECT_EQ(ctx.stringWidth("abc"), -1);
    ctx.drawString("abc", CPosition(0, 15));
    ctx.drawStringInRect("abc", CRectangle(0, 0, 40, 20), kAlignCenter);
    EXPECT_EQ(backend().countOf(Op::DrawString), 0u);
    EXPECT_EQ(surface.count(0u), 40 * 20);
}

}  // namespace
}  // namespace toolkit
