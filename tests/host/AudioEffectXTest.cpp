// AudioEffectX: the extended dispatcher (opcodes 25..79) with its default
// answers, the editor key and knob-mode hooks, resume, the extended host
// requests and the speaker-arrangement helpers.
#include "host/AudioEffectX.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <cstring>
#include <functional>
#include <string>

#include "tests/host/RecordingHost.h"
#include "tests/host/TestEffect.h"

namespace {

// An effect that replaces nothing but the audio: every answer is a default.
struct PlainX : AudioEffectX {
    explicit PlainX(audioMasterCallback host = nullptr) : AudioEffectX(host, 1, 4) {}
    void processReplacing(float**, float**, VstInt32) override {}
    float rate() const { return sampleRate; }
    VstInt32 block() const { return blockSize; }
};

VstIntPtr send(AudioEffect& effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
               void* ptr = nullptr, float opt = 0.0f) {
    AEffect* e = effect.getEffectRecord();
    return e->dispatcher(e, opcode, index, value, ptr, opt);
}

TEST(AudioEffectXDispatch, DefaultAnswers) {
    PlainX effect;
    alignas(16) char buffer[512] = {};
    struct Case {
        VstInt32 opcode;
        VstInt32 index;
        VstIntPtr value;
        VstIntPtr expected;
    } const cases[] = {
        {effProcessEvents, 0, 0, 0},
        {effCanBeAutomated, 0, 0, 1},
        {effCanBeAutomated, 3, 0, 1},
        {effCanBeAutomated, 4, 0, 1},  // beyond the parameter count
        {effCanBeAutomated, -7, 0, 1},
        {effString2Parameter, 0, 0, 0},
        {effGetProgramNameIndexed, 0, 0, 0},
        {effGetInputProperties, 0, 0, 0},
        {effGetOutputProperties, 1, 0, 0},
        {effGetPlugCategory, 0, 0, 0},
        {effOfflineNotify, 1, 1, 0},
        {effOfflinePrepare, 0, 1, 0},
        {effOfflineRun, 0, 1, 0},
        {effProcessVarIo, 0, 0, 0},
        {effSetSpeakerArrangement, 0, 0, 0},
        {effSetBypass, 0, 1, 0},
        {effGetEffectName, 0, 0, 0},
        {effGetVendorString, 0, 0, 0},
        {effGetProductString, 0, 0, 0},
        {effGetVendorVersion, 0, 0, 0},
        {effVendorSpecific, 1, 2, 0},
        {effCanDo, 0, 0, 0},
        {effGetTailSize, 0, 0, 0},
        {effGetParameterProperties, 0, 0, 0},
        {effGetVstVersion, 0, 0, 2400},
        {effEditKeyDown, 'a', 0, 0},
        {effEditKeyUp, 'a', 0, 0},
        {effSetEditKnobMode, 0, 2, 0},
        {effGetMidiProgramName, 0, 0, 0},
        {effGetCurrentMidiProgram, 0, 0, -1},
        {effGetMidiProgramCategory, 0, 0, 0},
        {effHasMidiProgramsChanged, 0, 0, 0},
        {effGetMidiKeyName, 0, 0, 0},
        {effBeginSetProgram, 0, 0, 0},
        {effEndSetProgram, 0, 0, 0},
        {effShellGetNextPlugin, 0, 0, 0},
        {effStartProcess, 0, 0, 0},
        {effStopProcess, 0, 0, 0},
        {effSetTotalSampleToProcess, 0, 512, 512},
        {effSetTotalSampleToProcess, 0, 0, 0},
        {effSetPanLaw, 0, 1, 0},
        {effBeginLoadBank, 0, 0, 0},
        {effBeginLoadProgram, 0, 0, 0},
        {effSetProcessPrecision, 0, 1, 0},
        {effGetNumMidiInputChannels, 0, 0, 0},
        {effGetNumMidiOutputChannels, 0, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(send(effect, c.opcode, c.index, c.value, buffer, 0.5f), c.expected)
            << "opcode " << c.opcode;
    // Numbers inside the extended range that it does not answer, and those
    // outside it, go to the basic dispatcher, which answers 0.
    for (VstInt32 opcode : {28, 30, 31, 32, 36, 37, 43, 46, 53, 54, 55, 57, 80, 100})
        EXPECT_EQ(send(effect, opcode, 0, 0, buffer), 0) << "opcode " << opcode;
    // ...and the basic opcodes still work through the extended dispatcher.
    EXPECT_EQ(send(effect, effIdentify), 0x4E764566);
}

TEST(AudioEffectXDispatch, BlockSizeAndRateOpcodeChangesNeither) {
    PlainX effect;
    EXPECT_EQ(send(effect, 43, 0, 4096, nullptr, 22050.0f), 0);
    EXPECT_EQ(effect.rate(), 44100.0f);
    EXPECT_EQ(effect.block(), 1024);
}

TEST(AudioEffectXDispatch, TruthAnswersBecomeOneOrZero) {
    TestEffect effect(nullptr);  // its identity operations answer true
    char text[80] = {};
    EXPECT_EQ(send(effect, effGetEffectName, 0, 0, text), 1);
    EXPECT_STREQ(text, "marker");
    EXPECT_EQ(send(effect, effGetVendorString, 0, 0, text), 1);
    EXPECT_EQ(send(effect, effGetProductString, 0, 0, text), 1);
    char bypass[] = "bypass";
    char other[] = "receiveVstMidiEvent";
    EXPECT_EQ(send(effect, effCanDo, 0, 0, bypass), 1);
    EXPECT_EQ(send(effect, effCanDo, 0, 0, other), 0);
}

TEST(AudioEffectXDispatch, SpeakerArrangementQueryWritesNull) {
    PlainX effect;
    auto* input = reinterpret_cast<VstSpeakerArrangement*>(&effect);
    auto* output = reinterpret_cast<VstSpeakerArrangement*>(&effect);
    EXPECT_EQ(send(effect, effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output), 0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
    output = reinterpret_cast<VstSpeakerArrangement*>(&effect);
    EXPECT_EQ(send(effect, effGetSpeakerArrangement, 0, 0, &output), 0);  // null place skipped
    EXPECT_EQ(output, nullptr);
}

TEST(AudioEffectXEditor, KeyCodesAndKnobMode) {
    TestEffect effect(nullptr);
    auto* editor = new TestEditor(&effect);
    struct Case {
        VstInt32 opcode;
        VstInt32 index;
        VstIntPtr value;
        float opt;
        int32_t character;
        uint8_t virt;
        uint8_t modifier;
    } const cases[] = {
        {effEditKeyDown, 0, 13, 1.0f, 0, 13, 1},
        {effEditKeyUp, 'q', 0x1ff, 2.9f, 'q', 0xff, 2},   // low bytes, cut toward zero
        {effEditKeyDown, -5, -1, 257.0f, -5, 0xff, 1},
        {effEditKeyDown, 0, 2, -1.5f, 0, 2, 0xff},        // -1 in its low byte
        {effEditKeyDown, 0, 2, 1e30f, 0, 2, 0},           // beyond any integer: no modifiers
        {effEditKeyDown, 0, 2, std::numeric_limits<float>::quiet_NaN(), 0, 2, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(send(effect, c.opcode, c.index, c.value, nullptr, c.opt), 1);
        EXPECT_EQ(editor->lastKey.character, c.character);
        EXPECT_EQ(editor->lastKey.virt, c.virt);
        EXPECT_EQ(editor->lastKey.modifier, c.modifier) << "opt " << c.opt;
    }
    EXPECT_EQ(send(effect, effSetEditKnobMode, 0, 2), 1);
    EXPECT_EQ(editor->knobMode, 2);
    editor->answer = false;
    EXPECT_EQ(send(effect, effEditKeyDown, 0, 13, nullptr, 0.0f), 0);
    EXPECT_EQ(send(effect, effEditKeyUp, 0, 13, nullptr, 0.0f), 0);
    EXPECT_EQ(send(effect, effSetEditKnobMode, 0, 1), 0);
    EXPECT_EQ(editor->knobMode, 1);
}

TEST(AudioEffectXResume, AsksForMidiOnlyWhenItCanUseIt) {
    RecordingHost host;
    PlainX plain(RecordingHost::callback);
    EXPECT_EQ(send(plain, effMainsChanged, 0, 1), 0);
    EXPECT_TRUE(host.calls.empty()) << "an effect without MIDI asks nothing";

    plain.setIsSynth(true);
    EXPECT_EQ(send(plain, effGetPlugCategory), kPlugCategSynth);
    send(plain, effMainsChanged, 0, 1);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].opcode, audioMasterWantMidi);
    EXPECT_EQ(host.calls[0].value, 1);
    plain.setIsSynth(false);
    EXPECT_EQ(send(plain, effGetPlugCategory), 0);

    struct MidiEffect : PlainX {
        using PlainX::PlainX;
        VstInt32 canDo(char* text) override {
            return std::strcmp(text, "receiveVstMidiEvent") == 0 ? 1 : 0;
        }
    } midi(RecordingHost::callback);
    host.calls.clear();
    send(midi, effMainsChanged, 0, 1);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].opcode, audioMasterWantMidi);
}

TEST(AudioEffectXFlags, Setters) {
    PlainX effect;
    AEffect* e = effect.getEffectRecord();
    struct Case {
        void (AudioEffectX::*set)(bool);
        VstInt32 flag;
    } const cases[] = {{&AudioEffectX::setIsSynth, effFlagsIsSynth},
                       {&AudioEffectX::setNoSoundInStop, effFlagsNoSoundInStop},
                       {&AudioEffectX::setExtIsAsync, effFlagsExtIsAsync},
                       {&AudioEffectX::setExtHasBuffer, effFlagsExtHasBuffer}};
    for (const auto& c : cases) {
        (effect.*c.set)(true);
        EXPECT_EQ(e->flags, effFlagsCanReplacing | c.flag);
        (effect.*c.set)(false);
        EXPECT_EQ(e->flags, effFlagsCanReplacing);
    }
    effect.setBlockSizeAndSampleRate(64, 8000.0f);
    EXPECT_EQ(effect.block(), 64);
    EXPECT_EQ(effect.rate(), 8000.0f);
}

// Each extended request: what reaches the host, and what comes back for a
// host answer of 5 and without a host.
TEST(AudioEffectXRequests, ArgumentsAndAnswers) {
    char text[] = "text";
    int object = 0;
    void* p = &object;
    struct Case {
        const char* name;
        std::function<VstIntPtr(AudioEffectX&)> call;
        VstInt32 opcode;
        VstInt32 index;
        VstIntPtr value;
        void* ptr;
        float opt;
        VstIntPtr answered;  // result when the host answers 5
    };
    auto ptrResult = [](void* r) { return reinterpret_cast<VstIntPtr>(r); };
    const Case cases[] = {
        {"wantMidi", [](AudioEffectX& x) { return x.hostWantMidi(3); }, audioMasterWantMidi, 0, 3, nullptr, 0, 5},
        {"getTime", [&](AudioEffectX& x) { return ptrResult(x.hostGetTime(7)); }, audioMasterGetTime, 0, 7, nullptr, 0, 5},
        {"tempoAt", [](AudioEffectX& x) { return x.hostTempoAt(99); }, audioMasterTempoAt, 0, 99, nullptr, 0, 5},
        {"numAutomatable", [](AudioEffectX& x) { return x.hostGetNumAutomatableParameters(); }, audioMasterGetNumAutomatableParameters, 0, 0, nullptr, 0, 5},
        {"quantization", [](AudioEffectX& x) { return x.hostGetParameterQuantization(); }, audioMasterGetParameterQuantization, 0, 0, nullptr, 0, 5},
        {"ioChanged", [](AudioEffectX& x) { return VstIntPtr{x.hostIoChanged()}; }, audioMasterIOChanged, 0, 0, nullptr, 0, 1},
        {"needIdle", [](AudioEffectX& x) { return VstIntPtr{x.hostNeedIdle()}; }, audioMasterNeedIdle, 0, 0, nullptr, 0, 1},
        {"sizeWindow", [](AudioEffectX& x) { return VstIntPtr{x.hostSizeWindow(640, 480)}; }, audioMasterSizeWindow, 640, 480, nullptr, 0, 1},
        {"inputLatency", [](AudioEffectX& x) { return VstIntPtr{x.hostGetInputLatency()}; }, audioMasterGetInputLatency, 0, 0, nullptr, 0, 5},
        {"outputLatency", [](AudioEffectX& x) { return VstIntPtr{x.hostGetOutputLatency()}; }, audioMasterGetOutputLatency, 0, 0, nullptr, 0, 5},
        {"previousPlug", [&](AudioEffectX& x) { return ptrResult(x.hostGetPreviousPlug(3)); }, audioMasterGetPreviousPlug, 0, 0, nullptr, 0, 5},
        {"nextPlug", [&](AudioEffectX& x) { return ptrResult(x.hostGetNextPlug(3)); }, audioMasterGetNextPlug, 0, 0, nullptr, 0, 5},
        {"replaceOrAccumulate", [](AudioEffectX& x) { return x.hostWillReplaceOrAccumulate(); }, audioMasterWillReplaceOrAccumulate, 0, 0, nullptr, 0, 5},
        {"processLevel", [](AudioEffectX& x) { return VstIntPtr{x.hostGetCurrentProcessLevel()}; }, audioMasterGetCurrentProcessLevel, 0, 0, nullptr, 0, 5},
        {"automationState", [](AudioEffectX& x) { return VstIntPtr{x.hostGetAutomationState()}; }, audioMasterGetAutomationState, 0, 0, nullptr, 0, 5},
        {"offlineStart", [&](AudioEffectX& x) { return VstIntPtr{x.hostOfflineStart(static_cast<VstAudioFile*>(p), 4, 2)}; }, audioMasterOfflineStart, 2, 4, p, 0, 1},
        {"offlineRead", [&](AudioEffectX& x) { return VstIntPtr{x.hostOfflineRead(static_cast<VstOfflineTask*>(p), 6, true)}; }, audioMasterOfflineRead, 1, 6, p, 0, 1},
        {"offlineWrite", [&](AudioEffectX& x) { return VstIntPtr{x.hostOfflineWrite(static_cast<VstOfflineTask*>(p), 6)}; }, audioMasterOfflineWrite, 0, 6, p, 0, 1},
        {"offlinePass", [](AudioEffectX& x) { return VstIntPtr{x.hostOfflineGetCurrentPass()}; }, audioMasterOfflineGetCurrentPass, 0, 0, nullptr, 0, 1},
        {"offlineMetaPass", [](AudioEffectX& x) { return VstIntPtr{x.hostOfflineGetCurrentMetaPass()}; }, audioMasterOfflineGetCurrentMetaPass, 0, 0, nullptr, 0, 1},
        {"setOutputRate", [](AudioEffectX& x) { return x.hostSetOutputSampleRate(48000.0f); }, audioMasterSetOutputSampleRate, 0, 0, nullptr, 48000.0f, 5},
        {"outputArrangement", [&](AudioEffectX& x) { return ptrResult(x.hostGetOutputSpeakerArrangement()); }, audioMasterGetOutputSpeakerArrangement, 0, 0, nullptr, 0, 5},
        {"inputArrangement", [&](AudioEffectX& x) { return ptrResult(x.hostGetInputSpeakerArrangement()); }, audioMasterGetInputSpeakerArrangement, 0, 0, nullptr, 0, 5},
        {"vendorString", [&](AudioEffectX& x) { return VstIntPtr{x.hostGetVendorString(text)}; }, audioMasterGetVendorString, 0, 0, text, 0, 1},
        {"productString", [&](AudioEffectX& x) { return VstIntPtr{x.hostGetProductString(text)}; }, audioMasterGetProductString, 0, 0, text, 0, 1},
        {"vendorVersion", [](AudioEffectX& x) { return VstIntPtr{x.hostGetVendorVersion()}; }, audioMasterGetVendorVersion, 0, 0, nullptr, 0, 5},
        {"vendorSpecific", [&](AudioEffectX& x) { return x.hostVendorSpecific(1, 2, p, 0.5f); }, audioMasterVendorSpecific, 1, 2, p, 0.5f, 5},
        {"canDo", [&](AudioEffectX& x) { return VstIntPtr{x.hostCanDo(text)}; }, audioMasterCanDo, 0, 0, text, 0, 1},
        {"language", [](AudioEffectX& x) { return VstIntPtr{x.hostGetLanguage()}; }, audioMasterGetLanguage, 0, 0, nullptr, 0, 5},
        {"openWindow", [&](AudioEffectX& x) { return x.hostOpenWindow(static_cast<VstWindow*>(p)); }, audioMasterOpenWindow, 0, 0, p, 0, 5},
        {"closeWindow", [&](AudioEffectX& x) { return VstIntPtr{x.hostCloseWindow(static_cast<VstWindow*>(p))}; }, audioMasterCloseWindow, 0, 0, p, 0, 1},
        {"directory", [&](AudioEffectX& x) { return ptrResult(x.hostGetDirectory()); }, audioMasterGetDirectory, 0, 0, nullptr, 0, 5},
        {"updateDisplay", [](AudioEffectX& x) { return VstIntPtr{x.hostUpdateDisplay()}; }, audioMasterUpdateDisplay, 0, 0, nullptr, 0, 1},
        {"beginEdit", [](AudioEffectX& x) { return VstIntPtr{x.beginEdit(4)}; }, audioMasterBeginEdit, 4, 0, nullptr, 0, 1},
        {"endEdit", [](AudioEffectX& x) { return VstIntPtr{x.endEdit(4)}; }, audioMasterEndEdit, 4, 0, nullptr, 0, 1},
        {"openFileSelector", [&](AudioEffectX& x) { return VstIntPtr{x.hostOpenFileSelector(static_cast<VstFileSelect*>(p))}; }, audioMasterOpenFileSelector, 0, 0, p, 0, 1},
        {"closeFileSelector", [&](AudioEffectX& x) { return VstIntPtr{x.hostCloseFileSelector(static_cast<VstFileSelect*>(p))}; }, audioMasterCloseFileSelector, 0, 0, p, 0, 1},
        {"chunkFile", [&](AudioEffectX& x) { return VstIntPtr{x.hostGetChunkFile(p)}; }, audioMasterGetChunkFile, 0, 0, p, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingHost host;
        host.answers[c.opcode] = 5;
        PlainX effect(RecordingHost::callback);
        EXPECT_EQ(c.call(effect), c.answered);
        ASSERT_EQ(host.calls.size(), 1u);
        const HostCall& call = host.calls[0];
        EXPECT_EQ(call.effect, effect.getEffectRecord());
        EXPECT_EQ(call.opcode, c.opcode);
        EXPECT_EQ(call.index, c.index);
        EXPECT_EQ(call.value, c.value);
        EXPECT_EQ(call.ptr, c.ptr);
        EXPECT_EQ(call.opt, c.opt);

        host.answers[c.opcode] = 0;
        EXPECT_EQ(c.call(effect), 0) << "a host answer of 0";

        PlainX alone(nullptr);
        EXPECT_EQ(c.call(alone), 0) << "no host";
    }
}

TEST(AudioEffectXRequests, NullSelectorsAndPathsAskNothing) {
    RecordingHost host;
    host.answers[audioMasterOpenFileSelector] = 1;
    PlainX effect(RecordingHost::callback);
    EXPECT_FALSE(effect.hostOpenFileSelector(nullptr));
    EXPECT_FALSE(effect.hostCloseFileSelector(nullptr));
    EXPECT_FALSE(effect.hostGetChunkFile(nullptr));
    EXPECT_TRUE(host.calls.empty());
}

TEST(AudioEffectXRequests, SampleRateAndBlockSizeKeepOnlyPositiveAnswers) {
    RecordingHost host;
    PlainX effect(RecordingHost::callback);
    struct Case {
        VstIntPtr answer;
        float rate;
        VstInt32 block;
    } const cases[] = {{48000, 48000.0f, 48000}, {0, 48000.0f, 48000}, {-1, 48000.0f, 48000},
                       {96000, 96000.0f, 96000}};
    for (const auto& c : cases) {
        host.answers[audioMasterGetSampleRate] = c.answer;
        host.answers[audioMasterGetBlockSize] = c.answer;
        EXPECT_EQ(effect.hostGetSampleRate(), c.rate) << "answer " << c.answer;
        EXPECT_EQ(effect.rate(), c.rate);
        EXPECT_EQ(effect.hostGetBlockSize(), c.block);
        EXPECT_EQ(effect.block(), c.block);
    }
    PlainX alone(nullptr);
    EXPECT_EQ(alone.hostGetSampleRate(), 44100.0f);
    EXPECT_EQ(alone.hostGetBlockSize(), 1024);
}

// --- speaker arrangements ------------------------------------------------

VstSpeakerProperties* speaker(VstSpeakerArrangement* a, int i) { return a->speakers + i; }

TEST(SpeakerArrangement, AllocateAndDeallocate) {
    PlainX effect;
    VstSpeakerArrangement* a = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&a, 3));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->type, 0);
    EXPECT_EQ(a->numChannels, 3);
    const auto* bytes = reinterpret_cast<const unsigned char*>(a);
    for (size_t i = 8; i < speakerArrangementBytes(3); ++i) ASSERT_EQ(bytes[i], 0) << i;
    // A second allocation frees the first (the sanitizer build sees a leak
    // otherwise).
    ASSERT_TRUE(effect.allocateArrangement(&a, 0));
    EXPECT_EQ(a->numChannels, 0);
    EXPECT_TRUE(effect.deallocateArrangement(&a));
    EXPECT_EQ(a, nullptr);
    EXPECT_TRUE(effect.deallocateArrangement(&a));
    EXPECT_TRUE(effect.deallocateArrangement(nullptr));

    EXPECT_FALSE(effect.allocateArrangement(nullptr, 2));
    EXPECT_FALSE(effect.allocateArrangement(&a, -1));
    EXPECT_EQ(a, nullptr);
    EXPECT_FALSE(effect.allocateArrangement(&a, 1 << 30)) << "refused, not overflowed";
    EXPECT_EQ(a, nullptr);
}

