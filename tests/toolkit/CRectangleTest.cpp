#include "toolkit/CRectangle.h"

#include <gtest/gtest.h>

#include <cstring>

#include "toolkit/CRgba.h"
#include "toolkit/Messages.h"

namespace toolkit {
namespace {

TEST(CRectangle, IntersectNeverLeavesANegativeSize) {
    struct Case {
        const char* label;
        CRectangle a, b, expected;
    } cases[] = {
        {"overlap", {0, 0, 10, 10}, {5, 5, 20, 20}, {5, 5, 10, 10}},
        {"contained", {0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}},
        {"disjoint to the right", {0, 0, 10, 10}, {20, 0, 30, 10}, {20, 0, 20, 10}},
        {"disjoint below", {0, 0, 10, 10}, {0, 15, 10, 30}, {0, 15, 10, 15}},
        {"disjoint diagonally", {0, 0, 10, 10}, {-30, -30, -20, -20}, {0, 0, 0, 0}},
        {"touching edge", {0, 0, 10, 10}, {10, 0, 20, 10}, {10, 0, 10, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const CRectangle r = intersection(c.a, c.b);
        EXPECT_EQ(r, c.expected);
        EXPECT_GE(r.width(), 0);
        EXPECT_GE(r.height(), 0);
        EXPECT_EQ(r.isEmpty(), c.expected.width() <= 0 || c.expected.height() <= 0);
    }
}

TEST(CRectangle, PointInsideIncludesAllFourEdges) {
    const CRectangle r(10, 20, 30, 40);
    struct Case {
        CPosition p;
        bool inside;
    } cases[] = {
        {{10, 20}, true},  {{30, 40}, true},  {{30, 20}, true},  {{10, 40}, true},
        {{20, 30}, true},  {{9, 30}, false},  {{31, 30}, false}, {{20, 19}, false},
        {{20, 41}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(r.pointInside(c.p), c.inside) << c.p.x << "," << c.p.y;
}

TEST(CRectangle, OffsetMovesBothCornersAndKeepsTheSize) {
    CRectangle r(1, 2, 11, 22);
    r.offset(-5, 7);
    EXPECT_EQ(r, CRectangle(-4, 9, 6, 29));
    EXPECT_EQ(r.width(), 10);
    EXPECT_EQ(r.height(), 20);
}

TEST(Records, ColoursAndMessagesAreTheSharedConstants) {
    static_assert(sizeof(CRgba) == 4, "four bytes");
    EXPECT_EQ(kColorTransparent, CRgba(255, 255, 255, 0));
    EXPECT_EQ(kColorGrey, CRgba(127, 127, 127, 255));
    EXPECT_EQ(kColorCyan, CRgba(0, 255, 255, 255));
    EXPECT_STREQ(kMsgCheckIfViewContainer, "kMsgCheckIfViewContainer");
    EXPECT_STREQ(kMsgNewFocusView, "kMsgNewFocusView");
    EXPECT_STREQ(kMsgOldFocusView, "kMsgOldFocusView");
}

}  // namespace
}  // namespace toolkit
