#include "toolkit/GDIPlusGlobals.h"

#include <gtest/gtest.h>

#include "tests/toolkit/RasterFixture.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFontDesc.h"

namespace toolkit {
namespace {

class GDIPlusGlobalsTest : public RasterFixture {
protected:
    void SetUp() override {
        RasterFixture::SetUp();
        ASSERT_EQ(GDIPlusGlobals::instance(), nullptr);
    }
};

TEST_F(GDIPlusGlobalsTest, LibraryRunsFromTheFirstBitmapOrFrameToTheLast) {
    CBitmap* first = new CBitmap(4, 4);
    ASSERT_NE(GDIPlusGlobals::instance(), nullptr);
    EXPECT_TRUE(backend().isRunning());
    EXPECT_EQ(backend().startupCount(), 1);
    const uintptr_t token = GDIPlusGlobals::instance()->token();

    acquireGraphicsLibrary();  // what a frame does
    CBitmap* second = new CBitmap(CResourceDescription(999));
    EXPECT_EQ(backend().startupCount(), 1);
    EXPECT_EQ(GDIPlusGlobals::instance()->referenceCount(), 3);

    first->release();
    releaseGraphicsLibrary();
    EXPECT_TRUE(backend().isRunning());
    EXPECT_EQ(backend().shutdownCount(), 0);

    second->release();
    EXPECT_EQ(GDIPlusGlobals::instance(), nullptr);
    EXPECT_FALSE(backend().isRunning());
    EXPECT_EQ(backend().shutdownCount(), 1);
    EXPECT_EQ(backend().callsOf(Op::Shutdown)[0].args[0], double(token));

    // A new bitmap starts the library again.
    CBitmap* again = new CBitmap(1, 1);
    EXPECT_TRUE(backend().isRunning());
    EXPECT_EQ(backend().startupCount(), 2);
    again->release();
    EXPECT_EQ(backend().shutdownCount(), 2);
}

TEST_F(GDIPlusGlobalsTest, ShutdownDropsTheStaticFontsFirst) {
    CBitmap* bitmap = new CBitmap(1, 1);
    RasterSurface surface(10, 10);
    {
        CDrawContext ctx(nullptr, &surface, nullptr);
        ctx.setFont(kFontSize10);
        EXPECT_GT(ctx.stringWidth("x"), 0);
    }
    EXPECT_TRUE(kFontSize10->hasPlatformFont());
    backend().clearCalls();
    bitmap->release();
    EXPECT_FALSE(kFontSize10->hasPlatformFont());
    std::vector<Op> order;
    for (Op op : ops())
        if (op == Op::DeleteFont || op == Op::Shutdown) order.push_back(op);
    EXPECT_EQ(order, (std::vector<Op>{Op::DeleteFont, Op::Shutdown}));
}

TEST_F(GDIPlusGlobalsTest, UnbalancedReleaseDoesNothing) {
    releaseGraphicsLibrary();
    EXPECT_EQ(backend().shutdownCount(), 0);
    acquireGraphicsLibrary();
    releaseGraphicsLibrary();
    releaseGraphicsLibrary();
    EXPECT_EQ(backend().startupCount(), 1);
    EXPECT_EQ(backend().shutdownCount(), 1);
    EXPECT_EQ(GDIPlusGlobals::instance(), nullptr);
}

}  // namespace
}  // namespace toolkit
