// AudioEffect: the record it fills, the record's entries, the basic
// dispatcher (opcodes 0..24), the editor hooks and the basic host requests.
#include "host/AudioEffect.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/host/RecordingHost.h"
#include "tests/host/TestEffect.h"

namespace {

VstIntPtr send(AEffect* e, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
               void* ptr = nullptr, float opt = 0.0f) {
    return e->dispatcher(e, opcode, index, value, ptr, opt);
}

TEST(AudioEffectRecord, FilledByTheConstructor) {
    RecordingHost host;
    TestEffect effect(RecordingHost::callback);
    AEffect* e = effect.getEffectRecord();
    EXPECT_EQ(e->magic, 0x56737450);
    EXPECT_NE(e->dispatcher, nullptr);
    EXPECT_NE(e->process, nullptr);
    EXPECT_NE(e->setParameter, nullptr);
    EXPECT_NE(e->getParameter, nullptr);
    EXPECT_NE(e->processReplacing, nullptr);
    EXPECT_NE(e->processDoubleReplacing, nullptr);
    EXPECT_EQ(e->numPrograms, 1);
    EXPECT_EQ(e->numParams, TestEffect::kParams);
    EXPECT_EQ(e->numInputs, 1);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, effFlagsCanReplacing);
    EXPECT_EQ(e->resvd1, 0);
    EXPECT_EQ(e->resvd2, 0);
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_EQ(e->realQualities, 0);
    EXPECT_EQ(e->offQualities, 0);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->object, static_cast<void*>(static_cast<AudioEffect*>(&effect)));
    EXPECT_EQ(e->user, nullptr);
    EXPECT_EQ(e->uniqueID, 0x4E6F4566);  // 'NoEf'
    EXPECT_EQ(e->version, 1);
    for (char c : e->future) EXPECT_EQ(c, 0);
    EXPECT_EQ(effect.rate(), 44100.0f);
    EXPECT_EQ(effect.block(), 1024);
    EXPECT_EQ(effect.getEditor(), nullptr);
    EXPECT_TRUE(host.calls.empty()) << "construction asks nothing of the host";
}

TEST(AudioEffectRecord, FlagAndFieldSetters) {
    TestEffect effect(nullptr);
    AEffect* e = effect.getEffectRecord();
    struct Case {
        const char* name;
        void (AudioEffect::*set)(bool);
        VstInt32 flag;
    } const cases[] = {
        {"replacing", &AudioEffect::setCanReplacing, effFlagsCanReplacing},
        {"double", &AudioEffect::setCanDoubleReplacing, effFlagsCanDoubleReplacing},
        {"chunks", &AudioEffect::setProgramChunks, effFlagsProgramChunks},
        {"vu", &AudioEffect::setHasVu, effFlagsHasVu},
        {"clip", &AudioEffect::setHasClip, effFlagsHasClip},
        {"mono", &AudioEffect::setCanMono, effFlagsCanMono},
    };
    for (const auto& c : cases) {
        const VstInt32 before = e->flags;
        (effect.*c.set)(true);
        EXPECT_EQ(e->flags, before | c.flag) << c.name;
        (effect.*c.set)(false);
        EXPECT_EQ(e->flags, before & ~c.flag) << c.name;
    }
    effect.setUniqueId(0x4B235433);
    effect.setNumInputs(2);
    effect.setNumOutputs(4);
    effect.setInitialDelay(64);
    effect.setRealtimeQualities(3);
    effect.setOfflineQualities(5);
    EXPECT_EQ(e->uniqueID, 0x4B235433);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 4);
    EXPECT_EQ(e->initialDelay, 64);
    EXPECT_EQ(e->realQualities, 3);
    EXPECT_EQ(e->offQualities, 5);
}

TEST(AudioEffectEntries, ForwardToTheObject) {
    TestEffect effect(nullptr);
    AEffect* e = effect.getEffectRecord();
    e->setParameter(e, 1, 0.125f);
    EXPECT_EQ(effect.values[1], 0.125f);
    EXPECT_EQ(e->getParameter(e, 1), 0.125f);
    EXPECT_EQ(e->getParameter(e, 99), 0.0f);

    float left[4] = {1, 2, 3, 4}, right[4] = {5, 6, 7, 8};
    float* io[2] = {left, right};
    e->processReplacing(e, io, io, 4);  // in place
    EXPECT_EQ(effect.processed, 1);
    EXPECT_EQ(left[3], 8.0f);
    EXPECT_EQ(right[0], 10.0f);

    // The accumulating entry reaches the base's process, which leaves the
    // buffers alone; so does the double entry.
    e->process(e, io, io, 4);
    EXPECT_EQ(left[3], 8.0f);
    double dl[2] = {1, 2}, dr[2] = {3, 4};
    double* dio[2] = {dl, dr};
    e->processDoubleReplacing(e, dio, dio, 2);
    EXPECT_EQ(dl[1], 2.0);

    // Blocks without buffers or frames never reach the effect.
    e->processReplacing(e, nullptr, io, 4);
    e->processReplacing(e, io, nullptr, 4);
    e->processReplacing(e, io, io, 0);
    e->processReplacing(e, io, io, -5);
    EXPECT_EQ(effect.processed, 1);
}

