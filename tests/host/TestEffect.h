// A small effect and editor for the host-layer tests. The effect keeps three
// parameters and counts the operations the dispatchers reach; the editor
// records what the effect asks of it and answers as configured.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "editor/AEffEditor.h"
#include "host/AudioEffectX.h"

class TestEffect : public AudioEffectX {
public:
    static constexpr VstInt32 kParams = 3;

    explicit TestEffect(audioMasterCallback host, bool* destroyed = nullptr)
        : AudioEffectX(host, 1, kParams), destroyed(destroyed) {}
    ~TestEffect() override {
        if (destroyed) *destroyed = true;
    }

    void open() override { reached.push_back("open"); }
    void close() override { reached.push_back("close"); }
    void suspend() override { reached.push_back("suspend"); }
    void resume() override {
        reached.push_back("resume");
        AudioEffectX::resume();
    }
    void setProgram(VstInt32 program) override {
        reached.push_back("setProgram");
        AudioEffectX::setProgram(program);
    }
    void processReplacing(float** inputs, float** outputs, VstInt32 frames) override {
        ++processed;
        for (int c = 0; c < 2; ++c)
            for (VstInt32 i = 0; i < frames; ++i) outputs[c][i] = 2.0f * inputs[c][i];
    }
    void setParameter(VstInt32 index, float value) override {
        reached.push_back("setParameter");
        if (index >= 0 && index < kParams) values[index] = value;
    }
    float getParameter(VstInt32 index) override {
        return index >= 0 && index < kParams ? values[index] : 0.0f;
    }

    // Text operations record that they were reached and write a marker, so
    // a test can tell that a null buffer never got this far.
    void setProgramName(char* name) override { mark("setProgramName", name); }
    void getProgramName(char* name) override { mark("getProgramName", name); }
    void getParameterLabel(VstInt32, char* text) override { mark("getParameterLabel", text); }
    void getParameterDisplay(VstInt32, char* text) override { mark("getParameterDisplay", text); }
    void getParameterName(VstInt32, char* text) override { mark("getParameterName", text); }
    VstInt32 getChunk(void** data, bool) override {
        reached.push_back("getChunk");
        *data = nullptr;
        return 7;
    }
    VstInt32 setChunk(void* data, VstInt32, bool) override {
        reached.push_back("setChunk");
        *static_cast<char*>(data) = 'X';
        return 7;
    }
    bool stringToParameter(VstInt32, char* text) override { return markTrue("stringToParameter", text); }
    bool getProgramNameIndexed(VstInt32, VstInt32, char* text) override {
        return markTrue("getProgramNameIndexed", text);
    }
    bool getEffectName(char* text) override { return markTrue("getEffectName", text); }
    bool getVendorString(char* text) override { return markTrue("getVendorString", text); }
    bool getProductString(char* text) override { return markTrue("getProductString", text); }
    VstInt32 canDo(char* text) override {
        reached.push_back("canDo");
        return std::strcmp(text, "bypass") == 0 ? 1 : 0;
    }
    VstInt32 shellGetNextPlugin(char* text) override { return markTrue("shellGetNextPlugin", text); }
    VstInt32 processEvents(VstEvents* events) override {
        return markTrue("processEvents", reinterpret_cast<char*>(events));
    }
    bool getInputProperties(VstInt32, VstPinProperties* p) override {
        return markTrue("getInputProperties", reinterpret_cast<char*>(p));
    }
    bool getOutputProperties(VstInt32, VstPinProperties* p) override {
        return markTrue("getOutputProperties", reinterpret_cast<char*>(p));
    }
    bool getParameterProperties(VstInt32, VstParameterProperties* p) override {
        return markTrue("getParameterProperties", reinterpret_cast<char*>(p));
    }
    VstInt32 getMidiProgramName(VstInt32, MidiProgramName* p) override {
        return markTrue("getMidiProgramName", reinterpret_cast<char*>(p));
    }
    VstInt32 getMidiProgramCategory(VstInt32, MidiProgramCategory* p) override {
        return markTrue("getMidiProgramCategory", reinterpret_cast<char*>(p));
    }
    bool getMidiKeyName(VstInt32, MidiKeyName* p) override {
        return markTrue("getMidiKeyName", reinterpret_cast<char*>(p));
    }

    bool reachedOp(const std::string& name) const {
        for (const auto& r : reached)
            if (r == name) return true;
        return false;
    }

    // Expose the protected state the tests check.
    float rate() const { return sampleRate; }
    VstInt32 block() const { return blockSize; }
    using AudioEffect::setFlag;

    std::vector<std::string> reached;
    float values[kParams] = {0.25f, 0.5f, 0.75f};
    int processed = 0;

private:
    void mark(const char* op, char* text) {
        reached.push_back(op);
        std::strcpy(text, "marker");
    }
    bool markTrue(const char* op, char* text) {
        mark(op, text);
        return true;
    }
    bool* destroyed;
};

class TestEditor : public AEffEditor {
public:
    explicit TestEditor(AudioEffect* effect, bool* destroyed = nullptr)
        : AEffEditor(effect), destroyed(destroyed) {
        effect->setEditor(this);
        rect.right = 300;
        rect.bottom = 200;
    }
    ~TestEditor() override {
        if (destroyed) *destroyed = true;
    }

    bool getRect(ERect** out) override {
        reached.push_back("getRect");
        *out = &rect;
        return answer;
    }
    bool open(void* window) override {
        reached.push_back("open");
        AEffEditor::open(window);
        return answer;
    }
    void close() override { reached.push_back("close"); }
    void idle() override { reached.push_back("idle"); }
    bool onKeyDown(toolkit::VstKeyCode& key) override {
        reached.push_back("onKeyDown");
        lastKey = key;
        return answer;
    }
    bool onKeyUp(toolkit::VstKeyCode& key) override {
        reached.push_back("onKeyUp");
        lastKey = key;
        return answer;
    }
    bool setKnobMode(int32_t mode) override {
        reached.push_back("setKnobMode");
        knobMode = mode;
        return answer;
    }

    ERect rect;
    bool answer = true;
    toolkit::VstKeyCode lastKey;
    int32_t knobMode = -100;
    std::vector<std::string> reached;

private:
    bool* destroyed;
};
