// Drag payloads routed through the view tree: the frame and every container
// pass dragEnter / dragMove / dragLeave / drop to the child under the point,
// in that child's parent coordinates.
#include "toolkit/CDragContainer.h"

#include <gtest/gtest.h>

#include "ViewProbe.h"

namespace toolkit {
namespace {

// A payload of fixed text items.
struct TextPayload : CDragContainer {
    explicit TextPayload(std::vector<std::string> texts) : items(std::move(texts)) {}
    const char* firstItem(int32_t& size, int32_t& type) override {
        index = 0;
        return nextItem(size, type);
    }
    const char* nextItem(int32_t& size, int32_t& type) override {
        if (index >= items.size()) {
            size = 0;
            type = kDragUnknown;
            return nullptr;
        }
        const std::string& s = items[index++];
        size = static_cast<int32_t>(s.size());
        type = kDragUtf8Text;
        return s.c_str();
    }
    int32_t itemType(int32_t) override { return kDragText; }
    int32_t itemCount() override { return static_cast<int32_t>(items.size()); }
    std::vector<std::string> items;
    size_t index = 0;
};

// A at (10,10)-(50,50); container C at (100,0)-(200,100) holding B at
// (10,10)-(40,40) of C.
struct DragLayout : FrameRig {
    DragLayout() {
        a = probe("A", CRectangle(10, 10, 50, 50));
        c = container("C", CRectangle(100, 0, 200, 100));
        b = probe("B", CRectangle(10, 10, 40, 40), c);
    }
    ProbeView* a;
    ProbeContainer* c;
    ProbeView* b;
    TextPayload payload{{"one", "two"}};
};

enum class Drag { Enter, Move, Leave, Drop };
struct DragStep {
    Drag action;
    CPosition where;
    bool dropAnswer;
    const char* log;
};

void runDrag(DragLayout& rig, const std::vector<DragStep>& steps) {
    for (size_t i = 0; i < steps.size(); ++i) {
        const DragStep& s = steps[i];
        SCOPED_TRACE("step " + std::to_string(i));
        rig.log.clear();
        switch (s.action) {
            case Drag::Enter: rig.frame->dragEnter(&rig.payload, s.where); break;
            case Drag::Move: rig.frame->dragMove(&rig.payload, s.where); break;
            case Drag::Leave: rig.frame->dragLeave(&rig.payload, s.where); break;
            case Drag::Drop: EXPECT_EQ(rig.frame->drop(&rig.payload, s.where), s.dropAnswer); break;
        }
        EXPECT_EQ(rig.log.joined(), s.log);
    }
}

TEST(DragRouting, MovingBetweenChildrenLeavesOneAndEntersTheOther) {
    DragLayout rig;
    runDrag(rig, {
        {Drag::Enter, {20, 20}, false, "A:dragEnter(20,20)"},
        {Drag::Move, {21, 22}, false, "A:dragMove(21,22)"},
        // Into the container: it is the frame's target, and routes on to B
        // in its own coordinates.
        {Drag::Move, {115, 15}, false, "A:dragLeave(115,15) B:dragEnter(15,15)"},
        {Drag::Move, {116, 16}, false, "B:dragMove(16,16)"},
        {Drag::Move, {150, 90}, false, "B:dragLeave(50,90)"},
        {Drag::Move, {70, 90}, false, ""},  // C left: nothing under the point
        {Drag::Move, {20, 20}, false, "A:dragEnter(20,20)"},
        {Drag::Leave, {20, 20}, false, "A:dragLeave(20,20)"},
        {Drag::Move, {70, 90}, false, ""},
    });
    EXPECT_EQ(rig.frame->getDragTargetView(), nullptr);
}

TEST(DragRouting, ADropIsFollowedByALeaveWhateverTheViewAnswers) {
    for (bool accepts : {false, true}) {
        SCOPED_TRACE(accepts);
        DragLayout rig;
        rig.b->dropResult = accepts;
        runDrag(rig, {
            {Drag::Enter, {115, 15}, false, "B:dragEnter(15,15)"},
            {Drag::Drop, {116, 16}, accepts, "B:drop(16,16) B:dragLeave(16,16)"},
        });
        EXPECT_EQ(rig.frame->getDragTargetView(), nullptr);
        EXPECT_EQ(rig.c->getDragTargetView(), nullptr);
    }
}

TEST(DragRouting, ADropElsewhereThanTheLastTargetLeavesItFirst) {
    DragLayout rig;
    rig.a->dropResult = true;
    runDrag(rig, {
        {Drag::Enter, {115, 15}, false, "B:dragEnter(15,15)"},
        // The container leaves B (in its own coordinates); then the new target
        // is dropped on directly.
        {Drag::Drop, {20, 20}, true, "B:dragLeave(-80,20) A:drop(20,20) A:dragLeave(20,20)"},
        {Drag::Drop, {70, 90}, false, ""},
    });
}

TEST(DragRouting, AContainerWithoutAFrameRoutesNothing) {
    EventLog log;
    TextPayload payload({"x"});
    CViewContainer detached(CRectangle(0, 0, 100, 100));
    auto* v = new ProbeView("v", CRectangle(0, 0, 50, 50), log);
    detached.addChild(v);
    detached.dragEnter(&payload, CPosition(5, 5));
    detached.dragMove(&payload, CPosition(5, 5));
    EXPECT_FALSE(detached.drop(&payload, CPosition(5, 5)));
    detached.dragLeave(&payload, CPosition(5, 5));
    EXPECT_EQ(log.joined(), "");
}

TEST(DragRouting, ATargetRemovedDuringTheDragIsNotReachedAgain) {
    DragLayout rig;
    int destroyed = 0;
    rig.b->destroyed = &destroyed;
    rig.frame->dragEnter(&rig.payload, CPosition(115, 15));
    rig.c->removeChild(rig.b, true);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(rig.c->getDragTargetView(), nullptr);
    rig.log.clear();
    rig.frame->dragMove(&rig.payload, CPosition(116, 16));
    EXPECT_FALSE(rig.frame->drop(&rig.payload, CPosition(116, 16)));
    EXPECT_EQ(rig.log.joined(), "");

    // A view that removes itself while being entered.
    rig.a->destroyed = &destroyed;
    rig.a->onDragEnter = [&](ProbeView& self) { rig.frame->removeChild(&self, true); };
    rig.frame->dragMove(&rig.payload, CPosition(20, 20));
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(rig.frame->getDragTargetView(), nullptr);
    rig.frame->dragLeave(&rig.payload, CPosition(20, 20));
}

TEST(DragRouting, PayloadIteration) {
    TextPayload payload({"first", "second"});
    int32_t size = -9, type = -9;
    EXPECT_EQ(payload.itemCount(), 2);
    EXPECT_STREQ(payload.firstItem(size, type), "first");
    EXPECT_EQ(size, 5);
    EXPECT_EQ(type, kDragUtf8Text);
    EXPECT_STREQ(payload.nextItem(size, type), "second");
    EXPECT_EQ(payload.nextItem(size, type), nullptr);
    EXPECT_STREQ(payload.firstItem(size, type), "first") << "firstItem restarts";
}

}  // namespace
}  // namespace toolkit
