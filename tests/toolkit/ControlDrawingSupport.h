// Drawing side of the control tests (native build only): a surface with a
// drawing context on the recording backend, and a readable digest of the
// calls a control's draw made, one string per visible operation:
//   "image <dx>,<dy> <w>x<h> from <sx>,<sy>"
//   "line <x1>,<y1>-<x2>,<y2> <pen colour>"
//   "fill <x>,<y> <w>x<h>"           (colour: read the pixels)
//   "rect <x>,<y> <w>x<h> <pen colour>"
//   "text <string> <brush colour>"   (positions: textPositions())
//   "clip <left>,<top> <w>x<h>"
// Colours are AARRGGBB in hex. The pen colour is tracked from the context's
// colour changes; the text colour is the brush colour set last before it (a
// context sets its font colour every time it is asked to).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "toolkit/CDrawContext.h"
#include "toolkit/platform/native/RasterBackend.h"

namespace toolkit::testing {

inline std::string hexColour(double argb) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(argb));
    return text;
}

class DrawingFixture {
public:
    DrawingFixture() : surface(300, 200), context(new CDrawContext(nullptr, &surface, nullptr)) {
        startRecording();
    }
    ~DrawingFixture() { context->release(); }
    DrawingFixture(const DrawingFixture&) = delete;
    DrawingFixture& operator=(const DrawingFixture&) = delete;

    // Forgets what was recorded so far.
    void startRecording() {
        RasterBackend::instance().clearCalls();
        penColour = toArgb(context->frameColor());
        brushColour = toArgb(context->fontColor());
    }

    // The digest of everything recorded since startRecording.
    std::vector<std::string> drawn() {
        std::vector<std::string> out;
        auto n = [](double v) { return std::to_string(static_cast<long long>(v)); };
        for (const auto& c : RasterBackend::instance().calls()) {
            const auto& a = c.args;
            switch (c.op) {
                case RasterBackend::Op::SetPenColor:
                    penColour = static_cast<uint32_t>(a[0]);
                    break;
                case RasterBackend::Op::SetBrushColor:
                    brushColour = static_cast<uint32_t>(a[0]);
                    break;
                case RasterBackend::Op::DrawImage:
                    out.push_back("image " + n(a[0]) + "," + n(a[1]) + " " + n(a[2]) + "x" + n(a[3]) +
                                  " from " + n(a[4]) + "," + n(a[5]));
                    break;
                case RasterBackend::Op::DrawLine:
                    out.push_back("line " + n(a[0]) + "," + n(a[1]) + "-" + n(a[2]) + "," + n(a[3]) +
                                  " " + hexColour(penColour));
                    break;
                case RasterBackend::Op::FillRectangle:
                    out.push_back("fill " + n(a[0]) + "," + n(a[1]) + " " + n(a[2]) + "x" + n(a[3]));
                    break;
                case RasterBackend::Op::DrawRectangle:
                    out.push_back("rect " + n(a[0]) + "," + n(a[1]) + " " + n(a[2]) + "x" + n(a[3]) +
                                  " " + hexColour(penColour));
                    break;
                case RasterBackend::Op::DrawString:
                    out.push_back("text " + c.text + " " + hexColour(brushColour));
                    break;
                case RasterBackend::Op::SetClip:
                    out.push_back("clip " + n(a[0]) + "," + n(a[1]) + " " + n(a[2]) + "x" + n(a[3]));
                    break;
                default:
                    break;
            }
        }
        return out;
    }

    // The digest without the clip changes.
    std::vector<std::string> drawnWithoutClips() {
        std::vector<std::string> out;
        for (auto& d : drawn())
            if (d.rfind("clip ", 0) != 0) out.push_back(d);
        return out;
    }

    // Where each text was drawn since startRecording, in order.
    static std::vector<CPosition> textPositions() {
        std::vector<CPosition> out;
        for (const auto& c : RasterBackend::instance().callsOf(RasterBackend::Op::DrawString))
            out.emplace_back(static_cast<int32_t>(c.args[0]), static_cast<int32_t>(c.args[1]));
        return out;
    }

    RasterSurface surface;
    CDrawContext* context;

private:
    uint32_t penColour = 0;
    uint32_t brushColour = 0;
};

}  // namespace toolkit::testing
