#include "platform/zxReg.h"

#include <gtest/gtest.h>

#include "TestRegistry.h"

namespace halvern {
namespace {

using namespace std::string_literals;
using test::KeyExists;
using test::ReadSz;
using test::WriteRaw;

// Every test works below its own key, removed before and after.
class RegHelpers : public ::testing::Test {
protected:
    void SetUp() override { test::DeleteTree(Key("")); }
    void TearDown() override { test::DeleteTree(Key("")); }

    std::string Key(const std::string& sub) const { return (base + sub).substr(0, base.size() + sub.size() - 1); }
    std::string Read(const std::string& basePath, const std::string& subKey, const std::string& name) const {
        std::string text = "earlier text";
        TRegRead().ReadValue(HKEY_CURRENT_USER, basePath, subKey, name, text);
        return text;
    }
    // Oud with values and keys four levels deep, and a neighbour whose name starts alike.
    void BuildTree() const {
        for (const char* key : {"Oud\\", "Oud\\A\\B\\C\\D\\", "Oud\\A2\\X\\", "Oud\\Z\\", "OudNaast\\"})
            WriteRaw(Key(key), "Naam", REG_SZ, key + "\0"s);
    }

    const std::string base = test::TestBasePath();
};

TEST_F(RegHelpers, ReadOfMissingKeyOrValueGivesEmptyTextAndCreatesNothing) {
    EXPECT_EQ(Read(base + "Zandrix\\Halvern\\5.00\\", "Programma", "Email"), "");
    EXPECT_FALSE(KeyExists(Key("")));
    WriteRaw(Key("Zandrix\\"), "Naam", REG_SZ, "Halvern\0"s);
    EXPECT_EQ(Read(base + "Zandrix\\", "", "Versie"), "");
    EXPECT_EQ(Read(base + "Zandrix\\", "Programma", "Naam"), "");
    EXPECT_FALSE(KeyExists(Key("Zandrix\\Programma\\")));
}

TEST_F(RegHelpers, WriteCreatesTheKeysAboveAndReadFindsItThroughOtherSpellings) {
    const TRegWrite writer;
    const std::string programBase = base + "Zandrix\\Halvern\\5.00\\";
    writer.WriteValue(HKEY_CURRENT_USER, programBase, "Programma\\", "Versie", "5.01");
    writer.WriteValue(HKEY_CURRENT_USER, programBase, "Programma\\", "Versie", "5.02");  // the second stays
    EXPECT_EQ(ReadSz(Key("Zandrix\\Halvern\\5.00\\Programma\\"), "Versie"), "5.02");  // REG_SZ ending in NUL

    // A final backslash and the letter case change neither the key nor the value.
    EXPECT_EQ(Read(programBase, "Programma", "Versie"), "5.02");
    EXPECT_EQ(Read(programBase, "PROGRAMMA\\\\", "VERSIE"), "5.02");
    writer.WriteValue(HKEY_CURRENT_USER, base + "Zandrix\\", "", "HomePage", "https://www.zandrix.example/");
    writer.WriteValue(HKEY_CURRENT_USER, base + "Zandrix", "", "Postcode", "1234 AB");
    EXPECT_EQ(Read(base + "Zandrix\\", "", "Homepage"), "https://www.zandrix.example/");
    EXPECT_EQ(Read(base + "zandrix\\", "", "PostCode"), "1234 AB");

    // Without its final backslash the base path runs straight into the sub-key.
    writer.WriteValue(HKEY_CURRENT_USER, base + "Zandrix", "Programma", "Naam", "Halvern");
    EXPECT_EQ(ReadSz(Key("ZandrixProgramma\\"), "Naam"), "Halvern");

    // The empty text, and a long one, come back as written.
    std::string longText;
    for (int i = 0; i < 8000; ++i) longText += static_cast<char>(1 + i % 127);
    writer.WriteValue(HKEY_CURRENT_USER, base, "", "Lang", longText);
    writer.WriteValue(HKEY_CURRENT_USER, base, "", "Leeg", "");
    EXPECT_EQ(Read(base, "", "Lang"), longText);
    EXPECT_EQ(ReadSz(Key(""), "Leeg"), "");
    EXPECT_EQ(Read(base, "", "Leeg"), "");
}

TEST_F(RegHelpers, RootKeyIsTheOneGivenAndAnEmptyPathIsTheRootItself) {
    HKEY root = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Key("Wortel\\").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &root, nullptr),
              ERROR_SUCCESS);
    TRegWrite().WriteValue(root, "", "", "Naam", "in de wortel");
    std::string text;
    TRegRead().ReadValue(root, "\\", "", "Naam", text);
    RegCloseKey(root);
    EXPECT_EQ(text, "in de wortel");
    EXPECT_EQ(ReadSz(Key("Wortel\\"), "Naam"), "in de wortel");
}