TEST(SpeakerArrangement, CopySpeakerCutsTheName) {
    PlainX effect;
    VstSpeakerProperties from, to;
    std::memset(&from, 'n', sizeof from);
    std::memset(&to, 0, sizeof to);
    from.azimuth = 0.5f;
    from.elevation = -0.25f;
    from.radius = 2.0f;
    from.reserved = 3.0f;
    from.type = 7;
    EXPECT_TRUE(effect.copySpeaker(&to, &from));
    EXPECT_EQ(std::strlen(to.name), 63u);
    EXPECT_EQ(to.name[63], '\0');
    EXPECT_EQ(to.azimuth, 0.5f);
    EXPECT_EQ(to.elevation, -0.25f);
    EXPECT_EQ(to.radius, 2.0f);
    EXPECT_EQ(to.reserved, 3.0f);
    EXPECT_EQ(to.type, 7);
    EXPECT_EQ(std::memcmp(to.future, from.future, sizeof to.future), 0);
    EXPECT_FALSE(effect.copySpeaker(nullptr, &from));
    EXPECT_FALSE(effect.copySpeaker(&to, nullptr));
}

TEST(SpeakerArrangement, MatchCopiesTypeAndEverySpeaker) {
    PlainX effect;
    VstSpeakerArrangement* from = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&from, 5));
    from->type = 9;
    for (int i = 0; i < 5; ++i) {
        std::snprintf(speaker(from, i)->name, kSpeakerNameLength, "speaker %d", i);
        speaker(from, i)->type = i + 1;
    }
    VstSpeakerArrangement* to = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&to, 1));  // replaced by the match
    ASSERT_TRUE(effect.matchArrangement(&to, from));
    EXPECT_EQ(to->type, 9);
    EXPECT_EQ(to->numChannels, 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_STREQ(speaker(to, i)->name, speaker(from, i)->name);
        EXPECT_EQ(speaker(to, i)->type, i + 1);
    }
    EXPECT_FALSE(effect.matchArrangement(&to, nullptr));
    EXPECT_TRUE(effect.matchArrangement(&to, to)) << "matching itself keeps it";
    EXPECT_EQ(to->numChannels, 5);
    EXPECT_FALSE(effect.matchArrangement(nullptr, from));
    from->numChannels = -3;
    EXPECT_FALSE(effect.matchArrangement(&to, from));
    EXPECT_EQ(to, nullptr);
    from->numChannels = 5;
    effect.deallocateArrangement(&from);
    effect.deallocateArrangement(&to);
}

}  // namespace
