// The program carries the one version the build was given, in its version resource (the
// numbers and the texts) and in its manifest; the end-to-end tests find its window by the
// title made from the same version.
#include "journal_helpers.h"

#include "app/version.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

const std::wstring VERSION_TEXT(L"" APP_VERSION_TEXT);

class VersionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(journal_program_path().c_str(), &ignored);
        ASSERT_GT(size, 0u) << "no version resource in QuietNote.exe";
        info.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(journal_program_path().c_str(), 0, size, info.data()));
    }

    std::wstring string_value(const wchar_t* name)
    {
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(info.data(), key.c_str(), &value, &length) || length == 0)
            return L"";
        return static_cast<const wchar_t*>(value);
    }

    std::vector<unsigned char> info;
};

TEST_F(VersionTest, ResourceNumbersAndTextsAreTheBuildsVersion)
{
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    const std::wstring numbers = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"."
        + std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(HIWORD(fixed->dwFileVersionLS))
        + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(numbers, VERSION_TEXT);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(string_value(L"FileVersion"), VERSION_TEXT);
    EXPECT_EQ(string_value(L"ProductVersion"), VERSION_TEXT);
}

TEST(Version, ManifestNamesTheBuildsVersion)
{
    HMODULE program = LoadLibraryExW(journal_program_path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    HRSRC resource = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(resource, nullptr) << "no manifest in QuietNote.exe";
    const char* text = static_cast<const char*>(LockResource(LoadResource(program, resource)));
    const std::string manifest(text, SizeofResource(program, resource));
    FreeLibrary(program);
    EXPECT_NE(manifest.find("name=\"QuietNote\" version=\"" APP_VERSION_TEXT "\""), std::string::npos) << manifest;
    // Per-monitor awareness, version 2 where the platform has it, else system awareness.
    EXPECT_NE(manifest.find(">PerMonitorV2, system</dpiAwareness>"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos) << manifest;
}

}  // namespace
