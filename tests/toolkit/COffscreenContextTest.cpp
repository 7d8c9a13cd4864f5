#include "toolkit/COffscreenContext.h"

#include <gtest/gtest.h>

#include "tests/toolkit/RasterFixture.h"
#include "toolkit/CBitmap.h"
#include "toolkit/GDIPlusGlobals.h"

namespace toolkit {
namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kGreen = 0xFF00FF00u;

class COffscreenContextTest : public RasterFixture {
protected:
    void TearDown() override {
        EXPECT_EQ(GDIPlusGlobals::instance(), nullptr);
        RasterFixture::TearDown();
    }
};

TEST_F(COffscreenContextTest, DrawsIntoItsOwnTransparentBitmap) {
    COffscreenContext* off = new COffscreenContext(nullptr, 30, 20);
    EXPECT_EQ(off->width(), 30);
    EXPECT_EQ(off->height(), 20);
    EXPECT_EQ(off->clipRect(), CRectangle(0, 0, 30, 20));
    ASSERT_NE(off->bitmap(), nullptr);
    EXPECT_EQ(off->bitmap()->width(), 30);
    EXPECT_EQ(off->bitmap()->height(), 20);
    EXPECT_NE(off->graphics(), nullptr);
    EXPECT_EQ(backend().countOf(Op::CreateDeviceGraphics), 0u);
    EXPECT_EQ(backend().countOf(Op::CreateImageGraphics), 1u);
    const gfx::Image* pixels = off->bitmap()->platformBitmap();
    EXPECT_EQ(pixels->count(0u), 600);

    off->setFillColor(kColorRed);
    off->fillRect(CRectangle(-5, -5, 100, 100));  // cut by the bitmap's bounds
    EXPECT_EQ(pixels->count(kRed), 600);

    // The graphics object goes before the bitmap it draws into.
    backend().clearCalls();
    off->release();
    std::vector<Op> order;
    for (Op op : ops())
        if (op == Op::DeleteGraphics || op == Op::DeleteImage) order.push_back(op);
    EXPECT_EQ(order, (std::vector<Op>{Op::DeleteGraphics, Op::DeleteImage}));
}

TEST_F(COffscreenContextTest, CopyToPlacesTheSourceOffsetAtTheDestination) {
    COffscreenContext* off = new COffscreenContext(nullptr, 30, 20, kColorBlack);
    off->setFillColor(kColorRed);
    off->fillRect(CRectangle(0, 0, 30, 20));
    off->setFillColor(kColorGreen);
    off->fillRect(CRectangle(5, 5, 10, 10));

    RasterSurface screen(40, 40);
    CDrawContext ctx(nullptr, &screen, nullptr);
    ctx.drawOffset = CPosition(2, 1);
    off->copyTo(&ctx, CRectangle(10, 10, 20, 20), CPosition(5, 5));
    // Destination (12..21, 11..20): green from source (5..9), red after it.
    EXPECT_EQ(screen.count(kGreen, CRectangle(12, 11, 17, 16)), 25);
    EXPECT_EQ(screen.count(kGreen), 25);
    EXPECT_EQ(screen.count(kRed), 100 - 25);
    EXPECT_EQ(screen.count(kRed, CRectangle(12, 11, 22, 21)), 75);
    off->release();
}

TEST_F(COffscreenContextTest, DegenerateSizesGiveAnEmptyClipAndDrawNothing) {
    for (CPosition size : {CPosition(0, 10), CPosition(-4, -3)}) {
        SCOPED_TRACE(size.x);
        COffscreenContext* off = new COffscreenContext(nullptr, size.x, size.y);
        EXPECT_TRUE(off->clipRect().isEmpty());
        EXPECT_GE(off->clipRect().width(), 0);
        EXPECT_GE(off->clipRect().height(), 0);
        off->setFillColor(kColorRed);
        off->fillRect(CRectangle(0, 0, 10, 10));
        RasterSurface screen(10, 10);
        CDrawContext ctx(nullptr, &screen, nullptr);
        off->copyTo(&ctx, CRectangle(0, 0, 10, 10));
        EXPECT_EQ(screen.count(0u), 100);
        off->release();
    }
}

}  // namespace
}  // namespace toolkit
