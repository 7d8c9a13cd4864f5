// Drawing through the view tree, on the native recording and rasterising
// backend: order, clipping to the update and to each child, offsets of
// nested containers, backgrounds and the offscreen path.
#include <gtest/gtest.h>

#include "tests/toolkit/RasterFixture.h"
#include "tests/toolkit/ViewProbe.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"
#include "toolkit/CViewContainer.h"

namespace toolkit {
namespace {

constexpr uint32_t kSentinel = 0xFF123456u;

uint32_t argb(const CRgba& c) { return toArgb(c); }

// Fills `paint` (its parent's coordinates; its own rectangle by default)
// with its colour and logs that it drew.
struct FillView : CView {
    FillView(const char* n, const CRectangle& r, const CRgba& c, EventLog& l)
        : CView(r), name(n), colour(c), log(l), paint(r) {}
    void draw(CDrawContext* context) override {
        log.add(name, "draw");
        context->setFillColor(colour);
        context->fillRect(paint);
        setDirty(false);
    }
    std::string name;
    CRgba colour;
    EventLog& log;
    CRectangle paint;
};

class ViewTreeDrawing : public RasterFixture {
protected:
    void SetUp() override {
        RasterFixture::SetUp();
        surface.fill(kSentinel);
        platform = new StandInFramePlatform();
        platform->surface = &surface;
        frame = new CFrame(CRectangle(0, 0, 40, 40), &host, nullptr, platform);
    }
    void TearDown() override {
        delete frame;
        RasterFixture::TearDown();
    }
    FillView* fill(const char* name, CRectangle r, CRgba c, CViewContainer* into = nullptr) {
        auto* v = new FillView(name, r, c, log);
        (into ? into : static_cast<CViewContainer*>(frame))->addChild(v);
        return v;
    }