TEST(AudioEffectEntries, NullRecordOrObjectDoesNothing) {
    TestEffect effect(nullptr);
    AEffect* e = effect.getEffectRecord();
    EXPECT_EQ(e->dispatcher(nullptr, effIdentify, 0, 0, nullptr, 0.0f), 0);
    e->setParameter(nullptr, 0, 1.0f);
    EXPECT_EQ(e->getParameter(nullptr, 0), 0.0f);
    e->processReplacing(nullptr, nullptr, nullptr, 16);
    AEffect blank;
    std::memset(&blank, 0, sizeof blank);
    EXPECT_EQ(e->dispatcher(&blank, effIdentify, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(e->getParameter(&blank, 0), 0.0f);
    EXPECT_EQ(effect.values[0], 0.25f);
}

TEST(AudioEffectDispatch, BasicOpcodes) {
    TestEffect effect(nullptr);
    AEffect* e = effect.getEffectRecord();

    EXPECT_EQ(send(e, effOpen), 0);
    EXPECT_TRUE(effect.reachedOp("open"));
    EXPECT_EQ(send(e, effIdentify), 0x4E764566);  // 'NvEf'
    EXPECT_EQ(send(e, effGetProgram), 0);

    EXPECT_EQ(send(e, effSetSampleRate, 0, 0, nullptr, 96000.0f), 0);
    EXPECT_EQ(effect.rate(), 96000.0f);
    EXPECT_EQ(send(e, effSetBlockSize, 0, 256), 0);
    EXPECT_EQ(effect.block(), 256);

    struct Mains {
        VstIntPtr value;
        const char* op;
    } const mains[] = {{0, "suspend"}, {1, "resume"}, {2, "resume"}, {-1, "resume"}};
    for (const auto& m : mains) {
        effect.reached.clear();
        EXPECT_EQ(send(e, effMainsChanged, 0, m.value), 0);
        EXPECT_TRUE(effect.reachedOp(m.op)) << "value " << m.value;
    }

    struct Text {
        VstInt32 opcode;
        const char* op;
    } const texts[] = {{effSetProgramName, "setProgramName"},
                       {effGetProgramName, "getProgramName"},
                       {effGetParamLabel, "getParameterLabel"},
                       {effGetParamDisplay, "getParameterDisplay"},
                       {effGetParamName, "getParameterName"}};
    for (const auto& t : texts) {
        char text[32] = {};
        EXPECT_EQ(send(e, t.opcode, 1, 0, text), 0) << t.op;
        EXPECT_STREQ(text, "marker") << t.op;
    }

    void* chunk = &effect;
    EXPECT_EQ(send(e, effGetChunk, 0, 0, &chunk), 7);
    EXPECT_EQ(chunk, nullptr);
    char data[4] = {};
    EXPECT_EQ(send(e, effSetChunk, 1, 4, data), 7);
    EXPECT_EQ(data[0], 'X');
}

TEST(AudioEffectDispatch, ProgramIndexOutOfRangeIsIgnored) {
    TestEffect effect(nullptr);
    AEffect* e = effect.getEffectRecord();
    for (VstIntPtr value : {VstIntPtr{1}, VstIntPtr{-1}, VstIntPtr{2}, VstIntPtr{1000000}}) {
        effect.reached.clear();
        EXPECT_EQ(send(e, effSetProgram, 0, value), 0);
        EXPECT_FALSE(effect.reachedOp("setProgram")) << "value " << value;
        EXPECT_EQ(send(e, effGetProgram), 0);
    }
    EXPECT_EQ(send(e, effSetProgram, 0, 0), 0);
    EXPECT_TRUE(effect.reachedOp("setProgram"));
}

TEST(AudioEffectDispatch, BaseDefaultsOfAPlainEffect) {
    // An effect that replaces nothing but the audio: the base answers.
    struct Plain : AudioEffect {
        Plain() : AudioEffect(nullptr, 1, 2) {}
        void processReplacing(float**, float**, VstInt32) override {}
    } plain;
    AEffect* e = plain.getEffectRecord();
    char text[32];
    for (VstInt32 opcode : {effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName}) {
        std::memset(text, 'x', sizeof text);
        EXPECT_EQ(send(e, opcode, 0, 0, text), 0);
        EXPECT_STREQ(text, "") << "opcode " << opcode;
    }
    void* chunk = &plain;
    EXPECT_EQ(send(e, effGetChunk, 0, 0, &chunk), 0);
    EXPECT_EQ(chunk, &plain) << "no chunk: the host's pointer stays as it was";
    EXPECT_EQ(send(e, effSetChunk, 0, 4, text), 0);
    // Opcodes without an answer, and everything the basic table does not
    // list (the extended opcodes among them).
    for (VstInt32 opcode : {9, 16, 17, 18, 20, 21, 25, 45, 58, 79, 100, 999, -1})
        EXPECT_EQ(send(e, opcode), 0) << "opcode " << opcode;
}

TEST(AudioEffectEditor, HooksWithAndWithoutEditor) {
    TestEffect effect(nullptr);
    AEffect* e = effect.getEffectRecord();
    ERect* rect = nullptr;
    int window = 0;
    EXPECT_EQ(send(e, effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(send(e, effEditOpen, 0, 0, &window), 0);
    EXPECT_EQ(send(e, effEditClose), 0);
    EXPECT_EQ(send(e, effEditIdle), 0);
    EXPECT_EQ(e->flags & effFlagsHasEditor, 0);

    auto* editor = new TestEditor(&effect);
    EXPECT_EQ(effect.getEditor(), editor);
    EXPECT_EQ(e->flags, effFlagsCanReplacing | effFlagsHasEditor);  // 0x11
    EXPECT_EQ(send(e, effEditGetRect, 0, 0, &rect), 1);
    ASSERT_EQ(rect, &editor->rect);
    EXPECT_EQ(rect->right, 300);
    EXPECT_EQ(send(e, effEditOpen, 0, 0, &window), 1);
    EXPECT_TRUE(editor->isOpen());
    EXPECT_EQ(send(e, effEditIdle), 0);
    EXPECT_EQ(send(e, effEditClose), 0);
    editor->answer = false;
    EXPECT_EQ(send(e, effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(send(e, effEditOpen, 0, 0, &window), 0);
    const std::vector<std::string> expected = {"getRect", "open", "idle", "close", "getRect", "open"};
    EXPECT_EQ(editor->reached, expected);
}

TEST(AudioEffectClose, DestroysTheEffectAndItsEditorAndAnswersOne) {
    bool effectGone = false, editorGone = false;
    auto* effect = new TestEffect(nullptr, &effectGone);
    new TestEditor(effect, &editorGone);
    AEffect* e = effect->getEffectRecord();
    EXPECT_EQ(send(e, effClose), 1);
    EXPECT_TRUE(effectGone);
    EXPECT_TRUE(editorGone);
}

TEST(AudioEffectClose, DispatchAloneOnlyCloses) {
    // Only the record's entry destroys; the operation itself answers 0.
    bool gone = false;
    TestEffect effect(nullptr, &gone);
    EXPECT_EQ(effect.dispatch(effClose, 0, 0, nullptr, 0.0f), 0);
    EXPECT_TRUE(effect.reachedOp("close"));
    EXPECT_FALSE(gone);
}

TEST(AudioEffectRequests, WithHostCallback) {
    RecordingHost host;
    TestEffect effect(RecordingHost::callback);
    AEffect* record = effect.getEffectRecord();

    effect.setParameterAutomated(2, 0.375f);
    EXPECT_EQ(effect.values[2], 0.375f);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].effect, record);
    EXPECT_EQ(host.calls[0].opcode, audioMasterAutomate);
    EXPECT_EQ(host.calls[0].index, 2);
    EXPECT_EQ(host.calls[0].value, 0);
    EXPECT_EQ(host.calls[0].ptr, nullptr);
    EXPECT_EQ(host.calls[0].opt, 0.375f);

    EXPECT_EQ(effect.hostVersion(), 2400);
    host.answers[audioMasterVersion] = 0;
    EXPECT_EQ(effect.hostVersion(), 1) << "a host answering 0 counts as version 1";
    host.answers[audioMasterCurrentId] = 77;
    EXPECT_EQ(effect.hostCurrentId(), 77);
    host.answers[audioMasterIdle] = 5;
    EXPECT_EQ(effect.hostIdle(), 5);

    host.calls.clear();
    EXPECT_TRUE(effect.isInputConnected(1));
    EXPECT_TRUE(effect.isOutputConnected(0));
    host.answers[audioMasterPinConnected] = 1;
    EXPECT_FALSE(effect.isInputConnected(1));
    EXPECT_FALSE(effect.isOutputConnected(0));
    ASSERT_EQ(host.calls.size(), 4u);
    EXPECT_EQ(host.calls[0].index, 1);
    EXPECT_EQ(host.calls[0].value, 0) << "input pins are asked with value 0";
    EXPECT_EQ(host.calls[1].index, 0);
    EXPECT_EQ(host.calls[1].value, 1) << "output pins are asked with value 1";
    for (const auto& call : host.calls) {
        EXPECT_EQ(call.effect, record);
        EXPECT_EQ(call.opcode, audioMasterPinConnected);
        EXPECT_EQ(call.opt, 0.0f);
    }
}

TEST(AudioEffectRequests, WithoutHostCallback) {
    TestEffect effect(nullptr);
    effect.setParameterAutomated(0, 0.5f);
    EXPECT_EQ(effect.values[0], 0.5f) << "the parameter is still set";
    EXPECT_EQ(effect.hostVersion(), 1);
    EXPECT_EQ(effect.hostCurrentId(), 0);
    EXPECT_EQ(effect.hostIdle(), 0);
    EXPECT_TRUE(effect.isInputConnected(0));
    EXPECT_TRUE(effect.isOutputConnected(1));
}

}  // namespace
