// An axis-aligned rectangle in integer pixels: left/top inclusive corner and
// right/bottom corner. width = right - left, height = bottom - top; the
// rectangle is empty when either is not positive. Plain value.
//
// intersect() never produces a negative width or height: a disjoint result is
// normalised to zero width (right := left) or zero height (bottom := top).
// pointInside() is inclusive on all four edges, so a point on the right or
// bottom edge counts as inside (the toolkit's hit tests rely on that).
#pragma once

#include <cstdint>

#include "toolkit/CPosition.h"

namespace toolkit {

struct CRectangle {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr CRectangle() = default;
    constexpr CRectangle(int32_t l, int32_t t, int32_t r, int32_t b)
        : left(l), top(t), right(r), bottom(b) {}

    constexpr int32_t width() const { return right - left; }
    constexpr int32_t height() const { return bottom - top; }
    constexpr bool isEmpty() const { return width() <= 0 || height() <= 0; }

    constexpr CPosition topLeft() const { return CPosition(left, top); }

    // Moves both corners by (dx, dy).
    constexpr CRectangle& offset(int32_t dx, int32_t dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
        return *this;
    }

    // Keeps the common part with o; a disjoint pair leaves zero width/height.
    constexpr CRectangle& intersect(const CRectangle& o) {
        if (o.left > left) left = o.left;
        if (o.top > top) top = o.top;
        if (o.right < right) right = o.right;
        if (o.bottom < bottom) bottom = o.bottom;
        return normalise();
    }

    // Collapses an inverted rectangle to zero width/height at its left/top.
    constexpr CRectangle& normalise() {
        if (bottom < top) bottom = top;
        if (right < left) right = left;
        return *this;
    }

    // Inclusive on all four edges.
    constexpr bool pointInside(const CPosition& p) const {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }

    constexpr bool operator==(const CRectangle& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    constexpr bool operator!=(const CRectangle& o) const { return !(*this == o); }
};

// The common part of a and b (see CRectangle::intersect).
constexpr CRectangle intersection(CRectangle a, const CRectangle& b) {
    return a.intersect(b);
}

}  // namespace toolkit
