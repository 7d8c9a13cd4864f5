// KvEffect as a host sees it, in both editions: identity, parameter table,
// names and displays, programs and stored state.
#include "effect/EditionFactory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "host/Opcodes.h"
#include "tests/effect/EffectTestSupport.h"

using namespace effect_test;

namespace {

struct Table {
    const EditionCase& edition;
    const char* name;
    VstInt32 uniqueId;
    std::vector<std::pair<std::string, std::string>> parameters;  // name, display
};

const Table kTables[] = {
    {kVesk,
     "Tovra Vesk",
     0x4B235433,
     {{"First Lv", "1.000000"},
      {"PreDelay", "0.000000"},
      {"Decay", "0.500000"},
      {"LowPass", "1.000000"},
      {"HighPass", "0.000000"},
      {"SecondLv", "1.000000"},
      {"PreDelay", "0.000000"},
      {"Decay", "0.500000"},
      {"LowPass", "1.000000"},
      {"HighPass", "0.000000"},
      {"Pan 1", "0.500000"},
      {"Pan 2", "0.500000"},
      {"Stereo", "0.000000"},
      {"Mix", "0.500000"}}},
    {kBrin,
     "Tovra Brin",
     0x4B235432,
     {{"PreDelay", "0.000000"},
      {"Decay", "0.500000"},
      {"LowPass", "1.000000"},
      {"HighPass", "0.000000"},
      {"Level", "0.500000"},
      {"Mix", "0.500000"}}},
};

VstIntPtr dispatch(AEffect* e, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f) {
    return e->dispatcher(e, opcode, index, value, ptr, opt);
}

// Host text buffers, filled with a marker so that we see what was written.
struct Text {
    char c[80];
    Text() { std::memset(c, '#', sizeof c); }
    std::string str() const { return std::string(c); }
};

TEST(KvEffect, IdentityAsTheHostSeesIt) {
    for (const Table& t : kTables) {
        SCOPED_TRACE(t.name);
        EffectPtr fx = makeEffect(t.edition);
        AEffect* e = fx->getEffectRecord();
        EXPECT_EQ(e->magic, kEffectMagic);
        EXPECT_EQ(e->uniqueID, t.uniqueId);
        EXPECT_EQ(e->numParams, t.edition.numParams);
        EXPECT_EQ(e->numPrograms, 1);
        EXPECT_EQ(e->numInputs, 2);
        EXPECT_EQ(e->numOutputs, 2);
        // No editor in these builds of the effect: replacing only.
        EXPECT_EQ(e->flags, effFlagsCanReplacing);
        EXPECT_EQ(fx->getSampleRate(), 44100.0f);

        Text name, vendor, product;
        EXPECT_EQ(dispatch(e, effGetEffectName, 0, 0, name.c), 1);
        EXPECT_EQ(name.str(), t.name);
        EXPECT_EQ(dispatch(e, effGetVendorString, 0, 0, vendor.c), 1);
        EXPECT_EQ(vendor.str(), "Korvid Dot Com");
        EXPECT_EQ(dispatch(e, effGetProductString, 0, 0, product.c), 1);
        EXPECT_EQ(product.str(), t.name);
        EXPECT_EQ(dispatch(e, effGetVendorVersion), 1000);
        EXPECT_EQ(dispatch(e, effGetVstVersion), 2400);
        EXPECT_EQ(dispatch(e, effGetPlugCategory), 0);
        EXPECT_EQ(dispatch(e, effGetTailSize), 0);
    }
}

TEST(KvEffect, ParameterTableNamesDefaultsAndDisplays) {
    for (const Table& t : kTables) {
        SCOPED_TRACE(t.name);
        EffectPtr fx = makeEffect(t.edition);
        AEffect* e = fx->getEffectRecord();
        ASSERT_EQ(static_cast<int>(t.parameters.size()), t.edition.numParams);
        for (int i = 0; i < t.edition.numParams; ++i) {
            SCOPED_TRACE("parameter " + std::to_string(i));
            Text name, display, label;
            dispatch(e, effGetParamName, i, 0, name.c);
            dispatch(e, effGetParamDisplay, i, 0, display.c);
            dispatch(e, effGetParamLabel, i, 0, label.c);
            EXPECT_EQ(name.str(), t.parameters[i].first);
            EXPECT_EQ(display.str(), t.parameters[i].second);
            EXPECT_EQ(label.str(), "");
            EXPECT_EQ(e->getParameter(e, i), std::stof(t.parameters[i].second));
            EXPECT_EQ(dispatch(e, effCanBeAutomated, i), 1);
        }
        // An 8-character name comes back whole, with its zero at text[8].
        Text full;
        dispatch(e, effGetParamName, t.edition.numParams == 14 ? 1 : 0, 0, full.c);
        EXPECT_EQ(std::memcmp(full.c, "PreDelay\0", 9), 0);

        // One past the table, and far outside it.
        for (int index : {t.edition.numParams, -1, 1000}) {
            SCOPED_TRACE("index " + std::to_string(index));
            Text name, display;
            dispatch(e, effGetParamName, index, 0, name.c);
            dispatch(e, effGetParamDisplay, index, 0, display.c);
            EXPECT_EQ(name.str(), "    ");
            EXPECT_EQ(display.str(), "    ");
            EXPECT_EQ(e->getParameter(e, index), 0.0f);
            e->setParameter(e, index, 0.75f);  // ignored
        }
        for (int i = 0; i < t.edition.numParams; ++i)
            EXPECT_EQ(e->getParameter(e, i), std::stof(t.parameters[i].second));
    }
}

TEST(KvEffect, ValuesAreStoredAndShownAsGiven) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float value;
        const char* display;
    } cases[] = {
        {0.25f, "0.250000"}, {1.0f / 9.0f, "0.111111"}, {-0.25f, "-0.25000"},
        {2.0f, "2.000000"},  {1e9f, "Huge!"},           {inf, "Huge!"},
    };
    for (const EditionCase& ed : kEditions) {
        EffectPtr fx = makeEffect(ed);
        for (int i = 0; i < ed.numParams; ++i) {
            for (const auto& c : cases) {
                SCOPED_TRACE(std::string(ed.label) + " parameter " + std::to_string(i) + " = " +
                             c.display);
                fx->setParameter(i, c.value);
                EXPECT_EQ(bitsOf(fx->getParameter(i)), bitsOf(c.value));
                char text[16];
                fx->getParameterDisplay(i, text);
                EXPECT_STREQ(text, c.display);
            }
            fx->setParameter(i, nan);
            EXPECT_TRUE(std::isnan(fx->getParameter(i)));
        }
    }
}

