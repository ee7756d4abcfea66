// Registry access by codes: data encoding, path splitting, writing and deleting for
// real in the test prefix's registry, read back through the ANSI query call.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/handles.h"
#include "repair/registry.h"
#include "support/registry_fixture.h"

using namespace velmorin;
using velmorin::test::ScratchKey;

namespace {

ByteBlock Bytes(std::string_view text) {
    return ByteBlock(text.begin(), text.end());
}

struct EncodingCase {
    int typeCode;
    std::string_view data;
    std::string_view expected;
};

TEST(EncodeRegistryData, AddsTheTerminatorTheTypeDefines) {
    using namespace std::string_view_literals;
    const EncodingCase cases[] = {
        {7, "autocheck autochk *"sv, "autocheck autochk *\0\0"sv},
        {7, " "sv, " \0\0"sv},
        {7, "a\r\nb"sv, "a\0b\0\0"sv},
        {7, ""sv, "\0\0"sv},
        {7, "a\r\n"sv, "a\0\0"sv},
        {7, "a\r\r\nb\n"sv, "a\r\0b\n\0\0"sv},  // pairs only, scanned from the start
        {2, "a\r\nb"sv, "a\r\nb\0"sv},          // other types keep CR LF
        {2, ""sv, "\0"sv},
        {3, "%SystemRoot%"sv, "%SystemRoot%\0"sv},
        {1, "ab"sv, "ab"sv},
        {4, "\x01\x02"sv, "\x01\x02"sv},
        {5, "\x2A\0\0\0"sv, "\x2A\0\0\0"sv},  // a DWORD is 4 bytes, not 5
        {6, "\0\0\0\x2A"sv, "\0\0\0\x2A"sv},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeRegistryData(c.typeCode, Bytes(c.data)), Bytes(c.expected))
            << "type code " << c.typeCode << " data \"" << c.data << "\"";
    }
}

TEST(RegistryCodes, MapToTheirRootKeysAndTypeNumbers) {
    const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};
    for (int code = 1; code <= 5; ++code) EXPECT_EQ(RootKeyForWrite(code), roots[code - 1]) << code;
    for (int code = 1; code <= 5; ++code) EXPECT_EQ(RootKeyForDelete(code), roots[code - 1]) << code;
    EXPECT_EQ(RootKeyForDelete(0), HKEY_CURRENT_USER);
    EXPECT_EQ(RootKeyForDelete(6), HKEY_CURRENT_USER);
    const DWORD types[] = {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_DWORD_BIG_ENDIAN, REG_MULTI_SZ};
    for (int code = 1; code <= 7; ++code) EXPECT_EQ(RegistryTypeOf(code), types[code - 1]) << code;
}

struct SplitCase {
    const char* path;
    const char* deleteKey;
    const char* deleteValue;
    const char* writeKey;
    const char* writeValue;
};

