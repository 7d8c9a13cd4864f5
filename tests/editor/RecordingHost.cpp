#include "tests/editor/RecordingHost.h"

#include <cstdio>

#include "toolkit/CDrawContext.h"

namespace editor_test {

RecordingHost* RecordingHost::current = nullptr;

VstIntPtr VSTCALLBACK RecordingHost::callback(AEffect*, VstInt32 opcode, VstInt32 index,
                                              VstIntPtr, void*, float opt) {
    if (opcode == audioMasterVersion) return 2400;
    if (!current) return 0;
    current->requests.push_back({opcode, index, opt});
    if (opcode == audioMasterIdle && current->onIdle) current->onIdle();
    return opcode == audioMasterBeginEdit || opcode == audioMasterEndEdit ? 1 : 0;
}

std::vector<std::string> RecordingHost::lines() const {
    std::vector<std::string> out;
    char text[64];
    for (const HostRequest& r : requests) {
        switch (r.opcode) {
            case audioMasterAutomate:
                std::snprintf(text, sizeof text, "automate %d %.3f", r.index,
                              static_cast<double>(r.value));
                break;
            case audioMasterBeginEdit: std::snprintf(text, sizeof text, "begin-edit %d", r.index); break;
            case audioMasterEndEdit: std::snprintf(text, sizeof text, "end-edit %d", r.index); break;
            case audioMasterIdle: std::snprintf(text, sizeof text, "idle"); break;
            default: std::snprintf(text, sizeof text, "opcode %d %d", r.opcode, r.index); break;
        }
        out.emplace_back(text);
    }
    return out;
}

TestEffect::TestEffect(int32_t numParams)
    : AudioEffectX(&RecordingHost::callback, 1, numParams), values(static_cast<size_t>(numParams)) {}

void TestEffect::setParameter(VstInt32 index, float value) {
    if (index < 0 || index >= static_cast<VstInt32>(values.size())) return;
    values[static_cast<size_t>(index)] = value;
    if (editor) guiEditor()->setParameter(index, value);
}

float TestEffect::getParameter(VstInt32 index) {
    return index >= 0 && index < static_cast<VstInt32>(values.size())
               ? values[static_cast<size_t>(index)]
               : 0.0f;
}

toolkit::CDrawContext* CountingFramePlatform::makeDrawContext() {
    return new toolkit::CDrawContext(getBoundFrame(), nullptr, nullptr);
}

}  // namespace editor_test
