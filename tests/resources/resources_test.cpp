// The program's resources as Windows reads them from an executable that links them:
// the icon group's 12 images, the hand cursor's hot spot, the version block read
// through VerQueryValueA in code page 936, and the manifest's execution level.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "resources/resource_ids.h"

namespace {

std::pair<const unsigned char*, DWORD> Resource(LPCSTR name, LPCSTR type) {
    HRSRC found = ::FindResourceA(nullptr, name, type);
    if (found == nullptr) return {nullptr, 0};
    return {static_cast<const unsigned char*>(::LockResource(::LoadResource(nullptr, found))),
            ::SizeofResource(nullptr, found)};
}

unsigned Read16(const unsigned char* p) { return p[0] | p[1] << 8; }
unsigned Read32(const unsigned char* p) { return Read16(p) | Read16(p + 2) << 16; }
unsigned ReadBig32(const unsigned char* p) { return unsigned(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

TEST(ProgramIcon, GroupHoldsTheTwelveImagesWithTheirSizesAndDepths) {
    const auto [group, groupSize] = Resource(VELMORIN_ICON_NAME, RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(Read16(group + 2), 1u);  // icons, not cursors
    const unsigned count = Read16(group + 4);
    ASSERT_EQ(count, 12u);
    ASSERT_EQ(groupSize, 6 + 14 * count);

    std::set<std::pair<int, int>> seen;
    for (unsigned i = 0; i < count; ++i) {
        const unsigned char* entry = group + 6 + 14 * i;
        const int size = entry[0] == 0 ? 256 : entry[0];
        const int depth = static_cast<int>(Read16(entry + 6));
        SCOPED_TRACE(std::to_string(size) + " px, " + std::to_string(depth) + " bits");
        EXPECT_EQ(entry[0], entry[1]) << "square";
        seen.insert({size, depth});

        const auto [image, imageSize] = Resource(MAKEINTRESOURCEA(Read16(entry + 12)), RT_ICON);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(imageSize, Read32(entry + 8));
        if (size >= 128) {
            // PNG-compressed, with the size in its header and an alpha channel (colour type 6).
            ASSERT_EQ(std::memcmp(image, "\x89PNG\r\n\x1a\n", 8), 0);
            EXPECT_EQ(ReadBig32(image + 16), unsigned(size));
            EXPECT_EQ(ReadBig32(image + 20), unsigned(size));
            EXPECT_EQ(image[25], 6);
            continue;
        }
        const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image);
        EXPECT_EQ(header->biWidth, size);
        EXPECT_EQ(header->biHeight, 2 * size);
        EXPECT_EQ(header->biBitCount, depth);
        // Each image can be made into an icon of its own size.
        HICON icon =
            ::CreateIconFromResourceEx(const_cast<BYTE*>(image), imageSize, TRUE, 0x00030000, size, size, 0);
        EXPECT_NE(icon, nullptr);
        if (icon) ::DestroyIcon(icon);
        if (depth == 32) {
            // Real transparency: the corners are clear, the middle is opaque.
            const unsigned char* pixels = image + header->biSize;
            auto alpha = [&](int x, int y) { return pixels[(y * size + x) * 4 + 3]; };
            EXPECT_EQ(alpha(0, 0), 0);
            EXPECT_EQ(alpha(size / 2, size / 2), 255);
        }
    }
    const std::set<std::pair<int, int>> expected = {{32, 1},  {16, 4},  {32, 4},   {48, 4},
                                                    {16, 8},  {32, 8},  {48, 8},   {16, 32},
                                                    {32, 32}, {48, 32}, {128, 32}, {256, 32}};
    EXPECT_EQ(seen, expected);
}

TEST(ProgramIcon, LoadsAtTheWindowsSmallAndLargeSizes) {
    for (int size : {16, 32}) {
        HICON icon = static_cast<HICON>(
            ::LoadImageA(::GetModuleHandleA(nullptr), VELMORIN_ICON_NAME, IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info = {};
        ASSERT_TRUE(::GetIconInfo(icon, &info));
        BITMAP colour = {};
        ::GetObjectA(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, size);
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        ::DestroyIcon(icon);
    }
}

TEST(HandCursor, IsAMonochrome32PixelCursorWithItsHotSpotOnTheFingertip) {
    HCURSOR cursor = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_VELMORIN_HAND));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 6u);
    EXPECT_EQ(info.yHotspot, 1u);
    EXPECT_EQ(info.hbmColor, nullptr) << "monochrome: the mask holds both halves";
    BITMAP mask = {};
    ::GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 64);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
}

class VersionBlock : public ::testing::Test {
protected:
    void SetUp() override {
        char path[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        DWORD ignored = 0;
        data_.resize(::GetFileVersionInfoSizeA(path, &ignored));
        ASSERT_FALSE(data_.empty());
        ASSERT_TRUE(::GetFileVersionInfoA(path, 0, static_cast<DWORD>(data_.size()), data_.data()));
    }
    std::string Query(const std::string& key) {
        void* value = nullptr;
        UINT length = 0;
        if (!::VerQueryValueA(data_.data(), key.c_str(), &value, &length) || value == nullptr)
            return "(missing)";
        return static_cast<const char*>(value);
    }
    std::vector<unsigned char> data_;
};

TEST_F(VersionBlock, NumbersAndTranslationAgree) {
    ASSERT_EQ(::GetACP(), 936u) << "the bench runs in code page 936";
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(data_.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    WORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 1200);
}

TEST_F(VersionBlock, StringsReadBackExactlyInCodePage936) {
    const std::pair<const char*, const char*> expected[] = {
        {"FileDescription", "Velmorin用于开机时系统自行检测影响开机速度而设计"},
        {"ProductName", "Velmorin"},
        {"CompanyName", "Tassow"},
        {"LegalCopyright", "版权所有 (C) 2026 Tassow"},
        {"FileVersion", "1.0.0.0"},
        {"ProductVersion", "1.0.0.0"},
        {"Comments", "修复开机磁盘检查的设置"},
    };
    for (const auto& [key, text] : expected) {
        EXPECT_EQ(Query(std::string("\\StringFileInfo\\080404B0\\") + key), text) << key;
    }
}

TEST(Manifest, AsksForAdministratorDeclaresWindows7To11AndNoDpiAwareness) {
    const auto [data, size] = Resource(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(data, nullptr);
    const std::string text(reinterpret_cast<const char*>(data), size);
    EXPECT_NE(text.find("<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>"),
              std::string::npos);
    for (const char* id :
         {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
          "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
        EXPECT_NE(text.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos) << id;
    }
    EXPECT_EQ(text.find("dpiAware"), std::string::npos);
}

}  // namespace