    char host = 0;
    EventLog log;
    StandInFramePlatform* platform = nullptr;
    CFrame* frame = nullptr;
};

TEST_F(ViewTreeDrawing, ChildrenDrawInListOrderOverTheBackground) {
    fill("red", CRectangle(0, 0, 20, 20), kColorRed, frame);
    fill("blue", CRectangle(10, 10, 30, 30), kColorBlue, frame);
    platform->paint(CRectangle(0, 0, 40, 40));
    EXPECT_EQ(log.joined(), "red:draw blue:draw");
    EXPECT_EQ(surface.pixel(5, 5), argb(kColorRed));
    EXPECT_EQ(surface.pixel(15, 15), argb(kColorBlue)) << "the one added last is on top";
    EXPECT_EQ(surface.pixel(35, 35), argb(kColorBlack)) << "the frame's background colour";
    EXPECT_FALSE(frame->isDirty());
}

TEST_F(ViewTreeDrawing, DrawingIsLimitedToTheUpdateAndToEachChild) {
    FillView* greedy = fill("greedy", CRectangle(10, 10, 20, 20), kColorRed, frame);
    greedy->paint = CRectangle(0, 0, 40, 40);  // tries to paint everything
    fill("far", CRectangle(30, 30, 40, 40), kColorGreen, frame);

    platform->paint(CRectangle(0, 0, 15, 15));
    EXPECT_EQ(log.joined(), "greedy:draw") << "a child outside the update is not drawn";
    const CRectangle inside(10, 10, 15, 15);
    EXPECT_EQ(surface.count(argb(kColorRed)), inside.width() * inside.height());
    EXPECT_EQ(surface.count(argb(kColorRed), inside), 25);
    EXPECT_EQ(surface.pixel(20, 20), kSentinel) << "outside the update nothing changes";
    EXPECT_EQ(surface.pixel(5, 5), argb(kColorBlack));

    // The context's clip and offsets are back as they were.
    CDrawContext* context = frame->makeDrawContext();
    const CRectangle before = context->clipRect();
    frame->drawInRect(context, CRectangle(0, 0, 15, 15));
    EXPECT_EQ(context->clipRect(), before);
    EXPECT_EQ(context->drawOffset, CPosition(0, 0));
    context->release();
}

TEST_F(ViewTreeDrawing, AnEmptyUpdateDrawsNothing) {
    fill("red", CRectangle(0, 0, 20, 20), kColorRed, frame);
    platform->paint(CRectangle(5, 5, 5, 30));
    EXPECT_EQ(log.joined(), "");
    EXPECT_EQ(surface.count(kSentinel), 40 * 40);
}

TEST_F(ViewTreeDrawing, NestedContainersDrawTheirChildrenAtTheirOrigin) {
    auto* box = new CViewContainer(CRectangle(10, 10, 30, 30));
    box->setBackgroundColor(kColorGreen);
    frame->addChild(box);
    FillView* inner = fill("inner", CRectangle(5, 5, 10, 10), kColorRed, box);
    inner->paint = CRectangle(0, 0, 100, 100);  // cut to its own rectangle
    fill("after", CRectangle(0, 35, 5, 40), kColorBlue, frame);
    FillView* hidden = fill("hidden", CRectangle(0, 0, 40, 40), kColorYellow, box);
    hidden->setVisible(false);

    platform->paint(CRectangle(0, 0, 40, 40));
    EXPECT_EQ(log.joined(), "inner:draw after:draw");
    EXPECT_EQ(surface.pixel(12, 12), argb(kColorGreen));
    EXPECT_EQ(surface.pixel(15, 15), argb(kColorRed));
    EXPECT_EQ(surface.pixel(19, 19), argb(kColorRed));
    EXPECT_EQ(surface.pixel(20, 20), argb(kColorGreen)) << "cut at the child's edge";
    EXPECT_EQ(surface.pixel(30, 30), argb(kColorBlack)) << "the container's edge";
    EXPECT_EQ(surface.pixel(2, 37), argb(kColorBlue)) << "a later sibling is not shifted";
    EXPECT_EQ(surface.count(argb(kColorYellow)), 0);
    EXPECT_FALSE(box->CView::isDirty()) << "drawing clears the container's own flag";
}

TEST_F(ViewTreeDrawing, TransparentContainersPaintOnlyATranslucentColour) {
    struct Case {
        const char* label;
        bool transparent;
        CRgba colour;
        bool painted;
    } cases[] = {
        {"opaque container", false, CRgba(0, 255, 0, 255), true},
        {"transparent, opaque colour", true, CRgba(0, 255, 0, 255), false},
        {"transparent, alpha 128", true, CRgba(0, 255, 0, 128), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        surface.fill(kSentinel);
        auto* box = new CViewContainer(CRectangle(0, 0, 20, 20));
        box->setTransparent(c.transparent);
        box->setBackgroundColor(c.colour);
        frame->addChild(box);
        frame->setTransparent(true);  // keep the frame itself out of the picture
        frame->setBackgroundColor(kColorBlack);
        backend().clearCalls();
        platform->paint(CRectangle(0, 0, 20, 20));
        EXPECT_EQ(backend().countOf(Op::FillRectangle), c.painted ? 1u : 0u);
        EXPECT_EQ(surface.pixel(10, 10) != kSentinel, c.painted);
        frame->removeChild(box, true);
    }
}

TEST_F(ViewTreeDrawing, BackgroundBitmapIsDrawnFromItsOffset) {
    RasterSurface picture(8, 4);
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 4; ++y) picture.setPixel(x, y, 0xFF000000u | static_cast<uint32_t>(x));
    backend().addImageResource(300, picture);
    auto* bitmap = new CBitmap(300);
    auto* box = new CViewContainer(CRectangle(10, 10, 14, 14));
    box->setBackground(bitmap);
    box->setBackgroundOffset(CPosition(3, 0));
    frame->addChild(box);
    bitmap->release();
    platform->paint(CRectangle(0, 0, 40, 40));
    EXPECT_EQ(surface.pixel(10, 10), 0xFF000003u);
    EXPECT_EQ(surface.pixel(13, 13), 0xFF000006u);
    EXPECT_EQ(surface.pixel(14, 10), argb(kColorBlack)) << "no further than the container";
}

TEST_F(ViewTreeDrawing, OffscreenDrawingGivesTheSamePixels) {
    // A full paint, then a partial one that starts inside the container
    // after a child changed colour.
    RasterSurface direct(40, 40, kSentinel);
    for (bool offscreen : {false, true}) {
        SCOPED_TRACE(offscreen);
        surface.fill(kSentinel);
        auto* box = new CViewContainer(CRectangle(5, 5, 35, 35));
        box->setBackgroundColor(kColorGreen);
        box->setOffscreenDrawing(offscreen);
        frame->addChild(box);
        fill("a", CRectangle(0, 0, 10, 10), kColorRed, box);
        FillView* b = fill("b", CRectangle(12, 12, 40, 40), kColorBlue, box);
        platform->paint(CRectangle(0, 0, 40, 40));
        b->colour = kColorYellow;
        platform->paint(CRectangle(20, 20, 40, 40));
        EXPECT_EQ(surface.pixel(17, 17), argb(kColorBlue)) << "outside the second update";
        EXPECT_EQ(surface.pixel(25, 25), argb(kColorYellow));
        if (!offscreen)
            direct = surface;
        else
            EXPECT_EQ(surface.pixels, direct.pixels);
        frame->removeChild(box, true);
    }
}

TEST_F(ViewTreeDrawing, AFrameWithoutAContextMakesItsOwn) {
    fill("red", CRectangle(0, 0, 10, 10), kColorRed, frame);
    frame->drawInRect(nullptr, CRectangle(0, 0, 40, 40));
    EXPECT_EQ(surface.pixel(5, 5), argb(kColorRed));
    frame->setDirty(true);
    frame->draw(nullptr);
    EXPECT_FALSE(frame->CView::isDirty());
}

}  // namespace
}  // namespace toolkit
