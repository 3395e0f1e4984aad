// The settings record against the real INI file and registry of the Wine prefix.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/CSettingsStore.h"
#include "config/ClientRegistry.h"
#include "kybase/KyFile.h"
#include "kybase/KyLogFile.h"
#include "kybase/KyShell.h"
#include "ky_build_settings.h"

namespace {

void DeleteValue(HKEY hive, const char* value) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(hive, ClientRegistry::kKeyPath, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueA(key, value);
    RegCloseKey(key);
  }
}

void SetValue(HKEY hive, const char* value, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExA(hive, ClientRegistry::kKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr));
  EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, value, 0, type, static_cast<const BYTE*>(data), size));
  RegCloseKey(key);
}

void SetDword(HKEY hive, const char* value, DWORD data) { SetValue(hive, value, REG_DWORD, &data, sizeof(data)); }

// Every case starts without the INI file and without the registry values it reads.
class Settings : public testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    DeleteFileA(CSettingsStore::GetIniFilePath().c_str());
    DeleteValue(HKEY_LOCAL_MACHINE, ClientRegistry::kDemoPortServer);
    DeleteValue(HKEY_CURRENT_USER, ClientRegistry::kDemoPortServer);
  }
  static void WriteIni(const std::string& content) {
    KyFileWrite file(CSettingsStore::GetIniFilePath().c_str(), 0);
    ASSERT_TRUE(file.IsOpen());
    if (!content.empty()) {
      ASSERT_TRUE(file.Write(content.data(), static_cast<uint32_t>(content.size())));
    }
  }
};

TEST_F(Settings, IniFileIsInThePerUserSubfolder) {
  const std::string path = CSettingsStore::GetIniFilePath();
  EXPECT_EQ(GetAppDataSubfolder("Tolvern\\KyOrvellaClient").Join("KyOrvella.ini"), path);
  EXPECT_EQ(GetSpecialFolderPath(CSIDL_APPDATA, false).Join("Tolvern\\KyOrvellaClient\\KyOrvella.ini"), path);
}

TEST_F(Settings, NoIniFileGivesTheDefaults) {
  const CSettingsStore store;
  EXPECT_EQ(5002u, store.GetServerPort());
  EXPECT_EQ("", store.GetServerAddress());
  EXPECT_TRUE(store.GetUseDemoServer()) << "no address means the demonstration server";
  EXPECT_FALSE(store.GetSynchronizeReadFlag());
  EXPECT_EQ(KY_DEMO_SERVER_ADDRESS, store.GetDemoServerAddress());
  EXPECT_EQ(5002u, store.GetDemoServerPort());
}

TEST_F(Settings, ConstructionWritesItsLogLine) {
  const std::string path = CLogFile::Instance().GetLogFilePath();
  const CSettingsStore store;
  KyFileRead file(path.c_str(), FILE_SHARE_READ | FILE_SHARE_WRITE);
  std::string content(file.GetSize(), '\0');
  ASSERT_FALSE(content.empty());
  file.Read(&content[0], static_cast<uint32_t>(content.size()));
  const std::string tail = " Info: Loading client settings.\r\n";
  ASSERT_GE(content.size(), tail.size());
  EXPECT_EQ(tail, content.substr(content.size() - tail.size()));
}

struct LoadCase {
  const char* name;
  const char* ini;
  uint32_t port;
  const char* address;
  bool useDemo;
  bool synchronize;
};

class LoadCases : public Settings, public testing::WithParamInterface<LoadCase> {};

TEST_P(LoadCases, Fields) {
  const LoadCase& c = GetParam();
  WriteIni(c.ini);
  const CSettingsStore store;
  EXPECT_EQ(c.port, store.GetServerPort());
  EXPECT_EQ(c.address, store.GetServerAddress());
  EXPECT_EQ(c.useDemo, store.GetUseDemoServer());
  EXPECT_EQ(c.synchronize, store.GetSynchronizeReadFlag());
}

const LoadCase kLoadCases[] = {
    {"OwnServer", "[TCP]\r\nServerPort=6001\r\nServerAddress=srv1\r\nUseDemoServer=0\r\nSynchronizeReadFlag=1\r\n",
     6001, "srv1", false, true},
    {"DemoOffWithoutAddressLoadsAsDemoOn", "[TCP]\r\nUseDemoServer=0\r\n", 5002, "", true, false},
    {"DemoOffWithEmptyAddressLoadsAsDemoOn", "[TCP]\r\nServerAddress=\r\nUseDemoServer=0\r\n", 5002, "", true, false},
    {"DemoOnWithAddressKeepsBoth", "[TCP]\r\nServerAddress=10.0.0.7\r\nUseDemoServer=1\r\n", 5002, "10.0.0.7", true,
     false},
    {"AnyNonZeroIsTrue", "[TCP]\r\nServerAddress=srv1\r\nUseDemoServer=7\r\nSynchronizeReadFlag=-1\r\n", 5002, "srv1",
     true, true},
    {"OtherSectionIsNotRead", "[Other]\r\nServerPort=1\r\nServerAddress=srv1\r\n", 5002, "", true, false},
    {"EmptyFile", "", 5002, "", true, false},
    {"GarbledFileGivesTheDefaults", "\x01\x02\xff\xfe garbage = = [[\r\n\x7f", 5002, "", true, false},
    {"NonNumericFlagsReadAsZero", "[TCP]\r\nServerAddress=srv1\r\nUseDemoServer=yes\r\nSynchronizeReadFlag=on\r\n",
     5002, "srv1", false, false},
};

