#include "toolkit/GDIPlusGlobals.h"

#include "toolkit/CFontDesc.h"
#include "toolkit/GraphicsBackend.h"

namespace toolkit {

namespace {
GDIPlusGlobals* holder = nullptr;
}  // namespace

GDIPlusGlobals::GDIPlusGlobals() : startupToken(graphicsBackend().startup()) {}

GDIPlusGlobals::~GDIPlusGlobals() {
    if (holder == this) holder = nullptr;
    // Fonts made by the library must go before the library does.
    CFontDesc::dropStaticPlatformFonts();
    graphicsBackend().shutdown(startupToken);
}

GDIPlusGlobals* GDIPlusGlobals::instance() { return holder; }

void acquireGraphicsLibrary() {
    if (holder) {
        holder->retain();
        return;
    }
    holder = new GDIPlusGlobals();
}

void releaseGraphicsLibrary() {
    if (!holder) return;
    GDIPlusGlobals* h = holder;
    const bool last = h->referenceCount() == 1;
    if (last) holder = nullptr;
    h->release();
}

}  // namespace toolkit
