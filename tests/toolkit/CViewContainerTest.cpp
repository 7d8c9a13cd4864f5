#include "toolkit/CViewContainer.h"

#include <gtest/gtest.h>

#include "ViewProbe.h"
#include "toolkit/CControl.h"

namespace toolkit {
namespace {

std::vector<CView*> children(const CViewContainer& c) {
    std::vector<CView*> out;
    for (int32_t i = 0; i < c.childCount(); ++i) out.push_back(c.childAt(i));
    return out;
}

TEST(CViewContainer, AddRefusesNullAndViewsAlreadyAttached) {
    FrameRig rig;
    ProbeContainer* a = rig.container("a", CRectangle(0, 0, 50, 50));
    ProbeContainer* b = rig.container("b", CRectangle(50, 0, 100, 50));
    auto* view = new CView(CRectangle(0, 0, 10, 10));
    EXPECT_FALSE(a->addChild(nullptr));
    EXPECT_TRUE(a->addChild(view));
    EXPECT_TRUE(view->isAttached());
    EXPECT_EQ(view->getParent(), a);
    EXPECT_EQ(view->getFrame(), rig.frame);
    EXPECT_FALSE(b->addChild(view));
    EXPECT_FALSE(a->addChild(view));
    EXPECT_EQ(b->childCount(), 0);
    EXPECT_EQ(a->childCount(), 1);
    EXPECT_EQ(view->referenceCount(), 2);
}

TEST(CViewContainer, AddChildBeforePlacesTheNewNode) {
    struct Case {
        const char* label;
        int before;  // index of the existing child, -1 for a stranger, -2 for null
        std::vector<int> order;  // resulting order; 3 is the new view
    } cases[] = {
        {"before the first", 0, {3, 0, 1, 2}},
        {"before the middle", 1, {0, 3, 1, 2}},
        {"before the last", 2, {0, 1, 3, 2}},
        {"stranger goes before the last", -1, {0, 1, 3, 2}},
        {"null goes before the last", -2, {0, 1, 3, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CViewContainer container(CRectangle(0, 0, 10, 10));
        CView* views[4];
        for (auto& v : views) v = new CView(CRectangle());
        for (int i = 0; i < 3; ++i) container.addChild(views[i]);
        CView stranger{CRectangle()};
        CView* before = c.before >= 0 ? views[c.before] : c.before == -1 ? &stranger : nullptr;
        EXPECT_TRUE(container.addChildBefore(views[3], before));
        std::vector<CView*> expected;
        for (int i : c.order) expected.push_back(views[i]);
        EXPECT_EQ(children(container), expected);
    }
    CViewContainer empty(CRectangle(0, 0, 10, 10));
    auto* only = new CView(CRectangle());
    EXPECT_TRUE(empty.addChildBefore(only, nullptr));
    EXPECT_EQ(empty.childAt(0), only);
    EXPECT_EQ(empty.childAt(1), nullptr);
    EXPECT_EQ(empty.childAt(-1), nullptr);
}

TEST(CViewContainer, AddChildWithMouseAreaConfiguresTheChild) {
    CViewContainer container(CRectangle(0, 0, 10, 10));
    auto* view = new CView(CRectangle(0, 0, 5, 5));
    EXPECT_TRUE(container.addChildWithMouseArea(view, CRectangle(1, 1, 2, 2), false));
    EXPECT_EQ(view->getMouseArea(), CRectangle(1, 1, 2, 2));
    EXPECT_FALSE(view->isMouseEnabled());
    EXPECT_FALSE(container.addChildWithMouseArea(nullptr, CRectangle(), true));
}

TEST(CViewContainer, RemovingDropsTheContainersReferenceAndWithForgetTheCreators) {
    FrameRig rig;
    int destroyed = 0;
    ProbeView* kept = rig.probe("kept", CRectangle(0, 0, 10, 10));
    ProbeView* forgotten = rig.probe("forgotten", CRectangle(10, 0, 20, 10));
    kept->destroyed = forgotten->destroyed = &destroyed;
    rig.platform->invalidated.clear();

    EXPECT_TRUE(rig.frame->removeChild(kept, false));
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(kept->referenceCount(), 1);
    EXPECT_FALSE(kept->isAttached());
    EXPECT_FALSE(rig.frame->removeChild(kept, true));  // no longer a child

    EXPECT_TRUE(rig.frame->removeChild(forgotten, true));
    EXPECT_EQ(destroyed, 1);
    // Both removals repainted the area the view covered.
    ASSERT_EQ(rig.platform->invalidated.size(), 2u);
    EXPECT_EQ(rig.platform->invalidated[1], CRectangle(10, 0, 20, 10));

    // A creator that already let go of its reference: the view still goes
    // exactly once.
    ProbeView* released = rig.probe("released", CRectangle());
    released->destroyed = &destroyed;
    released->release();
    EXPECT_TRUE(rig.frame->removeChild(released, true));
    EXPECT_EQ(destroyed, 2);
    kept->release();
    EXPECT_EQ(destroyed, 3);
}

TEST(CViewContainer, DestructionAndRemoveAllDestroyTheChildren) {
    EventLog log;
    int destroyed = 0;
    {
        CViewContainer container(CRectangle(0, 0, 10, 10));
        for (int i = 0; i < 3; ++i) {
            auto* v = new ProbeView("v", CRectangle(), log);
            v->destroyed = &destroyed;
            container.addChild(v);
        }
        auto* survivor = new ProbeView("s", CRectangle(), log);
        survivor->destroyed = &destroyed;
        container.addChild(survivor);
        survivor->retain();  // someone else holds it too
        container.removeAllChildren(true);
        EXPECT_EQ(container.childCount(), 0);
        EXPECT_EQ(destroyed, 3);
        container.addChild(survivor);
        survivor->release();
    }
    EXPECT_EQ(destroyed, 4);
}

TEST(CViewContainer, LastAddedOfOverlappingChildrenIsHitFirst) {
    FrameRig rig;
    ProbeView* below = rig.probe("below", CRectangle(0, 0, 50, 50));
    ProbeView* above = rig.probe("above", CRectangle(25, 25, 75, 75));
    EXPECT_EQ(rig.frame->childAt(0), below);
    EXPECT_EQ(rig.frame->childAt(1), above);
    EXPECT_EQ(rig.frame->findViewAt(CPosition(30, 30)), above);
    EXPECT_EQ(rig.frame->findViewAt(CPosition(10, 10)), below);
    EXPECT_EQ(rig.frame->mouseDown(CPosition(30, 30), kButtonLeft), kMouseHandled);
    EXPECT_EQ(rig.log.joined(), "above:down(30,30)");
    EXPECT_TRUE(rig.frame->hitTestChildren(CPosition(30, 30), 0));
    EXPECT_FALSE(rig.frame->hitTestChildren(CPosition(150, 90), 0));
}

TEST(CViewContainer, MouseDownSkipsHiddenAndDisabledChildren) {
    FrameRig rig;
    ProbeView* bottom = rig.probe("bottom", CRectangle(0, 0, 50, 50));
    ProbeView* disabled = rig.probe("disabled", CRectangle(0, 0, 50, 50));
    ProbeView* hidden = rig.probe("hidden", CRectangle(0, 0, 50, 50));
    disabled->setMouseEnabled(false);
    hidden->setVisible(false);
    EXPECT_EQ(rig.frame->mouseDown(CPosition(5, 5), kButtonLeft), kMouseHandled);
    EXPECT_EQ(rig.log.joined(), "bottom:down(5,5)");
    EXPECT_EQ(rig.frame->getMouseDownView(), bottom);
    EXPECT_EQ(rig.frame->mouseDown(CPosition(150, 5), kButtonLeft), kMouseNotHandled);
    // The hidden view is not found either.
    EXPECT_EQ(rig.frame->findViewAt(CPosition(5, 5)), disabled);
}

TEST(CViewContainer, OnlyAMouseDownAnsweredOneIsFollowedByMovesAndTheRelease) {
    struct Case {
        MouseResult down;
        bool tracked;
    } cases[] = {{kMouseHandled, true},
                 {kMouseNotHandled, false},
                 {kMouseHandledNoTracking, false},
                 {kMouseNotImplemented, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.down);
        EventLog log;
        CFrame frame(CRectangle(0, 0, 100, 100), nullptr, nullptr);
        auto* container = new CViewContainer(CRectangle(10, 10, 90, 90));
        frame.addChild(container);
        auto* v = new ProbeView("v", CRectangle(10, 10, 30, 30), log);
        container->addChild(v);
        v->downResult = c.down;
        EXPECT_EQ(frame.mouseDown(CPosition(25, 25), kButtonLeft), c.down);
        EXPECT_EQ(container->getMouseDownView(), c.tracked ? v : nullptr);
        EXPECT_EQ(container->mouseMoved(CPosition(35, 35), kButtonLeft),
                  c.tracked ? kMouseHandled : kMouseNotHandled);
        EXPECT_EQ(container->mouseUp(CPosition(36, 36), kButtonLeft),
                  c.tracked ? kMouseHandled : kMouseNotHandled);
        EXPECT_EQ(log.joined(), c.tracked ? "v:down(15,15) v:moved(25,25) v:up(26,26)"
                                          : "v:down(15,15)");
        EXPECT_EQ(container->getMouseDownView(), nullptr);
    }
}

TEST(CViewContainer, AMoveAnsweredOtherThanOneEndsTheTracking) {
    FrameRig rig;
    ProbeView* v = rig.probe("v", CRectangle(0, 0, 50, 50));
    rig.frame->mouseDown(CPosition(5, 5), kButtonLeft);
    v->moveResult = kMouseNotHandled;
    EXPECT_EQ(rig.frame->CViewContainer::mouseMoved(CPosition(6, 6), kButtonLeft), kMouseNotHandled);
    EXPECT_EQ(rig.frame->getMouseDownView(), nullptr);
    EXPECT_EQ(rig.frame->mouseUp(CPosition(6, 6), 0), kMouseNotHandled);
}

struct TestControl : CControl {
    TestControl(const CRectangle& r, CControlListener* l, EventLog& eventLog)
        : CControl(r, l, 0), log(eventLog) {}
    void draw(CDrawContext*) override {}
    CView* clone() const override { return nullptr; }
    MouseResult mouseDown(CPosition p, int32_t) override {
        log.add("control", "down", p);
        return kMouseHandled;
    }
    EventLog& log;
};

struct ModifierListener : CControlListener {
    void valueChanged(CControl*) override {}
    int32_t modifierClicked(CControl*, int32_t buttons) override {
        asked.push_back(buttons);
        return answer;
    }
    int32_t answer = 0;
    std::vector<int32_t> asked;
};

TEST(CViewContainer, ModifierClicksAreOfferedToTheControlsListenerFirst) {
    struct Case {
        const char* label;
        int32_t buttons;
        int32_t answer;
        bool asked;
        bool reachesControl;
    } cases[] = {
        {"plain left click", kButtonLeft, 1, false, true},
        {"shift click consumed", kButtonLeft | kModifierShift, 1, true, false},
        {"shift click passed on", kButtonLeft | kModifierShift, 0, true, true},
        {"right click consumed", kButtonRight, 7, true, false},
        {"control click consumed", kButtonLeft | kModifierControl, 1, true, false},
        {"double click alone", kButtonLeft | kButtonDoubleClick, 1, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        FrameRig rig;
        ModifierListener listener;
        listener.answer = c.answer;
        auto* control = new TestControl(CRectangle(0, 0, 20, 20), &listener, rig.log);
        rig.frame->addChild(control);
        const MouseResult r = rig.frame->mouseDown(CPosition(5, 5), c.buttons);
        EXPECT_EQ(r, kMouseHandled);
        EXPECT_EQ(listener.asked.size(), c.asked ? 1u : 0u);
        EXPECT_EQ(rig.log.joined(), c.reachesControl ? "control:down(5,5)" : "");
        EXPECT_EQ(rig.frame->getMouseDownView(), c.reachesControl ? control : nullptr);
    }
}

TEST(CViewContainer, DeepSearchStopsAtTheNestedContainerUnderThePoint) {
    FrameRig rig;
    ProbeView* sibling = rig.probe("sibling", CRectangle(0, 0, 100, 100));
    ProbeContainer* nested = rig.container("nested", CRectangle(10, 10, 60, 60));
    ProbeView* leaf = rig.probe("leaf", CRectangle(0, 0, 10, 10), nested);

    EXPECT_EQ(rig.frame->findViewAt(CPosition(15, 15), true), leaf);
    EXPECT_EQ(rig.frame->findViewAt(CPosition(40, 40), true), nullptr);
    EXPECT_EQ(rig.frame->findViewAt(CPosition(40, 40), false), nested);
    EXPECT_EQ(rig.frame->findViewAt(CPosition(80, 80), true), sibling);

    EXPECT_EQ(rig.frame->findContainerAt(CPosition(40, 40), true), nested);
    EXPECT_EQ(rig.frame->findContainerAt(CPosition(40, 40), false), rig.frame);
    EXPECT_EQ(rig.frame->findContainerAt(CPosition(80, 80), true), rig.frame);

    // Without a frame nothing is found.
    CViewContainer detached(CRectangle(0, 0, 100, 100));
    detached.addChild(new CView(CRectangle(0, 0, 10, 10)));
    EXPECT_EQ(detached.findViewAt(CPosition(5, 5)), nullptr);
    EXPECT_EQ(detached.findContainerAt(CPosition(5, 5)), nullptr);
}

TEST(CViewContainer, ResizingMovesChildrenByTheirFlags) {
    struct Case {
        const char* label;
        int32_t containerFlags;
        int32_t childFlags;
        CRectangle expected[3];  // each child's rect after growing by (10, 10)
    } cases[] = {
        {"spread columns: 10 / 3 = 3 each", kSpreadColumns, 0,
         {{0, 0, 13, 20}, {23, 0, 36, 20}, {46, 0, 59, 20}}},
        {"spread rows", kSpreadRows, 0, {{0, 0, 10, 23}, {20, 3, 30, 26}, {40, 6, 50, 29}}},
        {"follow right only: moves", 0, kFollowRight,
         {{10, 0, 20, 20}, {30, 0, 40, 20}, {50, 0, 60, 20}}},
        {"follow left and right: stretches", 0, kFollowLeft | kFollowRight,
         {{0, 0, 20, 20}, {20, 0, 40, 20}, {40, 0, 60, 20}}},
        {"follow bottom and top", 0, kFollowTop | kFollowBottom,
         {{0, 0, 10, 30}, {20, 0, 30, 30}, {40, 0, 50, 30}}},
        {"no flags: nothing moves", 0, kFollowLeft | kFollowTop,
         {{0, 0, 10, 20}, {20, 0, 30, 20}, {40, 0, 50, 20}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CViewContainer container(CRectangle(0, 0, 60, 20));
        container.setAutosizeFlags(c.containerFlags);
        CView* kids[3];
        for (int i = 0; i < 3; ++i) {
            kids[i] = new CView(CRectangle(20 * i, 0, 20 * i + 10, 20));
            kids[i]->setAutosizeFlags(c.childFlags);
            kids[i]->setDirty(false);
            container.addChild(kids[i]);
        }
        container.setViewRect(CRectangle(0, 0, 70, 30), false);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(kids[i]->getViewRect(), c.expected[i]) << "child " << i;
            EXPECT_EQ(kids[i]->getMouseArea(), c.expected[i]) << "child " << i;
            EXPECT_EQ(kids[i]->isDirty(), kids[i]->getViewRect() != CRectangle(20 * i, 0, 20 * i + 10, 20));
        }
    }
}

TEST(CViewContainer, ResizingTellsTheChildrenOnlyWhenTheRectangleChanges) {
    struct Resized : CView {
        using CView::CView;
        void parentResized() override { ++count; }
        int count = 0;
    };
    CViewContainer container(CRectangle(0, 0, 10, 10));
    auto* child = new Resized(CRectangle(0, 0, 5, 5));
    container.addChild(child);
    container.setDirty(false);
    container.setViewRect(CRectangle(0, 0, 10, 10), true);
    EXPECT_EQ(child->count, 0);
    EXPECT_FALSE(container.CView::isDirty());
    container.setViewRect(CRectangle(5, 5, 15, 15), true);  // moved, same size
    EXPECT_EQ(child->count, 1);
    EXPECT_EQ(child->getViewRect(), CRectangle(0, 0, 5, 5));
    EXPECT_TRUE(container.CView::isDirty());
}

TEST(CViewContainer, InvalidationIsClippedToTheContainerAndStopsWhenHidden) {
    FrameRig rig;
    ProbeContainer* box = rig.container("box", CRectangle(10, 10, 50, 50));
    rig.platform->invalidated.clear();
    struct Case {
        CRectangle local;
        bool forwarded;
        CRectangle seen;
    } cases[] = {
        {{0, 0, 10, 10}, true, {10, 10, 20, 20}},
        {{30, 30, 60, 60}, true, {40, 40, 50, 50}},
        {{40, 0, 60, 10}, false, {}},  // right of the container: nothing left
    };
    for (const Case& c : cases) {
        rig.platform->invalidated.clear();
        box->invalidateRect(c.local);
        ASSERT_EQ(rig.platform->invalidated.size(), c.forwarded ? 1u : 0u);
        if (c.forwarded) {
            EXPECT_EQ(rig.platform->invalidated[0], c.seen);
        }
    }
    rig.platform->invalidated.clear();
    box->setVisible(false);
    box->invalidateRect(CRectangle(0, 0, 10, 10));
    box->invalidate();
    EXPECT_TRUE(rig.platform->invalidated.empty());
    box->setVisible(true);
    box->setDirty(true);
    box->invalidate();
    ASSERT_EQ(rig.platform->invalidated.size(), 1u);
    EXPECT_EQ(rig.platform->invalidated[0], CRectangle(10, 10, 50, 50));
    EXPECT_TRUE(box->CView::isDirty());  // only drawing clears a container
}

TEST(CViewContainer, DirtyChildrenBecomeInvalidRectanglesOnTheIdlePass) {
    FrameRig rig;
    ProbeContainer* box = rig.container("box", CRectangle(100, 0, 200, 100));
    ProbeView* a = rig.probe("a", CRectangle(0, 0, 10, 10));
    ProbeView* hidden = rig.probe("hidden", CRectangle(20, 0, 30, 10));
    ProbeView* nested = rig.probe("nested", CRectangle(5, 5, 15, 15), box);
    ProbeView* outside = rig.probe("outside", CRectangle(500, 500, 510, 510), box);
    for (CView* v : {static_cast<CView*>(rig.frame), static_cast<CView*>(box),
                     static_cast<CView*>(a), static_cast<CView*>(hidden),
                     static_cast<CView*>(nested), static_cast<CView*>(outside)})
        v->setDirty(false);
    hidden->setVisible(false);  // marks it dirty
    EXPECT_FALSE(box->isDirty());
    outside->setDirty(true);
    EXPECT_FALSE(box->isDirty()) << "a dirty child outside the container does not count";
    outside->setDirty(false);
    rig.platform->invalidated.clear();

    rig.frame->idle();
    EXPECT_TRUE(rig.platform->invalidated.empty()) << "a hidden view is never invalidated";

    a->setDirty(true);
    nested->setDirty(true);
    EXPECT_TRUE(box->isDirty());
    rig.frame->idle();
    ASSERT_EQ(rig.platform->invalidated.size(), 2u);
    EXPECT_EQ(rig.platform->invalidated[0], CRectangle(105, 5, 115, 15));  // box comes first
    EXPECT_EQ(rig.platform->invalidated[1], CRectangle(0, 0, 10, 10));
    EXPECT_FALSE(a->isDirty());
    EXPECT_FALSE(nested->isDirty());

    // A container marked dirty itself is repainted whole.
    rig.platform->invalidated.clear();
    box->setDirty(true);
    rig.frame->idle();
    ASSERT_EQ(rig.platform->invalidated.size(), 1u);
    EXPECT_EQ(rig.platform->invalidated[0], CRectangle(100, 0, 200, 100));

    // A closed frame repaints nothing.
    rig.platform->invalidated.clear();
    rig.frame->setOpen(false);
    rig.frame->idle();
    EXPECT_TRUE(rig.platform->invalidated.empty());
}

TEST(CViewContainer, KeysGoToTheChildrenLastFirst) {
    FrameRig rig;
    CViewContainer box(CRectangle(0, 0, 100, 100));
    auto* first = new ProbeView("first", CRectangle(), rig.log);
    auto* second = new ProbeView("second", CRectangle(), rig.log);
    box.addChild(first);
    box.addChild(second);
    VstKeyCode k = key(13);
    EXPECT_EQ(box.keyDown(k), -1);
    EXPECT_EQ(rig.log.joined(), "second:keyDown first:keyDown");
    rig.log.clear();
    second->keyResult = 0;
    EXPECT_EQ(box.keyUp(k), 0);
    EXPECT_EQ(rig.log.joined(), "second:keyUp");
}

TEST(CViewContainer, NotifyAnswersOnlyTheContainerCheckMessage) {
    CViewContainer box{CRectangle()};
    const char copy[] = "kMsgCheckIfViewContainer";
    EXPECT_EQ(box.notify(nullptr, kMsgCheckIfViewContainer), 1);
    EXPECT_EQ(box.notify(nullptr, copy), 0) << "the text's address is the message";
    EXPECT_EQ(box.notify(nullptr, kMsgNewFocusView), 0);
}

TEST(CViewContainer, CloneCopiesTheSubtree) {
    CViewContainer box(CRectangle(0, 0, 40, 40));
    box.setBackgroundColor(kColorRed);
    box.setBackgroundOffset(CPosition(3, 4));
    box.setOffscreenDrawing(true);
    box.addChild(new CView(CRectangle(1, 1, 5, 5)));
    auto* inner = new CViewContainer(CRectangle(10, 10, 30, 30));
    inner->addChild(new CView(CRectangle(2, 2, 4, 4)));
    box.addChild(inner);

    auto* copy = static_cast<CViewContainer*>(box.clone());
    ASSERT_EQ(copy->childCount(), 2);
    EXPECT_EQ(copy->backgroundColor(), kColorRed);
    EXPECT_EQ(copy->backgroundOffset(), CPosition(3, 4));
    EXPECT_TRUE(copy->isOffscreenDrawing());
    EXPECT_NE(copy->childAt(0), box.childAt(0));
    EXPECT_EQ(copy->childAt(0)->getViewRect(), CRectangle(1, 1, 5, 5));
    ASSERT_TRUE(copy->childAt(1)->isKindOf("CViewContainer"));
    auto* innerCopy = static_cast<CViewContainer*>(copy->childAt(1));
    ASSERT_EQ(innerCopy->childCount(), 1);
    EXPECT_EQ(innerCopy->childAt(0)->getViewRect(), CRectangle(2, 2, 4, 4));
    copy->release();
}

TEST(CViewContainer, AttachingAContainerAttachesItsChildren) {
    FrameRig rig;
    auto* box = new CViewContainer(CRectangle(0, 0, 50, 50));
    auto* child = new CView(CRectangle(0, 0, 5, 5));
    box->addChild(child);
    EXPECT_FALSE(child->isAttached());
    rig.frame->addChild(box);
    EXPECT_TRUE(child->isAttached());
    EXPECT_EQ(child->getFrame(), rig.frame);
    EXPECT_EQ(child->getParent(), box);
    EXPECT_FALSE(box->attachTo(rig.frame));
    rig.frame->removeChild(box, false);
    EXPECT_FALSE(child->isAttached());
    EXPECT_EQ(box->getFrame(), nullptr);
    box->release();
}

}  // namespace
}  // namespace toolkit
