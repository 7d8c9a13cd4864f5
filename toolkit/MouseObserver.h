// MouseObserver: an optional watcher of the mouse traffic a frame routes.
// The frame does not own it; it calls only the four notifications below.
#pragma once

#include "toolkit/CPosition.h"

namespace toolkit {

class CFrame;
class CView;

class MouseObserver {
public:
    virtual ~MouseObserver() = default;
    virtual void onMouseEntered(CView* view, CFrame* frame) = 0;
    virtual void onMouseExited(CView* view, CFrame* frame) = 0;
    // where is in frame coordinates.
    virtual void onMouseMoved(CFrame* frame, const CPosition& where) = 0;
    virtual void onMouseDown(CFrame* frame, const CPosition& where) = 0;
};

}  // namespace toolkit