INSTANTIATE_TEST_SUITE_P(Ini, LoadCases, testing::ValuesIn(kLoadCases),
                         [](const testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

TEST_F(Settings, AddressIsReadUpTo1023Characters) {
  WriteIni("[TCP]\r\nServerAddress=" + std::string(1100, 'a') + "\r\n");
  const CSettingsStore store;
  EXPECT_EQ(std::string(1023, 'a'), store.GetServerAddress());
}

TEST_F(Settings, SaveWritesTheFourKeysInOrder) {
  CSettingsStore store;
  store.SetUseDemoServer(false);
  store.SetServerAddress("srv1");
  store.SetServerPort(5002);
  store.SetSynchronizeReadFlag(false);
  store.Save();

  std::vector<char> section(4096, '\0');
  const DWORD length = GetPrivateProfileSectionA("TCP", section.data(), static_cast<DWORD>(section.size()),
                                                 CSettingsStore::GetIniFilePath().c_str());
  static const char kExpected[] = "ServerPort=5002\0ServerAddress=srv1\0UseDemoServer=0\0SynchronizeReadFlag=0\0";
  EXPECT_EQ(std::string(kExpected, sizeof(kExpected) - 1), std::string(section.data(), length));
}

TEST_F(Settings, SavedRecordLoadsEqual) {
  CSettingsStore saved;
  saved.SetUseDemoServer(true);
  saved.SetServerAddress("Host-A.example");
  saved.SetServerPort(49151);
  saved.SetSynchronizeReadFlag(true);
  saved.Save();
  const CSettingsStore loaded;
  EXPECT_EQ("Host-A.example", loaded.GetServerAddress());
  EXPECT_EQ(49151u, loaded.GetServerPort());
  EXPECT_TRUE(loaded.GetUseDemoServer());
  EXPECT_TRUE(loaded.GetSynchronizeReadFlag());
  EXPECT_FALSE(saved != loaded);
}

TEST_F(Settings, PortIsWrittenAsASignedNumber) {
  CSettingsStore store;
  store.SetServerAddress("srv1");
  store.SetServerPort(0xFFFFFFFFu);
  store.Save();
  char text[32] = {};
  GetPrivateProfileStringA("TCP", "ServerPort", "", text, sizeof(text), CSettingsStore::GetIniFilePath().c_str());
  EXPECT_STREQ("-1", text);
}

struct DifferenceCase {
  const char* name;
  void (*change)(CSettingsStore&);
  bool differs;
};

class Differences : public Settings, public testing::WithParamInterface<DifferenceCase> {};

TEST_P(Differences, Inequality) {
  const DifferenceCase& c = GetParam();
  CSettingsStore a;
  a.SetUseDemoServer(false);
  a.SetServerAddress("srv1");
  a.SetServerPort(5002);
  a.SetSynchronizeReadFlag(false);
  CSettingsStore b(a);
  c.change(b);
  EXPECT_EQ(c.differs, a != b);
  EXPECT_EQ(c.differs, b != a);
}

const DifferenceCase kDifferenceCases[] = {
    {"CopyIsEqual", [](CSettingsStore&) {}, false},
    {"AddressInOtherCaseIsEqual", [](CSettingsStore& s) { s.SetServerAddress("SRV1"); }, false},
    {"OtherAddressDiffers", [](CSettingsStore& s) { s.SetServerAddress("srv2"); }, true},
    {"DemoFlagDiffers", [](CSettingsStore& s) { s.SetUseDemoServer(true); }, true},
    {"PortDiffers", [](CSettingsStore& s) { s.SetServerPort(5003); }, true},
    {"ReadFlagDiffers", [](CSettingsStore& s) { s.SetSynchronizeReadFlag(true); }, true},
    {"AddressWithATrailingBlankDiffers", [](CSettingsStore& s) { s.SetServerAddress("srv1 "); }, true},
};

INSTANTIATE_TEST_SUITE_P(Table, Differences, testing::ValuesIn(kDifferenceCases),
                         [](const testing::TestParamInfo<DifferenceCase>& info) { return std::string(info.param.name); });

TEST_F(Settings, AddressAndPortCountEvenWhenBothUseTheDemoServer) {
  CSettingsStore a;
  a.SetUseDemoServer(true);
  CSettingsStore b(a);
  b.SetServerPort(7000);
  EXPECT_TRUE(a != b);
}

TEST_F(Settings, DemonstrationPortFromTheMachineHive) {
  SetDword(HKEY_LOCAL_MACHINE, ClientRegistry::kDemoPortServer, 6000);
  const CSettingsStore store;
  EXPECT_EQ(6000u, store.GetDemoServerPort());
  EXPECT_EQ(5002u, store.GetServerPort()) << "the own server's port is not touched";
}

TEST_F(Settings, DemonstrationPortUnderTheUserHiveHasNoEffect) {
  SetDword(HKEY_CURRENT_USER, ClientRegistry::kDemoPortServer, 6000);
  EXPECT_EQ(5002u, CSettingsStore().GetDemoServerPort());
}

TEST_F(Settings, DemonstrationPortOfAnotherTypeIsIgnored) {
  SetValue(HKEY_LOCAL_MACHINE, ClientRegistry::kDemoPortServer, REG_SZ, "6000", 5);
  EXPECT_EQ(5002u, CSettingsStore().GetDemoServerPort());
}

TEST_F(Settings, RecordsDifferingOnlyInTheDemonstrationPortAreEqual) {
  const CSettingsStore before;
  SetDword(HKEY_LOCAL_MACHINE, ClientRegistry::kDemoPortServer, 6000);
  const CSettingsStore after;
  ASSERT_NE(before.GetDemoServerPort(), after.GetDemoServerPort());
  EXPECT_FALSE(before != after);
}

}  // namespace