TEST(KvEffect, ProgramNameAndNoChunks) {
    for (const EditionCase& ed : kEditions) {
        SCOPED_TRACE(ed.label);
        EffectPtr fx = makeEffect(ed);
        AEffect* e = fx->getEffectRecord();
        Text name;
        dispatch(e, effGetProgramName, 0, 0, name.c);
        EXPECT_EQ(name.str(), "Default");
        EXPECT_EQ(dispatch(e, effGetProgram), 0);

        // A long name keeps its first 24 characters, terminated at [24].
        char longName[] = "abcdefghijklmnopqrstuvwxyz0123";
        dispatch(e, effSetProgramName, 0, 0, longName);
        Text got;
        dispatch(e, effGetProgramName, 0, 0, got.c);
        EXPECT_EQ(got.str(), "abcdefghijklmnopqrstuvwx");
        // A shorter one replaces it completely.
        char shortName[] = "Hall";
        dispatch(e, effSetProgramName, 0, 0, shortName);
        dispatch(e, effGetProgramName, 0, 0, got.c);
        EXPECT_EQ(got.str(), "Hall");

        for (VstIntPtr program : {1, -1, 5}) {
            dispatch(e, effSetProgram, 0, program);
            EXPECT_EQ(dispatch(e, effGetProgram), 0);
        }

        void* chunk = &name;
        EXPECT_EQ(dispatch(e, effGetChunk, 0, 0, &chunk), 0);
        EXPECT_EQ(chunk, &name);
        float data[4] = {0.9f, 0.9f, 0.9f, 0.9f};
        EXPECT_EQ(dispatch(e, effSetChunk, 0, sizeof data, data), 0);
        EXPECT_EQ(e->getParameter(e, ed.mix), 0.5f);
        EXPECT_EQ(e->flags & effFlagsProgramChunks, 0);
    }
}

// What a host does when it saves a project and loads it into a new effect:
// read every parameter, give them back in another order.
TEST(KvEffect, RestoredSettingsGiveTheSameStateAndSound) {
    for (const EditionCase& ed : kEditions) {
        SCOPED_TRACE(ed.label);
        EffectPtr original = makeEffect(ed);
        for (int i = 0; i < ed.numParams; ++i)
            original->setParameter(i, static_cast<float>((i * 37 % 11) + 1) / 12.0f);

        EffectPtr restored = makeEffect(ed);
        for (int i = ed.numParams - 1; i >= 0; --i)
            restored->setParameter(i, original->getParameter(i));

        for (int i = 0; i < ed.numParams; ++i) {
            EXPECT_EQ(restored->getParameter(i), original->getParameter(i));
            char a[16], b[16];
            original->getParameterDisplay(i, a);
            restored->getParameterDisplay(i, b);
            EXPECT_STREQ(a, b);
        }
        const Stereo input = testSignal(30000);
        EXPECT_TRUE(render(*original, input, 512) == render(*restored, input, 512));
    }
}

}  // namespace
