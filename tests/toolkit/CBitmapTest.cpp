#include "toolkit/CBitmap.h"

#include <gtest/gtest.h>

#include "tests/toolkit/RasterFixture.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/GDIPlusGlobals.h"

namespace toolkit {
namespace {

constexpr int32_t kFrames = 97;
constexpr int32_t kFrameSize = 40;

// Every frame of the test strip is one colour of its own.
uint32_t frameColour(int32_t k) {
    return 0xFF000000u | (static_cast<uint32_t>(k) << 16) | (static_cast<uint32_t>(96 - k) << 8) | 0x40u;
}

RasterSurface makeStrip() {
    RasterSurface strip(kFrameSize, kFrameSize * kFrames);
    for (int32_t y = 0; y < strip.height; ++y)
        for (int32_t x = 0; x < strip.width; ++x) strip.setPixel(x, y, frameColour(y / kFrameSize));
    return strip;
}

class CBitmapTest : public RasterFixture {
protected:
    void SetUp() override {
        RasterFixture::SetUp();
        backend().addImageResource(128, makeStrip());
        RasterSurface two(2, 1);
        two.setPixel(0, 0, 0xFFFF0000u);  // opaque red
        two.setPixel(1, 0, 0x8000FF00u);  // half-transparent green
        backend().addImageResource(200, two);
        backend().addImageResource("named", RasterSurface(3, 4, 0xFF112233u));
        backend().addUndecodableResource(201);
    }
    void TearDown() override {
        EXPECT_EQ(GDIPlusGlobals::instance(), nullptr) << "a bitmap was left alive";
        RasterFixture::TearDown();
    }
};

TEST_F(CBitmapTest, ResourcesLoadWithTheirSize) {
    struct Case {
        const char* label;
        CResourceDescription resource;
        bool loads;
        int32_t width;
        int32_t height;
    };
    const Case cases[] = {
        {"film strip", CResourceDescription(128), true, 40, 3880},
        {"only the low 16 bits count", CResourceDescription(0x10000 + 128), true, 40, 3880},
        {"by name", CResourceDescription("named"), true, 3, 4},
        {"missing number", CResourceDescription(999), false, 0, 0},
        {"missing name", CResourceDescription("absent"), false, 0, 0},
        {"undecodable data", CResourceDescription(201), true, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CBitmap* bitmap = new CBitmap(c.resource);
        EXPECT_EQ(bitmap->width(), c.width);
        EXPECT_EQ(bitmap->height(), c.height);
        EXPECT_EQ(bitmap->loadFromResource(c.resource), c.loads);
        EXPECT_EQ(bitmap->width(), c.width);
        EXPECT_EQ(bitmap->height(), c.height);
        EXPECT_EQ(bitmap->platformBitmap() != nullptr, c.loads);
        bitmap->release();
    }
}

TEST_F(CBitmapTest, FilmStripFrameIsDrawnThroughTheSourceOffset) {
    CBitmap* strip = new CBitmap(CResourceDescription(128));
    RasterSurface surface(60, 60);
    CDrawContext ctx(nullptr, &surface, nullptr);
    for (int32_t k : {0, 1, 48, 95, 96}) {
        SCOPED_TRACE(k);
        surface.fill(0);
        strip->draw(&ctx, CRectangle(10, 10, 50, 50), CPosition(0, kFrameSize * k));
        EXPECT_EQ(surface.count(frameColour(k), CRectangle(10, 10, 50, 50)), kFrameSize * kFrameSize);
        EXPECT_EQ(surface.count(frameColour(k)), kFrameSize * kFrameSize);
    }
    // The context's offset moves the destination, not the source.
    surface.fill(0);
    ctx.drawOffset = CPosition(5, 3);
    strip->draw(&ctx, CRectangle(0, 0, 40, 40), CPosition(0, 80));
    EXPECT_EQ(surface.count(frameColour(2), CRectangle(5, 3, 45, 43)), 1600);
    strip->release();
}

TEST_F(CBitmapTest, DrawAndDrawTransparentGiveIdenticalPixels) {
    CBitmap* bitmap = new CBitmap(CResourceDescription(200));
    RasterSurface plain(4, 2, 0xFF0000FFu);
    RasterSurface transparent(4, 2, 0xFF0000FFu);
    {
        CDrawContext a(nullptr, &plain, nullptr);
        CDrawContext b(nullptr, &transparent, nullptr);
        bitmap->draw(&a, CRectangle(1, 1, 3, 2));
        bitmap->drawTransparent(&b, CRectangle(1, 1, 3, 2));
    }
    EXPECT_EQ(plain.pixels, transparent.pixels);
    EXPECT_EQ(plain.pixel(1, 1), 0xFFFF0000u);
    EXPECT_EQ(plain.pixel(2, 1), 0xFF00807Fu);  // the image's own alpha blends
    bitmap->release();
}

TEST_F(CBitmapTest, AlphaBlendScalesTheImageAlpha) {
    struct Case {
        uint8_t alpha;
        uint32_t redOverBlue;
    };
    const Case cases[] = {
        {255, 0xFFFF0000u},
        {128, 0xFF80007Fu},
        {0, 0xFF0000FFu},
    };
    CBitmap* bitmap = new CBitmap(CResourceDescription(200));
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.alpha));
        RasterSurface surface(2, 1, 0xFF0000FFu);
        CDrawContext ctx(nullptr, &surface, nullptr);
        bitmap->drawAlphaBlend(&ctx, CRectangle(0, 0, 1, 1), CPosition(0, 0), c.alpha);
        EXPECT_EQ(surface.pixel(0, 0), c.redOverBlue);
        EXPECT_EQ(surface.pixel(1, 0), 0xFF0000FFu);
    }
    bitmap->release();
}