TEST_F(RegHelpers, ReadGivesTextValuesAsStoredAndNothingElse) {
    const std::pair<DWORD, std::string> stored[] = {
        {REG_EXPAND_SZ, "%SystemRoot%\\Halvern\0"s},  // not expanded
        {REG_SZ, "abc"s},                             // without its NUL
        {REG_SZ, "ab\0cd\0"s},                        // cut at the first NUL
        {REG_SZ, ""s},
        {REG_DWORD, "\x06\0\0\0"s},
        {REG_BINARY, "abc"s},
        {REG_MULTI_SZ, "a\0b\0\0"s},
    };
    const char* expected[] = {"%SystemRoot%\\Halvern", "abc", "ab", "", "", "", ""};
    for (std::size_t i = 0; i < std::size(stored); ++i) {
        WriteRaw(Key(""), "Waarde", stored[i].first, stored[i].second);
        EXPECT_EQ(Read(base, "", "Waarde"), expected[i]) << i;
    }
}

TEST_F(RegHelpers, DeleteRemovesTheWholeTreeAndNothingBeside) {
    const TRegDeleteBool deleter;
    BuildTree();
    EXPECT_TRUE(deleter.DeleteKey(HKEY_CURRENT_USER, base, "Oud\\A\\"));
    EXPECT_FALSE(KeyExists(Key("Oud\\A\\")));
    EXPECT_TRUE(KeyExists(Key("Oud\\A2\\X\\")));
    EXPECT_TRUE(deleter.DeleteKey(HKEY_CURRENT_USER, base, "Oud"));
    EXPECT_FALSE(KeyExists(Key("Oud\\")));
    EXPECT_EQ(ReadSz(Key("OudNaast\\"), "Naam"), "OudNaast\\");

    // Missing keys: false, and nothing else goes.
    BuildTree();
    EXPECT_FALSE(deleter.DeleteKey(HKEY_CURRENT_USER, base, "Ou"));
    EXPECT_FALSE(deleter.DeleteKey(HKEY_CURRENT_USER, base + "Oud\\A\\", "Q"));
    EXPECT_TRUE(KeyExists(Key("Oud\\A\\B\\C\\D\\")));
}

TEST_F(RegHelpers, UnsafePathsDeleteAndWriteNothing) {
    BuildTree();
    // An empty path would empty the root itself, for HKEY_CURRENT_USER the user's whole registry:
    // tried here with a key of our own as the root.
    HKEY root = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, Key("Oud\\").c_str(), 0, KEY_ALL_ACCESS, &root), ERROR_SUCCESS);
    for (const char* path : {"", "\\", "\\\\"}) EXPECT_FALSE(TRegDeleteBool().DeleteKey(root, path, "")) << path;
    RegCloseKey(root);
    EXPECT_TRUE(KeyExists(Key("Oud\\A\\B\\C\\D\\")));

    // Cut at their NUL, these would name the key Oud and its value Naam.
    const std::string cutKey = "Oud\0A"s;
    const std::string cutName = "Naam\0X"s;
    EXPECT_FALSE(TRegDeleteBool().DeleteKey(HKEY_CURRENT_USER, base, cutKey));
    EXPECT_TRUE(KeyExists(Key("Oud\\Z\\")));
    TRegWrite().WriteValue(HKEY_CURRENT_USER, base, cutKey, "Naam", "overschreven");
    TRegWrite().WriteValue(HKEY_CURRENT_USER, base, "Oud", cutName, "overschreven");
    EXPECT_EQ(ReadSz(Key("Oud\\"), "Naam"), "Oud\\");
    EXPECT_EQ(Read(base, "Oud", cutName), "");
}

}  // namespace
}  // namespace halvern