TEST(RegistryPath, SplitsAtTheLastBackslashOfItsOwn) {
    const SplitCase cases[] = {
        {"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\BootExecute",
         "SYSTEM\\CurrentControlSet\\Control\\Session Manager", "BootExecute",
         "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\", "BootExecute"},
        {"Name", "", "Name", "", "Name"},
        {"Foo\\Foo", "Foo", "Foo", "Foo\\", "Foo"},
        {"Key\\", "Key", "", "", "Key"},
        {"Key\\\\", "Key\\", "", "Key\\", ""},
        {"Key\\Name\x81\x5C", "Key", "Name\x81\x5C", "Key\\", "Name\x81\x5C"},
        {"Key\x81\x5C", "", "Key\x81\x5C", "", "Key\x81\x5C"},
        {"", "", "", "", ""},
    };
    for (const auto& c : cases) {
        const RegistryPathParts forDelete = SplitPathForDelete(c.path);
        const RegistryPathParts forWrite = SplitPathForWrite(c.path);
        EXPECT_EQ(forDelete.key, c.deleteKey) << c.path;
        EXPECT_EQ(forDelete.value, c.deleteValue) << c.path;
        EXPECT_EQ(forWrite.key, c.writeKey) << c.path;
        EXPECT_EQ(forWrite.value, c.writeValue) << c.path;
    }
}

struct WriteCase {
    int typeCode;
    std::string_view data;
    DWORD type;
    std::string_view readBack;
};

TEST(WriteRegistryItem, WritesEachTypeAsItsDataDefines) {
    using namespace std::string_view_literals;
    ScratchKey scratch("Write");
    const WriteCase cases[] = {
        {7, "autocheck autochk *"sv, REG_MULTI_SZ, "autocheck autochk *\0\0"sv},
        {7, " "sv, REG_MULTI_SZ, " \0\0"sv},
        {7, "a\r\nb"sv, REG_MULTI_SZ, "a\0b\0\0"sv},
        {7, ""sv, REG_MULTI_SZ, "\0\0"sv},
        {2, "a\r\nb"sv, REG_SZ, "a\r\nb\0"sv},
        {2, "\xD0\xC5\xCF\xA2"sv, REG_SZ, "\xD0\xC5\xCF\xA2\0"sv},
        {3, "%TEMP%"sv, REG_EXPAND_SZ, "%TEMP%\0"sv},
        {4, "\x00\xFF"sv, REG_BINARY, "\x00\xFF"sv},
        {5, "\x2A\0\0\0"sv, REG_DWORD, "\x2A\0\0\0"sv},
        {6, "\0\0\0\x2A"sv, REG_DWORD_BIG_ENDIAN, "\0\0\0\x2A"sv},
        {1, "x"sv, REG_NONE, "x"sv},
    };
    for (const auto& c : cases) {
        const std::string path = scratch.Path() + "\\Value" + std::to_string(c.typeCode);
        EXPECT_TRUE(WriteRegistryItem(3, path, c.typeCode, Bytes(c.data)));
        const auto value = ReadRegistryValueA(HKEY_CURRENT_USER, scratch.Path(), "Value" + std::to_string(c.typeCode));
        ASSERT_TRUE(value) << path;
        EXPECT_EQ(value->type, c.type) << path;
        EXPECT_EQ(value->bytes, Bytes(c.readBack)) << path;
    }
}

TEST(WriteRegistryItem, PathFormsAddressTheRightKeyAndValue) {
    ScratchKey scratch("Paths");
    UniqueKey sub;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, (scratch.Path() + "\\Foo").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, sub.Put(), nullptr),
              ERROR_SUCCESS);

    // A value name that also names the key before it.
    EXPECT_TRUE(WriteRegistryItem(3, scratch.Path() + "\\Foo\\Foo", 2, Bytes("same")));
    EXPECT_TRUE(ReadRegistryValueA(HKEY_CURRENT_USER, scratch.Path() + "\\Foo", "Foo"));
    // Two trailing backslashes: the key's default value.
    EXPECT_TRUE(WriteRegistryItem(3, scratch.Path() + "\\Foo\\\\", 2, Bytes("default")));
    const auto byDefault = ReadRegistryValueA(HKEY_CURRENT_USER, scratch.Path() + "\\Foo", "");
    ASSERT_TRUE(byDefault);
    EXPECT_EQ(byDefault->bytes, Bytes(std::string_view("default", 8)));
    // One trailing backslash is dropped: the last part is the value name again.
    EXPECT_TRUE(WriteRegistryItem(3, scratch.Path() + "\\Foo\\Bar\\", 2, Bytes("bar")));
    EXPECT_TRUE(ReadRegistryValueA(HKEY_CURRENT_USER, scratch.Path() + "\\Foo", "Bar"));
    // No backslash at all: a value directly under the root key.
    EXPECT_TRUE(WriteRegistryItem(3, "VelmorinRootValue", 2, Bytes("root")));
    EXPECT_TRUE(ReadRegistryValueA(HKEY_CURRENT_USER, "", "VelmorinRootValue"));
    EXPECT_TRUE(DeleteRegistryItem(3, "VelmorinRootValue"));
    EXPECT_FALSE(ReadRegistryValueA(HKEY_CURRENT_USER, "", "VelmorinRootValue"));
}

