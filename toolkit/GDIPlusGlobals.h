// Keeps the graphics library running from the first bitmap or frame to the
// last. Every CBitmap and CFrame constructor calls acquireGraphicsLibrary()
// and its destructor releaseGraphicsLibrary().
//
// acquire: retains the one process-wide holder, or creates it (count 1) and
// starts the library. release: drops one reference; the last one destroys
// the holder, which first drops the platform fonts cached by the static font
// descriptors and then shuts the library down. A release without a holder
// does nothing, so an unbalanced release never shuts down twice.
#pragma once

#include <cstdint>

#include "toolkit/CBaseObject.h"

namespace toolkit {

class GDIPlusGlobals : public CBaseObject {
public:
    ~GDIPlusGlobals() override;

    // The process-wide holder; null while the library is not running.
    static GDIPlusGlobals* instance();
    uintptr_t token() const { return startupToken; }

private:
    friend void acquireGraphicsLibrary();
    GDIPlusGlobals();
    uintptr_t startupToken = 0;
};

void acquireGraphicsLibrary();
void releaseGraphicsLibrary();

}  // namespace toolkit
