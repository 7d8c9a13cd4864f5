// The drag payload over a data object: what the items are for text, file
// lists, both and neither, and that every storage medium and the data object
// reference are given back.
#include "toolkit/platform/win32/WinDragContainer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "DataObjectStub.h"
#include "toolkit/CDragContainer.h"

namespace toolkit {
namespace testing {
namespace {

struct PayloadCase {
    const char* name;
    bool offerText;
    std::wstring text;
    size_t textBytes;  // 0: the whole text with its terminator
    bool offerFiles;
    std::vector<std::wstring> files;
    int32_t count;
    int32_t itemType;
    std::vector<std::pair<std::string, int32_t>> items;  // bytes, type
    int32_t endType;  // type of the call that answers null
};

const PayloadCase kCases[] = {
    {"two files", false, L"", 0, true, {L"C:\\data\\first take.wav", L"D:\\b.txt"}, 2, kDragFile,
     {{"C:\\data\\first take.wav", kDragFile}, {"D:\\b.txt", kDragFile}}, kDragUnknown},
    {"unicode text", true, L"Gr\u00fc\u00dfe \u2713", 0, false, {}, 1, kDragText,
     {{"Gr\xc3\xbc\xc3\x9f" "e \xe2\x9c\x93", kDragUtf8Text}}, kDragUnknown},
    {"text wins over files", true, L"plain", 0, true, {L"C:\\x.wav"}, 1, kDragText,
     {{"plain", kDragUtf8Text}}, kDragUnknown},
    {"text without terminator stops at the block's end", true, L"abcdef", 6, false, {}, 1,
     kDragText, {{"abc", kDragUtf8Text}}, kDragUnknown},
    {"empty text", true, L"", 0, false, {}, 1, kDragText, {{"", kDragUtf8Text}}, kDragUnknown},
    {"non-ascii file name", false, L"", 0, true, {L"C:\\M\u00fcsik\\\u00e9t\u00e9.wav"}, 1,
     kDragFile, {{"C:\\M\xc3\xbcsik\\\xc3\xa9t\xc3\xa9.wav", kDragFile}}, kDragUnknown},
    {"nothing offered", false, L"", 0, false, {}, 0, kDragFile, {}, kDragUnknown},
};

TEST(WinDragContainer, ItemsOfEachKindOfData) {
    for (const PayloadCase& c : kCases) {
        SCOPED_TRACE(c.name);
        DataObjectStub data;
        data.offerText = c.offerText;
        data.text = c.text;
        data.textBytes = c.textBytes;
        data.offerFiles = c.offerFiles;
        data.files = c.files;
        {
            auto* payload = new WinDragContainer(&data);
            EXPECT_EQ(payload->itemCount(), c.count);
            EXPECT_EQ(payload->itemType(0), c.itemType);
            // Twice: firstItem restarts the iteration.
            for (int pass = 0; pass < 2; ++pass) {
                SCOPED_TRACE(pass);
                int32_t size = -1;
                int32_t type = -3;
                const char* item = payload->firstItem(size, type);
                for (const auto& want : c.items) {
                    ASSERT_NE(item, nullptr);
                    EXPECT_EQ(std::string(item), want.first);
                    EXPECT_EQ(size, static_cast<int32_t>(want.first.size()));
                    EXPECT_EQ(type, want.second);
                    item = payload->nextItem(size, type);
                }
                EXPECT_EQ(item, nullptr);
                EXPECT_EQ(type, c.endType);
                EXPECT_EQ(data.outstandingMedia, 0);  // every medium given back
            }
            EXPECT_GT(data.references(), 1u);  // kept while the payload lives
            payload->release();
        }
        EXPECT_EQ(data.references(), 1u);
        EXPECT_EQ(data.outstandingMedia, 0);
    }
}

TEST(WinDragContainer, WithoutDataObjectEverythingIsAnError) {
    auto* payload = new WinDragContainer(nullptr);
    int32_t size = 7;
    int32_t type = 0;
    EXPECT_EQ(payload->itemCount(), 0);
    EXPECT_EQ(payload->itemType(0), kDragError);
    EXPECT_EQ(payload->firstItem(size, type), nullptr);
    EXPECT_EQ(type, kDragError);
    EXPECT_EQ(payload->nextItem(size, type), nullptr);
    EXPECT_EQ(type, kDragError);
    payload->release();
}

TEST(WinDragContainer, SourceThatStopsOfferingEndsTheIteration) {
    DataObjectStub data;
    data.offerFiles = true;
    data.files = {L"C:\\a.wav", L"C:\\b.wav"};
    auto* payload = new WinDragContainer(&data);
    int32_t size = 0;
    int32_t type = 0;
    ASSERT_NE(payload->firstItem(size, type), nullptr);
    data.offerFiles = false;
    EXPECT_EQ(payload->nextItem(size, type), nullptr);
    EXPECT_EQ(type, kDragUnknown);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(payload->itemCount(), 2);  // counted once, at construction
    payload->release();
}

}  // namespace
}  // namespace testing
}  // namespace toolkit
