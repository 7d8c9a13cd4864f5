// A host callback for tests: records every request and answers from a
// table (0 for opcodes without an entry). One recorder is active at a time,
// because the callback is a plain function.
#pragma once

#include <map>
#include <vector>

#include "host/AEffect.h"

struct HostCall {
    AEffect* effect;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    void* ptr;
    float opt;
};

class RecordingHost {
public:
    RecordingHost() { active() = this; }
    ~RecordingHost() { active() = nullptr; }
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;

    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt) {
        RecordingHost* host = active();
        if (!host) return 0;
        host->calls.push_back({effect, opcode, index, value, ptr, opt});
        auto it = host->answers.find(opcode);
        return it == host->answers.end() ? 0 : it->second;
    }

    std::vector<HostCall> calls;
    std::map<VstInt32, VstIntPtr> answers{{1, 2400}};  // audioMasterVersion

private:
    static RecordingHost*& active() {
        static RecordingHost* host = nullptr;
        return host;
    }
};
