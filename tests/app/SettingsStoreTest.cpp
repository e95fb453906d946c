#include <gtest/gtest.h>

#include "app/SettingNames.h"
#include "app/SettingsStore.h"
#include "tests/support/win/TestEnv.h"
#include "platform/core/Error.h"
#include "tests/support/Checks.h"

namespace {

using app::SettingsStore;
constexpr char kSection[] = "Program";
const std::string kSectionKey = std::string(app::kProgramKeyPath) + "\\Program";

class SettingsStoreTest : public ::testing::Test {
 protected:
  testenv::ScratchRegistry registry;
  SettingsStore store{registry.root(), app::kProgramKeyPath};
};

TEST_F(SettingsStoreTest, AbsentSectionOrValueGivesDefaults) {
  EXPECT_EQ(store.ReadInteger("Nowhere", "X", 15), 15);
  EXPECT_TRUE(store.ReadBool("Nowhere", "X", true));
  EXPECT_EQ(store.ReadString("Nowhere", "X", "dflt"), "dflt");
  registry.WriteText(kSectionKey, "Other", "1");
  EXPECT_EQ(store.ReadInteger(kSection, "Missing", 7), 7);
  EXPECT_EQ(store.ReadString(kSection, "Missing", "m"), "m");
}

TEST_F(SettingsStoreTest, WritesTextWithTerminatingZeroCounted) {
  store.WriteString(kSection, "Name", "abc");
  DWORD type = 0, size = 0;
  ASSERT_EQ(RegGetValueA(registry.root(), kSectionKey.c_str(), "Name", RRF_RT_ANY | RRF_NOEXPAND,
                         &type, nullptr, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 4u);
}

TEST_F(SettingsStoreTest, IntegerAndBooleanDecoding) {
  registry.WriteText(kSectionKey, "Two", "2");
  registry.WriteText(kSectionKey, "Zero", "0");
  registry.WriteText(kSectionKey, "Word", "yes");
  registry.WriteText(kSectionKey, "Empty", "");
  EXPECT_TRUE(store.ReadBool(kSection, "Two", false));
  EXPECT_FALSE(store.ReadBool(kSection, "Zero", true));
  EXPECT_TRUE(store.ReadBool(kSection, "Word", true));
  EXPECT_FALSE(store.ReadBool(kSection, "Word", false));
  EXPECT_EQ(store.ReadInteger(kSection, "Word", 15), 15);
  EXPECT_EQ(store.ReadInteger(kSection, "Empty", 3), 3);
  EXPECT_EQ(store.ReadString(kSection, "Empty", "d"), "");
}

TEST_F(SettingsStoreTest, MinusOneRoundTrips) {
  store.WriteInteger(kSection, "ItemIndex", -1);
  EXPECT_EQ(registry.ReadText(kSectionKey, "ItemIndex"), "-1");
  EXPECT_EQ(store.ReadInteger(kSection, "ItemIndex", 0), -1);
  store.WriteBool(kSection, "B", true);
  EXPECT_EQ(registry.ReadText(kSectionKey, "B"), "1");
}

TEST_F(SettingsStoreTest, DwordValueIsATypeErrorNotTheDefault) {
  const DWORD one = 1;
  registry.WriteRaw(kSectionKey, "UseSound", REG_DWORD, &one, sizeof(one));
  EXPECT_EQ(testsupport::ErrorOf([&] { store.ReadBool(kSection, "UseSound", false); }),
            "Invalid data type for 'UseSound'");
  EXPECT_THROW(store.ReadString(kSection, "UseSound", ""), platform::Error);
}

TEST_F(SettingsStoreTest, ExpandTextIsTakenLiterally) {
  const char text[] = "%WINDIR%\\x";
  registry.WriteRaw(kSectionKey, "P", REG_EXPAND_SZ, text, sizeof(text));
  EXPECT_EQ(store.ReadString(kSection, "P", ""), "%WINDIR%\\x");
}

TEST_F(SettingsStoreTest, EmbeddedZeroEndsTheText) {
  const char text[] = "ab\0cd";
  registry.WriteRaw(kSectionKey, "Z", REG_SZ, text, sizeof(text));
  EXPECT_EQ(store.ReadString(kSection, "Z", ""), "ab");
  // Stored without any terminating zero at all.
  registry.WriteRaw(kSectionKey, "N", REG_SZ, "xyz", 3);
  EXPECT_EQ(store.ReadString(kSection, "N", ""), "xyz");
}

TEST_F(SettingsStoreTest, WriteReplacesValueOfAnotherType) {
  const DWORD one = 1;
  registry.WriteRaw(kSectionKey, "UseSound", REG_DWORD, &one, sizeof(one));
  store.WriteBool(kSection, "UseSound", true);
  EXPECT_EQ(registry.ValueType(kSectionKey, "UseSound"), static_cast<DWORD>(REG_SZ));
  EXPECT_TRUE(store.ReadBool(kSection, "UseSound", false));
}

TEST_F(SettingsStoreTest, SectionKeysAreCreatedOnWrite) {
  store.WriteString("Program\\Security", "Password", "");
  EXPECT_TRUE(
      registry.ValueExists(std::string(app::kProgramKeyPath) + "\\Program\\Security", "Password"));
}

TEST(SettingsStoreOpen, UnopenableKeyReportsAndStaysUsable) {
  testenv::ScratchRegistry registry;
  // A root whose key has been deleted: nothing can be opened or created below it.
  HKEY gone = nullptr;
  ASSERT_EQ(RegCreateKeyExA(registry.root(), "Gone", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &gone,
                            nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteTreeA(registry.root(), "Gone"), ERROR_SUCCESS);
  SettingsStore store(gone, app::kProgramKeyPath, std::nothrow);
  EXPECT_THROW(store.Open(), platform::Error);
  EXPECT_FALSE(store.IsOpen());
  EXPECT_EQ(store.ReadInteger("Program", "ChangeIntervalTime", 15), 15);
  EXPECT_EQ(testsupport::ErrorOf([&] { store.WriteString("Program", "X", "1"); }),
            "Failed to create key Program");
  RegCloseKey(gone);
}

}  // namespace