TEST(WriteRegistryItem, NeverCreatesAKeyAndFailsOnAKeyThatCannotBeWritten) {
    ScratchKey scratch("Refused");
    const std::string missing = scratch.Path() + "\\Missing";
    EXPECT_FALSE(WriteRegistryItem(3, missing + "\\Value", 2, Bytes("x")));
    UniqueKey probe;
    EXPECT_NE(::RegOpenKeyExA(HKEY_CURRENT_USER, missing.c_str(), 0, KEY_READ, probe.Put()), ERROR_SUCCESS);

    test::DenySetValue deny(HKEY_CURRENT_USER, scratch.Path());
    ASSERT_TRUE(deny.Applied());
    EXPECT_FALSE(WriteRegistryItem(3, scratch.Path() + "\\Value", 2, Bytes("x")));
    EXPECT_FALSE(ReadRegistryValueA(HKEY_CURRENT_USER, scratch.Path(), "Value"));
}

TEST(DeleteRegistryItem, DeletesTheValueOrElseAKeyOfTheWholePath) {
    ScratchKey scratch("Delete");
    ASSERT_TRUE(WriteRegistryItem(3, scratch.Path() + "\\Value", 2, Bytes("x")));
    EXPECT_TRUE(DeleteRegistryItem(3, scratch.Path() + "\\Value"));
    EXPECT_FALSE(ReadRegistryValueA(HKEY_CURRENT_USER, scratch.Path(), "Value"));
    EXPECT_FALSE(DeleteRegistryItem(3, scratch.Path() + "\\Value")) << "nothing left to delete";

    // No such value, but a key of that path without subkeys: the key goes.
    UniqueKey sub;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, (scratch.Path() + "\\Leaf").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      sub.Put(), nullptr);
    sub.Reset();
    EXPECT_TRUE(DeleteRegistryItem(3, scratch.Path() + "\\Leaf"));
    UniqueKey gone;
    EXPECT_NE(::RegOpenKeyExA(HKEY_CURRENT_USER, (scratch.Path() + "\\Leaf").c_str(), 0, KEY_READ, gone.Put()),
              ERROR_SUCCESS);

    // A value name whose last character has 0x5C as its second byte.
    const std::string name = "Name\x81\x5C";
    ASSERT_TRUE(WriteRegistryItem(3, scratch.Path() + "\\" + name, 2, Bytes("x")));
    ASSERT_TRUE(ReadRegistryValueA(HKEY_CURRENT_USER, scratch.Path(), name));
    EXPECT_TRUE(DeleteRegistryItem(3, scratch.Path() + "\\" + name));
    EXPECT_FALSE(ReadRegistryValueA(HKEY_CURRENT_USER, scratch.Path(), name));

    // Unknown root codes mean HKEY_CURRENT_USER.
    ASSERT_TRUE(WriteRegistryItem(3, scratch.Path() + "\\Other", 2, Bytes("x")));
    EXPECT_TRUE(DeleteRegistryItem(42, scratch.Path() + "\\Other"));
}

TEST(WriteRegistryItem, WritesBootExecuteUnderTheSessionManager) {
    test::BootExecuteGuard guard;
    EXPECT_TRUE(DeleteRegistryItem(4, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\BootExecute") ||
                !test::BootExecuteAnsi());
    ASSERT_TRUE(WriteRegistryItem(4, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\BootExecute", 7,
                                  Bytes("autocheck autochk *")));
    const auto value = test::BootExecuteAnsi();
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(value->bytes, Bytes(std::string_view("autocheck autochk *\0\0", 21)));
}

}  // namespace
