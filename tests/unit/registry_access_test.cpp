// Writing, removing and enumerating through the registry layer.
#include <gtest/gtest.h>

#include "fakes/memory_registry.h"
#include "sysconfig/registry_access.h"

namespace zv {
namespace {

constexpr RegistryRoot kHklm = RegistryRoot::LocalMachine;
const std::string kKey = "Software\\Zorvane Test\\Deep\\Key";

class RegistryAccessTest : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_EQ(registry.OpenHandles(), 0u) << "a key was left open"; }

    testing::MemoryRegistry registry;
};

TEST_F(RegistryAccessTest, WritesDwordAndTextInTheirStoredForm) {
    EXPECT_EQ(SetRegistryValue(registry, kHklm, kKey, "Number", kRegDword, 0x01020304, false), 0);
    EXPECT_EQ(registry.Value(kKey, "Number")->data, std::string("\x04\x03\x02\x01", 4));
    EXPECT_EQ(SetRegistryValue(registry, kHklm, kKey, "Negative", kRegDword, -2, false), 0);
    EXPECT_EQ(registry.Dword(kKey, "Negative"), 0xFFFFFFFEu);
    EXPECT_EQ(SetRegistryValue(registry, kHklm, kKey, "Text", kRegSz, 128, false), 0);
    auto text = registry.Value(kKey, "Text");
    EXPECT_EQ(text->kind, kRegSz);
    EXPECT_EQ(text->data, std::string("128\0", 4));
    EXPECT_EQ(SetRegistryValue(registry, kHklm, kKey, "Minus", kRegSz, std::string("-1"), false),
              0);
    EXPECT_EQ(registry.Value(kKey, "Minus")->data, std::string("-1\0", 3));
    EXPECT_EQ(SetRegistryValue(registry, kHklm, kKey, "", kRegDword, 32, false), 0);
    EXPECT_EQ(registry.Dword(kKey, ""), 32u);
    EXPECT_TRUE(registry.HasKey("Software\\Zorvane Test\\Deep"));
}

TEST_F(RegistryAccessTest, MinusOneOrTheRemoveFlagRemovesTheValue) {
    registry.Put(kKey, "A", kRegDword, "1234");
    registry.Put(kKey, "B", kRegDword, "1234");
    registry.Put(kKey, "C", kRegSz, std::string("x\0", 2));
    EXPECT_EQ(SetRegistryValue(registry, kHklm, kKey, "a", kRegDword, -1, false), 0);
    EXPECT_EQ(SetRegistryValue(registry, kHklm, kKey, "B", kRegDword, 7, true), 0);
    EXPECT_EQ(SetRegistryValue(registry, kHklm, kKey, "C", kRegSz, 7, true), 0);
    EXPECT_FALSE(registry.Value(kKey, "A"));
    EXPECT_FALSE(registry.Value(kKey, "B"));
    EXPECT_FALSE(registry.Value(kKey, "C"));
    EXPECT_EQ(SetRegistryValue(registry, kHklm, kKey, "A", kRegDword, 7, true), kErrorFileNotFound);
    // Removing a value never creates its key.
    EXPECT_EQ(SetRegistryValue(registry, kHklm, "Missing\\Key", "A", kRegDword, -1, false),
              kErrorFileNotFound);
    EXPECT_FALSE(registry.HasKey("Missing"));
}

TEST_F(RegistryAccessTest, RefusedKeyOrUnusableDataWritesNothing) {
    registry.writes_fail = true;
    EXPECT_EQ(SetRegistryValue(registry, kHklm, kKey, "A", kRegDword, 1, false),
              kErrorAccessDenied);
    registry.writes_fail = false;
    EXPECT_EQ(SetRegistryValue(registry, kHklm, kKey, "A", kRegDword, std::string("12a"), false),
              kErrorInvalidData);
    EXPECT_EQ(SetRegistryValue(registry, kHklm, kKey, "A", 3 /* REG_BINARY */, 1, false), 0);
    EXPECT_EQ(registry.ValueCount(), 0u);
    EXPECT_TRUE(registry.log.empty());
}

TEST_F(RegistryAccessTest, EnumeratesDirectSubkeysInRegistryOrder) {
    registry.AddKey("Root\\Zeta");
    registry.AddKey("Root\\alpha\\Child");
    registry.AddKey("Root\\{GUID-1}");
    std::vector<std::string> seen;
    EnumerateSubkeys(registry, kHklm, "ROOT", [&](const std::string& s) { seen.push_back(s); });
    EXPECT_EQ(seen, (std::vector<std::string>{"Zeta", "alpha", "{GUID-1}"}));

    seen.clear();
    EnumerateSubkeys(registry, kHklm, "Missing", [&](const std::string& s) { seen.push_back(s); });
    EXPECT_TRUE(seen.empty());
    EXPECT_FALSE(registry.HasKey("Missing"));
}

}  // namespace
}  // namespace zv
