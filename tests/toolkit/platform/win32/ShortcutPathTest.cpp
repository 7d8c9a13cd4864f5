// Shortcut resolution of dropped paths under wine: a real .lnk file made
// with the shell-link object resolves to its target's short path; names
// that do not end in a single ".lnk" after their first dot stay as they are.
#include "toolkit/platform/win32/ShortcutPath.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <string>

#include "DataObjectStub.h"
#include "toolkit/CDragContainer.h"
#include "toolkit/platform/win32/WinDragContainer.h"

namespace toolkit {
namespace testing {
namespace {

std::string utf8(const std::wstring& s) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, &out[0], n, nullptr, nullptr);
    return out;
}

bool writeShortcut(const std::wstring& at, const std::wstring& target) {
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    bool ok = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               reinterpret_cast<void**>(&link)) == S_OK &&
              link->SetPath(target.c_str()) == S_OK &&
              link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)) == S_OK &&
              file->Save(at.c_str(), TRUE) == S_OK;
    if (file) file->Release();
    if (link) link->Release();
    return ok;
}

// A folder without dots holding "Long target document.txt" and shortcuts
// to it under several names.
class ShortcutPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        wchar_t temp[MAX_PATH] = {0};
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"TovraShortcutTest";
        if (folder.find(L'.') != std::wstring::npos) GTEST_SKIP() << "temporary folder has a dot";
        CreateDirectoryW(folder.c_str(), nullptr);
        CreateDirectoryW((folder + L"\\with.dot").c_str(), nullptr);
        target = folder + L"\\Long target document.txt";
        HANDLE h = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
        wchar_t shortPath[MAX_PATH] = {0};
        ASSERT_GT(GetShortPathNameW(target.c_str(), shortPath, MAX_PATH), 0u);
        targetShort = shortPath;
        for (const wchar_t* name : {L"Notes.lnk", L"NOTES2.LNK", L"Notes.old.lnk", L"with.dot\\Notes.lnk"})
            ASSERT_TRUE(writeShortcut(folder + L"\\" + name, target));
    }
    void TearDown() override { CoUninitialize(); }

    std::wstring folder;
    std::wstring target;
    std::wstring targetShort;
};

TEST_F(ShortcutPathTest, OnlyASingleLnkExtensionIsResolved) {
    struct Case {
        std::wstring name;
        bool resolved;
    };
    const Case cases[] = {
        {L"Notes.lnk", true},
        {L"NOTES2.LNK", true},           // any case
        {L"Notes.old.lnk", false},       // two dots in the file name
        {L"with.dot\\Notes.lnk", false}, // a dot in a folder name
        {L"Missing.lnk", false},         // no such shortcut: left alone
        {L"Notes.lnkx", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(utf8(c.name));
        const std::wstring original = folder + L"\\" + c.name;
        wchar_t path[win32::kDroppedPathCapacity] = {0};
        wcscpy(path, original.c_str());
        EXPECT_EQ(win32::resolveShortcutInPlace(path, win32::kDroppedPathCapacity), c.resolved);
        EXPECT_EQ(std::wstring(path), c.resolved ? targetShort : original);
    }
}

TEST_F(ShortcutPathTest, DroppedShortcutIsReportedAsItsTargetsShortPath) {
    DataObjectStub data;
    data.offerFiles = true;
    data.files = {folder + L"\\Notes.lnk", folder + L"\\Notes.old.lnk"};
    auto* payload = new WinDragContainer(&data);
    int32_t size = 0;
    int32_t type = 0;
    const char* first = payload->firstItem(size, type);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::string(first), utf8(targetShort));
    EXPECT_EQ(type, kDragFile);
    const char* second = payload->nextItem(size, type);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(std::string(second), utf8(folder + L"\\Notes.old.lnk"));
    payload->release();
}

}  // namespace
}  // namespace testing
}  // namespace toolkit
