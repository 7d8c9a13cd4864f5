#include "toolkit/CBaseObject.h"

namespace toolkit {

CBaseObject::~CBaseObject() = default;

void CBaseObject::release() {
    if (refCount <= 0) return;  // already being destroyed
    if (refCount == 1) {
        refCount = 0;
        delete this;
        return;
    }
    --refCount;
}

void CBaseObject::retain() {
    if (refCount <= 0) return;  // being destroyed: cannot be revived
    ++refCount;
}

int32_t CBaseObject::notify(CBaseObject*, const char*) { return 0; }

}  // namespace toolkit
