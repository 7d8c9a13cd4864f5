#include "toolkit/CDrawContext.h"

#include <gtest/gtest.h>

#include "tests/toolkit/RasterFixture.h"
#include "toolkit/CFontDesc.h"
#include "toolkit/CFrame.h"

namespace toolkit {
namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kGreen = 0xFF00FF00u;

class CDrawContextTest : public RasterFixture {};

TEST_F(CDrawContextTest, ConstructionMakesTheSurfaceAndAppliesEverySettingOnce) {
    CDrawContext* ctx = new CDrawContext(nullptr, &surface, nullptr);
    EXPECT_EQ(ops(), (std::vector<Op>{Op::CreateDeviceGraphics, Op::CreatePen, Op::CreateSolidBrush,
                                      Op::CreateSolidBrush, Op::SetPenColor, Op::SetPenWidth,
                                      Op::SetBrushColor, Op::SetBrushColor}));
    const auto& calls = backend().calls();
    EXPECT_EQ(calls[1].args, (std::vector<double>{double(0xFF000000u), 1.0}));  // pen: opaque black, 1 px
    EXPECT_EQ(calls[2].args, (std::vector<double>{double(0xFF000000u)}));
    EXPECT_EQ(calls[4].args, (std::vector<double>{double(0xFFFFFFFFu)}));  // frame colour white
    EXPECT_EQ(calls[6].object, calls[2].object);                            // fill brush black
    EXPECT_EQ(calls[6].args, (std::vector<double>{double(0xFF000000u)}));
    EXPECT_EQ(calls[7].object, calls[3].object);                            // font brush white
    EXPECT_EQ(calls[7].args, (std::vector<double>{double(0xFFFFFFFFu)}));

    EXPECT_EQ(ctx->frameColor(), kColorWhite);
    EXPECT_EQ(ctx->fillColor(), kColorBlack);
    EXPECT_EQ(ctx->fontColor(), kColorWhite);
    EXPECT_EQ(ctx->lineWidth(), 1);
    EXPECT_EQ(ctx->font(), kDefaultFont);
    EXPECT_EQ(ctx->clipRect(), CRectangle(0, 0, 1000, 1000));
    EXPECT_EQ(ctx->screenOffset, CPosition(0, 0));
    EXPECT_EQ(ctx->drawOffset, CPosition(0, 0));

    // Destruction: font brush, fill brush, pen, graphics.
    const void* pen = calls[1].object;
    const void* fill = calls[2].object;
    const void* fontBrush = calls[3].object;
    const void* graphics = calls[0].object;
    backend().clearCalls();
    ctx->release();
    ASSERT_EQ(ops(), (std::vector<Op>{Op::DeleteBrush, Op::DeleteBrush, Op::DeletePen, Op::DeleteGraphics}));
    EXPECT_EQ(backend().calls()[0].object, fontBrush);
    EXPECT_EQ(backend().calls()[1].object, fill);
    EXPECT_EQ(backend().calls()[2].object, pen);
    EXPECT_EQ(backend().calls()[3].object, graphics);
}

TEST_F(CDrawContextTest, FrameSizesTheInitialClip) {
    CFrame* frame = new CFrame(CRectangle(0, 0, 300, 120), nullptr, nullptr);
    {
        CDrawContext ctx(frame, &surface, nullptr);
        EXPECT_EQ(ctx.frame(), frame);
        EXPECT_EQ(ctx.clipRect(), CRectangle(0, 0, 300, 120));
        // The initial clip is only stored: the surface starts unclipped.
        EXPECT_EQ(backend().countOf(Op::SetClip), 0u);
    }
    delete frame;
}

TEST_F(CDrawContextTest, ContextWithoutSurfaceDrawsNothingButKeepsItsState) {
    CDrawContext ctx(nullptr, nullptr, nullptr);
    backend().clearCalls();
    ctx.setClipRect(CRectangle(1, 2, 3, 4));
    ctx.setFrameColor(kColorRed);
    ctx.fillRect(CRectangle(0, 0, 10, 10));
    ctx.frameRect(CRectangle(0, 0, 10, 10));
    ctx.moveTo(CPosition(0, 0));
    ctx.lineTo(CPosition(5, 5));
    ctx.drawString("text", CPosition(0, 20));
    ctx.drawStringInRect("text", CRectangle(0, 0, 50, 20), kAlignRight);
    EXPECT_EQ(ctx.stringWidth("text"), -1);
    EXPECT_EQ(ctx.graphics(), nullptr);
    EXPECT_EQ(ctx.clipRect(), CRectangle(1, 2, 3, 4));
    EXPECT_EQ(ctx.frameColor(), kColorRed);
    EXPECT_EQ(ctx.penPosition(), CPosition(5, 5));
    for (const auto& c : backend().calls()) {
        EXPECT_NE(c.op, Op::FillRectangle);
        EXPECT_NE(c.op, Op::DrawRectangle);
        EXPECT_NE(c.op, Op::DrawLine);
        EXPECT_NE(c.op, Op::DrawString);
        EXPECT_NE(c.op, Op::SetClip);
    }
}

TEST_F(CDrawContextTest, UnchangedSettingsDoNotReachTheBackendExceptTheFontColour) {
    CDrawContext ctx(nullptr, &surface, nullptr);
    backend().clearCalls();
    ctx.setClipRect(ctx.clipRect());
    ctx.setFrameColor(kColorWhite);
    ctx.setFillColor(kColorBlack);
    ctx.setLineWidth(1);
    EXPECT_TRUE(backend().calls().empty());

    ctx.setFontColor(kColorWhite);
    EXPECT_EQ(ops(), (std::vector<Op>{Op::SetBrushColor}));

    // A change in any one byte, alpha included, is a change.
    backend().clearCalls();
    ctx.setFrameColor(CRgba(255, 255, 255, 254));
    ctx.setFillColor(CRgba(0, 0, 1, 255));
    ctx.setLineWidth(3);
    ctx.setClipRect(CRectangle(2, 3, 12, 23));
    ASSERT_EQ(ops(), (std::vector<Op>{Op::SetPenColor, Op::SetBrushColor, Op::SetPenWidth, Op::SetClip}));
    EXPECT_EQ(backend().calls()[0].args[0], double(0xFEFFFFFFu));
    EXPECT_EQ(backend().calls()[1].args[0], double(0xFF000001u));
    EXPECT_EQ(backend().calls()[2].args[0], 3.0);
    EXPECT_EQ(backend().calls()[3].args, (std::vector<double>{2, 3, 10, 20}));  // x, y, w, h
}

TEST_F(CDrawContextTest, FillCoversTheRectangleAndFrameStrokesItsLastRowAndColumn) {
    CDrawContext ctx(nullptr, &surface, nullptr);
    ctx.setFillColor(kColorRed);
    ctx.fillRect(CRectangle(0, 0, 10, 10));
    EXPECT_EQ(surface.count(kRed, CRectangle(0, 0, 10, 10)), 100);
    EXPECT_EQ(surface.count(kRed), 100);

    surface.fill(0);
    ctx.setFrameColor(kColorGreen);
    ctx.frameRect(CRectangle(0, 0, 10, 10));
    EXPECT_EQ(backend().callsOf(Op::DrawRectangle).back().args, (std::vector<double>{0, 0, 9, 9}));
    EXPECT_EQ(surface.count(kGreen), 36);
    EXPECT_EQ(surface.pixel(9, 9), kGreen);
    EXPECT_EQ(surface.pixel(0, 9), kGreen);
    EXPECT_EQ(surface.pixel(10, 10), 0u);
    EXPECT_EQ(surface.count(kGreen, CRectangle(1, 1, 9, 9)), 0);
}

TEST_F(CDrawContextTest, RectanglesAreOffsetNormalisedAndClipped) {
    struct Case {
        const char* label;
        CPosition offset;
        CRectangle clip;  // caller's space
        CRectangle rect;
        CRectangle expectedPixels;  // surface space
    };
    const Case cases[] = {
        {"inverted corners", {0, 0}, {0, 0, 1000, 1000}, {10, 12, 2, 4}, {2, 4, 10, 12}},
        {"draw offset", {5, 7}, {0, 0, 1000, 1000}, {0, 0, 2, 3}, {5, 7, 7, 10}},
        {"clip", {0, 0}, {2, 2, 6, 6}, {0, 0, 10, 10}, {2, 2, 6, 6}},
        {"clip moves with the offset", {10, 10}, {0, 0, 5, 5}, {-10, -10, 30, 30}, {10, 10, 15, 15}},
        {"past the surface", {0, 0}, {0, 0, 1000, 1000}, {30, 30, 60, 60}, {30, 30, 40, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        surface.fill(0);
        CDrawContext ctx(nullptr, &surface, nullptr);
        ctx.drawOffset = c.offset;
        ctx.setClipRect(c.clip);
        ctx.setFillColor(kColorRed);
        ctx.fillRect(c.rect);
        const CRectangle& e = c.expectedPixels;
        EXPECT_EQ(surface.count(kRed, e), e.width() * e.height());
        EXPECT_EQ(surface.count(kRed), e.width() * e.height());
    }
}

TEST_F(CDrawContextTest, LinesRunFromThePenPositionAndMoveIt) {
    CDrawContext ctx(nullptr, &surface, nullptr);
    ctx.drawOffset = CPosition(2, 3);
    ctx.setFrameColor(kColorRed);
    ctx.moveTo(CPosition(0, 0));
    EXPECT_EQ(ctx.penPosition(), CPosition(2, 3));
    ctx.lineTo(CPosition(5, 0));
    EXPECT_EQ(ctx.penPosition(), CPosition(7, 3));
    EXPECT_EQ(backend().callsOf(Op::DrawLine).back().args, (std::vector<double>{2, 3, 7, 3}));
    EXPECT_EQ(surface.count(kRed), 6);  // both ends drawn
    EXPECT_EQ(surface.count(kRed, CRectangle(2, 3, 8, 4)), 6);

    // The next segment starts where the last one ended.
    ctx.lineTo(CPosition(5, 4));
    EXPECT_EQ(backend().callsOf(Op::DrawLine).back().args, (std::vector<double>{7, 3, 7, 7}));

    surface.fill(0);
    ctx.setLineWidth(3);
    ctx.moveTo(CPosition(10, 10));
    ctx.lineTo(CPosition(20, 10));
    EXPECT_EQ(surface.count(kRed), 33);  // 11 columns, 3 rows centred on the line
    EXPECT_EQ(surface.count(kRed, CRectangle(12, 12, 23, 15)), 33);
}

TEST_F(CDrawContextTest, SetFontSharesAMatchingDescriptorAndMakesOthers) {
    struct Case {
        const char* label;
        int32_t size;
        int32_t style;
        bool shared;
        int32_t expectedSize;
        int32_t expectedStyle;
    };
    const Case cases[] = {
        {"own size and style", 0, -1, true, 12, 0},
        {"the same values given", 12, 0, true, 12, 0},
        {"negative size means own", -3, -1, true, 12, 0},
        {"another size", 14, -1, false, 14, 0},
        {"another style", 0, kStyleBold, false, 12, kStyleBold},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const int32_t before = kFontSize12->referenceCount();
        {
            CDrawContext ctx(nullptr, &surface, nullptr);
            ctx.setFont(kFontSize12, c.size, c.style);
            CFontDesc* f = ctx.font();
            EXPECT_EQ(f == kFontSize12, c.shared);
            EXPECT_STREQ(f->name(), "Arial");
            EXPECT_EQ(f->size(), c.expectedSize);
            EXPECT_EQ(f->style(), c.expectedStyle);
            EXPECT_EQ(kFontSize12->referenceCount(), before + (c.shared ? 1 : 0));
            if (!c.shared) {
                EXPECT_EQ(f->referenceCount(), 1);
            }
        }
        EXPECT_EQ(kFontSize12->referenceCount(), before);
    }
}

TEST_F(CDrawContextTest, SetFontKeepsTheCurrentFontWhenGivenNullOrItself) {
    CDrawContext ctx(nullptr, &surface, nullptr);
    ctx.setFont(kFontSize12, 14);
    CFontDesc* own = ctx.font();
    ctx.setFont(nullptr);
    EXPECT_EQ(ctx.font(), own);
    // Re-selecting the context's only reference must not destroy it first.
    ctx.setFont(own);
    ASSERT_EQ(ctx.font(), own);
    EXPECT_EQ(own->size(), 14);
    EXPECT_EQ(own->referenceCount(), 1);
}

TEST_F(CDrawContextTest, StringWidthMeasuresWithTheCurrentFont) {
    CDrawContext ctx(nullptr, &surface, nullptr);
    EXPECT_EQ(ctx.stringWidth(nullptr), -1);
    EXPECT_EQ(ctx.stringWidth("ABC"), 18);  // 12 px font: 6 px per character
    ctx.setFont(kFontSize9);
    EXPECT_EQ(ctx.stringWidth("ABC"), 13);  // 13.5 truncated
    // Characters, not bytes: "Äö" is four UTF-8 bytes and two characters.
    EXPECT_EQ(ctx.stringWidth("\xC3\x84\xC3\xB6"), 9);
}

TEST_F(CDrawContextTest, DrawStringPutsTheBottomLineAtThePoint) {
    CDrawContext ctx(nullptr, &surface, nullptr);
    ctx.drawOffset = CPosition(1, 2);
    ctx.setFontColor(kColorRed);
    ASSERT_NE(ctx.font()->platformFont(), nullptr);
    backend().clearCalls();
    ctx.drawString("AB", CPosition(3, 20), false);
    ASSERT_EQ(ops(), (std::vector<Op>{Op::SetTextAntialias, Op::FontLineHeight, Op::DrawString}));
    EXPECT_EQ(backend().calls()[0].args[0], 0.0);
    const float h = RasterBackend::lineHeight(12);
    const auto& draw = backend().calls()[2];
    EXPECT_EQ(draw.text, "AB");
    EXPECT_EQ(draw.args, (std::vector<double>{4.0, double(22.0f + 1.0f - h)}));
    // The text ends one row below the point: nothing is drawn past row 22.
    EXPECT_GT(surface.count(kRed, CRectangle(0, 22, 40, 23)), 0);
    EXPECT_EQ(surface.count(kRed, CRectangle(0, 23, 40, 40)), 0);

    backend().clearCalls();
    ctx.drawString("AB", CPosition(3, 20), true);
    EXPECT_EQ(backend().calls()[0].args[0], 1.0);
    backend().clearCalls();
    ctx.drawString(nullptr, CPosition(3, 20));
    EXPECT_TRUE(backend().calls().empty());
}

TEST_F(CDrawContextTest, DrawStringInRectAlignsAndCentresVertically) {
    struct Case {
        const char* label;
        int32_t alignment;
        CRectangle rect;
        int32_t expectedX;
        int32_t expectedY;  // the bottom line
    };
    // "ABC" is 18 px wide in the 12 px font; y = bottom + 12/2 - height/2 - 1.
    const Case cases[] = {
        {"left", kAlignLeft, {10, 20, 70, 40}, 10, 35},
        {"right", kAlignRight, {10, 20, 70, 40}, 52, 35},
        {"centre", kAlignCenter, {10, 20, 70, 40}, 31, 35},
        {"centre, odd sizes truncate", kAlignCenter, {0, 0, 25, 11}, 3, 11},
        {"right, wider than the rect", kAlignRight, {0, 0, 10, 20}, -8, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CDrawContext ctx(nullptr, &surface, nullptr);
        backend().clearCalls();
        ctx.drawStringInRect("ABC", c.rect, c.alignment);
        const auto draws = backend().callsOf(Op::DrawString);
        ASSERT_EQ(draws.size(), 1u);
        EXPECT_EQ(draws[0].args[0], double(c.expectedX));
        EXPECT_EQ(draws[0].args[1], double(float(c.expectedY) + 1.0f - RasterBackend::lineHeight(12)));
        EXPECT_EQ(ctx.clipRect(), CRectangle(0, 0, 1000, 1000));
    }
}

TEST_F(CDrawContextTest, DrawStringInRectIsCutByTheRectAndRestoresTheClip) {
    surface = RasterSurface(80, 30);
    CDrawContext ctx(nullptr, &surface, nullptr);
    ctx.setClipRect(CRectangle(0, 0, 60, 30));
    ctx.setFontColor(kColorRed);
    backend().clearCalls();
    // 60 px of text right-aligned in a 30 px rectangle starts 30 px left of it.
    ctx.drawStringInRect("ABCDEFGHIJ", CRectangle(20, 5, 50, 25), kAlignRight);
    const auto clips = backend().callsOf(Op::SetClip);
    ASSERT_EQ(clips.size(), 2u);
    EXPECT_EQ(clips[0].args, (std::vector<double>{20, 5, 30, 20}));
    EXPECT_EQ(clips[1].args, (std::vector<double>{0, 0, 60, 30}));
    EXPECT_EQ(backend().callsOf(Op::DrawString)[0].args[0], -10.0);
    EXPECT_GT(surface.count(kRed, CRectangle(20, 5, 50, 25)), 0);
    EXPECT_EQ(surface.count(kRed, CRectangle(0, 0, 20, 30)), 0);
    EXPECT_EQ(surface.count(kRed, CRectangle(50, 0, 80, 30)), 0);
    EXPECT_EQ(ctx.clipRect(), CRectangle(0, 0, 60, 30));
}

TEST_F(CDrawContextTest, WindowContextBorrowsTheWindowSurfaceAndGivesItBack) {
    int windowToken = 0;
    PlatformWindow window = &windowToken;
    backend().attachWindow(window, &surface, CPosition(100, 50));
    {
        CDrawContext ctx(nullptr, nullptr, window);
        EXPECT_EQ(ctx.screenOffset, CPosition(100, 50));
        EXPECT_EQ(ctx.window(), window);
        EXPECT_NE(ctx.graphics(), nullptr);
        ctx.setFillColor(kColorRed);
        ctx.fillRect(CRectangle(0, 0, 2, 2));
        EXPECT_EQ(surface.count(kRed), 4);
        EXPECT_EQ(backend().countOf(Op::ReleaseWindowDeviceContext), 0u);
    }
    EXPECT_EQ(backend().countOf(Op::ReleaseWindowDeviceContext), 1u);

    // A given device context wins and is not the window's to give back.
    RasterSurface other(10, 10);
    backend().clearCalls();
    {
        CDrawContext ctx(nullptr, &other, window);
        ctx.setFillColor(kColorRed);
        ctx.fillRect(CRectangle(0, 0, 2, 2));
    }
    EXPECT_EQ(other.count(kRed), 4);
    EXPECT_EQ(backend().countOf(Op::WindowDeviceContext), 0u);
    EXPECT_EQ(backend().countOf(Op::ReleaseWindowDeviceContext), 0u);
}

}  // namespace
}  // namespace toolkit
