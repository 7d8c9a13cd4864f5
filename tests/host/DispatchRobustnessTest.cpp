// Odd host input: every opcode 0..100 with edge values of index, value and
// opt, with null and valid pointers, with and without an editor, must never
// crash (the sanitizer build also sees every stray write). Opcodes that
// write or read through ptr answer 0 for a null ptr and reach nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>

#include "tests/host/RecordingHost.h"
#include "tests/host/TestEffect.h"

namespace {

constexpr VstInt32 kIndices[] = {std::numeric_limits<VstInt32>::min(), -1, 0, 1, 2, 3, 14,
                                 std::numeric_limits<VstInt32>::max()};
constexpr VstIntPtr kValues[] = {std::numeric_limits<VstIntPtr>::min(), -1, 0, 1, 2,
                                 std::numeric_limits<VstIntPtr>::max()};
const float kOpts[] = {0.0f, -1.0f, 1.0f, 1e30f, -std::numeric_limits<float>::infinity(),
                       std::numeric_limits<float>::quiet_NaN()};

// The speaker-arrangement query takes value as the address of the input
// place; only a real address or null can be given there.
bool valueIsAPlace(VstInt32 opcode) { return opcode == effGetSpeakerArrangement; }

void sweep(TestEffect& effect) {
    AEffect* e = effect.getEffectRecord();
    alignas(16) char buffer[1024];
    for (VstInt32 opcode = 0; opcode <= 100; ++opcode) {
        if (opcode == effClose) continue;  // ends the effect; tested on its own
        for (VstInt32 index : kIndices)
            for (VstIntPtr value : kValues)
                for (float opt : kOpts)
                    for (bool withPtr : {false, true}) {
                        std::memset(buffer, 0, sizeof buffer);
                        void* ptr = withPtr ? buffer : nullptr;
                        VstIntPtr v = value;
                        if (valueIsAPlace(opcode)) v = withPtr ? reinterpret_cast<VstIntPtr>(buffer + 512) : 0;
                        e->dispatcher(e, opcode, index, v, ptr, opt);
                        effect.reached.clear();
                    }
    }
    EXPECT_EQ(e->magic, kEffectMagic);
    EXPECT_EQ(e->object, static_cast<void*>(static_cast<AudioEffect*>(&effect)));
    EXPECT_EQ(e->dispatcher(e, effGetProgram, 0, 0, nullptr, 0.0f), 0)
        << "no out-of-range program got through";
}

TEST(DispatchRobustness, EveryOpcodeWithEdgeValuesWithoutEditor) {
    RecordingHost host;
    TestEffect effect(RecordingHost::callback);
    sweep(effect);
}

TEST(DispatchRobustness, EveryOpcodeWithEdgeValuesWithEditor) {
    RecordingHost host;
    TestEffect effect(RecordingHost::callback);
    auto* editor = new TestEditor(&effect);
    sweep(effect);
    EXPECT_EQ(effect.getEditor(), editor);
}

TEST(DispatchRobustness, EveryOpcodeWithoutHostCallback) {
    TestEffect effect(nullptr);
    new TestEditor(&effect);
    sweep(effect);
}

TEST(DispatchRobustness, UnknownOpcodesAnswerZeroAndChangeNothing) {
    RecordingHost host;
    TestEffect effect(RecordingHost::callback);
    AEffect* e = effect.getEffectRecord();
    AEffect before;
    std::memcpy(&before, e, sizeof before);
    char buffer[64] = {};
    for (VstInt32 opcode : {9, 16, 17, 18, 20, 21, 28, 30, 31, 32, 36, 37, 43, 46, 53, 54, 55, 57,
                            80, 81, 100, 999, 123456, -1, std::numeric_limits<VstInt32>::min(),
                            std::numeric_limits<VstInt32>::max()}) {
        EXPECT_EQ(e->dispatcher(e, opcode, 1, 1, buffer, 1.0f), 0) << "opcode " << opcode;
        EXPECT_TRUE(effect.reached.empty()) << "opcode " << opcode;
    }
    EXPECT_EQ(std::memcmp(&before, e, sizeof before), 0);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_TRUE(host.calls.empty());
}

TEST(DispatchRobustness, NullPointerWritesNothingAndAnswersZero) {
    TestEffect effect(nullptr);
    auto* editor = new TestEditor(&effect);
    AEffect* e = effect.getEffectRecord();
    // Each of these reads or writes through ptr; the test effect's versions
    // answer non-zero and would write a marker if they were reached.
    const VstInt32 opcodes[] = {effSetProgramName,   effGetProgramName,       effGetParamLabel,
                                effGetParamDisplay,  effGetParamName,         effEditGetRect,
                                effGetChunk,         effSetChunk,             effProcessEvents,
                                effString2Parameter, effGetProgramNameIndexed, effGetInputProperties,
                                effGetOutputProperties, effGetEffectName,     effGetVendorString,
                                effGetProductString, effCanDo,                effGetParameterProperties,
                                effGetMidiProgramName, effGetMidiProgramCategory, effGetMidiKeyName,
                                effShellGetNextPlugin};
    for (VstInt32 opcode : opcodes) {
        EXPECT_EQ(e->dispatcher(e, opcode, 0, 0, nullptr, 0.0f), 0) << "opcode " << opcode;
        EXPECT_TRUE(effect.reached.empty()) << "opcode " << opcode;
        EXPECT_TRUE(editor->reached.empty()) << "opcode " << opcode;
    }
}

TEST(DispatchRobustness, OutOfRangeParameterIndicesReachTheEffectUnchanged) {
    // The dispatcher passes any index on; the effect decides (the test
    // effect ignores those outside its table).
    TestEffect effect(nullptr);
    AEffect* e = effect.getEffectRecord();
    for (VstInt32 index : kIndices) {
        e->setParameter(e, index, 0.9f);
        if (index < 0 || index >= TestEffect::kParams) {
            EXPECT_EQ(e->getParameter(e, index), 0.0f);
        }
    }
    EXPECT_EQ(effect.values[0], 0.9f);
    EXPECT_EQ(effect.values[1], 0.9f);
    EXPECT_EQ(effect.values[2], 0.9f);
}

}  // namespace