TEST_F(CBitmapTest, NothingIsDrawnWithoutImageSurfaceOrArea) {
    CBitmap* missing = new CBitmap(CResourceDescription(999));
    CBitmap* undecodable = new CBitmap(CResourceDescription(201));
    CBitmap* strip = new CBitmap(CResourceDescription(128));
    RasterSurface surface(40, 40);
    CDrawContext ctx(nullptr, &surface, nullptr);
    CDrawContext noSurface(nullptr, nullptr, nullptr);
    missing->draw(&ctx, CRectangle(0, 0, 40, 40));
    undecodable->draw(&ctx, CRectangle(0, 0, 40, 40));
    strip->draw(&noSurface, CRectangle(0, 0, 40, 40));
    strip->draw(nullptr, CRectangle(0, 0, 40, 40));
    strip->draw(&ctx, CRectangle(10, 10, 10, 30));  // no width
    EXPECT_EQ(surface.count(0u), 1600);

    // After dispose the bitmap is 0 x 0 and draws nothing until loaded again.
    strip->dispose();
    EXPECT_EQ(strip->width(), 0);
    EXPECT_EQ(strip->platformBitmap(), nullptr);
    strip->draw(&ctx, CRectangle(0, 0, 40, 40));
    EXPECT_EQ(surface.count(0u), 1600);
    EXPECT_TRUE(strip->loadFromResource(CResourceDescription(128)));
    EXPECT_FALSE(strip->loadUnsupported(nullptr));
    EXPECT_EQ(strip->height(), 0);
    EXPECT_EQ(strip->platformBitmap(), nullptr);

    missing->release();
    undecodable->release();
    strip->release();
}

TEST_F(CBitmapTest, EmptySurfaceIsTransparentBlack) {
    CBitmap* bitmap = new CBitmap(5, 3);
    EXPECT_EQ(bitmap->width(), 5);
    EXPECT_EQ(bitmap->height(), 3);
    EXPECT_EQ(bitmap->resourceDescription().kind, CResourceDescription::kEmptyKind);
    ASSERT_NE(bitmap->platformBitmap(), nullptr);
    EXPECT_EQ(bitmap->platformBitmap()->count(0u), 15);
    bitmap->release();

    CBitmap* degenerate = new CBitmap(0, 7);
    EXPECT_EQ(degenerate->width(), 0);
    EXPECT_EQ(degenerate->height(), 0);
    degenerate->release();
}

}  // namespace
}  // namespace toolkit
