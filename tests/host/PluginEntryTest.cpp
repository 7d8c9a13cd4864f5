// The entry logic: version check, factory, record.
#include "host/PluginEntry.h"

#include <gtest/gtest.h>

#include "tests/host/RecordingHost.h"
#include "tests/host/TestEffect.h"

namespace {

int made = 0;

AudioEffect* makeTestEffect(audioMasterCallback host) {
    ++made;
    return new TestEffect(host);
}

AudioEffect* makeNothing(audioMasterCallback) {
    ++made;
    return nullptr;
}

TEST(PluginEntry, AsksTheVersionAndReturnsTheRecord) {
    RecordingHost host;
    made = 0;
    AEffect* e = pluginEntry(RecordingHost::callback, makeTestEffect);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(e->magic, kEffectMagic);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].effect, nullptr);
    EXPECT_EQ(host.calls[0].opcode, audioMasterVersion);
    EXPECT_EQ(host.calls[0].index, 0);
    EXPECT_EQ(host.calls[0].value, 0);
    EXPECT_EQ(host.calls[0].ptr, nullptr);
    EXPECT_EQ(host.calls[0].opt, 0.0f);
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST(PluginEntry, AnyNonZeroVersionIsAccepted) {
    RecordingHost host;
    for (VstIntPtr version : {VstIntPtr{1}, VstIntPtr{2}, VstIntPtr{-1}, VstIntPtr{2400}, VstIntPtr{9999}}) {
        host.answers[audioMasterVersion] = version;
        AEffect* e = pluginEntry(RecordingHost::callback, makeTestEffect);
        ASSERT_NE(e, nullptr) << "version " << version;
        e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
    }
}

TEST(PluginEntry, RefusesWithoutAHost) {
    RecordingHost host;
    made = 0;
    host.answers[audioMasterVersion] = 0;
    EXPECT_EQ(pluginEntry(RecordingHost::callback, makeTestEffect), nullptr);
    EXPECT_EQ(made, 0) << "a version 0 host gets nothing created";
    EXPECT_EQ(pluginEntry(nullptr, makeTestEffect), nullptr);
    EXPECT_EQ(made, 0);
    host.answers[audioMasterVersion] = 2400;
    EXPECT_EQ(pluginEntry(RecordingHost::callback, makeNothing), nullptr);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(pluginEntry(RecordingHost::callback, nullptr), nullptr);
}

TEST(PluginEntry, EachCallMakesAnIndependentEffect) {
    RecordingHost host;
    AEffect* a = pluginEntry(RecordingHost::callback, makeTestEffect);
    AEffect* b = pluginEntry(RecordingHost::callback, makeTestEffect);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    a->setParameter(a, 0, 0.9f);
    EXPECT_EQ(b->getParameter(b, 0), 0.25f);
    EXPECT_EQ(a->dispatcher(a, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(b->getParameter(b, 0), 0.25f);
    EXPECT_EQ(b->dispatcher(b, effClose, 0, 0, nullptr, 0.0f), 1);
}

}  // namespace
