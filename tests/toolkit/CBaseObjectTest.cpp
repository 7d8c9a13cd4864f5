#include "toolkit/CBaseObject.h"

#include <gtest/gtest.h>

namespace toolkit {
namespace {

struct Counted : CBaseObject {
    explicit Counted(int& destroyedCount) : destroyed(destroyedCount) {}
    Counted(const Counted& other) : CBaseObject(other), destroyed(other.destroyed) {}
    ~Counted() override {
        ++destroyed;
        if (releaseSelfInDestructor) release();  // a release from inside the teardown
    }
    int& destroyed;
    bool releaseSelfInDestructor = false;
};

TEST(CBaseObject, ReleaseDestroysOnlyWhenTheLastReferenceGoes) {
    struct Case {
        const char* label;
        int retains;
        int releases;
        bool alive;
        int count;
    } cases[] = {
        {"creator's reference only", 0, 0, true, 1},
        {"creator releases", 0, 1, false, 0},
        {"retain then release", 1, 1, true, 1},
        {"two retains, three releases", 2, 3, false, 0},
        {"three retains, one release", 3, 1, true, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        int destroyed = 0;
        auto* object = new Counted(destroyed);
        for (int i = 0; i < c.retains; ++i) object->retain();
        for (int i = 0; i < c.releases; ++i) object->release();
        EXPECT_EQ(destroyed, c.alive ? 0 : 1);
        if (c.alive) {
            EXPECT_EQ(object->referenceCount(), c.count);
            while (object->referenceCount() > 1) object->release();
            object->release();
            EXPECT_EQ(destroyed, 1);
        }
    }
}

TEST(CBaseObject, ReleaseDuringDestructionDoesNotDestroyAgain) {
    int destroyed = 0;
    auto* object = new Counted(destroyed);
    object->releaseSelfInDestructor = true;
    object->release();
    EXPECT_EQ(destroyed, 1);
}

TEST(CBaseObject, ACopyHasItsOwnSingleReference) {
    int destroyed = 0;
    Counted original(destroyed);
    original.retain();
    auto* copy = new Counted(original);
    EXPECT_EQ(copy->referenceCount(), 1);
    copy->release();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(original.referenceCount(), 2);
}

TEST(CBaseObject, NotifyAnswersZeroForAnyMessage) {
    CBaseObject object;
    EXPECT_EQ(object.notify(nullptr, "anything"), 0);
    EXPECT_EQ(object.notify(&object, nullptr), 0);
}

}  // namespace
}  // namespace toolkit
