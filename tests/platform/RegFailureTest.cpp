#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <stdexcept>

#include "TestRegistry.h"
#include "platform/zxReg.h"

namespace halvern {
namespace {

using namespace std::string_literals;
using test::KeyExists;

enum class Call { Open, Create, QueryData, SetValue, KeyInfo, EnumKey, Delete };

// The real registry, except that the nth call of one kind (0: every call of that kind) fails with
// a status or throws. Remembers the keys it opened, to check that all were closed again.
class ScriptedRegistry final : public RegistryApi {
public:
    ScriptedRegistry(Call call, LONG status, int nth = 0, bool throws = false)
        : call_(call), status_(status), nth_(nth), throws_(throws) {}

    // Keys still open; they are closed now.
    int KeysLeftOpen() const {
        int open = 0;
        for (HKEY key : opened_) open += RegCloseKey(key) == ERROR_SUCCESS;
        return open;
    }
    int KeysOpened() const { return keysOpened_; }
    bool emptyNames = false;  // every sub-key name fetched comes back empty

    LONG OpenKey(HKEY parent, const char* path, HKEY* key) const override {
        return Keep(Run(Call::Open, [&] { return SystemRegistry().OpenKey(parent, path, key); }), key);
    }
    LONG CreateKey(HKEY parent, const char* path, HKEY* key) const override {
        return Keep(Run(Call::Create, [&] { return SystemRegistry().CreateKey(parent, path, key); }), key);
    }
    LONG QueryValue(HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size) const override {
        if (!data) return SystemRegistry().QueryValue(key, name, type, data, size);  // only the size
        return Run(Call::QueryData, [&] { return SystemRegistry().QueryValue(key, name, type, data, size); });
    }
    LONG SetValue(HKEY key, const char* name, DWORD type, const BYTE* data, DWORD size) const override {
        return Run(Call::SetValue, [&] { return SystemRegistry().SetValue(key, name, type, data, size); });
    }
    LONG QueryKeyInfo(HKEY key, DWORD* count, DWORD* longest) const override {
        return Run(Call::KeyInfo, [&] { return SystemRegistry().QueryKeyInfo(key, count, longest); });
    }
    LONG EnumKey(HKEY key, DWORD index, char* name, DWORD* length) const override {
        if (emptyNames) return *length = 0, ERROR_SUCCESS;
        return Run(Call::EnumKey, [&] { return SystemRegistry().EnumKey(key, index, name, length); });
    }
    LONG DeleteKey(HKEY parent, const char* path) const override {
        return Run(Call::Delete, [&] { return SystemRegistry().DeleteKey(parent, path); });
    }

private:
    LONG Run(Call call, const std::function<LONG()>& real) const {
        if (call != call_ || (nth_ != 0 && ++count_ != nth_)) return real();
        if (throws_) throw std::runtime_error("scripted failure");
        return status_;
    }
    LONG Keep(LONG status, const HKEY* key) const {
        if (status == ERROR_SUCCESS) opened_.insert(*key), ++keysOpened_;
        return status;
    }

    Call call_;
    LONG status_;
    int nth_;
    bool throws_;
    mutable int count_ = 0;
    mutable int keysOpened_ = 0;
    mutable std::set<HKEY> opened_;  // a closed key's handle value comes back for the next key
};

class RegFailures : public ::testing::Test {
protected:
    void SetUp() override { BuildTree(); }
    void TearDown() override { test::DeleteTree(Key("")); }

    std::string Key(const std::string& sub) const { return (base + sub).substr(0, base.size() + sub.size() - 1); }
    void BuildTree() const {
        test::DeleteTree(Key(""));
        for (const char* key : {"Oud\\", "Oud\\A\\B\\C\\", "Oud\\K\\", "Oud\\M\\N\\"})
            test::WriteRaw(Key(key), "Naam", REG_SZ, "oud\0"s);
    }
    std::string Read(const RegistryApi& registry) const {
        std::string text = "earlier text";
        TRegRead(registry).ReadValue(HKEY_CURRENT_USER, base, "Oud", "Naam", text);
        return text;
    }

    const std::string base = test::TestBasePath();
};

TEST_F(RegFailures, EveryKeyIsClosedAndNoFailureReachesTheCaller) {
    const ScriptedRegistry scenarios[] = {
        {Call::Open, ERROR_SUCCESS, -1},  // nothing fails
        {Call::SetValue, ERROR_ACCESS_DENIED},   {Call::SetValue, 0, 0, true},
        {Call::QueryData, ERROR_INVALID_DATA},   {Call::QueryData, 0, 0, true},  {Call::QueryData, ERROR_MORE_DATA},
        {Call::KeyInfo, ERROR_ACCESS_DENIED},    {Call::KeyInfo, 0, 3, true},    {Call::EnumKey, 0, 2, true},
        {Call::Delete, ERROR_ACCESS_DENIED},     {Call::Delete, 0, 2, true},
    };
    for (const ScriptedRegistry& registry : scenarios) {
        SCOPED_TRACE(&registry - scenarios);
        BuildTree();
        TRegWrite(registry).WriteValue(HKEY_CURRENT_USER, base, "Oud\\K", "Naam", "nieuw");
        Read(registry);
        TRegDeleteBool(registry).DeleteKey(HKEY_CURRENT_USER, base, "Oud");
        EXPECT_GE(registry.KeysOpened(), 3);  // write, read, and at least Oud
        EXPECT_EQ(registry.KeysLeftOpen(), 0);
    }
}

TEST_F(RegFailures, ValueThatGrowsWhileBeingReadIsReadAgain) {
    EXPECT_EQ(Read(ScriptedRegistry(Call::QueryData, ERROR_MORE_DATA, 1)), "oud");
    EXPECT_EQ(Read(ScriptedRegistry(Call::QueryData, ERROR_MORE_DATA)), "");  // never holds still: given up
    EXPECT_EQ(Read(ScriptedRegistry(Call::QueryData, ERROR_INVALID_DATA)), "");
}

TEST_F(RegFailures, DeletionThatFailsBelowGivesFalseAndKeepsWhatRemains) {
    // Walked from the last sub-key to the first, depth first: the second name fetched is Oud\M\N.
    EXPECT_FALSE(TRegDeleteBool(ScriptedRegistry(Call::EnumKey, ERROR_NO_MORE_ITEMS, 2)).DeleteKey(HKEY_CURRENT_USER, base, "Oud"));
    EXPECT_TRUE(KeyExists(Key("Oud\\M\\N\\")));
    EXPECT_FALSE(KeyExists(Key("Oud\\K\\")));
    EXPECT_FALSE(KeyExists(Key("Oud\\A\\")));

    // The first deletion, of Oud\M\N, throws: the walk ends there.
    BuildTree();
    EXPECT_FALSE(TRegDeleteBool(ScriptedRegistry(Call::Delete, 0, 1, true)).DeleteKey(HKEY_CURRENT_USER, base, "Oud"));
    EXPECT_TRUE(KeyExists(Key("Oud\\M\\N\\")));
    EXPECT_TRUE(KeyExists(Key("Oud\\A\\B\\C\\")));

    // An empty sub-key name would lead back into the key being emptied, without end.
    ScriptedRegistry emptyNames(Call::Open, ERROR_SUCCESS, -1);
    emptyNames.emptyNames = true;
    EXPECT_FALSE(TRegDeleteBool(emptyNames).DeleteKey(HKEY_CURRENT_USER, base, "Oud"));
    EXPECT_TRUE(KeyExists(Key("Oud\\M\\N\\")));
}

}  // namespace
}  // namespace halvern
