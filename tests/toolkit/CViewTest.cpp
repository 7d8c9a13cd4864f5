#include "toolkit/CView.h"

#include <gtest/gtest.h>

#include <cstring>

#include "ViewProbe.h"
#include "toolkit/CBitmap.h"

namespace toolkit {
namespace {

TEST(CView, ANeverAddedViewOnlyClearsItsDirtyFlagOnInvalidate) {
    CView view(CRectangle(0, 0, 10, 10));
    view.setDirty(true);
    view.invalidate();
    EXPECT_FALSE(view.isDirty());
    EXPECT_EQ(view.getFrame(), nullptr);
    EXPECT_EQ(view.editor(), nullptr);
    CRectangle visible(1, 1, 1, 1);
    view.visibleRect(visible);
    EXPECT_EQ(visible, CRectangle(0, 0, 0, 0));
}

TEST(CView, InvalidationReachesTheWindowOnlyWhileAttachedAndVisible) {
    FrameRig rig;
    CView* view = new CView(CRectangle(10, 10, 20, 30));
    rig.frame->addChild(view);
    rig.platform->invalidated.clear();

    view->setDirty(true);
    view->invalidate();
    EXPECT_FALSE(view->isDirty());
    ASSERT_EQ(rig.platform->invalidated.size(), 1u);
    EXPECT_EQ(rig.platform->invalidated[0], CRectangle(10, 10, 20, 30));

    // Hiding marks the view dirty but does not repaint the area it covered.
    rig.platform->invalidated.clear();
    view->setVisible(false);
    EXPECT_TRUE(view->isDirty());
    EXPECT_TRUE(rig.platform->invalidated.empty());
    view->invalidate();
    EXPECT_TRUE(rig.platform->invalidated.empty());
    // Setting the same visibility again changes nothing.
    view->setDirty(false);
    view->setVisible(false);
    EXPECT_FALSE(view->isDirty());
}

TEST(CView, HitTestIncludesTheEdgesOfTheMouseArea) {
    CView view(CRectangle(10, 10, 20, 20));
    struct Case {
        CPosition p;
        bool hit;
    } cases[] = {{{10, 10}, true}, {{20, 20}, true}, {{20, 15}, true},
                 {{21, 15}, false}, {{15, 9}, false}};
    for (const Case& c : cases) EXPECT_EQ(view.hitTest(c.p, 0), c.hit) << c.p.x << "," << c.p.y;
}

TEST(CView, SetViewRectLeavesTheMouseAreaBehind) {
    CView view(CRectangle(0, 0, 10, 10));
    view.setDirty(false);
    view.setViewRect(CRectangle(50, 50, 60, 60), false);
    EXPECT_FALSE(view.isDirty());
    view.setViewRect(CRectangle(50, 50, 60, 60), true);
    EXPECT_TRUE(view.isDirty());
    EXPECT_EQ(view.getMouseArea(), CRectangle(0, 0, 10, 10));
    EXPECT_TRUE(view.hitTest(CPosition(5, 5), 0));
    EXPECT_FALSE(view.hitTest(CPosition(55, 55), 0));
}

TEST(CView, HorizontalWheelReachesWheelNegated) {
    EventLog log;
    ProbeView view("v", CRectangle(0, 0, 10, 10), log);
    view.wheelOnAxis(CPosition(1, 2), kWheelHorizontal, 3.0f, 0);
    view.wheelOnAxis(CPosition(1, 2), kWheelVertical, 2.0f, 0);
    EXPECT_EQ(log.joined(), "v:wheel-3(1,2) v:wheel2(1,2)");
}

TEST(CView, IsKindOfAnswersEachClassAndItsBases) {
    FrameRig rig;
    CView view{CRectangle()};
    CViewContainer container{CRectangle()};
    struct Case {
        const char* name;
        bool view, container, frame;
    } cases[] = {
        {"CView", true, true, true},
        {"CViewContainer", false, true, true},
        {"CFrame", false, false, true},
        {"CControl", false, false, false},
        {"cview", false, false, false},
        {nullptr, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name ? c.name : "null");
        EXPECT_EQ(view.isKindOf(c.name), c.view);
        EXPECT_EQ(container.isKindOf(c.name), c.container);
        EXPECT_EQ(rig.frame->isKindOf(c.name), c.frame);
    }
}

TEST(CView, BackgroundIsRetainedWhileSet) {
    auto* first = new CBitmap(4, 4);
    auto* second = new CBitmap(4, 4);
    {
        CView view(CRectangle(0, 0, 4, 4));
        view.setDirty(false);
        view.setBackground(first);
        EXPECT_TRUE(view.isDirty());
        EXPECT_EQ(first->referenceCount(), 2);
        // Setting the bitmap it already holds must not lose it.
        first->release();
        view.setBackground(first);
        EXPECT_EQ(first->referenceCount(), 1);
        EXPECT_EQ(view.background(), first);
        first->retain();
        view.setBackground(second);
        EXPECT_EQ(first->referenceCount(), 1);
        EXPECT_EQ(second->referenceCount(), 2);
    }
    EXPECT_EQ(second->referenceCount(), 1);
    first->release();
    second->release();
}

TEST(CView, CloneOfAHiddenAttachedDirtyViewIsVisibleDetachedAndClean) {
    FrameRig rig;
    auto* bitmap = new CBitmap(4, 4);
    CView* view = new CView(CRectangle(1, 2, 3, 4));
    view->setMouseArea(CRectangle(0, 0, 9, 9));
    view->setMouseEnabled(false);
    view->setTransparent(true);
    view->setAcceptsFocus(true);
    view->setAutosizeFlags(kFollowRight | kFollowBottom);
    view->setBackground(bitmap);
    const char payload[] = "abc";
    ASSERT_TRUE(view->setAttribute(7, 4, payload));
    rig.frame->addChild(view);
    view->setVisible(false);
    view->setDirty(true);

    CView* copy = view->clone();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->referenceCount(), 1);
    EXPECT_TRUE(copy->isVisible());
    EXPECT_FALSE(copy->isAttached());
    EXPECT_FALSE(copy->isDirty());
    EXPECT_EQ(copy->getFrame(), nullptr);
    EXPECT_EQ(copy->getParent(), nullptr);
    EXPECT_EQ(copy->getViewRect(), CRectangle(1, 2, 3, 4));
    EXPECT_EQ(copy->getMouseArea(), CRectangle(0, 0, 9, 9));
    EXPECT_FALSE(copy->isMouseEnabled());
    EXPECT_TRUE(copy->isTransparent());
    EXPECT_TRUE(copy->acceptsFocus());
    EXPECT_EQ(copy->autosizeFlags(), kFollowRight | kFollowBottom);
    EXPECT_EQ(copy->background(), bitmap);
    EXPECT_EQ(bitmap->referenceCount(), 3);
    char read[4] = {};
    EXPECT_EQ(copy->getAttribute(7, 4, read), 4);
    EXPECT_STREQ(read, "abc");
    copy->release();
    EXPECT_EQ(bitmap->referenceCount(), 2);
    bitmap->release();
}

TEST(CView, AttributesGrowTheirBufferAndKeepTheirOrder) {
    CView view{CRectangle()};
    const char longer[] = "0123456789";
    EXPECT_TRUE(view.setAttribute(1, 3, "abc"));
    EXPECT_TRUE(view.setAttribute(2, 2, "xy"));
    EXPECT_TRUE(view.setAttribute(1, 10, longer));
    char buffer[16] = {};
    EXPECT_EQ(view.getAttribute(1, sizeof buffer, buffer), 10);
    EXPECT_EQ(std::memcmp(buffer, longer, 10), 0);
    EXPECT_TRUE(view.setAttribute(1, 1, "z"));
    EXPECT_EQ(view.getAttribute(1), 1);
    EXPECT_EQ(view.getAttribute(2), 2);
    EXPECT_EQ(view.getAttribute(3), -1);
    EXPECT_FALSE(view.setAttribute(4, -1, "q"));
    EXPECT_FALSE(view.setAttribute(4, 3, nullptr));
    EXPECT_EQ(view.getAttribute(4), -1);
}

TEST(CView, AttachingTwiceIsRefused) {
    FrameRig rig;
    CView view{CRectangle()};
    EXPECT_FALSE(view.detachFrom(rig.frame));
    EXPECT_TRUE(view.attachTo(rig.frame));
    EXPECT_EQ(view.getFrame(), rig.frame);
    EXPECT_EQ(view.getParent(), rig.frame);
    EXPECT_FALSE(view.attachTo(rig.frame));
    EXPECT_TRUE(view.detachFrom(rig.frame));
    EXPECT_FALSE(view.isAttached());
    EXPECT_EQ(view.getFrame(), nullptr);
}

TEST(CView, CoordinatesConvertThroughEveryEnclosingContainer) {
    ProbeEditor editor;
    FrameRig rig(&editor);
    ProbeContainer* outer = rig.container("outer", CRectangle(10, 20, 110, 90));
    ProbeContainer* inner = rig.container("inner", CRectangle(5, 5, 50, 50), outer);
    ProbeView* leaf = rig.probe("leaf", CRectangle(1, 1, 100, 100), inner);

    CPosition p(40, 50);
    leaf->convertFromFrame(p);
    EXPECT_EQ(p, CPosition(25, 25));
    leaf->convertToFrame(p);
    EXPECT_EQ(p, CPosition(40, 50));

    // Clipped by inner (45 x 45 at 5,5 of outer) and outer.
    CRectangle visible;
    leaf->visibleRect(visible);
    EXPECT_EQ(visible, CRectangle(1, 1, 45, 45));
    EXPECT_EQ(leaf->editor(), &editor);
}

}  // namespace
}  // namespace toolkit
