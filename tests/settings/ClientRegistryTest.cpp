// The client's registry values: defaults when absent, types, hives, what is written.
#include <windows.h>

#include <gtest/gtest.h>

#include "config/ClientRegistry.h"

namespace {

void DeleteValue(HKEY hive, const char* value) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(hive, ClientRegistry::kKeyPath, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueA(key, value);
    RegCloseKey(key);
  }
}

// Type and data of a value as stored; type 0 when it is missing.
DWORD Stored(HKEY hive, const char* value, DWORD& data) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(hive, ClientRegistry::kKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return 0;
  DWORD type = 0;
  DWORD size = sizeof(data);
  if (RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS) type = 0;
  RegCloseKey(key);
  return type;
}

const char* const kUserValues[] = {ClientRegistry::kLogLevel, ClientRegistry::kShowStatusWindow,
                                   ClientRegistry::kAskAgainAboutStatusWindow};

class ClientValues : public testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    for (const char* value : kUserValues) DeleteValue(HKEY_CURRENT_USER, value);
    DeleteValue(HKEY_LOCAL_MACHINE, ClientRegistry::kDemoPortServer);
  }
};

TEST_F(ClientValues, AbsentValuesGiveTheirDefaults) {
  EXPECT_EQ(0u, ClientRegistry::GetLogLevel());
  EXPECT_EQ(1u, ClientRegistry::GetShowStatusWindow());
  EXPECT_EQ(5002u, ClientRegistry::GetDemoPortServer());
}

TEST_F(ClientValues, WrittenAsDwordsUnderTheUserHiveAndReadBack) {
  EXPECT_TRUE(ClientRegistry::SetLogLevel(1));
  EXPECT_TRUE(ClientRegistry::SetShowStatusWindow(0));
  EXPECT_TRUE(ClientRegistry::SetAskAgainAboutStatusWindow());
  EXPECT_EQ(1u, ClientRegistry::GetLogLevel());
  EXPECT_EQ(0u, ClientRegistry::GetShowStatusWindow());

  DWORD data = 99;
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), Stored(HKEY_CURRENT_USER, ClientRegistry::kAskAgainAboutStatusWindow, data));
  EXPECT_EQ(1u, data);
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), Stored(HKEY_CURRENT_USER, ClientRegistry::kShowStatusWindow, data));
  EXPECT_EQ(0u, data);
  EXPECT_EQ(0u, Stored(HKEY_LOCAL_MACHINE, ClientRegistry::kLogLevel, data)) << "nothing goes to the machine hive";
}

TEST_F(ClientValues, ValueOfAnotherTypeGivesTheDefault) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, ClientRegistry::kKeyPath, 0, nullptr, 0, KEY_SET_VALUE,
                                           nullptr, &key, nullptr));
  RegSetValueExA(key, ClientRegistry::kShowStatusWindow, 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);
  const BYTE eight[8] = {0};
  RegSetValueExA(key, ClientRegistry::kLogLevel, 0, REG_QWORD, eight, sizeof(eight));
  RegCloseKey(key);
  EXPECT_EQ(1u, ClientRegistry::GetShowStatusWindow());
  EXPECT_EQ(0u, ClientRegistry::GetLogLevel());
}

TEST_F(ClientValues, DemonstrationPortIsReadFromTheMachineHiveOnly) {
  uint32_t data = 0;
  ASSERT_TRUE(ClientRegistry::WriteDword(HKEY_LOCAL_MACHINE, ClientRegistry::kDemoPortServer, 6000));
  EXPECT_EQ(6000u, ClientRegistry::GetDemoPortServer());
  EXPECT_FALSE(ClientRegistry::ReadDword(HKEY_CURRENT_USER, ClientRegistry::kDemoPortServer, data));
}

}  // namespace
