// Shared fixture of the drawing tests: a clean recording backend, a 40 x 40
// transparent surface and helpers to read what was recorded.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "toolkit/CFontDesc.h"
#include "toolkit/platform/native/RasterBackend.h"

namespace toolkit {

// Readable operation names in failure messages.
inline void PrintTo(RasterBackend::Op op, std::ostream* os) {
    static const char* const names[] = {
        "Startup", "Shutdown", "WindowDeviceContext", "ReleaseWindowDeviceContext",
        "CreateDeviceGraphics", "CreateImageGraphics", "DeleteGraphics", "SetClip", "CreatePen",
        "SetPenWidth", "SetPenColor", "DeletePen", "CreateSolidBrush", "SetBrushColor", "DeleteBrush",
        "DrawLine", "FillRectangle", "DrawRectangle", "CreateFont", "DeleteFont", "MeasureString",
        "FontLineHeight", "SetTextAntialias", "DrawString", "LoadImage", "CreateImage", "DeleteImage",
        "DrawImage"};
    const auto i = static_cast<size_t>(op);
    *os << (i < sizeof(names) / sizeof(names[0]) ? names[i] : "?");
}

class RasterFixture : public ::testing::Test {
protected:
    using Op = RasterBackend::Op;

    // The static fonts keep their platform fonts between tests; they are
    // dropped on both sides so that every test starts and ends balanced.
    void SetUp() override {
        CFontDesc::dropStaticPlatformFonts();
        backend().reset();
        liveAtStart = backend().liveObjects();
    }
    void TearDown() override {
        CFontDesc::dropStaticPlatformFonts();
        EXPECT_EQ(backend().liveObjects(), liveAtStart) << "backend objects leaked";
        backend().reset();
    }

    static RasterBackend& backend() { return RasterBackend::instance(); }

    // The recorded operations, in order, without their arguments.
    static std::vector<Op> ops() {
        std::vector<Op> out;
        for (const auto& c : backend().calls()) out.push_back(c.op);
        return out;
    }

    RasterSurface surface{40, 40};
    int32_t liveAtStart = 0;
};

}  // namespace toolkit
