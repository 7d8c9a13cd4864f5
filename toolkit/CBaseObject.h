// Base of every reference-counted toolkit object (views, bitmaps, drawing
// contexts, fonts, drag payloads, the graphics-library holder).
//
// The creator holds the first reference (count 1 at construction). retain()
// adds one; release() removes one, and the release that finds the count at 1
// destroys the object through its virtual destructor, exactly once. The count
// never goes below zero: a release arriving while the object is already being
// destroyed (count 0, e.g. from inside a destructor chain) does nothing.
// A copy starts with its own count of 1. No locking: counts change only on
// the user-interface thread.
#pragma once

#include <cstdint>

namespace toolkit {

class CBaseObject {
public:
    CBaseObject() = default;
    CBaseObject(const CBaseObject&) : refCount(1) {}
    CBaseObject& operator=(const CBaseObject&) { return *this; }

    virtual ~CBaseObject();
    virtual void release();
    virtual void retain();
    // Answers 0 for every message; subclasses answer the messages they know.
    virtual int32_t notify(CBaseObject* sender, const char* message);

    int32_t referenceCount() const { return refCount; }

protected:
    int32_t refCount = 1;
};

}  // namespace toolkit
