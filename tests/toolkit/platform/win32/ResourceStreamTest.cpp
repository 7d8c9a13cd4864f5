#include "toolkit/platform/win32/ResourceStream.h"

#include <gtest/gtest.h>

#include <cstring>

namespace toolkit {
namespace {

// Ten bytes 0..9 behind a stream positioned at the start.
class ResourceStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 10; ++i) data[i] = static_cast<BYTE>(i);
        stream = new ResourceStream(data, sizeof(data));
    }
    void TearDown() override { EXPECT_EQ(stream->Release(), 0u); }

    HRESULT seek(int64_t move, DWORD origin, ULARGE_INTEGER* out = nullptr) {
        LARGE_INTEGER m;
        m.QuadPart = move;
        return stream->Seek(m, origin, out);
    }

    BYTE data[10];
    ResourceStream* stream = nullptr;
};

TEST_F(ResourceStreamTest, ReadCopiesAndAdvances) {
    BYTE buffer[4] = {};
    ULONG read = 99;
    EXPECT_EQ(stream->Read(buffer, 4, &read), S_OK);
    EXPECT_EQ(read, 4u);
    EXPECT_EQ(buffer[3], 3);
    EXPECT_EQ(stream->Read(buffer, 4, nullptr), S_OK);
    EXPECT_EQ(buffer[0], 4);
    EXPECT_EQ(stream->position(), 8u);
    EXPECT_EQ(stream->Read(buffer, 0, &read), S_OK);
    EXPECT_EQ(read, 0u);
}

TEST_F(ResourceStreamTest, ReadPastTheEndGivesWhatRemainsAndSFalse) {
    BYTE buffer[8];
    std::memset(buffer, 0xEE, sizeof(buffer));
    ASSERT_EQ(seek(6, STREAM_SEEK_SET), S_OK);
    ULONG read = 99;
    EXPECT_EQ(stream->Read(buffer, 8, &read), S_FALSE);
    EXPECT_EQ(read, 4u);
    EXPECT_EQ(buffer[0], 6);
    EXPECT_EQ(buffer[3], 9);
    EXPECT_EQ(buffer[4], 0xEE);
    EXPECT_EQ(stream->position(), 10u);
    // At the end: nothing more, and still S_FALSE.
    EXPECT_EQ(stream->Read(buffer, 1, &read), S_FALSE);
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(stream->position(), 10u);
}

TEST_F(ResourceStreamTest, SeekStaysInsideTheData) {
    struct Case {
        const char* label;
        uint32_t start;
        int64_t move;
        DWORD origin;
        HRESULT result;
        uint32_t position;  // afterwards
    };
    const Case cases[] = {
        {"from the start", 0, 3, STREAM_SEEK_SET, S_OK, 3},
        {"to the last byte", 0, 9, STREAM_SEEK_SET, S_OK, 9},
        {"to exactly the size", 4, 10, STREAM_SEEK_SET, S_FALSE, 4},
        {"before the start", 4, -1, STREAM_SEEK_SET, S_FALSE, 4},
        {"back from the current position", 8, -5, STREAM_SEEK_CUR, S_OK, 3},
        {"forward from the current position", 2, 7, STREAM_SEEK_CUR, S_OK, 9},
        {"back past the start", 3, -4, STREAM_SEEK_CUR, S_FALSE, 3},
        {"forward to the size", 3, 7, STREAM_SEEK_CUR, S_FALSE, 3},
        {"far past 32 bits", 3, int64_t(1) << 32, STREAM_SEEK_CUR, S_FALSE, 3},
        {"from the end", 3, -1, STREAM_SEEK_END, S_FALSE, 3},
        {"unknown origin", 3, 0, 7, STG_E_INVALIDFUNCTION, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_EQ(seek(c.start, STREAM_SEEK_SET), S_OK);
        ULARGE_INTEGER reported;
        reported.QuadPart = 12345;
        EXPECT_EQ(seek(c.move, c.origin, &reported), c.result);
        EXPECT_EQ(stream->position(), c.position);
        if (c.result == S_OK) {
            EXPECT_EQ(reported.QuadPart, c.position);
        }
    }
}

TEST_F(ResourceStreamTest, StatRevertAndTheUnsupportedOperations) {
    STATSTG status;
    std::memset(&status, 0xAB, sizeof(status));
    // The whole record is zeroed: 72 bytes with 4-byte pointers, 80 with 8.
    EXPECT_EQ(sizeof(status), sizeof(void*) == 8 ? 80u : 72u);
    EXPECT_EQ(stream->Stat(&status, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(status.cbSize.QuadPart, 10u);
    EXPECT_EQ(status.pwcsName, nullptr);
    EXPECT_EQ(status.type, 0u);

    ASSERT_EQ(seek(5, STREAM_SEEK_SET), S_OK);
    EXPECT_EQ(stream->Revert(), S_OK);
    EXPECT_EQ(stream->position(), 0u);

    ULARGE_INTEGER zero;
    zero.QuadPart = 0;
    ULONG n = 0;
    IStream* copy = nullptr;
    EXPECT_EQ(stream->Write(data, 1, &n), E_NOTIMPL);
    EXPECT_EQ(stream->SetSize(zero), E_NOTIMPL);
    EXPECT_EQ(stream->CopyTo(nullptr, zero, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(stream->Commit(0), E_NOTIMPL);
    EXPECT_EQ(stream->LockRegion(zero, zero, 0), E_NOTIMPL);
    EXPECT_EQ(stream->UnlockRegion(zero, zero, 0), E_NOTIMPL);
    EXPECT_EQ(stream->Clone(&copy), E_NOTIMPL);
}

TEST_F(ResourceStreamTest, InterfacesAndReferences) {
    for (REFIID iid : {IID_IUnknown, IID_IStream, IID_ISequentialStream}) {
        void* object = nullptr;
        EXPECT_EQ(stream->QueryInterface(iid, &object), S_OK);
        EXPECT_EQ(object, static_cast<IStream*>(stream));
        EXPECT_EQ(stream->Release(), 1u);
    }
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(stream->QueryInterface(IID_IStorage, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(stream->AddRef(), 2u);
    EXPECT_EQ(stream->Release(), 1u);
}

}  // namespace
}  // namespace toolkit
