// Holds one reference on a view for the length of a scope, so that a view
// that removes itself (or is removed) while it handles an event stays alive
// until the routing code that called it has finished with it.
#pragma once

#include "toolkit/CBaseObject.h"

namespace toolkit {

class ViewGuard {
public:
    explicit ViewGuard(CBaseObject* object) : held(object) {
        if (held) held->retain();
    }
    ~ViewGuard() {
        if (held) held->release();
    }
    ViewGuard(const ViewGuard&) = delete;
    ViewGuard& operator=(const ViewGuard&) = delete;

private:
    CBaseObject* held;
};

}  // namespace toolkit
